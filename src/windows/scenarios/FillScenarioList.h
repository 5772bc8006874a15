#pragma once

namespace zarnel {

// Rebuilds the scenario editor's list Tabl_Name for CurrentObjectId (loading the editor when needed), shows the
// grid only when there is a scenario, disables the row commands and sets the editor's list-state height.
// Throws DbError; the calling handler reports it.
void FillScenarioList();

} // namespace zarnel

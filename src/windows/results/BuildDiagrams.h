#pragma once

namespace zarnel {

// The diagram build: reads frmInput (People, which indicator grids are shown), fills frmOutput,
// hides frmInput and shows frmOutput modally.
//
// The entry checks and their questions run at once; the database is then read off the window thread, so the
// windows keep painting (a progress window appears when it takes longer than half a second) while the user's
// input is held back. frmOutput is filled and shown when the reading is done. A call while a build runs does
// nothing.
void BuildDiagrams();

// True from the start of a build's reading until the results window is shown or the build stopped.
bool BuildDiagramsRunning();

} // namespace zarnel

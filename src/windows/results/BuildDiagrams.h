#pragma once

namespace zarnel {

// The diagram build: reads frmInput (People, which indicator grids are shown), fills frmOutput,
// hides frmInput and shows frmOutput modally.
void BuildDiagrams();

} // namespace zarnel

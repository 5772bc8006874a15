#pragma once
// The results window's "Экспорт результатов в Excel...": the build the window shows, written by
// report/ResultsWorkbook (nothing is read back from the window's controls).

namespace zarnel {

class frmOutput;

void ExcelExport_Click(frmOutput& f);

} // namespace zarnel

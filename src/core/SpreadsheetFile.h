#pragma once
// Reading a table from a file the user chose: .xlsx (Excel, LibreOffice, openpyxl), .ods, .csv. The format
// comes from the content, not the name. A workbook gives its first sheet that has cells; formula cells give
// their cached values; cells of merged ranges are flagged.

#include "core/SheetData.h"

namespace zarnel {

// sheet: a workbook's sheet of that name instead of the first one with cells (nothing when there is none).
SheetRead ReadSpreadsheetFile(const QString& path, const QString& sheet = {});

} // namespace zarnel

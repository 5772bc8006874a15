#pragma once
// Reading a table from a file the user chose: .xlsx (Excel, LibreOffice, openpyxl), .ods, .csv. The format
// comes from the content, not the name. A workbook gives its first sheet that has cells; formula cells give
// their cached values; cells of merged ranges are flagged.

#include "core/SheetData.h"

namespace zarnel {

SheetRead ReadSpreadsheetFile(const QString& path);

} // namespace zarnel

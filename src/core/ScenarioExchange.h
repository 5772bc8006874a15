#pragma once
// Scenarios in and out of tables: the column layout, reading rows into entries (every row through the editor's
// ValidateScenarioEntry, never a second set of rules), storing them all in one transaction, and writing an
// object's scenarios as .xlsx or .csv in the layout an import reads back unchanged.

#include "core/Database.h"
#include "core/ScenarioStore.h"
#include "core/SheetData.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace zarnel {

// The columns an export writes, in this order.
QStringList ExchangeHeaders();

// More data rows than an object can hold scenarios (16-bit keys): such a table is refused as a whole.
inline constexpr int kMaxImportRows = 32767;

struct ImportRow {
    int line = 0;        // row number in the table, 1 = its first row
    ScenarioEntry entry; // as it will be stored
    QString problem;     // why the row cannot be stored; empty when it can
    bool existing = false; // the object already has this classification number
};

struct ImportPlan {
    QString error; // the table as a whole cannot be imported; rows is then empty
    QVector<ImportRow> rows;
    int refused() const;
    int existing() const;
    // One line per refused row: "Строка 5: <reason>".
    QStringList problems() const;
};

enum class HeaderRow { Required, Optional };

// Reads the rows below the header row (found among the first rows by its classification-number column). With
// HeaderRow::Optional a table without one is read in the export's column order from its first row.
ImportPlan PlanImport(const SheetData& data, HeaderRow header = HeaderRow::Required);

// A file (.xlsx, .ods, .csv) or pasted text (tab-separated, header row optional) read into a plan.
ImportPlan PlanImportFile(const QString& path);
ImportPlan PlanImportText(const QString& pasted);

// Marks the rows whose classification number the object already has; refuses the table when the object could
// not hold the new ones. objectId 0: an object still to be created.
void CheckAgainstObject(Connection& c, qint16 objectId, ImportPlan& plan);

// Stores every row in one transaction (see SaveScenarios). The plan must have no refused row.
SaveScenariosOutcome StoreImport(Connection& c, qint16 objectId, const ImportPlan& plan, bool replaceExisting);

// The object's scenarios as an import of the exported file gives them back: ascending classification number.
QVector<ScenarioEntry> ReadObjectEntries(Connection& c, qint16 objectId);

// Writes entries in the layout: .csv (UTF-8 with BOM, ';', decimal comma) when the name ends in .csv, else .xlsx.
bool WriteScenarioTable(const QString& path, const QVector<ScenarioEntry>& entries, QString* error);

} // namespace zarnel

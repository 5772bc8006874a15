#pragma once
// Scenario and result exchange without windows, for scripts:
//   zarnel --import FILE --object NAME [--people N]       adds the file's scenarios (creates the object when missing)
//   zarnel --export-scenarios NAME --out FILE(.xlsx|.csv)  the object's scenarios in the exchange layout
//   zarnel --export-results NAME --out FILE.xlsx [--people N]  the numbers of the object's build
// Exit codes as for --report (BatchReportExit), and BatchImportRefused when the import stores nothing because
// rows or the file are refused; each reason names its row number.

#include "windows/results/BatchReport.h"

#include <QString>
#include <optional>

class QCommandLineParser;

namespace zarnel {

inline constexpr int BatchImportRefused = 6;

void AddBatchExchangeOptions(QCommandLineParser& parser);

// With one of the exchange options: runs it, prints a failure on stderr and returns the exit code.
std::optional<int> RunBatchExchangeIfRequested(const QCommandLineParser& parser);

BatchReportOutcome RunBatchImport(const QString& file, const QString& objectName, const std::optional<QString>& people);
BatchReportOutcome RunBatchScenarioExport(const QString& objectName, const QString& outFile);
BatchReportOutcome RunBatchResultsExport(const QString& objectName, const QString& outFile,
                                         const std::optional<QString>& people);

} // namespace zarnel

#pragma once
// The report without windows: zarnel --report "<имя объекта>" --out FILE.docx [--people N] [--criteria "A;B"]
// [--home DIR] builds the
// object's diagrams into a results window that is never shown and writes the same report the menu command
// writes. Nothing is printed on success; a failure prints its message on stderr and gives a non-zero exit code.

#include "core/Database.h"
#include "risk/Build.h"

#include <QString>
#include <optional>

class QCommandLineParser;

namespace zarnel {

enum BatchReportExit {
    BatchReportDone = 0,
    BatchReportUsage = 1,       // options missing or wrong
    BatchReportNoObject = 2,    // no object of that name
    BatchReportNoData = 3,      // the object has no indicators
    BatchReportDbFailed = 4,    // the database cannot be reached or read
    BatchReportWriteFailed = 5, // the file cannot be written
};

struct BatchReportRequest {
    QString objectName;
    QString outFile;
    std::optional<QString> people; // replaces the object's number of people at risk
    std::optional<QString> criteria = std::nullopt; // "НАЗВАНИЕ1;НАЗВАНИЕ2": these lines instead of the object's choice
};

struct BatchReportOutcome {
    int exitCode = BatchReportDone;
    QString message; // empty on success
};

// Call before the QApplication is made: a batch report (and the exchange commands and a batch comparison) runs on
// the offscreen platform and needs no display, and Qt's warnings are not printed.
void PrepareBatchReport(int argc, char** argv);

void AddBatchReportOptions(QCommandLineParser& parser);

// With --report: runs the report, prints a failure on stderr and returns the exit code; nothing without it.
// The program folder (--home) must be set before.
std::optional<int> RunBatchReportIfRequested(const QCommandLineParser& parser);

BatchReportOutcome RunBatchReport(const BatchReportRequest& request);

// The connection the program starts with: the embedded database, else the data source of "Data Source.txt".
bool ConnectForBatch();

// The object's diagrams built as the report builds them, without windows; failure.exitCode is not
// BatchReportDone when there is nothing to report (no object, no indicators, a database failure).
struct BatchBuild {
    BatchReportOutcome failure;
    qint16 objectId = 0;
    double peopleValue = 0;
    BuildResult result;
};
BatchBuild BuildObjectForBatch(Connection& c, const QString& objectName, std::optional<qint16> peopleOverride);

} // namespace zarnel

#pragma once
// The comparison without windows: zarnel --compare "ИМЯ1;ИМЯ2[;…]" --kind K --out FILE.png|FILE.docx [--home DIR]
// draws the comparison chart of the objects for kind K (0, 1, 2, 4 or 3) as the comparison window draws it and
// writes it as a picture or as the chart export's document. Exit codes as for --report: 1 wrong options, 2 an
// object does not exist, 3 none of them has the kind, 4 database error, 5 the file cannot be written.

#include "windows/results/BatchReport.h"

namespace zarnel {

struct BatchCompareRequest {
    QString names; // separated by ';'
    QString kind;
    QString outFile;
};

// --compare and --kind; --out is the report's option.
void AddBatchCompareOptions(QCommandLineParser& parser);

// With --compare: runs it, prints a failure on stderr and returns the exit code; nothing without it.
std::optional<int> RunBatchCompareIfRequested(const QCommandLineParser& parser);

BatchReportOutcome RunBatchCompare(const BatchCompareRequest& request);

} // namespace zarnel

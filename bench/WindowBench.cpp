// The program's windows on a large object, headless (QT_QPA_PLATFORM=offscreen): opening the object from the
// object list, the indicator window, "ПОСТРОИТЬ ДИАГРАММЫ" until the results window shows, and the full report.
// Prints "step=NAME seconds=S" per step and the report's "peak_mb=M" (peak resident memory while it is written).
// "--scenarios N" sets the size (5000); "--without-index" drops the per-scenario indicator index first, to show
// what it is worth.

#include "BenchData.h"
#include "WindowFlow.h"

#include "core/Database.h"
#include "core/Formats.h"
#include "core/ProgramFolder.h"
#include "core/Shared.h"
#include "windows/results/frmOutput.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

using namespace zarnel;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    SetRussianLocale();
    const QStringList args = app.arguments();
    const qsizetype sizeAt = args.indexOf(QStringLiteral("--scenarios"));
    const int scenarios = sizeAt > 0 && sizeAt + 1 < args.size() ? args[sizeAt + 1].toInt() : 5000;

    QTemporaryDir home(QStringLiteral("/tmp/zarnel-window-bench-XXXXXX"));
    SetProgramFolder(home.path());
    ConnectionString = DefaultConnectionString();
    bench::AddObject(1, scenarios);
    if (args.contains(QStringLiteral("--without-index"))) {
        Connection c;
        c.exec(QStringLiteral("DROP INDEX IF EXISTS ixRiskScen"));
    }
    bench::Answers answers;
    answers.savePath = home.filePath(QStringLiteral("Отчет.docx"));
    answers.install();
    std::printf("scenarios=%d\n", scenarios);

    bench::OpenResults(1, true);

    frmOutput* output = forms().find<frmOutput>();
    bench::ResetPeakMemory();
    bench::Timed(
        "report", [output] { output->mnuWord->trigger(); }, [&answers] { return QFile::exists(answers.savePath); });
    std::printf("report_peak_mb=%.1f report_mb=%.1f\n", bench::PeakMegabytes(),
                QFile(answers.savePath).size() / 1048576.0);
    return 0;
}

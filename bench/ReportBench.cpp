// The full report from the results window, as .docx and as PDF, for the sample object (10 scenarios) and for a
// synthetic object of 300 scenarios. Each format is written three times; the best time counts.
// Prints "object=… format=… seconds=S" per report and "pdf_to_docx=R", the ratio of the two formats.
// "--object sample" or "--object N" (scenarios) runs one object; without it the program runs itself for both.

#include "BenchData.h"
#include "WindowFlow.h"

#include "core/Database.h"
#include "core/DemoData.h"
#include "core/Formats.h"
#include "core/ProgramFolder.h"
#include "core/Shared.h"
#include "windows/results/frmOutput.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

using namespace zarnel;

namespace {

double BestReport(bench::Answers& answers, frmOutput* output, const QString& path)
{
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        QFile::remove(path);
        answers.savePath = path;
        best = std::min(best, bench::Timed(
                                  nullptr, [output] { output->mnuWord->trigger(); },
                                  [&path] { return QFile::exists(path); }));
    }
    return best;
}

int RunOne(const QString& object)
{
    QTemporaryDir home(QStringLiteral("/tmp/zarnel-report-bench-XXXXXX"));
    SetProgramFolder(home.path());
    ConnectionString = DefaultConnectionString();
    if (object == QLatin1String("sample")) {
        Connection c;
        WriteDemoObject(c);
    } else {
        bench::AddObject(1, object.toInt());
    }
    bench::Answers answers;
    answers.install();
    bench::OpenResults(1, false);

    frmOutput* output = forms().find<frmOutput>();
    const double docx = BestReport(answers, output, home.filePath(QStringLiteral("Отчет.docx")));
    const double pdf = BestReport(answers, output, home.filePath(QStringLiteral("Отчет.pdf")));
    const QByteArray name = object.toUtf8();
    std::printf("object=%s format=docx seconds=%.3f\n", name.constData(), docx);
    std::printf("object=%s format=pdf seconds=%.3f\n", name.constData(), pdf);
    std::printf("object=%s pdf_to_docx=%.2f\n", name.constData(), pdf / docx);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    SetRussianLocale();
    const QStringList args = app.arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--object"));
    if (at > 0 && at + 1 < args.size())
        return RunOne(args[at + 1]);

    // One process per object: the windows keep their state for the life of the program.
    int failed = 0;
    for (const char* object : {"sample", "300"}) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(app.applicationFilePath(), {QStringLiteral("--object"), QString::fromLatin1(object)});
        child.waitForFinished(-1);
        failed += child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0;
    }
    return failed == 0 ? 0 : 1;
}

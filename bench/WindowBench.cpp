// The program's windows on a large object, headless (QT_QPA_PLATFORM=offscreen): opening the object from the
// object list, the indicator window, "ПОСТРОИТЬ ДИАГРАММЫ" until the results window shows, and the full report.
// Prints "step=NAME seconds=S" per step and the report's "peak_mb=M" (peak resident memory while it is written).
// "--scenarios N" sets the size (5000); "--without-index" drops the per-scenario indicator index first, to show
// what it is worth.

#include "BenchData.h"

#include "components/Services.h"
#include "core/Database.h"
#include "core/Formats.h"
#include "core/ProgramFolder.h"
#include "core/Shared.h"
#include "windows/objects/frmLoad.h"
#include "windows/results/BuildDiagrams.h"
#include "windows/results/frmOutput.h"
#include "windows/scenarios/frmBD_Scen.h"
#include "windows/scenarios/frmInput.h"
#include "windows/shell/Startup.h"
#include "windows/shell/frmMain1.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <functional>

using namespace zarnel;

namespace {

// Answers whatever the windows ask: every message is printed (none is expected), the save dialog gets one path.
class Answers : public IMessages, public IFileDialogs, public IDesktop {
public:
    QString savePath;

    MsgAnswer ask(const QString& text, const QString&, MsgIcon, MsgButtons buttons) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::OK;
    }
    QString getSaveFileName(const QString&, const QString&, const QString&) override { return savePath; }
    bool openDocument(const QString&) override { return true; }
    bool startProgram(const QString&, const QStringList&) override { return true; }
};

void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Seconds from `act` until `done` holds, the events running meanwhile as they do for a user.
double Timed(const char* step, const std::function<void()>& act, const std::function<bool()>& done)
{
    QElapsedTimer timer;
    timer.start();
    act();
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (timer.elapsed() > 3600 * 1000) {
            std::fprintf(stderr, "%s: no end after an hour\n", step);
            std::exit(1);
        }
        QThread::msleep(1);
    }
    settle();
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("step=%s seconds=%.3f\n", step, seconds);
    std::fflush(stdout);
    return seconds;
}

template <class Form> bool Shown()
{
    Form* f = forms().find<Form>();
    return f && f->isVisible();
}

} // namespace

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
    Answers answers;
    answers.savePath = home.filePath(QStringLiteral("Отчет.docx"));
    setMessages(&answers);
    setFileDialogs(&answers);
    setDesktop(&answers);
    std::printf("scenarios=%d\n", scenarios);

    Main();
    forms().find<frmMain1>()->Command1->click(); // "Далее>>"
    settle();
    frmLoad* load = forms().find<frmLoad>();
    load->Option2->click(); // "объекты из БД"
    settle();
    load->Tabl_Name->clickCell(1, 1);
    Timed(
        "open_object", [load] { load->Command1->click(); }, &Shown<frmBD_Scen>);

    frmBD_Scen* editor = forms().find<frmBD_Scen>();
    Timed(
        "indicator_window", [editor] { editor->Command6->click(); }, &Shown<frmInput>);

    frmInput* input = forms().find<frmInput>();
    Timed(
        "build_to_results", [input] { input->Command1->click(); },
        [] { return !BuildDiagramsRunning() && Shown<frmOutput>(); });

    frmOutput* output = forms().find<frmOutput>();
    settle();
    bench::ResetPeakMemory();
    Timed(
        "report", [output] { output->mnuWord->trigger(); }, [&answers] { return QFile::exists(answers.savePath); });
    std::printf("report_peak_mb=%.1f report_mb=%.1f\n", bench::PeakMegabytes(),
                QFile(answers.savePath).size() / 1048576.0);
    return 0;
}

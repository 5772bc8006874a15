#include "WindowFlow.h"

#include "windows/objects/frmLoad.h"
#include "windows/results/BuildDiagrams.h"
#include "windows/results/frmOutput.h"
#include "windows/scenarios/frmBD_Scen.h"
#include "windows/scenarios/frmInput.h"
#include "windows/shell/Startup.h"
#include "windows/shell/frmMain1.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QThread>
#include <cstdio>
#include <cstdlib>

using namespace zarnel;

namespace bench {

namespace {

template <class Form> bool Shown()
{
    Form* f = forms().find<Form>();
    return f && f->isVisible();
}

} // namespace

MsgAnswer Answers::ask(const QString& text, const QString&, MsgIcon, MsgButtons buttons)
{
    std::fprintf(stderr, "message: %s\n", qPrintable(text));
    return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::OK;
}

void Answers::install()
{
    setMessages(this);
    setFileDialogs(this);
    setDesktop(this);
}

void Settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

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
    Settle();
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (step) {
        std::printf("step=%s seconds=%.3f\n", step, seconds);
        std::fflush(stdout);
    }
    return seconds;
}

void OpenResults(int row, bool timed)
{
    const auto name = [timed](const char* step) { return timed ? step : nullptr; };
    Main();
    forms().find<frmMain1>()->Command1->click(); // "Далее>>"
    Settle();
    frmLoad* load = forms().find<frmLoad>();
    load->Option2->click(); // "объекты из БД"
    Settle();
    load->Tabl_Name->clickCell(row, 1);
    Timed(
        name("open_object"), [load] { load->Command1->click(); }, &Shown<frmBD_Scen>);

    frmBD_Scen* editor = forms().find<frmBD_Scen>();
    Timed(
        name("indicator_window"), [editor] { editor->Command6->click(); }, &Shown<frmInput>);

    frmInput* input = forms().find<frmInput>();
    Timed(
        name("build_to_results"), [input] { input->Command1->click(); },
        [] { return !BuildDiagramsRunning() && Shown<frmOutput>(); });
    Settle();
}

} // namespace bench

#include "windows/results/BuildDiagrams.h"

#include "components/Services.h"
#include "components/UserInputHold.h"
#include "core/Database.h"
#include "core/Shared.h"
#include "risk/Build.h"
#include "windows/results/frmOutput.h"
#include "windows/scenarios/frmInput.h"

#include <QApplication>
#include <QPointer>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <memory>

namespace zarnel {

namespace {

// Builds taking longer than this show the progress window.
constexpr int kProgressDelayMs = 500;

struct Run {
    QPointer<frmInput> input;
    QThread* thread = nullptr;
    BuildResult result; // written by the reading thread, read after it ended
    // Nothing changes the object under the build and no second build starts; painting and timers go on.
    std::unique_ptr<UserInputHold> hold = std::make_unique<UserInputHold>();
    QObject context; // receiver of the run's own signals and timers
    QPointer<QProgressDialog> progress;
};

std::unique_ptr<Run> g_run;

void showProgress()
{
    if (!g_run || g_run->progress)
        return;
    auto* dialog =
        new QProgressDialog(QStringLiteral("Идет построение диаграмм..."), QString(), 0, 0, g_run->input.data());
    dialog->setWindowTitle(QStringLiteral("Построение диаграмм"));
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setMinimumDuration(0);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->show();
    g_run->progress = dialog;
}

// Ends the run: input flows again and the progress window goes.
std::unique_ptr<Run> endRun()
{
    std::unique_ptr<Run> run = std::move(g_run);
    run->hold.reset();
    delete run->progress.data();
    return run;
}

void finish()
{
    if (!g_run)
        return;
    g_run->thread->wait();
    delete g_run->thread;
    g_run->thread = nullptr;

    const BuildResult& result = g_run->result;
    QPointer<frmInput> input = g_run->input;
    if (!input || input->isUnloaded()) {
        endRun();
        return;
    }
    if (!result.ok) {
        const std::unique_ptr<Run> run = endRun();
        MsgBox(run->result.error.text, run->result.error.title, MsgIcon::Critical);
        return;
    }
    if (std::none_of(result.pageAvailable.begin(), result.pageAvailable.end(), [](bool on) { return on; })) {
        // The grids showed indicators that are gone from the database by now.
        endRun();
        MsgBox(QStringLiteral("Построение диаграмм не возможно! Не введен ни один показатель!"),
               QStringLiteral("Внимание!!!"));
        return;
    }

    // Filling replays the charts, which lets events run; the input stays held back until the window is shown.
    frmOutput* output = forms().get<frmOutput>();
    QPointer<frmOutput> guard(output);
    output->ShowBuild(result);
    endRun();
    if (!guard || !input || input->isUnloaded())
        return;
    input->Hide();
    guard->Show(true);
}

void start(frmInput* input, qint16 objectId, const std::array<bool, 4>& grids, double peopleValue)
{
    static const bool waitsOnQuit = [] {
        // The reading thread must not outlive the application object.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] {
            if (g_run && g_run->thread)
                g_run->thread->wait();
        });
        return true;
    }();
    Q_UNUSED(waitsOnQuit);

    g_run = std::make_unique<Run>();
    Run* run = g_run.get();
    run->input = input;
    run->thread = QThread::create([run, objectId, grids, peopleValue] {
        try {
            Connection c; // the build's own connection, closed when the reading ends
            run->result = BuildAll(c, objectId, grids, peopleValue);
            if (run->result.ok)
                JudgeCriteria(c, objectId, run->result, peopleValue);
        } catch (const DbError& e) {
            run->result.ok = false;
            run->result.error = {DbFailureText(e.cause), QStringLiteral("Внимание!!!"),
                                 UserMessage::Ok};
        } catch (const std::exception& e) {
            run->result.ok = false;
            run->result.error = {QStringLiteral("Построение диаграмм прервано: ") + QString::fromLocal8Bit(e.what()),
                                 QStringLiteral("Внимание!!!"), UserMessage::Ok};
        }
    });
    QObject::connect(run->thread, &QThread::finished, &run->context, &finish, Qt::QueuedConnection);
    QTimer::singleShot(kProgressDelayMs, &run->context, &showProgress);
    run->thread->start();
}

} // namespace

bool BuildDiagramsRunning()
{
    return g_run != nullptr;
}

void BuildDiagrams()
{
    if (g_run)
        return;
    frmInput* input = forms().find<frmInput>();
    if (!input)
        return;

    BuildInput in;
    in.peopleText = input->People->text();
    in.inputGridVisible = {!input->tabPokaz->isHidden(), !input->tabPokaz_m->isHidden(),
                           !input->tabPokaz_m1->isHidden(), !input->tabPokaz_m2->isHidden()};
    in.directBuild = DirectBuild == -1;
    // The build the scenario editor asked for starts now. Left at -1, the indicator window would start it again
    // each time it becomes active, so "<<Назад" from the results window could never reach it.
    DirectBuild = 0;

    const EntryCheck check = CheckEntry(in);
    if (check.outcome == EntryCheck::NothingEntered || check.outcome == EntryCheck::PeopleInvalid) {
        MsgBox(check.message.text, check.message.title);
        if (check.outcome == EntryCheck::PeopleInvalid)
            input->People->setFocus();
        return;
    }

    QPointer<frmInput> self(input);
    try {
        // Opened before the question, as the build always did: a database that cannot be reached is reported
        // before the user is asked anything.
        Connection c;
        if (check.outcome == EntryCheck::AskPeople &&
            MsgBox(check.message.text, check.message.title, MsgIcon::None, MsgButtons::YesNo) != MsgAnswer::Yes) {
            if (self)
                self->People->setFocus();
            return;
        }
    } catch (const DbError& e) {
        ShowDbError(e);
        return;
    }
    if (!self || self->isUnloaded())
        return;
    start(self, CurrentObjectId, in.inputGridVisible, check.peopleValue);
}

} // namespace zarnel

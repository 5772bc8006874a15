#pragma once
// What the window benchmarks share: scripted answers to the windows' questions, and the walk from the title
// window through the object list and the indicator window to the results window.

#include "components/Services.h"

#include <QString>
#include <functional>

namespace bench {

// Answers whatever the windows ask: every message is printed (none is expected), the save dialog gets one path.
class Answers : public zarnel::IMessages, public zarnel::IFileDialogs, public zarnel::IDesktop {
public:
    QString savePath;

    zarnel::MsgAnswer ask(const QString& text, const QString&, zarnel::MsgIcon, zarnel::MsgButtons buttons) override;
    QString getSaveFileName(const QString&, const QString&, const QString&) override { return savePath; }
    QString getOpenFileName(const QString&, const QString&, const QString&) override { return {}; }
    bool openDocument(const QString&) override { return true; }
    bool startProgram(const QString&, const QStringList&) override { return true; }

    // Makes these the services the windows use.
    void install();
};

void Settle();

// Seconds from `act` until `done` holds, the events running meanwhile as they do for a user. With a step name the
// time is printed as "step=NAME seconds=S".
double Timed(const char* step, const std::function<void()>& act, const std::function<bool()>& done);

// Starts the program's windows and opens the object in row `row` of the object list up to the results window,
// timing each step under its name when `timed` is set.
void OpenResults(int row, bool timed);

} // namespace bench

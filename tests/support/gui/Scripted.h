#pragma once
// Scripted stand-ins for the injectable services: they record every call and answer from a queue.
// A question that nobody queued fails the running test (and is answered No / cancelled).

#include "components/Services.h"

#include <QList>
#include <functional>
#include <QString>
#include <QStringList>

namespace testing {

struct MessageCall {
    QString text;
    QString title;
    zarnel::MsgIcon icon;
    zarnel::MsgButtons buttons;
};

class ScriptedMessages : public zarnel::IMessages {
public:
    ScriptedMessages();  // installs itself
    ~ScriptedMessages() override; // restores the real service

    void queue(zarnel::MsgAnswer a) { m_answers.append(a); }
    void yes() { queue(zarnel::MsgAnswer::Yes); }
    void no() { queue(zarnel::MsgAnswer::No); }
    // Runs f while a message is asked: lets a test look at the windows at that moment.
    void onAsk(std::function<void(const MessageCall&)> f) { m_onAsk = std::move(f); }

    zarnel::MsgAnswer ask(const QString& text, const QString& title, zarnel::MsgIcon icon,
                          zarnel::MsgButtons buttons) override;

    QList<MessageCall> calls;
    QStringList texts() const;
    int unexpected = 0;

private:
    QList<zarnel::MsgAnswer> m_answers;
    std::function<void(const MessageCall&)> m_onAsk;
};

class ScriptedFileDialogs : public zarnel::IFileDialogs {
public:
    ScriptedFileDialogs();
    ~ScriptedFileDialogs() override;
    QString getSaveFileName(const QString& caption, const QString& proposedPath, const QString& filter) override;
    // Answers from the same queue as the save dialog.
    QString getOpenFileName(const QString& caption, const QString& folder, const QString& filter) override;

    QStringList answers; // taken from the front; empty = cancel
    QStringList proposed;
    QStringList captions;
};

class RecordingDesktop : public zarnel::IDesktop {
public:
    RecordingDesktop();
    ~RecordingDesktop() override;
    bool openDocument(const QString& path) override;
    bool startProgram(const QString& program, const QStringList& arguments) override;

    QStringList opened;
    QStringList started;
    bool canOpen = true;
    bool canStart = true;
};

// Records what a long piece of work tells; cancels at the advance numbered cancelAt (from 1; 0 never).
class ScriptedProgress : public zarnel::IProgress {
public:
    ScriptedProgress();
    ~ScriptedProgress() override;
    void start(const QString& label, const QString& title, int maximum) override;
    bool advance(int value) override;
    void finish() override;

    int cancelAt = 0;
    QStringList labels;
    QStringList titles;
    int maximum = 0;
    QList<int> values;
    int finished = 0;
};

// Answers the server's login question from a queue (nothing = cancel); records each question.
class ScriptedLogin : public zarnel::ILoginDialog {
public:
    ScriptedLogin();
    ~ScriptedLogin() override;
    std::optional<zarnel::LoginAnswer> askLogin(const QString& dataSource, const QString& user,
                                                const QString& reason) override;

    QList<std::optional<zarnel::LoginAnswer>> answers;
    QStringList dataSources;
    QStringList reasons;
    int unexpected = 0;
};

// Unloads every window and lets deferred deletions run.
void resetWindows();

} // namespace testing

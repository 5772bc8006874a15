#include "Scripted.h"

#include "components/Form.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTest>

namespace testing {

ScriptedMessages::ScriptedMessages() { zarnel::setMessages(this); }
ScriptedMessages::~ScriptedMessages() { zarnel::setMessages(nullptr); }

zarnel::MsgAnswer ScriptedMessages::ask(const QString& text, const QString& title, zarnel::MsgIcon icon,
                                        zarnel::MsgButtons buttons)
{
    const MessageCall call{text, title, icon, buttons};
    calls.append(call);
    if (m_onAsk)
        m_onAsk(call);
    if (buttons == zarnel::MsgButtons::OK)
        return zarnel::MsgAnswer::OK;
    if (m_answers.isEmpty()) {
        ++unexpected;
        QTest::qFail(qPrintable(QStringLiteral("unexpected question: ") + text), __FILE__, __LINE__);
        return zarnel::MsgAnswer::No;
    }
    return m_answers.takeFirst();
}

QStringList ScriptedMessages::texts() const
{
    QStringList out;
    for (const MessageCall& c : calls)
        out << c.text;
    return out;
}

ScriptedFileDialogs::ScriptedFileDialogs() { zarnel::setFileDialogs(this); }
ScriptedFileDialogs::~ScriptedFileDialogs() { zarnel::setFileDialogs(nullptr); }

QString ScriptedFileDialogs::getSaveFileName(const QString& caption, const QString& proposedPath, const QString&)
{
    captions << caption;
    proposed << proposedPath;
    return answers.isEmpty() ? QString() : answers.takeFirst();
}

ScriptedProgress::ScriptedProgress() { zarnel::setProgress(this); }
ScriptedProgress::~ScriptedProgress() { zarnel::setProgress(nullptr); }

void ScriptedProgress::start(const QString& label, const QString& title, int max)
{
    labels << label;
    titles << title;
    maximum = max;
}

bool ScriptedProgress::advance(int value)
{
    values << value;
    return cancelAt == 0 || int(values.size()) < cancelAt;
}

void ScriptedProgress::finish()
{
    ++finished;
}

QString ScriptedFileDialogs::getOpenFileName(const QString& caption, const QString& folder, const QString& filter)
{
    return getSaveFileName(caption, folder, filter);
}

ScriptedLogin::ScriptedLogin() { zarnel::setLoginDialog(this); }
ScriptedLogin::~ScriptedLogin() { zarnel::setLoginDialog(nullptr); }

std::optional<zarnel::LoginAnswer> ScriptedLogin::askLogin(const QString& dataSource, const QString&,
                                                           const QString& reason)
{
    dataSources << dataSource;
    reasons << reason;
    if (answers.isEmpty()) {
        ++unexpected;
        QTest::qFail("unexpected login question", __FILE__, __LINE__);
        return std::nullopt;
    }
    return answers.takeFirst();
}

RecordingDesktop::RecordingDesktop() { zarnel::setDesktop(this); }
RecordingDesktop::~RecordingDesktop() { zarnel::setDesktop(nullptr); }

bool RecordingDesktop::openDocument(const QString& path)
{
    opened << path;
    return canOpen;
}

bool RecordingDesktop::startProgram(const QString& program, const QStringList&)
{
    started << program;
    return canStart;
}

void resetWindows()
{
    zarnel::forms().reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace testing

#pragma once
// Small injectable services, so every window flow can run headless in tests with scripted answers:
// message boxes, save dialogs, opening a document with the desktop's application, starting a program.

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace zarnel {

class DbError;

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { OK, YesNo };
enum class MsgAnswer { OK, Yes, No };

class IMessages {
public:
    virtual ~IMessages() = default;
    virtual MsgAnswer ask(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons) = 0;
};

class IFileDialogs {
public:
    virtual ~IFileDialogs() = default;
    // The chosen file name, or an empty text when the user cancelled.
    virtual QString getSaveFileName(const QString& caption, const QString& proposedPath, const QString& filter) = 0;
    // The chosen existing file, or an empty text when the user cancelled.
    virtual QString getOpenFileName(const QString& caption, const QString& folder, const QString& filter) = 0;
};

class IDesktop {
public:
    virtual ~IDesktop() = default;
    // Opens a document with the desktop's default application; false when nothing could open it.
    virtual bool openDocument(const QString& path) = 0;
    // Starts a program detached; false when it could not be started.
    virtual bool startProgram(const QString& program, const QStringList& arguments) = 0;
};

// A long piece of work that shows how far it got and can be cancelled (the report of a large object).
class IProgress {
public:
    virtual ~IProgress() = default;
    virtual void start(const QString& label, const QString& title, int maximum) = 0;
    // Lets the windows repaint; false once the user cancelled.
    virtual bool advance(int value) = 0;
    virtual void finish() = 0;
};

// A user and password typed for a server that refused the login.
struct LoginAnswer {
    QString user;
    QString password;
};

class ILoginDialog {
public:
    virtual ~ILoginDialog() = default;
    // Asks for the login to dataSource; reason says why (the server's refusal). Nothing when cancelled.
    virtual std::optional<LoginAnswer> askLogin(const QString& dataSource, const QString& user,
                                                const QString& reason) = 0;
};

// The services in force; a null argument restores the real one.
IMessages& messages();
void setMessages(IMessages* m);
IFileDialogs& fileDialogs();
void setFileDialogs(IFileDialogs* d);
IDesktop& desktop();
void setDesktop(IDesktop* d);
IProgress& progress();
void setProgress(IProgress* p);
ILoginDialog& loginDialog();
void setLoginDialog(ILoginDialog* d);

// Shorthand for a message box through the service in force.
MsgAnswer MsgBox(const QString& text, const QString& title, MsgIcon icon = MsgIcon::None,
                 MsgButtons buttons = MsgButtons::OK);

// A database failure told to the user in words of its cause, for a data source with the server's own text
// (the embedded database's text is only in the log); the window stays usable.
void ShowDbError(const DbError& error);

} // namespace zarnel

#pragma once
// Small injectable services, so every window flow can run headless in tests with scripted answers:
// message boxes, save dialogs, opening a document with the desktop's application, starting a program.

#include <QString>
#include <QStringList>

class QWidget;

namespace zarnel {

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

// The services in force; a null argument restores the real one.
IMessages& messages();
void setMessages(IMessages* m);
IFileDialogs& fileDialogs();
void setFileDialogs(IFileDialogs* d);
IDesktop& desktop();
void setDesktop(IDesktop* d);

// Shorthand for a message box through the service in force.
MsgAnswer MsgBox(const QString& text, const QString& title, MsgIcon icon = MsgIcon::None,
                 MsgButtons buttons = MsgButtons::OK);

// A database failure reported to the user with the database's own text; the window stays usable.
void ShowDbError(const QString& databaseText);

} // namespace zarnel

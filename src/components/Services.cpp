#include "components/Services.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QUrl>

namespace zarnel {

namespace {

class RealMessages : public IMessages {
public:
    MsgAnswer ask(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons) override
    {
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(title);
        box.setText(text);
        switch (icon) {
        case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
        case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
        case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
        case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
        case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
        }
        if (buttons == MsgButtons::YesNo) {
            QPushButton* yes = box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
            QPushButton* no = box.addButton(QStringLiteral("Нет"), QMessageBox::NoRole);
            box.setDefaultButton(yes);
            box.setEscapeButton(no);
            box.exec();
            return box.clickedButton() == yes ? MsgAnswer::Yes : MsgAnswer::No;
        }
        box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.exec();
        return MsgAnswer::OK;
    }
};

class RealFileDialogs : public IFileDialogs {
public:
    QString getSaveFileName(const QString& caption, const QString& proposedPath, const QString& filter) override
    {
        return QFileDialog::getSaveFileName(QApplication::activeWindow(), caption, proposedPath, filter);
    }
    QString getOpenFileName(const QString& caption, const QString& folder, const QString& filter) override
    {
        return QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, folder, filter);
    }
};

class RealDesktop : public IDesktop {
public:
    bool openDocument(const QString& path) override
    {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    }
    bool startProgram(const QString& program, const QStringList& arguments) override
    {
        return QProcess::startDetached(program, arguments);
    }
};

RealMessages g_realMessages;
RealFileDialogs g_realDialogs;
RealDesktop g_realDesktop;
IMessages* g_messages = &g_realMessages;
IFileDialogs* g_dialogs = &g_realDialogs;
IDesktop* g_desktop = &g_realDesktop;

} // namespace

IMessages& messages() { return *g_messages; }
void setMessages(IMessages* m) { g_messages = m ? m : &g_realMessages; }
IFileDialogs& fileDialogs() { return *g_dialogs; }
void setFileDialogs(IFileDialogs* d) { g_dialogs = d ? d : &g_realDialogs; }
IDesktop& desktop() { return *g_desktop; }
void setDesktop(IDesktop* d) { g_desktop = d ? d : &g_realDesktop; }

MsgAnswer MsgBox(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons)
{
    return messages().ask(text, title, icon, buttons);
}

void ShowDbError(const QString& databaseText)
{
    MsgBox(QStringLiteral("Ошибка базы данных: ") + databaseText, QStringLiteral("Внимание!!!"), MsgIcon::Critical);
}

} // namespace zarnel

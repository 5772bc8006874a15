#include "components/Services.h"

#include "core/Database.h"
#include "components/UserInputHold.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QUrl>

#include <algorithm>
#include <memory>

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

// Shown only when the work takes more than a moment; while the report holds the user's input back, its own
// "Отмена" must still be clickable.
class RealProgress : public IProgress {
public:
    void start(const QString& label, const QString& title, int maximum) override
    {
        delete m_dialog.data();
        m_dialog = new QProgressDialog(label, QStringLiteral("Отмена"), 0, std::max(maximum, 1),
                                       QApplication::activeWindow());
        m_dialog->setWindowTitle(title);
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setMinimumDuration(500);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_exempt = std::make_unique<UserInputHold::Exemption>(m_dialog.data());
    }
    bool advance(int value) override
    {
        if (!m_dialog)
            return true;
        m_dialog->setValue(std::min(value, m_dialog->maximum()));
        QCoreApplication::processEvents();
        return m_dialog && !m_dialog->wasCanceled();
    }
    void finish() override
    {
        m_exempt.reset();
        delete m_dialog.data();
    }

private:
    QPointer<QProgressDialog> m_dialog;
    std::unique_ptr<UserInputHold::Exemption> m_exempt;
};

class RealLoginDialog : public ILoginDialog {
public:
    std::optional<LoginAnswer> askLogin(const QString& dataSource, const QString& user, const QString& reason) override
    {
        QDialog dialog(QApplication::activeWindow());
        dialog.setWindowTitle(QStringLiteral("Вход на сервер базы данных"));
        auto* form = new QFormLayout(&dialog);
        auto* why = new QLabel(QStringLiteral("Источник данных «") + dataSource + QStringLiteral("».\n") + reason,
                               &dialog);
        why->setWordWrap(true);
        form->addRow(why);
        auto* userEdit = new QLineEdit(user, &dialog);
        auto* passwordEdit = new QLineEdit(&dialog);
        passwordEdit->setEchoMode(QLineEdit::Password);
        form->addRow(QStringLiteral("Пользователь:"), userEdit);
        form->addRow(QStringLiteral("Пароль:"), passwordEdit);
        auto* buttons = new QDialogButtonBox(&dialog);
        buttons->addButton(QStringLiteral("Подключиться"), QDialogButtonBox::AcceptRole);
        buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
        QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
        QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        form->addRow(buttons);
        (user.isEmpty() ? userEdit : passwordEdit)->setFocus();
        dialog.setMinimumWidth(460);
        dialog.adjustSize();
        if (dialog.exec() != QDialog::Accepted || userEdit->text().trimmed().isEmpty())
            return std::nullopt;
        return LoginAnswer{userEdit->text().trimmed(), passwordEdit->text()};
    }
};

RealMessages g_realMessages;
RealFileDialogs g_realDialogs;
RealDesktop g_realDesktop;
IMessages* g_messages = &g_realMessages;
IFileDialogs* g_dialogs = &g_realDialogs;
IDesktop* g_desktop = &g_realDesktop;
RealProgress g_realProgress;
IProgress* g_progress = &g_realProgress;
RealLoginDialog g_realLogin;
ILoginDialog* g_login = &g_realLogin;

} // namespace

IMessages& messages() { return *g_messages; }
void setMessages(IMessages* m) { g_messages = m ? m : &g_realMessages; }
IFileDialogs& fileDialogs() { return *g_dialogs; }
void setFileDialogs(IFileDialogs* d) { g_dialogs = d ? d : &g_realDialogs; }
IDesktop& desktop() { return *g_desktop; }
void setDesktop(IDesktop* d) { g_desktop = d ? d : &g_realDesktop; }
IProgress& progress() { return *g_progress; }
void setProgress(IProgress* p) { g_progress = p ? p : &g_realProgress; }
ILoginDialog& loginDialog() { return *g_login; }
void setLoginDialog(ILoginDialog* d) { g_login = d ? d : &g_realLogin; }

MsgAnswer MsgBox(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons)
{
    return messages().ask(text, title, icon, buttons);
}

void ShowDbError(const DbError& error)
{
    // A refused save is the user's business, not a fault of the database.
    const bool fromServer = !error.serverText.isEmpty() && !IsConflict(error.cause);
    MsgBox(fromServer ? ServerFailureText(error.cause, error.serverText) : DbFailureText(error.cause),
           QStringLiteral("Внимание!!!"),
           IsConflict(error.cause) ? MsgIcon::Exclamation : MsgIcon::Critical);
}

} // namespace zarnel

#include "windows/shell/frmAbout.h"

#include "components/Services.h"
#include "core/DataSourceFile.h"
#include "core/ProgramFolder.h"
#include "core/Version.h"

#include <QDir>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QShortcut>
#include <QStandardPaths>
#include <QStyle>
#include <QVBoxLayout>

namespace zarnel {

frmAbout::frmAbout()
{
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* grid = new QGridLayout(central);
    Image1 = new QLabel(central);
    Image1->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
    Image2 = new QLabel(central);
    Image2->setPixmap(style()->standardIcon(QStyle::SP_FileDialogDetailedView).pixmap(48, 48));
    lblTitle = new QLabel(central);
    QFont title = lblTitle->font();
    title.setPointSize(title.pointSize() + 4);
    title.setBold(true);
    lblTitle->setFont(title);
    lblVersion = new QLabel(central);
    Description = new QLabel(QStringLiteral("программа построения F/n и F/g диаграмм"), central);
    lblDataFolder = new QLabel(central);
    lblDataFolder->setWordWrap(true);
    lblDataFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cmdOK = new QPushButton(QStringLiteral("OK"), central);
    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), central);
    grid->addWidget(Image1, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(lblTitle, 0, 1);
    grid->addWidget(lblVersion, 1, 1);
    grid->addWidget(Description, 2, 1);
    grid->addWidget(lblDataFolder, 3, 1, 1, 2);
    grid->addWidget(Image2, 4, 0, Qt::AlignBottom);
    auto* buttons = new QVBoxLayout();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    grid->addLayout(buttons, 4, 2);
    grid->setRowStretch(2, 1);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    // Enter and Escape close the box, as its OK button is the default and the cancel button.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter), QKeySequence(Qt::Key_Escape)})
        connect(new QShortcut(key, this), &QShortcut::activated, cmdOK, &QPushButton::click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
    setWidthTwips(6200);
    setHeightTwips(3600);
}

void frmAbout::Form_Load()
{
    setWindowTitle(QStringLiteral("О программе"));
    lblVersion->setText(QStringLiteral("Версия %1.%2").arg(ZARNEL_VERSION_MAJOR).arg(ZARNEL_VERSION_MINOR));
    lblTitle->setText(QStringLiteral(" Программа \"Зарнель\""));
    // Where the database and the log of this run live: installed, per user; portable, beside the program.
    lblDataFolder->setText(QStringLiteral("Папка данных: ") + QDir::toNativeSeparators(ProgramFolder()) +
                           QStringLiteral("\nБаза данных: ") + DatabaseInUse());
    lblDataFolder->setToolTip(lblDataFolder->text());
}

void frmAbout::cmdOK_Click()
{
    Unload();
}

QStringList frmAbout::SysInfoViewers()
{
    return {QStringLiteral("hardinfo"), QStringLiteral("hardinfo2"), QStringLiteral("kinfocenter"),
            QStringLiteral("gnome-system-monitor"), QStringLiteral("xfce4-taskmanager")};
}

void frmAbout::cmdSysInfo_Click()
{
    // There is no registry here: the viewer is the first of the known system-information programs found on PATH.
    for (const QString& name : SysInfoViewers()) {
        const QString path = QStandardPaths::findExecutable(name);
        if (path.isEmpty())
            continue;
        if (desktop().startProgram(path, {}))
            return;
        break;
    }
    MsgBox(QStringLiteral("System Information Is Unavailable At This Time"), QStringLiteral("Зарнель"));
}

} // namespace zarnel

#include "windows/shell/frmDataSourse.h"

#include "components/Services.h"
#include "core/DataSourceFile.h"
#include "core/Database.h"
#include "core/Shared.h"
#include "windows/shell/ServerLogin.h"
#include "windows/shell/Startup.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace zarnel {

frmDataSourse::frmDataSourse()
{
    setWindowTitle(QStringLiteral("Имя источника данных ODBC"));
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* outer = new QVBoxLayout(central);
    Frame1 = new QGroupBox(central);
    outer->addWidget(Frame1);
    auto* box = new QVBoxLayout(Frame1);
    Label1 = new QLabel(QStringLiteral("Панель управления->Администрирование-> Источники данных (ODBC)->"
                                       "Пользовательский DSN-> Имя источника данных переменных"),
                        Frame1);
    Label1->setWordWrap(true);
    box->addWidget(Label1);
    txtDataSourse = new QLineEdit(QStringLiteral("База данных MS Access"), Frame1);
    box->addWidget(txtDataSourse);
    chkAlways = new QCheckBox(QStringLiteral("использовать всегда"), Frame1);
    box->addWidget(chkAlways);
    auto* buttons = new QHBoxLayout();
    Command1 = new QPushButton(QStringLiteral("Подключение"), Frame1);
    Command2 = new QPushButton(QStringLiteral("Выход"), Frame1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    box->addLayout(buttons);
    connect(Command1, &QPushButton::clicked, this, &frmDataSourse::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmDataSourse::Command2_Click);
    setWidthTwips(6000);
    setHeightTwips(2600);
}

void frmDataSourse::Form_Load()
{
    txtDataSourse->setText(ReadDataSourceName());
}

void frmDataSourse::Command1_Click()
{
    const QString name = txtDataSourse->text();
    ConnectionString = PlainConnectionString(name);
    // A login typed for the previous name is not this one's.
    SetServerLogin({}, {});
    const bool connected = ConnectAskingLogin([&] { return TryConnect(ConnectionString) || ConnectWithDsn(name); });
    if (!connected) {
        MsgBox(WithConnectFailure(
                   QStringLiteral("Не возможно подключиться к базе данных, измените имя источника данных ODBC!")),
               QStringLiteral("Внимание!"), MsgIcon::Critical);
        return;
    }
    if (chkAlways->isChecked() && !WriteChosenDataSource(name)) {
        MsgBox(QStringLiteral("Не удалось записать выбор источника данных в файл ") + ChosenDataSourceFilePath() +
                   QStringLiteral(". При следующем запуске выберите его снова."),
               QStringLiteral("Внимание!"), MsgIcon::Exclamation);
    }
    // The password typed with the name stays in memory only.
    if (!WriteDataSourceName(WithoutPassword(name))) {
        // The connection works for this run; the next start will ask again.
        MsgBox(QStringLiteral("Не удалось записать имя источника данных в файл ") + DataSourceFilePath() +
                   QStringLiteral(". При следующем запуске его придется ввести снова."),
               QStringLiteral("Внимание!"), MsgIcon::Exclamation);
    }
    txtDataSourse->setText(name);
    MsgBox(QStringLiteral("База успешно подключена!"), QStringLiteral("Внимание!"));
    Unload();
    Main();
}

void frmDataSourse::Command2_Click()
{
    Unload();
}

} // namespace zarnel

// A server that refuses the login or goes away: the program asks for user and password (writing the password
// nowhere), tells the failure in words, and goes on once the server is back. Runs against the test server only
// (the *_server variant).

#include "Scripted.h"
#include "TestHome.h"
#include "core/DataSourceFile.h"
#include "core/Database.h"
#include "core/LogFile.h"
#include "core/ObjectStore.h"
#include "core/Shared.h"
#include "windows/objects/frmLoad.h"
#include "windows/shell/Startup.h"
#include "windows/shell/frmDataSourse.h"
#include "windows/shell/frmMain1.h"

#include <QCheckBox>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace zarnel;

namespace {

const QString kWrongPassword = QStringLiteral("wrong-15");

// The name field of this process's server database through the data source without a login.
QString bareName()
{
    const QString own = testing::serverDataSource();
    return qEnvironmentVariable("ZARNEL_TEST_PG_DSN_NOLOGIN") + own.mid(own.indexOf(u';'));
}

QStringList filesHolding(const QString& folder, const QString& text)
{
    QStringList out;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (f.open(QIODevice::ReadOnly) && f.readAll().contains(text.toUtf8()))
            out << f.fileName();
    }
    return out;
}

} // namespace

class tst_ServerConnection : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        if (!testing::onServer())
            QSKIP("needs the test server");
        m_home = std::make_unique<testing::TestHome>();
        InstallLogFile(m_home->path());
    }
    void cleanup()
    {
        RemoveLogFile();
        qunsetenv("ZARNEL_DSN");
        SetServerLogin({}, {});
        testing::resetWindows();
        m_home.reset();
    }

    void refusedLoginIsAskedFor_data()
    {
        QTest::addColumn<QString>("nameSuffix");
        QTest::addColumn<QStringList>("typedPasswords"); // "" = cancel
        QTest::addColumn<bool>("connects");
        const QString right = qEnvironmentVariable("ZARNEL_TEST_PG_PASSWORD");
        QTest::newRow("no password, a wrong one typed, then the right one")
            << QString() << QStringList{kWrongPassword, right} << true;
        QTest::newRow("wrong password in the name field")
            << ";UID=engineer;PWD=" + kWrongPassword << QStringList{right} << true;
        QTest::newRow("cancelled") << QString() << QStringList{QString()} << false;
    }

    // Start-up with the data source chosen (ZARNEL_DSN): the title window opens once the login is right.
    void refusedLoginIsAskedFor()
    {
        QFETCH(QString, nameSuffix);
        QFETCH(QStringList, typedPasswords);
        QFETCH(bool, connects);
        qputenv("ZARNEL_DSN", (bareName() + nameSuffix).toUtf8());
        testing::ScriptedMessages msgs;
        testing::ScriptedLogin login;
        for (const QString& p : typedPasswords) {
            if (p.isEmpty())
                login.answers.append(std::nullopt);
            else
                login.answers.append(LoginAnswer{qEnvironmentVariable("ZARNEL_TEST_PG_USER"), p});
        }
        Main();
        QCOMPARE(login.unexpected, 0);
        QVERIFY(login.answers.isEmpty());
        QCOMPARE(login.dataSources.size(), typedPasswords.size());
        QCOMPARE(login.dataSources.first(), SplitDataSourceLogin(bareName()).dataSource);
        for (const QString& reason : login.reasons)
            QVERIFY2(reason.contains(QStringLiteral("неверный пароль")), qPrintable(reason));
        QCOMPARE(forms().isLoaded<frmMain1>(), connects);
        QCOMPARE(forms().isLoaded<frmDataSourse>(), !connects);
        if (connects) {
            QVERIFY(msgs.calls.isEmpty());
            Connection c; // the windows' connections log in the same way
            QVERIFY(!c.isSqlite());
        } else {
            QCOMPARE(msgs.calls.size(), 1);
            QVERIFY(msgs.calls[0].text.startsWith(
                QStringLiteral("Не возможно подключиться к базе данных, установите имя источника данных ODBC!")));
            QVERIFY_THROWS_EXCEPTION(DbError, Connection());
        }
        QCOMPARE(filesHolding(m_home->path(), kWrongPassword), QStringList());
        QCOMPARE(filesHolding(m_home->path(), qEnvironmentVariable("ZARNEL_TEST_PG_PASSWORD")), QStringList());
    }

    // Through the data-source window with "использовать всегда": the name is kept, the typed password is not.
    void typedPasswordStaysOutOfTheFiles()
    {
        testing::ScriptedMessages msgs;
        testing::ScriptedLogin login;
        login.answers.append(LoginAnswer{qEnvironmentVariable("ZARNEL_TEST_PG_USER"), kWrongPassword});
        login.answers.append(
            LoginAnswer{qEnvironmentVariable("ZARNEL_TEST_PG_USER"), qEnvironmentVariable("ZARNEL_TEST_PG_PASSWORD")});
        frmDataSourse* f = forms().get<frmDataSourse>();
        f->Show();
        f->txtDataSourse->setText(bareName());
        f->chkAlways->setChecked(true);
        f->Command1->click();
        QCOMPARE(login.reasons.size(), 2);
        QCOMPARE(msgs.texts().value(0), QStringLiteral("База успешно подключена!"));
        QVERIFY(forms().isLoaded<frmMain1>());
        QCOMPARE(ChosenDataSource(), bareName());
        QCOMPARE(ReadDataSourceName(), bareName());
        QVERIFY(QFile::exists(m_home->path() + "/zarnel.log"));
        QCOMPARE(filesHolding(m_home->path(), kWrongPassword), QStringList());
        QCOMPARE(filesHolding(m_home->path(), qEnvironmentVariable("ZARNEL_TEST_PG_PASSWORD")), QStringList());
    }

    // The server out of reach while a window lists objects: the window says so and stays; once the server is
    // back, the next handler's connection works without a restart.
    void serverGoneAndBack()
    {
        testing::object(QStringLiteral("Склад"), 10);
        const QString reachable = ConnectionString;
        ConnectionString = ReadWriteConnectionString(testing::serverDataSource() + QStringLiteral(";Port=1"));
        testing::ScriptedMessages msgs;
        frmLoad* f = forms().get<frmLoad>();
        f->Show();
        QCOMPARE(msgs.calls.size(), 1);
        QVERIFY2(msgs.calls[0].text.startsWith(QStringLiteral("Ошибка базы данных: сервер недоступен.")),
                 qPrintable(msgs.calls[0].text));
        QVERIFY(msgs.calls[0].text.contains(QStringLiteral("\n\nСообщение сервера: ")));
        QVERIFY(f->isVisible());
        QVERIFY(f->Tabl_Name->TextMatrix(1, 1).isEmpty());

        ConnectionString = reachable;
        f->Unload();
        QCoreApplication::processEvents();
        f = forms().get<frmLoad>();
        f->Show();
        QCOMPARE(msgs.calls.size(), 1);
        QCOMPARE(f->Tabl_Name->TextMatrix(1, 1), QStringLiteral("Склад"));
    }

private:
    std::unique_ptr<testing::TestHome> m_home;
};

QTEST_MAIN(tst_ServerConnection)
#include "tst_ServerConnection.moc"

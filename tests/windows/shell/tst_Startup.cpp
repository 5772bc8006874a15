#include "OdbcFixture.h"
#include "Scripted.h"
#include "TestHome.h"
#include "core/DataSourceFile.h"
#include "core/Database.h"
#include "core/Shared.h"
#include "windows/shell/Startup.h"
#include "windows/shell/frmDataSourse.h"
#include "windows/shell/frmMain1.h"

#include <QFile>
#include <QSet>
#include <QTest>

using namespace zarnel;

namespace {
QSet<QString> g_working; // connection strings that open
bool fakeConnect(const QString& cs) { return g_working.contains(cs); }

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class tst_Startup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        g_working.clear();
        SetConnectTester(fakeConnect);
    }
    void cleanup()
    {
        SetConnectTester(nullptr);
        testing::resetWindows();
        forms().onLastUnloaded = nullptr;
    }

    void defaultFormWins()
    {
        testing::TestHome home;
        QVERIFY(WriteDataSourceName("Запасной"));
        g_working = {DefaultConnectionString(), ReadWriteConnectionString("Запасной")};
        testing::ScriptedMessages msgs;
        Main();
        QVERIFY(forms().isLoaded<frmMain1>());
        QVERIFY(!forms().isLoaded<frmDataSourse>());
        QCOMPARE(ConnectionString, DefaultConnectionString());
        QVERIFY(msgs.calls.isEmpty());
    }

    void savedNameUsedWhenDefaultFails()
    {
        testing::TestHome home;
        QVERIFY(WriteDataSourceName("Запасной"));
        g_working = {ReadWriteConnectionString("Запасной")};
        testing::ScriptedMessages msgs;
        Main();
        QVERIFY(forms().isLoaded<frmMain1>());
        QCOMPARE(ConnectionString, ReadWriteConnectionString("Запасной"));
        QVERIFY(msgs.calls.isEmpty());
    }

    void nothingWorksAsksForDataSource()
    {
        testing::TestHome home;
        QVERIFY(WriteDataSourceName("Старый"));
        testing::ScriptedMessages msgs;
        Main();
        QCOMPARE(msgs.calls.size(), 1);
        QCOMPARE(msgs.calls[0].text,
                 QStringLiteral("Не возможно подключиться к базе данных, установите имя источника данных ODBC!"));
        QCOMPARE(msgs.calls[0].title, QStringLiteral("Внимание!"));
        QCOMPARE(msgs.calls[0].icon, MsgIcon::Critical);
        QVERIFY(!forms().isLoaded<frmMain1>());
        frmDataSourse* f = forms().find<frmDataSourse>();
        QVERIFY(f);
        QCOMPARE(f->windowTitle(), QStringLiteral("Имя источника данных ODBC"));
        QCOMPARE(f->txtDataSourse->text(), QStringLiteral("Старый"));
        QCOMPARE(ConnectionString, ReadWriteConnectionString("Старый"));

        // A failed connection keeps the window and the file as they were.
        f->txtDataSourse->setText("Неверный");
        f->Command1->click();
        QCOMPARE(msgs.calls.size(), 2);
        QCOMPARE(msgs.calls[1].text,
                 QStringLiteral("Не возможно подключиться к базе данных, измените имя источника данных ODBC!"));
        QCOMPARE(msgs.calls[1].icon, MsgIcon::Critical);
        QCOMPARE(ReadDataSourceName(), QStringLiteral("Старый"));
        QCOMPARE(forms().find<frmDataSourse>(), f);

        // A working name is saved without a line end and start-up runs again, default form first.
        g_working = {PlainConnectionString("Новый"), ReadWriteConnectionString("Новый")};
        f->txtDataSourse->setText("Новый");
        f->Command1->click();
        QCOMPARE(msgs.calls.size(), 3);
        QCOMPARE(msgs.calls[2].text, QStringLiteral("База успешно подключена!"));
        QCOMPARE(msgs.calls[2].icon, MsgIcon::None);
        QCOMPARE(fileBytes(DataSourceFilePath()), EncodeCp1251("Новый"));
        QVERIFY(forms().isLoaded<frmMain1>());
        QVERIFY(!forms().isLoaded<frmDataSourse>());
        QCOMPARE(ConnectionString, ReadWriteConnectionString("Новый"));
    }

    void onlyPlainFormWorks()
    {
        testing::TestHome home;
        testing::ScriptedMessages msgs;
        Main();
        frmDataSourse* first = forms().find<frmDataSourse>();
        QVERIFY(first);
        g_working = {PlainConnectionString("Только чтение")};
        first->txtDataSourse->setText("Только чтение");
        first->Command1->click();
        // Success is reported and the name saved, but start-up fails again and asks once more.
        QCOMPARE(msgs.texts(),
                 QStringList({"Не возможно подключиться к базе данных, установите имя источника данных ODBC!",
                              "База успешно подключена!",
                              "Не возможно подключиться к базе данных, установите имя источника данных ODBC!"}));
        QCOMPARE(ReadDataSourceName(), QStringLiteral("Только чтение"));
        frmDataSourse* second = forms().find<frmDataSourse>();
        QVERIFY(second && second != first);
        QCOMPARE(second->txtDataSourse->text(), QStringLiteral("Только чтение"));
        QVERIFY(!forms().isLoaded<frmMain1>());
    }

    void exitFromDataSourceWindowEndsProgram()
    {
        testing::TestHome home;
        testing::ScriptedMessages msgs;
        bool ended = false;
        forms().onLastUnloaded = [&] { ended = true; };
        Main();
        forms().find<frmDataSourse>()->Command2->click();
        QCoreApplication::processEvents();
        QVERIFY(ended);
        QVERIFY(forms().loaded().isEmpty());
    }

    // The same flow with a real data source: the embedded database is broken, an ODBC source works.
    void realOdbcDataSource()
    {
        SetConnectTester(nullptr);
        testing::TestHome home;
        if (!testing::setUpOdbcDataSource(home.path() + "/odbc", "ZarnelRisk", home.path() + "/odbc.db"))
            QSKIP("SQLite ODBC driver (libsqliteodbc) is not installed");
        QFile broken(DatabaseFilePath());
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write(QByteArray(4096, 'x'));
        broken.close();

        testing::ScriptedMessages msgs;
        Main();
        frmDataSourse* f = forms().find<frmDataSourse>();
        QVERIFY(f);
        f->txtDataSourse->setText("ZarnelRisk");
        f->Command1->click();
        QCOMPARE(msgs.texts().last(), QStringLiteral("База успешно подключена!"));
        QVERIFY(forms().isLoaded<frmMain1>());
        QCOMPARE(ConnectionString, ReadWriteConnectionString("ZarnelRisk"));
        QCOMPARE(ReadDataSourceName(), QStringLiteral("ZarnelRisk"));

        Connection c;
        QVERIFY(!c.isSqlite());
        c.exec("INSERT INTO tabObjekt (Id, Name, People) VALUES (?, ?, ?)", {1, QStringLiteral("Склад О'Нил"), 5});
        const auto rows = c.select("select * from tabObjekt where Name ='" + SqlQuote("Склад О'Нил") + "'");
        QCOMPARE(rows.size(), 1);
        QCOMPARE(FieldText(rows.first(), "Name"), QStringLiteral("Склад О'Нил"));
        QCOMPARE(FieldInt16(rows.first(), "People"), qint16(5));
        QVERIFY(!c.select("select * from tabNumber order by name asc").isEmpty());
        QVERIFY(QFile::exists(home.path() + "/odbc.db"));
    }
};

QTEST_MAIN(tst_Startup)
#include "tst_Startup.moc"

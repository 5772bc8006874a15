#include "OdbcFixture.h"
#include "TestHome.h"
#include "core/DataSourceFile.h"
#include "core/Database.h"
#include "core/ProgramFolder.h"
#include "core/Shared.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

using namespace zarnel;

Q_DECLARE_METATYPE(DbFailure)

class tst_Database : public QObject {
    Q_OBJECT
    QTemporaryDir m_odbcDir;
    bool m_odbc = false;

private Q_SLOTS:
    // unixODBC reads its configuration once per process: the data source is defined before any ODBC use.
    void initTestCase()
    {
        m_odbc = testing::setUpOdbcDataSource(m_odbcDir.path(), "ZarnelOlder", m_odbcDir.filePath("older.sqlite"));
    }

    void connectionStrings()
    {
        testing::TestHome home;
        const QString file = QDir::toNativeSeparators(home.path() + "/dbRisk.sqlite");
        QCOMPARE(DefaultConnectionString(), "Provider=MSDASQL.1;Password=9461;Persist Security Info=True;User ID=Admin;"
                                            "Data Source=MS Access Database;Initial Catalog=" +
                                                file);
        QCOMPARE(ReadWriteConnectionString("Риски"),
                 "Provider=MSDASQL.1;Password=9461;Persist Security Info=True;User ID=Admin;"
                 "Data Source='Риски';Mode=ReadWrite ;Initial Catalog=" +
                     file);
        QCOMPARE(PlainConnectionString("Риски"),
                 "Provider=MSDASQL.1;Password=9461;Persist Security Info=True;User ID=Admin;"
                 "Data Source='Риски';Initial Catalog=" +
                     file);
        QCOMPARE(ConnectionStringValue(ReadWriteConnectionString("Риски"), "Data Source"), QStringLiteral("Риски"));
        QCOMPARE(ConnectionStringValue(DefaultConnectionString(), "Data Source"), QStringLiteral("MS Access Database"));
        QCOMPARE(ConnectionStringValue(DefaultConnectionString(), "Initial Catalog"), file);
        // ConnectWithDsn leaves the form it tried in force, also when it fails.
        QVERIFY(!ConnectWithDsn("нет такого источника"));
        QCOMPARE(ConnectionString, ReadWriteConnectionString("нет такого источника"));
    }

    void newDatabaseGetsTablesAndPeopleCounts()
    {
        testing::TestHome home;
        QVERIFY(!QFile::exists(DatabaseFilePath()));
        Connection c;
        QVERIFY(QFile::exists(DatabaseFilePath()));
        const QStringList tables = c.database().tables();
        for (const char* t : {"tabObjekt", "tabScen", "tabRisk", "tabNumber", "tabOtchet"})
            QVERIFY2(tables.contains(QString::fromLatin1(t), Qt::CaseInsensitive), t);
        const auto counts = c.select("select * from tabNumber order by name asc");
        QVERIFY(counts.size() > 10);
        // People counts list in numeric order, as a user expects.
        QCOMPARE(FieldText(counts.at(0), "Name"), QStringLiteral("1"));
        QCOMPARE(FieldText(counts.at(1), "Name"), QStringLiteral("2"));
        c.exec("INSERT INTO tabOtchet (\"Date\") VALUES (?)", {QDateTime::currentDateTime()});
        QCOMPARE(c.select("select * from tabOtchet").size(), 1);
    }

    // A database from before the index: the first connection adds it, the data stay, and the per-scenario
    // look-up uses it instead of scanning the object's rows.
    void olderDatabaseGetsScenarioIndex_data()
    {
        QTest::addColumn<bool>("odbc");
        QTest::newRow("embedded") << false;
        QTest::newRow("odbc source") << true;
    }
    void olderDatabaseGetsScenarioIndex()
    {
        QFETCH(bool, odbc);
        testing::TestHome home;
        const QString file = odbc ? m_odbcDir.filePath("older.sqlite") : home.path() + "/older.sqlite";
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "older");
            db.setDatabaseName(file);
            QVERIFY(db.open());
            QSqlQuery q(db);
            for (const char* sql :
                 {"CREATE TABLE tabObjekt (Id SMALLINT, Name VARCHAR(255), People SMALLINT)",
                  "CREATE TABLE tabScen (Id_obj SMALLINT, Id SMALLINT, Name VARCHAR(255), Opis TEXT, "
                  "Risk DOUBLE)",
                  "CREATE TABLE tabRisk (Id_obj SMALLINT, Id_scen SMALLINT, Id_por SMALLINT, "
                  "Number DOUBLE)",
                  "CREATE TABLE tabNumber (Name VARCHAR(50))", "CREATE TABLE tabOtchet (\"Date\" TIMESTAMP)",
                  "INSERT INTO tabRisk VALUES (1, 2, 0, 7)"})
                QVERIFY2(q.exec(QString::fromLatin1(sql)), sql);
            db.close();
        }
        QSqlDatabase::removeDatabase("older");

        QString cs = "Data Source=MS Access Database;Initial Catalog=" + file;
        if (odbc) {
            if (!m_odbc)
                QSKIP("the SQLite ODBC driver is not installed");
            cs = ReadWriteConnectionString("ZarnelOlder");
        }
        {
            Connection c(cs);
        }
        Connection c(cs); // a second connection finds the index in place and does not fail on it
        Connection check("Data Source=MS Access Database;Initial Catalog=" + file);
        QCOMPARE(check.select("select name from sqlite_master where type='index' and name='ixRiskScen'").size(), 1);
        QCOMPARE(check.select("select * from tabRisk").size(), 1);
        QString plan;
        for (const QSqlRecord& r :
             check.select("EXPLAIN QUERY PLAN select * from  tabRisk where Id_obj=1 and id_scen=2 and Id_por= 0 "))
            plan += FieldText(r, "detail");
        QVERIFY2(plan.contains("ixRiskScen"), qPrintable(plan));
    }

    void openFailures_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<DbFailure>("cause");
        QTest::newRow("not a database") << "garbage" << DbFailure::ForeignDatabase;
        QTest::newRow("folder cannot hold the file") << "nofolder" << DbFailure::Unreachable;
        QTest::newRow("unknown odbc source") << "odbc" << DbFailure::Unreachable;
    }
    void openFailures()
    {
        QFETCH(QString, kind);
        QFETCH(DbFailure, cause);
        testing::TestHome home;
        QString cs = DefaultConnectionString();
        if (kind == "garbage") {
            QFile f(DatabaseFilePath());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'x'));
        } else if (kind == "nofolder") {
            cs = "Data Source=MS Access Database;Initial Catalog=" + home.path() + "/missing/dbRisk.sqlite";
        } else {
            cs = ReadWriteConnectionString("Zarnel test source that does not exist");
        }
        QString error;
        QVERIFY(!TryConnect(cs, &error));
        QVERIFY(!error.isEmpty());
        try {
            Connection c(cs);
            QFAIL("opened");
        } catch (const DbError& e) {
            QCOMPARE(e.cause, cause);
        }
    }

    void foreignFileIsLeftAlone_data()
    {
        QTest::addColumn<QStringList>("ddl");
        QTest::addColumn<bool>("ours");
        QTest::newRow("object table with other columns")
            << QStringList{"CREATE TABLE tabObjekt (Kod INTEGER, Title TEXT)"} << false;
        QTest::newRow("indicator table without its number")
            << QStringList{"CREATE TABLE tabObjekt (Id SMALLINT, Name VARCHAR(255), People SMALLINT)",
                           "CREATE TABLE tabRisk (Id_obj SMALLINT, Id_scen SMALLINT, Id_por SMALLINT)"}
            << false;
        QTest::newRow("other tables only") << QStringList{"CREATE TABLE customers (id INTEGER, name TEXT)"} << false;
        // An older database of ours may lack tables; they are added.
        QTest::newRow("our objects alone, other letter case")
            << QStringList{"CREATE TABLE TABOBJEKT (ID SMALLINT, NAME VARCHAR(255), PEOPLE SMALLINT, Extra TEXT)"}
            << true;
    }
    void foreignFileIsLeftAlone()
    {
        QFETCH(QStringList, ddl);
        QFETCH(bool, ours);
        testing::TestHome home;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "foreign");
            db.setDatabaseName(DatabaseFilePath());
            QVERIFY(db.open());
            for (const QString& statement : ddl)
                QVERIFY(QSqlQuery(db).exec(statement));
            db.close();
        }
        QSqlDatabase::removeDatabase("foreign");
        QFile file(DatabaseFilePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();

        if (ours) {
            Connection c;
            QVERIFY(c.database().tables().contains("tabNumber", Qt::CaseInsensitive));
            return;
        }
        try {
            Connection c;
            QFAIL("a foreign file was taken for the database");
        } catch (const DbError& e) {
            QCOMPARE(e.cause, DbFailure::ForeignDatabase);
        }
        QVERIFY(!TryConnect(DefaultConnectionString()));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }

    void namesAreQuotedSafelyAndComparedWithoutCase()
    {
        testing::TestHome home;
        const QString tricky = "Склад \"Юг\"'; DROP TABLE tabObjekt; --";
        const auto obj = testing::object(tricky, 10);
        testing::object("ёлка", 1);
        testing::object("Бета", 1);
        testing::object("альфа", 1);
        Connection c;
        auto rows = c.select("select * from tabObjekt where Name ='" + SqlQuote(tricky) + "'");
        QCOMPARE(rows.size(), 1);
        QCOMPARE(FieldInt16(rows.first(), "Id"), obj.id());
        QCOMPARE(FieldText(rows.first(), "Name"), tricky);
        // Cyrillic letters compare without regard to case.
        QCOMPARE(c.select("select * from tabObjekt where Name ='АЛЬФА'").size(), 1);
        QCOMPARE(c.select("select * from tabObjekt where Name ='ЁЛКА'").size(), 1);
        QCOMPARE(c.select("select * from tabObjekt where Name ='альфа '").size(), 0);
        QStringList order;
        for (const QSqlRecord& r : c.select("select * from tabObjekt order by Name asc"))
            order << FieldText(r, "Name");
        QCOMPARE(order.mid(0, 3), QStringList({"альфа", "Бета", "ёлка"}));
    }

    void scenarioNamesOrderNumerically()
    {
        testing::TestHome home;
        testing::object("О", 0).scenario("С10", 1e-4).scenario("с2", 1e-4).scenario("С1", 1e-4);
        Connection c;
        QStringList order;
        for (const QSqlRecord& r : c.select("select * from tabScen where Id_Obj =1 order by Name asc"))
            order << FieldText(r, "Name");
        QCOMPARE(order, QStringList({"С1", "с2", "С10"}));
    }

    void transactionRollsBackUnlessCommitted()
    {
        testing::TestHome home;
        testing::object("А", 1);
        {
            Connection c;
            Transaction t(c);
            c.exec("DELETE FROM tabObjekt");
        }
        QCOMPARE(testing::countRows("select * from tabObjekt"), 1);
        {
            Connection c;
            Transaction t(c);
            c.exec("DELETE FROM tabObjekt");
            t.commit();
        }
        QCOMPARE(testing::countRows("select * from tabObjekt"), 0);
    }

    void dataSourceFile()
    {
        testing::TestHome home;
        QCOMPARE(ReadDataSourceName(), QString()); // missing file: empty name
        QVERIFY(WriteDataSourceName("База данных Риск"));
        QFile f(DataSourceFilePath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        f.close();
        QCOMPARE(bytes,
                 QByteArray("\xc1\xe0\xe7\xe0 \xe4\xe0\xed\xed\xfb\xf5 \xd0\xe8\xf1\xea")); // cp1251, no line end
        QCOMPARE(ReadDataSourceName(), QStringLiteral("База данных Риск"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("first\r\nsecond\r\n");
        f.close();
        QCOMPARE(ReadDataSourceName(), QStringLiteral("first"));
    }
};

QTEST_GUILESS_MAIN(tst_Database)
#include "tst_Database.moc"

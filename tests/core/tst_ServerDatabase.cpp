// Several engineers on one database: keys chosen at the same moment stay distinct, names compare and sort
// alike on the embedded database and on the server; on the server the program creates its own schema and
// logs in with the data source's credentials. Runs on the embedded database, and on the server in the
// *_server variant.

#include "core/TestHome.h"

#include "core/ObjectStore.h"
#include "core/ScenarioStore.h"
#include "core/Shared.h"

#include <QSemaphore>
#include <QSqlError>
#include <QTest>
#include <atomic>
#include <chrono>
#include <thread>

using namespace zarnel;

namespace {

enum class Allocation { Object, Scenario, Copy };

QSemaphore g_keyChosen;
QSemaphore g_goOn;
std::atomic<bool> g_pauseNext{false};
std::atomic<int> g_keyChoices{0};

// The first program to choose a key waits there until the test lets it go on.
void pauseOnce()
{
    ++g_keyChoices;
    if (g_pauseNext.exchange(false)) {
        g_keyChosen.release();
        g_goOn.acquire();
    }
}

qint16 allocate(Allocation what, qint16 obj, const QString& name)
{
    Connection c;
    switch (what) {
    case Allocation::Object:
        return CreateObject(c, name, 0).value_or(0);
    case Allocation::Copy:
        return CopyObject(c, obj, name, 0).value_or(0);
    case Allocation::Scenario:
        break;
    }
    ScenarioEntry e;
    e.name = name;
    e.risk = 1e-4;
    e.indicators[0] = 2;
    return SaveScenario(c, obj, 0, e);
}

QStringList namesOf(const QVector<StoredObject>& objects)
{
    QStringList out;
    for (const StoredObject& o : objects)
        out << o.name;
    return out;
}

} // namespace

Q_DECLARE_METATYPE(Allocation)

class tst_ServerDatabase : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_home = std::make_unique<testing::TestHome>(); }
    void cleanup()
    {
        SetKeyHook(nullptr);
        SetWriterLock(true);
        SetServerLogin({}, {});
        m_home.reset();
    }

    void keysChosenAtOnceStayDistinct_data()
    {
        QTest::addColumn<Allocation>("what");
        QTest::addColumn<bool>("lock");
        const std::pair<const char*, Allocation> kinds[] = {
            {"object", Allocation::Object}, {"scenario", Allocation::Scenario}, {"copy of an object", Allocation::Copy}};
        for (const auto& [name, what] : kinds) {
            QTest::newRow(name) << what << true;
            QTest::addRow("%s, without the writer lock", name) << what << false;
        }
    }

    void keysChosenAtOnceStayDistinct()
    {
        QFETCH(Allocation, what);
        QFETCH(bool, lock);
        const qint16 obj = testing::object("Склад", 10).scenario("С1", 2e-4).kills(3).id();
        { Connection schema; } // both programs find the tables made

        SetWriterLock(lock);
        SetKeyHook(pauseOnce);
        g_keyChoices = 0;
        g_pauseNext = true;
        qint16 first = 0;
        qint16 second = 0;
        std::atomic<int> failures{0};
        std::atomic<bool> secondDone{false};
        const auto program = [&](qint16& key, const QString& name) {
            try {
                key = allocate(what, obj, name);
            } catch (const DbError&) {
                ++failures;
            }
        };
        std::thread a([&] { program(first, QStringLiteral("А")); });
        QVERIFY(g_keyChosen.tryAcquire(1, 20000));
        std::thread b([&] {
            program(second, QStringLiteral("Б"));
            secondDone = true;
        });
        // The second program gets its chance to take the same key while the first one holds it unwritten;
        // without the lock it surely chooses one meanwhile.
        for (int i = 0; i < (lock ? 100 : 2000) && !secondDone && (lock || g_keyChoices < 2); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        g_goOn.release();
        a.join();
        b.join();

        if (!lock) {
            // What the lock prevents: both read the same free key; one of them is refused (the embedded
            // database's write lock, the server's unique key) and fails or chooses again.
            QVERIFY(failures > 0 || g_keyChoices > 2);
            return;
        }
        QCOMPARE(failures, 0);
        QCOMPARE(g_keyChoices, 2); // nobody had to choose again

        QVERIFY(first > 0);
        QVERIFY(second > 0);
        QVERIFY2(first != second, qPrintable(QStringLiteral("both got key %1").arg(first)));
        const QString table = what == Allocation::Scenario ? QStringLiteral("tabScen where Id_obj=%1").arg(obj)
                                                           : QStringLiteral("tabObjekt");
        QCOMPARE(testing::countRows("select * from " + table), 3);
    }

    void namesCompareWithoutCase_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<bool>("same");
        QTest::newRow("capitals") << "Склад" << "СКЛАД" << true;
        QTest::newRow("small letters") << "Склад ГСМ" << "склад гсм" << true;
        QTest::newRow("latin") << "Tank Farm" << "tank farm" << true;
        QTest::newRow("another name") << "Склад" << "Склады" << false;
        QTest::newRow("quote inside") << "Склад 'Север'" << "склад 'север'" << true;
    }

    void namesCompareWithoutCase()
    {
        QFETCH(QString, stored);
        QFETCH(QString, asked);
        QFETCH(bool, same);
        const qint16 id = testing::object(stored).id();
        Connection c;
        QCOMPARE(FindObjectByName(c, asked), same ? std::optional<qint16>(id) : std::nullopt);
    }

    void namesSortTheRussianWay()
    {
        for (const char* name : {"Резервуар 10", "резервуар 2", "Емкость 1", "Ёмкость", "Tank", "Агрегат"})
            testing::object(QString::fromUtf8(name));
        Connection c;
        QCOMPARE(namesOf(ListObjects(c)), QStringList({"Агрегат", "Ёмкость", "Емкость 1", "резервуар 2",
                                                       "Резервуар 10", "Tank"}));
    }

    void serverSchemaIsTheProgramsOwn_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("collation");
        QTest::newRow("object key") << "tabobjekt" << "id" << "smallint" << "";
        QTest::newRow("object name") << "tabobjekt" << "name" << "text" << "ru_ci";
        QTest::newRow("scenario name") << "tabscen" << "name" << "text" << "ru_ci";
        QTest::newRow("frequency") << "tabscen" << "risk" << "double precision" << "";
        QTest::newRow("indicator") << "tabrisk" << "number" << "double precision" << "";
        QTest::newRow("people counts") << "tabnumber" << "name" << "text" << "ru_ci";
    }

    void serverSchemaIsTheProgramsOwn()
    {
        if (!testing::onServer())
            QSKIP("needs the test server");
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(QString, type);
        QFETCH(QString, collation);
        Connection c;
        QVERIFY(c.isPostgres());
        const auto rows = c.select(QStringLiteral("SELECT data_type, coalesce(collation_name, '') AS coll FROM "
                                                  "information_schema.columns WHERE table_name='%1' AND "
                                                  "column_name='%2'").arg(table, column));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(FieldText(rows.first(), "data_type"), type);
        QCOMPARE(FieldText(rows.first(), "coll"), collation);
    }

    // The server keeps the relations itself: no second object under a key, no scenario without its object.
    void serverRefusesBrokenRelations_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::newRow("second object under a key") << "INSERT INTO tabObjekt (Id, Name) VALUES (1, 'Другой')";
        QTest::newRow("scenario of no object") << "INSERT INTO tabScen (Id_obj, Id, Name, Risk) VALUES (7, 1, 'С', 1)";
        QTest::newRow("indicator of no scenario")
            << "INSERT INTO tabRisk (Id_obj, Id_scen, Id_por, Number) VALUES (1, 9, 0, 1)";
        QTest::newRow("second indicator of a kind")
            << "INSERT INTO tabRisk (Id_obj, Id_scen, Id_por, Number) VALUES (1, 1, 0, 5)";
    }

    void serverRefusesBrokenRelations()
    {
        if (!testing::onServer())
            QSKIP("needs the test server");
        QFETCH(QString, statement);
        testing::object("Склад").scenario("С1", 1e-4).kills(3);
        Connection c;
        QVERIFY_THROWS_EXCEPTION(DbError, c.exec(statement));
    }

    void deletingAnObjectTakesItsRowsOnTheServerToo()
    {
        const qint16 keep = testing::object("Оставить").scenario("С1", 1e-4).kills(1).id();
        const qint16 gone = testing::object("Удалить").scenario("С1", 1e-4).kills(2).severe(1).id();
        Connection c;
        DeleteObject(c, gone);
        QCOMPARE(testing::countRows("select * from tabScen"), 1);
        QCOMPARE(testing::countRows(QStringLiteral("select * from tabRisk where Id_obj=%1").arg(keep)), 1);
        QCOMPARE(testing::countRows("select * from tabRisk"), 1);
    }

    void existingTablesAreUsedAsTheyAre()
    {
        if (!testing::onServer())
            QSKIP("needs the test server");
        {
            Connection c;
            c.exec(QStringLiteral("DROP TABLE tabRisk"));
            c.exec(QStringLiteral("CREATE TABLE tabRisk (Id_obj INTEGER, Id_scen INTEGER, Id_por INTEGER, "
                                  "Number NUMERIC, Note TEXT)"));
        }
        Connection c;
        const auto rows = c.select(QStringLiteral("SELECT count(*) AS n FROM information_schema.columns WHERE "
                                                  "table_name='tabrisk' AND column_name='note'"));
        QCOMPARE(FieldInt16(rows.first(), "n"), qint16(1));
    }

    void loginComesFromTheDataSource_data()
    {
        QTest::addColumn<QString>("nameField");
        QTest::addColumn<QString>("typedUser");
        QTest::addColumn<bool>("connects");
        const QString user = qEnvironmentVariable("ZARNEL_TEST_PG_USER");
        const QString password = qEnvironmentVariable("ZARNEL_TEST_PG_PASSWORD");
        const QString bare = qEnvironmentVariable("ZARNEL_TEST_PG_DSN_NOLOGIN");
        QTest::newRow("odbc.ini login") << qEnvironmentVariable("ZARNEL_TEST_PG_DSN") << "" << true;
        QTest::newRow("no login anywhere") << bare << "" << false;
        QTest::newRow("UID and PWD in the name") << bare + ";UID=" + user + ";PWD=" + password << "" << true;
        QTest::newRow("wrong password in the name") << bare + ";UID=" + user + ";PWD=x" << "" << false;
        QTest::newRow("typed at the refusal") << bare << user << true;
    }

    void loginComesFromTheDataSource()
    {
        if (!testing::onServer())
            QSKIP("needs the test server");
        QFETCH(QString, nameField);
        QFETCH(QString, typedUser);
        QFETCH(bool, connects);
        if (!typedUser.isEmpty())
            SetServerLogin(typedUser, qEnvironmentVariable("ZARNEL_TEST_PG_PASSWORD"));
        try {
            Connection c(ReadWriteConnectionString(nameField));
            QVERIFY(connects);
        } catch (const DbError& e) {
            QVERIFY2(!connects, qPrintable(e.message));
            QCOMPARE(e.cause, DbFailure::Access);
        }
    }

    // The program connects per handler: a connection the server cut fails in words of its own, and the next
    // one works again.
    void nextConnectionWorksAfterTheServerCutOne()
    {
        if (!testing::onServer())
            QSKIP("needs the test server");
        testing::object("Склад", 10);
        Connection cut;
        const QVariant pid = cut.select("select pg_backend_pid()").first().value(0);
        {
            Connection admin;
            QVERIFY(admin.select("select pg_terminate_backend(?)", {pid}).first().value(0).toBool());
        }
        try {
            ListObjects(cut);
            QFAIL("a cut connection went on");
        } catch (const DbError& e) {
            QCOMPARE(e.cause, DbFailure::Unreachable);
            QVERIFY2(ServerFailureText(e.cause, e.serverText).contains("сервер недоступен"), qPrintable(e.message));
        }
        Connection again;
        QCOMPARE(namesOf(ListObjects(again)), QStringList{"Склад"});
    }

private:
    std::unique_ptr<testing::TestHome> m_home;
};

QTEST_GUILESS_MAIN(tst_ServerDatabase)
#include "tst_ServerDatabase.moc"

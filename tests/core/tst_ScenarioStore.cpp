// Scenario and indicator changes: kind 4 follows severe + light, every change is all or nothing.

#include "core/TestHome.h"

#include "core/ScenarioStore.h"

#include <QTest>

using namespace zarnel;
using testing::countRows;
using testing::dumpTable;

namespace {


// "0=3 2=1" -> ticked kinds of an entry.
ScenarioEntry entryWith(const QString& name, const QString& ticks)
{
    ScenarioEntry e;
    e.name = name;
    e.risk = 1e-4;
    for (const QString& p : ticks.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList kv = p.split(QLatin1Char('='));
        e.indicators[size_t(kv[0].toInt())] = kv[1].toDouble();
    }
    return e;
}

int g_insertsBeforeFailure = -1;
void failAfterInserts(const QString& sql)
{
    if (!sql.startsWith(QLatin1String("INSERT")))
        return;
    if (g_insertsBeforeFailure-- == 0)
        throw DbError(QStringLiteral("сбой записи"), sql);
}

} // namespace

class tst_ScenarioStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_home = std::make_unique<testing::TestHome>(); }
    void cleanup()
    {
        SetExecHook(nullptr);
        m_home.reset();
    }

    void newScenarioGetsSmallestFreeKeyAndSanitarySum()
    {
        auto obj = testing::object("Склад").scenario("С1", 1e-3).scenario("С2", 1e-3).scenario("С3", 1e-3);
        Connection c;
        DeleteScenario(c, obj.id(), 2);

        ScenarioEntry e = entryWith("С4", "0=3 1=2 2=5 3=0.5");
        e.title = "Пожар";
        e.risk = 2.5e-5;
        QCOMPARE(SaveScenario(c, obj.id(), 0, e), qint16(2));

        const auto row = FindScenario(c, obj.id(), 2);
        QVERIFY(row);
        QCOMPARE(row->name, QStringLiteral("С4"));
        QCOMPARE(row->title, QStringLiteral("Пожар"));
        QVERIFY(testing::fuzzyEqual(row->risk, 2.5e-5));
        QCOMPARE(testing::indicatorsOf(obj.id(), 2), QStringLiteral("0=3 1=2 2=5 3=0.5 4=7"));
    }

    void changingTicksKeepsSanitaryInStep_data()
    {
        QTest::addColumn<QString>("before"); // entry as first stored
        QTest::addColumn<QString>("after");  // entry as stored again
        QTest::addColumn<QString>("expected");
        QTest::newRow("untick severe") << "0=1 1=2 2=3"
                                       << "0=1 2=3"
                                       << "0=1 2=3 4=3";
        QTest::newRow("untick both injuries") << "1=2 2=3"
                                              << "0=4"
                                              << "0=4";
        QTest::newRow("tick light later") << "0=1"
                                          << "0=1 2=6"
                                          << "0=1 2=6 4=6";
        QTest::newRow("change severe") << "1=2 2=3"
                                       << "1=10 2=3"
                                       << "1=10 2=3 4=13";
        QTest::newRow("untick damage only") << "1=1 3=0.25"
                                            << "1=1"
                                            << "1=1 4=1";
        QTest::newRow("nothing ticked") << "0=1 1=1 2=1 3=1"
                                        << ""
                                        << "";
    }
    void changingTicksKeepsSanitaryInStep()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QString, expected);
        auto obj = testing::object("Склад");
        Connection c;
        const qint16 id = SaveScenario(c, obj.id(), 0, entryWith("С1", before));
        QCOMPARE(SaveScenario(c, obj.id(), id, entryWith("С1", after)), id);
        QCOMPARE(testing::indicatorsOf(obj.id(), id), expected);
        QCOMPARE(countRows("select * from tabScen"), 1);
    }

    void duplicateClassificationNumberIsRefused_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("same text") << "С1";
        QTest::newRow("other letter case, Cyrillic") << "с1";
    }
    void duplicateClassificationNumberIsRefused()
    {
        QFETCH(QString, typed);
        auto obj = testing::object("Склад").scenario("С1", 1e-3).kills(1);
        auto other = testing::object("Цех");
        const QStringList scenBefore = dumpTable("tabScen");
        const QStringList riskBefore = dumpTable("tabRisk");
        Connection c;

        QCOMPARE(SaveScenario(c, obj.id(), 0, entryWith(typed, "0=9 1=9")), qint16(0));
        QCOMPARE(dumpTable("tabScen"), scenBefore);
        QCOMPARE(dumpTable("tabRisk"), riskBefore);

        QVERIFY(ScenarioNameTaken(c, obj.id(), typed));
        QVERIFY(!ScenarioNameTaken(c, obj.id(), typed, obj.lastScenario())); // its own number when changed
        QVERIFY(SaveScenario(c, obj.id(), obj.lastScenario(), entryWith(typed, "0=2")) != 0);
        QVERIFY(SaveScenario(c, other.id(), 0, entryWith(typed, "")) != 0); // other objects are separate
    }

    void changingAMissingScenarioFails()
    {
        auto obj = testing::object("Склад");
        Connection c;
        QVERIFY_THROWS_EXCEPTION(DbError, SaveScenario(c, obj.id(), 7, entryWith("С1", "0=1")));
        QCOMPARE(countRows("select * from tabRisk"), 0);
    }

    void failureHalfWayWritesNothing_data()
    {
        QTest::addColumn<int>("insertsBeforeFailure");
        QTest::newRow("scenario row") << 0;
        QTest::newRow("second indicator") << 2;
        QTest::newRow("sanitary row") << 3;
    }
    void failureHalfWayWritesNothing()
    {
        QFETCH(int, insertsBeforeFailure);
        auto obj = testing::object("Склад");
        Connection c;
        g_insertsBeforeFailure = insertsBeforeFailure;
        SetExecHook(failAfterInserts);
        QVERIFY_THROWS_EXCEPTION(DbError, SaveScenario(c, obj.id(), 0, entryWith("С1", "0=1 1=2")));
        SetExecHook(nullptr);
        QCOMPARE(countRows("select * from tabScen"), 0);
        QCOMPARE(countRows("select * from tabRisk"), 0);
    }

    void setIndicatorAddsOrChanges_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        // The scenario starts with severe 2 and sanitary 2.
        QTest::newRow("add light") << 2 << 3.0 << "1=2 2=3 4=5";
        QTest::newRow("change severe") << 1 << 4.0 << "1=4 4=4";
        QTest::newRow("add fatalities") << 0 << 1.0 << "0=1 1=2 4=2";
        QTest::newRow("add damage") << 3 << 0.125 << "1=2 3=0.125 4=2";
    }
    void setIndicatorAddsOrChanges()
    {
        QFETCH(int, kind);
        QFETCH(double, value);
        QFETCH(QString, expected);
        auto obj = testing::object("Склад").scenario("С1", 1e-3).severe(2).sanitary(2);
        Connection c;
        SetIndicator(c, obj.id(), obj.lastScenario(), kind, value);
        QCOMPARE(testing::indicatorsOf(obj.id(), obj.lastScenario()), expected);
    }

    void setIndicatorCreatesMissingSanitaryRow()
    {
        auto obj = testing::object("Склад").scenario("С1", 1e-3).severe(2); // no kind-4 row yet
        Connection c;
        SetIndicator(c, obj.id(), obj.lastScenario(), 2, 1);
        QCOMPARE(testing::indicatorsOf(obj.id(), obj.lastScenario()), QStringLiteral("1=2 2=1 4=3"));
    }

    void clearIndicator_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("expected");
        QTest::newRow("severe, light 3 left") << "1=2 2=3 4=5" << 1 << "2=3 4=3";
        QTest::newRow("severe, no light") << "0=1 1=2 4=2" << 1 << "0=1";
        QTest::newRow("light, severe 4 left") << "1=4 2=1 4=5" << 2 << "1=4 4=4";
        QTest::newRow("light, severe 0 left") << "1=0 2=1 4=1" << 2 << "1=0";
        QTest::newRow("severe, no kind-4 row yet") << "1=2 2=3" << 1 << "2=3 4=3";
        QTest::newRow("fatalities leave kind 4") << "0=1 1=2 4=7" << 0 << "1=2 4=7";
        QTest::newRow("damage leaves kind 4") << "1=2 3=0.5 4=2" << 3 << "1=2 4=2";
    }
    void clearIndicator()
    {
        QFETCH(QString, before);
        QFETCH(int, kind);
        QFETCH(QString, expected);
        auto obj = testing::object("Склад").scenario("С1", 1e-3);
        for (const QString& p : before.split(QLatin1Char(' ')))
            obj.indicator(p.section('=', 0, 0).toInt(), p.section('=', 1).toDouble());
        auto other = testing::object("Цех").scenario("С1", 1e-3).severe(2).light(3).sanitary(5);
        Connection c;
        ClearIndicator(c, obj.id(), obj.lastScenario(), kind);
        QCOMPARE(testing::indicatorsOf(obj.id(), obj.lastScenario()), expected);
        QCOMPARE(testing::indicatorsOf(other.id(), other.lastScenario()), QStringLiteral("1=2 2=3 4=5"));
    }

    void clearKindLeavesSanitaryAndOtherObjects()
    {
        auto obj = testing::object("Склад")
                       .scenario("С1", 1e-3)
                       .severe(2)
                       .light(3)
                       .sanitary(5)
                       .scenario("С2", 1e-3)
                       .kills(1)
                       .severe(1)
                       .sanitary(1);
        auto other = testing::object("Цех").scenario("С1", 1e-3).severe(2);
        Connection c;
        ClearKind(c, obj.id(), 1);
        QCOMPARE(testing::indicatorsOf(obj.id(), 1), QStringLiteral("2=3 4=5"));
        QCOMPARE(testing::indicatorsOf(obj.id(), 2), QStringLiteral("0=1 4=1"));
        QCOMPARE(testing::indicatorsOf(other.id(), 1), QStringLiteral("1=2"));
    }

    void deleteScenarioRemovesEveryKind()
    {
        auto obj = testing::object("Склад")
                       .scenario("С1", 1e-3)
                       .kills(1)
                       .severe(2)
                       .light(3)
                       .damage(0.5)
                       .sanitary(5)
                       .scenario("С2", 1e-3)
                       .kills(4);
        auto other = testing::object("Цех").scenario("С1", 1e-3).kills(1);
        Connection c;
        DeleteScenario(c, obj.id(), 1);
        QVERIFY(!FindScenario(c, obj.id(), 1));
        QCOMPARE(countRows("select * from tabRisk where Id_obj=1 and Id_scen=1"), 0);
        QCOMPARE(testing::indicatorsOf(obj.id(), 2), QStringLiteral("0=4"));
        QCOMPARE(testing::indicatorsOf(other.id(), 1), QStringLiteral("0=1"));
    }

    void findByNameIsSafeAndCaseInsensitive_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("looked");
        QTest::addColumn<bool>("found");
        QTest::newRow("apostrophe") << "С'1"
                                    << "С'1" << true;
        QTest::newRow("injection text stays a name") << "x' or '1'='1"
                                                     << "x' or '1'='1" << true;
        QTest::newRow("injection does not match others") << "С1"
                                                         << "x' or '1'='1" << false;
        QTest::newRow("letter case") << "Авария-А"
                                     << "авария-а" << true;
    }
    void findByNameIsSafeAndCaseInsensitive()
    {
        QFETCH(QString, stored);
        QFETCH(QString, looked);
        QFETCH(bool, found);
        auto obj = testing::object("Склад").scenario(stored, 1e-3, "заголовок");
        Connection c;
        const auto row = FindScenarioByName(c, obj.id(), looked);
        QCOMPARE(bool(row), found);
        if (row) {
            QCOMPARE(row->name, stored);
            QCOMPARE(row->title, QStringLiteral("заголовок"));
        }
    }

private:
    std::unique_ptr<testing::TestHome> m_home;
};

QTEST_GUILESS_MAIN(tst_ScenarioStore)
#include "tst_ScenarioStore.moc"

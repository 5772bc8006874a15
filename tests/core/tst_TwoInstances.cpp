// Two program instances on one database: a change based on rows someone else changed or deleted since they were
// read is refused and writes nothing; a change based on current rows goes through.

#include "core/TestHome.h"

#include "core/ObjectStore.h"
#include "core/ScenarioStore.h"

#include <QTest>

using namespace zarnel;
using testing::dumpTable;

namespace {

// What instance A does after instance B has read the object.
enum class Other { Nothing, ChangeFrequency, ChangeKills, ChangeOtherKills, AddScenario, DeleteScenario, ChangePeople,
                   DeleteObject };
// What instance B then tries with what it read.
enum class Attempt { SaveScenario, NewScenario, DeleteScenario, SetIndicator, ClearIndicator, ClearKind,
                     ChangeObject, CopyObject };

QStringList dumpAll()
{
    return dumpTable("tabObjekt") + dumpTable("tabScen") + dumpTable("tabRisk");
}

ScenarioEntry entryOf(const ScenarioSnapshot& s, double risk)
{
    ScenarioEntry e;
    e.name = s.row.name;
    e.title = s.row.title;
    e.risk = risk;
    e.indicators = s.indicators;
    return e;
}

ScenarioEntry killsEntry(const QString& name, double risk, double kills)
{
    ScenarioEntry e;
    e.name = name;
    e.risk = risk;
    e.indicators[0] = kills;
    return e;
}

} // namespace

Q_DECLARE_METATYPE(Other)
Q_DECLARE_METATYPE(Attempt)

class tst_TwoInstances : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_home = std::make_unique<testing::TestHome>(); }
    void cleanup() { m_home.reset(); }

    void staleChangeIsRefused_data()
    {
        QTest::addColumn<Other>("other");
        QTest::addColumn<Attempt>("attempt");
        QTest::addColumn<int>("refusal"); // a DbFailure, or -1 when the change goes through

        const int passes = -1;
        const auto row = [](const char* name, Other o, Attempt a, int r) {
            QTest::newRow(name) << o << a << r;
        };
        row("fresh save", Other::Nothing, Attempt::SaveScenario, passes);
        row("fresh new scenario", Other::Nothing, Attempt::NewScenario, passes);
        row("fresh delete", Other::Nothing, Attempt::DeleteScenario, passes);
        row("fresh indicator", Other::Nothing, Attempt::SetIndicator, passes);
        row("fresh clear", Other::Nothing, Attempt::ClearIndicator, passes);
        row("fresh clear of a kind", Other::Nothing, Attempt::ClearKind, passes);
        row("fresh rename", Other::Nothing, Attempt::ChangeObject, passes);
        row("fresh copy", Other::Nothing, Attempt::CopyObject, passes);
        row("another scenario's change does not block an indicator", Other::ChangeOtherKills,
            Attempt::SetIndicator, passes);

        const int changed = int(DbFailure::ScenarioChanged);
        const int scenarioGone = int(DbFailure::ScenarioGone);
        const int objectGone = int(DbFailure::ObjectGone);
        row("stale save puts its own frequency over the other's", Other::ChangeFrequency, Attempt::SaveScenario, changed);
        row("stale save over changed kills", Other::ChangeKills, Attempt::SaveScenario, changed);
        row("save of a deleted scenario", Other::DeleteScenario, Attempt::SaveScenario, scenarioGone);
        row("new scenario into a deleted object", Other::DeleteObject, Attempt::NewScenario, objectGone);
        row("save into a deleted object", Other::DeleteObject, Attempt::SaveScenario, objectGone);
        row("delete of a changed scenario", Other::ChangeFrequency, Attempt::DeleteScenario, changed);
        row("delete of a deleted scenario", Other::DeleteScenario, Attempt::DeleteScenario, scenarioGone);
        row("stale indicator", Other::ChangeKills, Attempt::SetIndicator, changed);
        row("indicator of a deleted scenario", Other::DeleteScenario, Attempt::SetIndicator, scenarioGone);
        row("indicator into a deleted object", Other::DeleteObject, Attempt::SetIndicator, objectGone);
        row("stale clear", Other::ChangeKills, Attempt::ClearIndicator, changed);
        row("clear of a kind another changed", Other::ChangeOtherKills, Attempt::ClearKind, changed);
        row("clear of a kind another added to", Other::AddScenario, Attempt::ClearKind, changed);
        row("clear of a kind of a deleted object", Other::DeleteObject, Attempt::ClearKind, objectGone);
        row("stale rename", Other::ChangePeople, Attempt::ChangeObject, int(DbFailure::ObjectChanged));
        row("rename of a deleted object", Other::DeleteObject, Attempt::ChangeObject, objectGone);
        row("copy of a deleted object", Other::DeleteObject, Attempt::CopyObject, objectGone);
    }

    void staleChangeIsRefused()
    {
        QFETCH(Other, other);
        QFETCH(Attempt, attempt);
        QFETCH(int, refusal);

        const qint16 obj = testing::object("Склад", 10)
                               .scenario("С1", 2e-4)
                               .kills(3)
                               .severe(2)
                               .light(1)
                               .sanitary(3)
                               .scenario("С2", 1e-3)
                               .kills(1)
                               .id();
        Connection a;
        Connection b;

        // B reads what its windows show.
        const StoredObject objectRead = *FindObject(b, obj);
        const ScenarioSnapshot scenarioRead = *ReadScenarioSnapshot(b, obj, 1);
        const ShownIndicator killsShown{ReadIndicator(b, obj, 1, 0)};
        const QVector<ShownKindRow> kindShown{{1, 3}, {2, 1}};

        // A changes the database meanwhile.
        switch (other) {
        case Other::Nothing:
            break;
        case Other::ChangeFrequency:
            SaveScenario(a, obj, 1, entryOf(scenarioRead, 5e-4), scenarioRead);
            break;
        case Other::ChangeKills:
            SetIndicator(a, obj, 1, 0, 5);
            break;
        case Other::ChangeOtherKills:
            SetIndicator(a, obj, 2, 0, 4);
            break;
        case Other::AddScenario:
            SaveScenario(a, obj, 0, killsEntry("С3", 1e-5, 2));
            break;
        case Other::DeleteScenario:
            DeleteScenario(a, obj, 1);
            break;
        case Other::ChangePeople:
            ChangeObject(a, objectRead, objectRead.name, 20);
            break;
        case Other::DeleteObject:
            DeleteObject(a, obj);
            break;
        }
        const QStringList afterOther = dumpAll();

        const auto tryAttempt = [&] {
            switch (attempt) {
            case Attempt::SaveScenario:
                SaveScenario(b, obj, 1, entryOf(scenarioRead, 3e-4), scenarioRead);
                break;
            case Attempt::NewScenario:
                SaveScenario(b, obj, 0, killsEntry("С9", 1e-6, 1));
                break;
            case Attempt::DeleteScenario:
                DeleteScenario(b, obj, 1, scenarioRead);
                break;
            case Attempt::SetIndicator:
                SetIndicator(b, obj, 1, 0, 9, killsShown);
                break;
            case Attempt::ClearIndicator:
                ClearIndicator(b, obj, 1, 0, killsShown);
                break;
            case Attempt::ClearKind:
                ClearKind(b, obj, 0, kindShown);
                break;
            case Attempt::ChangeObject:
                ChangeObject(b, objectRead, "Цех", 7);
                break;
            case Attempt::CopyObject:
                CopyObject(b, obj, "Копия", 7);
                break;
            }
        };

        if (refusal < 0) {
            tryAttempt();
            QVERIFY(dumpAll() != afterOther);
            return;
        }
        try {
            tryAttempt();
            QFAIL("the stale change was stored");
        } catch (const DbError& e) {
            QCOMPARE(int(e.cause), refusal);
        }
        QCOMPARE(dumpAll(), afterOther);

        // Nothing waits under a deleted key for the next object that gets it.
        if (other == Other::DeleteObject) {
            QCOMPARE(CreateObject(a, "Цех", 7), std::optional<qint16>(obj));
            QCOMPARE(testing::countRows("select * from tabScen"), 0);
            QCOMPARE(testing::countRows("select * from tabRisk"), 0);
        }
    }

    void refusedSaveCanBeRepeatedOnTheCurrentRow()
    {
        // After the refusal the window reads again; saving the user's values then overwrites knowingly.
        const qint16 obj = testing::object("Склад").scenario("С1", 2e-4).kills(3).id();
        Connection a;
        Connection b;
        const ScenarioSnapshot read = *ReadScenarioSnapshot(b, obj, 1);
        SaveScenario(a, obj, 1, entryOf(read, 5e-4), read);
        QVERIFY_THROWS_EXCEPTION(DbError, SaveScenario(b, obj, 1, entryOf(read, 2e-4), read));
        const ScenarioSnapshot again = *ReadScenarioSnapshot(b, obj, 1);
        QCOMPARE(again.row.risk, 5e-4);
        SaveScenario(b, obj, 1, entryOf(read, 2e-4), again);
        QCOMPARE(ReadScenarioSnapshot(a, obj, 1)->row.risk, 2e-4);
    }

private:
    std::unique_ptr<testing::TestHome> m_home;
};

QTEST_GUILESS_MAIN(tst_TwoInstances)
#include "tst_TwoInstances.moc"

// What a scenario entry may store: the bounds of every number, the order of the refusals, and the stores
// refusing what the check refuses.

#include "core/TestHome.h"

#include "core/Formats.h"
#include "core/Limits.h"
#include "core/ScenarioStore.h"

#include <QTest>
#include <limits>
#include <stdexcept>

using namespace zarnel;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

ScenarioEntry soundEntry()
{
    ScenarioEntry e;
    e.name = QStringLiteral("С1");
    e.risk = 1e-4;
    e.indicators = {3.0, 2.0, 1.0, 0.5};
    return e;
}

const QString kFrequency = QStringLiteral("Частота события должна быть от 1,000E-50 до 1000000 событий в год!");
const QString kDamage = QStringLiteral("Ущерб должен быть числом от 0 до 1000000000 млн. руб.!");

QString peopleMessage(const char* kind)
{
    return QStringLiteral("Число людей (") + QString::fromUtf8(kind) +
           QStringLiteral(") должно быть целым числом от 0 до 1000000!");
}

} // namespace

class tst_ScenarioEntryRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { SetRussianLocale(); }

    void indicatorBounds_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("message"); // empty: accepted
        // clang-format off
        QTest::newRow("no one") << 0 << 0.0 << "";
        QTest::newRow("a million people") << 1 << 1e6 << "";
        QTest::newRow("one more") << 2 << 1e6 + 1 << peopleMessage("легкие поражения, чел.");
        QTest::newRow("a fraction of a person") << 0 << 2.5 << peopleMessage("гибель, чел.");
        QTest::newRow("negative people") << 1 << -1.0 << peopleMessage("тяжелые поражения, чел.");
        QTest::newRow("people 1e308") << 2 << 1e308 << peopleMessage("легкие поражения, чел.");
        QTest::newRow("people infinite") << 0 << kInf << peopleMessage("гибель, чел.");
        QTest::newRow("people not a number") << 0 << kNaN << peopleMessage("гибель, чел.");
        QTest::newRow("no damage") << 3 << 0.0 << "";
        QTest::newRow("damage a thousandth") << 3 << 0.001 << "";
        QTest::newRow("largest damage") << 3 << kMaxDamage << "";
        QTest::newRow("damage above it") << 3 << kMaxDamage * 1.000001 << kDamage;
        QTest::newRow("negative damage") << 3 << -0.001 << kDamage;
        QTest::newRow("damage infinite") << 3 << kInf << kDamage;
        QTest::newRow("damage not a number") << 3 << kNaN << kDamage;
        // clang-format on
    }
    void indicatorBounds()
    {
        QFETCH(int, kind);
        QFETCH(double, value);
        QFETCH(QString, message);
        QCOMPARE(CheckIndicatorValue(kind, value).value_or(QString()), message);

        ScenarioEntry e = soundEntry();
        e.indicators[size_t(kind)] = value;
        const auto problem = ValidateScenarioEntry(e);
        QCOMPARE(problem.has_value(), !message.isEmpty());
        if (problem) {
            QCOMPARE(problem->field, EntryProblem::Indicator);
            QCOMPARE(problem->kind, kind);
            QCOMPARE(problem->message, message);
        }
    }

    void frequencyBounds_data()
    {
        QTest::addColumn<double>("risk");
        QTest::addColumn<bool>("accepted");
        // clang-format off
        QTest::newRow("1E-50") << 1e-50 << true;
        QTest::newRow("1 / 10^50, an ulp below") << 1.0 / 1e50 << true;
        QTest::newRow("0,5 E-50") << 0.5 / 1e50 << false;
        QTest::newRow("underflow to 0") << 1e-300 / 1e50 << false;
        QTest::newRow("a million a year") << 1e6 << true;
        QTest::newRow("above") << 1e6 * 1.000001 << false;
        QTest::newRow("negative") << -1e-4 << false;
        QTest::newRow("infinite") << kInf << false;
        QTest::newRow("not a number") << kNaN << false;
        // clang-format on
    }
    void frequencyBounds()
    {
        QFETCH(double, risk);
        QFETCH(bool, accepted);
        ScenarioEntry e = soundEntry();
        e.risk = risk;
        const auto problem = ValidateScenarioEntry(e);
        QCOMPARE(!problem, accepted);
        if (problem) {
            QCOMPARE(problem->field, EntryProblem::Frequency);
            QCOMPARE(problem->message, kFrequency);
        }
    }

    void firstProblemIsReported()
    {
        ScenarioEntry e = soundEntry();
        e.name = QStringLiteral("  ");
        e.risk = 0;
        e.indicators = {-1.0, std::nullopt, 0.5, kNaN};
        QCOMPARE(ValidateScenarioEntry(e)->field, EntryProblem::Name);
        QCOMPARE(ValidateScenarioEntry(e)->message, QStringLiteral("Не введен классификационный номер сценария!"));
        e.name = QStringLiteral("С1");
        QCOMPARE(ValidateScenarioEntry(e)->field, EntryProblem::Frequency);
        e.risk = 1e-3;
        QCOMPARE(ValidateScenarioEntry(e)->kind, 0);
        e.indicators[0] = 1.0;
        QCOMPARE(ValidateScenarioEntry(e)->kind, 2); // a kind left unticked is not checked
        e.indicators[2] = 1.0;
        QCOMPARE(ValidateScenarioEntry(e)->kind, 3);
        e.indicators[3] = std::nullopt;
        QVERIFY(!ValidateScenarioEntry(e));
    }

    void storesRefuseWhatTheCheckRefuses()
    {
        testing::TestHome home;
        auto obj = testing::object("Склад").scenario("С1", 1e-4).kills(1);
        const QStringList before = testing::dumpTable("tabScen") + testing::dumpTable("tabRisk");
        Connection c;
        ScenarioEntry e = soundEntry();
        e.name = QStringLiteral("С2");
        e.indicators[1] = 1e308;
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, SaveScenario(c, obj.id(), 0, e));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, SetIndicator(c, obj.id(), obj.lastScenario(), 1, 1e308));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, SetIndicator(c, obj.id(), obj.lastScenario(), 3, -1));
        QCOMPARE(testing::dumpTable("tabScen") + testing::dumpTable("tabRisk"), before);
    }

    void frequencyAtTheBoundIsStoredWithin()
    {
        testing::TestHome home;
        auto obj = testing::object("Склад");
        Connection c;
        ScenarioEntry e = soundEntry();
        e.risk = 1.0 / 1e50; // as the editor computes 1,000 E-50
        const qint16 id = SaveScenario(c, obj.id(), 0, e);
        QVERIFY(id != 0);
        const auto row = FindScenario(c, obj.id(), id);
        QVERIFY(row);
        QCOMPARE(row->risk, kMinFrequency);
        // Sanitary losses of a million severe and a million light injuries stay within their bound.
        e.indicators = {0.0, kMaxPeople, kMaxPeople, std::nullopt};
        QCOMPARE(SaveScenario(c, obj.id(), id, e), id);
        QCOMPARE(ReadIndicator(c, obj.id(), id, 4).value_or(0), kMaxSanitary);
    }
};

QTEST_GUILESS_MAIN(tst_ScenarioEntryRules)
#include "tst_ScenarioEntryRules.moc"

// Verdicts of a kind's curve against criterion lines, on hand-computed cases.

#include "core/Formats.h"
#include "core/TestHome.h"
#include "risk/Criteria.h"
#include "risk/Distribution.h"

#include <QTest>

using namespace zarnel;

namespace {

using Pairs = QVector<QPointF>; // (value, frequency) of indicator rows, largest value first

QVector<CurvePoint> Curve(int kind, const Pairs& pairs)
{
    QVector<IndicatorRow> rows;
    for (const QPointF& p : pairs)
        rows.append({p.x(), {QStringLiteral("С"), p.y()}});
    KindResult r;
    r.kind = kind;
    Accumulate(r, rows);
    return AtLeastCurve(r);
}

CriterionLine Line(double c, double alpha, double n1, std::optional<double> n2 = {})
{
    CriterionLine l;
    l.name = QStringLiteral("Линия");
    l.c = c;
    l.alpha = alpha;
    l.n1 = n1;
    l.n2 = n2;
    return l;
}

} // namespace

class CriteriaTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { SetRussianLocale(); }

    void atLeastCurveAscends()
    {
        const QVector<CurvePoint> c = Curve(KindFatalities, {{10, 1e-4}, {3, 2e-4}, {3, 1e-4}, {1, 1e-3}});
        QCOMPARE(c.size(), 3);
        QCOMPARE(c[0].value, 1.0);
        QVERIFY(testing::fuzzyEqual(c[0].atLeast, 1.4e-3));
        QCOMPARE(c[1].value, 3.0);
        QVERIFY(testing::fuzzyEqual(c[1].atLeast, 4e-4));
        QCOMPARE(c[2].value, 10.0);
        QVERIFY(testing::fuzzyEqual(c[2].atLeast, 1e-4));
    }

    void verdicts_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<Pairs>("rows");
        QTest::addColumn<double>("c");
        QTest::addColumn<double>("alpha");
        QTest::addColumn<double>("n1");
        QTest::addColumn<double>("n2"); // 0: no upper end
        QTest::addColumn<QString>("sentence");

        const QString ok = QStringLiteral("Критерий «Линия»: F/n диаграмма не выходит за линию критерия.");
        // F(n) = 2E-4 for n = 1..3; the line 1E-3/n² falls below it at n = 3 only.
        QTest::newRow("one step crosses at its end")
            << 0 << Pairs{{3, 2e-4}} << 1e-3 << 2.0 << 1.0 << 0.0
            << QStringLiteral("Критерий «Линия»: превышение при n от 3 до 3, наибольшее — в 1,8 раза при n = 3.");
        // One data point at 10: the step runs from n = 1 and crosses the line between data points, at n = 4.
        QTest::newRow("crossing between data points")
            << 0 << Pairs{{10, 1e-4}} << 1e-3 << 2.0 << 1.0 << 0.0
            << QStringLiteral("Критерий «Линия»: превышение при n от 4 до 10, наибольшее — в 10 раза при n = 10.");
        QTest::newRow("upper end of the range")
            << 0 << Pairs{{10, 1e-4}} << 1e-3 << 2.0 << 1.0 << 5.0
            << QStringLiteral("Критерий «Линия»: превышение при n от 4 до 5, наибольшее — в 2,5 раза при n = 5.");
        // F(1) = 1,018E-3 just above the line; F(2..10) = 1,8E-5 crosses 1E-3/n² between n = 7 and 8.
        QTest::newRow("disjoint ranges")
            << 0 << Pairs{{10, 1.8e-5}, {1, 1e-3}} << 1e-3 << 2.0 << 1.0 << 0.0
            << QStringLiteral("Критерий «Линия»: превышение при n от 1 до 1, от 8 до 10, наибольшее — в 1,8 раза "
                              "при n = 10.");
        QTest::newRow("range starts above the data") << 0 << Pairs{{5, 1e-2}} << 1e-3 << 2.0 << 10.0 << 0.0 << ok;
        QTest::newRow("single point exceeded")
            << 1 << Pairs{{60, 3e-4}} << 2e-4 << 0.0 << 50.0 << 50.0
            << QStringLiteral("Критерий «Линия»: превышение при n от 50 до 50, наибольшее — в 1,5 раза при n = 50.");
        QTest::newRow("single point above the data") << 0 << Pairs{{40, 1e-2}} << 2e-4 << 0.0 << 50.0 << 50.0 << ok;
        // A flat line: the ratio is the same along a step, so the smallest n of the largest ratio is its start.
        QTest::newRow("flat line, smallest n of the largest ratio")
            << 0 << Pairs{{4, 1e-4}, {2, 1e-4}} << 1e-4 << 0.0 << 1.0 << 0.0
            << QStringLiteral("Критерий «Линия»: превышение при n от 1 до 2, наибольшее — в 2,0 раза при n = 1.");
        QTest::newRow("kind without data") << 0 << Pairs{} << 1e-3 << 2.0 << 1.0 << 0.0 << ok;
        // Damage is judged at its data values only: at-least 4E-3 at G = 0,5 against 2E-3; 1E-4 at 2,25 is below.
        QTest::newRow("damage line")
            << 3 << Pairs{{2.25, 1e-4}, {0.5, 3.9e-3}} << 1e-3 << 1.0 << 0.01 << 0.0
            << QStringLiteral("Критерий «Линия»: превышение при G от 0,500 до 0,500, наибольшее — в 2,0 раза при "
                              "G = 0,500.");
        QTest::newRow("damage within the line")
            << 3 << Pairs{{2.25, 1e-4}} << 1e-3 << 1.0 << 0.01 << 0.0
            << QStringLiteral("Критерий «Линия»: F/G диаграмма не выходит за линию критерия.");
    }

    void verdicts()
    {
        QFETCH(int, kind);
        QFETCH(Pairs, rows);
        QFETCH(double, c);
        QFETCH(double, alpha);
        QFETCH(double, n1);
        QFETCH(double, n2);
        QFETCH(QString, sentence);
        const CriterionLine line = Line(c, alpha, n1, n2 > 0 ? std::optional<double>(n2) : std::nullopt);
        const bool damage = KindInfoOf(kind).isDamage;
        const CriterionVerdict v = JudgeCriterion(Curve(kind, rows), line, damage);
        QCOMPARE(VerdictSentence(line, v, damage), sentence);
    }

    void twoSignificant_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<QString>("text");
        QTest::newRow("1,8") << 1.8 << QStringLiteral("1,8");
        QTest::newRow("2") << 2.0 << QStringLiteral("2,0");
        QTest::newRow("9,96 becomes 10") << 9.96 << QStringLiteral("10");
        QTest::newRow("below one") << 0.456 << QStringLiteral("0,46");
        QTest::newRow("hundreds") << 123.4 << QStringLiteral("120");
        QTest::newRow("millions, no group separator") << 1234567.0 << QStringLiteral("1200000");
    }

    void twoSignificant()
    {
        QFETCH(double, x);
        QFETCH(QString, text);
        QCOMPARE(TwoSignificant(x), text);
    }

    void judgedFromTheDatabase()
    {
        testing::TestHome home;
        const qint16 id = testing::object(QStringLiteral("Склад"), 100)
                              .scenario(QStringLiteral("С1"), 1e-4).kills(10).damage(2)
                              .scenario(QStringLiteral("С2"), 1e-6).severe(3)
                              .id();
        Connection c;
        EnsureCriteriaTables(c);
        SetChosenCriteria(c, id, {QStringLiteral("Дания")});
        SetChosenLimit(c, id, KindFatalities, BuiltInIndividualLimit());
        BuildResult r = BuildAll(c, id, {true, true, true, true}, 100);
        JudgeCriteria(c, id, r, 100);

        const KindResult& deaths = r.kinds[KindFatalities];
        QCOMPARE(deaths.criteria.size(), 1);
        QCOMPARE(deaths.criteria[0].sentence,
                 QStringLiteral("Критерий «Дания»: превышение при n от 4 до 10, наибольшее — в 10 раза при n = 10."));
        QCOMPARE(deaths.criteria[0].curve.first(), QPointF(1, 1e-3));
        QCOMPARE(deaths.criteria[0].curve.last().x(), 10.0);
        // 10 * 1E-4 / 100 people = 1E-5 per year against 1E-6.
        QCOMPARE(deaths.limitText, QStringLiteral("превышает допустимое значение 1,000E-06 1/год (Федеральный закон "
                                                  "№ 123-ФЗ, ст. 93 (пожарный риск на производственных объектах)) "
                                                  "в 10 раза"));
        // The line is for fatalities only; other kinds get neither lines nor limits.
        QVERIFY(r.kinds[KindSevere].criteria.isEmpty());
        QVERIFY(r.kinds[KindSevere].limitText.isEmpty());
        QVERIFY(r.kinds[KindDamage].criteria.isEmpty());

        // Named lines replace the object's choice; without people there is no limit text.
        JudgeCriteria(c, id, r, 0, QStringList{QStringLiteral("великобритания (R2P2, N = 50)")});
        QCOMPARE(r.kinds[KindFatalities].criteria.size(), 1);
        // A line with both ends is drawn where it is, even beyond the largest n (the axes clip it).
        QCOMPARE(r.kinds[KindFatalities].criteria[0].curve, (QVector<QPointF>{QPointF(50, 2e-4)}));
        QCOMPARE(r.kinds[KindFatalities].criteria[0].sentence,
                 QStringLiteral("Критерий «Великобритания (R2P2, N = 50)»: F/n диаграмма не выходит за линию "
                                "критерия."));
        QVERIFY(r.kinds[KindFatalities].limitText.isEmpty());
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                                 JudgeCriteria(c, id, r, 0, QStringList{QStringLiteral("Нет такого")}));
    }

    void individualLimit_data()
    {
        QTest::addColumn<double>("risk");
        QTest::addColumn<QString>("text");
        QTest::newRow("below") << 5e-7 << QStringLiteral("не превышает допустимого значения 1,000E-06 1/год (Закон)");
        QTest::newRow("equal is not above")
            << 1e-6 << QStringLiteral("не превышает допустимого значения 1,000E-06 1/год (Закон)");
        QTest::newRow("above") << 3.2e-6
                               << QStringLiteral("превышает допустимое значение 1,000E-06 1/год (Закон) в 3,2 раза");
    }

    void individualLimit()
    {
        QFETCH(double, risk);
        QFETCH(QString, text);
        QCOMPARE(IndividualLimitText(risk, IndividualLimit{1e-6, QStringLiteral("Закон")}), text);
    }
};

QTEST_GUILESS_MAIN(CriteriaTest)
#include "tst_Criteria.moc"

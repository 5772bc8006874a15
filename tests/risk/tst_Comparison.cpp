// Variants side by side: curves, bounds, lines and table of objects whose distributions are known by hand.

#include "core/CriteriaStore.h"
#include "core/TestHome.h"
#include "risk/Comparison.h"

#include <QTest>
#include <memory>

using namespace zarnel;

namespace {

QStringList Rows(const Comparison& cmp)
{
    QStringList rows;
    for (const auto& cells : ComparisonTexts(cmp))
        rows << QStringList(cells.begin(), cells.end()).join(QLatin1Char('|'));
    return rows.mid(1);
}

void CompareCurve(const QVector<QPointF>& actual, const QVector<QPointF>& expected)
{
    QCOMPARE(actual.size(), expected.size());
    for (qsizetype i = 0; i < actual.size(); ++i) {
        QCOMPARE(actual[i].x(), expected[i].x());
        QVERIFY2(testing::fuzzyEqual(actual[i].y(), expected[i].y()), qPrintable(QString::number(i)));
    }
}

} // namespace

class ComparisonTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_home = std::make_unique<testing::TestHome>(); }
    void cleanup() { m_home.reset(); }
    void twoObjectsAndOneWithoutTheKind();
    void baseWithoutTheKind();

private:
    std::unique_ptr<testing::TestHome> m_home;
};

// А: 1 fatality at 1E-4 and 10 at 1E-5 among 100 people; Б: 2 at 5E-5, people not given; В: damage only.
void ComparisonTest::twoObjectsAndOneWithoutTheKind()
{
    auto a = testing::object("А", 100);
    a.scenario("С1", 1e-4).kills(1).scenario("С2", 1e-5).kills(10);
    auto b = testing::object("Б", 0);
    b.scenario("С1", 5e-5).kills(2);
    auto v = testing::object("В", 10);
    v.scenario("С1", 1e-3).damage(4);
    Connection c;
    EnsureCriteriaTables(c);
    SetChosenCriteria(c, a.id(), {QStringLiteral("Дания")});
    SetChosenCriteria(c, b.id(), {QStringLiteral("Нидерланды (ориентировочное значение)")});

    const Comparison cmp = BuildComparison(c, {a.id(), b.id(), v.id()}, KindFatalities);

    QCOMPARE(cmp.objects.size(), 3);
    QVERIFY(cmp.anyHasKind());
    // The steps as the results chart draws them, largest value first.
    CompareCurve(cmp.objects[0].curve, {{10, 1e-5}, {1, 1e-5}, {1, 1.1e-4}});
    CompareCurve(cmp.objects[1].curve, {{2, 5e-5}});
    QVERIFY(cmp.objects[2].curve.isEmpty());
    QCOMPARE(QSet<unsigned>({cmp.objects[0].colour, cmp.objects[1].colour, cmp.objects[2].colour}).size(), 3);

    // Collective 2E-4 and 1E-4: the second is 50 % below the first.
    QCOMPARE(Rows(cmp), (QStringList{"А|2,000E-04|2,000E-06|10|1,000E-05|", "Б|1,000E-04|не расчитан|2|0,500E-04|-50,0",
                                     "В|нет данных||||"}));

    // Bounds over both curves by the results chart's rules: 1 - 0,9 and 10 + 1 on X; the smallest top frequency
    // less a tenth and the largest total frequency plus a tenth on Y.
    QCOMPARE(cmp.boxes, (AxisTexts{"0,1", "11", "0,900E-05", "1,210E-04"}));

    // The first object's lines, drawn up to the largest value of all.
    QCOMPARE(cmp.lines.size(), 1);
    QCOMPARE(cmp.lines[0].line.name, "Дания");
    QCOMPARE(cmp.lines[0].curve.last().x(), 10.0);
}

void ComparisonTest::baseWithoutTheKind()
{
    auto a = testing::object("А", 100);
    a.scenario("С1", 1e-4).damage(2);
    auto b = testing::object("Б", 100);
    b.scenario("С1", 1e-4).kills(3);
    Connection c;

    const Comparison cmp = BuildComparison(c, {a.id(), b.id()}, KindFatalities);

    // Against a base without the kind no change can be told.
    QCOMPARE(Rows(cmp), (QStringList{"А|нет данных||||", "Б|3,000E-04|3,000E-06|3|1,000E-04|"}));
    const Comparison none = BuildComparison(c, {a.id(), b.id()}, KindSevere);
    QVERIFY(!none.anyHasKind());
}

QTEST_GUILESS_MAIN(ComparisonTest)
#include "tst_Comparison.moc"

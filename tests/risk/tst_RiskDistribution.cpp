// Distribution, chart bounds and box texts, indicators and row heights of one kind, without a database.

#include "core/Formats.h"
#include "core/TestHome.h"
#include "risk/Distribution.h"

#include <QTest>

using namespace zarnel;

Q_DECLARE_METATYPE(zarnel::DistRow)
Q_DECLARE_METATYPE(zarnel::AxisTexts)

namespace {

using Pairs = QVector<QPointF>; // (value, frequency) of indicator rows, largest value first

QVector<IndicatorRow> Rows(const Pairs& pairs)
{
    QVector<IndicatorRow> rows;
    for (const QPointF& p : pairs)
        rows.append({p.x(), {QStringLiteral("С"), p.y()}});
    return rows;
}

KindResult Computed(int kind, const Pairs& pairs, double people = 200)
{
    KindResult r;
    r.kind = kind;
    Accumulate(r, Rows(pairs));
    PlanCharts(r);
    SetIndicatorTexts(r, people);
    return r;
}

bool SameRows(const QVector<DistRow>& a, const QVector<DistRow>& b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i)
        if (a[i].value != b[i].value || !testing::fuzzyEqual(a[i].atLeast, b[i].atLeast) ||
            !testing::fuzzyEqual(a[i].exactly, b[i].exactly))
            return false;
    return true;
}

} // namespace

class RiskDistributionTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { SetRussianLocale(); }

    void accumulation_data();
    void accumulation();
    void noCeilingOnDistinctValues();
    void bounds_data();
    void bounds();
    void singleValueCharts();
    void indicators_data();
    void indicators();
    void rowHeights_data();
    void rowHeights();
};

void RiskDistributionTest::accumulation_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<Pairs>("input");
    QTest::addColumn<QVector<DistRow>>("dist");
    QTest::addColumn<Pairs>("polygon");
    QTest::addColumn<double>("minExact");
    QTest::addColumn<double>("maxExact");

    QTest::newRow("one row") << 0 << Pairs{{4, 1e-4}} << QVector<DistRow>{{4, 1e-4, 1e-4}} << Pairs{{4, 1e-4}} << 1e-4
                             << 1e-4;
    QTest::newRow("5, 5, 2") << 0 << Pairs{{5, 1e-4}, {5, 2e-4}, {2, 3e-4}}
                             << QVector<DistRow>{{5, 3e-4, 3e-4}, {2, 3e-4, 3e-4}, {2, 6e-4, 3e-4}}
                             << Pairs{{2, 3e-4}, {5, 3e-4}} << 3e-4 << 3e-4;
    QTest::newRow("10, 7, 3 step points")
        << 1 << Pairs{{10, 1e-4}, {7, 2e-4}, {3, 4e-4}}
        << QVector<DistRow>{{10, 1e-4, 1e-4}, {7, 1e-4, 1e-4}, {7, 3e-4, 2e-4}, {3, 3e-4, 3e-4}, {3, 7e-4, 4e-4}}
        << Pairs{{3, 4e-4}, {7, 2e-4}, {10, 1e-4}} << 1e-4 << 4e-4;
    QTest::newRow("2.5 and 2.501 are two values")
        << 3 << Pairs{{2.501, 1e-3}, {2.5, 1e-4}}
        << QVector<DistRow>{{2.501, 1e-3, 1e-3}, {2.5, 1e-3, 1e-3}, {2.5, 1.1e-3, 1e-4}}
        << Pairs{{2.5, 1e-4}, {2.501, 1e-3}} << 1e-4 << 1e-3;
    QTest::newRow("two stored 2.5 are one value")
        << 3 << Pairs{{2.5, 1e-3}, {2.5, 1e-4}} << QVector<DistRow>{{2.5, 1.1e-3, 1.1e-3}} << Pairs{{2.5, 1.1e-3}}
        << 1e-3 << 1.1e-3;
    // Damage starts its extremes at the largest value's first frequency: with a shared largest value the minimum
    // can be one scenario's frequency alone.
    QTest::newRow("damage minimum from the first row")
        << 3 << Pairs{{5, 1e-4}, {5, 2e-4}, {2, 3e-4}}
        << QVector<DistRow>{{5, 3e-4, 3e-4}, {2, 3e-4, 3e-4}, {2, 6e-4, 3e-4}} << Pairs{{2, 3e-4}, {5, 3e-4}} << 1e-4
        << 3e-4;
    // A zero frequency gives way to the next exact frequency examined.
    QTest::newRow("zero frequency is no minimum")
        << 0 << Pairs{{3, 2e-5}, {1, 0}} << QVector<DistRow>{{3, 2e-5, 2e-5}, {1, 2e-5, 2e-5}, {1, 2e-5, 0}}
        << Pairs{{1, 0}, {3, 2e-5}} << 2e-5 << 2e-5;
}

void RiskDistributionTest::accumulation()
{
    QFETCH(int, kind);
    QFETCH(Pairs, input);
    QFETCH(QVector<DistRow>, dist);
    QFETCH(Pairs, polygon);
    QFETCH(double, minExact);
    QFETCH(double, maxExact);

    const KindResult r = Computed(kind, input);
    QVERIFY(SameRows(r.dist, dist));
    QCOMPARE(r.stepCurve.size(), dist.size());
    for (int i = 0; i < dist.size(); ++i)
        QCOMPARE(r.stepCurve[i], QPointF(dist[i].value, dist[i].atLeast));
    QCOMPARE(r.polygonCurve.size(), polygon.size());
    for (int i = 0; i < polygon.size(); ++i) {
        QCOMPARE(r.polygonCurve[i].x(), polygon[i].x());
        QVERIFY(testing::fuzzyEqual(r.polygonCurve[i].y(), polygon[i].y()));
    }
    QVERIFY(testing::fuzzyEqual(r.minExact, minExact));
    QVERIFY(testing::fuzzyEqual(r.maxExact, maxExact));
}

void RiskDistributionTest::noCeilingOnDistinctValues()
{
    Pairs input;
    for (int v = 1500; v >= 1; --v)
        input.append({double(v), 1e-6});
    const KindResult r = Computed(0, input);
    QCOMPARE(r.rowCount(), 2999);
    QCOMPARE(r.distinctCount(), 1500);
    QCOMPARE(r.polygonCurve.last(), QPointF(1500, 1e-6));
    QVERIFY(testing::fuzzyEqual(r.dist.last().atLeast, 1500e-6, 1e-9));
}

void RiskDistributionTest::bounds_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<Pairs>("input");
    QTest::addColumn<AxisTexts>("stepBoxes");
    QTest::addColumn<AxisTexts>("polygonBoxes");
    QTest::addColumn<QPointF>("stepX"); // the step chart's X bounds, which damage boxes do not show

    QTest::newRow("people from 1 to 7") << 0 << Pairs{{7, 1e-5}, {1, 1e-3 - 1e-5}}
                                        << AxisTexts{"0,1", "8", "0,900E-05", "1,100E-03"}
                                        << AxisTexts{"0,1", "8", "0,900E-05", "1,089E-03"} << QPointF(0.1, 8);
    QTest::newRow("people from 3") << 2 << Pairs{{7, 2e-4}, {3, 2e-4}} << AxisTexts{"2", "8", "1,800E-04", "4,400E-04"}
                                   << AxisTexts{"2", "8", "1,800E-04", "2,200E-04"} << QPointF(2, 8);
    QTest::newRow("damage 0.005 to 40") << 3 << Pairs{{40, 1e-4}, {0.005, 1e-4}}
                                        << AxisTexts{"0,005", "40,000", "0,900E-04", "2,200E-04"}
                                        << AxisTexts{"0,001", "40,04", "0,900E-04", "1,100E-04"} << QPointF(0.001, 44);
    QTest::newRow("damage 2 to 10") << 3 << Pairs{{10, 1e-4}, {2, 1e-4}}
                                    << AxisTexts{"2,000", "10,000", "0,900E-04", "2,200E-04"}
                                    << AxisTexts{"2", "10,01", "0,900E-04", "1,100E-04"} << QPointF(1.8, 11);
}

void RiskDistributionTest::bounds()
{
    QFETCH(int, kind);
    QFETCH(Pairs, input);
    QFETCH(AxisTexts, stepBoxes);
    QFETCH(AxisTexts, polygonBoxes);
    QFETCH(QPointF, stepX);

    const KindResult r = Computed(kind, input);
    QVERIFY(testing::fuzzyEqual(r.stepAxes.minX, stepX.x()));
    QVERIFY(testing::fuzzyEqual(r.stepAxes.maxX, stepX.y()));
    QCOMPARE(r.stepBoxes.minX, stepBoxes.minX);
    QCOMPARE(r.stepBoxes.maxX, stepBoxes.maxX);
    QCOMPARE(r.stepBoxes.minY, stepBoxes.minY);
    QCOMPARE(r.stepBoxes.maxY, stepBoxes.maxY);
    QCOMPARE(r.polygonBoxes.minX, polygonBoxes.minX);
    QCOMPARE(r.polygonBoxes.maxX, polygonBoxes.maxX);
    QCOMPARE(r.polygonBoxes.minY, polygonBoxes.minY);
    QCOMPARE(r.polygonBoxes.maxY, polygonBoxes.maxY);
}

void RiskDistributionTest::singleValueCharts()
{
    const KindResult r = Computed(0, {{2, 1e-4}});
    QStringList step, polygon;
    for (const ChartCall& c : r.stepPlan)
        if (c.op >= ChartCall::MoveTo && c.op <= ChartCall::PlotCurve)
            step << DescribeChartCall(c);
    for (const ChartCall& c : r.polygonPlan)
        if (c.op >= ChartCall::MoveTo && c.op <= ChartCall::PlotCurve)
            polygon << DescribeChartCall(c);
    QCOMPARE(step, QStringList({"MoveTo(2, 0.0001)", "LineTo(2, 0.0001, 3, 0)", "DrawBullet(2, 0.0001, 11, 255)",
                                "PlotCurve[(2, 0.0001)]"}));
    QCOMPARE(polygon, QStringList({"DrawBullet(2, 0.0001, 11, 0)"}));
}

void RiskDistributionTest::indicators_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<Pairs>("input");
    QTest::addColumn<double>("people");
    QTest::addColumn<QString>("collective");
    QTest::addColumn<QString>("individual");

    QTest::newRow("collective 1.6E-4") << 0 << Pairs{{3, 2e-5}, {1, 1e-4}} << 200.0 << "1,600E-04"
                                       << "0,800E-06";
    QTest::newRow("individual 1.25E-5") << 1 << Pairs{{25, 1e-4}} << 200.0 << "2,500E-03"
                                        << "1,250E-05";
    QTest::newRow("no people") << 4 << Pairs{{25, 1e-4}} << 0.0 << "2,500E-03"
                               << "не расчитан";
    QTest::newRow("all frequencies 0") << 2 << Pairs{{3, 0}, {1, 0}} << 200.0 << ""
                                       << "";
    QTest::newRow("expected damage 7E-4") << 3 << Pairs{{2, 1e-4}, {0.5, 1e-3}} << 200.0 << "0,700E-03"
                                          << "";
}

void RiskDistributionTest::indicators()
{
    QFETCH(int, kind);
    QFETCH(Pairs, input);
    QFETCH(double, people);
    QFETCH(QString, collective);
    QFETCH(QString, individual);

    const KindResult r = Computed(kind, input, people);
    QCOMPARE(r.collectiveText, collective);
    QCOMPARE(r.individualText, individual);
}

void RiskDistributionTest::rowHeights_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("height");

    QTest::newRow("44 characters") << 44 << 250;
    QTest::newRow("45 characters") << 45 << 500;
    QTest::newRow("100 characters") << 100 << 750;
    QTest::newRow("last height 16 bits hold") << 5894 << 32750;
    QTest::newRow("beyond 16 bits") << 5895 << 32767;
    QTest::newRow("far beyond 16 bits") << 200000 << 32767;
}

void RiskDistributionTest::rowHeights()
{
    QFETCH(int, length);
    QFETCH(int, height);
    QCOMPARE(WantedRowHeight(length), height);

    // Heights only grow: a shorter list afterwards keeps the row as tall.
    ResultTable t;
    t.fitRowHeight(1, length);
    t.fitRowHeight(1, 10);
    QCOMPARE(t.rowHeight(1), height);
}

QTEST_GUILESS_MAIN(RiskDistributionTest)
#include "tst_RiskDistribution.moc"

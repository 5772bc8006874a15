// "Построить" turned into chart calls: which typed bounds are refused and with what message, how bounds are
// rounded per chart, and the order of the drawing calls over the stored points.

#include "core/Formats.h"
#include "core/RecordingChartSink.h"
#include "windows/results/ChartRedraw.h"

#include <QTest>

using namespace zarnel;

using Points = QVector<QPointF>;
Q_DECLARE_METATYPE(AxisEntry)

namespace {

const QString kTitle = QStringLiteral("В н и м а н и е ! ! !");

AxisEntry axis(const QString& from, const QString& to, bool logarithmic = true, const QString& divisions = "10")
{
    return {from, to, divisions, logarithmic};
}

// Point i (1-based) at (i, 10 i): the descriptions then stay short whole numbers.
Points numbered(int n)
{
    Points p;
    for (int i = 1; i <= n; ++i)
        p.append(QPointF(i, 10 * i));
    return p;
}

ChartRedraw plan(int chart, const AxisEntry& x, const AxisEntry& y, const Points& points)
{
    return chart % 2 == 1 ? PlanIntegralRedraw(chart, x, y, points) : PlanPolygonRedraw(chart, x, y, points);
}

QStringList described(const ChartPlan& plan)
{
    testing::RecordingChartSink sink;
    ReplayChartPlan(plan, sink);
    return sink.calls;
}

// The calls between the axes and the final Redraw.
QStringList drawing(const ChartRedraw& r)
{
    QStringList calls = described(r.plan);
    const int start = int(calls.indexOf(QStringLiteral("tickfreqy=10"))) + 2; // after the second ProcessEvents
    return calls.mid(start, calls.size() - start - 2);
}

} // namespace

class ChartRedrawTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { SetRussianLocale(); }

    void refusals_data()
    {
        QTest::addColumn<int>("chart");
        QTest::addColumn<AxisEntry>("x");
        QTest::addColumn<AxisEntry>("y");
        QTest::addColumn<QString>("message"); // empty: drawn

        const AxisEntry y = axis("1E-5", "1E-3");
        QTest::newRow("X upper below lower")
            << 1 << axis("5", "4", false) << y << "Нижняя граница по OX должна быть меньше или равна верхней!";
        QTest::newRow("Y upper below lower") << 2 << axis("1", "8") << axis("1,100E-03", "0,900E-05")
                                             << "Нижняя граница по OY должна быть меньше или равна верхней!";
        QTest::newRow("X checked before Y")
            << 3 << axis("5", "4") << axis("2", "1") << "Нижняя граница по OX должна быть меньше или равна верхней!";
        QTest::newRow("equal bounds pass") << 1 << axis("3", "3") << axis("1E-4", "1E-4") << "";
        QTest::newRow("X not a number") << 1 << axis("abc", "8") << y << "Границы по OX должны быть заданы числами!";
        QTest::newRow("Y box empty") << 4 << axis("1", "8") << axis("", "1E-3")
                                     << "Границы по OY должны быть заданы числами!";
        QTest::newRow("log X bound zero")
            << 5 << axis("0", "8") << y << "На логарифмической шкале границы по OX должны быть больше нуля!";
        QTest::newRow("log Y bound negative") << 7 << axis("1", "8") << axis("-1E-5", "1E-3")
                                              << "На логарифмической шкале границы по OY должны быть больше нуля!";
        QTest::newRow("linear X zero is fine") << 5 << axis("0", "8", false) << y << "";
        QTest::newRow("whole X bound beyond 16 bits")
            << 1 << axis("0", "40000", false) << y
            << "Границы по OX округляются до целых чисел и должны лежать в пределах от -32768 до 32767!";
        QTest::newRow("chart 9 takes a large real X bound") << 9 << axis("0", "40000", false) << y << "";
        QTest::newRow("chart 10 log bound rounding to zero")
            << 10 << axis("0,4", "40") << y
            << "Границы по OX округляются до целых чисел: на логарифмической шкале они должны быть не меньше 1!";
        QTest::newRow("X divisions zero")
            << 1 << axis("1", "8", true, "0") << y << "Число разбиений по OX должно быть целым числом от 1 до 32767!";
        QTest::newRow("Y divisions no number") << 2 << axis("1", "8") << axis("1E-5", "1E-3", true, "x")
                                               << "Число разбиений по OY должно быть целым числом от 1 до 32767!";
        QTest::newRow("polygon bounds between two points")
            << 2 << axis("1,5", "1,9") << y << "В заданных границах по OX нет ни одной точки графика!";
        QTest::newRow("polygon bounds above every point")
            << 4 << axis("5", "8") << y << "В заданных границах по OX нет ни одной точки графика!";
        QTest::newRow("step chart bounds away from the points still draw") << 3 << axis("5", "8") << y << "";
    }

    void refusals()
    {
        QFETCH(int, chart);
        QFETCH(AxisEntry, x);
        QFETCH(AxisEntry, y);
        QFETCH(QString, message);

        const ChartRedraw r = plan(chart, x, y, numbered(4));
        if (message.isEmpty()) {
            QVERIFY2(r.ok, qPrintable(r.message.text));
            QCOMPARE(r.plan.first().op, ChartCall::ClearChart);
            QCOMPARE(r.plan.last().op, ChartCall::ProcessEvents);
            return;
        }
        QVERIFY(!r.ok);
        QCOMPARE(r.message.text, message);
        QCOMPARE(r.message.title, kTitle);
        QCOMPARE(r.message.buttons, UserMessage::Ok);
        QVERIFY(r.plan.isEmpty());
    }

    void axes_data()
    {
        QTest::addColumn<int>("chart");
        QTest::addColumn<AxisEntry>("x");
        QTest::addColumn<AxisEntry>("y");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<int>("typeX");
        QTest::addColumn<int>("typeY");

        const QStringList commaFractions{"minx=0",   "maxx=2",      "tickfreqx=10", "miny=0.40000000000000002",
                                         "maxy=2.5", "tickfreqy=10"};
        QTest::newRow("linear X rounds half to even, Y never rounds")
            << 1 << axis("0,4", "2,5", false) << axis("0,4", "2,5", false) << commaFractions << 0 << 0;
        QTest::newRow("a dot is read like the comma")
            << 1 << axis("0.4", "2.5", false) << axis("0.4", "2.5", false) << commaFractions << 0 << 0;
        QTest::newRow("log X keeps fractions")
            << 3 << axis("0,4", "2,5") << axis("1E-5", "1E-3")
            << QStringList{"minx=0.40000000000000002",    "maxx=2.5",   "tickfreqx=10",
                           "miny=1.0000000000000001e-05", "maxy=0.001", "tickfreqy=10"}
            << 1 << 1;
        QTest::newRow("chart 9 keeps fractional X on a linear axis")
            << 9 << axis("0,4", "2,5", false) << axis("1E-5", "1E-3")
            << QStringList{"minx=0.40000000000000002",    "maxx=2.5",   "tickfreqx=10",
                           "miny=1.0000000000000001e-05", "maxy=0.001", "tickfreqy=10"}
            << 0 << 1;
        QTest::newRow("chart 10 rounds X on a log axis")
            << 10 << axis("1,5", "4,5", true, "7,5") << axis("1E-5", "1E-3", false, "4")
            << QStringList{"minx=2",     "maxx=4",     "tickfreqx=8", "miny=1.0000000000000001e-05",
                           "maxy=0.001", "tickfreqy=4"}
            << 1 << 0;
        QTest::newRow("chart 10 linear rounds too")
            << 10 << axis("0,4", "3,5", false) << axis("1E-5", "1E-3")
            << QStringList{"minx=0",     "maxx=4",      "tickfreqx=10", "miny=1.0000000000000001e-05",
                           "maxy=0.001", "tickfreqy=10"}
            << 0 << 1;
    }

    void axes()
    {
        QFETCH(int, chart);
        QFETCH(AxisEntry, x);
        QFETCH(AxisEntry, y);
        QFETCH(QStringList, calls);
        QFETCH(int, typeX);
        QFETCH(int, typeY);

        const ChartRedraw r = plan(chart, x, y, numbered(4));
        QVERIFY2(r.ok, qPrintable(r.message.text));
        QCOMPARE(described(r.plan).mid(0, 9),
                 (QStringList{"ClearChart", "ProcessEvents"} + calls + QStringList{"ProcessEvents"}));
        QCOMPARE(r.axisTypeX, typeX);
        QCOMPARE(r.axisTypeY, typeY);
    }

    void stepChartCalls_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QStringList>("calls");

        // Lines and red bullets on points N, N-2, ...; MoveTo on N (twice), N-1, ..., 2; the curve in stored order.
        QTest::newRow("one point") << 1
                                   << QStringList{"MoveTo(1, 10)", "LineTo(1, 10, 3, 0)", "DrawBullet(1, 10, 11, 255)",
                                                  "PlotCurve[(1, 10)]"};
        QTest::newRow("three points") << 3 << QStringList{"MoveTo(3, 30)",
                                                          "LineTo(3, 30, 3, 0)",
                                                          "DrawBullet(3, 30, 11, 255)",
                                                          "MoveTo(3, 30)",
                                                          "MoveTo(2, 20)",
                                                          "LineTo(1, 10, 3, 0)",
                                                          "DrawBullet(1, 10, 11, 255)",
                                                          "PlotCurve[(1, 10), (2, 20), (3, 30)]"};
        QTest::newRow("four points") << 4
                                     << QStringList{"MoveTo(4, 40)",
                                                    "LineTo(4, 40, 3, 0)",
                                                    "DrawBullet(4, 40, 11, 255)",
                                                    "MoveTo(4, 40)",
                                                    "MoveTo(3, 30)",
                                                    "LineTo(2, 20, 3, 0)",
                                                    "DrawBullet(2, 20, 11, 255)",
                                                    "MoveTo(2, 20)",
                                                    "PlotCurve[(1, 10), (2, 20), (3, 30), (4, 40)]"};
    }

    void stepChartCalls()
    {
        QFETCH(int, n);
        QFETCH(QStringList, calls);
        // Bounds far from the points: a step chart draws every point whatever its bounds.
        const ChartRedraw r = PlanIntegralRedraw(1, axis("50", "60"), axis("1", "2"), numbered(n));
        QVERIFY(r.ok);
        QCOMPARE(drawing(r), calls);
        QCOMPARE(described(r.plan).mid(described(r.plan).size() - 2), (QStringList{"Redraw", "ProcessEvents"}));
    }

    void polygonCalls_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<AxisEntry>("x");
        QTest::addColumn<QStringList>("calls");

        QTest::newRow("all points") << 3 << axis("1", "3")
                                    << QStringList{"DrawBullet(1, 10, 11, 0)", "MoveTo(1, 10)",
                                                   "DrawBullet(2, 20, 11, 0)", "MoveTo(2, 20)",
                                                   "DrawBullet(3, 30, 11, 0)", "PlotCurve[(1, 10), (2, 20), (3, 30)]"};
        // No stray (0, 0) points for the excluded ones: the curve holds only what lies within the bounds.
        QTest::newRow("bounds cut both ends")
            << 4 << axis("1,5", "3,5")
            << QStringList{"DrawBullet(2, 20, 11, 0)", "MoveTo(2, 20)", "DrawBullet(3, 30, 11, 0)", "MoveTo(3, 30)",
                           "PlotCurve[(2, 20), (3, 30)]"};
        // The points are chosen by the bounds as typed; only the axis gets them rounded (here 2 to 3).
        QTest::newRow("linear X: points by the typed bounds")
            << 4 << axis("2,4", "3", false)
            << QStringList{"DrawBullet(3, 30, 11, 0)", "MoveTo(3, 30)", "PlotCurve[(3, 30)]"};
        QTest::newRow("single point: bullet, no curve")
            << 1 << axis("1", "1") << QStringList{"DrawBullet(1, 10, 11, 0)"};
    }

    void polygonCalls()
    {
        QFETCH(int, n);
        QFETCH(AxisEntry, x);
        QFETCH(QStringList, calls);
        const ChartRedraw r = PlanPolygonRedraw(4, x, axis("1", "100"), numbered(n));
        QVERIFY2(r.ok, qPrintable(r.message.text));
        QCOMPARE(drawing(r), calls);
    }
};

QTEST_MAIN(ChartRedrawTest)
#include "tst_ChartRedraw.moc"

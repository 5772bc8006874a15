// "Построить" turned into chart calls: which typed bounds are refused and with what message, how bounds are
// rounded per chart, and the order of the drawing calls over the stored points.

#include "core/Formats.h"
#include "core/Limits.h"
#include "core/RecordingChartSink.h"
#include "risk/Distribution.h"
#include "risk/Kinds.h"
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
        // The build writes "-1" when the smallest value is 0: the chart then starts just below the points.
        QTest::newRow("log X lower bound zero") << 5 << axis("0", "8") << y << "";
        QTest::newRow("log X lower bound negative") << 2 << axis("-1", "8") << y << "";
        QTest::newRow("log X upper bound zero")
            << 5 << axis("-1", "0") << y << "На логарифмической шкале верхняя граница по OX должна быть больше нуля!";
        QTest::newRow("log Y upper bound negative")
            << 7 << axis("1", "8") << axis("-1E-3", "-1E-5")
            << "На логарифмической шкале верхняя граница по OY должна быть больше нуля!";
        QTest::newRow("linear X zero is fine") << 5 << axis("0", "8", false) << y << "";
        QTest::newRow("whole X bound beyond 16 bits") << 1 << axis("0", "40001", false) << y << "";
        QTest::newRow("whole X bound beyond 32 bits")
            << 1 << axis("0", "2147483648", false) << y
            << "Границы по OX округляются до целых чисел и должны лежать в пределах от -2147483648 до 2147483647!";
        QTest::newRow("whole X bound at the 32-bit end")
            << 3 << axis("-2147483648", "2147483647,4", false) << y << "";
        QTest::newRow("chart 10 bound beyond 32 bits")
            << 10 << axis("1", "3E9") << y
            << "Границы по OX округляются до целых чисел и должны лежать в пределах от -2147483648 до 2147483647!";
        QTest::newRow("chart 9 takes a large real X bound") << 9 << axis("0", "40000", false) << y << "";
        QTest::newRow("chart 10 log bound rounding to zero") << 10 << axis("0,4", "40") << y << "";
        // The chart draws at most 100 divisions: the refusal says so instead of drawing fewer than asked.
        QTest::newRow("X divisions zero")
            << 1 << axis("1", "8", true, "0") << y << "Число разбиений по OX должно быть целым числом от 1 до 100!";
        QTest::newRow("X divisions one") << 1 << axis("1", "8", true, "1") << y << "";
        QTest::newRow("X divisions 100") << 1 << axis("1", "8", true, "100") << y << "";
        QTest::newRow("X divisions 101")
            << 1 << axis("1", "8", true, "101") << y << "Число разбиений по OX должно быть целым числом от 1 до 100!";
        QTest::newRow("Y divisions 1000") << 2 << axis("1", "8") << axis("1E-5", "1E-3", true, "1000")
                                          << "Число разбиений по OY должно быть целым числом от 1 до 100!";
        QTest::newRow("Y divisions no number") << 2 << axis("1", "8") << axis("1E-5", "1E-3", true, "x")
                                               << "Число разбиений по OY должно быть целым числом от 1 до 100!";
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
        // A log axis cannot start at a bound rounded to 0: the damage polygon's own 0,01 stays.
        QTest::newRow("chart 10 keeps a log bound that rounds to zero")
            << 10 << axis("0,01", "310,31") << axis("1E-5", "1E-3")
            << QStringList{"minx=0.01",  "maxx=310",    "tickfreqx=10", "miny=1.0000000000000001e-05",
                           "maxy=0.001", "tickfreqy=10"}
            << 1 << 1;
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

    // Whatever a build writes into the boxes, "Построить" takes unchanged, on either axis type: data at the
    // limits of what is stored, tiny damage, a smallest value of 0, frequencies at both ends.
    void buildBoxesAreAccepted_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QVector<double>>("values");
        QTest::addColumn<QVector<double>>("frequencies");
        QTest::addColumn<bool>("polygonDrawsAll"); // false: a value of 0 lies below the damage polygon's bound

        const QVector<double> two{1e-4, 2e-3};
        const QVector<double> extremes{kMinFrequency, kMaxFrequency};
        for (const int kind : {KindFatalities, KindSevere, KindLight}) {
            const QByteArray name = QByteArray("kind ") + QByteArray::number(kind);
            QTest::newRow(name + ", most people") << kind << QVector<double>{kMaxPeople, 1} << two << true;
            QTest::newRow(name + ", 40000 people") << kind << QVector<double>{40000, 3} << two << true;
            QTest::newRow(name + ", smallest 0") << kind << QVector<double>{7, 0} << two << true;
        }
        QTest::newRow("sanitary, most people") << int(KindSanitary) << QVector<double>{kMaxSanitary, 2} << two << true;
        QTest::newRow("people, one value") << int(KindFatalities) << QVector<double>{kMaxPeople} << two.mid(0, 1) << true;
        QTest::newRow("people, extreme frequencies") << int(KindFatalities) << QVector<double>{5, 1} << extremes << true;
        QTest::newRow("damage 0,01 to 310,31") << int(KindDamage) << QVector<double>{310, 0.01} << two << true;
        QTest::newRow("damage 0,001") << int(KindDamage) << QVector<double>{0.001} << two.mid(0, 1) << true;
        QTest::newRow("damage 1,1") << int(KindDamage) << QVector<double>{1.1} << two.mid(0, 1) << true;
        QTest::newRow("damage 9,999") << int(KindDamage) << QVector<double>{9.999, 0.4} << two << true;
        QTest::newRow("damage at the limit") << int(KindDamage) << QVector<double>{kMaxDamage, 0.01} << two << true;
        QTest::newRow("damage, smallest 0") << int(KindDamage) << QVector<double>{12, 0} << two << false;
        QTest::newRow("damage, extreme frequencies") << int(KindDamage) << QVector<double>{kMaxDamage, 1} << extremes << true;
    }

    void buildBoxesAreAccepted()
    {
        QFETCH(int, kind);
        QFETCH(QVector<double>, values);
        QFETCH(QVector<double>, frequencies);
        QFETCH(bool, polygonDrawsAll);

        QVector<IndicatorRow> rows;
        for (qsizetype i = 0; i < values.size(); ++i)
            rows.append({values[i], {QStringLiteral("С%1").arg(i + 1), frequencies[i]}});
        KindResult r;
        r.kind = kind;
        Accumulate(r, rows);
        PlanCharts(r);

        const KindInfo info = KindInfoOf(kind);
        struct Chart {
            int number;
            AxisTexts boxes;
            Points points;
        };
        for (const Chart& c : {Chart{info.stepChart, r.stepBoxes, r.stepCurve},
                               Chart{info.polygonChart, r.polygonBoxes, r.polygonCurve}}) {
            for (const bool logX : {true, false}) {
                for (const bool logY : {true, false}) {
                    const AxisEntry x = axis(c.boxes.minX, c.boxes.maxX, logX);
                    const AxisEntry y = axis(c.boxes.minY, c.boxes.maxY, logY);
                    const ChartRedraw redraw = plan(c.number, x, y, c.points);
                    const QString where = QStringLiteral("chart %1, X %2..%3 %4, Y %5..%6 %7: %8")
                                              .arg(c.number)
                                              .arg(x.from, x.to, logX ? "log" : "linear", y.from, y.to,
                                                   logY ? "log" : "linear", redraw.message.text);
                    QVERIFY2(redraw.ok, qPrintable(where));
                    if (c.number % 2 == 0 && polygonDrawsAll)
                        QCOMPARE(described(redraw.plan).filter(QStringLiteral("DrawBullet")).size(),
                                 c.points.size());
                }
            }
        }
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

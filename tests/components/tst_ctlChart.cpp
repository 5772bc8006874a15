#include "components/ctlChart.h"
#include "Helpers.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLocale>
#include <QtTest>

#include <qcustomplot.h>

#include <cmath>
#include <functional>
#include <limits>
#include <optional>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

// The F/n drawing the diagram build makes for distinct values v (descending) with exact frequencies f:
// the step points (value, at-least frequency) with corner rows, traced from the smallest value upwards.
void drawStepChart(ctlChart& chart, const QVector<double>& values, const QVector<double>& frequencies)
{
    QVector<QPointF> rows;
    double atLeast = 0;
    for (int j = 0; j < values.size(); ++j) {
        if (j > 0)
            rows.append({values[j], atLeast});
        atLeast += frequencies[j];
        rows.append({values[j], atLeast});
    }
    const qsizetype k = rows.size();
    chart.ClearChart();
    chart.setMinx(values.last() == 1 ? 0.1 : values.last() - 1);
    chart.setMaxx(values.first() + 1);
    chart.setTickfreqx(10);
    chart.setMiny(rows.first().y() - rows.first().y() / 10);
    chart.setMaxy(rows.last().y() + rows.last().y() / 10);
    chart.setTickfreqy(10);
    chart.MoveTo(rows[k - 1].x(), rows[k - 1].y());
    for (qsizetype i = 1; i <= k; ++i) {
        const QPointF& p = rows[k - i];
        if (i % 2 == 1) {
            chart.LineTo(p.x(), p.y(), 3, 0);
            chart.DrawBullet(p.x(), p.y(), 11, 255);
        }
        if (i > 1)
            chart.MoveTo(p.x(), p.y());
    }
    chart.PlotCurve(rows);
    chart.Redraw();
}

using testing::pixelsNear;
using testing::pixelsOf;

QList<QCPCurve*> curvesWithLines(QCustomPlot* plot)
{
    QList<QCPCurve*> result;
    for (int i = 0; i < plot->plottableCount(); ++i)
        if (auto* curve = qobject_cast<QCPCurve*>(plot->plottable(i)); curve && curve->lineStyle() != QCPCurve::lsNone)
            result.append(curve);
    return result;
}

QList<QCPCurve*> bulletCurves(QCustomPlot* plot)
{
    QList<QCPCurve*> result;
    for (int i = 0; i < plot->plottableCount(); ++i)
        if (auto* curve = qobject_cast<QCPCurve*>(plot->plottable(i)); curve && curve->lineStyle() == QCPCurve::lsNone)
            result.append(curve);
    return result;
}

int bulletCount(QCustomPlot* plot)
{
    int count = 0;
    for (QCPCurve* curve : bulletCurves(plot))
        count += curve->dataCount();
    return count;
}

QStringList shownLabels(QCPAxis* axis)
{
    QStringList labels;
    for (const QString& label : axis->tickVectorLabels())
        if (!label.isEmpty())
            labels.append(label);
    return labels;
}

// What a tick label states: its number and the unit of its last shown digit ("12,5" 12.5 and 0.1,
// "1,25E-04" 1.25e-4 and 1e-6).
struct Stated {
    double value = 0;
    double unit = 1;
};

std::optional<Stated> readLabel(const QString& label)
{
    const qsizetype e = label.indexOf(QLatin1Char('E'));
    const QString mantissa = e < 0 ? label : label.left(e);
    int exponent = 0;
    if (e >= 0) {
        bool ok = false;
        exponent = label.mid(e + 1).toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    bool ok = false;
    const double m = QLocale().toDouble(mantissa, &ok);
    if (!ok)
        return std::nullopt;
    const qsizetype comma = mantissa.indexOf(QLatin1Char(','));
    const int decimals = comma < 0 ? 0 : int(mantissa.size() - comma - 1);
    return Stated{m * std::pow(10.0, exponent), std::pow(10.0, exponent - decimals)};
}

// Bullets as the plot holds them, in pixels.
QVector<QPointF> bulletPixels(QCustomPlot* plot)
{
    QVector<QPointF> pixels;
    for (QCPCurve* curve : bulletCurves(plot))
        for (auto it = curve->data()->constBegin(); it != curve->data()->constEnd(); ++it)
            pixels.append(QPointF(plot->xAxis->coordToPixel(it->key), plot->yAxis->coordToPixel(it->value)));
    return pixels;
}

// The box around the pixels of one colour.
QRect boxOf(const QImage& image, const QColor& colour, int tolerance)
{
    QRect box;
    for (const QPoint& p : pixelsOf(image, colour, tolerance))
        box |= QRect(p, QSize(1, 1));
    return box;
}

// A chart with one axis (X or Y) set up as given and drawn.
void drawAxis(ctlChart& chart, bool onX, int type, double lower, double upper, int divisions, const QString& format)
{
    chart.ClearChart();
    std::invoke(onX ? &ctlChart::setAxistypex : &ctlChart::setAxistypey, chart, type);
    std::invoke(onX ? &ctlChart::setMinx : &ctlChart::setMiny, chart, lower);
    std::invoke(onX ? &ctlChart::setMaxx : &ctlChart::setMaxy, chart, upper);
    std::invoke(onX ? &ctlChart::setTickfreqx : &ctlChart::setTickfreqy, chart, qint16(divisions));
    std::invoke(onX ? &ctlChart::setFormatx : &ctlChart::setFormaty, chart, format);
    chart.Redraw();
}

} // namespace

class tst_ctlChart : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void propertiesReadBack_data();
    void propertiesReadBack();
    void vbColor_data();
    void vbColor();
    void stepChartShowsCurveLinesAndBullets();
    void clearChartRemovesDrawingKeepsProperties();
    void lineToStartsAtCurrentPosition();
    void drawingAttributes_data();
    void drawingAttributes();
    void axisTicks_data();
    void axisTicks();
    void labelsStateTheirPositions_data();
    void labelsStateTheirPositions();
    void bulletsLieInsideThePlotArea_data();
    void bulletsLieInsideThePlotArea();
    void exportedBulletAtACornerIsWhole();
    void awkwardInputStillDraws_data();
    void awkwardInputStillDraws();
    void logLowerBoundAtZeroKeepsDataInView();
    void renderImageAtPrintResolution();
    void clipboardHoldsTheRenderedImage();
    void otherBoundsGiveOtherPicture();
    void overlaysKeptThroughRedrawsWithLegend();
};

void tst_ctlChart::initTestCase()
{
    QLocale russian(QLocale::Russian, QLocale::Russia);
    russian.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(russian);
}

void tst_ctlChart::propertiesReadBack_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("minx fraction") << QByteArray("minx") << QVariant(0.1);
    QTest::newRow("maxx") << QByteArray("maxx") << QVariant(1.1e-3 + 1e-3 / 7);
    QTest::newRow("miny tiny") << QByteArray("miny") << QVariant(9e-6);
    QTest::newRow("maxy huge") << QByteArray("maxy") << QVariant(1e300);
    QTest::newRow("minx below max") << QByteArray("minx") << QVariant(-0.4);
    QTest::newRow("tickfreqx lowest") << QByteArray("tickfreqx") << QVariant::fromValue<qint16>(-32768);
    QTest::newRow("tickfreqy highest") << QByteArray("tickfreqy") << QVariant::fromValue<qint16>(32767);
    QTest::newRow("axistypex log") << QByteArray("axistypex") << QVariant(1);
    QTest::newRow("axistypey other") << QByteArray("axistypey") << QVariant(7);
    QTest::newRow("polygonflag") << QByteArray("polygonflag") << QVariant(true);
    QTest::newRow("titlex") << QByteArray("titlex") << QVariant(QStringLiteral("Количество погибших, n человек"));
    QTest::newRow("titley two blanks") << QByteArray("titley")
                                       << QVariant(QStringLiteral("Вероятность санитарных потерь за год,  n человек"));
    QTest::newRow("formatx") << QByteArray("formatx") << QVariant(QStringLiteral("0.00E-00"));
    QTest::newRow("formaty") << QByteArray("formaty") << QVariant(QStringLiteral("0"));
    QTest::newRow("curvecolor") << QByteArray("curvecolor") << QVariant(QColor(192, 0, 192));
    QTest::newRow("axistitlecolor") << QByteArray("axistitlecolor") << QVariant(QColor(255, 128, 0));
    QTest::newRow("axiscolor") << QByteArray("axiscolor") << QVariant(QColor(1, 2, 3));
    QTest::newRow("chartbackcolor") << QByteArray("chartbackcolor") << QVariant(QColor(250, 250, 240));
    QTest::newRow("backcolor") << QByteArray("backcolor") << QVariant(QColor(212, 208, 200));
    QTest::newRow("bulletwidth") << QByteArray("bulletwidth") << QVariant(5);
    QTest::newRow("plothold") << QByteArray("plothold") << QVariant(true);
    QTest::newRow("autoscalex") << QByteArray("autoscalex") << QVariant(true);
    QTest::newRow("autoscaley") << QByteArray("autoscaley") << QVariant(true);
}

void tst_ctlChart::propertiesReadBack()
{
    QFETCH(QByteArray, name);
    QFETCH(QVariant, value);
    ctlChart chart;
    QVERIFY2(chart.setProperty(name, value), name);
    QCOMPARE(chart.property(name), value);
    // A drawing cycle must not rewrite what was set (bounds are only sanitised for display).
    chart.ClearChart();
    chart.Redraw();
    QCOMPARE(chart.property(name), value);
}

void tst_ctlChart::vbColor_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("0 is black") << qint64(0) << QColor(0, 0, 0);
    QTest::newRow("255 is red") << qint64(255) << QColor(255, 0, 0);
    QTest::newRow("blue in the high byte") << qint64(0xC00000) << QColor(0, 0, 192);
    QTest::newRow("orange") << qint64(0x0080FF) << QColor(255, 128, 0);
    QTest::newRow("purple") << qint64(0xC000C0) << QColor(192, 0, 192);
    QTest::newRow("top byte ignored") << qint64(0x80008000) << QColor(0, 128, 0);
}

void tst_ctlChart::vbColor()
{
    QFETCH(qint64, value);
    QFETCH(QColor, colour);
    QCOMPARE(ctlChart::vbColor(value), colour);
}

void tst_ctlChart::stepChartShowsCurveLinesAndBullets()
{
    ctlChart chart;
    chart.setCurvecolor(QColor(0, 160, 0));
    chart.setAxistypey(1);
    chart.setFormaty(QStringLiteral("0.00E-00"));
    const QImage blank = chart.renderImage(10, 96);
    drawStepChart(chart, {10, 7, 3}, {1e-5, 2e-4, 8e-4});

    const QList<QCPCurve*> curves = curvesWithLines(chart.plot());
    QCOMPARE(curves.size(), 1);
    QCOMPARE(curves.first()->dataCount(), 5);
    // Row order is kept although X falls and repeats.
    const QVector<double> expectedX = {10, 7, 7, 3, 3};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(curves.first()->data()->at(i)->key, expectedX[i]);
    QCOMPARE(chart.plot()->itemCount(), 3); // one LineTo per data point
    QCOMPARE(bulletCount(chart.plot()), 3);

    const QImage drawn = chart.renderImage(10, 96);
    QCOMPARE(pixelsNear(blank, Qt::red), 0);
    QVERIFY(pixelsNear(drawn, Qt::red) > 3 * 20);                                       // three bullets
    QVERIFY(pixelsNear(drawn, QColor(0, 160, 0)) > 100);                                // the risers of the step curve
    QVERIFY(pixelsNear(drawn, Qt::black, 60) > pixelsNear(blank, Qt::black, 60) + 100); // the treads
}

void tst_ctlChart::clearChartRemovesDrawingKeepsProperties()
{
    ctlChart chart;
    chart.setCurvecolor(QColor(0, 160, 0));
    chart.setPolygonflag(true);
    drawStepChart(chart, {4, 2, 1}, {1e-4, 1e-4, 1e-4});
    QVERIFY(chart.plot()->plottableCount() > 0);
    const double maxy = chart.maxy();

    chart.ClearChart();
    QCOMPARE(chart.plot()->plottableCount(), 0);
    QCOMPARE(chart.plot()->itemCount(), 0);
    QImage image = chart.renderImage(10, 96);
    QCOMPARE(pixelsNear(image, Qt::red), 0);
    QCOMPARE(pixelsNear(image, QColor(0, 160, 0)), 0);

    // The recorded drawing is gone too, not only its display.
    chart.Redraw();
    QCOMPARE(chart.plot()->plottableCount(), 0);
    QCOMPARE(chart.plot()->itemCount(), 0);
    QCOMPARE(chart.polygonflag(), true);
    QCOMPARE(chart.maxy(), maxy);
}

void tst_ctlChart::lineToStartsAtCurrentPosition()
{
    ctlChart chart;
    chart.MoveTo(1, 1);
    chart.ClearChart(); // forgets the position as well
    chart.LineTo(2, 2, 3, 0);
    chart.LineTo(3, 4, 3, 0);
    chart.MoveTo(5, 5);
    chart.DrawBullet(9, 9, 11, 0); // does not move
    chart.LineTo(6, 7, 3, 0);
    chart.Redraw();

    QCOMPARE(chart.plot()->itemCount(), 2);
    const QList<QLineF> expected = {QLineF(2, 2, 3, 4), QLineF(5, 5, 6, 7)};
    for (int i = 0; i < 2; ++i) {
        auto* line = qobject_cast<QCPItemLine*>(chart.plot()->item(i));
        QVERIFY(line);
        QCOMPARE(QLineF(line->start->coords(), line->end->coords()), expected[i]);
    }
}

void tst_ctlChart::drawingAttributes_data()
{
    QTest::addColumn<bool>("polygonflag");
    QTest::addColumn<int>("bulletCode");
    QTest::addColumn<int>("bulletColour");
    QTest::addColumn<int>("shape");
    QTest::addColumn<QColor>("bulletQColor");
    QTest::addColumn<int>("curveStyle");
    QTest::newRow("F/n chart: red disc, solid curve")
        << false << 11 << 255 << int(QCPScatterStyle::ssDisc) << QColor(Qt::red) << int(Qt::SolidLine);
    QTest::newRow("fatalities polygon: black disc, dashed curve")
        << true << 11 << 0 << int(QCPScatterStyle::ssDisc) << QColor(Qt::black) << int(Qt::DashLine);
    QTest::newRow("other bullet code: open circle")
        << false << 4 << 0xFF0000 << int(QCPScatterStyle::ssCircle) << QColor(Qt::blue) << int(Qt::SolidLine);
}

void tst_ctlChart::drawingAttributes()
{
    QFETCH(bool, polygonflag);
    QFETCH(int, bulletCode);
    QFETCH(int, bulletColour);
    QFETCH(int, shape);
    QFETCH(QColor, bulletQColor);
    QFETCH(int, curveStyle);

    ctlChart chart;
    chart.setBulletwidth(2);
    chart.setCurvecolor(QColor(0, 0, 255));
    chart.ClearChart();
    chart.setPolygonflag(polygonflag);
    chart.PlotCurve({{1, 1}, {2, 3}, {3, 2}});
    chart.MoveTo(1, 1);
    chart.LineTo(2, 1, 3, 0);
    chart.DrawBullet(2, 3, bulletCode, bulletColour);
    chart.Redraw();

    const QList<QCPCurve*> curves = curvesWithLines(chart.plot());
    QCOMPARE(curves.size(), 1);
    QCOMPARE(int(curves.first()->pen().style()), curveStyle);
    QCOMPARE(curves.first()->pen().color(), QColor(0, 0, 255));

    const QList<QCPCurve*> bullets = bulletCurves(chart.plot());
    QCOMPARE(bullets.size(), 1);
    QCOMPARE(int(bullets.first()->scatterStyle().shape()), shape);
    QCOMPARE(bullets.first()->scatterStyle().pen().color(), bulletQColor);
    QVERIFY(bullets.first()->scatterStyle().size() >= 6);

    auto* line = qobject_cast<QCPItemLine*>(chart.plot()->item(0));
    QVERIFY(line);
    QCOMPARE(line->pen().color(), QColor(Qt::black));
    QCOMPARE(line->pen().widthF(), 3.0);
}

void tst_ctlChart::axisTicks_data()
{
    QTest::addColumn<int>("axistype");
    QTest::addColumn<double>("lower");
    QTest::addColumn<double>("upper");
    QTest::addColumn<int>("divisions");
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("tickCount");
    QTest::addColumn<QStringList>("labels");

    const QString sci = QStringLiteral("0.00E-00");
    const QString whole = QStringLiteral("0");
    QTest::newRow("log F axis, one tick per decade")
        << 1 << 9e-6 << 1.1e-3 << 10 << sci << 3 << QStringList{"1,00E-05", "1,00E-04", "1,00E-03"};
    QTest::newRow("log whole-number axis shows 0,1 not 0")
        << 1 << 0.1 << 120.0 << 10 << whole << 4 << QStringList{"0,1", "1", "10", "100"};
    QTest::newRow("log damage axis below one")
        << 1 << 0.001 << 44.0 << 10 << whole << 5 << QStringList{"0,001", "0,01", "0,1", "1", "10"};
    QTest::newRow("log, many decades sub-sampled")
        << 1 << 1e-12 << 1e12 << 10 << sci << 9
        << QStringList{"1,00E-12", "1,00E-09", "1,00E-06", "1,00E-03", "1,00E00",
                       "1,00E03",  "1,00E06",  "1,00E09",  "1,00E12"};
    QTest::newRow("log, one decade tick: 1-2-5 mantissas")
        << 1 << 3e-5 << 4e-4 << 10 << sci << 3 << QStringList{"5,00E-05", "1,00E-04", "2,00E-04"};
    QTest::newRow("log, narrower than a mantissa step: linear steps")
        << 1 << 1.8e-4 << 2.2e-4 << 4 << sci << 5
        << QStringList{"1,80E-04", "1,90E-04", "2,00E-04", "2,10E-04", "2,20E-04"};
    QTest::newRow("linear, ten divisions")
        << 0 << 0.0 << 10.0 << 10 << whole << 11 << QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
    QTest::newRow("linear, round steps nearest to the divisions")
        << 0 << 0.0 << 8.0 << 10 << whole << 9 << QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "8"};
    QTest::newRow("linear, whole format with fractional step")
        << 0 << 0.0 << 4.0 << 8 << whole << 9
        << QStringList{"0,0", "0,5", "1,0", "1,5", "2,0", "2,5", "3,0", "3,5", "4,0"};
    QTest::newRow("linear, steps of 2,5")
        << 0 << 0.0 << 10.0 << 4 << whole << 5 << QStringList{"0,0", "2,5", "5,0", "7,5", "10,0"};
    // The fatalities F/n chart of the sample object: ticks at 5, 10, ... rather than at 0,1 + 4,09 k.
    QTest::newRow("linear 0,1..41")
        << 0 << 0.1 << 41.0 << 10 << whole << 8 << QStringList{"5", "10", "15", "20", "25", "30", "35", "40"};
    QTest::newRow("linear 0,5..12,5 labels 3 and 9")
        << 0 << 0.5 << 12.5 << 10 << whole << 12
        << QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"};
    QTest::newRow("linear 0..40001")
        << 0 << 0.0 << 40001.0 << 10 << whole << 9
        << QStringList{"0", "5000", "10000", "15000", "20000", "25000", "30000", "35000", "40000"};
    QTest::newRow("linear 1,5..1,7 shows the decimals needed")
        << 0 << 1.5 << 1.7 << 10 << whole << 11
        << QStringList{"1,50", "1,52", "1,54", "1,56", "1,58", "1,60", "1,62", "1,64", "1,66", "1,68", "1,70"};
    QTest::newRow("linear, scientific keeps its format")
        << 0 << 0.5 << 12.5 << 5 << sci << 5 << QStringList{"2,50E00", "5,00E00", "7,50E00", "1,00E01", "1,25E01"};
    QTest::newRow("linear, scientific with more digits than its format")
        << 0 << 10000.0 << 10100.0 << 4 << sci << 5
        << QStringList{"1,0000E04", "1,0025E04", "1,0050E04", "1,0075E04", "1,0100E04"};
    QTest::newRow("linear, scientific") << 0 << 0.0 << 1e-3 << 4 << sci << 5
                                        << QStringList{"0,00E00", "2,50E-04", "5,00E-04", "7,50E-04", "1,00E-03"};
    QTest::newRow("linear across zero") << 0 << -1.0 << 1.0 << 4 << QStringLiteral("0.0") << 5
                                        << QStringList{"-1,0", "-0,5", "0,0", "0,5", "1,0"};
    QTest::newRow("linear, bounds not on the step grid")
        << 0 << 2.0 << 5.0 << 3 << whole << 4 << QStringList{"2", "3", "4", "5"};
    QTest::newRow("zero divisions: the bounds") << 0 << 0.0 << 10.0 << 0 << whole << 2 << QStringList{"0", "10"};
    QTest::newRow("negative divisions: the bounds") << 0 << 0.0 << 10.0 << -5 << whole << 2 << QStringList{"0", "10"};
    QStringList everyFifth;
    for (int v = 0; v <= 100; v += 5)
        everyFifth.append(QString::number(v));
    QTest::newRow("huge divisions capped, labels thinned") << 0 << 0.0 << 100.0 << 32767 << whole << 101 << everyFifth;
}

void tst_ctlChart::axisTicks()
{
    QFETCH(int, axistype);
    QFETCH(double, lower);
    QFETCH(double, upper);
    QFETCH(int, divisions);
    QFETCH(QString, format);
    QFETCH(int, tickCount);
    QFETCH(QStringList, labels);

    // Once on each axis: both must tick alike.
    for (const bool onX : {false, true}) {
        ctlChart chart;
        chart.resize(600, 450);
        drawAxis(chart, onX, axistype, lower, upper, divisions, format);
        QCPAxis* axis = onX ? chart.plot()->xAxis : chart.plot()->yAxis;
        QCOMPARE(axis->range().lower, lower);
        QCOMPARE(axis->range().upper, upper);
        QCOMPARE(axis->tickVector().size(), tickCount);
        QCOMPARE(shownLabels(axis), labels);
    }
}

void tst_ctlChart::labelsStateTheirPositions_data()
{
    QTest::addColumn<int>("axistype");
    QTest::addColumn<double>("lower");
    QTest::addColumn<double>("upper");
    QTest::addColumn<int>("divisions");
    QTest::addColumn<QString>("format");

    const QVector<QPair<double, double>> ranges{{0.1, 41}, {0.5, 12.5}, {0.1, 11}, {0, 40001}, {1.5, 1.7},
                                                {0.01, 310.31}, {9e-6, 1.1e-3}, {-3.3, 7.7}, {1e6, 1e6 + 1}};
    for (const auto& [lower, upper] : ranges)
        for (const int type : {0, 1})
            for (const QString& format : {QStringLiteral("0"), QStringLiteral("0.00E-00")})
                for (const int divisions : {10, 3, 100}) {
                    const QString name = QStringLiteral("%1..%2 %3 %4 in %5")
                                             .arg(lower)
                                             .arg(upper)
                                             .arg(type ? "log" : "linear", format)
                                             .arg(divisions);
                    QTest::newRow(qPrintable(name)) << type << lower << upper << divisions << format;
                }
}

void tst_ctlChart::labelsStateTheirPositions()
{
    QFETCH(int, axistype);
    QFETCH(double, lower);
    QFETCH(double, upper);
    QFETCH(int, divisions);
    QFETCH(QString, format);

    for (const bool onX : {false, true}) {
        ctlChart chart;
        chart.resize(600, 450);
        drawAxis(chart, onX, axistype, lower, upper, divisions, format);

        QCPAxis* axis = onX ? chart.plot()->xAxis : chart.plot()->yAxis;
        const QVector<double> ticks = axis->tickVector();
        const QVector<QString> labels = axis->tickVectorLabels();
        QCOMPARE(labels.size(), ticks.size());
        QVERIFY(shownLabels(axis).size() >= 2);
        for (qsizetype i = 0; i < ticks.size(); ++i) {
            if (labels[i].isEmpty())
                continue;
            const std::optional<Stated> stated = readLabel(labels[i]);
            const QString what = QStringLiteral("label %1 at %2").arg(labels[i]).arg(ticks[i], 0, 'g', 17);
            QVERIFY2(stated, qPrintable(what));
            QVERIFY2(std::fabs(stated->value - ticks[i]) <= stated->unit / 2, qPrintable(what));
        }

        if (axistype == 0 && divisions > 1) {
            // Round steps, about as many as asked for.
            const double gap = ticks[1] - ticks[0];
            const double power = std::pow(10.0, std::floor(std::log10(gap) + 1e-9));
            const double mantissa = std::round(gap / power * 1e6) / 1e6;
            QVERIFY2(QVector<double>({1, 2, 2.5, 5}).contains(mantissa), qPrintable(QString::number(gap)));
            const double step = mantissa * power;
            const double steps = (upper - lower) / step;
            QVERIFY2(steps >= divisions / 1.5 && steps <= divisions * 1.5, qPrintable(QString::number(steps)));
            for (const double t : ticks)
                QVERIFY(std::fabs(t / step - std::round(t / step)) < 1e-6);
        }
    }
}

void tst_ctlChart::bulletsLieInsideThePlotArea_data()
{
    QTest::addColumn<int>("axistypex");
    QTest::addColumn<QPointF>("lower");
    QTest::addColumn<QPointF>("upper");
    QTest::addColumn<QVector<QPointF>>("bullets");
    QTest::addColumn<QSize>("size");

    const QSize screen(600, 450);
    const QSize small(300, 220);
    // Y is logarithmic throughout, as on every result chart.
    const QVector<QPointF> corners{{1, 1e-5}, {8, 1e-5}, {1, 1e-3}, {8, 1e-3}};
    QTest::newRow("linear X, bullets on every corner") << 0 << QPointF(1, 1e-5) << QPointF(8, 1e-3) << corners
                                                       << screen;
    QTest::newRow("small chart, bullets on every corner")
        << 0 << QPointF(1, 1e-5) << QPointF(8, 1e-3) << corners << small;
    // The damage polygon of the sample object: its largest value sits 0,1 % below the upper X bound and its
    // largest frequency a tenth below the upper Y bound.
    QTest::newRow("damage polygon") << 1 << QPointF(0.01, 9e-5) << QPointF(310.31, 2.2e-3)
                                    << QVector<QPointF>{{0.01, 1e-4}, {5, 3e-4}, {310, 2e-3}} << screen;
    QTest::newRow("log X, bullets on every corner")
        << 1 << QPointF(1, 1e-5) << QPointF(8, 1e-3) << corners << small;
    // A redraw of that polygon rounds its upper X bound to 310 while the point at 310,31 is still drawn.
    QTest::newRow("bullet a hair beyond the bound")
        << 1 << QPointF(0.01, 9e-5) << QPointF(310, 2.2e-3) << QVector<QPointF>{{0.01, 1e-4}, {310.31, 2e-3}}
        << screen;
    QTest::newRow("fatalities F/n") << 0 << QPointF(0.1, 1.8e-5) << QPointF(41, 5.5e-3)
                                    << QVector<QPointF>{{1, 5e-3}, {3, 1e-3}, {40, 2e-5}} << screen;
}

void tst_ctlChart::bulletsLieInsideThePlotArea()
{
    QFETCH(int, axistypex);
    QFETCH(QPointF, lower);
    QFETCH(QPointF, upper);
    QFETCH(QVector<QPointF>, bullets);
    QFETCH(QSize, size);

    ctlChart chart;
    chart.resize(size);
    chart.show(); // lays the plot out at that size
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    chart.ClearChart();
    chart.setAxistypex(axistypex);
    chart.setAxistypey(1);
    chart.setMinx(lower.x());
    chart.setMaxx(upper.x());
    chart.setMiny(lower.y());
    chart.setMaxy(upper.y());
    for (const QPointF& b : bullets)
        chart.DrawBullet(b.x(), b.y(), 11, 255);
    const QPointF far(upper.x() * 3, upper.y() * 3); // beyond the bounds: stays out of view
    chart.DrawBullet(far.x(), far.y(), 11, 255);
    chart.Redraw();

    QCustomPlot* plot = chart.plot();
    const QRect area = plot->axisRect()->rect();
    const double radius = (3 + 2 * chart.bulletwidth()) / 2.0;
    for (const QPointF& p : bulletPixels(plot)) {
        if (!plot->xAxis->range().contains(plot->xAxis->pixelToCoord(p.x())) ||
            !plot->yAxis->range().contains(plot->yAxis->pixelToCoord(p.y())))
            continue;
        const QString where = QStringLiteral("bullet at (%1, %2) px in %3..%4 x %5..%6")
                                  .arg(p.x())
                                  .arg(p.y())
                                  .arg(area.left())
                                  .arg(area.left() + area.width())
                                  .arg(area.top())
                                  .arg(area.top() + area.height());
        QVERIFY2(p.x() - radius >= area.left() && p.x() + radius <= area.left() + area.width(), qPrintable(where));
        QVERIFY2(p.y() - radius >= area.top() && p.y() + radius <= area.top() + area.height(), qPrintable(where));
    }
    // Every bullet within the bounds is in view; the axes still span the bounds and not much more.
    QCOMPARE(bulletPixels(plot).size(), bullets.size() + 1);
    for (const QPointF& b : bullets) {
        QVERIFY(plot->xAxis->range().contains(b.x()));
        QVERIFY(plot->yAxis->range().contains(b.y()));
    }
    QVERIFY(!plot->xAxis->range().contains(far.x()));
    QVERIFY(!plot->yAxis->range().contains(far.y()));
    QVERIFY(plot->xAxis->range().contains(lower.x()) && plot->xAxis->range().contains(upper.x()));
    QVERIFY(plot->yAxis->range().contains(lower.y()) && plot->yAxis->range().contains(upper.y()));
    QCOMPARE(chart.minx(), lower.x()); // the properties keep what was written
    QCOMPARE(chart.maxy(), upper.y());
}

void tst_ctlChart::exportedBulletAtACornerIsWhole()
{
    // The picture lays the chart out anew at its own size: the bullet must be whole there too.
    ctlChart chart;
    chart.resize(300, 200);
    chart.ClearChart();
    chart.setAxistypey(1);
    chart.setMinx(1);
    chart.setMaxx(8);
    chart.setMiny(1e-5);
    chart.setMaxy(1e-3);
    chart.DrawBullet(8, 1e-3, 11, 255);
    chart.Redraw();
    const QImage image = chart.renderImage(8, 96);
    const QRect disc = boxOf(image, Qt::red, 60);
    QVERIFY(!disc.isEmpty());
    const QString size = QStringLiteral("%1 x %2").arg(disc.width()).arg(disc.height());
    QVERIFY2(disc.width() >= 5 && disc.height() >= 5 && std::abs(disc.width() - disc.height()) <= 1,
             qPrintable(size));
}

void tst_ctlChart::awkwardInputStillDraws_data()
{
    QTest::addColumn<int>("axistype");
    QTest::addColumn<double>("lower");
    QTest::addColumn<double>("upper");
    QTest::addColumn<int>("divisions");
    QTest::addColumn<int>("points"); // curve points (and bullets on every second one)
    QTest::addColumn<double>("pointScale");

    QTest::newRow("log, lower bound zero") << 1 << 0.0 << 1e-3 << 10 << 20 << 1e-4;
    QTest::newRow("log, both bounds negative") << 1 << -5.0 << -1.0 << 10 << 20 << 1.0;
    QTest::newRow("log, tiny positive bound") << 1 << 1e-320 << 1.0 << 10 << 20 << 1e-3;
    QTest::newRow("log, equal bounds") << 1 << 2e-4 << 2e-4 << 10 << 20 << 1e-5;
    QTest::newRow("linear, min above max") << 0 << 10.0 << 1.0 << 10 << 20 << 1.0;
    QTest::newRow("linear, equal bounds") << 0 << 5.0 << 5.0 << 10 << 20 << 1.0;
    QTest::newRow("linear, equal zero bounds") << 0 << 0.0 << 0.0 << 10 << 20 << 1.0;
    QTest::newRow("linear, huge bounds") << 0 << -1e308 << 1e308 << 10 << 20 << 1e300;
    QTest::newRow("NaN lower bound") << 0 << NaN << 5.0 << 10 << 20 << 1.0;
    QTest::newRow("both bounds NaN") << 1 << NaN << NaN << 10 << 20 << 1.0;
    QTest::newRow("infinite bounds") << 0 << -Inf << Inf << 10 << 20 << 1.0;
    QTest::newRow("log, infinite upper bound") << 1 << 1e-6 << Inf << 10 << 20 << 1e-5;
    QTest::newRow("zero divisions") << 0 << 0.0 << 10.0 << 0 << 20 << 1.0;
    QTest::newRow("negative divisions, log") << 1 << 1e-6 << 1e-2 << -3 << 20 << 1e-4;
    QTest::newRow("huge divisions, log over many decades") << 1 << 1e-200 << 1e200 << 32767 << 20 << 1.0;
    QTest::newRow("huge divisions, linear") << 0 << 0.0 << 1.0 << 32767 << 20 << 0.05;
    QTest::newRow("empty curve") << 0 << 0.0 << 10.0 << 10 << 0 << 1.0;
    QTest::newRow("single point") << 1 << 1e-5 << 1e-3 << 10 << 1 << 1e-4;
    QTest::newRow("2000 points") << 1 << 1e-7 << 1.0 << 10 << 2000 << 1e-4;
    QTest::newRow("points far outside the axes") << 0 << 0.0 << 1.0 << 10 << 50 << 1e300;
}

void tst_ctlChart::awkwardInputStillDraws()
{
    QFETCH(int, axistype);
    QFETCH(double, lower);
    QFETCH(double, upper);
    QFETCH(int, divisions);
    QFETCH(int, points);
    QFETCH(double, pointScale);

    ctlChart chart;
    chart.resize(500, 380);
    chart.setCurvecolor(QColor(0, 160, 0));
    chart.setFormatx(QStringLiteral("0"));
    chart.setFormaty(QStringLiteral("0.00E-00"));
    chart.ClearChart();
    chart.setAxistypex(axistype);
    chart.setAxistypey(axistype);
    chart.setMinx(lower);
    chart.setMaxx(upper);
    chart.setMiny(lower);
    chart.setMaxy(upper);
    chart.setTickfreqx(qint16(divisions));
    chart.setTickfreqy(qint16(divisions));
    QVector<QPointF> curve;
    for (int i = 0; i < points; ++i) {
        const QPointF p((i + 1) * pointScale, (points - i) * pointScale);
        curve.append(p);
        if (i == 0)
            chart.MoveTo(p.x(), p.y());
        if (i % 2 == 0) {
            chart.LineTo(p.x(), p.y(), 3, 0);
            chart.DrawBullet(p.x(), p.y(), 11, 255);
        }
    }
    chart.PlotCurve(curve);
    chart.Redraw();

    // What was written reads back unchanged, whatever is shown.
    QCOMPARE(std::isnan(chart.minx()), std::isnan(lower));
    if (!std::isnan(lower))
        QCOMPARE(chart.minx(), lower);

    for (QCPAxis* axis : {chart.plot()->xAxis, chart.plot()->yAxis}) {
        const QCPRange range = axis->range();
        QVERIFY(std::isfinite(range.lower) && std::isfinite(range.upper));
        QVERIFY(range.lower < range.upper);
        if (axistype == 1)
            QVERIFY(range.lower > 0);
        // Usable bounds of a sane magnitude stay in view; equal ones are widened around the value.
        for (const double bound : {lower, upper})
            if (std::fabs(bound) <= 1e100 && (axistype == 0 || bound >= 1e-100))
                QVERIFY2(range.contains(bound), qPrintable(QString::number(bound)));
        QVERIFY(axis->tickVector().size() >= 2);
        QVERIFY(axis->tickVector().size() <= 101);
        QVERIFY(shownLabels(axis).size() >= 2);
        QVERIFY(shownLabels(axis).size() <= 21);
    }

    const QImage image = chart.renderImage(8, 96);
    QVERIFY(!image.isNull());
    QVERIFY(pixelsNear(image, Qt::black, 60) > 200); // frame and labels at least
}

void tst_ctlChart::logLowerBoundAtZeroKeepsDataInView()
{
    // Whole-number bounds of a damage polygon on a log axis: 0,001 becomes 0.
    ctlChart chart;
    chart.ClearChart();
    chart.setAxistypex(1);
    chart.setMinx(0);
    chart.setMaxx(40);
    chart.setAxistypey(1);
    chart.setMiny(1e-6);
    chart.setMaxy(1e-3);
    chart.PlotCurve({{0.005, 1e-4}, {2, 2e-5}, {40, 1e-5}});
    chart.DrawBullet(0.005, 1e-4, 11, 0);
    chart.Redraw();
    const QCPRange range = chart.plot()->xAxis->range();
    QVERIFY(range.lower > 0);
    QVERIFY(range.lower < 0.005);
    QCOMPARE(range.upper, 40.0);
    QCOMPARE(chart.minx(), 0.0);
}

void tst_ctlChart::renderImageAtPrintResolution()
{
    ctlChart chart;
    drawStepChart(chart, {5, 1}, {1e-4, 1e-3});
    const QImage image = chart.renderImage();
    QCOMPARE(image.width(), 1772); // 15 cm at 300 dpi
    QVERIFY(qAbs(image.height() - 1772 * 3 / 4) <= 2);
    QCOMPARE(image.dotsPerMeterX(), qRound(300 / 0.0254));
    // Same picture whatever size the widget has on screen.
    chart.resize(300, 200);
    QCOMPARE(chart.renderImage().size(), image.size());
}

void tst_ctlChart::clipboardHoldsTheRenderedImage()
{
    ctlChart chart;
    chart.setAxistypey(1);
    chart.setFormaty(QStringLiteral("0.00E-00"));
    drawStepChart(chart, {3, 2, 1}, {1e-5, 1e-4, 1e-3});
    QGuiApplication::clipboard()->clear();
    chart.CopyToClipboard();
    const QImage copied = QGuiApplication::clipboard()->image();
    const QImage rendered = chart.renderImage();
    QCOMPARE(copied.size(), rendered.size());
    QCOMPARE(copied.convertToFormat(QImage::Format_RGB32), rendered.convertToFormat(QImage::Format_RGB32));
}

void tst_ctlChart::otherBoundsGiveOtherPicture()
{
    ctlChart chart;
    chart.setAxistypey(1);
    drawStepChart(chart, {6, 2}, {1e-5, 1e-4});
    const QImage first = chart.renderImage(8, 96);
    chart.Redraw(); // the same drawing again is the same picture
    QCOMPARE(chart.renderImage(8, 96), first);
    chart.setMaxy(1.0);
    chart.Redraw();
    QVERIFY(chart.renderImage(8, 96) != first);
}


void tst_ctlChart::overlaysKeptThroughRedrawsWithLegend()
{
    ctlChart chart;
    chart.resize(500, 380);
    const QColor teal(0, 128, 128);
    const QColor brown(140, 70, 20);
    QVector<QPointF> line;
    for (double n = 1; n <= 100; n *= 1.1)
        line.append({n, 1e-3 / (n * n)});
    chart.setOverlays({{QStringLiteral("Дания"), teal, line}, {QStringLiteral("Точка"), brown, {{5, 1e-4}}}});

    for (int type : {1, 0}) { // log axes, then linear: every redraw starts with ClearChart
        chart.setAxistypex(type);
        chart.setAxistypey(type);
        drawStepChart(chart, {10, 7, 3}, {1e-5, 2e-4, 8e-4});
        QCPLegend* legend = chart.plot()->legend;
        QVERIFY(legend->visible());
        QCOMPARE(legend->itemCount(), 2); // the overlays only, not the step curve
        QCOMPARE(static_cast<QCPPlottableLegendItem*>(legend->item(0))->plottable()->name(), QStringLiteral("Дания"));
        QVERIFY2(pixelsNear(chart.renderImage(10, 96), teal, 30) > 40, "the line is drawn");
        QVERIFY2(pixelsNear(chart.renderImage(10, 96), brown, 30) > 20, "the single point is drawn");
    }

    chart.setOverlays({});
    drawStepChart(chart, {10, 7, 3}, {1e-5, 2e-4, 8e-4});
    QVERIFY(!chart.plot()->legend->visible());
    QCOMPARE(pixelsNear(chart.renderImage(10, 96), teal, 30), 0);
}

QTEST_MAIN(tst_ctlChart)
#include "tst_ctlChart.moc"

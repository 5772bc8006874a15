#include "components/ctlChart.h"

#include "components/ChartTicker.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMap>
#include <QResizeEvent>
#include <QVBoxLayout>

#include <qcustomplot.h>

#include <cmath>
#include <functional>

namespace {

// QCPRange refuses ranges beyond 1e250 and log ranges whose upper/lower ratio overflows a double.
constexpr double BoundLimit = 1e200;
constexpr double TinyBound = 1e-200;
constexpr double LogLow = 1e-150;
constexpr double LogHigh = 1e150;

bool finite(const QPointF& p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

// The range an axis can show for the bounds as written (see the class comment).
QCPRange shownRange(double a, double b, bool logarithmic, double dataMinPositive)
{
    const bool usableA = std::isfinite(a);
    const bool usableB = std::isfinite(b);
    if (!usableA && !usableB)
        return logarithmic ? QCPRange(0.1, 10) : QCPRange(0, 10);
    if (!usableA)
        a = b;
    if (!usableB)
        b = a;
    double lo = qBound(-BoundLimit, qMin(a, b), BoundLimit);
    double hi = qBound(-BoundLimit, qMax(a, b), BoundLimit);

    if (logarithmic) {
        if (hi <= 0)
            return QCPRange(0.1, 10);
        if (lo <= 0)
            lo = dataMinPositive > 0 && dataMinPositive * 0.9 < hi ? dataMinPositive * 0.9 : hi / 1000;
        lo = qBound(LogLow, lo, LogHigh);
        hi = qBound(LogLow, hi, LogHigh);
        if (hi <= lo * (1 + 1e-9)) {
            lo /= 1.1;
            hi *= 1.1;
        }
        return QCPRange(lo, hi);
    }
    const double magnitude = qMax(std::fabs(lo), std::fabs(hi));
    if (hi - lo <= 1e-9 * magnitude || hi - lo < TinyBound) {
        const double widen = magnitude < TinyBound ? 1.0 : magnitude * 0.1;
        lo -= widen;
        hi += widen;
    }
    return QCPRange(lo, hi);
}

// Greedy word wrap so a long axis title stays within the axis length instead of running off the picture.
QString wrapped(const QString& text, const QFontMetrics& metrics, int width)
{
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '))) {
        const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(candidate) > width) {
            lines.append(line);
            line = word;
        } else {
            line = candidate;
        }
    }
    lines.append(line);
    return lines.join(QLatin1Char('\n'));
}

// A plot that lets its owner adjust the axis ranges once the axis lengths are known, on screen and in pictures
// of another size alike (both lay out through updateLayout).
class FittingPlot : public QCustomPlot {
public:
    using QCustomPlot::QCustomPlot;
    std::function<bool()> fitRanges; // true when it changed a range

protected:
    void updateLayout() override
    {
        QCustomPlot::updateLayout();
        // New ranges bring new tick labels and so slightly other axis lengths: settle in a few passes.
        for (int pass = 0; pass < 3 && fitRanges && fitRanges(); ++pass)
            QCustomPlot::updateLayout();
    }
};

} // namespace

ctlChart::ctlChart(QWidget* parent)
    : QWidget(parent), m_plot(new FittingPlot(this)), m_tickerX(new ChartTicker), m_tickerY(new ChartTicker)
{
    static_cast<FittingPlot*>(m_plot)->fitRanges = [this] { return fitBullets(); };
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_plot);

    m_plot->setAntialiasedElements(QCP::aePlottables | QCP::aeItems | QCP::aeScatters);
    m_plot->xAxis->setTicker(m_tickerX);
    m_plot->yAxis->setTicker(m_tickerY);

    QFont tickFont = font();
    tickFont.setPixelSize(11);
    QFont titleFont = font();
    titleFont.setPixelSize(12);
    for (QCPAxis* axis : {m_plot->xAxis, m_plot->yAxis}) {
        axis->setTickLabelFont(tickFont);
        axis->setLabelFont(titleFont);
        axis->setTickLengthIn(5);
        axis->setSubTickLengthIn(3);
        axis->grid()->setPen(QPen(QColor(170, 170, 170), 0, Qt::SolidLine));
        axis->grid()->setSubGridPen(QPen(QColor(215, 215, 215), 0, Qt::DotLine));
        axis->grid()->setZeroLinePen(Qt::NoPen);
    }
    // Room for half of the last X label and of the top Y label: QCustomPlot drops a label that would be cut.
    m_plot->axisRect()->setMinimumMargins(QMargins(15, 12, 30, 15));
    // The top and right axes only close the frame around the chart area.
    for (QCPAxis* axis : {m_plot->xAxis2, m_plot->yAxis2}) {
        axis->setVisible(true);
        axis->setTicks(false);
        axis->setTickLabels(false);
        axis->grid()->setVisible(false);
    }

    QFont legendFont = font();
    legendFont.setPixelSize(10);
    m_plot->legend->setFont(legendFont);
    m_plot->legend->setBrush(QColor(255, 255, 255, 220));
    m_plot->axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignRight);
    m_plot->legend->setVisible(false);

    applyAppearance();
    applyAxes();
    m_plot->replot();
}

ctlChart::~ctlChart() = default;

QColor ctlChart::vbColor(qint64 value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

void ctlChart::setTitlex(const QString& v)
{
    m_titlex = v;
    applyTitles(size());
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void ctlChart::setTitley(const QString& v)
{
    m_titley = v;
    applyTitles(size());
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void ctlChart::setAxistitlecolor(const QColor& v)
{
    m_axistitlecolor = v;
    applyAppearance();
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void ctlChart::setAxiscolor(const QColor& v)
{
    m_axiscolor = v;
    applyAppearance();
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void ctlChart::setChartbackcolor(const QColor& v)
{
    m_chartbackcolor = v;
    applyAppearance();
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void ctlChart::setBackcolor(const QColor& v)
{
    m_backcolor = v;
    applyAppearance();
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void ctlChart::ClearChart()
{
    m_hasPosition = false;
    m_segments.clear();
    m_bullets.clear();
    m_curves.clear();
    m_plot->clearPlottables();
    m_plot->clearItems();
    m_plot->replot();
}

void ctlChart::MoveTo(double x, double y)
{
    m_position = QPointF(x, y);
    m_hasPosition = true;
}

void ctlChart::LineTo(double x, double y, int code, int colour)
{
    const QPointF to(x, y);
    if (m_hasPosition)
        m_segments.append({m_position, to, code, colour});
    m_position = to;
    m_hasPosition = true;
}

void ctlChart::DrawBullet(double x, double y, int code, int colour)
{
    m_bullets.append({QPointF(x, y), code, colour});
}

void ctlChart::PlotCurve(const QVector<QPointF>& points)
{
    m_curves.append(points);
}

void ctlChart::Redraw()
{
    applyAppearance();
    applyAxes();
    rebuildDrawing();
    m_plot->replot();
}

void ctlChart::CopyToClipboard()
{
    QGuiApplication::clipboard()->setImage(renderImage());
}

ctlChart::PlotFonts ctlChart::plotFonts() const
{
    return {m_plot->xAxis->tickLabelFont(), m_plot->xAxis->labelFont(), m_plot->legend->font()};
}

void ctlChart::setPlotFonts(const PlotFonts& fonts)
{
    for (QCPAxis* axis : {m_plot->xAxis, m_plot->yAxis}) {
        axis->setTickLabelFont(fonts.ticks);
        axis->setLabelFont(fonts.titles);
    }
    m_plot->legend->setFont(fonts.legend);
    for (int i = 0; i < m_plot->legend->itemCount(); ++i)
        if (QCPAbstractLegendItem* item = m_plot->legend->item(i))
            item->setFont(fonts.legend);
}

ctlChart::PlotFonts ctlChart::PictureFonts(const PlotFonts& screen)
{
    const auto serif = [](QFont font, int pixels) {
        font.setFamilies({QStringLiteral("Times New Roman")});
        font.setPixelSize(pixels);
        return font;
    };
    return {serif(screen.ticks, 13), serif(screen.titles, 15), serif(screen.legend, 13)};
}

QImage ctlChart::renderImage(double widthCm, int dpi)
{
    if (!(widthCm > 0.5 && widthCm < 100))
        widthCm = 15.0;
    dpi = qBound(24, dpi, 1200);
    // Laid out at screen size (96 logical pixels per inch) and scaled up, so the picture's fonts and pens keep
    // the proportions of the chart on screen.
    const int width = qRound(widthCm / 2.54 * 96);
    const int height = qRound(width * 0.75);
    // The picture's text in the documents' serif face, at the sizes of small print beside 12 pt body text
    // (a logical pixel is 3/4 pt in the document).
    const PlotFonts onScreen = plotFonts();
    setPlotFonts(PictureFonts(onScreen));
    applyTitles(QSize(width, height));
    QImage image = m_plot->toPixmap(width, height, dpi / 96.0).toImage();
    setPlotFonts(onScreen);
    applyTitles(size());
    m_plot->replot(QCustomPlot::rpQueuedReplot); // the export left the export size's layout behind
    const int dotsPerMeter = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

void ctlChart::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    applyTitles(event->size());
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void ctlChart::applyAppearance()
{
    m_plot->setBackground(m_backcolor);
    m_plot->axisRect()->setBackground(m_chartbackcolor);
    const QPen axisPen(m_axiscolor, 0);
    for (QCPAxis* axis : {m_plot->xAxis, m_plot->yAxis, m_plot->xAxis2, m_plot->yAxis2}) {
        axis->setBasePen(axisPen);
        axis->setTickPen(axisPen);
        axis->setSubTickPen(axisPen);
        axis->setTickLabelColor(m_axiscolor);
        axis->setLabelColor(m_axistitlecolor);
    }
    applyTitles(size());
}

void ctlChart::applyTitles(QSize size)
{
    // The axis lengths left after tick labels and titles, roughly: enough to decide where to break a title.
    const QFontMetrics metrics(m_plot->xAxis->labelFont());
    m_plot->xAxis->setLabel(wrapped(m_titlex, metrics, qMax(80, size.width() - 115)));
    m_plot->yAxis->setLabel(wrapped(m_titley, metrics, qMax(60, size.height() - 70)));
}

double ctlChart::smallestPositive(bool xAxis) const
{
    double smallest = 0;
    const auto consider = [&](const QPointF& p) {
        const double v = xAxis ? p.x() : p.y();
        if (std::isfinite(v) && v > 0 && (smallest == 0 || v < smallest))
            smallest = v;
    };
    for (const Segment& s : m_segments) {
        consider(s.from);
        consider(s.to);
    }
    for (const Bullet& b : m_bullets)
        consider(b.at);
    for (const QVector<QPointF>& curve : m_curves)
        for (const QPointF& p : curve)
            consider(p);
    return smallest;
}

void ctlChart::applyAxes()
{
    const auto setUp = [this](QCPAxis* axis, ChartTicker& ticker, double a, double b, int type, int divisions,
                              const QString& format, bool isX) {
        const bool logarithmic = type == 1;
        ticker.configure(logarithmic, divisions, format);
        axis->setScaleType(logarithmic ? QCPAxis::stLogarithmic : QCPAxis::stLinear);
        const double dataMin = logarithmic && !(qMin(a, b) > 0) ? smallestPositive(isX) : 0;
        axis->setRange(shownRange(a, b, logarithmic, dataMin));
        axis->grid()->setSubGridVisible(logarithmic);
    };
    setUp(m_plot->xAxis, *m_tickerX, m_minx, m_maxx, m_axistypex, m_tickfreqx, m_formatx, true);
    setUp(m_plot->yAxis, *m_tickerY, m_miny, m_maxy, m_axistypey, m_tickfreqy, m_formaty, false);
    m_rangeX = {m_plot->xAxis->range().lower, m_plot->xAxis->range().upper};
    m_rangeY = {m_plot->yAxis->range().lower, m_plot->yAxis->range().upper};
    m_plot->xAxis2->setScaleType(m_plot->xAxis->scaleType());
    m_plot->xAxis2->setRange(m_plot->xAxis->range());
    m_plot->yAxis2->setScaleType(m_plot->yAxis->scaleType());
    m_plot->yAxis2->setRange(m_plot->yAxis->range());
}

double ctlChart::bulletClearance() const
{
    // Half the marker, its outline and a pixel of antialiasing.
    return (3 + 2 * qBound(0, m_bulletwidth, 18)) / 2.0 + 2;
}

// The range of one axis with room at either end for the bullets drawn there. Positions are compared on the axis'
// own scale (log10 on a log axis), where pixels are proportional; `reach` is the clearance in those units at the
// unpadded scale. Bullets within reach outside the range count too: they would show as half discs.
QCPRange ctlChart::paddedRange(bool xAxis, double reachX, double reachY) const
{
    const QCPAxis* axis = xAxis ? m_plot->xAxis : m_plot->yAxis;
    const Range base = xAxis ? m_rangeX : m_rangeY;
    const QCPRange unchanged(base.lower, base.upper);
    const bool logarithmic = axis->scaleType() == QCPAxis::stLogarithmic;
    const double length = xAxis ? m_plot->axisRect()->width() : m_plot->axisRect()->height();
    const double clearance = bulletClearance();
    if (m_bullets.isEmpty() || length <= 4 * clearance)
        return unchanged;

    const auto scaled = [](double v, bool log) { return log ? (v > 0 ? std::log10(v) : -HUGE_VAL) : v; };
    const bool otherLog = (xAxis ? m_plot->yAxis : m_plot->xAxis)->scaleType() == QCPAxis::stLogarithmic;
    const Range other = xAxis ? m_rangeY : m_rangeX;
    const double o0 = scaled(other.lower, otherLog);
    const double o1 = scaled(other.upper, otherLog);
    const double otherReach = xAxis ? reachY : reachX;
    const double t0 = scaled(base.lower, logarithmic);
    const double t1 = scaled(base.upper, logarithmic);
    const double reach = xAxis ? reachX : reachY;
    const double unitsPerPixel = (t1 - t0) / length;

    double padLow = 0; // pixels
    double padHigh = 0;
    for (const Bullet& b : m_bullets) {
        if (!finite(b.at))
            continue;
        const double t = scaled(xAxis ? b.at.x() : b.at.y(), logarithmic);
        const double o = scaled(xAxis ? b.at.y() : b.at.x(), otherLog);
        if (!(o >= o0 - otherReach && o <= o1 + otherReach) || !(t >= t0 - reach && t <= t1 + reach))
            continue;
        if (t < t0 + reach)
            padLow = qMax(padLow, clearance + qMax(0.0, (t0 - t) / unitsPerPixel));
        if (t > t1 - reach)
            padHigh = qMax(padHigh, clearance + qMax(0.0, (t - t1) / unitsPerPixel));
    }
    if (padLow == 0 && padHigh == 0)
        return unchanged;

    const double perPixel = (t1 - t0) / (length - padLow - padHigh);
    const double lo = t0 - padLow * perPixel;
    const double hi = t1 + padHigh * perPixel;
    const QCPRange padded = logarithmic ? QCPRange(std::pow(10.0, lo), std::pow(10.0, hi)) : QCPRange(lo, hi);
    const bool valid = logarithmic ? QCPRange::validRange(padded) && padded.lower >= LogLow && padded.upper <= LogHigh
                                   : QCPRange::validRange(padded);
    return valid ? padded : unchanged;
}

bool ctlChart::fitBullets()
{
    const auto reach = [this](const QCPAxis* axis, const Range& r, double length) {
        const bool log = axis->scaleType() == QCPAxis::stLogarithmic;
        const double span = log ? std::log10(r.upper) - std::log10(r.lower) : r.upper - r.lower;
        return length > 0 ? bulletClearance() * span / length : 0.0;
    };
    const double reachX = reach(m_plot->xAxis, m_rangeX, m_plot->axisRect()->width());
    const double reachY = reach(m_plot->yAxis, m_rangeY, m_plot->axisRect()->height());
    const QCPRange x = paddedRange(true, reachX, reachY);
    const QCPRange y = paddedRange(false, reachX, reachY);
    if (x == m_plot->xAxis->range() && y == m_plot->yAxis->range())
        return false;
    m_plot->xAxis->setRange(x);
    m_plot->xAxis2->setRange(x);
    m_plot->yAxis->setRange(y);
    m_plot->yAxis2->setRange(y);
    return true;
}

void ctlChart::rebuildDrawing()
{
    m_plot->clearPlottables();
    m_plot->clearItems();
    m_plot->setAutoAddPlottableToLegend(false);

    // Added in drawing order: curves under lines, bullets on top.
    for (const QVector<QPointF>& points : std::as_const(m_curves)) {
        QVector<double> keys;
        QVector<double> values;
        for (const QPointF& p : points) {
            if (finite(p)) {
                keys.append(p.x());
                values.append(p.y());
            }
        }
        if (keys.isEmpty())
            continue;
        auto* curve = new QCPCurve(m_plot->xAxis, m_plot->yAxis);
        curve->setData(keys, values); // index order, not X order: steps go back and repeat X
        QPen pen(m_curvecolor, 2);
        pen.setStyle(m_polygonflag ? Qt::DashLine : Qt::SolidLine);
        curve->setPen(pen);
    }

    for (const Segment& s : std::as_const(m_segments)) {
        if (!finite(s.from) || !finite(s.to))
            continue;
        auto* line = new QCPItemLine(m_plot);
        line->start->setCoords(s.from);
        line->end->setCoords(s.to);
        QPen pen(vbColor(s.colour), qBound(1, s.code, 10));
        pen.setCapStyle(Qt::FlatCap);
        line->setPen(pen);
    }

    // One scatter-only curve per bullet style: the plot skips bullets outside the axes by itself.
    QMap<QPair<int, int>, QCPCurve*> bulletCurves;
    const double size = 3 + 2 * qBound(0, m_bulletwidth, 18);
    for (const Bullet& b : std::as_const(m_bullets)) {
        if (!finite(b.at))
            continue;
        const bool filled = b.code == 11;
        const QPair<int, int> style(filled ? 11 : 0, b.colour);
        QCPCurve*& curve = bulletCurves[style];
        if (!curve) {
            curve = new QCPCurve(m_plot->xAxis, m_plot->yAxis);
            curve->setLineStyle(QCPCurve::lsNone);
            const QColor colour = vbColor(b.colour);
            curve->setScatterStyle(
                filled ? QCPScatterStyle(QCPScatterStyle::ssDisc, colour, size)
                       : QCPScatterStyle(QCPScatterStyle::ssCircle, QPen(colour, 1.5), Qt::NoBrush, size));
        }
        curve->addData(b.at.x(), b.at.y());
    }

    // Overlays on top, each with its legend entry.
    for (const Overlay& o : std::as_const(m_overlays)) {
        auto* curve = new QCPCurve(m_plot->xAxis, m_plot->yAxis);
        curve->setName(o.name);
        for (const QPointF& p : o.points)
            if (finite(p))
                curve->addData(p.x(), p.y());
        curve->setPen(QPen(o.colour, 2, o.dashed ? Qt::DashLine : Qt::SolidLine));
        if (o.points.size() == 1) {
            curve->setLineStyle(QCPCurve::lsNone);
            // A criterion's single point is a square; a data curve of one point a disc, like the chart's bullets.
            curve->setScatterStyle(QCPScatterStyle(o.dashed ? QCPScatterStyle::ssSquare : QCPScatterStyle::ssDisc,
                                                   QPen(o.colour, 2), o.colour, 9));
        }
        curve->addToLegend();
    }
    m_plot->legend->setVisible(!m_overlays.isEmpty());
}

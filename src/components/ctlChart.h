#pragma once

#include <QFont>
#include <QColor>
#include <QImage>
#include <QPointF>
#include <QSharedPointer>
#include <QVector>
#include <QWidget>

class QCustomPlot;
class QCPRange;
class ChartTicker;

// Chart control of the results window: the property and method names are the ones the windows call.
//
// A drawing is recorded, not painted call by call: ClearChart forgets the previous drawing (properties stay,
// polygonflag included, because a redraw starts with ClearChart and does not set the flag again), MoveTo, LineTo,
// DrawBullet and PlotCurve record, and Redraw shows the axes and everything recorded since ClearChart.
//   - LineTo(x, y, code, colour): a solid line from the current position, `code` pixels wide (3 gives the bold
//     treads of the F/n step chart), in the VB colour `colour` (0 black); the point becomes the current position.
//     Without a current position (nothing moved to since ClearChart) it only moves.
//   - DrawBullet(x, y, code, colour): code 11 is a filled disc, any other code an open circle, 3 + 2 * bulletwidth
//     pixels across, in the VB colour (255 red on F/n charts, 0 black on polygons). It does not move.
//   - PlotCurve(points): a polyline through the points in row order (X may repeat or fall), `curvecolor`,
//     under the lines and bullets. With polygonflag it is dashed: the points of a distribution polygon are
//     discrete values and the segments between them are no data.
//   Points with a NaN or infinite coordinate are skipped.
// Axes: linear axes are cut into `tickfreq` equal divisions (capped at 100), log axes ticked per decade (see
// ChartTicker); labels follow formatx / formaty. Bounds are shown as sanely as they allow: swapped when min > max,
// widened when equal, a log bound <= 0 replaced by one below the data (or three decades under the upper bound),
// non-finite ones replaced, so no value of a property can make the control hang or fail to draw. An axis is
// then lengthened by the few pixels a bullet at (or just beyond) its end needs to be drawn whole.
// Pictures: renderImage draws the current chart at print resolution; CopyToClipboard puts that same image on the
// clipboard.
class ctlChart : public QWidget {
    Q_OBJECT
    Q_PROPERTY(double minx READ minx WRITE setMinx)
    Q_PROPERTY(double maxx READ maxx WRITE setMaxx)
    Q_PROPERTY(double miny READ miny WRITE setMiny)
    Q_PROPERTY(double maxy READ maxy WRITE setMaxy)
    Q_PROPERTY(qint16 tickfreqx READ tickfreqx WRITE setTickfreqx)
    Q_PROPERTY(qint16 tickfreqy READ tickfreqy WRITE setTickfreqy)
    Q_PROPERTY(int axistypex READ axistypex WRITE setAxistypex)
    Q_PROPERTY(int axistypey READ axistypey WRITE setAxistypey)
    Q_PROPERTY(bool polygonflag READ polygonflag WRITE setPolygonflag)
    Q_PROPERTY(QString titlex READ titlex WRITE setTitlex)
    Q_PROPERTY(QString titley READ titley WRITE setTitley)
    Q_PROPERTY(QString formatx READ formatx WRITE setFormatx)
    Q_PROPERTY(QString formaty READ formaty WRITE setFormaty)
    Q_PROPERTY(QColor curvecolor READ curvecolor WRITE setCurvecolor)
    Q_PROPERTY(QColor axistitlecolor READ axistitlecolor WRITE setAxistitlecolor)
    Q_PROPERTY(QColor axiscolor READ axiscolor WRITE setAxiscolor)
    Q_PROPERTY(QColor chartbackcolor READ chartbackcolor WRITE setChartbackcolor)
    Q_PROPERTY(QColor backcolor READ backcolor WRITE setBackcolor)
    Q_PROPERTY(int bulletwidth READ bulletwidth WRITE setBulletwidth)
    Q_PROPERTY(bool plothold READ plothold WRITE setPlothold)
    Q_PROPERTY(bool autoscalex READ autoscalex WRITE setAutoscalex)
    Q_PROPERTY(bool autoscaley READ autoscaley WRITE setAutoscaley)

public:
    explicit ctlChart(QWidget* parent = nullptr);
    ~ctlChart() override;

    // A VB colour value: red in the low byte, green, blue; the high byte is ignored.
    static QColor vbColor(qint64 value);

    double minx() const { return m_minx; }
    void setMinx(double v) { m_minx = v; }
    double maxx() const { return m_maxx; }
    void setMaxx(double v) { m_maxx = v; }
    double miny() const { return m_miny; }
    void setMiny(double v) { m_miny = v; }
    double maxy() const { return m_maxy; }
    void setMaxy(double v) { m_maxy = v; }
    qint16 tickfreqx() const { return m_tickfreqx; }
    void setTickfreqx(qint16 v) { m_tickfreqx = v; }
    qint16 tickfreqy() const { return m_tickfreqy; }
    void setTickfreqy(qint16 v) { m_tickfreqy = v; }
    int axistypex() const { return m_axistypex; }
    void setAxistypex(int v) { m_axistypex = v; }
    int axistypey() const { return m_axistypey; }
    void setAxistypey(int v) { m_axistypey = v; }
    bool polygonflag() const { return m_polygonflag; }
    void setPolygonflag(bool v) { m_polygonflag = v; }

    QString titlex() const { return m_titlex; }
    void setTitlex(const QString& v);
    QString titley() const { return m_titley; }
    void setTitley(const QString& v);
    QString formatx() const { return m_formatx; }
    void setFormatx(const QString& v) { m_formatx = v; }
    QString formaty() const { return m_formaty; }
    void setFormaty(const QString& v) { m_formaty = v; }
    QColor curvecolor() const { return m_curvecolor; }
    void setCurvecolor(const QColor& v) { m_curvecolor = v; }
    QColor axistitlecolor() const { return m_axistitlecolor; }
    void setAxistitlecolor(const QColor& v);
    QColor axiscolor() const { return m_axiscolor; }
    void setAxiscolor(const QColor& v);
    QColor chartbackcolor() const { return m_chartbackcolor; }
    void setChartbackcolor(const QColor& v);
    QColor backcolor() const { return m_backcolor; }
    void setBackcolor(const QColor& v);
    int bulletwidth() const { return m_bulletwidth; }
    void setBulletwidth(int v) { m_bulletwidth = v; }
    bool plothold() const { return m_plothold; }
    void setPlothold(bool v) { m_plothold = v; }
    bool autoscalex() const { return m_autoscalex; }
    void setAutoscalex(bool v) { m_autoscalex = v; }
    bool autoscaley() const { return m_autoscaley; }
    void setAutoscaley(bool v) { m_autoscaley = v; }

    // Named lines kept through every ClearChart and redraw until replaced (criterion lines): each drawn in its
    // colour over the drawing and listed in a legend; a line of one point is a square marker.
    struct Overlay {
        QString name;
        QColor colour;
        QVector<QPointF> points;
        bool dashed = true; // a criterion; solid: data (the curves of compared variants)
    };
    void setOverlays(const QVector<Overlay>& overlays) { m_overlays = overlays; }
    const QVector<Overlay>& overlays() const { return m_overlays; }

    void ClearChart();
    void MoveTo(double x, double y);
    void LineTo(double x, double y, int code, int colour);
    void DrawBullet(double x, double y, int code, int colour);
    void PlotCurve(const QVector<QPointF>& points);
    void Redraw();
    void CopyToClipboard();

    // The chart as currently shown, `widthCm` wide at `dpi` (15 cm at 300 dpi: 1772 px) and 3/4 as high, with
    // fonts and pens at their on-screen size relative to the picture; the image carries its resolution.
    QImage renderImage(double widthCm = 15.0, int dpi = 300);

    // The plot itself, for reading what is shown.
    QCustomPlot* plot() const { return m_plot; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Segment {
        QPointF from, to;
        int code;
        int colour;
    };
    struct Bullet {
        QPointF at;
        int code;
        int colour;
    };

    void applyAppearance();
    void applyAxes();
    bool fitBullets();
    QCPRange paddedRange(bool xAxis, double reachX, double reachY) const;
    double bulletClearance() const;
    void applyTitles(QSize size);
    struct PlotFonts {
        QFont ticks;
        QFont titles;
        QFont legend;
    };
    PlotFonts plotFonts() const;
    void setPlotFonts(const PlotFonts& fonts);
    static PlotFonts PictureFonts(const PlotFonts& screen);
    void rebuildDrawing();
    double smallestPositive(bool xAxis) const;

    QCustomPlot* m_plot = nullptr;
    QSharedPointer<ChartTicker> m_tickerX;
    QSharedPointer<ChartTicker> m_tickerY;
    // The ranges the bounds give, before room is made for the bullets at their ends.
    struct Range {
        double lower = 0, upper = 10;
    };
    Range m_rangeX, m_rangeY;

    double m_minx = 0, m_maxx = 10, m_miny = 0, m_maxy = 10;
    qint16 m_tickfreqx = 10, m_tickfreqy = 10;
    int m_axistypex = 0, m_axistypey = 0;
    bool m_polygonflag = false;
    QString m_titlex, m_titley;
    QString m_formatx = QStringLiteral("0"), m_formaty = QStringLiteral("0");
    QColor m_curvecolor = QColor(0, 0, 128);
    QColor m_axistitlecolor = Qt::black;
    QColor m_axiscolor = Qt::black;
    QColor m_chartbackcolor = Qt::white;
    QColor m_backcolor = Qt::white;
    int m_bulletwidth = 2;
    bool m_plothold = false;
    bool m_autoscalex = false, m_autoscaley = false;

    // The drawing recorded since ClearChart.
    bool m_hasPosition = false;
    QPointF m_position;
    QVector<Segment> m_segments;
    QVector<Bullet> m_bullets;
    QVector<QVector<QPointF>> m_curves;
    QVector<Overlay> m_overlays;
};

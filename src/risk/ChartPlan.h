#pragma once
// The calls the build makes on a chart component, recorded as a plan so that the computation stays free of
// widgets: the results window replays a plan into its chart, tests into a recorder.

#include <QPointF>
#include <QString>
#include <QVector>

namespace zarnel {

struct ChartCall {
    enum Op {
        ClearChart,
        SetMinX,        // x
        SetMaxX,        // x
        SetTickFreqX,   // a
        SetMinY,        // x
        SetMaxY,        // x
        SetTickFreqY,   // a
        SetPolygonFlag, // a: 1 true, 0 false
        ProcessEvents,  // let the window handle pending events (repaint) before going on
        MoveTo,         // x, y
        LineTo,         // x, y, a (line code 3), b (colour 0)
        DrawBullet,     // x, y, a (bullet code 11), b (colour: 255 on step charts, 0 on polygons)
        PlotCurve,      // curve: the points in row order
        Redraw,
    };

    Op op = ClearChart;
    double x = 0;
    double y = 0;
    int a = 0;
    int b = 0;
    QVector<QPointF> curve;

    bool operator==(const ChartCall&) const = default;
};

using ChartPlan = QVector<ChartCall>;

// Most divisions an axis is cut into: more would only crowd the labels. "Построить" refuses more.
inline constexpr int kMaxChartDivisions = 100;

// One call of a plan: an operation with its numbers.
inline ChartCall MakeChartCall(ChartCall::Op op, double x = 0, double y = 0, int a = 0, int b = 0)
{
    ChartCall c;
    c.op = op;
    c.x = x;
    c.y = y;
    c.a = a;
    c.b = b;
    return c;
}

// The operations of the chart component, in its own vocabulary.
class ChartSink {
public:
    virtual ~ChartSink() = default;
    virtual void ClearChart() = 0;
    virtual void setMinX(double v) = 0;
    virtual void setMaxX(double v) = 0;
    virtual void setTickFreqX(qint16 n) = 0;
    virtual void setMinY(double v) = 0;
    virtual void setMaxY(double v) = 0;
    virtual void setTickFreqY(qint16 n) = 0;
    virtual void setPolygonFlag(bool on) = 0;
    virtual void ProcessEvents() = 0;
    virtual void MoveTo(double x, double y) = 0;
    virtual void LineTo(double x, double y, qint16 code, qint16 colour) = 0;
    virtual void DrawBullet(double x, double y, qint16 code, qint32 colour) = 0;
    virtual void PlotCurve(const QVector<QPointF>& points) = 0;
    virtual void Redraw() = 0;
};

void ReplayChartPlan(const ChartPlan& plan, ChartSink& sink);

// One call as readable text, e.g. "LineTo(7, 0.0003, 3, 0)" (diagnostics and test failure output).
QString DescribeChartCall(const ChartCall& call);

} // namespace zarnel

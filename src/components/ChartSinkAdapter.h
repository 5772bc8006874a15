#pragma once
// The results window's chart control as the target of a chart plan: each call of the plan goes to the control
// under the control's own name.

#include "risk/ChartPlan.h"

#include <QPointer>

class ctlChart;

namespace zarnel {

class ChartSinkAdapter : public ChartSink {
public:
    explicit ChartSinkAdapter(ctlChart& chart);

    void ClearChart() override;
    void setMinX(double v) override;
    void setMaxX(double v) override;
    void setTickFreqX(qint16 n) override;
    void setMinY(double v) override;
    void setMaxY(double v) override;
    void setTickFreqY(qint16 n) override;
    void setPolygonFlag(bool on) override;
    // Lets the window repaint between the steps of a drawing, as the plan asks.
    void ProcessEvents() override;
    void MoveTo(double x, double y) override;
    void LineTo(double x, double y, qint16 code, qint16 colour) override;
    void DrawBullet(double x, double y, qint16 code, qint32 colour) override;
    void PlotCurve(const QVector<QPointF>& points) override;
    void Redraw() override;

private:
    // Pending events may close the window, chart and all, half-way through a plan: the rest is then dropped.
    QPointer<ctlChart> m_chart;
};

// Replays a plan into a chart control.
void ReplayChartPlan(const ChartPlan& plan, ctlChart& chart);

} // namespace zarnel

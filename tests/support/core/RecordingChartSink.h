#pragma once
// A chart that writes down every call it gets, one readable line per call.

#include "risk/ChartPlan.h"

#include <QStringList>

namespace testing {

class RecordingChartSink : public zarnel::ChartSink {
public:
    QStringList calls;

    void ClearChart() override { add({zarnel::ChartCall::ClearChart}); }
    void setMinX(double v) override { add({zarnel::ChartCall::SetMinX, v}); }
    void setMaxX(double v) override { add({zarnel::ChartCall::SetMaxX, v}); }
    void setTickFreqX(qint16 n) override { add({zarnel::ChartCall::SetTickFreqX, 0, 0, n}); }
    void setMinY(double v) override { add({zarnel::ChartCall::SetMinY, v}); }
    void setMaxY(double v) override { add({zarnel::ChartCall::SetMaxY, v}); }
    void setTickFreqY(qint16 n) override { add({zarnel::ChartCall::SetTickFreqY, 0, 0, n}); }
    void setPolygonFlag(bool on) override { add({zarnel::ChartCall::SetPolygonFlag, 0, 0, on ? 1 : 0}); }
    void ProcessEvents() override { add({zarnel::ChartCall::ProcessEvents}); }
    void MoveTo(double x, double y) override { add({zarnel::ChartCall::MoveTo, x, y}); }
    void LineTo(double x, double y, qint16 code, qint16 colour) override
    {
        add({zarnel::ChartCall::LineTo, x, y, code, colour});
    }
    void DrawBullet(double x, double y, qint16 code, qint32 colour) override
    {
        add({zarnel::ChartCall::DrawBullet, x, y, code, colour});
    }
    void PlotCurve(const QVector<QPointF>& points) override
    {
        zarnel::ChartCall c;
        c.op = zarnel::ChartCall::PlotCurve;
        c.curve = points;
        add(c);
    }
    void Redraw() override { add({zarnel::ChartCall::Redraw}); }

private:
    void add(const zarnel::ChartCall& c) { calls << zarnel::DescribeChartCall(c); }
};

} // namespace testing

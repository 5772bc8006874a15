#pragma once
// A chart that writes down every call it gets, one readable line per call.

#include "risk/ChartPlan.h"

#include <QStringList>

namespace testing {

using zarnel::ChartCall;
using zarnel::MakeChartCall;

class RecordingChartSink : public zarnel::ChartSink {
public:
    QStringList calls;

    void ClearChart() override { add(MakeChartCall(ChartCall::ClearChart)); }
    void setMinX(double v) override { add(MakeChartCall(ChartCall::SetMinX, v)); }
    void setMaxX(double v) override { add(MakeChartCall(ChartCall::SetMaxX, v)); }
    void setTickFreqX(qint16 n) override { add(MakeChartCall(ChartCall::SetTickFreqX, 0, 0, n)); }
    void setMinY(double v) override { add(MakeChartCall(ChartCall::SetMinY, v)); }
    void setMaxY(double v) override { add(MakeChartCall(ChartCall::SetMaxY, v)); }
    void setTickFreqY(qint16 n) override { add(MakeChartCall(ChartCall::SetTickFreqY, 0, 0, n)); }
    void setPolygonFlag(bool on) override { add(MakeChartCall(ChartCall::SetPolygonFlag, 0, 0, on ? 1 : 0)); }
    void ProcessEvents() override { add(MakeChartCall(ChartCall::ProcessEvents)); }
    void MoveTo(double x, double y) override { add(MakeChartCall(ChartCall::MoveTo, x, y)); }
    void LineTo(double x, double y, qint16 code, qint16 colour) override
    {
        add(MakeChartCall(ChartCall::LineTo, x, y, code, colour));
    }
    void DrawBullet(double x, double y, qint16 code, qint32 colour) override
    {
        add(MakeChartCall(ChartCall::DrawBullet, x, y, code, colour));
    }
    void PlotCurve(const QVector<QPointF>& points) override
    {
        ChartCall c = MakeChartCall(ChartCall::PlotCurve);
        c.curve = points;
        add(c);
    }
    void Redraw() override { add(MakeChartCall(ChartCall::Redraw)); }

private:
    void add(const ChartCall& c) { calls << zarnel::DescribeChartCall(c); }
};

} // namespace testing

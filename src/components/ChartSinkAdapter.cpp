#include "components/ChartSinkAdapter.h"

#include "components/ctlChart.h"

#include <QCoreApplication>

namespace zarnel {

ChartSinkAdapter::ChartSinkAdapter(ctlChart& chart) : m_chart(&chart) {}

void ChartSinkAdapter::ClearChart()
{
    if (m_chart)
        m_chart->ClearChart();
}

void ChartSinkAdapter::setMinX(double v)
{
    if (m_chart)
        m_chart->setMinx(v);
}

void ChartSinkAdapter::setMaxX(double v)
{
    if (m_chart)
        m_chart->setMaxx(v);
}

void ChartSinkAdapter::setTickFreqX(qint16 n)
{
    if (m_chart)
        m_chart->setTickfreqx(n);
}

void ChartSinkAdapter::setMinY(double v)
{
    if (m_chart)
        m_chart->setMiny(v);
}

void ChartSinkAdapter::setMaxY(double v)
{
    if (m_chart)
        m_chart->setMaxy(v);
}

void ChartSinkAdapter::setTickFreqY(qint16 n)
{
    if (m_chart)
        m_chart->setTickfreqy(n);
}

void ChartSinkAdapter::setPolygonFlag(bool on)
{
    if (m_chart)
        m_chart->setPolygonflag(on);
}

void ChartSinkAdapter::ProcessEvents()
{
    QCoreApplication::processEvents();
}

void ChartSinkAdapter::MoveTo(double x, double y)
{
    if (m_chart)
        m_chart->MoveTo(x, y);
}

void ChartSinkAdapter::LineTo(double x, double y, qint16 code, qint16 colour)
{
    if (m_chart)
        m_chart->LineTo(x, y, code, colour);
}

void ChartSinkAdapter::DrawBullet(double x, double y, qint16 code, qint32 colour)
{
    if (m_chart)
        m_chart->DrawBullet(x, y, code, colour);
}

void ChartSinkAdapter::PlotCurve(const QVector<QPointF>& points)
{
    if (m_chart)
        m_chart->PlotCurve(points);
}

void ChartSinkAdapter::Redraw()
{
    if (m_chart)
        m_chart->Redraw();
}

void ReplayChartPlan(const ChartPlan& plan, ctlChart& chart)
{
    ChartSinkAdapter sink(chart);
    ReplayChartPlan(plan, sink);
}

} // namespace zarnel

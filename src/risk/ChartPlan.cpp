#include "risk/ChartPlan.h"

namespace zarnel {

void ReplayChartPlan(const ChartPlan& plan, ChartSink& sink)
{
    for (const ChartCall& c : plan) {
        switch (c.op) {
        case ChartCall::ClearChart:
            sink.ClearChart();
            break;
        case ChartCall::SetMinX:
            sink.setMinX(c.x);
            break;
        case ChartCall::SetMaxX:
            sink.setMaxX(c.x);
            break;
        case ChartCall::SetTickFreqX:
            sink.setTickFreqX(qint16(c.a));
            break;
        case ChartCall::SetMinY:
            sink.setMinY(c.x);
            break;
        case ChartCall::SetMaxY:
            sink.setMaxY(c.x);
            break;
        case ChartCall::SetTickFreqY:
            sink.setTickFreqY(qint16(c.a));
            break;
        case ChartCall::SetPolygonFlag:
            sink.setPolygonFlag(c.a != 0);
            break;
        case ChartCall::ProcessEvents:
            sink.ProcessEvents();
            break;
        case ChartCall::MoveTo:
            sink.MoveTo(c.x, c.y);
            break;
        case ChartCall::LineTo:
            sink.LineTo(c.x, c.y, qint16(c.a), qint16(c.b));
            break;
        case ChartCall::DrawBullet:
            sink.DrawBullet(c.x, c.y, qint16(c.a), qint32(c.b));
            break;
        case ChartCall::PlotCurve:
            sink.PlotCurve(c.curve);
            break;
        case ChartCall::Redraw:
            sink.Redraw();
            break;
        }
    }
}

QString DescribeChartCall(const ChartCall& c)
{
    const auto n = [](double v) { return QString::number(v, 'g', 17); };
    switch (c.op) {
    case ChartCall::ClearChart:
        return QStringLiteral("ClearChart");
    case ChartCall::SetMinX:
        return QStringLiteral("minx=") + n(c.x);
    case ChartCall::SetMaxX:
        return QStringLiteral("maxx=") + n(c.x);
    case ChartCall::SetTickFreqX:
        return QStringLiteral("tickfreqx=%1").arg(c.a);
    case ChartCall::SetMinY:
        return QStringLiteral("miny=") + n(c.x);
    case ChartCall::SetMaxY:
        return QStringLiteral("maxy=") + n(c.x);
    case ChartCall::SetTickFreqY:
        return QStringLiteral("tickfreqy=%1").arg(c.a);
    case ChartCall::SetPolygonFlag:
        return QStringLiteral("polygonflag=%1").arg(c.a ? "True" : "False");
    case ChartCall::ProcessEvents:
        return QStringLiteral("ProcessEvents");
    case ChartCall::MoveTo:
        return QStringLiteral("MoveTo(%1, %2)").arg(n(c.x), n(c.y));
    case ChartCall::LineTo:
        return QStringLiteral("LineTo(%1, %2, %3, %4)").arg(n(c.x), n(c.y)).arg(c.a).arg(c.b);
    case ChartCall::DrawBullet:
        return QStringLiteral("DrawBullet(%1, %2, %3, %4)").arg(n(c.x), n(c.y)).arg(c.a).arg(c.b);
    case ChartCall::PlotCurve: {
        QStringList points;
        for (const QPointF& p : c.curve)
            points << QStringLiteral("(%1, %2)").arg(n(p.x()), n(p.y()));
        return QStringLiteral("PlotCurve[") + points.join(QStringLiteral(", ")) + QLatin1Char(']');
    }
    case ChartCall::Redraw:
        return QStringLiteral("Redraw");
    }
    return QString();
}

} // namespace zarnel

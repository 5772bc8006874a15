#pragma once
// "Построить" on a chart tab: the bounds, divisions and axis types the user typed, checked and turned into the
// calls of a redraw over the points the last build stored. No widget here: the window shows the message or sets
// the axis types and replays the plan.

#include "risk/Build.h"
#include "risk/ChartPlan.h"

#include <QPointF>
#include <QString>
#include <QVector>

namespace zarnel {

// One axis frame: the "от", "до" and "число разбиений" boxes and whether "Логарифмическая" is selected.
struct AxisEntry {
    QString from;
    QString to;
    QString divisions;
    bool logarithmic = true;
};

struct ChartRedraw {
    bool ok = false;
    UserMessage message; // when !ok: why the chart cannot be drawn so; the chart stays as it is
    int axisTypeX = 1;   // 1 logarithmic, 0 linear
    int axisTypeY = 1;
    ChartPlan plan;
};

// The F/n (F/G) step chart, chart numbers 1, 3, 5, 7, 9; points as stored, descending value.
ChartRedraw PlanIntegralRedraw(int chart, const AxisEntry& x, const AxisEntry& y, const QVector<QPointF>& points);

// The polygon, chart numbers 2, 4, 6, 8, 10; points as stored, ascending value. Only the points within the X
// bounds are drawn, and the curve holds just those.
ChartRedraw PlanPolygonRedraw(int chart, const AxisEntry& x, const AxisEntry& y, const QVector<QPointF>& points);

// The points of chart c that the last build stored (ChartPoints up to ChartPointCount).
QVector<QPointF> StoredChartPoints(int chart);

} // namespace zarnel

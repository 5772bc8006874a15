#include "windows/results/ChartRedraw.h"

#include "core/Formats.h"

#include <limits>
#include <optional>

namespace zarnel {

namespace {

const QString kTitle = QStringLiteral("В н и м а н и е ! ! !");

enum class Rounding { FollowOption, Never, Always };

struct Axis {
    double from = 0; // as sent to the chart: rounded where the axis takes whole numbers
    double to = 0;
    double typedFrom = 0; // as typed, read as real
    double typedTo = 0;
    qint16 divisions = 10;
    int type = 1;
};

UserMessage warning(const QString& text)
{
    return {text, kTitle, UserMessage::Ok};
}

// A whole-number bound: rounded half to even, within 32 bits so that every bound a build derives from stored
// data (Limits.h) fits.
std::optional<double> WholeBound(double x)
{
    const double r = RoundHalfEven(x);
    if (!(r >= std::numeric_limits<qint32>::min() && r <= std::numeric_limits<qint32>::max()))
        return std::nullopt;
    return r;
}

// Reads one axis frame. The first problem found comes back as the message; the two order messages are the
// program's long-standing texts, the others say what would make the axis undrawable.
std::optional<UserMessage> readAxis(const AxisEntry& e, const QString& name, Rounding rounding, Axis& out)
{
    const std::optional<double> from = ToDouble(e.from);
    const std::optional<double> to = ToDouble(e.to);
    if (!from || !to)
        return warning(QStringLiteral("Границы по %1 должны быть заданы числами!").arg(name));
    if (*to < *from)
        return warning(QStringLiteral("Нижняя граница по %1 должна быть меньше или равна верхней!").arg(name));

    out.type = e.logarithmic ? 1 : 0;
    out.typedFrom = *from;
    out.typedTo = *to;
    out.from = *from;
    out.to = *to;
    const bool whole = rounding == Rounding::Always || (rounding == Rounding::FollowOption && !e.logarithmic);
    if (whole) {
        const std::optional<double> a = WholeBound(*from);
        const std::optional<double> b = WholeBound(*to);
        if (!a || !b)
            return warning(QStringLiteral("Границы по %1 округляются до целых чисел и должны лежать в пределах "
                                          "от -2147483648 до 2147483647!")
                               .arg(name));
        // A log axis cannot start at a bound rounded to zero: 0,01 stays 0,01 (the damage polygon's own bound).
        if (!e.logarithmic || *a > 0)
            out.from = *a;
        if (!e.logarithmic || *b > 0)
            out.to = *b;
    }
    // A lower bound at or below zero leaves the start of a log axis to the chart (just below the smallest
    // point), as the build's own bounds do for a smallest value of 0; an upper one leaves nothing to show.
    if (e.logarithmic && !(out.to > 0))
        return warning(
            QStringLiteral("На логарифмической шкале верхняя граница по %1 должна быть больше нуля!").arg(name));

    const std::optional<qint16> n = ToInt16(e.divisions);
    if (!n || *n < 1 || *n > kMaxChartDivisions)
        return warning(QStringLiteral("Число разбиений по %1 должно быть целым числом от 1 до %2!")
                           .arg(name)
                           .arg(kMaxChartDivisions));
    out.divisions = *n;
    return std::nullopt;
}

// Charts 9 and 10 (damage) differ from the rest: the F/G chart keeps fractional X bounds on a linear axis too,
// its polygon rounds them on a logarithmic axis too.
Rounding xRounding(int chart)
{
    return chart == 9 ? Rounding::Never : chart == 10 ? Rounding::Always : Rounding::FollowOption;
}

// Checks both frames; on success the plan starts with the clearing and the axes.
bool startPlan(int chart, const AxisEntry& x, const AxisEntry& y, ChartRedraw& r, Axis& ax, Axis& ay)
{
    if (auto m = readAxis(x, QStringLiteral("OX"), xRounding(chart), ax)) {
        r.message = *m;
        return false;
    }
    if (auto m = readAxis(y, QStringLiteral("OY"), Rounding::Never, ay)) {
        r.message = *m;
        return false;
    }
    r.axisTypeX = ax.type;
    r.axisTypeY = ay.type;
    return true;
}

ChartCall call(ChartCall::Op o, const QPointF& p, int a = 0, int b = 0)
{
    return MakeChartCall(o, p.x(), p.y(), a, b);
}

void addAxes(ChartPlan& plan, const Axis& ax, const Axis& ay)
{
    plan.append(MakeChartCall(ChartCall::ClearChart));
    plan.append(MakeChartCall(ChartCall::ProcessEvents));
    plan.append(MakeChartCall(ChartCall::SetMinX, ax.from));
    plan.append(MakeChartCall(ChartCall::SetMaxX, ax.to));
    plan.append(MakeChartCall(ChartCall::SetTickFreqX, 0, 0, ax.divisions));
    plan.append(MakeChartCall(ChartCall::SetMinY, ay.from));
    plan.append(MakeChartCall(ChartCall::SetMaxY, ay.to));
    plan.append(MakeChartCall(ChartCall::SetTickFreqY, 0, 0, ay.divisions));
    plan.append(MakeChartCall(ChartCall::ProcessEvents));
}

} // namespace

ChartRedraw PlanIntegralRedraw(int chart, const AxisEntry& x, const AxisEntry& y, const QVector<QPointF>& points)
{
    ChartRedraw r;
    Axis ax, ay;
    if (!startPlan(chart, x, y, r, ax, ay))
        return r;
    ChartPlan& plan = r.plan;
    addAxes(plan, ax, ay);

    // Every point is drawn whatever the X bounds: the bounds only set the axes.
    const int n = int(points.size());
    if (n > 0) {
        const auto point = [&](int i) { return points[i - 1]; };
        plan.append(call(ChartCall::MoveTo, point(n)));
        for (int i = 1; i <= n; ++i) {
            const int row = n - i + 1;
            if (i % 2 == 1) {
                plan.append(call(ChartCall::LineTo, point(row), 3, 0));
                plan.append(call(ChartCall::DrawBullet, point(row), 11, 255));
            }
            if (i < n)
                plan.append(call(ChartCall::MoveTo, point(row)));
        }
        ChartCall curve = MakeChartCall(ChartCall::PlotCurve);
        curve.curve = points;
        plan.append(curve);
    }
    plan.append(MakeChartCall(ChartCall::Redraw));
    plan.append(MakeChartCall(ChartCall::ProcessEvents));
    r.ok = true;
    return r;
}

ChartRedraw PlanPolygonRedraw(int chart, const AxisEntry& x, const AxisEntry& y, const QVector<QPointF>& points)
{
    ChartRedraw r;
    Axis ax, ay;
    if (!startPlan(chart, x, y, r, ax, ay))
        return r;

    // The points within the bounds as typed: a whole-number axis may show a little more or less than that.
    const int n = int(points.size());
    int s = 1;
    while (s <= n && points[s - 1].x() < ax.typedFrom)
        ++s;
    int e = n;
    while (e >= 1 && points[e - 1].x() > ax.typedTo)
        --e;
    if (s > e) {
        r.message = warning(QStringLiteral("В заданных границах по OX нет ни одной точки графика!"));
        return r;
    }

    ChartPlan& plan = r.plan;
    addAxes(plan, ax, ay);
    ChartCall curve = MakeChartCall(ChartCall::PlotCurve);
    for (int i = s; i <= e; ++i) {
        const QPointF& p = points[i - 1];
        plan.append(call(ChartCall::DrawBullet, p, 11, 0));
        if (i < n)
            plan.append(call(ChartCall::MoveTo, p));
        curve.curve.append(p);
    }
    if (n != 1)
        plan.append(curve);
    plan.append(MakeChartCall(ChartCall::Redraw));
    plan.append(MakeChartCall(ChartCall::ProcessEvents));
    r.ok = true;
    return r;
}

QVector<QPointF> StoredChartPoints(int chart)
{
    if (chart < 1 || chart > 10)
        return {};
    const QVector<QPointF>& all = ChartPoints[chart];
    return all.mid(0, qBound(0, ChartPointCount[chart], int(all.size())));
}

} // namespace zarnel

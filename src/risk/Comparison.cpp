#include "risk/Comparison.h"

#include "core/Formats.h"
#include "core/ObjectStore.h"
#include "risk/Criteria.h"
#include "risk/Distribution.h"

#include <QLocale>
#include <algorithm>

namespace zarnel {

bool Comparison::anyHasKind() const
{
    return std::any_of(objects.cbegin(), objects.cend(), [](const ComparedObject& o) { return o.hasKind; });
}

unsigned ComparisonColour(int index)
{
    static constexpr std::array<unsigned, MaxCompared> palette{0x0000C0, 0xE00000, 0x008000,
                                                               0xFF8000, 0x9000B0, 0x00A0A0};
    return palette[size_t(index) % palette.size()];
}

namespace {

// A distribution of two rows, the largest value at the smallest frequency over all curves and the smallest
// value at the largest: the results chart's bounds of it hold every curve.
void SetBounds(Comparison& cmp)
{
    KindResult all;
    all.kind = cmp.kind;
    DistRow top{0, 0, 0};
    DistRow bottom{0, 0, 0};
    bool first = true;
    for (const ComparedObject& o : cmp.objects) {
        if (!o.hasKind)
            continue;
        const QPointF& largest = o.curve.first();
        const QPointF& smallest = o.curve.last();
        if (first || largest.x() > top.value)
            top.value = largest.x();
        if (first || largest.y() < top.atLeast)
            top.atLeast = largest.y();
        if (first || smallest.x() < bottom.value)
            bottom.value = smallest.x();
        if (first || smallest.y() > bottom.atLeast)
            bottom.atLeast = smallest.y();
        first = false;
    }
    if (first)
        return;
    top.exactly = top.atLeast;
    bottom.exactly = bottom.atLeast;
    all.dist = {top, bottom};
    all.stepCurve = {QPointF(top.value, top.atLeast), QPointF(bottom.value, bottom.atLeast)};
    all.polygonCurve = {QPointF(bottom.value, bottom.exactly), QPointF(top.value, top.exactly)};
    PlanCharts(all);
    cmp.axes = all.stepAxes;
    cmp.boxes = all.stepBoxes;
    const AxisBounds& b = cmp.axes;
    cmp.plan = {MakeChartCall(ChartCall::ClearChart),          MakeChartCall(ChartCall::SetMinX, b.minX),
                MakeChartCall(ChartCall::SetMaxX, b.maxX),     MakeChartCall(ChartCall::SetTickFreqX, 0, 0, 10),
                MakeChartCall(ChartCall::SetMinY, b.minY),     MakeChartCall(ChartCall::SetMaxY, b.maxY),
                MakeChartCall(ChartCall::SetTickFreqY, 0, 0, 10), MakeChartCall(ChartCall::Redraw)};
}

} // namespace

Comparison BuildComparison(Connection& c, const QVector<qint16>& objectIds, int kind)
{
    Comparison cmp;
    cmp.kind = kind;
    const bool damage = KindInfoOf(kind).isDamage;
    const QVector<StoredObject> stored = ListObjects(c);
    double largest = 0;
    for (qint16 id : objectIds) {
        ComparedObject o;
        o.id = id;
        o.colour = ComparisonColour(int(cmp.objects.size()));
        const auto it = std::find_if(stored.cbegin(), stored.cend(), [id](const StoredObject& s) { return s.id == id; });
        const double people = it != stored.cend() ? it->people : 0;
        if (it != stored.cend())
            o.name = it->name;
        const KindResult r = BuildKind(c, id, kind, people);
        o.hasKind = r.ran;
        if (r.ran) {
            o.curve = r.stepCurve;
            o.collective = r.riskSum;
            if (!damage && people != 0)
                o.individual = r.riskSum / people;
            o.largestValue = r.dist.first().value;
            o.largestFrequency = r.dist.first().atLeast;
            largest = std::max(largest, o.largestValue);
        }
        cmp.objects.append(o);
    }

    const ComparedObject& base = cmp.objects.first();
    for (qsizetype i = 1; i < cmp.objects.size(); ++i) {
        ComparedObject& o = cmp.objects[i];
        if (base.hasKind && o.hasKind && base.collective != 0)
            o.change = (o.collective - base.collective) / base.collective * 100;
    }
    SetBounds(cmp);

    if (cmp.anyHasKind() && !objectIds.isEmpty()) {
        EnsureCriteriaTables(c);
        for (const QString& name : ChosenCriteria(c, objectIds.first())) {
            const std::optional<CriterionLine> line = FindCriterion(c, name);
            if (line && line->appliesTo(kind))
                cmp.lines.append({*line, CriterionCurve(*line, largest)});
        }
    }
    return cmp;
}

namespace {

QString Change(double percent)
{
    const QString s = QLocale().toString(std::abs(percent), 'f', 1);
    return percent > 0 ? QStringLiteral("+") + s : percent < 0 ? QStringLiteral("-") + s : s;
}

} // namespace

QVector<std::array<QString, ComparisonColumns>> ComparisonTexts(const Comparison& cmp)
{
    const bool damage = KindInfoOf(cmp.kind).isDamage;
    QVector<std::array<QString, ComparisonColumns>> out;
    if (damage)
        out.append({QStringLiteral("Объект"), QStringLiteral("Среднеожидаемый ущерб, млн.руб./год"), QString(),
                    QStringLiteral("Наибольший ущерб G, млн.руб"),
                    QStringLiteral("Частота ущерба не менее наибольшего G, 1/год"),
                    QStringLiteral("Изменение ущерба относительно первого объекта, %")});
    else
        out.append({QStringLiteral("Объект"), QStringLiteral("Коллективный риск, чел./год"),
                    QStringLiteral("Индивидуальный риск, 1/год"), QStringLiteral("Наибольшее n, человек"),
                    QStringLiteral("Частота событий с не менее чем наибольшим n, 1/год"),
                    QStringLiteral("Изменение коллективного риска относительно первого объекта, %")});
    for (const ComparedObject& o : cmp.objects) {
        if (!o.hasKind) {
            out.append({o.name, QStringLiteral("нет данных"), QString(), QString(), QString(), QString()});
            continue;
        }
        const QString individual =
            damage ? QString() : o.individual ? FormatRiskValue(*o.individual) : QStringLiteral("не расчитан");
        out.append({o.name, FormatRiskValue(o.collective), individual,
                    damage ? Format000(o.largestValue) : PlainNumber(o.largestValue),
                    FormatRiskValue(o.largestFrequency), o.change ? Change(*o.change) : QString()});
    }
    return out;
}

} // namespace zarnel

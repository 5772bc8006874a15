#include "risk/Distribution.h"

#include "core/Formats.h"

namespace zarnel {

void Accumulate(KindResult& r, const QVector<IndicatorRow>& descending)
{
    const bool damage = KindInfoOf(r.kind).isDamage;
    QVector<DistRow>& rows = r.dist;
    rows.clear();
    rows.reserve(2 * descending.size());
    r.minExact = 0;
    r.maxExact = 0;
    for (const IndicatorRow& row : descending) {
        const double v = row.number;
        const double f = row.scenario.risk;
        if (rows.isEmpty()) {
            rows.append({v, f, f});
            if (damage) {
                r.minExact = f;
                r.maxExact = f;
            }
        } else if (v == rows.last().value) {
            rows.last().atLeast += f;
            rows.last().exactly += f;
        } else {
            // A smaller value: first the corner of the step at the previous height, then the data point.
            const double previous = rows.last().atLeast;
            rows.append({v, previous, previous});
            rows.append({v, previous + f, f});
        }
    }

    const int k = int(rows.size());
    r.stepCurve.resize(k);
    for (int i = 0; i < k; ++i)
        r.stepCurve[i] = QPointF(rows[i].value, rows[i].atLeast);

    // The data rows are the odd rows 1, 3, ..., K; the polygon takes them from the smallest value upwards.
    r.polygonCurve.resize((k + 1) / 2);
    for (int i = 1; i <= k; i += 2) {
        const DistRow& d = rows[k - i];
        if (r.minExact == 0 || r.minExact > d.exactly)
            r.minExact = d.exactly;
        if (r.maxExact < d.exactly)
            r.maxExact = d.exactly;
        r.polygonCurve[(i - 1) / 2] = QPointF(d.value, d.exactly);
    }
}

namespace {

// Lower X bound of a damage chart: decades below 1, a tenth less above.
double DamageMinX(double g, bool polygon)
{
    if (g < 0.001)
        return 0.0001;
    if (g < 0.01)
        return 0.001;
    if (g < 0.1)
        return 0.01;
    if (g < 1)
        return 0.1;
    return polygon ? g : g - g / 10;
}

double PeopleMinX(double n)
{
    return n == 1 ? 0.1 : n - 1;
}

ChartCall Curve(const QVector<QPointF>& points)
{
    ChartCall c;
    c.op = ChartCall::PlotCurve;
    c.curve = points;
    return c;
}

void AppendAxes(ChartPlan& plan, const AxisBounds& b)
{
    plan.append(MakeChartCall(ChartCall::SetMinX, b.minX));
    plan.append(MakeChartCall(ChartCall::SetMaxX, b.maxX));
    plan.append(MakeChartCall(ChartCall::SetTickFreqX, 0, 0, 10));
    plan.append(MakeChartCall(ChartCall::SetMinY, b.minY));
    plan.append(MakeChartCall(ChartCall::SetMaxY, b.maxY));
    plan.append(MakeChartCall(ChartCall::SetTickFreqY, 0, 0, 10));
    plan.append(MakeChartCall(ChartCall::ProcessEvents));
}

} // namespace

void PlanCharts(KindResult& r)
{
    const bool damage = KindInfoOf(r.kind).isDamage;
    const QVector<DistRow>& rows = r.dist;
    const int k = int(rows.size());
    if (k == 0)
        return;
    const DistRow& top = rows.first();   // largest value, smallest at-least frequency
    const DistRow& bottom = rows.last(); // smallest value, total frequency
    const double largest = top.value;
    const double smallest = bottom.value;

    // Step chart.
    AxisBounds& s = r.stepAxes;
    s.minX = damage ? DamageMinX(smallest, false) : PeopleMinX(smallest);
    s.maxX = damage ? largest + largest / 10 : largest + 1;
    s.minY = top.atLeast - top.atLeast / 10;
    s.maxY = bottom.atLeast + bottom.atLeast / 10;

    ChartPlan& step = r.stepPlan;
    step.clear();
    step.reserve(2 * k + 12);
    step.append(MakeChartCall(ChartCall::ClearChart));
    AppendAxes(step, s);
    step.append(MakeChartCall(ChartCall::MoveTo, bottom.value, bottom.atLeast));
    for (int i = 1; i <= k; ++i) {
        const DistRow& d = rows[k - i];
        if (i % 2 == 1) {
            step.append(MakeChartCall(ChartCall::LineTo, d.value, d.atLeast, 3, 0));
            step.append(MakeChartCall(ChartCall::DrawBullet, d.value, d.atLeast, 11, 255));
        }
        if (i > 1)
            step.append(MakeChartCall(ChartCall::MoveTo, d.value, d.atLeast));
    }
    // Damage shows the data range in its X boxes rather than the chart's bounds.
    r.stepBoxes =
        damage ? AxisTexts{Format000(smallest), Format000(largest), FormatRiskValue(s.minY), FormatRiskValue(s.maxY)}
               : AxisTexts{PlainNumber(s.minX), PlainNumber(s.maxX), FormatRiskValue(s.minY), FormatRiskValue(s.maxY)};
    step.append(Curve(r.stepCurve));
    step.append(MakeChartCall(ChartCall::Redraw));
    step.append(MakeChartCall(ChartCall::ProcessEvents));

    // Polygon.
    AxisBounds& p = r.polygonAxes;
    p.minX = damage ? DamageMinX(smallest, true) : PeopleMinX(smallest);
    p.maxX = damage ? largest + largest * 0.001 : largest + 1;
    p.minY = r.minExact - r.minExact / 10;
    p.maxY = r.maxExact + r.maxExact / 10;

    ChartPlan& poly = r.polygonPlan;
    poly.clear();
    poly.reserve(r.polygonCurve.size() + 14);
    poly.append(MakeChartCall(ChartCall::ClearChart));
    if (r.kind == KindFatalities)
        poly.append(MakeChartCall(ChartCall::SetPolygonFlag, 0, 0, 1));
    AppendAxes(poly, p);
    if (r.polygonCurve.size() != 1)
        poly.append(Curve(r.polygonCurve));
    r.riskSum = 0;
    for (const QPointF& pt : r.polygonCurve) {
        poly.append(MakeChartCall(ChartCall::DrawBullet, pt.x(), pt.y(), 11, 0));
        r.riskSum = pt.y() * pt.x() + r.riskSum;
    }
    r.polygonBoxes = {PlainNumber(p.minX), PlainNumber(p.maxX), FormatRiskValue(p.minY), FormatRiskValue(p.maxY)};
    poly.append(MakeChartCall(ChartCall::Redraw));
    poly.append(MakeChartCall(ChartCall::ProcessEvents));
}

void SetIndicatorTexts(KindResult& r, double peopleValue)
{
    r.collectiveText = FormatRiskValue(r.riskSum);
    if (KindInfoOf(r.kind).isDamage)
        r.individualText.clear();
    else
        r.individualText = peopleValue != 0 ? FormatRiskValue(r.riskSum / peopleValue) : QStringLiteral("не расчитан");
}

namespace {

struct TableLayout {
    std::array<int, ResultTable::Columns> widths;
    int headerHeight;
    std::array<QString, ResultTable::Columns> headers;
};

TableLayout LayoutOf(int kind)
{
    const std::array<int, 5> people{1350, 3600, 2700, 3600, 2700};
    switch (kind) {
    case KindFatalities:
        return {people,
                700,
                {QStringLiteral("Число погибших, n человек"),
                 QStringLiteral("Аварийные сценарии со смертельными поражениями равными n человек"),
                 QStringLiteral("Частота событий (число случаев/год), в которых погибло ровно n человек"),
                 QStringLiteral("Аварийные сценарии со смертельными поражениями не менее n человек"),
                 QStringLiteral("Частота событий (число случаев/год), в которых погибло не менее n человек")}};
    case KindSevere:
        return {
            people,
            700,
            {QStringLiteral("Число тяжело пораженных, n человек"),
             QStringLiteral("Аварийные сценарии с тяжелыми поражениями равными n человек"),
             QStringLiteral("Частота событий (число случаев/год), в которых тяжело пораженных ровно n человек"),
             QStringLiteral("Аварийные сценарии с тяжелыми поражениями не менее n человек"),
             QStringLiteral("Частота событий (число случаев/год), в которых тяжело пораженных не менее n человек")}};
    case KindLight:
        return {people,
                700,
                {QStringLiteral("Число легко пораженных, n человек"),
                 QStringLiteral("Аварийные сценарии с легкими поражениями равными n человек"),
                 QStringLiteral("Частота событий (число случаев/год), в которых легко пораженных ровно n человек"),
                 QStringLiteral("Аварийные сценарии с легкими поражениями не менее n человек"),
                 QStringLiteral("Частота событий (число случаев/год), в которых легко пораженных не менее n человек")}};
    case KindSanitary:
        return {
            people,
            1100,
            {QStringLiteral("Число санитарных потерь, n человек"),
             QStringLiteral("Аварийные сценарии с санитарными потерями равными n человек"),
             QStringLiteral("Частота событий (число случаев/год), в которых санитарные потери ровно n человек"),
             QStringLiteral("Аварийные сценарии с санитарными потерями не менее n человек"),
             QStringLiteral("Частота событий (число случаев/год), в которых санитарные потери не менее n человек")}};
    default:
        return {{1350, 3300, 2700, 3300, 2700},
                700,
                {QStringLiteral("Размер ущерба, g млн.руб"),
                 QStringLiteral("Аварийные сценарии с объемом ущерба равным g млн.руб"),
                 QStringLiteral("Частота событий (число случаев/год), в которых ущерб равен g млн.руб"),
                 QStringLiteral("Аварийные сценарии с объемом ущерба не менее g млн.руб"),
                 QStringLiteral("Частота событий (число случаев/год), в которых ущерб не менее g млн.руб")}};
    }
}

} // namespace

void FillResultTable(KindResult& r, KindReader& reader, qsizetype indicatorRows)
{
    const bool damage = KindInfoOf(r.kind).isDamage;
    const TableLayout layout = LayoutOf(r.kind);
    ResultTable& t = r.table;
    t = ResultTable();
    t.columnWidths = layout.widths;
    t.headerHeight = layout.headerHeight;
    t.setHeader(layout.headers);
    // A row per scenario, and a total row for each value shared by several.
    t.reserveRows(1 + indicatorRows + r.distinctCount());

    const int k = r.rowCount();
    int row = 1;
    for (int i = 1; i <= k; i += 2) {
        const DistRow& d = r.dist[k - i];
        if (row > 1)
            t.appendRow();
        const QString valueText = damage ? Format000(d.value) : PlainNumber(d.value);
        t.setText(row, 0, valueText);
        // Both statements get the value with a dot; damage with four decimals.
        const QString queryText = SqlNumberText(damage ? Format0000(d.value) : PlainNumber(d.value));
        const NameList atLeast = reader.atLeast(queryText);

        QString exactNames;
        int count = 0;
        for (const ScenarioRow& s : reader.exactly(queryText)) {
            if (!exactNames.isEmpty())
                exactNames += QStringLiteral(", ");
            exactNames += s.name;
            if (++count > 1) {
                row = t.appendRow();
                t.setText(row, 0, valueText);
            }
            t.setText(row, 1, s.name);
            t.setText(row, 2, FormatRiskValue(s.risk));
        }
        if (count > 1) {
            row = t.appendRow();
            t.setText(row, 0, QStringLiteral("Итого"));
            t.setText(row, 1, exactNames);
            t.fitRowHeight(row, exactNames.size());
            t.setText(row, 2, FormatRiskValue(d.exactly));
        }
        t.setSharedTail(row, 3, atLeast.text, atLeast.offset);
        t.fitRowHeight(row, atLeast.length());
        t.setText(row, 4, FormatRiskValue(d.atLeast));
        ++row;
    }
}

} // namespace zarnel

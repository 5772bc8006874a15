#include "risk/Criteria.h"

#include "core/Formats.h"
#include "risk/Build.h"

#include <QLocale>
#include <cmath>

namespace zarnel {

QVector<CurvePoint> AtLeastCurve(const KindResult& r)
{
    // Data rows are rows 1, 3, ..., K (indices 0, 2, ...), largest value first.
    QVector<CurvePoint> out;
    out.reserve((r.dist.size() + 1) / 2);
    for (qsizetype i = r.dist.size() - 1; i >= 0; --i)
        if (i % 2 == 0)
            out.append({r.dist[i].value, r.dist[i].atLeast});
    return out;
}

namespace {

// Collects consecutive exceeded values into ranges and keeps the largest ratio.
class RangeCollector {
public:
    void visit(double value, double f, double limit)
    {
        if (!(f > limit)) {
            m_open = false;
            return;
        }
        if (m_open)
            m_v.ranges.last().to = value;
        else
            m_v.ranges.append({value, value});
        m_open = true;
        const double ratio = f / limit;
        if (ratio > m_v.largestRatio) {
            m_v.largestRatio = ratio;
            m_v.largestAt = value;
        }
    }
    // A gap between two visited values that is not itself exceeded closes the range.
    void gap() { m_open = false; }
    CriterionVerdict result() const { return m_v; }

private:
    CriterionVerdict m_v;
    bool m_open = false;
};

} // namespace

CriterionVerdict JudgeCriterion(const QVector<CurvePoint>& ascending, const CriterionLine& line, bool damage)
{
    RangeCollector ranges;
    if (ascending.isEmpty())
        return ranges.result();
    const double largest = ascending.last().value;
    const double upper = std::min(line.n2.value_or(largest), largest);

    if (damage) {
        for (const CurvePoint& p : ascending)
            if (p.value >= line.n1 && p.value <= upper)
                ranges.visit(p.value, p.atLeast, line.at(p.value));
            else
                ranges.gap();
        return ranges.result();
    }

    // F(n) for whole n is the at-least frequency of the smallest data value >= n; beyond the largest value it is 0,
    // which never exceeds a positive line.
    qsizetype next = 0;
    const double first = std::max(1.0, std::ceil(line.n1));
    for (double n = first; n <= upper; n += 1) {
        while (next < ascending.size() && ascending[next].value < n)
            ++next;
        if (next == ascending.size())
            break;
        ranges.visit(n, ascending[next].atLeast, line.at(n));
    }
    return ranges.result();
}

QVector<QPointF> CriterionCurve(const CriterionLine& line, double largestValue)
{
    const double to = line.n2.value_or(largestValue);
    if (to < line.n1)
        return {};
    if (to == line.n1)
        return {QPointF(line.n1, line.at(line.n1))};
    if (line.alpha == 0)
        return {QPointF(line.n1, line.c), QPointF(to, line.c)};
    // Evenly spaced on a log axis and dense enough to look smooth on a linear one.
    constexpr int kPoints = 200;
    QVector<QPointF> points;
    points.reserve(kPoints + 1);
    const double ratio = std::pow(to / line.n1, 1.0 / kPoints);
    double n = line.n1;
    for (int i = 0; i <= kPoints; ++i, n *= ratio) {
        const double x = i == kPoints ? to : n;
        points.append(QPointF(x, line.at(x)));
    }
    return points;
}

void JudgeCriteria(Connection& c, qint16 objectId, BuildResult& result, double peopleValue,
                   const std::optional<QStringList>& names)
{
    EnsureCriteriaTables(c);
    QVector<CriterionLine> lines;
    if (names) {
        for (const QString& n : *names) {
            const std::optional<CriterionLine> l = FindCriterion(c, n.trimmed());
            if (!l)
                throw std::invalid_argument(n.trimmed().toStdString());
            lines.append(*l);
        }
    } else {
        for (const QString& n : ChosenCriteria(c, objectId))
            if (const std::optional<CriterionLine> l = FindCriterion(c, n))
                lines.append(*l);
    }
    for (KindResult& r : result.kinds) {
        r.criteria.clear();
        r.limitText.clear();
        if (!r.ran)
            continue;
        const bool damage = KindInfoOf(r.kind).isDamage;
        const QVector<CurvePoint> curve = AtLeastCurve(r);
        for (const CriterionLine& l : lines) {
            if (!l.appliesTo(r.kind))
                continue;
            KindCriterion kc{l, JudgeCriterion(curve, l, damage), {}, CriterionCurve(l, curve.last().value)};
            kc.sentence = VerdictSentence(l, kc.verdict, damage);
            r.criteria.append(kc);
        }
        if (!damage && peopleValue != 0)
            if (const std::optional<IndividualLimit> limit = ChosenLimit(c, objectId, r.kind))
                r.limitText = IndividualLimitText(r.riskSum / peopleValue, *limit);
    }
}

QString TwoSignificant(double x)
{
    const QLocale ru(QLocale::Russian, QLocale::Russia);
    if (!(x > 0) || !std::isfinite(x))
        return ru.toString(x, 'f', 0);
    int exponent = int(std::floor(std::log10(x)));
    double scale = std::pow(10.0, exponent - 1);
    double rounded = std::round(x / scale) * scale;
    if (rounded >= std::pow(10.0, exponent + 1)) // 9,96 rounds up to 10: one digit fewer after the comma
        ++exponent;
    const int decimals = std::max(0, 1 - exponent);
    QString s = ru.toString(rounded, 'f', decimals);
    s.remove(ru.groupSeparator());
    return s;
}

namespace {

QString ValueText(double v, bool damage)
{
    const QLocale ru(QLocale::Russian, QLocale::Russia);
    QString s = damage ? ru.toString(v, 'f', 3) : ru.toString(v, 'f', 0);
    s.remove(ru.groupSeparator());
    return s;
}

} // namespace

QString VerdictSentence(const CriterionLine& line, const CriterionVerdict& v, bool damage)
{
    const QString head = QStringLiteral("Критерий «%1»: ").arg(line.name);
    if (!v.exceeded())
        return head + (damage ? QStringLiteral("F/G диаграмма не выходит за линию критерия.")
                              : QStringLiteral("F/n диаграмма не выходит за линию критерия."));
    const QString var = damage ? QStringLiteral("G") : QStringLiteral("n");
    QStringList parts;
    for (const ExceedanceRange& r : v.ranges)
        parts << QStringLiteral("от %1 до %2").arg(ValueText(r.from, damage), ValueText(r.to, damage));
    return head + QStringLiteral("превышение при %1 %2, наибольшее — в %3 раза при %1 = %4.")
                      .arg(var, parts.join(QStringLiteral(", ")), TwoSignificant(v.largestRatio),
                           ValueText(v.largestAt, damage));
}

QString IndividualLimitText(double individualRisk, const IndividualLimit& limit)
{
    const QString value = FormatRiskValue(limit.value);
    if (individualRisk <= limit.value)
        return QStringLiteral("не превышает допустимого значения %1 1/год (%2)").arg(value, limit.source);
    return QStringLiteral("превышает допустимое значение %1 1/год (%2) в %3 раза")
        .arg(value, limit.source, TwoSignificant(individualRisk / limit.value));
}

} // namespace zarnel

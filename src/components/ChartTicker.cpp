#include "components/ChartTicker.h"

#include <cmath>
#include <limits>
#include <utility>

void ChartTicker::configure(bool logarithmic, int divisions, const QString& format)
{
    m_logarithmic = logarithmic;
    m_divisions = qBound(1, divisions, zarnel::kMaxChartDivisions);
    m_format = ChartNumberFormat(format);
}

void ChartTicker::generate(const QCPRange& range, const QLocale&, QChar, int, QVector<double>& ticks,
                           QVector<double>* subTicks, QVector<QString>* tickLabels)
{
    QVector<double> minor;
    Spacing spacing = Spacing::Linear;
    if (m_logarithmic)
        spacing = logTicks(range, ticks, minor);
    else
        ticks = linearTicks(range);
    if (subTicks)
        *subTicks = minor;
    if (tickLabels)
        *tickLabels = labels(ticks, spacing);
}

namespace {

// A tick step written exactly: q * 10^p with q one of 1, 2, 25 (2,5 one power down) or 5.
struct Step {
    int q = 1;
    int p = 0;

    double size() const { return value(1); }
    // i steps, computed so that 3 steps of 0,1 are 0,3 and not 0,30000000000000004.
    double value(double i) const { return p >= 0 ? i * q * std::pow(10.0, p) : i * q / std::pow(10.0, -p); }
};

// The first and last step index within the range, a hair wider than it so the bounds themselves count.
std::pair<double, double> stepIndices(const QCPRange& range, const Step& step)
{
    const double size = step.size();
    return {std::ceil(range.lower / size - 1e-9), std::floor(range.upper / size + 1e-9)};
}

} // namespace

QVector<double> ChartTicker::linearTicks(const QCPRange& range) const
{
    const double span = range.upper - range.lower;
    if (!std::isfinite(span) || span <= 0)
        return {range.lower};

    // The round step whose number of steps across the range is nearest to the divisions asked for (by ratio,
    // the larger step on a tie), among those that leave at least two ticks in the range.
    const int e = int(std::floor(std::log10(span / m_divisions)));
    Step best;
    double bestScore = std::numeric_limits<double>::infinity();
    for (int p = e - 1; p <= e + 1; ++p) {
        for (const Step candidate : {Step{1, p}, Step{2, p}, Step{25, p - 1}, Step{5, p}}) {
            const auto [first, last] = stepIndices(range, candidate);
            if (!(last - first >= 1))
                continue;
            const double score = std::fabs(std::log(span / candidate.size() / m_divisions));
            if (score <= bestScore + 1e-12) {
                best = candidate;
                bestScore = score;
            }
        }
    }
    if (!std::isfinite(bestScore))
        return {range.lower, range.upper};

    // Counted, not stepped: far from zero an index may be too large for ++ to change it.
    const auto [first, last] = stepIndices(range, best);
    const int count = int(qMin(last - first, 10.0 * zarnel::kMaxChartDivisions)) + 1;
    QVector<double> ticks;
    ticks.reserve(count);
    for (int k = 0; k < count; ++k)
        ticks.append(best.value(first + k));
    return ticks;
}

ChartTicker::Spacing ChartTicker::logTicks(const QCPRange& range, QVector<double>& ticks,
                                           QVector<double>& subTicks) const
{
    ticks.clear();
    subTicks.clear();
    const double lo = range.lower;
    const double hi = range.upper;
    if (!(lo > 0) || !(hi > lo) || !std::isfinite(hi)) {
        ticks = linearTicks(range);
        return Spacing::Linear;
    }
    const auto inRange = [lo, hi](double v) { return v >= lo * (1 - 1e-9) && v <= hi * (1 + 1e-9); };
    const double lg0 = std::log10(lo);
    const double lg1 = std::log10(hi);
    const int e0 = int(std::ceil(lg0 - 1e-9));
    const int e1 = int(std::floor(lg1 + 1e-9));

    if (e1 > e0) {
        const int step = (e1 - e0 + m_divisions - 1) / m_divisions;
        for (int e = e0; e <= e1; e += step)
            ticks.append(std::pow(10.0, e));
        if (step == 1) {
            for (int e = e0 - 1; e <= e1; ++e)
                for (int m = 2; m <= 9; ++m)
                    if (const double v = m * std::pow(10.0, e); inRange(v))
                        subTicks.append(v);
        } else {
            for (int e = e0; e <= e1; ++e)
                if ((e - e0) % step != 0)
                    subTicks.append(std::pow(10.0, e));
        }
        return Spacing::Decades;
    }

    // Less than two decades ticked: label mantissas instead, coarse first.
    const QVector<QVector<int>> mantissaSets = {{1, 2, 5}, {1, 2, 3, 4, 5, 6, 7, 8, 9}};
    for (const QVector<int>& set : mantissaSets) {
        QVector<double> candidates;
        QVector<double> others;
        for (int e = int(std::floor(lg0)) - 1; e <= int(std::ceil(lg1)); ++e)
            for (int m = 1; m <= 9; ++m)
                if (const double v = m * std::pow(10.0, e); inRange(v))
                    (set.contains(m) ? candidates : others).append(v);
        if (candidates.size() >= 2) {
            ticks = candidates;
            subTicks = others;
            return Spacing::Mantissas;
        }
    }
    ticks = linearTicks(range);
    return Spacing::Linear;
}

QVector<QString> ChartTicker::labels(const QVector<double>& ticks, Spacing spacing) const
{
    QVector<QString> out(ticks.size());
    const int every = ticks.size() > MaxLabels + 1 ? int(std::ceil((ticks.size() - 1) / double(MaxLabels))) : 1;

    if (spacing != Spacing::Linear) {
        // Ticks are single-digit mantissas: a fixed format shows them with the decimals they need (0,1 not 0);
        // very small ones switch to a short power-of-ten text.
        static const ChartNumberFormat powerOfTen(QStringLiteral("0E-00"));
        for (qsizetype i = 0; i < ticks.size(); i += every) {
            if (m_format.isScientific()) {
                out[i] = m_format.text(ticks[i]);
            } else {
                const int d = m_format.decimalsToShow(ticks[i], 6);
                out[i] = d < 0 ? powerOfTen.text(ticks[i]) : m_format.text(ticks[i], qMax(d, m_format.decimals()));
            }
        }
        return out;
    }

    // The format's own decimals, and more where a label would not read as its tick's value (steps of 0,5 on a
    // whole-number axis read 0,5 1,0 1,5 rather than 1 1 2).
    const double gap = std::fabs(ticks.size() > 1 ? ticks[1] - ticks[0] : ticks.value(0));
    const double tolerance = gap * 1e-6;
    for (int decimals = m_format.decimals(); decimals <= 15; ++decimals) {
        bool exact = true;
        for (qsizetype i = 0; i < ticks.size(); i += every) {
            out[i] = m_format.text(ticks[i], decimals);
            const std::optional<double> shown = ChartNumberFormat::read(out[i]);
            if (!shown || std::fabs(*shown - ticks[i]) > tolerance)
                exact = false;
        }
        if (exact)
            break;
    }
    return out;
}

#include "components/ChartTicker.h"

#include <cmath>

void ChartTicker::configure(bool logarithmic, int divisions, const QString& format)
{
    m_logarithmic = logarithmic;
    m_divisions = qBound(1, divisions, MaxDivisions);
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

QVector<double> ChartTicker::linearTicks(const QCPRange& range) const
{
    const double span = range.upper - range.lower;
    if (!std::isfinite(span) || span <= 0)
        return {range.lower};
    QVector<double> ticks;
    ticks.reserve(m_divisions + 1);
    for (int k = 0; k <= m_divisions; ++k) {
        // Computed from the bounds, not accumulated, so the last tick is the upper bound itself.
        double t = k == m_divisions ? range.upper : range.lower + span * k / m_divisions;
        if (std::fabs(t) < span * 1e-9)
            t = 0; // -1..1 in 10 steps must label 0, not 1,1E-16
        ticks.append(t);
    }
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

    // The format's own decimals, and more only where neighbouring labels would read the same
    // (0..8 in ten steps reads 0,0 0,8 1,6 ... rather than 0 1 2 2).
    const int decimals = m_format.decimals();
    for (int extra = 0; extra <= 6; ++extra) {
        bool distinct = true;
        QString previous;
        for (qsizetype i = 0; i < ticks.size(); i += every) {
            out[i] = m_format.text(ticks[i], decimals + extra);
            if (i > 0 && out[i] == previous)
                distinct = false;
            previous = out[i];
        }
        if (distinct)
            break;
    }
    return out;
}

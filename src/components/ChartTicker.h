#pragma once

#include "components/ChartNumberFormat.h"

#include <qcustomplot.h>

// Ticks of one chart axis.
// Linear: `divisions` equal steps from the lower to the upper bound, both bounds ticked.
// Logarithmic: one tick per decade with the other mantissas as sub-ticks; decades are skipped when there are more
// than `divisions` of them, and a range narrower than two decade ticks falls back to 1-2-5 mantissas, then to all
// mantissas, then to linear steps, so an axis always carries at least two labelled ticks.
// Labels follow the axis' number format; fixed formats get the extra decimals a tick needs (0,1 on a log axis, 0,8
// for steps of 0.8), and decimals are added until neighbouring labels differ.
class ChartTicker : public QCPAxisTicker {
public:
    static constexpr int MaxDivisions = 100;
    static constexpr int MaxLabels = 20; // beyond this only every k-th tick is labelled

    void configure(bool logarithmic, int divisions, const QString& format);

    void generate(const QCPRange& range, const QLocale& locale, QChar formatChar, int precision, QVector<double>& ticks,
                  QVector<double>* subTicks, QVector<QString>* tickLabels) override;

private:
    enum class Spacing { Linear, Decades, Mantissas };

    Spacing logTicks(const QCPRange& range, QVector<double>& ticks, QVector<double>& subTicks) const;
    QVector<double> linearTicks(const QCPRange& range) const;
    QVector<QString> labels(const QVector<double>& ticks, Spacing spacing) const;

    bool m_logarithmic = false;
    int m_divisions = 10;
    ChartNumberFormat m_format;
};

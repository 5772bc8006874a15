#pragma once

#include "components/ChartNumberFormat.h"
#include "risk/ChartPlan.h"

#include <qcustomplot.h>

// Ticks of one chart axis. Every label states the value at its own tick, to the digits it shows.
// Linear: ticks at round values (1, 2, 2,5 or 5 times a power of ten) whose count of steps across the range is
// closest to `divisions`; the bounds themselves are ticked only when they are such values.
// Logarithmic: one tick per decade with the other mantissas as sub-ticks; decades are skipped when there are more
// than `divisions` of them, and a range narrower than two decade ticks falls back to 1-2-5 mantissas, then to all
// mantissas, then to linear ticks, so an axis always carries at least two labelled ticks.
// Labels follow the axis' number format, with the decimals a tick needs added where the format has too few
// (0,1 on a log axis, 2,5 on a whole-number axis with steps of 2,5).
class ChartTicker : public QCPAxisTicker {
public:
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

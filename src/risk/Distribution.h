#pragma once
// The steps of one kind that need no database: the distribution with its two series, the chart plans with
// their bounds and box texts, and the indicator texts.

#include "risk/Build.h"
#include "risk/KindReader.h"

namespace zarnel {

// Fills dist, stepCurve, polygonCurve, minExact and maxExact from the indicator rows, largest value first.
void Accumulate(KindResult& r, const QVector<IndicatorRow>& descending);

// Fills the axis bounds and box texts, both chart plans, and riskSum (summed along the polygon's bullets).
void PlanCharts(KindResult& r);

// Collective and individual texts from riskSum; peopleValue 0 means the individual risk is not computed.
void SetIndicatorTexts(KindResult& r, double peopleValue);

// The result table, with the name lists from the reader; indicatorRows sizes it.
void FillResultTable(KindResult& r, KindReader& reader, qsizetype indicatorRows);

} // namespace zarnel

#pragma once
// Criterion lines of societal risk, F = C / N^alpha on N1 <= N <= N2, and the verdict of a kind's F/n (F/G)
// curve against one of them. The verdict is judged on the step curve itself, independent of any axis bounds:
// for the people kinds at every whole n of the line's range, with F(n) the frequency of events with at least
// n; for damage at the data values of the curve.

#include "core/CriteriaStore.h"
#include "risk/Build.h"

#include <QString>
#include <QVector>

namespace zarnel {

// One value of the curve: the frequency of events with at least this value.
struct CurvePoint {
    double value = 0;
    double atLeast = 0;
};

// The kind's data points in ascending value, read from the distribution rows of a build.
QVector<CurvePoint> AtLeastCurve(const KindResult& r);

struct ExceedanceRange {
    double from = 0;
    double to = 0;
    bool operator==(const ExceedanceRange&) const = default;
};

struct CriterionVerdict {
    QVector<ExceedanceRange> ranges; // ascending; empty: the curve stays within the line
    double largestRatio = 0;         // F / line at its largest, over the exceeded values
    double largestAt = 0;            // the smallest value where largestRatio occurs
    bool exceeded() const { return !ranges.isEmpty(); }
};

CriterionVerdict JudgeCriterion(const QVector<CurvePoint>& ascending, const CriterionLine& line, bool damage);

// "Критерий «…»: F/n диаграмма не выходит за линию критерия." or the ranges of exceedance with the largest ratio.
QString VerdictSentence(const CriterionLine& line, const CriterionVerdict& v, bool damage);

// What follows the individual risk when a limit is chosen: "не превышает допустимого значения 1,000E-06 1/год
// (источник)" or "превышает допустимое значение … в 3,2 раза".
QString IndividualLimitText(double individualRisk, const IndividualLimit& limit);

// A positive ratio with two significant digits and a decimal comma: 3,2; 10; 120.
QString TwoSignificant(double x);

} // namespace zarnel

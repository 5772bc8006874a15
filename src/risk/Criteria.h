#pragma once
// Criterion lines of societal risk, F = C / N^alpha on N1 <= N <= N2, and the verdict of a kind's F/n (F/G)
// curve against one of them. The verdict is judged on the step curve itself, independent of any axis bounds:
// for the people kinds at every whole n of the line's range, with F(n) the frequency of events with at least
// n; for damage at the data values of the curve.

#include "core/CriteriaStore.h"

#include <QPointF>

#include <QString>
#include <QVector>

namespace zarnel {

struct KindResult;
struct BuildResult;

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

// One chosen line on one kind's F/n (F/G) chart: the verdict, its sentence and the points that draw the line
// (one point for a single-point criterion).
struct KindCriterion {
    CriterionLine line;
    CriterionVerdict verdict;
    QString sentence;
    QVector<QPointF> curve;
};

// Points of the line from n1 to n2 (to largestValue without n2): enough for a smooth curve on linear axes;
// empty when the range begins above largestValue.
QVector<QPointF> CriterionCurve(const CriterionLine& line, double largestValue);

// Judges every kind that ran against the lines that apply to it, and sets the limit texts of the individual
// risk: the lines named (built-in or the user's), or the object's own choice when names is nothing. peopleValue
// is the divisor of the individual risk (0: not computed, no limit text). Throws DbError; an unknown name
// throws std::invalid_argument with the name as its text.
void JudgeCriteria(Connection& c, qint16 objectId, BuildResult& result, double peopleValue,
                   const std::optional<QStringList>& names = std::nullopt);

// A positive ratio with two significant digits and a decimal comma: 3,2; 10; 120.
QString TwoSignificant(double x);

} // namespace zarnel

#pragma once
// Variants side by side: the F/n (F/G) curves of several objects for one kind on one chart, with the axis
// bounds that hold them all, the criterion lines the first object shows, and per object its risk numbers and
// the change of the collective risk against the first object.

#include "core/CriteriaStore.h"
#include "core/Database.h"
#include "risk/Build.h"

#include <QPointF>
#include <QString>
#include <QVector>
#include <array>
#include <optional>

namespace zarnel {

inline constexpr int MinCompared = 2;
inline constexpr int MaxCompared = 6;

struct ComparedObject {
    qint16 id = 0;
    QString name;
    unsigned colour = 0; // 0xRRGGBB of its curve
    bool hasKind = false;
    QVector<QPointF> curve; // the step curve as the results chart draws it (largest value first)
    double collective = 0;  // people per year, or million roubles per year
    std::optional<double> individual; // nothing: no number of people, or damage
    double largestValue = 0;
    double largestFrequency = 0;  // of events with at least the largest value
    std::optional<double> change; // per cent against the first object; nothing for the first, or when
                                  // either lacks the kind, or the first's collective risk is 0
};

struct ComparisonLine {
    CriterionLine line;
    QVector<QPointF> curve;
};

struct Comparison {
    int kind = KindFatalities;
    QVector<ComparedObject> objects; // in the order asked, the first is the base variant
    AxisBounds axes;                 // over every curve, by the rules of the results chart
    AxisTexts boxes;                 // the texts of the four bound boxes
    QVector<ComparisonLine> lines;   // the first object's chosen lines that apply to the kind
    ChartPlan plan;                  // the first drawing: the axes at the bounds (the curves are overlays)
    bool anyHasKind() const;
};

// Colour of the i-th curve (0-based): distinct on white, none of them the criterion lines' black.
unsigned ComparisonColour(int index);

// Builds the kind for each object (people at risk as stored with it). Throws DbError.
Comparison BuildComparison(Connection& c, const QVector<qint16>& objectIds, int kind);

// The table under the chart: a header row and one row per object.
inline constexpr int ComparisonColumns = 6;
QVector<std::array<QString, ComparisonColumns>> ComparisonTexts(const Comparison& comparison);

} // namespace zarnel

#pragma once
// The rows of one consequence kind of an object as the indicator window lists them (tabScen with tabRisk),
// in one of the orders its menu offers.

#include "core/Database.h"

#include <QString>
#include <QVector>

namespace zarnel {

// Two order clauses; exactly one is used. A non-empty ScenarioOrder, or both empty, walks the scenarios
// (each listed once, with its first indicator of the kind); an IndicatorOrder alone walks the indicator
// rows, so a scenario with several rows of the kind is listed once per row.
struct SortPair {
    QString ScenarioOrder;
    QString IndicatorOrder;
};

// The order every kind starts from when the window loads: scenario names ascending.
inline SortPair InitialSortPair()
{
    return {QStringLiteral(" order by Name asc"), QString()};
}

// The orders of the sort menu.
enum class KindOrder { NumberAsc, NumberDesc, RiskAsc, RiskDesc, NameAsc, NameDesc };
SortPair SortPairOf(KindOrder order);

// One data row of a kind, as shown.
struct IndicatorGridRow {
    QString name;      // tabScen Name
    QString frequency; // tabScen Risk through FormatRiskValue
    QString value;     // tabRisk Number as text
    qint16 scenarioId = 0;
    double number = 0; // tabRisk Number
};

// The rows of kind 0..3 in the order pair gives. Throws DbError.
QVector<IndicatorGridRow> ReadIndicatorGridRows(const Connection& c, qint16 objectId, int kind, const SortPair& pair);

} // namespace zarnel

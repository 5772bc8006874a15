#pragma once
// Fills the four indicator grids of frmInput (kinds 0 fatalities, 1 severe injuries, 2 light injuries,
// 3 damage) for CurrentObjectId: one row per scenario having the kind (classification number, frequency,
// value), in the order the kind's SortPair chooses.

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

// The order every kind starts from when frmInput loads.
inline SortPair InitialSortPair()
{
    return {QStringLiteral(" order by Name asc"), QString()};
}

// One data row of an indicator grid, as shown.
struct IndicatorGridRow {
    QString name;      // tabScen Name
    QString frequency; // tabScen Risk through FormatRiskValue
    QString value;     // tabRisk Number as text
    qint16 scenarioId = 0;
    double number = 0; // tabRisk Number
};

// The rows of kind 0..3 in the order pair gives.
QVector<IndicatorGridRow> ReadIndicatorGridRows(const Connection& c, qint16 objectId, int kind, const SortPair& pair);

// Rebuilds the grids whose refill flag is set, in kind order, and disables their "Обнулить" buttons; the
// other grids and buttons are left alone. frmInput keeps the rows shown. Loads frmInput when it is not loaded. Throws DbError.
void FillIndicatorGrids(const SortPair& pair0, const SortPair& pair1, const SortPair& pair2, const SortPair& pair3,
                        bool refill0, bool refill1, bool refill2, bool refill3);

} // namespace zarnel

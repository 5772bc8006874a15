#pragma once
// Fills the four indicator grids of frmInput (kinds 0 fatalities, 1 severe injuries, 2 light injuries,
// 3 damage) for CurrentObjectId: one row per scenario having the kind (classification number, frequency,
// value), in the order the kind's SortPair chooses.

#include "core/IndicatorRows.h"

namespace zarnel {

// Rebuilds the grids whose refill flag is set, in kind order, and disables their "Обнулить" buttons; the
// other grids and buttons are left alone. frmInput keeps the rows shown. Loads frmInput when it is not loaded. Throws DbError.
void FillIndicatorGrids(const SortPair& pair0, const SortPair& pair1, const SortPair& pair2, const SortPair& pair3,
                        bool refill0, bool refill1, bool refill2, bool refill3);

} // namespace zarnel

#pragma once
// The results window's commands for the word processor: "Вывод графика в MWord" on every chart tab and the menu
// "Вывод результатов в MWord". The documents themselves are written by report/.

#include "report/ResultsView.h"

#include <QDateTime>

namespace zarnel {

class frmOutput;

// The controls of the results window the report reads.
ResultsView ResultsViewOf(frmOutput& f);

// The menu command: logs the request in tabOtchet, then the report (a failed log stops it).
void WordReport_Click(frmOutput& f, const QDateTime& now = QDateTime::currentDateTime());

// Connects mnuWord and the ten chart export buttons of the window (once; later calls do nothing).
void ConnectWordOutput(frmOutput* f);

} // namespace zarnel

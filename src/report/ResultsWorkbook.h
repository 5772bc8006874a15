#pragma once
// "Экспорт результатов в Excel...": the numbers of one build as a workbook. One sheet per kind that has results,
// named as the kind's page of the results window: a row per value in ascending order with the frequencies of
// events with exactly and with at least that value, as numbers, and the scenario names; and the sheet
// "Показатели" with the collective and individual risks and the expected damage.

#include "risk/Build.h"

#include <QString>

namespace zarnel {

// The page caption of a kind in the results window, which names its sheet.
QString ResultsSheetName(int kind);

// One row of a kind's sheet.
struct ResultsSheetRow {
    double value = 0;
    double exactly = 0;
    double atLeast = 0;
    QString exactNames;
    QString atLeastNames;
};

// The rows of a kind's sheet, ascending value, from the build's distribution and result table.
QVector<ResultsSheetRow> ResultsSheetRows(const KindResult& kind);

// peopleValue: the number of people at risk the build divided by (0: no individual risk).
bool WriteResultsWorkbook(const QString& path, const BuildResult& build, double peopleValue, QString* error);

} // namespace zarnel

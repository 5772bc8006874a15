#pragma once
// Which scenarios make the collective risk (for damage the expected damage) of a kind: per indicator row its
// value times its scenario's frequency, and that product's share of the sum, largest first.

#include <QString>
#include <QVector>
#include <array>

namespace zarnel {

struct IndicatorRow;

struct ContributionRow {
    QString number; // classification number
    QString title;
    double value = 0;        // people, or million roubles
    double frequency = 0;    // of the scenario, per year
    double contribution = 0; // value x frequency, per year
    double share = 0;        // per cent of the total; 0 when the total is 0
    bool operator==(const ContributionRow&) const = default;
};

struct ContributionTable {
    // Largest contribution first; equal contributions by larger value, then by classification number, then
    // in the order the rows were read.
    QVector<ContributionRow> rows;
    double totalFrequency = 0;
    double total = 0; // the collective risk (expected damage) of the kind
};

// Over the rows the collective risk is summed from: one row per indicator, so a scenario counted twice in a kind
// contributes twice, as it does to the sum.
ContributionTable ScenarioContributions(const QVector<IndicatorRow>& rows);

// The grid texts: a header row, the rows, and "Итого". Contributions and frequencies in the frequency format
// (0 as "0", not blank: a row without a contribution is still a row), shares with one decimal (blank when the
// total is 0: nothing to share).
inline constexpr int ContributionColumns = 6;
QVector<std::array<QString, ContributionColumns>> ContributionTexts(const ContributionTable& t, int kind);

// "Вклад сценариев в коллективный риск гибели людей", for damage "Вклад сценариев в среднеожидаемый ущерб".
QString ContributionCaption(int kind);

// Relative widths of the columns, in twips of the results window.
inline constexpr std::array<int, ContributionColumns> ContributionColumnWidths{1500, 3600, 1500, 1500, 1500, 900};

} // namespace zarnel

#pragma once
// Contents of one result grid: five columns, header row 0, then the data rows.

#include <QString>
#include <QVector>
#include <array>

namespace zarnel {

class ResultTable {
public:
    static constexpr int Columns = 5;

    // Widths of the five columns and the height of the header row, in twips.
    std::array<int, Columns> columnWidths{};
    int headerHeight = 0;

    // Rows including the header row 0; at least 2, as a reset grid starts with one empty data row.
    int rowCount() const { return int(m_rows.size()); }
    QString text(int row, int column) const;
    // Height a row needs for its name lists, in twips; 0: the grid's default height. The header row answers
    // headerHeight. Rows start at the grid's default in every build (an earlier build's heights do not carry
    // over), and a row never gets less than the default: the window sets max(default, this).
    int rowHeight(int row) const;

    // Building (used by the computation).
    void setHeader(const std::array<QString, Columns>& texts);
    void reserveRows(qsizetype rows) { m_rows.reserve(rows); }
    int appendRow(); // returns the new row's index
    void setText(int row, int column, const QString& text);
    // A cell holding the tail of a shared list, from character offset on: the at-least lists of one kind are
    // tails of one text, so they are not copied per row.
    void setSharedTail(int row, int column, const QString& shared, qsizetype offset);
    // Grows the row to the height a text of this length wants: (length \ 45 + 1) x 250 twips.
    void fitRowHeight(int row, qsizetype textLength);

    bool operator==(const ResultTable& other) const;

private:
    struct Row {
        std::array<QString, Columns> cells;
        int tailColumn = -1;
        qsizetype tailOffset = 0;
        QString tail; // shared, implicitly
        int height = 0;
    };
    QVector<Row> m_rows{Row{}, Row{}};
};

// Height wanted for a text of this length, in twips; the 16-bit computation is capped at 32767.
int WantedRowHeight(qsizetype textLength);

} // namespace zarnel

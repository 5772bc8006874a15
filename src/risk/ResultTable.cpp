#include "risk/ResultTable.h"

#include <algorithm>

namespace zarnel {

int WantedRowHeight(qsizetype textLength)
{
    // The grid keeps row heights in 16 bits; longer lists than about 5900 characters get the tallest row.
    const qint64 wanted = (qint64(textLength) / 45 + 1) * 250;
    return int(std::min<qint64>(wanted, 32767));
}

QString ResultTable::text(int row, int column) const
{
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= Columns)
        return QString();
    const Row& r = m_rows[row];
    if (column == r.tailColumn)
        return r.tailOffset == 0 ? r.tail : r.tail.sliced(r.tailOffset);
    return r.cells[column];
}

int ResultTable::rowHeight(int row) const
{
    if (row == 0)
        return headerHeight;
    return row > 0 && row < m_rows.size() ? m_rows[row].height : 0;
}

void ResultTable::setHeader(const std::array<QString, Columns>& texts)
{
    m_rows[0].cells = texts;
}

int ResultTable::appendRow()
{
    m_rows.append(Row{});
    return int(m_rows.size()) - 1;
}

void ResultTable::setText(int row, int column, const QString& text)
{
    Row& r = m_rows[row];
    if (r.tailColumn == column) {
        r.tailColumn = -1;
        r.tail.clear();
    }
    r.cells[column] = text;
}

void ResultTable::setSharedTail(int row, int column, const QString& shared, qsizetype offset)
{
    Row& r = m_rows[row];
    r.cells[column].clear();
    r.tailColumn = column;
    r.tail = shared;
    r.tailOffset = std::min(offset, shared.size());
}

void ResultTable::fitRowHeight(int row, qsizetype textLength)
{
    m_rows[row].height = std::max(m_rows[row].height, WantedRowHeight(textLength));
}

bool ResultTable::operator==(const ResultTable& other) const
{
    if (columnWidths != other.columnWidths || headerHeight != other.headerHeight || rowCount() != other.rowCount())
        return false;
    for (int r = 0; r < rowCount(); ++r) {
        if (rowHeight(r) != other.rowHeight(r))
            return false;
        for (int c = 0; c < Columns; ++c)
            if (text(r, c) != other.text(r, c))
                return false;
    }
    return true;
}

} // namespace zarnel

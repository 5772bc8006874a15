#include "components/FlexGrid.h"

#include "components/Twips.h"

#include <QHeaderView>
#include <QStyle>

#include <algorithm>
#include <climits>
#include <cmath>
#include <QKeyEvent>

namespace zarnel {

FlexGrid::FlexGrid(QWidget* parent)
    : QTableWidget(parent)
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(true);
    verticalHeader()->setDefaultSectionSize(TwipsToPixelsY(255));
    verticalHeader()->setMinimumSectionSize(4);
    horizontalHeader()->setMinimumSectionSize(0);
    setRowCount(2);
    setColumnCount(2);
    connect(this, &QTableWidget::cellClicked, this, [this](int r, int c) {
        m_row = r;
        m_col = c;
        Q_EMIT Click();
    });
    connect(this, &QTableWidget::cellDoubleClicked, this, [this](int r, int c) {
        m_row = r;
        m_col = c;
        Q_EMIT DblClick();
    });
    connect(this, &QTableWidget::currentCellChanged, this, [this](int r, int c, int, int) {
        if (r >= 0 && c >= 0) {
            m_row = r;
            m_col = c;
        }
    });
}

void FlexGrid::setRows(int n)
{
    const int old = rowCount();
    setRowCount(n);
    for (int r = old; r < n; ++r)
        for (int c = 0; c < columnCount(); ++c)
            cell(r, c);
    if (m_row >= n)
        m_row = n - 1;
}

void FlexGrid::setCols(int n)
{
    const int old = columnCount();
    setColumnCount(n);
    for (int c = old; c < n; ++c)
        for (int r = 0; r < rowCount(); ++r)
            cell(r, c);
    if (m_col >= n)
        m_col = n - 1;
}

void FlexGrid::setFixedCols(int n)
{
    m_fixedCols = n;
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c)
            styleFixed(r, c, cell(r, c));
}

QTableWidgetItem* FlexGrid::cell(int row, int col)
{
    QTableWidgetItem* it = item(row, col);
    if (!it) {
        it = new QTableWidgetItem();
        it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        it->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        styleFixed(row, col, it);
        setItem(row, col, it);
    }
    return it;
}

void FlexGrid::styleFixed(int row, int col, QTableWidgetItem* it) const
{
    const bool fixed = row < 1 || col < m_fixedCols;
    it->setBackground(fixed ? QColor(224, 224, 224) : QColor(Qt::white));
}

QString FlexGrid::TextMatrix(int row, int col) const
{
    const QTableWidgetItem* it = item(row, col);
    return it ? it->text() : QString();
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text)
{
    cell(row, col)->setText(text);
}

int FlexGrid::ColWidth(int col) const
{
    return isColumnHidden(col) ? 0 : PixelsToTwipsX(columnWidth(col));
}

void FlexGrid::setColWidth(int col, int twips)
{
    setColumnHidden(col, twips <= 0);
    if (twips > 0)
        setColumnWidth(col, TwipsToPixelsX(twips));
}

int FlexGrid::RowHeight(int row) const
{
    return PixelsToTwipsY(rowHeight(row));
}

void FlexGrid::setRowHeight(int row, int twips)
{
    QTableWidget::setRowHeight(row, TwipsToPixelsY(twips));
}

int FlexGrid::defaultRowHeightTwips() const
{
    return PixelsToTwipsY(verticalHeader()->defaultSectionSize());
}

void FlexGrid::growRowsToTexts(int fromRow)
{
    // Above this length a text is measured by a sample of its characters.
    constexpr qsizetype kExactLength = 600;
    const QFontMetrics fm(font());
    const int hMargin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int vMargin = style()->pixelMetric(QStyle::PM_FocusFrameVMargin, nullptr, this) + 1;
    const int oneLine = fm.height() + 2 * vMargin;
    for (int r = fromRow; r < rowCount(); ++r) {
        int wanted = 0;
        for (int c = 0; c < columnCount(); ++c) {
            const QTableWidgetItem* it = item(r, c);
            if (!it || isColumnHidden(c) || it->text().isEmpty())
                continue;
            const QString& text = it->text();
            const int width = std::max(columnWidth(c) - 2 * hMargin, 1);
            int height = oneLine;
            if (text.size() <= kExactLength) {
                if (fm.horizontalAdvance(text) > width)
                    height = fm.boundingRect(QRect(0, 0, width, INT_MAX), Qt::TextWordWrap, text).height() +
                             2 * vMargin;
            } else {
                // Whole names move to the next line, wasting part of each: a tenth more lines, and one for the tail.
                const double perChar = fm.horizontalAdvance(text.left(kExactLength)) / double(kExactLength);
                const double lines = std::ceil(double(text.size()) * perChar / width * 1.1) + 1;
                height = int(std::min(lines * fm.lineSpacing(), 1e7)) + 2 * vMargin;
            }
            wanted = std::max(wanted, height);
        }
        if (wanted > rowHeight(r))
            QTableWidget::setRowHeight(r, wanted);
    }
}

void FlexGrid::AddItem(const QString& text)
{
    setRows(rowCount() + 1);
    setTextMatrix(rowCount() - 1, 0, text);
}

void FlexGrid::Clear()
{
    for (int r = 0; r < rowCount(); ++r) {
        for (int c = 0; c < columnCount(); ++c) {
            QTableWidgetItem* it = cell(r, c);
            it->setText(QString());
            it->setData(Qt::ForegroundRole, QVariant());
        }
    }
}

void FlexGrid::setRow(int row)
{
    m_row = row;
}

void FlexGrid::setCol(int col)
{
    m_col = col;
}

void FlexGrid::setCellForeColor(const QColor& c)
{
    if (m_row >= 0 && m_row < rowCount() && m_col >= 0 && m_col < columnCount())
        cell(m_row, m_col)->setForeground(c);
}

QColor FlexGrid::cellForeColor(int row, int col) const
{
    const QTableWidgetItem* it = item(row, col);
    if (!it)
        return QColor(Qt::black);
    const QVariant v = it->data(Qt::ForegroundRole);
    return v.isValid() ? v.value<QBrush>().color() : QColor(Qt::black);
}

void FlexGrid::setSelectionByRow(bool byRow)
{
    setSelectionBehavior(byRow ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
}

void FlexGrid::clickCell(int row, int col)
{
    setCurrentCell(row, col);
    m_row = row;
    m_col = col;
    Q_EMIT Click();
}

void FlexGrid::doubleClickCell(int row, int col)
{
    setCurrentCell(row, col);
    m_row = row;
    m_col = col;
    Q_EMIT DblClick();
}

void FlexGrid::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        Q_EMIT EnterPressed();
        return;
    }
    const int oldRow = m_row;
    const int oldCol = m_col;
    QTableWidget::keyPressEvent(e);
    // Moving with the keys is a click on the new cell.
    if (currentRow() >= 0 && currentColumn() >= 0 && (currentRow() != oldRow || currentColumn() != oldCol)) {
        m_row = currentRow();
        m_col = currentColumn();
        Q_EMIT Click();
    }
}

} // namespace zarnel

#include "components/FlexGrid.h"

#include "components/Twips.h"

#include <QHeaderView>
#include <QStyle>

#include <algorithm>
#include <climits>
#include <cmath>
#include <QKeyEvent>
#include <QStyledItemDelegate>
#include <QTextLayout>

namespace zarnel {

namespace {

// True when text, wrapped at word boundaries as the item view wraps it, fits width × height.
bool fitsWrapped(const QString& text, const QFont& font, int width, int height)
{
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    QTextLayout layout(text, font);
    layout.setTextOption(option);
    qreal h = 0;
    bool fits = true;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        // A word longer than the line overflows it and would be cut.
        fits = fits && line.naturalTextWidth() <= width;
        h += line.height();
    }
    layout.endLayout();
    return fits && h <= height;
}

// Paints the header row with the font that lets each header fit its cell.
class HeaderDelegate : public QStyledItemDelegate {
public:
    explicit HeaderDelegate(FlexGrid* grid)
        : QStyledItemDelegate(grid)
        , m_grid(grid)
    {
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.row() == 0)
            option->font = m_grid->headerFont();
    }

private:
    FlexGrid* m_grid;
};

} // namespace

FlexGrid::FlexGrid(QWidget* parent)
    : QTableWidget(parent)
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(true);
    setItemDelegate(new HeaderDelegate(this));
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

QFont FlexGrid::headerFont() const
{
    // One size for the whole header row, the largest at which every header fits: a row of mixed sizes reads badly.
    QFont f = font();
    if (f.pointSizeF() <= 0)
        return f;
    // The item view paints a cell one grid line smaller and keeps a margin on either side of its text; one
    // pixel more allows for the rounding of the text's width.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int grid = showGrid() ? 1 : 0;
    const int height = rowHeight(0) - grid - 1;
    constexpr qreal kSmallest = 5;
    qreal size = f.pointSizeF();
    for (int c = 0; c < columnCount(); ++c) {
        const QTableWidgetItem* it = item(0, c);
        if (!it || it->text().isEmpty() || isColumnHidden(c))
            continue;
        const int width = columnWidth(c) - grid - 2 * margin - 1;
        QFont candidate = f;
        candidate.setPointSizeF(size);
        while (size > kSmallest && !fitsWrapped(it->text(), candidate, width, height)) {
            size = qMax(kSmallest, size - 0.5);
            candidate.setPointSizeF(size);
        }
    }
    f.setPointSizeF(size);
    return f;
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

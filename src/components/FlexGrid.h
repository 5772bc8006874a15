#pragma once
// A grid with the vocabulary the windows use: row 0 (and column 0 unless told otherwise) are fixed
// header cells that belong to the grid, TextMatrix addresses every cell, sizes are in twips, and the
// grid keeps a current cell (row and column) that clicks and the arrow keys move.

#include <QColor>
#include <QTableWidget>

namespace zarnel {

class FlexGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit FlexGrid(QWidget* parent = nullptr);

    int Rows() const { return rowCount(); }
    void setRows(int n);
    int Cols() const { return columnCount(); }
    void setCols(int n);
    int FixedCols() const { return m_fixedCols; }
    void setFixedCols(int n);

    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);

    int ColWidth(int col) const;             // twips
    void setColWidth(int col, int twips);    // 0 hides the column
    int RowHeight(int row) const;            // twips
    void setRowHeight(int row, int twips);
    int defaultRowHeightTwips() const;
    // Grows each row from fromRow on to the height its word-wrapped texts need (never shrinks one). Texts of
    // many lines are measured from a sample: exact measuring of thousands of long name lists takes minutes.
    void growRowsToTexts(int fromRow);

    // Appends a row at the end; its column 0 receives text.
    void AddItem(const QString& text);
    // Empties every cell (texts and colours); rows and columns stay.
    void Clear();

    // The current cell.
    int Row() const { return m_row; }
    int Col() const { return m_col; }
    void setRow(int row);
    void setCol(int col);
    // Text colour of the current cell.
    void setCellForeColor(const QColor& c);
    QColor cellForeColor(int row, int col) const;

    // The font the header row (row 0) is painted with: the grid's font, made smaller where needed until every
    // header, wrapped at word boundaries, fits its cell whole.
    QFont headerFont() const;

    // Whole-row selection (the object list) instead of single cells.
    void setSelectionByRow(bool byRow);

    // What a user does: click or double-click a cell, press Enter.
    void clickCell(int row, int col);
    void doubleClickCell(int row, int col);

Q_SIGNALS:
    void Click();
    void DblClick();
    void EnterPressed();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    QTableWidgetItem* cell(int row, int col);
    void styleFixed(int row, int col, QTableWidgetItem* item) const;
    int m_row = 0;
    int m_col = 0;
    int m_fixedCols = 1;
};

} // namespace zarnel

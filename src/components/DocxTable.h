#pragma once
// Handles to a table of a DocxWriter document and to one of its cells. Like the word processor's objects they
// stay valid as long as the writer that made them; a default-constructed handle is null and ignores every call.

#include <QColor>
#include <QString>

struct DocxDocument;
struct DocxTableData;

class DocxCell {
public:
    DocxCell() = default;

    bool isNull() const { return m_document == nullptr; }
    // Cell.Range.InsertAfter: appends at the end of the cell; "\r\n" starts a new paragraph inside the cell.
    bool append(const QString& text);

private:
    friend class DocxTable;
    DocxCell(DocxDocument* document, int block, int index) : m_document(document), m_block(block), m_index(index) {}

    DocxDocument* m_document = nullptr;
    int m_block = -1;
    int m_index = -1;
};

class DocxTable {
public:
    // The word processor's border items: outer sides, inner rules, and the two diagonals of every cell.
    enum class Border { Top, Left, Bottom, Right, InsideHorizontal, InsideVertical, DiagonalDown, DiagonalUp };
    enum class LineStyle { None, Single };

    DocxTable() = default;

    bool isNull() const { return m_document == nullptr; }
    int rows() const;
    int columns() const;

    // Cells are numbered from 1; a cell outside the table is a null handle.
    DocxCell cell(int row, int column) const;

    // widthPt is the line width in points (0.5 pt is Word's width 4, 0.75 pt is 6); an invalid colour is automatic.
    void setBorder(Border border, LineStyle style, double widthPt, const QColor& colour = QColor());
    void setShadow(bool shadow);
    void setAllowAutoFit(bool allow);
    // AutoFitBehavior(window): the table spans the whole text width and lets its columns follow the contents.
    void fitToWindow();
    // Rows(1..n).HeadingFormat: the first n rows repeat at the top of each page the table continues on.
    void setHeadingRows(int rows);
    // Rows.AllowBreakAcrossPages. A row taller than a page is still split: kept whole it would be cut off.
    void setRowsBreakAcrossPages(bool allow);
    // The columns' widths in proportion to these weights (twips of a grid, say), together the text width;
    // a missing or non-positive weight counts as the average of the others.
    void setColumnWeights(const std::vector<double>& weights);

private:
    friend class DocxWriter;
    DocxTable(DocxDocument* document, int block) : m_document(document), m_block(block) {}
    DocxTableData* data() const;

    DocxDocument* m_document = nullptr;
    int m_block = -1;
};

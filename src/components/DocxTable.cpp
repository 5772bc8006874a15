#include "components/DocxTable.h"

#include "components/DocxModel.h"

#include <algorithm>
#include <cmath>

bool DocxCell::append(const QString& text)
{
    if (!m_document)
        return false;
    auto& table = std::get<DocxTableData>(m_document->blocks[size_t(m_block)]);
    auto& paragraphs = table.cells[size_t(m_index)];
    docxAppendText(&paragraphs.back(), text, [&paragraphs] {
        paragraphs.push_back(paragraphs.back().continuation());
        return &paragraphs.back();
    });
    return true;
}

DocxTableData* DocxTable::data() const
{
    return m_document ? &std::get<DocxTableData>(m_document->blocks[size_t(m_block)]) : nullptr;
}

int DocxTable::rows() const
{
    return m_document ? data()->rows : 0;
}

int DocxTable::columns() const
{
    return m_document ? data()->columns : 0;
}

DocxCell DocxTable::cell(int row, int column) const
{
    const DocxTableData* table = data();
    if (!table || row < 1 || row > table->rows || column < 1 || column > table->columns)
        return {};
    return DocxCell(m_document, m_block, (row - 1) * table->columns + (column - 1));
}

void DocxTable::setBorder(Border border, LineStyle style, double widthPt, const QColor& colour)
{
    DocxTableData* table = data();
    if (!table)
        return;
    DocxBorderRule& rule = table->borders[size_t(border)];
    rule.style = style;
    // Line borders are 1/4 pt to 12 pt wide, in eighths of a point.
    rule.eighthsPt = std::clamp(int(std::lround(widthPt * 8.0)), 2, 96);
    rule.colour = colour;
    rule.set = true;
}

void DocxTable::setShadow(bool shadow)
{
    if (DocxTableData* table = data())
        table->shadow = shadow;
}

void DocxTable::setAllowAutoFit(bool allow)
{
    if (DocxTableData* table = data())
        table->allowAutoFit = allow;
}

void DocxTable::fitToWindow()
{
    if (DocxTableData* table = data()) {
        table->fitToWindow = true;
        table->allowAutoFit = true;
    }
}

void DocxTable::setHeadingRows(int rows)
{
    if (DocxTableData* table = data())
        table->headingRows = std::clamp(rows, 0, table->rows);
}

void DocxTable::setRowsBreakAcrossPages(bool allow)
{
    if (DocxTableData* table = data())
        table->rowsBreakAcrossPages = allow;
}

void DocxTable::setColumnWeights(const std::vector<double>& weights)
{
    if (DocxTableData* table = data())
        table->columnWeights = weights;
}

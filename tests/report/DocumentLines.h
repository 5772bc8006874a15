#pragma once
// A produced document as one line per block, so a whole report compares as a list of strings:
//   "text|B|12|center"  a paragraph: its text, bold (B) or regular (-), size, alignment;
//   "<break>" in front  the paragraph starts a new page;
//   "[425.2]" in front  the paragraph holds a picture of that width (points);
//   "<table 3x5>"       a table of 3 rows and 5 columns.

#include "gui/DocxReader.h"

#include <QStringList>

namespace testing {

inline QString describeParagraph(const DocxReader::Paragraph& paragraph)
{
    QString line = QStringLiteral("%1|%2|%3|%4")
                       .arg(paragraph.text, paragraph.bold ? QStringLiteral("B") : QStringLiteral("-"))
                       .arg(paragraph.sizePt)
                       .arg(paragraph.alignment);
    for (const DocxReader::Picture& picture : paragraph.pictures)
        line.prepend(QStringLiteral("[%1]").arg(picture.widthPt));
    if (paragraph.pageBreak)
        line.prepend(QStringLiteral("<break>"));
    return line;
}

inline QStringList documentLines(const DocxReader& reader)
{
    QStringList lines;
    for (const DocxReader::Block& block : reader.blocks())
        lines.append(block.isTable
                         ? QStringLiteral("<table %1x%2>").arg(block.table.rowCount()).arg(block.table.columnCount())
                         : describeParagraph(block.paragraph));
    return lines;
}

// "style/size/colour" of each rule of a table, e.g. {"top": "single/4/auto", ...}.
inline QMap<QString, QString> tableRules(const DocxReader::Table& table)
{
    QMap<QString, QString> rules;
    for (auto it = table.borders.cbegin(); it != table.borders.cend(); ++it)
        rules.insert(it.key(), QStringLiteral("%1/%2/%3%4")
                                   .arg(it->style)
                                   .arg(it->size)
                                   .arg(it->colour, it->shadow ? QStringLiteral("/shadow") : QString()));
    return rules;
}

// The rules every table of the report has: outer single 0.5 pt, inner single 0.75 pt, no diagonals, no shadow.
inline QMap<QString, QString> reportTableRules()
{
    return {
        {"top", "single/4/auto"},   {"left", "single/4/auto"},    {"bottom", "single/4/auto"},
        {"right", "single/4/auto"}, {"insideH", "single/6/auto"}, {"insideV", "single/6/auto"},
        {"tl2br", "none/0/auto"},   {"tr2bl", "none/0/auto"},
    };
}

} // namespace testing

#pragma once
// Reads a .docx back for assertions: the body of word/document.xml as paragraphs and tables in document order,
// with the formatting the tests care about, and the page setup. Sizes are in points, page measures in twips.

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QSize>
#include <QString>
#include <QStringList>

class DocxReader {
public:
    struct Run {
        QString text;
        bool bold = false;
        double sizePt = 0;
    };

    struct Picture {
        double widthPt = 0;
        double heightPt = 0;
        QString part;    // e.g. word/media/image1.png
        QSize pixelSize; // of the stored image
    };

    struct Paragraph {
        QString text;               // tabs as '\t', line breaks as '\n'
        QString alignment = "left"; // w:jc ("center", ...)
        bool bold = false;          // every text run bold; the mark's when there is no text
        double sizePt = 0;          // of the first text run; the mark's when there is no text
        bool markBold = false;
        double markSizePt = 0;
        bool pageBreak = false; // holds a page break or starts with pageBreakBefore
        QList<Run> runs;        // text runs only
        QList<Picture> pictures;
    };

    struct Border {
        QString style;  // w:val: "single", "none", ...
        int size = 0;   // w:sz in eighths of a point
        QString colour; // w:color
        bool shadow = false;
    };

    struct Table {
        QList<QList<QList<Paragraph>>> cells; // [row][column] -> paragraphs, from 0
        // top, left, bottom, right, insideH, insideV from w:tblBorders; tl2br and tr2bl from the cells, present only
        // when every cell agrees (otherwise the style reads "mixed").
        QMap<QString, Border> borders;
        QString widthType;            // w:tblW w:type
        int width = 0;                // w:tblW w:w
        QString layout = "autofit";   // w:tblLayout w:type
        QList<int> gridColumns;       // w:tblGrid/w:gridCol w:w
        QList<QList<int>> cellWidths; // [row][column] w:tcW w:w
        QList<bool> headerRows;       // per row: w:trPr/w:tblHeader
        QList<bool> cantSplit;        // per row: w:trPr/w:cantSplit

        int rowCount() const { return int(cells.size()); }
        int columnCount() const { return cells.isEmpty() ? 0 : int(cells.first().size()); }
        // Numbered from 1 like the writer's cells; paragraphs joined with '\n'.
        QString cellText(int row, int column) const;
        const Paragraph& cellParagraph(int row, int column) const { return cells[row - 1][column - 1].first(); }
    };

    struct Block {
        bool isTable = false;
        Paragraph paragraph;
        Table table;
    };

    bool load(const QString& path);
    bool loadData(const QByteArray& docx);
    QString errorString() const { return m_error; }

    const QList<Block>& blocks() const { return m_blocks; }
    QList<Paragraph> paragraphs() const; // body paragraphs only, in order
    QList<Table> tables() const;
    QStringList paragraphTexts() const;

    int pageWidthTwips() const { return m_pageWidth; }
    int pageHeightTwips() const { return m_pageHeight; }
    QString orientation() const { return m_orientation; }
    QMap<QString, int> marginsTwips() const { return m_margins; } // top, right, bottom, left

    QStringList entryNames() const { return m_entries.keys(); }
    QByteArray entry(const QString& name) const { return m_entries.value(name); }
    // Unix mode of an entry as stored in the archive (e.g. 0100644), 0 when none is stored.
    quint32 entryMode(const QString& name) const { return m_modes.value(name); }

private:
    bool fail(const QString& message);

    QString m_error;
    QMap<QString, QByteArray> m_entries;
    QMap<QString, quint32> m_modes;
    QList<Block> m_blocks;
    int m_pageWidth = 0;
    int m_pageHeight = 0;
    QString m_orientation;
    QMap<QString, int> m_margins;
};

#pragma once
// Builds a Word document (.docx) with the word processor's range vocabulary, so the chart export and the report
// read step by step like the procedure they implement.
//
// R is the current range. It always reaches the end of the document: newBlock() sets it to the last paragraph,
// append() makes it grow, collapseToEnd() empties it at the end. Formatting calls act on everything R covers,
// including the mark of every paragraph it touches, and text appended later takes the mark's formatting.

#include "components/DocxTable.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <memory>

struct DocxDocument;

class DocxWriter {
public:
    enum class Orientation { Portrait, Landscape };

    DocxWriter();
    ~DocxWriter();
    DocxWriter(const DocxWriter&) = delete;
    DocxWriter& operator=(const DocxWriter&) = delete;

    // Page setup (A4). Margins in points are stored as whole twips: 42.525 pt becomes 851 twips.
    void setMargins(double points);
    void setLeftMargin(double points);
    void setRightMargin(double points);
    void setTopMargin(double points);
    void setBottomMargin(double points);
    void setOrientation(Orientation orientation);

    // R = the range of the document's last paragraph; with a size, that paragraph's font size is set as well.
    void newBlock();
    void newBlock(double sizePt);
    // Range.InsertAfter: "\r\n" ends a paragraph, the next one continues its alignment and formatting.
    void append(const QString& text);
    void centre();
    void left();
    void boldOn();
    void boldOff();
    // Range.Font.Bold: the same effect; the name keeps the calls made before appending recognisable.
    void fontBoldOn();
    void fontBoldOff();
    void collapseToEnd();

    // Tables.Add at R, which must end the document: an empty last paragraph becomes the table, otherwise the table
    // follows it; a paragraph with R's formatting follows the table. Cells take R's font and alignment. The new
    // table is ruled single 0.5 pt like a new Word table. Returns a null handle for fewer than one row or column.
    DocxTable addTable(int rows, int columns);
    DocxTable lastTable() const;

    // Range.Paste of a picture: an inline picture at the end of R, at its natural size (96 dpi unless the image
    // says otherwise). Returns false when the image is empty or the bytes are no PNG.
    bool pastePicture(const QImage& image);
    bool pastePicture(const QByteArray& png);
    // InlineShapes(1).Width: scales R's first picture to the width, keeping its proportions.
    bool setFirstInlinePictureWidth(double widthPt);

    // The number of a caption: a SEQ field of `sequence` ("Таблица", "Рисунок") at the end of R, showing the next
    // number of that sequence in this document. Word and LibreOffice count the fields again when they update it.
    void appendSequenceNumber(const QString& sequence);
    // Range.ParagraphFormat.KeepWithNext for every paragraph R touches.
    void setKeepWithNext(bool keep);

    // InsertBreak(page) at the end of the document; text appended afterwards starts the next page.
    void insertPageBreak();

    // The .docx package, or an empty array (with a message) when zipping fails.
    QByteArray toDocx(QString* error = nullptr) const;
    // Writes through a temporary file in the target folder, so a failure leaves no file under `path` and keeps an
    // existing one intact. A path ending in ".pdf" gets the same document as PDF.
    bool save(const QString& path, QString* error = nullptr) const;

private:
    bool addPicture(const QByteArray& png, const QImage& image);
    void setRangeSize(double sizePt);
    void setRangeBold(bool bold);
    void setRangeCentred(bool centred);

    std::unique_ptr<DocxDocument> m_document;
};

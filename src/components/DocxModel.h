#pragma once
// In-memory model of a DocxWriter document: blocks (paragraphs with runs, tables), pictures, page setup and the
// current range R. Shared by the writer, the table handles and the package serialiser.

#include "components/DocxTable.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

#include <array>
#include <functional>
#include <future>
#include <map>
#include <variant>
#include <vector>

enum class DocxAlignment { Left, Centre };

struct DocxRunFormat {
    double sizePt = 12.0;
    bool bold = false;
};

struct DocxRun {
    enum class Kind { Text, Picture, PageBreak, Field };
    Kind kind = Kind::Text;
    QString text;        // may hold '\t' (tab) and '\v' (line break inside the paragraph); a field's shown result
    QString instruction; // a field's code, such as "SEQ Таблица \* ARABIC"
    int picture = -1;
    DocxRunFormat format;
};

struct DocxParagraph {
    DocxAlignment alignment = DocxAlignment::Left;
    // Formatting of the paragraph mark: what text appended at the end of the paragraph takes.
    DocxRunFormat mark;
    std::vector<DocxRun> runs;
    // Stays on the page of the next paragraph (a caption with its table, a picture with its caption).
    bool keepNext = false;

    // A new paragraph split off from this one keeps its alignment and mark formatting, but not keepNext: a
    // caption's paragraph does not chain what follows it to the next page.
    DocxParagraph continuation() const { return DocxParagraph{alignment, mark, {}, false}; }
};

struct DocxBorderRule {
    DocxTable::LineStyle style = DocxTable::LineStyle::Single;
    int eighthsPt = 4;
    QColor colour; // invalid: automatic
    bool set = false;
};

struct DocxTableData {
    int rows = 0;
    int columns = 0;
    std::vector<std::vector<DocxParagraph>> cells; // row-major; every cell holds at least one paragraph
    std::array<DocxBorderRule, 8> borders;         // indexed by DocxTable::Border
    bool shadow = false;
    bool allowAutoFit = false;
    bool fitToWindow = false;
    int headingRows = 0; // repeated at the top of every page the table continues on
    bool rowsBreakAcrossPages = true;
    std::vector<double> columnWeights; // relative widths; empty: equal columns

    std::vector<DocxParagraph>& cell(int row, int column) { return cells[size_t(row * columns + column)]; }
    const std::vector<DocxParagraph>& cell(int row, int column) const { return cells[size_t(row * columns + column)]; }
};

using DocxBlock = std::variant<DocxParagraph, DocxTableData>;

struct DocxPicture {
    QByteArray png; // empty when the picture came as an image: then it is being encoded
    QImage image;   // the picture as pasted, when it came as an image
    std::shared_future<QByteArray> encoding; // its PNG bytes, encoded beside the work that follows the paste
    QSize pixels;
    qint64 naturalWidthEmu = 0;
    qint64 naturalHeightEmu = 0;
    qint64 widthEmu = 0;
    qint64 heightEmu = 0;
};

struct DocxPageSetup {
    // Word's defaults for a Russian document: 3 cm left, 1.5 cm right, 2 cm top and bottom.
    int leftTwips = 1701;
    int rightTwips = 850;
    int topTwips = 1134;
    int bottomTwips = 1134;
    bool landscape = false;

    static constexpr int a4ShortTwips = 11906;
    static constexpr int a4LongTwips = 16838;
    int pageWidthTwips() const { return landscape ? a4LongTwips : a4ShortTwips; }
    int pageHeightTwips() const { return landscape ? a4ShortTwips : a4LongTwips; }
    int textWidthTwips() const { return pageWidthTwips() - leftTwips - rightTwips; }
};

// R starts at run `run` of block `block` and always reaches the end of the document. A collapsed R is empty and
// sits at the end of the last paragraph.
struct DocxRange {
    int block = 0;
    int run = 0;
    bool collapsed = false;
};

struct DocxDocument {
    DocxPageSetup page;
    std::vector<DocxBlock> blocks{DocxParagraph{}}; // a new document holds one empty paragraph
    std::vector<DocxPicture> pictures;
    DocxRange range;
    std::map<QString, int> sequences; // the last number given to each caption sequence

    // The document always ends with a paragraph: a table added at the end is followed by one.
    int lastIndex() const { return int(blocks.size()) - 1; }
    DocxParagraph& lastParagraph() { return std::get<DocxParagraph>(blocks.back()); }
};

// Appends text at the end of `last`. Each line break ("\r\n", "\r" or "\n") ends the paragraph; `split` must add
// the continuation of the current last paragraph and return it. Characters XML cannot carry are dropped.
void docxAppendText(DocxParagraph* last, const QString& text, const std::function<DocxParagraph*()>& split);

// Starts encoding a pasted image as PNG on a thread of its own.
std::shared_future<QByteArray> docxEncodePicture(const QImage& image);
// The PNG bytes of each picture (a pasted image waits for its encoding); empty where the encoding failed.
std::vector<QByteArray> docxPictureBytes(const DocxDocument& document);

constexpr qint64 docxEmuPerPoint = 12700;
int docxTwipsFromPoints(double points);
qint64 docxEmuFromPoints(double points);

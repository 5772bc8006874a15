#include "components/DocxWriter.h"

#include "components/DocxModel.h"
#include "components/DocxPackage.h"
#include "components/DocxPdf.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace {

// Calls `visit` for every paragraph R touches, with the index of its first run inside R; paragraphs of a table
// inside R are wholly covered.
template <typename Visit> void forEachParagraphInRange(DocxDocument& document, Visit visit)
{
    const DocxRange& range = document.range;
    for (int b = range.block; b < int(document.blocks.size()); ++b) {
        const size_t firstRun = b == range.block ? size_t(range.run) : 0;
        if (auto* paragraph = std::get_if<DocxParagraph>(&document.blocks[size_t(b)])) {
            visit(*paragraph, firstRun);
        } else {
            for (auto& cell : std::get<DocxTableData>(document.blocks[size_t(b)]).cells)
                for (auto& paragraph : cell)
                    visit(paragraph, size_t(0));
        }
    }
}

DocxRange collapsedAtEnd(DocxDocument& document)
{
    return DocxRange{document.lastIndex(), int(document.lastParagraph().runs.size()), true};
}

// Text appended to a collapsed R becomes R: it starts where the insertion point was.
void openCollapsedRange(DocxDocument& document)
{
    if (document.range.collapsed)
        document.range = DocxRange{document.lastIndex(), int(document.lastParagraph().runs.size()), false};
}

QString savePathText(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString openFailureText(const QString& path)
{
    const QFileInfo info(path);
    const QString folder = QDir::toNativeSeparators(info.absolutePath());
    if (info.isDir())
        return QStringLiteral("Не удалось сохранить документ: «%1» — это папка.").arg(savePathText(path));
    if (!QFileInfo(info.absolutePath()).isDir())
        return QStringLiteral("Не удалось сохранить документ «%1»: папка «%2» не существует.")
            .arg(savePathText(path), folder);
    return QStringLiteral("Не удалось сохранить документ «%1»: нет права записи в папку «%2».")
        .arg(savePathText(path), folder);
}

QString writeFailureText(const QString& path, const QSaveFile& file)
{
    if (file.error() == QFileDevice::RenameError)
        return QStringLiteral("Не удалось сохранить документ «%1»: файл занят другой программой или защищён от "
                              "записи.")
            .arg(savePathText(path));
    return QStringLiteral("Не удалось сохранить документ «%1»: ошибка записи на диск (возможно, диск заполнен).")
        .arg(savePathText(path));
}

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

DocxWriter::DocxWriter() : m_document(std::make_unique<DocxDocument>()) {}

DocxWriter::~DocxWriter() = default;

void DocxWriter::setMargins(double points)
{
    setLeftMargin(points);
    setRightMargin(points);
    setTopMargin(points);
    setBottomMargin(points);
}

void DocxWriter::setLeftMargin(double points)
{
    m_document->page.leftTwips = std::max(0, docxTwipsFromPoints(points));
}

void DocxWriter::setRightMargin(double points)
{
    m_document->page.rightTwips = std::max(0, docxTwipsFromPoints(points));
}

void DocxWriter::setTopMargin(double points)
{
    m_document->page.topTwips = std::max(0, docxTwipsFromPoints(points));
}

void DocxWriter::setBottomMargin(double points)
{
    m_document->page.bottomTwips = std::max(0, docxTwipsFromPoints(points));
}

void DocxWriter::setOrientation(Orientation orientation)
{
    m_document->page.landscape = orientation == Orientation::Landscape;
}

void DocxWriter::newBlock()
{
    m_document->range = DocxRange{m_document->lastIndex(), 0, false};
}

void DocxWriter::newBlock(double sizePt)
{
    newBlock();
    setRangeSize(sizePt);
}

void DocxWriter::append(const QString& text)
{
    DocxDocument& document = *m_document;
    openCollapsedRange(document);
    docxAppendText(&document.lastParagraph(), text, [&document] {
        DocxParagraph next = document.lastParagraph().continuation();
        document.blocks.push_back(std::move(next));
        return &document.lastParagraph();
    });
}

void DocxWriter::centre()
{
    setRangeCentred(true);
}

void DocxWriter::left()
{
    setRangeCentred(false);
}

void DocxWriter::boldOn()
{
    setRangeBold(true);
}

void DocxWriter::boldOff()
{
    setRangeBold(false);
}

void DocxWriter::fontBoldOn()
{
    setRangeBold(true);
}

void DocxWriter::fontBoldOff()
{
    setRangeBold(false);
}

void DocxWriter::collapseToEnd()
{
    m_document->range = collapsedAtEnd(*m_document);
}

void DocxWriter::setRangeSize(double sizePt)
{
    // Word takes font sizes from 1 to 1638 points.
    const double size = std::clamp(sizePt, 1.0, 1638.0);
    forEachParagraphInRange(*m_document, [size](DocxParagraph& paragraph, size_t firstRun) {
        for (size_t r = firstRun; r < paragraph.runs.size(); ++r)
            paragraph.runs[r].format.sizePt = size;
        paragraph.mark.sizePt = size;
    });
}

void DocxWriter::setRangeBold(bool bold)
{
    forEachParagraphInRange(*m_document, [bold](DocxParagraph& paragraph, size_t firstRun) {
        for (size_t r = firstRun; r < paragraph.runs.size(); ++r)
            paragraph.runs[r].format.bold = bold;
        paragraph.mark.bold = bold;
    });
}

void DocxWriter::setRangeCentred(bool centred)
{
    const DocxAlignment alignment = centred ? DocxAlignment::Centre : DocxAlignment::Left;
    forEachParagraphInRange(*m_document,
                            [alignment](DocxParagraph& paragraph, size_t) { paragraph.alignment = alignment; });
}

DocxTable DocxWriter::addTable(int rows, int columns)
{
    if (rows < 1 || columns < 1)
        return {};
    DocxDocument& document = *m_document;
    const DocxParagraph format = document.lastParagraph().continuation();

    DocxTableData table;
    table.rows = rows;
    table.columns = columns;
    table.cells.assign(size_t(rows) * size_t(columns), std::vector<DocxParagraph>{format});
    for (size_t border = 0; border <= size_t(DocxTable::Border::InsideVertical); ++border)
        table.borders[border].set = true;

    if (document.lastParagraph().runs.empty())
        document.blocks.back() = std::move(table);
    else
        document.blocks.push_back(std::move(table));
    const int tableBlock = document.lastIndex();
    document.blocks.push_back(format);
    document.range = DocxRange{tableBlock, 0, false};
    return DocxTable(m_document.get(), tableBlock);
}

DocxTable DocxWriter::lastTable() const
{
    for (int b = m_document->lastIndex(); b >= 0; --b)
        if (std::holds_alternative<DocxTableData>(m_document->blocks[size_t(b)]))
            return DocxTable(m_document.get(), b);
    return {};
}

bool DocxWriter::pastePicture(const QImage& image)
{
    // Encoded as PNG on a thread of its own while the document goes on; a PDF takes the image as it is.
    return !image.isNull() && addPicture(QByteArray(), image);
}

bool DocxWriter::pastePicture(const QByteArray& png)
{
    QImage image;
    if (!image.loadFromData(png, "PNG"))
        return false;
    return addPicture(png, image);
}

bool DocxWriter::addPicture(const QByteArray& png, const QImage& image)
{
    if (image.width() < 1 || image.height() < 1)
        return false;

    const auto dotsPerInch = [](int dotsPerMetre) { return dotsPerMetre > 0 ? dotsPerMetre * 0.0254 : 96.0; };
    DocxPicture picture;
    picture.png = png;
    if (png.isEmpty()) {
        picture.image = image;
        picture.encoding = docxEncodePicture(image);
    }
    picture.pixels = image.size();
    picture.naturalWidthEmu = std::llround(image.width() * 914400.0 / dotsPerInch(image.dotsPerMeterX()));
    picture.naturalHeightEmu = std::llround(image.height() * 914400.0 / dotsPerInch(image.dotsPerMeterY()));
    picture.widthEmu = picture.naturalWidthEmu;
    picture.heightEmu = picture.naturalHeightEmu;

    DocxDocument& document = *m_document;
    openCollapsedRange(document);
    DocxParagraph& paragraph = document.lastParagraph();
    DocxRun run;
    run.kind = DocxRun::Kind::Picture;
    run.picture = int(document.pictures.size());
    run.format = paragraph.mark;
    paragraph.runs.push_back(std::move(run));
    document.pictures.push_back(std::move(picture));
    return true;
}

bool DocxWriter::setFirstInlinePictureWidth(double widthPt)
{
    if (!(widthPt > 0))
        return false;
    DocxPicture* first = nullptr;
    forEachParagraphInRange(*m_document, [this, &first](DocxParagraph& paragraph, size_t firstRun) {
        for (size_t r = firstRun; r < paragraph.runs.size() && !first; ++r)
            if (paragraph.runs[r].kind == DocxRun::Kind::Picture)
                first = &m_document->pictures[size_t(paragraph.runs[r].picture)];
    });
    if (!first)
        return false;
    first->widthEmu = docxEmuFromPoints(widthPt);
    first->heightEmu =
        std::llround(double(first->widthEmu) * double(first->naturalHeightEmu) / double(first->naturalWidthEmu));
    return true;
}

void DocxWriter::appendSequenceNumber(const QString& sequence)
{
    DocxDocument& document = *m_document;
    openCollapsedRange(document);
    DocxParagraph& paragraph = document.lastParagraph();
    DocxRun run;
    run.kind = DocxRun::Kind::Field;
    run.instruction = QStringLiteral("SEQ %1 \\* ARABIC").arg(sequence);
    run.text = QString::number(++document.sequences[sequence]);
    run.format = paragraph.mark;
    paragraph.runs.push_back(std::move(run));
}

void DocxWriter::setKeepWithNext(bool keep)
{
    forEachParagraphInRange(*m_document, [keep](DocxParagraph& paragraph, size_t) { paragraph.keepNext = keep; });
}

void DocxWriter::insertPageBreak()
{
    DocxDocument& document = *m_document;
    DocxParagraph& paragraph = document.lastParagraph();
    DocxRun run;
    run.kind = DocxRun::Kind::PageBreak;
    run.format = paragraph.mark;
    paragraph.runs.push_back(std::move(run));
    document.range = collapsedAtEnd(document);
}

QByteArray DocxWriter::toDocx(QString* error) const
{
    return docxPackage(*m_document, error);
}

bool DocxWriter::save(const QString& path, QString* error) const
{
    const bool pdf = QFileInfo(path).suffix().compare(u"pdf", Qt::CaseInsensitive) == 0;
    const QByteArray bytes = pdf ? DocxToPdf(*m_document, error) : toDocx(error);
    if (bytes.isEmpty())
        return false;

    // QSaveFile writes a temporary file beside the target and renames it only when everything was written.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(error, openFailureText(path));
    if (file.write(bytes) != bytes.size()) {
        const QString text = writeFailureText(path, file);
        file.cancelWriting();
        return fail(error, text);
    }
    if (!file.commit())
        return fail(error, writeFailureText(path, file));
    return true;
}

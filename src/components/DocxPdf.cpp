#include "components/DocxPdf.h"

#include "components/DocxModel.h"

#include <QBuffer>
#include <QImage>
#include <QAbstractTextDocumentLayout>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>

namespace {

// The layout runs in the PDF writer's own units.
constexpr int kResolution = 300;
constexpr double kUnitsPerPoint = kResolution / 72.0;
// The text body of the documents: the serif face the .docx names.
// Image sizes are taken in screen units (96 per inch) and scaled to the device by the layout.
constexpr double kImageUnitsPerPoint = 96.0 / 72.0;
const QString kBodyFont = QStringLiteral("Times New Roman");

QTextCharFormat charFormat(const DocxRunFormat& f)
{
    QTextCharFormat c;
    c.setFontFamilies({kBodyFont});
    c.setFontPointSize(f.sizePt);
    c.setFontWeight(f.bold ? QFont::Bold : QFont::Normal);
    return c;
}

class PdfBuilder {
public:
    PdfBuilder(const DocxDocument& d, QTextDocument& t) : m_docx(d), m_text(t), m_cursor(&t) {}

    // The blocks that stay on the page of what follows them.
    const std::vector<int>& keptWithNext() const { return m_keptWithNext; }

    void build()
    {
        bool first = true;
        for (const DocxBlock& block : m_docx.blocks) {
            if (const auto* p = std::get_if<DocxParagraph>(&block)) {
                paragraph(*p, first);
            } else {
                table(std::get<DocxTableData>(block), first);
            }
            first = false;
        }
    }

private:
    // Starts a block for the paragraph (the document's first block is there already), then writes its runs.
    void paragraph(const DocxParagraph& p, bool first)
    {
        QTextBlockFormat format;
        format.setAlignment(p.alignment == DocxAlignment::Centre ? Qt::AlignHCenter : Qt::AlignLeft);
        if (m_breakBefore)
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        m_breakBefore = false;
        if (first) {
            m_cursor.setBlockFormat(format);
            m_cursor.setBlockCharFormat(charFormat(p.mark));
        } else {
            m_cursor.insertBlock(format, charFormat(p.mark));
        }
        if (p.keepNext)
            m_keptWithNext.push_back(m_cursor.block().blockNumber());
        runs(p);
    }

    void runs(const DocxParagraph& p)
    {
        for (const DocxRun& run : p.runs) {
            switch (run.kind) {
            case DocxRun::Kind::Text:
            case DocxRun::Kind::Field: { // a field shows its result
                QString text = run.text;
                text.replace(QLatin1Char('\v'), QChar::LineSeparator);
                m_cursor.insertText(text, charFormat(run.format));
                break;
            }
            case DocxRun::Kind::Picture:
                picture(run.picture);
                break;
            case DocxRun::Kind::PageBreak: {
                // What follows the break in the same paragraph starts the next page.
                QTextBlockFormat format = m_cursor.blockFormat();
                format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                m_cursor.insertBlock(format, charFormat(p.mark));
                break;
            }
            }
        }
    }

    void picture(int index)
    {
        if (index < 0 || index >= int(m_docx.pictures.size()))
            return;
        const DocxPicture& pic = m_docx.pictures[size_t(index)];
        const QString name = QStringLiteral("picture%1.png").arg(index);
        if (!m_text.resource(QTextDocument::ImageResource, QUrl(name)).isValid())
            m_text.addResource(QTextDocument::ImageResource, QUrl(name),
                               pic.image.isNull() ? QImage::fromData(pic.png, "PNG") : pic.image);
        QTextImageFormat image;
        image.setName(name);
        image.setWidth(double(pic.widthEmu) / docxEmuPerPoint * kImageUnitsPerPoint);
        image.setHeight(double(pic.heightEmu) / docxEmuPerPoint * kImageUnitsPerPoint);
        m_cursor.insertImage(image);
    }

    void table(const DocxTableData& t, bool first)
    {
        if (t.rows <= 0 || t.columns <= 0)
            return;
        if (first)
            m_cursor.insertBlock();
        QTextTableFormat format;
        format.setBorderCollapse(true);
        format.setBorder(0.5 * kUnitsPerPoint);
        format.setBorderBrush(Qt::black);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setCellSpacing(0);
        format.setCellPadding(2 * kUnitsPerPoint);
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        format.setHeaderRowCount(t.headingRows); // repeated at the top of every page the table runs onto
        if (int(t.columnWeights.size()) == t.columns) {
            double total = 0;
            for (double w : t.columnWeights)
                total += w;
            QList<QTextLength> widths;
            for (double w : t.columnWeights)
                widths << QTextLength(QTextLength::PercentageLength, total > 0 ? 100.0 * w / total : 100.0 / t.columns);
            format.setColumnWidthConstraints(widths);
        }
        if (m_breakBefore)
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        m_breakBefore = false;
        QTextTable* table = m_cursor.insertTable(t.rows, t.columns, format);
        for (int r = 0; r < t.rows; ++r) {
            for (int c = 0; c < t.columns; ++c) {
                QTextCursor cell = table->cellAt(r, c).firstCursorPosition();
                const std::vector<DocxParagraph>& paragraphs = t.cell(r, c);
                for (size_t i = 0; i < paragraphs.size(); ++i) {
                    if (i > 0)
                        cell.insertBlock();
                    cell.setBlockCharFormat(charFormat(paragraphs[i].mark));
                    for (const DocxRun& run : paragraphs[i].runs)
                        if (run.kind == DocxRun::Kind::Text)
                            cell.insertText(QString(run.text).replace(QLatin1Char('\v'), QChar::LineSeparator),
                                            charFormat(run.format));
                }
            }
        }
        m_cursor.movePosition(QTextCursor::End);
    }

    const DocxDocument& m_docx;
    QTextDocument& m_text;
    QTextCursor m_cursor;
    bool m_breakBefore = false;
    std::vector<int> m_keptWithNext;
};

// A block whose follower starts on a later page moves to that page itself, unless it starts a page already.
// A move shifts what follows, so after one the blocks of the next two pages wait for the next pass, which runs
// on a whole new layout (the layout after a change is partial and would draw stale positions).
void KeepWithNext(QTextDocument& text, const std::vector<int>& blocks, double pageHeight)
{
    QAbstractTextDocumentLayout* layout = text.documentLayout();
    const auto pageOf = [&](const QTextBlock& b) { return int(layout->blockBoundingRect(b).top() / pageHeight); };
    std::vector<int> pending = blocks;
    while (!pending.empty()) {
        std::vector<int> later;
        int shiftedUpTo = -1; // pages whose positions a move of this pass has changed
        for (const int number : pending) {
            QTextBlock block = text.findBlockByNumber(number);
            const QTextBlock next = block.next();
            if (!block.isValid() || !next.isValid())
                continue;
            const int page = pageOf(block);
            if (page <= shiftedUpTo) {
                later.push_back(number);
                continue;
            }
            const bool startsPage = layout->blockBoundingRect(block).top() - page * pageHeight < 1.0;
            if (startsPage || pageOf(next) <= page)
                continue;
            QTextCursor cursor(block);
            QTextBlockFormat format = block.blockFormat();
            format.setPageBreakPolicy(format.pageBreakPolicy() | QTextFormat::PageBreak_AlwaysBefore);
            cursor.setBlockFormat(format);
            shiftedUpTo = page + 2;
        }
        if (shiftedUpTo >= 0)
            text.markContentsDirty(0, text.characterCount());
        pending = std::move(later);
    }
}

} // namespace

QByteArray DocxToPdf(const DocxDocument& document, QString* error)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Зарнель"));
        writer.setResolution(kResolution);
        const DocxPageSetup& page = document.page;
        const QPageLayout layout(QPageSize(QPageSize::A4),
                                 page.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                 QMarginsF(page.leftTwips / 20.0, page.topTwips / 20.0, page.rightTwips / 20.0,
                                           page.bottomTwips / 20.0),
                                 QPageLayout::Point);
        writer.setPageLayout(layout);

        QTextDocument text;
        text.setDocumentMargin(0);
        QFont body(kBodyFont);
        body.setPointSizeF(12);
        text.setDefaultFont(body);
        PdfBuilder builder(document, text);
        builder.build();
        // Laid out page by page on the text area; unlike QTextDocument::print this adds no page numbers.
        const QRectF area = writer.pageLayout().paintRectPixels(kResolution);
        text.setPageSize(area.size());
        // The layout comes last: made while the content grows, it would lay a table out again for every cell.
        text.documentLayout()->setPaintDevice(&writer);
        KeepWithNext(text, builder.keptWithNext(), area.height());

        QPainter painter(&writer);
        const int pages = text.pageCount();
        for (int i = 0; i < pages; ++i) {
            if (i > 0)
                writer.newPage();
            painter.save();
            const QRectF view(0, i * area.height(), area.width(), area.height());
            painter.translate(0, -view.top());
            QAbstractTextDocumentLayout::PaintContext context;
            context.clip = view;
            context.palette.setColor(QPalette::Text, Qt::black);
            painter.setClipRect(view);
            text.documentLayout()->draw(&painter, context);
            painter.restore();
        }
    }
    if (bytes.isEmpty() && error)
        *error = QStringLiteral("Не удалось создать документ PDF.");
    return bytes;
}

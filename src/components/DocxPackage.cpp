#include "components/DocxPackage.h"

#include "components/DocxModel.h"

#include <QBuffer>
#include <QFile>
#include <QXmlStreamWriter>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

#include <algorithm>
#include <cmath>
#include <future>

namespace {

const QString wordNs = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
const QString relNs = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
const QString packageRelNs = QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships");
const QString drawingNs = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/main");
const QString pictureNs = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/picture");
const QString wordDrawingNs = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing");

QString pictureRelationshipId(int picture)
{
    return QStringLiteral("rIdImage%1").arg(picture + 1);
}
QString pictureMediaName(int picture)
{
    return QStringLiteral("media/image%1.png").arg(picture + 1);
}

int halfPoints(double points)
{
    return int(std::lround(points * 2.0));
}

// Prefixed names keep the parts readable and identical to what Word writes.
// With a sink, the text goes out in pieces as it grows, so a large part is never held whole.
class PartWriter {
public:
    explicit PartWriter(QIODevice* sink = nullptr) : m_buffer(&m_bytes), m_sink(sink)
    {
        m_buffer.open(QIODevice::WriteOnly);
        m_xml.setDevice(&m_buffer);
        m_xml.writeStartDocument(QStringLiteral("1.0"), true);
    }

    QXmlStreamWriter& xml() { return m_xml; }
    // The whole part without a sink; with one, what is left, written out (an empty array).
    QByteArray finish()
    {
        m_xml.writeEndDocument();
        spill(0);
        return m_bytes;
    }
    // Hands the text so far to the sink once it is large enough to be worth a write.
    void spill(qsizetype atLeast = qsizetype(1) << 20)
    {
        if (!m_sink || m_bytes.size() < atLeast || m_bytes.isEmpty())
            return;
        m_sinkFailed = m_sinkFailed || m_sink->write(m_bytes) != m_bytes.size();
        m_bytes.clear();
        m_buffer.seek(0);
    }
    bool sinkFailed() const { return m_sinkFailed; }

    void start(const QString& name) { m_xml.writeStartElement(name); }
    void end() { m_xml.writeEndElement(); }
    void attr(const QString& name, const QString& value) { m_xml.writeAttribute(name, value); }
    void attr(const QString& name, qint64 value) { m_xml.writeAttribute(name, QString::number(value)); }
    // An empty element with a w:val attribute, the commonest shape in WordprocessingML.
    void value(const QString& name, const QString& val)
    {
        m_xml.writeEmptyElement(name);
        m_xml.writeAttribute(QStringLiteral("w:val"), val);
    }
    void value(const QString& name, qint64 val) { value(name, QString::number(val)); }
    void empty(const QString& name) { m_xml.writeEmptyElement(name); }

private:
    QByteArray m_bytes;
    QBuffer m_buffer;
    QIODevice* m_sink;
    bool m_sinkFailed = false;
    QXmlStreamWriter m_xml;
};

void writeRunFormat(PartWriter& w, const DocxRunFormat& format)
{
    w.start(QStringLiteral("w:rPr"));
    if (format.bold) {
        w.empty(QStringLiteral("w:b"));
        w.empty(QStringLiteral("w:bCs"));
    }
    w.value(QStringLiteral("w:sz"), halfPoints(format.sizePt));
    w.value(QStringLiteral("w:szCs"), halfPoints(format.sizePt));
    w.end();
}

bool sameFormat(const DocxRunFormat& a, const DocxRunFormat& b)
{
    return a.bold == b.bold && halfPoints(a.sizePt) == halfPoints(b.sizePt);
}

// Tabs and line breaks inside a run are elements of their own, not characters.
void writeText(PartWriter& w, const QString& text)
{
    QString chunk;
    const auto flush = [&] {
        if (chunk.isEmpty())
            return;
        w.start(QStringLiteral("w:t"));
        w.attr(QStringLiteral("xml:space"), QStringLiteral("preserve"));
        w.xml().writeCharacters(chunk);
        w.end();
        chunk.clear();
    };
    for (const QChar c : text) {
        if (c == u'\t' || c == u'\v') {
            flush();
            w.empty(c == u'\t' ? QStringLiteral("w:tab") : QStringLiteral("w:br"));
        } else {
            chunk.append(c);
        }
    }
    flush();
}

void writeTextRun(PartWriter& w, const DocxRunFormat& format, const QString& text)
{
    w.start(QStringLiteral("w:r"));
    writeRunFormat(w, format);
    writeText(w, text);
    w.end();
}

void writePicture(PartWriter& w, const DocxRunFormat& format, const DocxPicture& picture, int index)
{
    const QString id = QString::number(index + 1);
    const QString name = QStringLiteral("Рисунок %1").arg(index + 1);
    w.start(QStringLiteral("w:r"));
    writeRunFormat(w, format);
    w.start(QStringLiteral("w:drawing"));
    w.start(QStringLiteral("wp:inline"));
    for (const char* side : {"distT", "distB", "distL", "distR"})
        w.attr(QString::fromLatin1(side), 0);
    w.empty(QStringLiteral("wp:extent"));
    w.attr(QStringLiteral("cx"), picture.widthEmu);
    w.attr(QStringLiteral("cy"), picture.heightEmu);
    w.empty(QStringLiteral("wp:effectExtent"));
    for (const char* side : {"l", "t", "r", "b"})
        w.attr(QString::fromLatin1(side), 0);
    w.empty(QStringLiteral("wp:docPr"));
    w.attr(QStringLiteral("id"), id);
    w.attr(QStringLiteral("name"), name);
    w.start(QStringLiteral("wp:cNvGraphicFramePr"));
    w.empty(QStringLiteral("a:graphicFrameLocks"));
    w.attr(QStringLiteral("noChangeAspect"), QStringLiteral("1"));
    w.end();
    w.start(QStringLiteral("a:graphic"));
    w.start(QStringLiteral("a:graphicData"));
    w.attr(QStringLiteral("uri"), pictureNs);
    w.start(QStringLiteral("pic:pic"));
    w.start(QStringLiteral("pic:nvPicPr"));
    w.empty(QStringLiteral("pic:cNvPr"));
    w.attr(QStringLiteral("id"), id);
    w.attr(QStringLiteral("name"), name);
    w.empty(QStringLiteral("pic:cNvPicPr"));
    w.end();
    w.start(QStringLiteral("pic:blipFill"));
    w.empty(QStringLiteral("a:blip"));
    w.attr(QStringLiteral("r:embed"), pictureRelationshipId(index));
    w.start(QStringLiteral("a:stretch"));
    w.empty(QStringLiteral("a:fillRect"));
    w.end();
    w.end();
    w.start(QStringLiteral("pic:spPr"));
    w.start(QStringLiteral("a:xfrm"));
    w.empty(QStringLiteral("a:off"));
    w.attr(QStringLiteral("x"), 0);
    w.attr(QStringLiteral("y"), 0);
    w.empty(QStringLiteral("a:ext"));
    w.attr(QStringLiteral("cx"), picture.widthEmu);
    w.attr(QStringLiteral("cy"), picture.heightEmu);
    w.end();
    w.start(QStringLiteral("a:prstGeom"));
    w.attr(QStringLiteral("prst"), QStringLiteral("rect"));
    w.empty(QStringLiteral("a:avLst"));
    w.end();
    w.end(); // pic:spPr
    w.end(); // pic:pic
    w.end(); // a:graphicData
    w.end(); // a:graphic
    w.end(); // wp:inline
    w.end(); // w:drawing
    w.end(); // w:r
}

// A complex field, as Word writes one: begin, the code, separate, the result last computed, end.
void writeField(PartWriter& w, const DocxRun& run)
{
    const auto fieldChar = [&](const char* type) {
        w.start(QStringLiteral("w:r"));
        writeRunFormat(w, run.format);
        w.empty(QStringLiteral("w:fldChar"));
        w.attr(QStringLiteral("w:fldCharType"), QString::fromLatin1(type));
        w.end();
    };
    fieldChar("begin");
    w.start(QStringLiteral("w:r"));
    writeRunFormat(w, run.format);
    w.start(QStringLiteral("w:instrText"));
    w.attr(QStringLiteral("xml:space"), QStringLiteral("preserve"));
    w.xml().writeCharacters(QLatin1Char(' ') + run.instruction + QLatin1Char(' '));
    w.end();
    w.end();
    fieldChar("separate");
    writeTextRun(w, run.format, run.text);
    fieldChar("end");
}

void writeParagraph(PartWriter& w, const DocxParagraph& paragraph, const DocxDocument& document)
{
    w.start(QStringLiteral("w:p"));
    w.start(QStringLiteral("w:pPr"));
    if (paragraph.keepNext)
        w.empty(QStringLiteral("w:keepNext"));
    if (paragraph.alignment == DocxAlignment::Centre)
        w.value(QStringLiteral("w:jc"), QStringLiteral("center"));
    writeRunFormat(w, paragraph.mark);
    w.end();

    // Consecutive appends with one format become one run.
    for (size_t r = 0; r < paragraph.runs.size(); ++r) {
        const DocxRun& run = paragraph.runs[r];
        switch (run.kind) {
        case DocxRun::Kind::Text: {
            QString text = run.text;
            while (r + 1 < paragraph.runs.size() && paragraph.runs[r + 1].kind == DocxRun::Kind::Text &&
                   sameFormat(paragraph.runs[r + 1].format, run.format))
                text += paragraph.runs[++r].text;
            writeTextRun(w, run.format, text);
            break;
        }
        case DocxRun::Kind::Picture:
            writePicture(w, run.format, document.pictures[size_t(run.picture)], run.picture);
            break;
        case DocxRun::Kind::Field:
            writeField(w, run);
            break;
        case DocxRun::Kind::PageBreak:
            w.start(QStringLiteral("w:r"));
            writeRunFormat(w, run.format);
            w.empty(QStringLiteral("w:br"));
            w.attr(QStringLiteral("w:type"), QStringLiteral("page"));
            w.end();
            break;
        }
    }
    w.end();
}

void writeBorder(PartWriter& w, const QString& name, const DocxBorderRule& rule, bool shadow)
{
    w.empty(name);
    w.attr(QStringLiteral("w:val"),
           rule.style == DocxTable::LineStyle::Single ? QStringLiteral("single") : QStringLiteral("none"));
    w.attr(QStringLiteral("w:sz"), rule.style == DocxTable::LineStyle::Single ? rule.eighthsPt : 0);
    w.attr(QStringLiteral("w:space"), 0);
    w.attr(QStringLiteral("w:color"),
           rule.colour.isValid() ? rule.colour.name().mid(1).toUpper() : QStringLiteral("auto"));
    if (shadow && rule.style == DocxTable::LineStyle::Single)
        w.attr(QStringLiteral("w:shadow"), QStringLiteral("1"));
}

// Cell margins of the table style, left and right, in twips.
constexpr int kCellMarginTwips = 108;

// Rough height of a row once wrapped, in twips: Times New Roman averages about half an em a character, and a
// line is 1.15 of the font size. Only good enough to tell a row that fits on a page from one that does not.
double estimatedRowTwips(const DocxTableData& table, int row, const std::vector<int>& columnTwips)
{
    double tallest = 0;
    for (int c = 0; c < table.columns; ++c) {
        const double lineWidth = std::max(columnTwips[size_t(c)] - 2 * kCellMarginTwips, 20);
        double height = 0;
        for (const DocxParagraph& paragraph : table.cell(row, c)) {
            double sizePt = paragraph.mark.sizePt;
            double textWidth = 0;
            for (const DocxRun& run : paragraph.runs) {
                sizePt = std::max(sizePt, run.format.sizePt);
                textWidth += double(run.text.size()) * run.format.sizePt * 20.0 * 0.55;
            }
            height += std::max(1.0, std::ceil(textWidth / lineWidth)) * sizePt * 20.0 * 1.15;
        }
        tallest = std::max(tallest, height);
    }
    return tallest;
}

} // namespace

std::vector<int> docxColumnTwips(const DocxTableData& table, int textWidthTwips)
{
    const int columns = table.columns;
    std::vector<double> weights(size_t(std::max(columns, 0)), 0.0);
    double known = 0;
    int knownCount = 0;
    for (int c = 0; c < columns && c < int(table.columnWeights.size()); ++c) {
        if (table.columnWeights[size_t(c)] > 0) {
            weights[size_t(c)] = table.columnWeights[size_t(c)];
            known += weights[size_t(c)];
            ++knownCount;
        }
    }
    const double filler = knownCount > 0 ? known / knownCount : 1.0;
    double total = 0;
    for (double& weight : weights) {
        if (weight <= 0)
            weight = filler;
        total += weight;
    }
    // Rounded at the running sum, so the columns add up to the text width exactly.
    std::vector<int> twips;
    double sum = 0;
    int previous = 0;
    for (double weight : weights) {
        sum += weight;
        const int edge = int(std::lround(sum / total * textWidthTwips));
        twips.push_back(edge - previous);
        previous = edge;
    }
    return twips;
}

namespace {

void writeTable(PartWriter& w, const DocxTableData& table, const DocxDocument& document)
{
    using Border = DocxTable::Border;
    const auto rule = [&table](Border border) -> const DocxBorderRule& { return table.borders[size_t(border)]; };

    const std::vector<int> columnTwips = docxColumnTwips(table, document.page.textWidthTwips());
    const double pageTextTwips = document.page.pageHeightTwips() - document.page.topTwips - document.page.bottomTwips;

    w.start(QStringLiteral("w:tbl"));
    w.start(QStringLiteral("w:tblPr"));
    w.empty(QStringLiteral("w:tblW"));
    if (table.fitToWindow) {
        w.attr(QStringLiteral("w:w"), 5000);
        w.attr(QStringLiteral("w:type"), QStringLiteral("pct"));
    } else {
        w.attr(QStringLiteral("w:w"), 0);
        w.attr(QStringLiteral("w:type"), QStringLiteral("auto"));
    }
    w.start(QStringLiteral("w:tblBorders"));
    const std::pair<Border, const char*> sides[] = {
        {Border::Top, "w:top"},
        {Border::Left, "w:left"},
        {Border::Bottom, "w:bottom"},
        {Border::Right, "w:right"},
        {Border::InsideHorizontal, "w:insideH"},
        {Border::InsideVertical, "w:insideV"},
    };
    for (const auto& [border, name] : sides)
        if (rule(border).set)
            writeBorder(w, QString::fromLatin1(name), rule(border), table.shadow);
    w.end();
    w.empty(QStringLiteral("w:tblLayout"));
    w.attr(QStringLiteral("w:type"), table.allowAutoFit ? QStringLiteral("autofit") : QStringLiteral("fixed"));
    w.end(); // w:tblPr

    w.start(QStringLiteral("w:tblGrid"));
    for (int c = 0; c < table.columns; ++c) {
        w.empty(QStringLiteral("w:gridCol"));
        w.attr(QStringLiteral("w:w"), columnTwips[size_t(c)]);
    }
    w.end();

    // Diagonals exist only per cell; the table's setting goes into every cell.
    const bool diagonals = rule(Border::DiagonalDown).set || rule(Border::DiagonalUp).set;
    for (int r = 0; r < table.rows; ++r) {
        w.start(QStringLiteral("w:tr"));
        const bool heading = r < table.headingRows;
        const bool keepWhole = !table.rowsBreakAcrossPages && estimatedRowTwips(table, r, columnTwips) < pageTextTwips;
        if (heading || keepWhole) {
            w.start(QStringLiteral("w:trPr"));
            if (keepWhole)
                w.empty(QStringLiteral("w:cantSplit"));
            if (heading)
                w.empty(QStringLiteral("w:tblHeader"));
            w.end();
        }
        for (int c = 0; c < table.columns; ++c) {
            w.start(QStringLiteral("w:tc"));
            w.start(QStringLiteral("w:tcPr"));
            w.empty(QStringLiteral("w:tcW"));
            w.attr(QStringLiteral("w:w"), columnTwips[size_t(c)]);
            w.attr(QStringLiteral("w:type"), QStringLiteral("dxa"));
            if (diagonals) {
                w.start(QStringLiteral("w:tcBorders"));
                if (rule(Border::DiagonalDown).set)
                    writeBorder(w, QStringLiteral("w:tl2br"), rule(Border::DiagonalDown), table.shadow);
                if (rule(Border::DiagonalUp).set)
                    writeBorder(w, QStringLiteral("w:tr2bl"), rule(Border::DiagonalUp), table.shadow);
                w.end();
            }
            w.end(); // w:tcPr
            for (const DocxParagraph& paragraph : table.cell(r, c))
                writeParagraph(w, paragraph, document);
            w.end(); // w:tc
        }
        w.end(); // w:tr
        w.spill();
    }
    w.end(); // w:tbl
}

QByteArray contentTypesXml()
{
    PartWriter w;
    w.start(QStringLiteral("Types"));
    w.attr(QStringLiteral("xmlns"), QStringLiteral("http://schemas.openxmlformats.org/package/2006/content-types"));
    const std::pair<const char*, const char*> defaults[] = {
        {"rels", "application/vnd.openxmlformats-package.relationships+xml"},
        {"xml", "application/xml"},
        {"png", "image/png"},
    };
    for (const auto& [extension, type] : defaults) {
        w.empty(QStringLiteral("Default"));
        w.attr(QStringLiteral("Extension"), QString::fromLatin1(extension));
        w.attr(QStringLiteral("ContentType"), QString::fromLatin1(type));
    }
    const std::pair<const char*, const char*> overrides[] = {
        {"/word/document.xml", "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"},
        {"/word/styles.xml", "application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"},
        {"/word/settings.xml", "application/vnd.openxmlformats-officedocument.wordprocessingml.settings+xml"},
        {"/docProps/core.xml", "application/vnd.openxmlformats-package.core-properties+xml"},
        {"/docProps/app.xml", "application/vnd.openxmlformats-officedocument.extended-properties+xml"},
    };
    for (const auto& [part, type] : overrides) {
        w.empty(QStringLiteral("Override"));
        w.attr(QStringLiteral("PartName"), QString::fromLatin1(part));
        w.attr(QStringLiteral("ContentType"), QString::fromLatin1(type));
    }
    w.end();
    return w.finish();
}

QByteArray relationshipsXml(const std::vector<std::pair<QString, QString>>& typeAndTarget,
                            const std::vector<QString>& ids)
{
    PartWriter w;
    w.start(QStringLiteral("Relationships"));
    w.attr(QStringLiteral("xmlns"), packageRelNs);
    for (size_t i = 0; i < typeAndTarget.size(); ++i) {
        w.empty(QStringLiteral("Relationship"));
        w.attr(QStringLiteral("Id"), ids[i]);
        w.attr(QStringLiteral("Type"), typeAndTarget[i].first);
        w.attr(QStringLiteral("Target"), typeAndTarget[i].second);
    }
    w.end();
    return w.finish();
}

QByteArray packageRelationshipsXml()
{
    return relationshipsXml(
        {
            {relNs + QStringLiteral("/officeDocument"), QStringLiteral("word/document.xml")},
            {QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties"),
             QStringLiteral("docProps/core.xml")},
            {relNs + QStringLiteral("/extended-properties"), QStringLiteral("docProps/app.xml")},
        },
        {QStringLiteral("rId1"), QStringLiteral("rId2"), QStringLiteral("rId3")});
}

QByteArray documentRelationshipsXml(const DocxDocument& document)
{
    std::vector<std::pair<QString, QString>> targets = {
        {relNs + QStringLiteral("/styles"), QStringLiteral("styles.xml")},
        {relNs + QStringLiteral("/settings"), QStringLiteral("settings.xml")},
    };
    std::vector<QString> ids = {QStringLiteral("rId1"), QStringLiteral("rId2")};
    for (int p = 0; p < int(document.pictures.size()); ++p) {
        targets.emplace_back(relNs + QStringLiteral("/image"), pictureMediaName(p));
        ids.push_back(pictureRelationshipId(p));
    }
    return relationshipsXml(targets, ids);
}

QByteArray stylesXml()
{
    PartWriter w;
    w.start(QStringLiteral("w:styles"));
    w.attr(QStringLiteral("xmlns:w"), wordNs);
    w.start(QStringLiteral("w:docDefaults"));
    w.start(QStringLiteral("w:rPrDefault"));
    w.start(QStringLiteral("w:rPr"));
    w.empty(QStringLiteral("w:rFonts"));
    for (const char* script : {"w:ascii", "w:eastAsia", "w:hAnsi", "w:cs"})
        w.attr(QString::fromLatin1(script), QStringLiteral("Times New Roman"));
    w.value(QStringLiteral("w:sz"), 24);
    w.value(QStringLiteral("w:szCs"), 24);
    w.empty(QStringLiteral("w:lang"));
    w.attr(QStringLiteral("w:val"), QStringLiteral("ru-RU"));
    w.attr(QStringLiteral("w:eastAsia"), QStringLiteral("ru-RU"));
    w.attr(QStringLiteral("w:bidi"), QStringLiteral("ar-SA"));
    w.end();
    w.end();
    w.start(QStringLiteral("w:pPrDefault"));
    w.start(QStringLiteral("w:pPr"));
    w.empty(QStringLiteral("w:spacing"));
    w.attr(QStringLiteral("w:after"), 0);
    w.attr(QStringLiteral("w:line"), 240);
    w.attr(QStringLiteral("w:lineRule"), QStringLiteral("auto"));
    w.end();
    w.end();
    w.end(); // w:docDefaults

    const auto style = [&w](const char* type, const char* id, const char* name) {
        w.start(QStringLiteral("w:style"));
        w.attr(QStringLiteral("w:type"), QString::fromLatin1(type));
        w.attr(QStringLiteral("w:default"), QStringLiteral("1"));
        w.attr(QStringLiteral("w:styleId"), QString::fromLatin1(id));
        w.value(QStringLiteral("w:name"), QString::fromLatin1(name));
    };
    style("paragraph", "Normal", "Normal");
    w.empty(QStringLiteral("w:qFormat"));
    w.end();
    style("character", "DefaultParagraphFont", "Default Paragraph Font");
    w.empty(QStringLiteral("w:semiHidden"));
    w.end();
    style("table", "TableNormal", "Normal Table");
    w.empty(QStringLiteral("w:semiHidden"));
    w.start(QStringLiteral("w:tblPr"));
    w.start(QStringLiteral("w:tblCellMar"));
    const std::pair<const char*, int> margins[] = {
        {"w:top", 0}, {"w:left", kCellMarginTwips}, {"w:bottom", 0}, {"w:right", kCellMarginTwips}};
    for (const auto& [side, twips] : margins) {
        w.empty(QString::fromLatin1(side));
        w.attr(QStringLiteral("w:w"), twips);
        w.attr(QStringLiteral("w:type"), QStringLiteral("dxa"));
    }
    w.end();
    w.end();
    w.end();
    w.end(); // w:styles
    return w.finish();
}

QByteArray settingsXml()
{
    PartWriter w;
    w.start(QStringLiteral("w:settings"));
    w.attr(QStringLiteral("xmlns:w"), wordNs);
    w.value(QStringLiteral("w:defaultTabStop"), 708);
    w.value(QStringLiteral("w:characterSpacingControl"), QStringLiteral("doNotCompress"));
    // Without this Word opens the file in compatibility mode.
    w.start(QStringLiteral("w:compat"));
    w.empty(QStringLiteral("w:compatSetting"));
    w.attr(QStringLiteral("w:name"), QStringLiteral("compatibilityMode"));
    w.attr(QStringLiteral("w:uri"), QStringLiteral("http://schemas.microsoft.com/office/word"));
    w.attr(QStringLiteral("w:val"), QStringLiteral("15"));
    w.end();
    w.end();
    return w.finish();
}

QByteArray corePropertiesXml()
{
    PartWriter w;
    w.start(QStringLiteral("cp:coreProperties"));
    w.attr(QStringLiteral("xmlns:cp"),
           QStringLiteral("http://schemas.openxmlformats.org/package/2006/metadata/core-properties"));
    w.attr(QStringLiteral("xmlns:dc"), QStringLiteral("http://purl.org/dc/elements/1.1/"));
    w.start(QStringLiteral("dc:language"));
    w.xml().writeCharacters(QStringLiteral("ru-RU"));
    w.end();
    w.end();
    return w.finish();
}

QByteArray appPropertiesXml()
{
    PartWriter w;
    w.start(QStringLiteral("Properties"));
    w.attr(QStringLiteral("xmlns"),
           QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/extended-properties"));
    w.start(QStringLiteral("Application"));
    w.xml().writeCharacters(QStringLiteral("Зарнель"));
    w.end();
    w.end();
    return w.finish();
}

void writeDocument(PartWriter& w, const DocxDocument& document)
{
    w.start(QStringLiteral("w:document"));
    w.attr(QStringLiteral("xmlns:w"), wordNs);
    w.attr(QStringLiteral("xmlns:r"), relNs);
    w.attr(QStringLiteral("xmlns:wp"), wordDrawingNs);
    w.attr(QStringLiteral("xmlns:a"), drawingNs);
    w.attr(QStringLiteral("xmlns:pic"), pictureNs);
    w.start(QStringLiteral("w:body"));
    for (const DocxBlock& block : document.blocks) {
        if (const auto* paragraph = std::get_if<DocxParagraph>(&block))
            writeParagraph(w, *paragraph, document);
        else
            writeTable(w, std::get<DocxTableData>(block), document);
        w.spill();
    }

    const DocxPageSetup& page = document.page;
    w.start(QStringLiteral("w:sectPr"));
    w.empty(QStringLiteral("w:pgSz"));
    w.attr(QStringLiteral("w:w"), page.pageWidthTwips());
    w.attr(QStringLiteral("w:h"), page.pageHeightTwips());
    w.attr(QStringLiteral("w:orient"), page.landscape ? QStringLiteral("landscape") : QStringLiteral("portrait"));
    w.empty(QStringLiteral("w:pgMar"));
    w.attr(QStringLiteral("w:top"), page.topTwips);
    w.attr(QStringLiteral("w:right"), page.rightTwips);
    w.attr(QStringLiteral("w:bottom"), page.bottomTwips);
    w.attr(QStringLiteral("w:left"), page.leftTwips);
    w.attr(QStringLiteral("w:header"), 708);
    w.attr(QStringLiteral("w:footer"), 708);
    w.attr(QStringLiteral("w:gutter"), 0);
    w.empty(QStringLiteral("w:cols"));
    w.attr(QStringLiteral("w:space"), 708);
    w.end(); // w:sectPr
    w.end(); // w:body
    w.end(); // w:document
}

// Ordinary file permissions (0644) for every entry: without them unzip restores the parts unreadable.
QuaZipNewInfo entryInfo(const QString& name)
{
    QuaZipNewInfo info(name);
    info.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return info;
}

} // namespace

std::shared_future<QByteArray> docxEncodePicture(const QImage& image)
{
    // Light compression: a chart is mostly white and flat colour, which the fastest levels already pack well,
    // and the default level costs a quarter more time. (QImageWriter's quality: 100 stores.)
    return std::async(std::launch::async, [image] {
               constexpr int kQuality = 80;
               QByteArray png;
               QBuffer buffer(&png);
               buffer.open(QIODevice::WriteOnly);
               return image.save(&buffer, "PNG", kQuality) ? png : QByteArray();
           })
        .share();
}

std::vector<QByteArray> docxPictureBytes(const DocxDocument& document)
{
    std::vector<QByteArray> bytes;
    for (const DocxPicture& picture : document.pictures)
        bytes.push_back(picture.png.isEmpty() ? picture.encoding.get() : picture.png);
    return bytes;
}

QByteArray docxDocumentXml(const DocxDocument& document)
{
    PartWriter w;
    writeDocument(w, document);
    return w.finish();
}

QByteArray docxPackage(const DocxDocument& document, QString* error)
{
    std::vector<std::pair<QString, QByteArray>> parts = {
        {QStringLiteral("[Content_Types].xml"), contentTypesXml()},
        {QStringLiteral("_rels/.rels"), packageRelationshipsXml()},
        {QStringLiteral("docProps/core.xml"), corePropertiesXml()},
        {QStringLiteral("docProps/app.xml"), appPropertiesXml()},
        {QStringLiteral("word/document.xml"), QByteArray()}, // written straight into the archive
        {QStringLiteral("word/_rels/document.xml.rels"), documentRelationshipsXml(document)},
        {QStringLiteral("word/styles.xml"), stylesXml()},
        {QStringLiteral("word/settings.xml"), settingsXml()},
    };
    std::vector<QByteArray> pictures = docxPictureBytes(document);
    for (int p = 0; p < int(pictures.size()); ++p) {
        if (pictures[size_t(p)].isEmpty()) {
            if (error)
                *error = QStringLiteral("Не удалось сформировать документ Word: рисунок не записан.");
            return {};
        }
        parts.emplace_back(QStringLiteral("word/") + pictureMediaName(p), std::move(pictures[size_t(p)]));
    }

    QByteArray bytes;
    QBuffer buffer(&bytes);
    QuaZip zip(&buffer);
    bool ok = zip.open(QuaZip::mdCreate);
    for (size_t i = 0; ok && i < parts.size(); ++i) {
        QuaZipFile file(&zip);
        ok = file.open(QIODevice::WriteOnly, entryInfo(parts[i].first));
        if (ok && parts[i].first == QLatin1String("word/document.xml")) {
            PartWriter w(&file);
            writeDocument(w, document);
            w.finish();
            ok = !w.sinkFailed();
        } else if (ok) {
            ok = file.write(parts[i].second) == parts[i].second.size();
        }
        file.close();
        ok = ok && file.getZipError() == ZIP_OK;
    }
    zip.close();
    if (!ok || zip.getZipError() != ZIP_OK) {
        if (error)
            *error = QStringLiteral("Не удалось сформировать документ Word: ошибка упаковки.");
        return {};
    }
    return bytes;
}

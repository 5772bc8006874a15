#include "gui/DocxReader.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QXmlStreamReader>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipfileinfo.h>

namespace {

const QString wordNs = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
const QString relNs = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");

struct Context {
    double defaultSizePt = 10; // the format's own default when styles.xml says nothing
    bool defaultBold = false;
    QMap<QString, QString> relationships; // Id -> part name inside the package
    const QMap<QString, QByteArray>* entries = nullptr;
    QString error;
};

QString wAttr(const QXmlStreamReader& xml, const char* name)
{
    return xml.attributes().value(wordNs, QLatin1String(name)).toString();
}

// An on/off property: present without a value means on.
bool onOff(const QXmlStreamReader& xml)
{
    const QString value = wAttr(xml, "val");
    return !(value == u"0" || value == u"false" || value == u"off");
}

void readFormat(QXmlStreamReader& xml, double& sizePt, bool& bold)
{
    while (xml.readNextStartElement()) {
        if (xml.name() == u"b")
            bold = onOff(xml);
        else if (xml.name() == u"sz")
            sizePt = wAttr(xml, "val").toDouble() / 2.0;
        xml.skipCurrentElement();
    }
}

void readDrawing(QXmlStreamReader& xml, Context& context, DocxReader::Paragraph& paragraph)
{
    DocxReader::Picture picture;
    QString embed;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement()) {
            --depth;
        } else if (xml.isStartElement()) {
            ++depth;
            if (xml.name() == u"extent") {
                picture.widthPt = xml.attributes().value(QLatin1String("cx")).toDouble() / 12700.0;
                picture.heightPt = xml.attributes().value(QLatin1String("cy")).toDouble() / 12700.0;
            } else if (xml.name() == u"blip") {
                embed = xml.attributes().value(relNs, QLatin1String("embed")).toString();
            }
        }
    }
    picture.part = context.relationships.value(embed);
    if (picture.part.isEmpty() || !context.entries->contains(picture.part)) {
        context.error = QStringLiteral("picture %1 points to a missing part '%2'").arg(embed, picture.part);
    } else {
        picture.pixelSize = QImage::fromData(context.entries->value(picture.part)).size();
    }
    paragraph.pictures.append(picture);
}

void readRun(QXmlStreamReader& xml, Context& context, DocxReader::Paragraph& paragraph)
{
    DocxReader::Run run{QString(), context.defaultBold, context.defaultSizePt};
    while (xml.readNextStartElement()) {
        const auto name = xml.name();
        if (name == u"rPr") {
            readFormat(xml, run.sizePt, run.bold);
        } else if (name == u"t") {
            run.text += xml.readElementText();
        } else if (name == u"tab") {
            run.text += u'\t';
            xml.skipCurrentElement();
        } else if (name == u"br") {
            if (wAttr(xml, "type") == u"page")
                paragraph.pageBreak = true;
            else
                run.text += u'\n';
            xml.skipCurrentElement();
        } else if (name == u"drawing") {
            readDrawing(xml, context, paragraph);
        } else {
            xml.skipCurrentElement();
        }
    }
    if (!run.text.isEmpty())
        paragraph.runs.append(run);
}

// Runs may sit inside hyperlinks, insertions and the like: look through any wrapper.
void readParagraphContent(QXmlStreamReader& xml, Context& context, DocxReader::Paragraph& paragraph)
{
    while (xml.readNextStartElement()) {
        const auto name = xml.name();
        if (name == u"pPr") {
            while (xml.readNextStartElement()) {
                if (xml.name() == u"jc") {
                    paragraph.alignment = wAttr(xml, "val");
                    xml.skipCurrentElement();
                } else if (xml.name() == u"pageBreakBefore") {
                    paragraph.pageBreak = paragraph.pageBreak || onOff(xml);
                    xml.skipCurrentElement();
                } else if (xml.name() == u"rPr") {
                    readFormat(xml, paragraph.markSizePt, paragraph.markBold);
                } else {
                    xml.skipCurrentElement();
                }
            }
        } else if (name == u"r") {
            readRun(xml, context, paragraph);
        } else {
            readParagraphContent(xml, context, paragraph);
        }
    }
}

DocxReader::Paragraph readParagraph(QXmlStreamReader& xml, Context& context)
{
    DocxReader::Paragraph paragraph;
    paragraph.markSizePt = context.defaultSizePt;
    paragraph.markBold = context.defaultBold;
    readParagraphContent(xml, context, paragraph);

    if (paragraph.alignment == u"start")
        paragraph.alignment = QStringLiteral("left");
    else if (paragraph.alignment == u"end")
        paragraph.alignment = QStringLiteral("right");
    if (paragraph.runs.isEmpty()) {
        paragraph.bold = paragraph.markBold;
        paragraph.sizePt = paragraph.markSizePt;
    } else {
        paragraph.bold = true;
        for (const DocxReader::Run& run : paragraph.runs) {
            paragraph.text += run.text;
            paragraph.bold = paragraph.bold && run.bold;
        }
        paragraph.sizePt = paragraph.runs.first().sizePt;
    }
    return paragraph;
}

DocxReader::Border readBorder(const QXmlStreamReader& xml)
{
    DocxReader::Border border;
    border.style = wAttr(xml, "val");
    border.size = wAttr(xml, "sz").toInt();
    border.colour = wAttr(xml, "color");
    const QString shadow = wAttr(xml, "shadow");
    border.shadow = shadow == u"1" || shadow == u"true" || shadow == u"on";
    return border;
}

bool sameBorder(const DocxReader::Border& a, const DocxReader::Border& b)
{
    return a.style == b.style && a.size == b.size && a.colour == b.colour && a.shadow == b.shadow;
}

QString borderKey(QStringView name)
{
    if (name == u"start")
        return QStringLiteral("left");
    if (name == u"end")
        return QStringLiteral("right");
    return name.toString();
}

DocxReader::Table readTable(QXmlStreamReader& xml, Context& context)
{
    DocxReader::Table table;
    QList<QMap<QString, DocxReader::Border>> cellDiagonals;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"tblPr") {
            while (xml.readNextStartElement()) {
                if (xml.name() == u"tblW") {
                    table.widthType = wAttr(xml, "type");
                    table.width = wAttr(xml, "w").toInt();
                    xml.skipCurrentElement();
                } else if (xml.name() == u"tblLayout") {
                    table.layout = wAttr(xml, "type");
                    xml.skipCurrentElement();
                } else if (xml.name() == u"tblBorders") {
                    while (xml.readNextStartElement()) {
                        table.borders.insert(borderKey(xml.name()), readBorder(xml));
                        xml.skipCurrentElement();
                    }
                } else {
                    xml.skipCurrentElement();
                }
            }
        } else if (xml.name() == u"tblGrid") {
            while (xml.readNextStartElement()) {
                if (xml.name() == u"gridCol")
                    table.gridColumns.append(wAttr(xml, "w").toInt());
                xml.skipCurrentElement();
            }
        } else if (xml.name() == u"tr") {
            QList<QList<DocxReader::Paragraph>> row;
            QList<int> widths;
            bool header = false;
            bool cantSplit = false;
            while (xml.readNextStartElement()) {
                if (xml.name() == u"trPr") {
                    while (xml.readNextStartElement()) {
                        header = header || xml.name() == u"tblHeader";
                        cantSplit = cantSplit || xml.name() == u"cantSplit";
                        xml.skipCurrentElement();
                    }
                    continue;
                }
                if (xml.name() != u"tc") {
                    xml.skipCurrentElement();
                    continue;
                }
                int width = 0;
                QList<DocxReader::Paragraph> cell;
                QMap<QString, DocxReader::Border> diagonals;
                while (xml.readNextStartElement()) {
                    if (xml.name() == u"p") {
                        cell.append(readParagraph(xml, context));
                    } else if (xml.name() == u"tcPr") {
                        while (xml.readNextStartElement()) {
                            if (xml.name() == u"tcW") {
                                width = wAttr(xml, "w").toInt();
                                xml.skipCurrentElement();
                            } else if (xml.name() == u"tcBorders") {
                                while (xml.readNextStartElement()) {
                                    if (xml.name() == u"tl2br" || xml.name() == u"tr2bl")
                                        diagonals.insert(xml.name().toString(), readBorder(xml));
                                    xml.skipCurrentElement();
                                }
                            } else {
                                xml.skipCurrentElement();
                            }
                        }
                    } else {
                        xml.skipCurrentElement();
                    }
                }
                row.append(cell);
                widths.append(width);
                cellDiagonals.append(diagonals);
            }
            table.cells.append(row);
            table.cellWidths.append(widths);
            table.headerRows.append(header);
            table.cantSplit.append(cantSplit);
        } else {
            xml.skipCurrentElement();
        }
    }

    for (const QString& key : {QStringLiteral("tl2br"), QStringLiteral("tr2bl")}) {
        int present = 0;
        bool uniform = true;
        for (const auto& diagonals : cellDiagonals) {
            if (!diagonals.contains(key))
                continue;
            ++present;
            uniform = uniform && sameBorder(diagonals.value(key), cellDiagonals.first().value(key));
        }
        if (present == int(cellDiagonals.size()) && present > 0 && uniform)
            table.borders.insert(key, cellDiagonals.first().value(key));
        else if (present > 0)
            table.borders.insert(key, DocxReader::Border{QStringLiteral("mixed"), 0, QString(), false});
    }
    return table;
}

QMap<QString, QString> readRelationships(const QByteArray& data, const QString& folder)
{
    QMap<QString, QString> targets;
    QXmlStreamReader xml(data);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"Relationship") {
            QString target = xml.attributes().value(QLatin1String("Target")).toString();
            target = target.startsWith(u'/') ? target.mid(1) : folder + target;
            targets.insert(xml.attributes().value(QLatin1String("Id")).toString(), target);
        }
    }
    return targets;
}

void readDefaults(const QByteArray& styles, Context& context)
{
    QXmlStreamReader xml(styles);
    while (xml.readNextStartElement()) {
        if (xml.name() == u"styles" || xml.name() == u"docDefaults" || xml.name() == u"rPrDefault")
            continue; // descend
        if (xml.name() == u"rPr") {
            readFormat(xml, context.defaultSizePt, context.defaultBold);
            return;
        }
        xml.skipCurrentElement();
    }
}

} // namespace

QString DocxReader::Table::cellText(int row, int column) const
{
    QStringList texts;
    for (const Paragraph& paragraph : cells[row - 1][column - 1])
        texts.append(paragraph.text);
    return texts.join(u'\n');
}

bool DocxReader::fail(const QString& message)
{
    m_error = message;
    return false;
}

bool DocxReader::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot open %1: %2").arg(path, file.errorString()));
    return loadData(file.readAll());
}

bool DocxReader::loadData(const QByteArray& docx)
{
    *this = DocxReader();
    QByteArray data = docx;
    QBuffer buffer(&data);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdUnzip))
        return fail(QStringLiteral("not a zip archive (error %1)").arg(zip.getZipError()));
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFile entry(&zip);
        if (!entry.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("cannot read entry %1").arg(zip.getCurrentFileName()));
        m_entries.insert(zip.getCurrentFileName(), entry.readAll());
        QuaZipFileInfo64 info;
        if (zip.getCurrentFileInfo(&info))
            m_modes.insert(zip.getCurrentFileName(), info.externalAttr >> 16);
    }
    zip.close();

    if (!m_entries.contains(QStringLiteral("word/document.xml")))
        return fail(QStringLiteral("word/document.xml is missing"));
    Context context;
    context.entries = &m_entries;
    context.relationships =
        readRelationships(m_entries.value(QStringLiteral("word/_rels/document.xml.rels")), QStringLiteral("word/"));
    readDefaults(m_entries.value(QStringLiteral("word/styles.xml")), context);

    QXmlStreamReader xml(m_entries.value(QStringLiteral("word/document.xml")));
    if (!xml.readNextStartElement() || xml.name() != u"document")
        return fail(QStringLiteral("word/document.xml has no w:document"));
    while (xml.readNextStartElement()) {
        if (xml.name() != u"body") {
            xml.skipCurrentElement();
            continue;
        }
        while (xml.readNextStartElement()) {
            if (xml.name() == u"p") {
                Block block;
                block.paragraph = readParagraph(xml, context);
                m_blocks.append(block);
            } else if (xml.name() == u"tbl") {
                Block block;
                block.isTable = true;
                block.table = readTable(xml, context);
                m_blocks.append(block);
            } else if (xml.name() == u"sectPr") {
                while (xml.readNextStartElement()) {
                    if (xml.name() == u"pgSz") {
                        m_pageWidth = wAttr(xml, "w").toInt();
                        m_pageHeight = wAttr(xml, "h").toInt();
                        m_orientation = wAttr(xml, "orient");
                    } else if (xml.name() == u"pgMar") {
                        for (const char* side : {"top", "right", "bottom", "left"})
                            m_margins.insert(QString::fromLatin1(side), wAttr(xml, side).toInt());
                    }
                    xml.skipCurrentElement();
                }
            } else {
                xml.skipCurrentElement();
            }
        }
    }
    if (xml.hasError())
        return fail(QStringLiteral("word/document.xml: %1 at line %2").arg(xml.errorString()).arg(xml.lineNumber()));
    if (!context.error.isEmpty())
        return fail(context.error);
    return true;
}

QList<DocxReader::Paragraph> DocxReader::paragraphs() const
{
    QList<Paragraph> result;
    for (const Block& block : m_blocks)
        if (!block.isTable)
            result.append(block.paragraph);
    return result;
}

QList<DocxReader::Table> DocxReader::tables() const
{
    QList<Table> result;
    for (const Block& block : m_blocks)
        if (block.isTable)
            result.append(block.table);
    return result;
}

QStringList DocxReader::paragraphTexts() const
{
    QStringList texts;
    for (const Paragraph& paragraph : paragraphs())
        texts.append(paragraph.text);
    return texts;
}

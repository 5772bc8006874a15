#include "core/XlsxBook.h"

#include <QBuffer>
#include <QFile>
#include <QHash>
#include <QLocale>
#include <QMap>
#include <QSaveFile>
#include <QVector>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

// SpreadsheetML written directly over QuaZip, which the program already uses for .docx: libxlsxwriter carries
// its own minizip whose symbols collide with QuaZip's in one process.

namespace zarnel {

namespace {

struct Cell {
    enum Kind { Number, Text, Header } kind = Number;
    double number = 0;
    int text = 0; // index into the shared strings
};

struct Sheet {
    QString name;
    QMap<int, QMap<int, Cell>> rows;
    QMap<int, double> widths;
};

QString escaped(const QString& s)
{
    QString out = s.toHtmlEscaped();
    // Line breaks inside a cell survive only as character references in some readers.
    out.replace(u'\r', QStringLiteral("&#13;"));
    return out;
}

QString columnName(int column)
{
    QString s;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        s.prepend(QChar(u'A' + (c - 1) % 26));
    return s;
}

QString numberText(double v)
{
    return QLocale::c().toString(v, 'g', QLocale::FloatingPointShortest);
}

const char* const kXmlHead = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
const char* const kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char* const kRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

} // namespace

struct XlsxBook::Impl {
    QString path;
    QVector<Sheet> sheets;
    QStringList strings;
    QHash<QString, int> stringIndex;

    Cell* cell(int sheet, int row, int column)
    {
        if (sheet < 0 || sheet >= sheets.size())
            return nullptr;
        return &sheets[sheet].rows[row][column];
    }
    int string(const QString& s)
    {
        const auto it = stringIndex.constFind(s);
        if (it != stringIndex.constEnd())
            return *it;
        strings.append(s);
        stringIndex.insert(s, int(strings.size()) - 1);
        return int(strings.size()) - 1;
    }
    QByteArray sheetXml(const Sheet& s) const;
    QVector<QPair<QString, QByteArray>> parts() const;
};

QByteArray XlsxBook::Impl::sheetXml(const Sheet& s) const
{
    QString x = QString::fromLatin1(kXmlHead) + QStringLiteral("<worksheet xmlns=\"%1\" xmlns:r=\"%2\">")
                                                       .arg(QLatin1String(kMain), QLatin1String(kRel));
    if (!s.widths.isEmpty()) {
        x += QStringLiteral("<cols>");
        for (auto it = s.widths.begin(); it != s.widths.end(); ++it)
            x += QStringLiteral("<col min=\"%1\" max=\"%1\" width=\"%2\" customWidth=\"1\"/>")
                     .arg(it.key() + 1)
                     .arg(numberText(it.value()));
        x += QStringLiteral("</cols>");
    }
    x += QStringLiteral("<sheetData>");
    for (auto r = s.rows.begin(); r != s.rows.end(); ++r) {
        x += QStringLiteral("<row r=\"%1\">").arg(r.key() + 1);
        for (auto c = r.value().begin(); c != r.value().end(); ++c) {
            const QString ref = columnName(c.key()) + QString::number(r.key() + 1);
            const Cell& cell = c.value();
            if (cell.kind == Cell::Number)
                x += QStringLiteral("<c r=\"%1\"><v>%2</v></c>").arg(ref, numberText(cell.number));
            else
                x += QStringLiteral("<c r=\"%1\" t=\"s\"%2><v>%3</v></c>")
                         .arg(ref, cell.kind == Cell::Header ? QStringLiteral(" s=\"1\"") : QString())
                         .arg(cell.text);
        }
        x += QStringLiteral("</row>");
    }
    x += QStringLiteral("</sheetData></worksheet>");
    return x.toUtf8();
}

QVector<QPair<QString, QByteArray>> XlsxBook::Impl::parts() const
{
    QString types = QString::fromLatin1(kXmlHead) +
                    QStringLiteral("<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                                   "<Default Extension=\"rels\" "
                                   "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                                   "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                                   "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/"
                                   "vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
                                   "<Override PartName=\"/xl/styles.xml\" ContentType=\"application/"
                                   "vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
                                   "<Override PartName=\"/xl/sharedStrings.xml\" ContentType=\"application/"
                                   "vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/>");
    QString workbook = QString::fromLatin1(kXmlHead) +
                       QStringLiteral("<workbook xmlns=\"%1\" xmlns:r=\"%2\"><sheets>")
                           .arg(QLatin1String(kMain), QLatin1String(kRel));
    QString rels = QString::fromLatin1(kXmlHead) +
                   QStringLiteral("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">");
    QVector<QPair<QString, QByteArray>> out;
    for (int i = 0; i < sheets.size(); ++i) {
        const int n = i + 1;
        types += QStringLiteral("<Override PartName=\"/xl/worksheets/sheet%1.xml\" ContentType=\"application/"
                                "vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>")
                     .arg(n);
        workbook += QStringLiteral("<sheet name=\"%1\" sheetId=\"%2\" r:id=\"rId%2\"/>").arg(escaped(sheets[i].name)).arg(n);
        rels += QStringLiteral("<Relationship Id=\"rId%1\" Type=\"%2/worksheet\" Target=\"worksheets/sheet%1.xml\"/>")
                    .arg(n)
                    .arg(QLatin1String(kRel));
        out.append({QStringLiteral("xl/worksheets/sheet%1.xml").arg(n), sheetXml(sheets[i])});
    }
    const int styles = int(sheets.size()) + 1;
    rels += QStringLiteral("<Relationship Id=\"rId%1\" Type=\"%2/styles\" Target=\"styles.xml\"/>"
                           "<Relationship Id=\"rId%3\" Type=\"%2/sharedStrings\" Target=\"sharedStrings.xml\"/>"
                           "</Relationships>")
                .arg(styles)
                .arg(QLatin1String(kRel))
                .arg(styles + 1);
    types += QStringLiteral("</Types>");
    workbook += QStringLiteral("</sheets></workbook>");

    QString shared = QString::fromLatin1(kXmlHead) +
                     QStringLiteral("<sst xmlns=\"%1\" count=\"%2\" uniqueCount=\"%2\">")
                         .arg(QLatin1String(kMain))
                         .arg(strings.size());
    for (const QString& s : strings)
        shared += QStringLiteral("<si><t xml:space=\"preserve\">") + escaped(s) + QStringLiteral("</t></si>");
    shared += QStringLiteral("</sst>");

    const QString style =
        QString::fromLatin1(kXmlHead) +
        QStringLiteral("<styleSheet xmlns=\"%1\">"
                       "<fonts count=\"2\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font>"
                       "<font><b/><sz val=\"11\"/><name val=\"Calibri\"/></font></fonts>"
                       "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
                       "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
                       "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
                       "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
                       "<cellXfs count=\"2\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
                       "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyFont=\"1\" "
                       "applyAlignment=\"1\"><alignment wrapText=\"1\" vertical=\"top\"/></xf></cellXfs>"
                       "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
                       "</styleSheet>")
            .arg(QLatin1String(kMain));
    const QString rootRels =
        QString::fromLatin1(kXmlHead) +
        QStringLiteral("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                       "<Relationship Id=\"rId1\" Type=\"%1/officeDocument\" Target=\"xl/workbook.xml\"/>"
                       "</Relationships>")
            .arg(QLatin1String(kRel));

    out.prepend({QStringLiteral("xl/sharedStrings.xml"), shared.toUtf8()});
    out.prepend({QStringLiteral("xl/styles.xml"), style.toUtf8()});
    out.prepend({QStringLiteral("xl/_rels/workbook.xml.rels"), rels.toUtf8()});
    out.prepend({QStringLiteral("xl/workbook.xml"), workbook.toUtf8()});
    out.prepend({QStringLiteral("_rels/.rels"), rootRels.toUtf8()});
    out.prepend({QStringLiteral("[Content_Types].xml"), types.toUtf8()});
    return out;
}

XlsxBook::XlsxBook(const QString& path) : d(std::make_unique<Impl>())
{
    d->path = path;
}

XlsxBook::~XlsxBook() = default;

int XlsxBook::addSheet(const QString& name)
{
    d->sheets.append(Sheet{name, {}, {}});
    return int(d->sheets.size()) - 1;
}

void XlsxBook::text(int sheet, int row, int column, const QString& value)
{
    if (value.isEmpty())
        return;
    if (Cell* c = d->cell(sheet, row, column))
        *c = Cell{Cell::Text, 0, d->string(value)};
}

void XlsxBook::header(int sheet, int row, int column, const QString& value)
{
    if (Cell* c = d->cell(sheet, row, column))
        *c = Cell{Cell::Header, 0, d->string(value)};
}

void XlsxBook::number(int sheet, int row, int column, double value)
{
    if (Cell* c = d->cell(sheet, row, column))
        *c = Cell{Cell::Number, value, 0};
}

void XlsxBook::columnWidth(int sheet, int column, double characters)
{
    if (sheet >= 0 && sheet < d->sheets.size())
        d->sheets[sheet].widths[column] = characters;
}

bool XlsxBook::close(QString* error)
{
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        QuaZip zip(&buffer);
        bool ok = zip.open(QuaZip::mdCreate);
        for (const auto& [name, content] : d->parts()) {
            if (!ok)
                break;
            QuaZipFile file(&zip);
            ok = file.open(QIODevice::WriteOnly, QuaZipNewInfo(name)) && file.write(content) == content.size();
            file.close();
        }
        zip.close();
        if (!ok || zip.getZipError() != 0) {
            if (error)
                *error = QStringLiteral("Не удалось создать книгу Excel.");
            return false;
        }
    }
    QSaveFile file(d->path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace zarnel

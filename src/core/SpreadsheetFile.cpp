#include "core/SpreadsheetFile.h"

#include "core/DelimitedText.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

#include <ixion/cell.hpp>
#include <ixion/formula_result.hpp>
#include <ixion/model_context.hpp>
#include <orcus/orcus_ods.hpp>
#include <orcus/orcus_xlsx.hpp>
#include <orcus/spreadsheet/document.hpp>
#include <orcus/spreadsheet/factory.hpp>
#include <orcus/spreadsheet/sheet.hpp>

#include <cmath>
#include <cstdlib>
#include <exception>
#include <memory>

namespace zarnel {

namespace {

const QString kNotATable = QStringLiteral(
    "Файл не является таблицей Excel (.xlsx), LibreOffice (.ods) или CSV (.csv).");
const QString kDamaged = QStringLiteral("Файл поврежден или не является таблицей Excel (.xlsx) или LibreOffice (.ods).");
const QString kProtected =
    QStringLiteral("Файл защищен паролем или сохранен в формате Excel 97-2003 (.xls). Снимите пароль или сохраните "
                   "таблицу в формате .xlsx и повторите импорт.");

enum class Format { Xlsx, Ods, Csv, Protected, Unknown };

using Parts = QVector<QPair<QString, QByteArray>>;

std::optional<Parts> unzip(const QByteArray& bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdUnzip))
        return std::nullopt;
    Parts parts;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        parts.append({zip.getCurrentFileName(), file.readAll()});
    }
    return parts;
}

const QByteArray* partNamed(const Parts& parts, const QString& name)
{
    for (const auto& [n, content] : parts)
        if (n == name)
            return &content;
    return nullptr;
}

Format detect(const QByteArray& bytes, const std::optional<Parts>& parts, const QString& suffix)
{
    if (bytes.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        return Format::Protected; // an OLE container: an encrypted OOXML workbook or an old .xls
    if (parts) {
        if (partNamed(*parts, QStringLiteral("xl/workbook.xml")))
            return Format::Xlsx;
        if (const QByteArray* mime = partNamed(*parts, QStringLiteral("mimetype"));
            mime && mime->startsWith("application/vnd.oasis.opendocument.spreadsheet")) {
            const QByteArray* manifest = partNamed(*parts, QStringLiteral("META-INF/manifest.xml"));
            return manifest && manifest->contains("encryption-data") ? Format::Protected : Format::Ods;
        }
        return Format::Unknown;
    }
    // Text only: a NUL byte means a binary file whatever its name says.
    if (bytes.contains('\0') || suffix == u"xlsx" || suffix == u"ods" || suffix == u"xls")
        return Format::Unknown;
    return Format::Csv;
}

// Relationship targets written as absolute part names (/xl/worksheets/sheet1.xml, as openpyxl does) become
// relative to the part that holds them, which is what the reader resolves.
QByteArray relativeTargets(const QString& relsName, const QByteArray& xml)
{
    // xl/_rels/workbook.xml.rels describes xl/workbook.xml: its targets are relative to "xl/".
    QString base = relsName.section(u'/', 0, -3);
    if (!base.isEmpty())
        base += u'/';
    QString text = QString::fromUtf8(xml);
    static const QRegularExpression absolute(QStringLiteral("Target=\"/([^\"]*)\""));
    QString out;
    qsizetype last = 0;
    for (auto it = absolute.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        QString target = m.captured(1);
        if (!base.isEmpty() && target.startsWith(base)) {
            target = target.mid(base.size());
        } else {
            for (int up = int(base.count(u'/')); up > 0; --up)
                target.prepend(QStringLiteral("../"));
        }
        out += text.mid(last, m.capturedStart() - last) + QStringLiteral("Target=\"") + target + u'"';
        last = m.capturedEnd();
    }
    out += text.mid(last);
    return out.toUtf8();
}

// Inline strings (t="inlineStr", as openpyxl writes every text) become entries of the shared strings, which is
// the only form the reader takes text cells in. <is> and <si> hold the same content.
bool sharedInlineStrings(Parts& parts)
{
    static const QRegularExpression inlineCell(
        QStringLiteral("<c\\b([^>]*?)\\st=\"inlineStr\"([^>]*)>\\s*<is>(.*?)</is>\\s*</c>"),
        QRegularExpression::DotMatchesEverythingOption);
    const QString sharedName = QStringLiteral("xl/sharedStrings.xml");
    QByteArray* shared = nullptr;
    for (auto& [name, content] : parts)
        if (name == sharedName)
            shared = &content;
    QString sst = shared ? QString::fromUtf8(*shared) : QString();
    int next = int(sst.count(QStringLiteral("<si>")) + sst.count(QStringLiteral("<si ")));
    QString added;
    for (auto& [name, content] : parts) {
        if (!name.startsWith(QStringLiteral("xl/worksheets/")) || !content.contains("inlineStr"))
            continue;
        const QString xml = QString::fromUtf8(content);
        QString out;
        qsizetype last = 0;
        for (auto it = inlineCell.globalMatch(xml); it.hasNext();) {
            const auto m = it.next();
            out += xml.mid(last, m.capturedStart() - last) + QStringLiteral("<c") + m.captured(1) +
                   QStringLiteral(" t=\"s\"") + m.captured(2) + QStringLiteral("><v>") + QString::number(next++) +
                   QStringLiteral("</v></c>");
            added += QStringLiteral("<si>") + m.captured(3) + QStringLiteral("</si>");
            last = m.capturedEnd();
        }
        out += xml.mid(last);
        content = out.toUtf8();
    }
    if (added.isEmpty())
        return false;
    if (shared) {
        const qsizetype end = sst.lastIndexOf(QStringLiteral("</sst>"));
        sst.insert(end < 0 ? sst.size() : end, added);
        *shared = sst.toUtf8();
        return true;
    }
    parts.append({sharedName, (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><sst xmlns=\"http://"
                                              "schemas.openxmlformats.org/spreadsheetml/2006/main\">") +
                               added + QStringLiteral("</sst>"))
                                  .toUtf8()});
    for (auto& [name, content] : parts) {
        if (name == QStringLiteral("xl/_rels/workbook.xml.rels"))
            content.replace("</Relationships>",
                            "<Relationship Id=\"rIdZarnelStrings\" Type=\"http://schemas.openxmlformats.org/"
                            "officeDocument/2006/relationships/sharedStrings\" Target=\"sharedStrings.xml\"/>"
                            "</Relationships>");
        else if (name == QStringLiteral("[Content_Types].xml"))
            content.replace("</Types>", "<Override PartName=\"/xl/sharedStrings.xml\" ContentType=\"application/"
                                        "vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/></Types>");
    }
    return true;
}

// The package as the reader wants it, or the bytes as they were when nothing needed a change.
std::optional<QByteArray> normalisedXlsx(const QByteArray& bytes, const Parts& parts)
{
    bool changed = false;
    Parts fixed = parts;
    for (auto& [name, content] : fixed) {
        if (name.endsWith(QStringLiteral(".rels")) && content.contains("Target=\"/")) {
            content = relativeTargets(name, content);
            changed = true;
        }
    }
    changed = sharedInlineStrings(fixed) || changed;
    if (!changed)
        return bytes;
    QByteArray out;
    QBuffer buffer(&out);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdCreate))
        return std::nullopt;
    for (const auto& [name, content] : fixed) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(name)) || file.write(content) != content.size())
            return std::nullopt;
        file.close();
    }
    zip.close();
    return out;
}

// The reader turns decimal texts into Doubles only to within an ulp ("2.5e-06" can come back a hair above).
// Spreadsheets keep 15 significant digits: a value one ulp from a 15-digit decimal is that decimal.
double decimalValue(double v)
{
    if (!std::isfinite(v) || v == 0)
        return v;
    const double d = std::strtod(QByteArray::number(v, 'g', 15).constData(), nullptr);
    return std::fabs(d - v) <= std::fabs(std::nextafter(v, 0.0) - v) ? d : v;
}

SheetCell cellAt(const ixion::model_context& cx, const ixion::abs_address_t& a)
{
    switch (cx.get_celltype(a)) {
    case ixion::celltype_t::numeric:
        return SheetCell::ofNumber(decimalValue(cx.get_numeric_value(a)));
    case ixion::celltype_t::string:
        return SheetCell::ofText(QString::fromUtf8(cx.get_string_value(a)));
    case ixion::celltype_t::boolean:
        return SheetCell::ofText(cx.get_numeric_value(a) != 0 ? QStringLiteral("ИСТИНА") : QStringLiteral("ЛОЖЬ"));
    case ixion::celltype_t::formula: {
        const ixion::formula_cell* f = cx.get_formula_cell(a);
        if (!f)
            return {};
        const ixion::formula_result r = f->get_result_cache(ixion::formula_result_wait_policy_t::throw_exception);
        if (r.get_type() == ixion::formula_result::result_type::value)
            return SheetCell::ofNumber(decimalValue(r.get_value()));
        if (r.get_type() == ixion::formula_result::result_type::string)
            return SheetCell::ofText(QString::fromStdString(r.get_string()));
        return SheetCell::ofText(QStringLiteral("#ОШИБКА"));
    }
    default:
        return {};
    }
}

SheetData sheetData(const orcus::spreadsheet::document& doc, orcus::spreadsheet::sheet_t index)
{
    SheetData data;
    const orcus::spreadsheet::sheet* sheet = doc.get_sheet(index);
    const ixion::model_context& cx = doc.get_model_context();
    const ixion::abs_range_t range = sheet->get_data_range();
    if (!range.valid())
        return data;
    data.rows.resize(range.last.row + 1);
    for (int row = 0; row <= range.last.row; ++row) {
        QVector<SheetCell>& cells = data.rows[row];
        cells.resize(range.last.column + 1);
        for (int col = 0; col <= range.last.column; ++col) {
            SheetCell cell;
            // A formula without a cached result reads as empty.
            try {
                cell = cellAt(cx, ixion::abs_address_t(index, row, col));
            } catch (const std::exception&) {
            }
            const orcus::spreadsheet::range_t merged = sheet->get_merge_cell_range(row, col);
            cell.merged = merged.first.row != merged.last.row || merged.first.column != merged.last.column;
            cells[col] = cell;
        }
    }
    return data;
}

SheetRead readWorkbook(const QByteArray& bytes, Format format, const QString& sheet)
{
    orcus::spreadsheet::document doc{orcus::spreadsheet::range_size_t{1048576, 16384}};
    orcus::spreadsheet::import_factory factory(doc);
    try {
        std::unique_ptr<orcus::iface::import_filter> filter;
        if (format == Format::Xlsx)
            filter = std::make_unique<orcus::orcus_xlsx>(&factory);
        else
            filter = std::make_unique<orcus::orcus_ods>(&factory);
        filter->read_stream(std::string_view(bytes.constData(), size_t(bytes.size())));
    } catch (const std::exception&) {
        return {std::nullopt, kDamaged};
    }
    if (!sheet.isEmpty()) {
        const QByteArray name = sheet.toUtf8();
        const auto index = doc.get_sheet_index(std::string_view(name.constData(), size_t(name.size())));
        if (index < 0)
            return {std::nullopt, QStringLiteral("В книге нет листа ") + sheet + u'.'};
        return {sheetData(doc, index), {}};
    }
    for (size_t i = 0; i < doc.get_sheet_count(); ++i) {
        SheetData data = sheetData(doc, orcus::spreadsheet::sheet_t(i));
        if (!data.rows.isEmpty())
            return {data, {}};
    }
    return {SheetData{}, {}};
}

} // namespace

SheetRead ReadSpreadsheetFile(const QString& path, const QString& sheet)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, QStringLiteral("Не удалось открыть файл ") + path + QStringLiteral(": ") +
                                  file.errorString()};
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty())
        return {std::nullopt, QStringLiteral("Файл пуст.")};
    const std::optional<Parts> parts = bytes.startsWith("PK") ? unzip(bytes) : std::nullopt;
    switch (detect(bytes, parts, QFileInfo(path).suffix().toLower())) {
    case Format::Protected:
        return {std::nullopt, kProtected};
    case Format::Unknown:
        return {std::nullopt, kNotATable};
    case Format::Csv: {
        const QString text = DecodeCsvBytes(bytes);
        return {ParseDelimited(text, DetectDelimiter(text)), {}};
    }
    case Format::Ods:
        return readWorkbook(bytes, Format::Ods, sheet);
    case Format::Xlsx:
        if (const std::optional<QByteArray> normalised = normalisedXlsx(bytes, *parts))
            return readWorkbook(*normalised, Format::Xlsx, sheet);
        return {std::nullopt, kDamaged};
    }
    return {std::nullopt, kNotATable};
}

} // namespace zarnel

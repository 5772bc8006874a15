#include "core/ScenarioExchange.h"

#include "core/DelimitedText.h"
#include "core/Formats.h"
#include "core/SpreadsheetFile.h"
#include "core/XlsxBook.h"

#include <QFile>
#include <QHash>
#include <QLocale>

#include <array>
#include <cmath>

namespace zarnel {

namespace {

enum Column { Name, Title, Frequency, Fatalities, Severe, Light, Sanitary, Damage, DamageThousands, ColumnCount };

// How many rows from the top may stand above the header row (a title, a blank line).
constexpr int kHeaderSearchRows = 20;

const std::array<QStringList, ColumnCount>& columnNames()
{
    static const std::array<QStringList, ColumnCount> names{
        QStringList{QStringLiteral("Классификационный номер"), QStringLiteral("Шифр"), QStringLiteral("Номер")},
        QStringList{QStringLiteral("Наименование"), QStringLiteral("Описание")},
        QStringList{QStringLiteral("Частота, 1/год"), QStringLiteral("Частота")},
        QStringList{QStringLiteral("Погибшие, чел."), QStringLiteral("Погибшие")},
        QStringList{QStringLiteral("Тяжело пораженные, чел."), QStringLiteral("Тяжело пораженные")},
        QStringList{QStringLiteral("Легко пораженные, чел."), QStringLiteral("Легко пораженные")},
        QStringList{QStringLiteral("Санитарные потери, чел.")},
        QStringList{QStringLiteral("Ущерб, млн руб."), QStringLiteral("Ущерб")},
        QStringList{QStringLiteral("Ущерб, тыс. руб.")},
    };
    return names;
}

// Letter case, ё, inner runs of blanks and trailing blanks or punctuation do not matter in a header.
QString headerKey(const QString& text)
{
    QString s = text.toLower().simplified();
    s.replace(u'ё', u'е');
    while (!s.isEmpty() && (s.back().isPunct() || s.back().isSpace()))
        s.chop(1);
    return s;
}

std::optional<int> columnOfHeader(const QString& text)
{
    const QString k = headerKey(text);
    for (int c = 0; c < ColumnCount; ++c)
        for (const QString& name : columnNames()[size_t(c)])
            if (headerKey(name) == k)
                return c;
    return std::nullopt;
}

QString cellText(const SheetCell& cell)
{
    if (cell.kind == SheetCell::Number)
        return PlainNumber(cell.number);
    return cell.text.trimmed();
}

// A number cell, or a text with a comma or a dot, an exponent and group blanks; NaN for anything else.
double cellNumber(const SheetCell& cell)
{
    if (cell.kind == SheetCell::Number)
        return cell.number;
    QString t = cell.text.trimmed();
    t.remove(u' ');
    t.remove(QChar(0x00A0));
    t.remove(QChar(0x202F));
    t.replace(u',', u'.');
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    return ok ? v : qQNaN();
}

bool blankRow(const QVector<SheetCell>& row)
{
    return std::all_of(row.begin(), row.end(), [](const SheetCell& c) { return c.isBlank(); });
}

// The header row: the first row with a classification-number column; its columns by position.
std::optional<std::pair<int, std::array<int, ColumnCount>>> findHeader(const SheetData& data)
{
    for (int r = 0; r < std::min<int>(int(data.rows.size()), kHeaderSearchRows); ++r) {
        std::array<int, ColumnCount> at;
        at.fill(-1);
        const auto& row = data.rows[r];
        for (int c = 0; c < row.size(); ++c) {
            if (row[c].kind != SheetCell::Text)
                continue;
            if (const auto col = columnOfHeader(row[c].text); col && at[size_t(*col)] < 0)
                at[size_t(*col)] = c;
        }
        if (at[Name] >= 0)
            return std::pair{r, at};
    }
    return std::nullopt;
}

QString columnList(int column)
{
    const QStringList& names = columnNames()[size_t(column)];
    QString s = QStringLiteral("«") + names.first() + QStringLiteral("»");
    if (names.size() > 1)
        s += QStringLiteral(" (или «") + names.mid(1).join(QStringLiteral("», «")) + QStringLiteral("»)");
    return s;
}

ImportRow readRow(const QVector<SheetCell>& row, int line, const std::array<int, ColumnCount>& at)
{
    ImportRow out;
    out.line = line;
    const auto cell = [&](int column) -> SheetCell {
        const int i = at[size_t(column)];
        return i >= 0 && i < row.size() ? row[i] : SheetCell{};
    };
    ScenarioEntry& e = out.entry;
    e.name = cellText(cell(Name));
    e.title = cellText(cell(Title));
    e.risk = cellNumber(cell(Frequency));
    for (int kind = 0; kind < 3; ++kind) {
        const SheetCell c = cell(Fatalities + kind);
        if (!c.isBlank())
            e.indicators[size_t(kind)] = cellNumber(c);
    }
    const bool thousands = at[Damage] < 0 && at[DamageThousands] >= 0;
    if (const SheetCell c = cell(thousands ? DamageThousands : Damage); !c.isBlank())
        e.indicators[3] = DamageMillions(cellNumber(c), thousands);

    if (std::any_of(row.begin(), row.end(), [](const SheetCell& c) { return c.merged; })) {
        out.problem = QStringLiteral("Строка содержит объединенные ячейки.");
        return out;
    }
    if (const auto problem = ValidateScenarioEntry(e)) {
        out.problem = problem->message;
        return out;
    }
    if (const SheetCell c = cell(Sanitary); !c.isBlank()) {
        const double sum = e.indicators[1].value_or(0) + e.indicators[2].value_or(0);
        if (cellNumber(c) != sum)
            out.problem = QStringLiteral("Санитарные потери (") + cellText(c) +
                          QStringLiteral(") должны быть равны сумме тяжело и легко пораженных (") + PlainNumber(sum) +
                          QStringLiteral(").");
    }
    return out;
}

} // namespace

QStringList ExchangeHeaders()
{
    QStringList h;
    for (int c = Name; c <= Damage; ++c)
        h << columnNames()[size_t(c)].first();
    return h;
}

int ImportPlan::refused() const
{
    return int(std::count_if(rows.begin(), rows.end(), [](const ImportRow& r) { return !r.problem.isEmpty(); }));
}

int ImportPlan::existing() const
{
    return int(std::count_if(rows.begin(), rows.end(), [](const ImportRow& r) { return r.existing; }));
}

QStringList ImportPlan::problems() const
{
    QStringList lines;
    for (const ImportRow& r : rows)
        if (!r.problem.isEmpty())
            lines << QStringLiteral("Строка %1: %2").arg(r.line).arg(r.problem);
    return lines;
}

ImportPlan PlanImport(const SheetData& data, HeaderRow header)
{
    ImportPlan plan;
    int first = 0;
    std::array<int, ColumnCount> at;
    if (const auto found = findHeader(data)) {
        first = found->first + 1;
        at = found->second;
        if (at[Frequency] < 0) {
            plan.error = QStringLiteral("В таблице нет столбца ") + columnList(Frequency) + QStringLiteral(".");
            return plan;
        }
    } else if (header == HeaderRow::Optional) {
        for (int c = 0; c < ColumnCount; ++c)
            at[size_t(c)] = c <= Damage ? c : -1;
    } else {
        plan.error = QStringLiteral("В таблице нет строки заголовков со столбцом ") + columnList(Name) +
                     QStringLiteral(".");
        return plan;
    }

    int dataRows = 0;
    for (int r = first; r < data.rows.size(); ++r)
        dataRows += blankRow(data.rows[r]) ? 0 : 1;
    if (dataRows == 0) {
        plan.error = QStringLiteral("В таблице нет строк сценариев.");
        return plan;
    }
    if (dataRows > kMaxImportRows) {
        plan.error = QStringLiteral("В таблице %1 строк сценариев, а у объекта может быть не более %2 сценариев.")
                         .arg(dataRows)
                         .arg(kMaxImportRows);
        return plan;
    }

    plan.rows.reserve(dataRows);
    QHash<QString, int> lineOfName; // case-folded, as the database compares names
    for (int r = first; r < data.rows.size(); ++r) {
        if (blankRow(data.rows[r]))
            continue;
        ImportRow row = readRow(data.rows[r], r + 1, at);
        if (!row.entry.name.isEmpty()) {
            const QString key = row.entry.name.toCaseFolded();
            if (const auto seen = lineOfName.constFind(key); seen != lineOfName.constEnd()) {
                if (row.problem.isEmpty())
                    row.problem = QStringLiteral("Классификационный номер %1 уже есть в строке %2.")
                                      .arg(row.entry.name)
                                      .arg(*seen);
            } else {
                lineOfName.insert(key, row.line);
            }
        }
        plan.rows.append(row);
    }
    return plan;
}

ImportPlan PlanImportFile(const QString& path)
{
    const SheetRead read = ReadSpreadsheetFile(path);
    if (!read.data) {
        ImportPlan plan;
        plan.error = read.error;
        return plan;
    }
    return PlanImport(*read.data, HeaderRow::Required);
}

ImportPlan PlanImportText(const QString& pasted)
{
    // Excel and Calc copy cells tab-separated; a title may hold a ; or a comma.
    const QChar delimiter = pasted.contains(u'\t') ? QChar(u'\t') : DetectDelimiter(pasted);
    return PlanImport(ParseDelimited(pasted, delimiter), HeaderRow::Optional);
}

void CheckAgainstObject(Connection& c, qint16 objectId, ImportPlan& plan)
{
    QSet<QString> names;
    if (objectId != 0)
        for (const QSqlRecord& r : c.select("select * from tabScen where Id_obj=" + QString::number(objectId)))
            names.insert(FieldText(r, "Name").toCaseFolded());
    int added = 0;
    for (ImportRow& row : plan.rows) {
        row.existing = names.contains(row.entry.name.toCaseFolded());
        added += row.existing ? 0 : 1;
    }
    if (int(names.size()) + added > kMaxImportRows) {
        plan.error = QStringLiteral("У объекта %1 сценариев; с %2 новыми было бы больше %3.")
                         .arg(names.size())
                         .arg(added)
                         .arg(kMaxImportRows);
        plan.rows.clear();
    }
}

SaveScenariosOutcome StoreImport(Connection& c, qint16 objectId, const ImportPlan& plan, bool replaceExisting)
{
    QVector<ScenarioEntry> entries;
    entries.reserve(plan.rows.size());
    for (const ImportRow& r : plan.rows)
        entries.append(r.entry);
    return SaveScenarios(c, objectId, entries, replaceExisting);
}

QVector<ScenarioEntry> ReadObjectEntries(Connection& c, qint16 objectId)
{
    const QString obj = QString::number(objectId);
    QHash<int, std::array<std::optional<double>, 4>> indicators;
    for (const QSqlRecord& r : c.select("select * from tabRisk where Id_obj=" + obj)) {
        const int kind = FieldInt16(r, "Id_por");
        if (kind >= 0 && kind < 4)
            indicators[FieldInt16(r, "Id_scen")][size_t(kind)] = FieldDouble(r, "Number");
    }
    QVector<ScenarioEntry> entries;
    for (const QSqlRecord& r : c.select("select * from tabScen where Id_Obj =" + obj + " order by Name asc")) {
        ScenarioEntry e;
        e.name = FieldText(r, "Name");
        e.title = FieldIsEmpty(r, "Opis") ? QString() : FieldText(r, "Opis");
        e.risk = FieldDouble(r, "Risk");
        e.indicators = indicators.value(FieldInt16(r, "Id"));
        entries.append(e);
    }
    return entries;
}

namespace {

// The cells of one entry in the layout; nothing for an empty cell.
std::array<std::optional<double>, 6> numbersOf(const ScenarioEntry& e)
{
    std::optional<double> sanitary;
    if (e.indicators[1] || e.indicators[2])
        sanitary = e.indicators[1].value_or(0) + e.indicators[2].value_or(0);
    return {e.risk, e.indicators[0], e.indicators[1], e.indicators[2], sanitary, e.indicators[3]};
}

// Shortest text that reads back as the same Double, with a decimal comma.
QString csvNumber(double v)
{
    return QLocale::c().toString(v, 'g', QLocale::FloatingPointShortest).replace(u'.', u',');
}

bool writeCsv(const QString& path, const QVector<ScenarioEntry>& entries, QString* error)
{
    const QChar d = u';';
    QString text;
    QStringList header;
    for (const QString& h : ExchangeHeaders())
        header << QuoteField(h, d);
    text += header.join(d) + QStringLiteral("\r\n");
    for (const ScenarioEntry& e : entries) {
        QStringList fields{QuoteField(e.name, d), QuoteField(e.title, d)};
        for (const auto& v : numbersOf(e))
            fields << (v ? csvNumber(*v) : QString());
        text += fields.join(d) + QStringLiteral("\r\n");
    }
    QFile f(path);
    const QByteArray bytes = QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size() || !f.flush()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}

bool writeXlsx(const QString& path, const QVector<ScenarioEntry>& entries, QString* error)
{
    XlsxBook book(path);
    const int s = book.addSheet(QStringLiteral("Сценарии"));
    const QStringList headers = ExchangeHeaders();
    const std::array<double, 8> widths{16, 40, 14, 11, 13, 13, 13, 12};
    for (int c = 0; c < headers.size(); ++c) {
        book.header(s, 0, c, headers[c]);
        book.columnWidth(s, c, widths[size_t(c)]);
    }
    for (int r = 0; r < entries.size(); ++r) {
        const ScenarioEntry& e = entries[r];
        book.text(s, r + 1, 0, e.name);
        book.text(s, r + 1, 1, e.title);
        int c = 2;
        for (const auto& v : numbersOf(e)) {
            if (v)
                book.number(s, r + 1, c, *v);
            ++c;
        }
    }
    return book.close(error);
}

} // namespace

bool WriteScenarioTable(const QString& path, const QVector<ScenarioEntry>& entries, QString* error)
{
    if (path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        return writeCsv(path, entries, error);
    return writeXlsx(path, entries, error);
}

} // namespace zarnel

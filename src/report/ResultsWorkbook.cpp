#include "report/ResultsWorkbook.h"

#include "core/XlsxBook.h"

namespace zarnel {

QString ResultsSheetName(int kind)
{
    switch (kind) {
    case KindFatalities:
        return QStringLiteral("СМЕРТЕЛЬНЫЕ ПОРАЖЕНИЯ");
    case KindSevere:
        return QStringLiteral("ТЯЖЕЛЫЕ ПОРАЖЕНИЯ");
    case KindLight:
        return QStringLiteral("ЛЕГКИЕ ПОРАЖЕНИЯ");
    case KindSanitary:
        return QStringLiteral("САНИТАРНЫЕ ПОТЕРИ");
    default:
        return QStringLiteral("УЩЕРБ");
    }
}

QVector<ResultsSheetRow> ResultsSheetRows(const KindResult& kind)
{
    // The table lists the values in ascending order; a value's last row carries its at-least frequency, and
    // its name column there holds every scenario with exactly that value (the single one, or the total row).
    QVector<ResultsSheetRow> rows;
    const ResultTable& t = kind.table;
    const int k = kind.rowCount();
    int dataRow = 1;
    for (int r = 1; r < t.rowCount() && dataRow <= k; ++r) {
        if (t.text(r, 4).isEmpty())
            continue;
        const DistRow& d = kind.dist[k - dataRow];
        rows.append({d.value, d.exactly, d.atLeast, t.text(r, 1), t.text(r, 3)});
        dataRow += 2;
    }
    return rows;
}

bool WriteResultsWorkbook(const QString& path, const BuildResult& build, double peopleValue, QString* error)
{
    XlsxBook book(path);
    for (int kind : ProcessingOrder) {
        const KindResult& r = build.kinds[kind];
        if (!r.ran)
            continue;
        const int s = book.addSheet(ResultsSheetName(kind));
        // The value, the two frequencies, then the two name lists of the result table.
        const std::array<int, 5> headerColumn{0, 2, 4, 1, 3};
        const std::array<double, 5> widths{14, 22, 22, 40, 40};
        for (int c = 0; c < 5; ++c) {
            book.header(s, 0, c, r.table.text(0, headerColumn[size_t(c)]));
            book.columnWidth(s, c, widths[size_t(c)]);
        }
        int row = 1;
        for (const ResultsSheetRow& v : ResultsSheetRows(r)) {
            book.number(s, row, 0, v.value);
            book.number(s, row, 1, v.exactly);
            book.number(s, row, 2, v.atLeast);
            book.text(s, row, 3, v.exactNames);
            book.text(s, row, 4, v.atLeastNames);
            ++row;
        }
    }
    const int s = book.addSheet(QStringLiteral("Показатели"));
    const QStringList headers{QStringLiteral("Вид последствий"), QStringLiteral("Коллективный риск, чел./год"),
                              QStringLiteral("Индивидуальный риск, 1/год"),
                              QStringLiteral("Среднеожидаемый ущерб, млн руб./год")};
    for (int c = 0; c < headers.size(); ++c) {
        book.header(s, 0, c, headers[c]);
        book.columnWidth(s, c, c == 0 ? 26 : 22);
    }
    int row = 1;
    for (int kind : ProcessingOrder) {
        const KindResult& r = build.kinds[kind];
        if (!r.ran)
            continue;
        book.text(s, row, 0, ResultsSheetName(kind));
        if (KindInfoOf(kind).isDamage) {
            book.number(s, row, 3, r.riskSum);
        } else {
            book.number(s, row, 1, r.riskSum);
            if (peopleValue != 0)
                book.number(s, row, 2, r.riskSum / peopleValue);
        }
        ++row;
    }
    book.text(s, row + 1, 0, QStringLiteral("Число людей в зоне риска, чел."));
    book.number(s, row + 1, 1, peopleValue);
    return book.close(error);
}

} // namespace zarnel

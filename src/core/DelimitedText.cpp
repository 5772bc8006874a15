#include "core/DelimitedText.h"

#include <QStringDecoder>

#include <array>

namespace zarnel {

namespace {

// Windows-1251, bytes 0x80..0xFF; 0x98 is unassigned.
constexpr std::array<char16_t, 128> kCp1251High{
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C,
    0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122, 0x0459, 0x203A,
    0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9,
    0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    // 0xC0..0xFF: А..я
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B,
    0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439,
    0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F};

QString decodeCp1251(const QByteArray& bytes)
{
    QString s;
    s.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        s += b < 0x80 ? QChar(b) : QChar(kCp1251High[b - 0x80]);
    }
    return s;
}

// Fields per line of the first lines, quotes respected.
QVector<int> fieldCounts(const QString& text, QChar delimiter, int maxLines)
{
    QVector<int> counts;
    int fields = 1;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size() && counts.size() < maxLines; ++i) {
        const QChar c = text[i];
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && c == delimiter)
            ++fields;
        else if (!quoted && c == u'\n') {
            counts.append(fields);
            fields = 1;
        }
    }
    if (counts.size() < maxLines && !text.endsWith(u'\n') && !text.isEmpty())
        counts.append(fields);
    return counts;
}

} // namespace

QString DecodeCsvBytes(const QByteArray& bytes)
{
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(body.mid(3));
    auto utf8 = QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(body);
    return utf8.hasError() ? decodeCp1251(body) : text;
}

QChar DetectDelimiter(const QString& text)
{
    QChar best = u';';
    int bestScore = -1;
    for (const QChar d : {QChar(u';'), QChar(u'\t'), QChar(u',')}) {
        const QVector<int> counts = fieldCounts(text, d, 20);
        if (counts.isEmpty() || counts.first() < 2)
            continue;
        // Lines that agree with the first one, then the number of fields.
        int agreeing = 0;
        for (const int n : counts)
            agreeing += n == counts.first() ? 1 : 0;
        const int score = agreeing * 1000 + counts.first();
        if (score > bestScore) {
            bestScore = score;
            best = d;
        }
    }
    return best;
}

SheetData ParseDelimited(const QString& text, QChar delimiter)
{
    SheetData data;
    QVector<SheetCell> row;
    QString field;
    bool quoted = false;
    bool lineHasContent = false;
    const auto endField = [&] {
        row.append(SheetCell::ofText(field));
        field.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
            continue;
        }
        if (c == u'"' && field.isEmpty()) {
            quoted = true;
            lineHasContent = true;
        } else if (c == delimiter) {
            endField();
            lineHasContent = true;
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            endField();
            data.rows.append(row);
            row.clear();
            lineHasContent = false;
        } else {
            field += c;
            lineHasContent = true;
        }
    }
    if (lineHasContent || !field.isEmpty()) {
        endField();
        data.rows.append(row);
    }
    return data;
}

QString QuoteField(const QString& field, QChar delimiter)
{
    if (!field.contains(delimiter) && !field.contains(u'"') && !field.contains(u'\n') && !field.contains(u'\r'))
        return field;
    QString q = field;
    q.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

} // namespace zarnel

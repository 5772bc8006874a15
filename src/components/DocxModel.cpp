#include "components/DocxModel.h"

#include <algorithm>
#include <cmath>

namespace {

bool isLineBreak(QChar c)
{
    return c == u'\r' || c == u'\n';
}

// XML 1.0 carries no control characters other than tab, line feed and carriage return; '\v' is kept because the
// word processor reads it as a line break and the serialiser writes it as one.
bool isStorable(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x20)
        return u == u'\t' || u == u'\v';
    return u != 0xFFFE && u != 0xFFFF;
}

void addTextRun(DocxParagraph* paragraph, const QString& text)
{
    if (text.isEmpty())
        return;
    DocxRun run;
    run.text = text;
    run.format = paragraph->mark;
    paragraph->runs.push_back(std::move(run));
}

} // namespace

void docxAppendText(DocxParagraph* last, const QString& text, const std::function<DocxParagraph*()>& split)
{
    // The usual text needs no splitting or dropping: keep it shared with the caller's copy. A report's name lists
    // reach tens of megabytes, and a second copy of each would double the report's memory.
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return !isLineBreak(c) && isStorable(c); })) {
        addTextRun(last, text);
        return;
    }
    QString pending;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (isLineBreak(c)) {
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            addTextRun(last, pending);
            pending.clear();
            last = split();
        } else if (isStorable(c)) {
            pending.append(c);
        }
    }
    addTextRun(last, pending);
}

int docxTwipsFromPoints(double points)
{
    // 42.525 pt is 850.5 twips in decimal but a hair less in binary; round the decimal value, halves up.
    const double twips = std::round(points * 20.0 * 1e6) / 1e6;
    return int(std::floor(twips + 0.5));
}

qint64 docxEmuFromPoints(double points)
{
    return std::llround(points * double(docxEmuPerPoint));
}

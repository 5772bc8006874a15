#pragma once
// What a spreadsheet file, a CSV or pasted text holds, as plain cells: the reading adapters fill it, the
// scenario exchange interprets it. No library type leaks past this header.

#include <QString>
#include <QVector>
#include <optional>

namespace zarnel {

struct SheetCell {
    enum Kind { Empty, Number, Text } kind = Empty;
    double number = 0;
    QString text;
    bool merged = false; // part of a merged range (its first cell included)

    static SheetCell ofNumber(double v) { return {Number, v, {}, false}; }
    static SheetCell ofText(const QString& t) { return {t.isEmpty() ? Empty : Text, 0, t, false}; }
    bool isBlank() const { return kind == Empty || (kind == Text && text.trimmed().isEmpty()); }
};

// Rows of the first sheet from row 1 on (index 0); rows may differ in length.
struct SheetData {
    QVector<QVector<SheetCell>> rows;
};

// A table read from a file, or the reason it cannot be read, for the user.
struct SheetRead {
    std::optional<SheetData> data;
    QString error;
};

} // namespace zarnel

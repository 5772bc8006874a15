#pragma once
// CSV files and pasted text: the encoding (UTF-8 with or without BOM, else Windows-1251) and the delimiter
// (';', ',' or tab) are detected; quoted fields may hold delimiters, doubled quotes and line breaks.

#include "core/SheetData.h"

#include <QByteArray>
#include <QChar>

namespace zarnel {

// UTF-8 (a BOM dropped) when the bytes are valid UTF-8, otherwise Windows-1251.
QString DecodeCsvBytes(const QByteArray& bytes);

// The delimiter of the text: the one of ';', tab and ',' that splits the first lines into the most equal
// number of fields (outside quotes), ';' first on a tie as Russian Excel writes it.
QChar DetectDelimiter(const QString& text);

// Splits text into rows of text cells; a trailing line end adds no row.
SheetData ParseDelimited(const QString& text, QChar delimiter);

// Writes one field, quoted when it holds the delimiter, a quote or a line break.
QString QuoteField(const QString& field, QChar delimiter);

} // namespace zarnel

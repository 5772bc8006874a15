#pragma once
// The document of a DocxWriter as PDF, written by Qt's own PDF writer: A4 with the document's margins, the same
// paragraphs, tables, pictures and page breaks in the same order, fonts embedded and text selectable.

#include <QByteArray>
#include <QString>

struct DocxDocument;

// The PDF file, or an empty array (with a message) when it cannot be made.
QByteArray DocxToPdf(const DocxDocument& document, QString* error = nullptr);

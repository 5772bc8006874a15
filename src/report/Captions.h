#pragma once
// Captions of the documents' tables and pictures.

#include <QString>

class DocxWriter;

namespace zarnel {

// Appends a caption written in the form for numbering by hand ("Таблица ___ - …", "Рис. ____ - …"). Unless the
// user numbers by hand, the placeholder becomes "Таблица N – " or "Рисунок N – " with N a sequence field that Word
// and LibreOffice count again. Other text is appended as it is.
void AppendCaption(DocxWriter& w, const QString& text);

} // namespace zarnel

#pragma once
// Serialises a DocxDocument into the parts of a WordprocessingML package and zips them.

#include <QByteArray>
#include <QString>

#include <vector>

struct DocxDocument;
struct DocxTableData;

// The zipped package, or an empty array with a message in `error` when zipping fails.
QByteArray docxPackage(const DocxDocument& document, QString* error = nullptr);

// word/document.xml alone; the package names the pictures word/media/image1.png, image2.png, ... in this order.
QByteArray docxDocumentXml(const DocxDocument& document);

// Widths of the table's columns in twips, after its weights, adding up to the text width.
std::vector<int> docxColumnTwips(const DocxTableData& table, int textWidthTwips);

#pragma once
// "Вывод графика в MWord": one chart of the results window, as currently drawn, in a document of its own under a
// figure caption with a blank number.

#include <QImage>
#include <QString>

class DocxWriter;
class ctlChart;

namespace zarnel {

// Chart numbers 1..10 (odd: F/n or F/G chart, even: polygon, in pairs per kind).
// "Рис. ____ - " and the caption of the chart's tab.
QString ChartCaption(int chart);
// Short name of the chart for the proposed file name "Рисунок - <name>.docx".
QString ChartDocumentTitle(int chart);

// CopyToClipboard, pending events, then what a paste takes from the clipboard; the chart's own rendering when
// the clipboard holds no picture (a desktop without one). The clipboard keeps the picture.
QImage CopyChartPicture(ctlChart& chart);

// The document: the picture 425.2 pt wide and the caption under it, centred, 12 pt regular; 42.525 pt margins,
// portrait. False when there is no picture to paste.
bool WriteChartDocument(DocxWriter& document, const QImage& picture, const QString& caption);

// The whole command: picture (the user's input held back meanwhile), save dialog, document saved and opened.
// Failures are told in a message.
void ExportChartToWord(ctlChart& chart, int chartNumber);
// The same with a caption of its own and the proposed file name "Рисунок - <documentTitle>.docx".
void ExportChartToWord(ctlChart& chart, const QString& caption, const QString& documentTitle);

} // namespace zarnel

#include "report/ChartExport.h"

#include "components/DocxWriter.h"
#include "components/Services.h"
#include "components/ctlChart.h"
#include "report/Captions.h"
#include "report/DocumentFile.h"
#include "components/UserInputHold.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>

#include <array>

namespace zarnel {

namespace {

struct ChartTexts {
    const char* caption;
    const char* title;
};

const std::array<ChartTexts, 10> kCharts{{
    {"Рис. ____ - Интегральная функция распределения числа погибших при расчетных аварийных сценариях, "
     "диаграмма F/>=n гибели",
     "Диаграмма F-n гибели людей"},
    {"Рис. ____ - Многоугольник распределения количества погибших при расчетных сценариях в год",
     "Многоугольник распределения погибших"},
    {"Рис. ____ - Интегральная функция распределения числа тяжело пораженных при расчетных аварийных сценариях, "
     "диаграмма F/>=n тяжелого поражения",
     "Диаграмма F-n тяжелых поражений"},
    {"Рис. ____ - Многоугольник распределения количества тяжело пораженных при расчетных сценариях в год",
     "Многоугольник распределения тяжело пораженных"},
    {"Рис. ____ - Интегральная функция распределения числа легко пораженных при расчетных аварийных сценариях, "
     "диаграмма F/>=n легкого поражения",
     "Диаграмма F-n легких поражений"},
    {"Рис. ____ - Многоугольник распределения количества легко пораженных при расчетных сценариях в год",
     "Многоугольник распределения легко пораженных"},
    {"Рис. ____ - Интегральная функция распределения числа санитарных потерь при расчетных аварийных сценариях, "
     "диаграмма F/>=n санитарных потерь",
     "Диаграмма F-n санитарных потерь"},
    {"Рис. ____ - Многоугольник распределения количества санитарных потерь при расчетных сценариях в год",
     "Многоугольник распределения санитарных потерь"},
    {"Рис. ____ - Интегральная функция распределения ущерба при расчетных аварийных сценариях, "
     "диаграмма F/>=G ущерба",
     "Диаграмма F-G ущерба"},
    {"Рис. ____ - Многоугольник распределения размера ущерба при расчетных сценариях в год",
     "Многоугольник распределения ущерба"},
}};

const ChartTexts& TextsOf(int chart)
{
    return kCharts.at(std::size_t(qBound(1, chart, 10) - 1));
}

} // namespace

QString ChartCaption(int chart)
{
    return QString::fromUtf8(TextsOf(chart).caption);
}

QString ChartDocumentTitle(int chart)
{
    return QString::fromUtf8(TextsOf(chart).title);
}

QImage CopyChartPicture(ctlChart& chart)
{
    chart.CopyToClipboard();
    QCoreApplication::processEvents();
    const QImage pasted = QGuiApplication::clipboard()->image();
    return pasted.isNull() ? chart.renderImage() : pasted;
}

bool WriteChartDocument(DocxWriter& document, const QImage& picture, const QString& caption)
{
    document.setMargins(42.525);
    document.setOrientation(DocxWriter::Orientation::Portrait);
    document.newBlock(12);
    if (!document.pastePicture(picture))
        return false;
    document.setFirstInlinePictureWidth(425.2);
    document.setKeepWithNext(true);
    document.newBlock(12);
    document.append(QStringLiteral("\r\n"));
    AppendCaption(document, caption);
    document.centre();
    document.boldOff();
    return true;
}

void ExportChartToWord(ctlChart& chart, int chartNumber)
{
    ExportChartToWord(chart, ChartCaption(chartNumber), ChartDocumentTitle(chartNumber));
}

void ExportChartToWord(ctlChart& chart, const QString& caption, const QString& documentTitle)
{
    QImage picture;
    {
        const UserInputHold hold;
        picture = CopyChartPicture(chart);
    }
    DocxWriter document;
    if (!WriteChartDocument(document, picture, caption)) {
        MsgBox(QStringLiteral("Не удалось получить рисунок графика."), QStringLiteral("Внимание!!!"),
               MsgIcon::Critical);
        return;
    }
    const QString path = AskDocumentPath(QStringLiteral("Сохранить рисунок"),
                                         QStringLiteral("Рисунок - ") + documentTitle);
    if (!path.isEmpty())
        SaveAndOpenDocument(document, path);
}

} // namespace zarnel

#include "report/WordReport.h"

#include "components/DocxWriter.h"
#include "components/FlexGrid.h"
#include "components/Services.h"
#include "components/ctlChart.h"
#include "core/Database.h"
#include "core/Shared.h"
#include "report/ChartExport.h"
#include "report/DocumentFile.h"
#include "components/UserInputHold.h"

#include <QCoreApplication>
#include <QLabel>
#include <QSqlDriver>
#include <QTabWidget>

#include <array>

namespace zarnel {

namespace {

const QString CRLF = QStringLiteral("\r\n");

enum Section { Fatalities, Severe, Light, Sanitary, Damage };

struct SectionTexts {
    const char* heading;
    const char* firstLine;  // followed by the collective label
    const char* secondLine; // followed by the individual label; none for damage
};

// By page of the outer tab strip, which is also the order of the report.
const std::array<SectionTexts, ResultsPageCount> kSections{{
    {"Социальный риск гибели людей", "Коллективный риск гибели, чел./год   ", "Индивидуальный риск гибели, 1/год   "},
    {"Социальный риск тяжелых поражений", "Коллективный риск тяжелых поражений, чел./год   ",
     "Индивидуальный риск тяжелых поражений, 1/год   "},
    {"Социальный риск легких поражений", "Коллективный риск легких поражений, чел./год   ",
     "Индивидуальный риск легких поражений, 1/год   "},
    {"Социальный риск санитарных потерь", "Коллективный риск санитарных потерь, чел./год   ",
     "Индивидуальный риск санитарных потерь, 1/год   "},
    {"Социальный риск ущерба", "Среднеожидаемый ущерб млн.руб/год   ", nullptr},
}};

void RuleTable(DocxTable& table)
{
    using B = DocxTable::Border;
    using S = DocxTable::LineStyle;
    for (B side : {B::Left, B::Right, B::Top, B::Bottom})
        table.setBorder(side, S::Single, 0.5);
    table.setBorder(B::InsideHorizontal, S::Single, 0.75);
    table.setBorder(B::InsideVertical, S::Single, 0.75);
    table.setBorder(B::DiagonalDown, S::None, 0.5);
    table.setBorder(B::DiagonalUp, S::None, 0.5);
    table.setShadow(false);
}

QString LabelText(const QLabel* label)
{
    return label ? label->text() : QString();
}

QString TabCaption(const QTabWidget* tabs, int tab)
{
    return tabs ? tabs->tabText(tab) : QString();
}

void ShowTab(QTabWidget* tabs, int tab)
{
    if (tabs)
        tabs->setCurrentIndex(tab);
}

// Lets the chart's tab, just shown, repaint; copies the chart and pastes it into R, 425.2 pt wide.
void PasteChart(DocxWriter& w, ctlChart* chart)
{
    QCoreApplication::processEvents();
    if (!chart)
        return;
    const QImage picture = CopyChartPicture(*chart);
    QCoreApplication::processEvents();
    if (w.pastePicture(picture))
        w.setFirstInlinePictureWidth(425.2);
}

void WriteScenarioTable(DocxWriter& w, const ReportObject& object)
{
    w.newBlock(10);
    w.fontBoldOff();
    w.collapseToEnd();
    w.addTable(int(object.scenarios.size()) + 1, 3);
    DocxTable t = w.lastTable();
    t.setAllowAutoFit(true);
    RuleTable(t);
    t.cell(1, 1).append(QStringLiteral("№ п/п"));
    t.cell(1, 2).append(QStringLiteral("Классификационный номер"));
    t.cell(1, 3).append(QStringLiteral("Наименование"));
    int n = 0;
    for (const ReportScenario& scenario : object.scenarios) {
        ++n;
        t.cell(n + 1, 1).append(QString::number(n));
        t.cell(n + 1, 2).append(scenario.name);
        if (!scenario.opis.isEmpty())
            t.cell(n + 1, 3).append(scenario.opis);
    }
    t.fitToWindow();
}

// The scenarios' contributions after the indicator table: caption, then every cell of the grid.
void WriteContributionTable(DocxWriter& w, const ResultsPage& page)
{
    const int rows = page.contributions ? page.contributions->Rows() : 0;
    const int columns = page.contributions ? page.contributions->Cols() : 0;
    if (rows == 0 || columns == 0)
        return;
    w.newBlock(12);
    w.left();
    w.boldOff();
    w.append(QStringLiteral("Таблица ___ - ") + LabelText(page.contributionCaption) + CRLF);
    w.newBlock(10);
    w.fontBoldOff();
    w.collapseToEnd();
    w.addTable(rows, columns);
    DocxTable t = w.lastTable();
    t.setAllowAutoFit(true);
    RuleTable(t);
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < columns; ++j)
            t.cell(i + 1, j + 1).append(page.contributions->TextMatrix(i, j));
    t.fitToWindow();
    w.newBlock(12);
    w.append(CRLF);
    w.centre();
    w.boldOff();
}

void WriteSection(DocxWriter& w, int section, const ResultsView& view)
{
    const SectionTexts& texts = kSections[section];
    const ResultsPage& page = view.pages[section];
    const bool isDamage = section == Damage;

    // Heading.
    w.newBlock(section == Sanitary ? 16 : 12);
    if (section == Fatalities)
        w.append(CRLF);
    else if (section == Sanitary)
        w.fontBoldOn();
    else
        w.fontBoldOff();
    w.append(QString::fromUtf8(texts.heading) + CRLF);
    w.centre();
    w.boldOn();

    if (!view.outerTabs || !view.outerTabs->isTabEnabled(section)) {
        w.newBlock(12);
        w.fontBoldOff();
        w.append(CRLF);
        w.append(QStringLiteral("Данные не введены") + CRLF);
        w.left();
        w.boldOff();
        if (!isDamage) {
            w.newBlock();
            w.insertPageBreak();
        }
        return;
    }

    // Risk lines, exactly as the labels show them.
    w.newBlock(12);
    w.fontBoldOff();
    w.append(CRLF);
    if (isDamage) {
        w.append(QString::fromUtf8(texts.firstLine) + LabelText(page.collective) + CRLF + CRLF);
    } else {
        w.append(QString::fromUtf8(texts.firstLine) + LabelText(page.collective) + CRLF);
        const QString limit = LabelText(page.limit);
        w.append(QString::fromUtf8(texts.secondLine) + LabelText(page.individual) +
                 (limit.isEmpty() ? QString() : QStringLiteral(" — ") + limit) + CRLF + CRLF);
    }
    w.left();
    w.boldOff();

    // Table caption.
    w.newBlock(12);
    if (section == Light || section == Sanitary)
        w.centre();
    else
        w.left();
    w.boldOff();
    w.append(QStringLiteral("Таблица ___ - ") + TabCaption(page.innerTabs, 2) + CRLF);

    // Indicator table: every grid cell, the fixed header row and column included.
    w.newBlock(10);
    w.fontBoldOff();
    w.collapseToEnd();
    const int rows = page.grid ? page.grid->Rows() : 0;
    const int columns = page.grid ? page.grid->Cols() : 0;
    if (rows > 0 && columns > 0) { // an empty grid adds no table, and lastTable() would be an earlier one
        w.addTable(rows, columns);
        DocxTable t = w.lastTable();
        t.setAllowAutoFit(true);
        RuleTable(t);
        for (int i = 0; i < rows; ++i)
            for (int j = 0; j < columns; ++j)
                t.cell(i + 1, j + 1).append(page.grid->TextMatrix(i, j));
        if (section == Fatalities || isDamage)
            t.fitToWindow();
    }

    w.newBlock(12);
    w.append(CRLF);
    w.centre();
    w.boldOff();
    WriteContributionTable(w, page);

    // First figure: the F/n (F/G) chart.
    w.newBlock();
    w.centre();
    ShowTab(view.outerTabs, section);
    ShowTab(page.innerTabs, 0);
    PasteChart(w, page.stepChart);

    w.newBlock(12);
    w.centre();
    w.append(CRLF);
    w.append(QStringLiteral("Рис. ____ - ") + TabCaption(page.innerTabs, 0) + CRLF + CRLF);
    w.centre();
    w.boldOff();

    // The verdicts of the criterion lines drawn on that chart.
    const QString verdicts = LabelText(page.criteria);
    if (!verdicts.isEmpty()) {
        w.newBlock(12);
        w.left();
        w.boldOff();
        w.append(QString(verdicts).replace(QLatin1Char('\n'), CRLF) + CRLF + CRLF);
    }

    // Second figure: the polygon.
    w.newBlock();
    w.centre();
    ShowTab(page.innerTabs, 1);
    PasteChart(w, page.polygonChart);

    w.newBlock(12);
    w.centre();
    w.append(CRLF);
    w.append(QStringLiteral("Рис. ____ - ") + TabCaption(page.innerTabs, 1) + CRLF);
    w.boldOff();

    if (!isDamage) {
        w.newBlock();
        w.insertPageBreak();
    }
}

} // namespace

std::optional<ReportObject> ReadReportObject(const Connection& c, qint16 objectId)
{
    const auto objects = c.select(QStringLiteral("select * from tabObjekt where Id=%1").arg(objectId));
    if (objects.isEmpty())
        return std::nullopt;
    ReportObject object;
    object.name = FieldText(objects.first(), "Name");
    const auto scenarios =
        c.select(QStringLiteral("select * from tabScen where Id_Obj =%1 order by Name").arg(objectId));
    for (const QSqlRecord& r : scenarios)
        object.scenarios.append({FieldText(r, "Name"), FieldIsEmpty(r, "Opis") ? QString() : FieldText(r, "Opis")});
    return object;
}

void WriteReportLog(const Connection& c, const QDateTime& moment)
{
    // Date is a reserved word: the driver quotes it its own way (SQLite and Access differ).
    const QString date = c.database().driver()->escapeIdentifier(QStringLiteral("Date"), QSqlDriver::FieldName);
    c.exec(QStringLiteral("INSERT INTO tabOtchet (%1) VALUES (?)").arg(date), {moment});
}

bool LogReport(const QDateTime& moment)
{
    try {
        Connection c;
        WriteReportLog(c, moment);
        return true;
    } catch (const DbError& e) {
        ShowDbError(e.message);
        return false;
    }
}

void WriteReport(DocxWriter& w, const ReportObject& object, qint16 peopleAtRisk, const ResultsView& view)
{
    w.setMargins(42.6);
    w.setOrientation(DocxWriter::Orientation::Portrait);
    const UserInputHold hold;
    const ShownTabsGuard shownTabs(view);

    // Title.
    w.newBlock(12);
    w.boldOn();
    w.append(QStringLiteral("Показатели социального риска опасного производственного объекта \"") + object.name +
             QStringLiteral("\"") + CRLF + CRLF);
    w.centre();

    // Scenario table with its caption.
    w.newBlock(12);
    w.fontBoldOff();
    w.append(QStringLiteral("Таблица ___ - Аварийные сценарии на объекте ") + object.name + CRLF);
    w.left();
    WriteScenarioTable(w, object);

    // People.
    w.newBlock(12);
    w.append(CRLF);
    w.append(QStringLiteral("Количество людей подвергаемых действиям опасных факторов (число рискующих) - ") +
             QString::number(peopleAtRisk) + CRLF);
    w.left();
    w.boldOff();

    for (int section = Fatalities; section <= Damage; ++section)
        WriteSection(w, section, view);
}

bool SaveReport(const QString& path, const ReportObject& object, qint16 peopleAtRisk, const ResultsView& view,
                QString* error)
{
    DocxWriter document;
    WriteReport(document, object, peopleAtRisk, view);
    return document.save(path, error);
}

void ExportReportToWord(const ResultsView& view)
{
    std::optional<ReportObject> object;
    try {
        Connection c;
        object = ReadReportObject(c, CurrentObjectId);
    } catch (const DbError& e) {
        ShowDbError(e.message);
        return;
    }
    if (!object) {
        MsgBox(QStringLiteral("Объект не найден в базе данных. Отчет не сформирован."), QStringLiteral("Внимание!!!"),
               MsgIcon::Exclamation);
        return;
    }
    const QString path = AskDocumentPath(QStringLiteral("Сохранить отчет"), QStringLiteral("Отчет - ") + object->name);
    if (path.isEmpty())
        return;
    QString error;
    if (!SaveReport(path, *object, PeopleAtRisk, view, &error)) {
        MsgBox(error, QStringLiteral("Внимание!!!"), MsgIcon::Critical);
        return;
    }
    OpenSavedDocument(path);
}

} // namespace zarnel

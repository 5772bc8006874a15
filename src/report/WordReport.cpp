#include "report/WordReport.h"

#include "components/DocxWriter.h"
#include "components/FlexGrid.h"
#include "components/Services.h"
#include "components/UserInputHold.h"
#include "components/ctlChart.h"
#include "core/Database.h"
#include "core/Shared.h"
#include "report/Captions.h"
#include "report/ChartExport.h"
#include "report/DocumentFile.h"

#include <QCoreApplication>
#include <QLabel>
#include <QSqlDriver>
#include <QTabWidget>

#include <array>
#include <vector>

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

// Counts the report's steps (table rows, charts) and tells the progress service now and then; a cancel
// stops the report at the next step.
class ReportProgress {
public:
    explicit ReportProgress(IProgress* service) : m_service(service) {}

    bool step(int steps = 1)
    {
        m_done += steps;
        // Every few hundred rows: often enough to stay responsive, rarely enough to cost nothing.
        if (m_service && !m_cancelled && m_done - m_told >= 250) {
            m_told = m_done;
            m_cancelled = !m_service->advance(m_done);
        }
        return !m_cancelled;
    }
    bool cancelled() const { return m_cancelled; }

private:
    IProgress* m_service;
    int m_done = 0;
    int m_told = 0;
    bool m_cancelled = false;
};

// Charts count as many steps as this many table rows.
constexpr int kChartSteps = 250;

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

// Long tables stay readable across pages: the header row comes back on every page and no row is cut in two.
void PaginateTable(DocxTable& table, const std::vector<double>& columnWeights)
{
    table.setHeadingRows(1);
    table.setRowsBreakAcrossPages(false);
    table.setColumnWeights(columnWeights);
}

// A ruled table of the grid's size at R, with the grid's column proportions (the scenario titles get the wide
// columns) and its header row repeated on every page.
DocxTable AddGridTable(DocxWriter& w, const FlexGrid& grid)
{
    w.addTable(grid.Rows(), grid.Cols());
    DocxTable t = w.lastTable();
    t.setAllowAutoFit(true);
    RuleTable(t);
    std::vector<double> widths;
    for (int j = 0; j < grid.Cols(); ++j)
        widths.push_back(grid.ColWidth(j));
    PaginateTable(t, widths);
    return t;
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
    if (w.pastePicture(picture)) {
        w.setFirstInlinePictureWidth(425.2);
        w.setKeepWithNext(true); // the caption follows on the same page
    }
}

bool WriteScenarioTable(DocxWriter& w, const ReportObject& object, ReportProgress& progress)
{
    w.newBlock(10);
    w.fontBoldOff();
    w.collapseToEnd();
    w.addTable(int(object.scenarios.size()) + 1, 3);
    DocxTable t = w.lastTable();
    t.setAllowAutoFit(true);
    RuleTable(t);
    // A narrow number column beside the scenario editor's proportions of number and title.
    PaginateTable(t, {900, 2000, 4500});
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
        if (!progress.step())
            return false;
    }
    t.fitToWindow();
    return true;
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
    AppendCaption(w, QStringLiteral("Таблица ___ - ") + LabelText(page.contributionCaption) + CRLF);
    w.setKeepWithNext(true);
    w.newBlock(10);
    w.fontBoldOff();
    w.collapseToEnd();
    DocxTable t = AddGridTable(w, *page.contributions);
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < columns; ++j)
            t.cell(i + 1, j + 1).append(page.contributions->TextMatrix(i, j));
    t.fitToWindow();
    w.newBlock(12);
    w.append(CRLF);
    w.centre();
    w.boldOff();
}

bool WriteSection(DocxWriter& w, int section, const ResultsView& view, ReportProgress& progress)
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
        return true;
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
    AppendCaption(w, QStringLiteral("Таблица ___ - ") + TabCaption(page.innerTabs, 2) + CRLF);
    w.setKeepWithNext(true);

    // Indicator table: every grid cell, the fixed header row and column included.
    w.newBlock(10);
    w.fontBoldOff();
    w.collapseToEnd();
    const int rows = page.grid ? page.grid->Rows() : 0;
    const int columns = page.grid ? page.grid->Cols() : 0;
    if (rows > 0 && columns > 0) { // an empty grid adds no table, and lastTable() would be an earlier one
        DocxTable t = AddGridTable(w, *page.grid);
        for (int i = 0; i < rows; ++i) {
            for (int j = 0; j < columns; ++j)
                t.cell(i + 1, j + 1).append(page.grid->TextMatrix(i, j));
            if (!progress.step())
                return false;
        }
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
    if (!progress.step(kChartSteps))
        return false;

    w.newBlock(12);
    w.centre();
    w.append(CRLF);
    AppendCaption(w, QStringLiteral("Рис. ____ - ") + TabCaption(page.innerTabs, 0) + CRLF + CRLF);
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
    if (!progress.step(kChartSteps))
        return false;

    w.newBlock(12);
    w.centre();
    w.append(CRLF);
    AppendCaption(w, QStringLiteral("Рис. ____ - ") + TabCaption(page.innerTabs, 1) + CRLF);
    w.boldOff();

    if (!isDamage) {
        w.newBlock();
        w.insertPageBreak();
    }
    return true;
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
        ShowDbError(e);
        return false;
    }
}

int ReportSteps(const ReportObject& object, const ResultsView& view)
{
    int steps = int(object.scenarios.size());
    for (const ResultsPage& page : view.pages)
        steps += (page.grid ? page.grid->Rows() : 0) + 2 * kChartSteps;
    return steps;
}

bool WriteReport(DocxWriter& w, const ReportObject& object, qint16 peopleAtRisk, const ResultsView& view,
                 IProgress* progressService)
{
    ReportProgress progress(progressService);
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
    AppendCaption(w, QStringLiteral("Таблица ___ - Аварийные сценарии на объекте ") + object.name + CRLF);
    w.setKeepWithNext(true);
    w.left();
    if (!WriteScenarioTable(w, object, progress))
        return false;

    // People.
    w.newBlock(12);
    w.append(CRLF);
    w.append(QStringLiteral("Количество людей подвергаемых действиям опасных факторов (число рискующих) - ") +
             QString::number(peopleAtRisk) + CRLF);
    w.left();
    w.boldOff();

    for (int section = Fatalities; section <= Damage; ++section)
        if (!WriteSection(w, section, view, progress))
            return false;
    return true;
}

bool SaveReport(const QString& path, const ReportObject& object, qint16 peopleAtRisk, const ResultsView& view,
                QString* error, IProgress* progress, bool* cancelled)
{
    if (cancelled)
        *cancelled = false;
    DocxWriter document;
    if (!WriteReport(document, object, peopleAtRisk, view, progress)) {
        if (cancelled)
            *cancelled = true;
        return false;
    }
    return document.save(path, error);
}

void ExportReportToWord(const ResultsView& view)
{
    std::optional<ReportObject> object;
    try {
        Connection c;
        object = ReadReportObject(c, CurrentObjectId);
    } catch (const DbError& e) {
        ShowDbError(e);
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
    bool cancelled = false;
    IProgress& shown = progress();
    shown.start(QStringLiteral("Идет формирование отчета..."), QStringLiteral("Вывод результатов в MWord"),
                ReportSteps(*object, view));
    const bool saved = SaveReport(path, *object, PeopleAtRisk, view, &error, &shown, &cancelled);
    shown.finish();
    if (cancelled)
        return; // nothing was written
    if (!saved) {
        MsgBox(error, QStringLiteral("Внимание!!!"), MsgIcon::Critical);
        return;
    }
    OpenSavedDocument(path);
}

} // namespace zarnel

#include "DocumentLines.h"
#include "ResultsFixture.h"

#include "TestHome.h"
#include "components/DocxWriter.h"
#include "core/Database.h"
#include "core/ReportOptions.h"
#include "core/Shared.h"
#include "gui/DocxReader.h"
#include "gui/Scripted.h"
#include "report/WordReport.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <numeric>

using namespace zarnel;

namespace {

const QString kName = QStringLiteral("Склад \"Северный\"");

// Three scenarios entered out of order; one without a title, one with an empty title.
qint16 writeObject()
{
    return testing::object(kName, 150)
        .scenario(QStringLiteral("С2"), 1e-4, QStringLiteral("Пожар пролива"))
        .kills(3)
        .scenario(QStringLiteral("С1"), 2e-5)
        .kills(1)
        .scenario(QStringLiteral("С3"), 1e-5, QString(""))
        .kills(2)
        .id();
}

ReportObject readObject(qint16 id)
{
    Connection c;
    const auto object = ReadReportObject(c, id);
    return object ? *object : ReportObject{};
}

bool writeAndRead(const ReportObject& object, qint16 people, const ResultsView& view, DocxReader& reader)
{
    DocxWriter writer;
    WriteReport(writer, object, people, view);
    return reader.loadData(writer.toDocx());
}

QImage rgb(const QImage& image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

// The placeholders of numbering by hand replaced as the fields number them: tables and figures counted apart.
QStringList numbered(QStringList lines)
{
    int tables = 0;
    int figures = 0;
    for (QString& line : lines) {
        if (line.startsWith(QStringLiteral("Таблица ___ - ")))
            line = QStringLiteral("Таблица %1 – ").arg(++tables) + line.mid(14);
        else if (line.startsWith(QStringLiteral("Рис. ____ - ")))
            line = QStringLiteral("Рисунок %1 – ").arg(++figures) + line.mid(12);
    }
    return lines;
}

QVector<int> shownTabs(const ResultsView& view)
{
    QVector<int> tabs{view.outerTabs->currentIndex()};
    for (const ResultsPage& page : view.pages)
        tabs.append(page.innerTabs->currentIndex());
    return tabs;
}

} // namespace

class tst_WordReport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void documentReadsLikeTheReport_data();
    void documentReadsLikeTheReport();
    void kindsWithoutData_data();
    void kindsWithoutData();
    void tables();
    void objectWithoutScenarios();
    void chartsAsDrawnWithTheirTabsShown();
    void exportSavesAndOpens();
    void cancelWritesNothing();
    void progressAndCancel_data();
    void progressAndCancel();
    void failures_data();
    void failures();
    void logRowHoldsTheMoment();

private:
    std::unique_ptr<testing::TestHome> m_home;
};

void tst_WordReport::init()
{
    m_home = std::make_unique<testing::TestHome>();
}

void tst_WordReport::documentReadsLikeTheReport_data()
{
    QTest::addColumn<bool>("manual");
    QTest::newRow("numbered captions") << false;
    QTest::newRow("captions numbered by hand") << true;
}

void tst_WordReport::documentReadsLikeTheReport()
{
    QFETCH(bool, manual);
    SetManualCaptionNumbers(manual, false);
    testing::ResultsFixture results;
    results.enable({true, false, true, false, true});
    DocxReader reader;
    QVERIFY(writeAndRead(readObject(writeObject()), 150, results.view, reader));

    const QStringList expected = {
        "Показатели социального риска опасного производственного объекта \"Склад \"Северный\"\"|B|12|center",
        "|B|12|center",
        "Таблица ___ - Аварийные сценарии на объекте Склад \"Северный\"|-|12|left",
        "<table 4x3>",
        "|-|12|left",
        "Количество людей подвергаемых действиям опасных факторов (число рискующих) - 150|-|12|left",
        "|B|12|center",
        "Социальный риск гибели людей|B|12|center",
        "|-|12|left",
        "Коллективный риск гибели, чел./год   1,600E-04|-|12|left",
        "Индивидуальный риск гибели, 1/год   не расчитан|-|12|left",
        "|-|12|left",
        "Таблица ___ - Показатели вида 0|-|12|left",
        "<table 3x5>",
        "|-|12|center",
        "[425.2]|-|12|center",
        "Рис. ____ - Кривая F/n вида 0|-|12|center",
        "|-|12|center",
        "[425.2]|-|12|center",
        "Рис. ____ - Многоугольник вида 0|-|12|center",
        "<break>Социальный риск тяжелых поражений|B|12|center",
        "|-|12|left",
        "Данные не введены|-|12|left",
        "<break>Социальный риск легких поражений|B|12|center",
        "|-|12|left",
        "Коллективный риск легких поражений, чел./год   3,000E-05|-|12|left",
        "Индивидуальный риск легких поражений, 1/год   2,000E-07|-|12|left",
        "|-|12|left",
        "Таблица ___ - Показатели вида 2|-|12|center",
        "<table 3x5>",
        "|-|12|center",
        "[425.2]|-|12|center",
        "Рис. ____ - Кривая F/n вида 2|-|12|center",
        "|-|12|center",
        "[425.2]|-|12|center",
        "Рис. ____ - Многоугольник вида 2|-|12|center",
        "<break>Социальный риск санитарных потерь|B|16|center",
        "|-|12|left",
        "Данные не введены|-|12|left",
        "<break>Социальный риск ущерба|B|12|center",
        "|-|12|left",
        "Среднеожидаемый ущерб млн.руб/год   7,000E-04|-|12|left",
        "|-|12|left",
        "Таблица ___ - Показатели вида 4|-|12|left",
        "<table 3x5>",
        "|-|12|center",
        "[425.2]|-|12|center",
        "Рис. ____ - Кривая F/n вида 4|-|12|center",
        "|-|12|center",
        "[425.2]|-|12|center",
        "Рис. ____ - Многоугольник вида 4|-|12|center",
        "|-|12|center",
    };
    QCOMPARE(testing::documentLines(reader), manual ? expected : numbered(expected));

    // Numbers are sequence fields Word and LibreOffice count again; captions stay on the page of their table,
    // pictures on the page of their caption.
    const QString xml = QString::fromUtf8(reader.entry(QStringLiteral("word/document.xml")));
    const qsizetype tableCaptions = expected.filter(QStringLiteral("Таблица ___")).size();
    const qsizetype figureCaptions = expected.filter(QStringLiteral("Рис. ____")).size();
    QCOMPARE(xml.count(QStringLiteral(" SEQ Таблица \\* ARABIC ")), manual ? 0 : tableCaptions);
    QCOMPARE(xml.count(QStringLiteral(" SEQ Рисунок \\* ARABIC ")), manual ? 0 : figureCaptions);
    QCOMPARE(xml.count(QStringLiteral("<w:keepNext/>")), tableCaptions + figureCaptions);

    // 42.6 pt margins, portrait A4.
    for (const char* side : {"top", "right", "bottom", "left"})
        QCOMPARE(reader.marginsTwips().value(QString::fromLatin1(side)), 852);
    QCOMPARE(reader.orientation(), QStringLiteral("portrait"));
}

void tst_WordReport::kindsWithoutData_data()
{
    QTest::addColumn<QList<bool>>("flags");
    QTest::addColumn<QStringList>("end"); // the last lines of the document

    QTest::newRow("only fatalities: damage ends the document without a break")
        << QList<bool>{true, false, false, false, false}
        << QStringList{"<break>Социальный риск ущерба|B|12|center", "|-|12|left", "Данные не введены|-|12|left",
                       "|-|12|left"};
    QTest::newRow("only damage") << QList<bool>{false, false, false, false, true}
                                 << QStringList{"Рис. ____ - Многоугольник вида 4|-|12|center", "|-|12|center"};
    QTest::newRow("nothing") << QList<bool>{false, false, false, false, false}
                             << QStringList{"Данные не введены|-|12|left", "|-|12|left"};
}

void tst_WordReport::kindsWithoutData()
{
    QFETCH(QList<bool>, flags);
    SetManualCaptionNumbers(true, false);
    testing::ResultsFixture results;
    for (int p = 0; p < flags.size(); ++p)
        results.view.outerTabs->setTabEnabled(p, flags[p]);
    DocxReader reader;
    QVERIFY(writeAndRead(readObject(writeObject()), 0, results.view, reader));

    const QStringList lines = testing::documentLines(reader);
    const int on = int(flags.count(true));
    QCOMPARE(lines.count(QStringLiteral("Данные не введены|-|12|left")), 5 - on);
    QCOMPARE(lines.filter(QStringLiteral("<table")).size(), 1 + on);
    QCOMPARE(lines.filter(QStringLiteral("[425.2]")).size(), 2 * on);
    // Every kind from severe injuries on starts a page; nothing else does.
    QCOMPARE(lines.filter(QStringLiteral("<break>")),
             QStringList({"<break>Социальный риск тяжелых поражений|B|12|center",
                          "<break>Социальный риск легких поражений|B|12|center",
                          "<break>Социальный риск санитарных потерь|B|16|center",
                          "<break>Социальный риск ущерба|B|12|center"}));
    QVERIFY(lines.contains("Количество людей подвергаемых действиям опасных факторов (число рискующих) - 0|-|12|left"));
    // A kind without data: its heading, an empty line, the notice.
    for (int p = 0; p < flags.size(); ++p) {
        if (flags[p])
            continue;
        const QStringList headings = {"Социальный риск гибели людей", "Социальный риск тяжелых поражений",
                                      "Социальный риск легких поражений", "Социальный риск санитарных потерь",
                                      "Социальный риск ущерба"};
        const qsizetype at = lines.indexOf(QRegularExpression("(<break>)?" + headings[p] + "\\|.*"));
        QVERIFY2(at > 0, qPrintable(headings[p]));
        QCOMPARE(lines.mid(at + 1, 2), QStringList({"|-|12|left", "Данные не введены|-|12|left"}));
    }
    QFETCH(QStringList, end);
    QCOMPARE(lines.mid(lines.size() - end.size()), end);
}

void tst_WordReport::tables()
{
    testing::ResultsFixture results;
    results.enable({true, true, true, true, true});
    results.view.pages[0].grid->setTextMatrix(1, 2, QStringLiteral("С1 С3"));
    results.view.pages[0].grid->setTextMatrix(2, 4, QString());
    DocxReader reader;
    QVERIFY(writeAndRead(readObject(writeObject()), 150, results.view, reader));
    const QList<DocxReader::Table> tables = reader.tables();
    QCOMPARE(tables.size(), 6);

    // Scenarios by classification number; a null or empty title leaves the cell empty.
    const DocxReader::Table& scenarios = tables[0];
    const QList<QStringList> expected = {
        {"№ п/п", "Классификационный номер", "Наименование"},
        {"1", "С1", ""},
        {"2", "С2", "Пожар пролива"},
        {"3", "С3", ""},
    };
    QCOMPARE(scenarios.rowCount(), 4);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c) {
            QCOMPARE(scenarios.cellText(r + 1, c + 1), expected[r][c]);
            QCOMPARE(scenarios.cellParagraph(r + 1, c + 1).sizePt, 10.0);
            QVERIFY(!scenarios.cellParagraph(r + 1, c + 1).bold);
        }

    // The fatalities table holds the grid cell by cell, header row and column included.
    const DocxReader::Table& fatalities = tables[1];
    const FlexGrid& grid = *results.view.pages[0].grid;
    QCOMPARE(fatalities.rowCount(), grid.Rows());
    QCOMPARE(fatalities.columnCount(), grid.Cols());
    for (int i = 0; i < grid.Rows(); ++i)
        for (int j = 0; j < grid.Cols(); ++j) {
            QCOMPARE(fatalities.cellText(i + 1, j + 1), grid.TextMatrix(i, j));
            QCOMPARE(fatalities.cellParagraph(i + 1, j + 1).sizePt, 10.0);
        }

    // Only the scenario, fatalities and damage tables are fitted to the page width; all are ruled alike.
    const QList<bool> fitted = {true, true, false, false, false, true};
    for (int t = 0; t < tables.size(); ++t) {
        QCOMPARE(testing::tableRules(tables[t]), testing::reportTableRules());
        QCOMPARE(tables[t].layout, QStringLiteral("autofit"));
        QCOMPARE(tables[t].widthType == QStringLiteral("pct") && tables[t].width == 5000, fitted[t]);
    }

    // Across pages the header row repeats and no row is split.
    for (const DocxReader::Table& table : tables) {
        QList<bool> headerOnly(table.rowCount(), false);
        headerOnly[0] = true;
        QCOMPARE(table.headerRows, headerOnly);
        QCOMPARE(table.cantSplit, QList<bool>(table.rowCount(), true));
    }

    // Columns in the proportions of the results grid (the scenario table: a narrow number column), together the
    // text width between the 42,6 pt margins.
    const auto proportions = [](const QList<int>& widths) {
        QList<double> shares;
        const double total = std::accumulate(widths.begin(), widths.end(), 0.0);
        for (int w : widths)
            shares.append(w / total);
        return shares;
    };
    for (int t = 0; t < tables.size(); ++t) {
        QCOMPARE(std::accumulate(tables[t].gridColumns.begin(), tables[t].gridColumns.end(), 0), 11906 - 2 * 852);
        QList<int> asked{900, 2000, 4500};
        if (t > 0) {
            const FlexGrid& g = *results.view.pages[t - 1].grid;
            asked.clear();
            for (int j = 0; j < g.Cols(); ++j)
                asked.append(g.ColWidth(j));
        }
        const QList<double> expectedShares = proportions(asked);
        const QList<double> shares = proportions(tables[t].gridColumns);
        QCOMPARE(shares.size(), expectedShares.size());
        for (int j = 0; j < shares.size(); ++j)
            QVERIFY2(qAbs(shares[j] - expectedShares[j]) < 0.001,
                     qPrintable(QStringLiteral("table %1 column %2").arg(t).arg(j)));
    }
}

void tst_WordReport::objectWithoutScenarios()
{
    const qint16 id = testing::object(QStringLiteral("Пустой"), 0).id();
    testing::ResultsFixture results;
    results.enable({false, false, false, false, false});
    DocxReader reader;
    QVERIFY(writeAndRead(readObject(id), 0, results.view, reader));
    const DocxReader::Table scenarios = reader.tables().value(0);
    QCOMPARE(scenarios.rowCount(), 1);
    QCOMPARE(scenarios.cellText(1, 3), QStringLiteral("Наименование"));
}

void tst_WordReport::chartsAsDrawnWithTheirTabsShown()
{
    testing::ResultsFixture results;
    results.enable({true, false, true, true, false});
    ResultsView& view = results.view;
    // The user redrew one chart and left the window on other tabs.
    testing::ResultsFixture::draw(*view.pages[2].polygonChart, 5e-3, 3);
    view.outerTabs->setCurrentIndex(2);
    view.pages[0].innerTabs->setCurrentIndex(2);
    view.pages[2].innerTabs->setCurrentIndex(1);
    view.pages[4].innerTabs->setCurrentIndex(1);
    const QVector<int> before = shownTabs(view);

    // A button of the window, clicked by the user while the report runs.
    auto* button = new QPushButton(QStringLiteral("Построить"), results.window.get());
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    results.window->show();

    // Which tabs are shown each time a chart goes to the clipboard.
    QStringList copied;
    auto connection = QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, [&] {
        QTest::mouseClick(button, Qt::LeftButton);
        copied << QStringLiteral("%1/%2")
                      .arg(view.outerTabs->currentIndex())
                      .arg(view.pages[view.outerTabs->currentIndex()].innerTabs->currentIndex());
    });
    DocxReader reader;
    QVERIFY(writeAndRead(readObject(writeObject()), 150, view, reader));
    QObject::disconnect(connection);

    QCOMPARE(copied, QStringList({"0/0", "0/1", "2/0", "2/1", "3/0", "3/1"}));
    QCOMPARE(shownTabs(view), before);
    QCOMPARE(clicks, 0); // held back during the report, not afterwards
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(clicks, 1);

    QList<DocxReader::Picture> pictures;
    for (const DocxReader::Paragraph& paragraph : reader.paragraphs())
        pictures += paragraph.pictures;
    const QList<ctlChart*> charts = {view.pages[0].stepChart, view.pages[0].polygonChart,
                                     view.pages[2].stepChart, view.pages[2].polygonChart,
                                     view.pages[3].stepChart, view.pages[3].polygonChart};
    QCOMPARE(pictures.size(), charts.size());
    for (int i = 0; i < charts.size(); ++i) {
        QCOMPARE(pictures[i].widthPt, 425.2);
        const QImage stored = QImage::fromData(reader.entry(pictures[i].part));
        QCOMPARE(stored.width(), 1772); // 15 cm at 300 dpi
        QVERIFY2(rgb(stored) == rgb(charts[i]->renderImage()), qPrintable(QString::number(i)));
    }
    // The redrawn polygon is not the one first drawn.
    ctlChart initial;
    testing::ResultsFixture::draw(initial, 1e-4 * 3);
    QVERIFY(rgb(QImage::fromData(reader.entry(pictures[3].part))) != rgb(initial.renderImage()));
}

void tst_WordReport::exportSavesAndOpens()
{
    CurrentObjectId = writeObject();
    PeopleAtRisk = 42;
    testing::ResultsFixture results;
    results.enable({true, true, true, true, true});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("отчет"));
    testing::ScriptedMessages messages;
    testing::ScriptedFileDialogs dialogs;
    dialogs.answers << path;
    testing::RecordingDesktop desktop;

    ExportReportToWord(results.view);

    QCOMPARE(dialogs.captions, QStringList{"Сохранить отчет"});
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QCOMPARE(dialogs.proposed, QStringList{QDir(documents).filePath("Отчет - Склад 'Северный'.docx")});
    // The name typed without suffix gets one.
    QCOMPARE(desktop.opened, QStringList{path + ".docx"});
    QCOMPARE(messages.calls.size(), 0);
    DocxReader reader;
    QVERIFY2(reader.load(path + ".docx"), qPrintable(reader.errorString()));
    QVERIFY(reader.paragraphTexts().contains(
        "Количество людей подвергаемых действиям опасных факторов (число рискующих) - 42"));
}

void tst_WordReport::cancelWritesNothing()
{
    CurrentObjectId = writeObject();
    testing::ResultsFixture results;
    results.view.pages[0].innerTabs->setCurrentIndex(2);
    const QVector<int> before = shownTabs(results.view);
    testing::ScriptedMessages messages;
    testing::ScriptedFileDialogs dialogs;
    testing::RecordingDesktop desktop;

    ExportReportToWord(results.view);

    QCOMPARE(dialogs.proposed.size(), 1);
    QVERIFY(!QFileInfo::exists(dialogs.proposed.first()));
    QCOMPARE(desktop.opened, QStringList());
    QCOMPARE(messages.calls.size(), 0);
    QCOMPARE(shownTabs(results.view), before);
}

void tst_WordReport::progressAndCancel_data()
{
    QTest::addColumn<int>("cancelAt");
    QTest::newRow("runs to the end") << 0;
    QTest::newRow("cancelled at once") << 1;
    QTest::newRow("cancelled among the charts") << 5;
}

void tst_WordReport::progressAndCancel()
{
    QFETCH(int, cancelAt);
    CurrentObjectId = writeObject();
    testing::ResultsFixture results;
    results.enable({true, true, true, true, true});
    results.view.pages[1].innerTabs->setCurrentIndex(2);
    const QVector<int> before = shownTabs(results.view);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Отчет.docx"));
    testing::ScriptedMessages messages;
    testing::ScriptedFileDialogs dialogs;
    dialogs.answers << path;
    testing::RecordingDesktop desktop;
    testing::ScriptedProgress progress;
    progress.cancelAt = cancelAt;

    ExportReportToWord(results.view);

    QCOMPARE(progress.labels, QStringList{QStringLiteral("Идет формирование отчета...")});
    QCOMPARE(progress.titles, QStringList{QStringLiteral("Вывод результатов в MWord")});
    QCOMPARE(progress.finished, 1); // the progress window goes, cancelled or not
    QVERIFY(!progress.values.isEmpty());
    for (int i = 1; i < progress.values.size(); ++i)
        QVERIFY(progress.values[i] > progress.values[i - 1]);
    QVERIFY(progress.values.last() <= progress.maximum);
    QCOMPARE(messages.calls.size(), 0);
    QCOMPARE(shownTabs(results.view), before);
    if (cancelAt == 0) {
        QCOMPARE(progress.values.last(), progress.maximum);
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(desktop.opened, QStringList{path});
    } else {
        QCOMPARE(progress.values.size(), cancelAt); // it stopped at the cancel
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
        QCOMPARE(desktop.opened, QStringList());
    }
}

void tst_WordReport::failures_data()
{
    QTest::addColumn<QString>("target"); // in a fresh folder; "" = the object is missing
    QTest::addColumn<bool>("canOpen");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("saved");

    QTest::newRow("folder missing") << "нет папки/Отчет.docx" << true << "Не удалось сохранить документ" << false;
    QTest::newRow("target is a folder") << "папка.docx" << true << "Не удалось сохранить документ" << false;
    QTest::newRow("nothing opens Word documents")
        << "Отчет.docx" << false << "Документ сохранен в файле\n%1\nОткрыть его не удалось" << true;
    QTest::newRow("object deleted meanwhile")
        << "" << true << "Объект не найден в базе данных. Отчет не сформирован." << false;
}

void tst_WordReport::failures()
{
    QFETCH(QString, target);
    QFETCH(bool, canOpen);
    QFETCH(QString, message);
    QFETCH(bool, saved);
    CurrentObjectId = target.isEmpty() ? 77 : writeObject();
    testing::ResultsFixture results;
    results.enable({true, true, false, false, true});
    results.view.outerTabs->setCurrentIndex(4);
    results.view.pages[4].innerTabs->setCurrentIndex(2);
    const QVector<int> before = shownTabs(results.view);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("папка.docx"));
    const QString path = dir.filePath(target.isEmpty() ? QStringLiteral("Отчет.docx") : target);
    testing::ScriptedMessages messages;
    testing::ScriptedFileDialogs dialogs;
    dialogs.answers << path;
    testing::RecordingDesktop desktop;
    desktop.canOpen = canOpen;

    ExportReportToWord(results.view);

    QCOMPARE(messages.calls.size(), 1);
    if (message.contains("%1"))
        message = message.arg(QDir::toNativeSeparators(path));
    QVERIFY2(messages.calls[0].text.startsWith(message), qPrintable(messages.calls[0].text));
    QCOMPARE(messages.calls[0].title, QStringLiteral("Внимание!!!"));
    QCOMPARE(QFileInfo(path).isFile(), saved);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), saved ? 1 : 0);
    QCOMPARE(shownTabs(results.view), before);
}

void tst_WordReport::logRowHoldsTheMoment()
{
    const QDateTime moment(QDate(2024, 3, 5), QTime(14, 30, 15));
    QVERIFY(LogReport(moment));
    QVERIFY(LogReport(moment.addDays(1)));
    Connection c;
    const auto rows = c.select(QStringLiteral("select * from tabOtchet"));
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].value("Date").toDateTime(), moment);

    testing::ScriptedMessages messages;
    SetExecHook([](const QString&) { throw DbError(QStringLiteral("database or disk is full")); });
    const bool logged = LogReport(moment);
    SetExecHook(nullptr);
    QVERIFY(!logged);
    QCOMPARE(messages.texts(), QStringList{DbFailureText(DbFailure::DiskFull)});
}

QTEST_MAIN(tst_WordReport)
#include "tst_WordReport.moc"

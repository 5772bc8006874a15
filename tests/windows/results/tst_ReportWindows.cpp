// The report and the chart export through the results window, and the batch report that shares their code.

#include "../../report/DocumentLines.h"

#include "TestHome.h"
#include "components/Form.h"
#include "core/CriteriaStore.h"
#include "core/Database.h"
#include "core/DemoData.h"
#include "core/ProgramFolder.h"
#include "core/ReportOptions.h"
#include "core/Shared.h"
#include "gui/DocxReader.h"
#include "gui/Scripted.h"
#include "report/ChartExport.h"
#include "risk/Kinds.h"
#include "windows/results/BatchReport.h"
#include "windows/results/WordOutput.h"
#include "windows/results/frmKriterii.h"
#include "windows/results/frmOutput.h"
#include "windows/scenarios/frmInput.h"

#include <QCommandLineParser>
#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <quazip.h>
#include <quazipfile.h>

using namespace zarnel;

namespace {

// The user's way: the indicator window of the object, "ПОСТРОИТЬ ДИАГРАММЫ", the results window shown.
frmOutput* buildThroughWindows(qint16 objectId)
{
    CurrentObjectId = objectId;
    frmInput* input = forms().get<frmInput>();
    input->Show();
    input->Command1->click();
    frmOutput* output = nullptr;
    // A build that never shows the window comes back as null, which the caller checks.
    (void)QTest::qWaitFor(
        [&] {
            output = forms().find<frmOutput>();
            return output && !output->isHidden();
        },
        60000);
    return output;
}

QList<QImage> pictures(const DocxReader& reader)
{
    QList<QImage> images;
    for (const DocxReader::Paragraph& paragraph : reader.paragraphs())
        for (const DocxReader::Picture& picture : paragraph.pictures)
            images.append(QImage::fromData(reader.entry(picture.part)).convertToFormat(QImage::Format_RGB32));
    return images;
}

QStringList cellTexts(const DocxReader& reader)
{
    QStringList texts;
    for (const DocxReader::Table& table : reader.tables())
        for (int r = 1; r <= table.rowCount(); ++r)
            for (int c = 1; c <= table.columnCount(); ++c)
                texts << table.cellText(r, c);
    return texts;
}

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The document with every field's shown result set to 0: numbers LibreOffice shows then are its own count.
bool writeWithZeroedFields(const QString& docx, const QString& to)
{
    DocxReader reader;
    if (!reader.load(docx))
        return false;
    QuaZip zip(to);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    for (const QString& name : reader.entryNames()) {
        QByteArray bytes = reader.entry(name);
        if (name == QLatin1String("word/document.xml"))
            bytes = QString::fromUtf8(bytes)
                        .replace(QRegularExpression("(w:fldCharType=\"separate\"/></w:r><w:r>(<w:rPr>.*?</w:rPr>)?<w:t"
                                                    "[^>]*>)\\d+</w:t>"),
                                 "\\10</w:t>")
                        .toUtf8();
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(name)) || file.write(bytes) != bytes.size())
            return false;
        file.close();
    }
    zip.close();
    return zip.getZipError() == 0;
}

} // namespace

class tst_ReportWindows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void batchReportEqualsTheWindowsReport();
    void reportMenuLogsAlsoWhenCancelled();
    void exportButtonsSendTheChartAsRedrawn();
    void captionsAreThoseOfTheTabs();
    void batchPeople_data();
    void batchPeople();
    void batchFailures_data();
    void batchFailures();
    void batchOptions_data();
    void batchOptions();
    void criteriaInWindowAndReport();
    void batchReportAsPdf();
    void batchCriteria_data();
    void batchCriteria();
    void contributionsInWindowAndReport();
    void captionChoiceFromTheMenu();
    void libreOfficeRendersTheDemoReport();

private:
    std::unique_ptr<testing::TestHome> m_home;
};

void tst_ReportWindows::init()
{
    m_home = std::make_unique<testing::TestHome>();
}

void tst_ReportWindows::cleanup()
{
    testing::resetWindows();
    m_home.reset();
}

void tst_ReportWindows::batchReportEqualsTheWindowsReport()
{
    qint16 id = 0;
    {
        Connection c;
        id = WriteDemoObject(c);
    }
    QTemporaryDir dir;
    const QString byWindows = dir.filePath("окна.docx");
    const QString byBatch = dir.filePath("пакет.docx");

    frmOutput* output = buildThroughWindows(id);
    QVERIFY(output);
    {
        testing::ScriptedMessages messages;
        testing::ScriptedFileDialogs dialogs;
        dialogs.answers << byWindows;
        testing::RecordingDesktop desktop;
        output->mnuWord->trigger();
        QCOMPARE(messages.texts(), QStringList());
        QCOMPARE(desktop.opened, QStringList{byWindows});
    }
    testing::resetWindows();

    const BatchReportOutcome outcome = RunBatchReport({QString::fromUtf8(kDemoObjectName), byBatch, std::nullopt});
    QCOMPARE(outcome.message, QString());
    QCOMPARE(outcome.exitCode, 0);
    QVERIFY(forms().loaded().isEmpty()); // no window left behind

    DocxReader windows, batch;
    QVERIFY2(windows.load(byWindows), qPrintable(windows.errorString()));
    QVERIFY2(batch.load(byBatch), qPrintable(batch.errorString()));
    QCOMPARE(testing::documentLines(batch), testing::documentLines(windows));
    QCOMPARE(cellTexts(batch), cellTexts(windows));
    QCOMPARE(pictures(batch).size(), 10);
    QVERIFY(pictures(batch) == pictures(windows));

    // The five kinds of the demo object, each on its own page after the first.
    const QStringList lines = testing::documentLines(batch);
    QCOMPARE(lines.filter("<break>").size(), 4);
    QCOMPARE(lines.filter("Данные не введены").size(), 0);
    QVERIFY(
        lines.contains("Количество людей подвергаемых действиям опасных факторов (число рискующих) - 150|-|12|left"));
    QCOMPARE(testing::countRows("select * from tabOtchet"), 2); // the menu's and the batch's
}

void tst_ReportWindows::reportMenuLogsAlsoWhenCancelled()
{
    const qint16 id = testing::object("Склад", 10).scenario("С1", 1e-4).kills(2).id();
    frmOutput* output = buildThroughWindows(id);
    QVERIFY(output);
    output->SSTab1->setCurrentIndex(2);
    testing::ScriptedMessages messages;
    testing::ScriptedFileDialogs dialogs;
    testing::RecordingDesktop desktop;
    const QDateTime moment(QDate(2024, 5, 6), QTime(7, 8, 9));

    WordReport_Click(*output, moment);

    QCOMPARE(dialogs.proposed.size(), 1);
    QVERIFY(!QFileInfo::exists(dialogs.proposed.first()));
    QCOMPARE(desktop.opened, QStringList());
    Connection c;
    const auto rows = c.select("select * from tabOtchet");
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().value("Date").toDateTime(), moment);
    QCOMPARE(output->SSTab1->currentIndex(), 2);
}

void tst_ReportWindows::exportButtonsSendTheChartAsRedrawn()
{
    const qint16 id = testing::object("Склад", 10).scenario("С1", 1e-4).kills(2).scenario("С2", 1e-5).kills(7).id();
    frmOutput* output = buildThroughWindows(id);
    QVERIFY(output);
    QTemporaryDir dir;
    testing::ScriptedMessages messages;
    testing::ScriptedFileDialogs dialogs;
    dialogs.answers << dir.filePath("1.docx") << dir.filePath("2.docx");
    testing::RecordingDesktop desktop;

    output->Command7->click();
    output->OX2->setText("30");
    output->Option8->setChecked(true); // linear X axis
    output->Command8->click();
    output->Command7->click();

    QCOMPARE(messages.texts(), QStringList());
    QCOMPARE(desktop.opened.size(), 2);
    DocxReader first, second;
    QVERIFY(first.load(dir.filePath("1.docx")) && second.load(dir.filePath("2.docx")));
    QCOMPARE(first.paragraphTexts().value(1), "Рисунок 1 – " + output->SSTab1->tabText(0));
    QCOMPARE(pictures(first).size(), 1);
    QVERIFY(pictures(first) != pictures(second));
    QVERIFY(pictures(second).first() == output->ctlChart1->renderImage().convertToFormat(QImage::Format_RGB32));
}

void tst_ReportWindows::captionsAreThoseOfTheTabs()
{
    frmOutput* output = forms().get<frmOutput>();
    for (int chart = 1; chart <= 10; ++chart) {
        const QTabWidget* tabs = output->innerTabs(KindOfChart(chart));
        QCOMPARE(ChartCaption(chart), "Рис. ____ - " + tabs->tabText(chart % 2 ? 0 : 1));
    }
}

void tst_ReportWindows::batchPeople_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("peopleLine");
    QTest::addColumn<QString>("individual");

    QTest::newRow("stored number") << QStringList{} << "- 400"
                                   << "Индивидуальный риск гибели, 1/год   2,500E-07";
    QTest::newRow("--people replaces it") << QStringList{"--people", "50"} << "- 50"
                                          << "Индивидуальный риск гибели, 1/год   2,000E-06";
    QTest::newRow("--people 0: not computed, nobody asked") << QStringList{"--people", "0"} << "- 0"
                                                            << "Индивидуальный риск гибели, 1/год   не расчитан";
}

void tst_ReportWindows::batchPeople()
{
    QFETCH(QStringList, arguments);
    testing::object("Склад", 400).scenario("С1", 1e-4).kills(1);
    QTemporaryDir dir;
    const QString file = dir.filePath("отчет.docx");
    QCommandLineParser parser;
    AddBatchReportOptions(parser);
    QVERIFY(parser.parse(QStringList{"zarnel", "--report", "склад", "--out", file} + arguments));
    testing::ScriptedMessages messages; // a question would fail the test

    QCOMPARE(RunBatchReportIfRequested(parser).value_or(-1), 0);

    DocxReader reader;
    QVERIFY2(reader.load(file), qPrintable(reader.errorString()));
    const QStringList texts = reader.paragraphTexts();
    QFETCH(QString, peopleLine);
    QVERIFY(texts.contains("Количество людей подвергаемых действиям опасных факторов (число рискующих) " + peopleLine));
    QTEST(texts.filter("Индивидуальный риск гибели").value(0), "individual");
    QCOMPARE(messages.calls.size(), 0);
}

void tst_ReportWindows::batchFailures_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("out"); // relative to a fresh folder
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    QTest::newRow("no such object") << "Цех 5"
                                    << "отчет.docx" << int(BatchReportNoObject)
                                    << "Объект \"Цех 5\" не найден в базе данных.";
    QTest::newRow("object without indicators")
        << "Пустой"
        << "отчет.docx" << int(BatchReportNoData) << "Построение диаграмм не возможно! Не введен ни один показатель!";
    QTest::newRow("folder missing") << "Склад"
                                    << "нет папки/отчет.docx" << int(BatchReportWriteFailed)
                                    << "Не удалось сохранить документ";
    QTest::newRow("target is a folder") << "Склад"
                                        << "папка" << int(BatchReportWriteFailed) << "Не удалось сохранить документ";
}

void tst_ReportWindows::batchFailures()
{
    QFETCH(QString, object);
    QFETCH(QString, out);
    testing::object("Склад", 10).scenario("С1", 1e-4).kills(1);
    testing::object("Пустой", 10).scenario("С1", 1e-4);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("папка"));
    const QString file = dir.filePath(out);

    const BatchReportOutcome outcome = RunBatchReport({object, file, std::nullopt});

    QTEST(outcome.exitCode, "exitCode");
    QFETCH(QString, message);
    QVERIFY2(outcome.message.startsWith(message), qPrintable(outcome.message));
    QVERIFY(!QFileInfo(file).isFile());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    QVERIFY(forms().loaded().isEmpty());
}

void tst_ReportWindows::batchOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode"); // -1: not a batch report, the windows start

    QTest::newRow("no report asked") << QStringList{} << -1;
    QTest::newRow("report without file") << QStringList{"--report", "Склад"} << int(BatchReportUsage);
    QTest::newRow("file without report") << QStringList{"--out", "x.docx"} << int(BatchReportUsage);
    QTest::newRow("people not a number") << QStringList{"--report", "Склад", "--out", "x.docx", "--people", "много"}
                                         << int(BatchReportUsage);
    QTest::newRow("people out of range") << QStringList{"--report", "Склад", "--out", "x.docx", "--people", "40000"}
                                         << int(BatchReportUsage);
}

void tst_ReportWindows::batchOptions()
{
    QFETCH(QStringList, arguments);
    QCommandLineParser parser;
    AddBatchReportOptions(parser);
    QVERIFY(parser.parse(QStringList{"zarnel"} + arguments));
    QTEST(RunBatchReportIfRequested(parser).value_or(-1), "exitCode");
}

namespace {

const QString kDenmark = QStringLiteral("Критерий «Дания»: превышение при n от 4 до 10, наибольшее — в 10 раза при n = 10.");
const QString kNetherlands = QStringLiteral("Критерий «Нидерланды (ориентировочное значение)»: превышение при n от 10 "
                                            "до 10, наибольшее — в 10 раза при n = 10.");
const QString kLimitLine = QStringLiteral("Индивидуальный риск гибели, 1/год   1,000E-05 — превышает допустимое значение "
                                          "1,000E-06 1/год (Федеральный закон № 123-ФЗ, ст. 93 (пожарный риск на "
                                          "производственных объектах)) в 10 раза");

// Ten fatalities at 1E-4 per year among 100 people, judged against the Danish line with the built-in limit.
qint16 judgedObject()
{
    const qint16 id = testing::object("Склад", 100).scenario("С1", 1e-4).kills(10).id();
    Connection c;
    EnsureCriteriaTables(c);
    SetChosenCriteria(c, id, {QStringLiteral("Дания")});
    SetChosenLimit(c, id, KindFatalities, BuiltInIndividualLimit());
    return id;
}

QStringList overlayNames(const ctlChart* chart)
{
    QStringList names;
    for (const ctlChart::Overlay& o : chart->overlays())
        names << o.name;
    return names;
}

} // namespace

void tst_ReportWindows::criteriaInWindowAndReport()
{
    frmOutput* output = buildThroughWindows(judgedObject());
    QVERIFY(output);
    const frmOutput::ChartControls& k = output->chartControls(1);
    QCOMPARE(overlayNames(k.chart), QStringList{"Дания"});
    QCOMPARE(k.verdict->text(), kDenmark);
    QVERIFY(!k.verdict->isHidden());
    QVERIFY(output->chartControls(9).verdict->isHidden()); // damage has no data here
    QCOMPARE(output->limitLabel(KindFatalities)->text(), kLimitLine.section(QStringLiteral(" — "), 1));

    // A redraw on linear axes keeps the line.
    k.xLinear->setChecked(true);
    k.yLinear->setChecked(true);
    k.build->click();
    QCOMPARE(overlayNames(k.chart), QStringList{"Дания"});

    // The criteria window from the menu: one more line chosen and saved, the page follows.
    output->mnuKriterii->trigger();
    frmKriterii* criteria = forms().find<frmKriterii>();
    QVERIFY(criteria && criteria->isVisible());
    criteria->setShown(QStringLiteral("Нидерланды (ориентировочное значение)"), true);
    criteria->Command4->click();
    QCOMPARE(overlayNames(k.chart), (QStringList{"Нидерланды (ориентировочное значение)", "Дания"}));
    QCOMPARE(k.verdict->text(), kNetherlands + "\n" + kDenmark);

    QTemporaryDir dir;
    const QString file = dir.filePath("отчет.docx");
    {
        testing::ScriptedMessages messages;
        testing::ScriptedFileDialogs dialogs;
        dialogs.answers << file;
        testing::RecordingDesktop desktop;
        output->mnuWord->trigger();
        QCOMPARE(messages.texts(), QStringList());
    }
    DocxReader reader;
    QVERIFY2(reader.load(file), qPrintable(reader.errorString()));
    const QStringList texts = reader.paragraphTexts();
    QVERIFY(texts.contains(kNetherlands));
    QVERIFY(texts.contains(kDenmark));
    QVERIFY(texts.contains(kLimitLine));
    // The sentences follow the caption of the F/n chart.
    const int caption = int(texts.indexOf(QRegularExpression("^Рисунок 1 – Интегральная функция.*")));
    QVERIFY(caption >= 0);
    QVERIFY(texts.indexOf(kNetherlands) > caption);
}

void tst_ReportWindows::batchReportAsPdf()
{
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    const QString pdfinfo = QStandardPaths::findExecutable("pdfinfo");
    if (pdftotext.isEmpty() || pdfinfo.isEmpty())
        QSKIP("poppler-utils (pdftotext, pdfinfo) not on PATH");
    {
        Connection c;
        WriteDemoObject(c);
    }
    QTemporaryDir dir;
    const QString docx = dir.filePath("отчет.docx");
    const QString pdf = dir.filePath("отчет.pdf");
    for (const QString& file : {docx, pdf}) {
        const BatchReportOutcome outcome = RunBatchReport({QString::fromUtf8(kDemoObjectName), file, std::nullopt});
        QVERIFY2(outcome.exitCode == 0, qPrintable(outcome.message));
    }
    DocxReader reader;
    QVERIFY2(reader.load(docx), qPrintable(reader.errorString()));

    // Every paragraph of the .docx stands in the PDF, in the same order (blanks aside: line breaks differ).
    const QString text = run(pdftotext, {pdf, "-"}).simplified().remove(' ');
    qsizetype at = 0;
    for (const QString& paragraph : reader.paragraphTexts()) {
        const QString p = paragraph.simplified().remove(' ');
        if (p.isEmpty())
            continue;
        const qsizetype found = text.indexOf(p, at);
        QVERIFY2(found >= 0, qPrintable(paragraph));
        at = found + p.size();
    }
    QVERIFY(text.contains("Коллективныйрискгибели,чел./год1,162E-03"));
    // One page per kind after the first at least, as the page breaks of the document say.
    const int breaks = int(testing::documentLines(reader).filter("<break>").size());
    const QRegularExpressionMatch pages = QRegularExpression("Pages:\\s+(\\d+)").match(run(pdfinfo, {pdf}));
    QVERIFY(pages.hasMatch());
    QVERIFY2(pages.captured(1).toInt() >= breaks + 1, qPrintable(pages.captured(1)));
}

void tst_ReportWindows::batchCriteria_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("sentences");

    QTest::newRow("the object's choice") << QStringList{} << 0 << QStringList{kDenmark};
    QTest::newRow("--criteria replaces it, any case")
        << QStringList{"--criteria", "нидерланды (ориентировочное значение)"} << 0 << QStringList{kNetherlands};
    QTest::newRow("unknown name") << QStringList{"--criteria", "Дания;Марс"} << int(BatchReportUsage) << QStringList{};
}

void tst_ReportWindows::batchCriteria()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, sentences);
    judgedObject();
    QTemporaryDir dir;
    const QString file = dir.filePath("отчет.docx");
    QCommandLineParser parser;
    AddBatchReportOptions(parser);
    QVERIFY(parser.parse(QStringList{"zarnel", "--report", "Склад", "--out", file} + arguments));
    BatchReportRequest request{parser.value("report"), file, std::nullopt};
    if (parser.isSet("criteria"))
        request.criteria = parser.value("criteria");
    const BatchReportOutcome outcome = RunBatchReport(request);
    QTEST(outcome.exitCode, "exitCode");
    if (outcome.exitCode != 0) {
        QCOMPARE(outcome.message, QStringLiteral("Критерий «Марс» не найден в базе данных."));
        QVERIFY(!QFileInfo(file).exists());
        return;
    }
    DocxReader reader;
    QVERIFY2(reader.load(file), qPrintable(reader.errorString()));
    const QStringList texts = reader.paragraphTexts();
    QCOMPARE(texts.filter(QStringLiteral("Критерий «")), sentences);
    QVERIFY(texts.contains(kLimitLine));
}

void tst_ReportWindows::libreOfficeRendersTheDemoReport()
{
    const QString soffice = QStandardPaths::findExecutable("soffice");
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    const QString pdfinfo = QStandardPaths::findExecutable("pdfinfo");
    if (soffice.isEmpty() || pdftotext.isEmpty() || pdfinfo.isEmpty())
        QSKIP("LibreOffice (soffice) or poppler-utils (pdftotext, pdfinfo) not on PATH: report not rendered");
    {
        Connection c;
        WriteDemoObject(c);
    }
    QTemporaryDir dir;
    const QString written = dir.filePath("written.docx");
    const BatchReportOutcome outcome = RunBatchReport({QString::fromUtf8(kDemoObjectName), written, std::nullopt});
    QVERIFY2(outcome.exitCode == 0, qPrintable(outcome.message));
    // Caption numbers are fields LibreOffice counts itself: the document it renders shows 0 in every one.
    const QString docx = dir.filePath("report.docx");
    QVERIFY(writeWithZeroedFields(written, docx));
    {
        DocxReader zeroed;
        QVERIFY(zeroed.load(docx));
        QVERIFY(zeroed.paragraphTexts().contains("Таблица 0 – Аварийные сценарии на объекте " +
                                                  QString::fromUtf8(kDemoObjectName)));
    }

    // A private profile and HOME: works as root and beside a running LibreOffice.
    QProcess convert;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", dir.filePath("home"));
    convert.setProcessEnvironment(env);
    convert.setProcessChannelMode(QProcess::MergedChannels);
    convert.start(soffice, {"-env:UserInstallation=" + QUrl::fromLocalFile(dir.filePath("profile")).toString(),
                            "--headless", "--convert-to", "pdf", "--outdir", dir.path(), docx});
    QVERIFY2(convert.waitForFinished(120000), "LibreOffice did not finish converting within 120 s");
    const QString pdf = dir.filePath("report.pdf");
    QVERIFY2(QFileInfo::exists(pdf), convert.readAll().constData());
    // To look at the pages: ZARNEL_KEEP_REPORT=folder keeps the document and its PDF there.
    if (const QString keep = qEnvironmentVariable("ZARNEL_KEEP_REPORT"); !keep.isEmpty()) {
        QFile::remove(keep + "/sample-report.docx");
        QFile::remove(keep + "/sample-report.pdf");
        QFile::copy(written, keep + "/sample-report.docx");
        QFile::copy(pdf, keep + "/sample-report.pdf");
    }

    const QString info = run(pdfinfo, {pdf});
    const QRegularExpressionMatch pages = QRegularExpression("Pages:\\s+(\\d+)\\n").match(info);
    QVERIFY2(pages.hasMatch(), qPrintable(info));
    const int pageCount = pages.captured(1).toInt();

    // Page by page: every kind takes two pages (risk lines, table and the F/n chart; then the polygon), the
    // title and the ten scenarios fit on the first one; every kind from severe injuries on starts a page.
    QStringList texts;
    for (int p = 1; p <= pageCount; ++p)
        texts << run(pdftotext, {"-layout", "-f", QString::number(p), "-l", QString::number(p), pdf, "-"}).simplified();
    QVERIFY2(texts[0].startsWith("Показатели социального риска опасного производственного объекта"),
             qPrintable(texts[0]));
    const QStringList laterKinds = {"Социальный риск тяжелых поражений", "Социальный риск легких поражений",
                                    "Социальный риск санитарных потерь", "Социальный риск ущерба"};
    QStringList startsOfPages;
    for (const QString& text : texts)
        for (const QString& kind : laterKinds)
            if (text.startsWith(kind))
                startsOfPages << kind;
    QCOMPARE(startsOfPages, laterKinds);
    // Tables and figures numbered in order, each sequence on its own.
    const QString whole = texts.join(' ');
    QStringList tables, figures;
    for (const QRegularExpressionMatch& m : QRegularExpression("(Таблица|Рисунок) (\\d+) –").globalMatch(whole))
        (m.captured(1) == "Таблица" ? tables : figures) << m.captured(2);
    QCOMPARE(tables, QString("1 2 3 4 5 6 7 8 9 10 11").split(' '));
    QCOMPARE(figures, QString("1 2 3 4 5 6 7 8 9 10").split(' '));
    // Two pages per kind, the contribution table included.
    QCOMPARE(pageCount, 10);
}

// The indicator page's contribution table, and the same cells in the report after the indicator table.
void tst_ReportWindows::contributionsInWindowAndReport()
{
    testing::object("Склад", 100).scenario("С1", 1e-4, "Утечка").kills(1).scenario("С2", 2e-5).kills(3);
    QTemporaryDir dir;
    const QString file = dir.filePath("отчет.docx");
    QCOMPARE(RunBatchReport({"Склад", file, std::nullopt}).exitCode, 0);

    DocxReader reader;
    QVERIFY2(reader.load(file), qPrintable(reader.errorString()));
    QVERIFY(reader.paragraphTexts().contains("Таблица 3 – Вклад сценариев в коллективный риск гибели людей"));
    // Scenarios, the fatalities' indicators, then their contributions.
    QVERIFY(reader.tables().size() >= 3);
    const DocxReader::Table& t = reader.tables()[2];
    QStringList rows;
    for (int r = 1; r <= t.rowCount(); ++r) {
        QStringList cells;
        for (int c = 1; c <= t.columnCount(); ++c)
            cells << t.cellText(r, c);
        rows << cells.join('|');
    }
    QCOMPARE(rows, (QStringList{"Классификационный номер|Наименование|Число погибших, n человек|Частота сценария, "
                                "1/год|Вклад, чел./год|Доля, %",
                                "С1|Утечка|1|1,000E-04|1,000E-04|62,5", "С2||3|2,000E-05|0,600E-04|37,5",
                                "Итого|||1,200E-04|1,600E-04|100,0"}));
    // The title column is the widest, the share the narrowest, as in the window; the header comes back on
    // every page.
    const QList<int> widths = t.cellWidths.value(0);
    QCOMPARE(widths.size(), 6);
    for (int c : {0, 2, 3, 4, 5})
        QVERIFY2(widths[1] > widths[c], qPrintable(QString::number(c)));
    for (int c : {0, 1, 2, 3, 4})
        QVERIFY2(widths[5] < widths[c], qPrintable(QString::number(c)));
}

// «Параметры» → «Номера подписей вручную»: the report's captions follow the tick, which is kept in the program
// folder for the next start.
void tst_ReportWindows::captionChoiceFromTheMenu()
{
    testing::object("Склад", 100).scenario("С1", 1e-4, "Утечка").kills(1);
    frmOutput* output = forms().get<frmOutput>();
    const auto firstCaption = [] {
        QTemporaryDir dir;
        const QString file = dir.filePath("отчет.docx");
        if (RunBatchReport({"Склад", file, std::nullopt}).exitCode != 0)
            return QString();
        DocxReader reader;
        return reader.load(file) ? reader.paragraphTexts().value(2) : QString();
    };
    const auto kept = [] {
        return QSettings(ProgramFile("zarnel.ini"), QSettings::IniFormat).value("report/manualCaptionNumbers");
    };

    emit output->mnuParametry->aboutToShow();
    QVERIFY(!output->mnuPodpisi->isChecked());
    QCOMPARE(firstCaption(), "Таблица 1 – Аварийные сценарии на объекте Склад");

    output->mnuPodpisi->trigger();
    QCOMPARE(kept(), QVariant(true));
    QCOMPARE(firstCaption(), "Таблица ___ - Аварийные сценарии на объекте Склад");
    emit output->mnuParametry->aboutToShow();
    QVERIFY(output->mnuPodpisi->isChecked());

    output->mnuPodpisi->trigger();
    QCOMPARE(kept(), QVariant(false));
    QCOMPARE(firstCaption(), "Таблица 1 – Аварийные сценарии на объекте Склад");
}

QTEST_MAIN(tst_ReportWindows)
#include "tst_ReportWindows.moc"

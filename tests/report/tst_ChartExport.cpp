#include "DocumentLines.h"
#include "ResultsFixture.h"

#include "components/DocxWriter.h"
#include "gui/DocxReader.h"
#include "gui/Scripted.h"
#include "report/ChartExport.h"
#include "report/DocumentFile.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace zarnel;

namespace {

QImage rgb(const QImage& image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage storedPicture(const DocxReader& reader, int index = 0)
{
    QList<DocxReader::Picture> pictures;
    for (const DocxReader::Paragraph& paragraph : reader.paragraphs())
        pictures += paragraph.pictures;
    return pictures.size() > index ? QImage::fromData(reader.entry(pictures[index].part)) : QImage();
}

} // namespace

class tst_ChartExport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void documentLayout();
    void exportSavesOpensAndLeavesTheClipboard();
    void redrawnChartIsExportedRedrawn();
    void cancelWritesNothing();
    void failures_data();
    void failures();
    void proposedNames_data();
    void proposedNames();
    void typedNames_data();
    void typedNames();
};

void tst_ChartExport::documentLayout()
{
    ctlChart chart;
    testing::ResultsFixture::draw(chart, 1e-3);
    DocxWriter writer;
    QVERIFY(WriteChartDocument(writer, chart.renderImage(), ChartCaption(2)));
    DocxReader reader;
    QVERIFY(reader.loadData(writer.toDocx()));

    QCOMPARE(testing::documentLines(reader),
             QStringList({"[425.2]|-|12|center",
                          "Рисунок 1 – Многоугольник распределения количества погибших при расчетных сценариях в "
                          "год|-|12|center"}));
    for (const char* side : {"top", "right", "bottom", "left"})
        QCOMPARE(reader.marginsTwips().value(QString::fromLatin1(side)), 851); // 42.525 pt
    QCOMPARE(reader.orientation(), QStringLiteral("portrait"));

    DocxWriter empty;
    QVERIFY(!WriteChartDocument(empty, QImage(), ChartCaption(1)));
}

void tst_ChartExport::exportSavesOpensAndLeavesTheClipboard()
{
    ctlChart chart;
    testing::ResultsFixture::draw(chart, 1e-3);
    QTemporaryDir dir;
    testing::ScriptedMessages messages;
    testing::ScriptedFileDialogs dialogs;
    dialogs.answers << dir.filePath("первый.docx") << dir.filePath("второй.docx");
    testing::RecordingDesktop desktop;
    // A click of the user while the chart is copied is held back.
    QPushButton button(QStringLiteral("Построить"));
    button.show();
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] { ++clicks; });
    auto connection = QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged,
                                       [&] { QTest::mouseClick(&button, Qt::LeftButton); });

    ExportChartToWord(chart, 9);
    ExportChartToWord(chart, 9);
    QObject::disconnect(connection);
    QCOMPARE(clicks, 0);

    QCOMPARE(dialogs.captions, QStringList({"Сохранить рисунок", "Сохранить рисунок"}));
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QCOMPARE(dialogs.proposed.first(), QDir(documents).filePath("Рисунок - Диаграмма F-G ущерба.docx"));
    QCOMPARE(desktop.opened, QStringList({dir.filePath("первый.docx"), dir.filePath("второй.docx")}));
    QCOMPARE(messages.calls.size(), 0);

    // Two presses, two documents of one figure each.
    for (const char* name : {"первый.docx", "второй.docx"}) {
        DocxReader reader;
        QVERIFY2(reader.load(dir.filePath(name)), qPrintable(reader.errorString()));
        QCOMPARE(reader.paragraphTexts(),
                 QStringList({"", "Рисунок 1 – Интегральная функция распределения ущерба при расчетных аварийных "
                                  "сценариях, диаграмма F/>=G ущерба"}));
        const QImage stored = storedPicture(reader);
        QCOMPARE(stored.width(), 1772); // 15 cm at 300 dpi
        QVERIFY(rgb(stored) == rgb(QGuiApplication::clipboard()->image()));
    }
}

void tst_ChartExport::redrawnChartIsExportedRedrawn()
{
    ctlChart chart;
    testing::ResultsFixture::draw(chart, 1e-3);
    QTemporaryDir dir;
    testing::ScriptedFileDialogs dialogs;
    dialogs.answers << dir.filePath("до.docx") << dir.filePath("после.docx");
    testing::RecordingDesktop desktop;

    ExportChartToWord(chart, 1);
    testing::ResultsFixture::draw(chart, 1e-3, 100); // the user widened the X axis
    ExportChartToWord(chart, 1);

    DocxReader before, after;
    QVERIFY(before.load(dir.filePath("до.docx")) && after.load(dir.filePath("после.docx")));
    QVERIFY(rgb(storedPicture(before)) != rgb(storedPicture(after)));
    QVERIFY(rgb(storedPicture(after)) == rgb(chart.renderImage()));
}

void tst_ChartExport::cancelWritesNothing()
{
    ctlChart chart;
    testing::ResultsFixture::draw(chart, 1e-3);
    testing::ScriptedMessages messages;
    testing::ScriptedFileDialogs dialogs;
    testing::RecordingDesktop desktop;

    ExportChartToWord(chart, 4);

    QCOMPARE(dialogs.proposed.size(), 1);
    QVERIFY(!QFileInfo::exists(dialogs.proposed.first()));
    QCOMPARE(desktop.opened, QStringList());
    QCOMPARE(messages.calls.size(), 0);
}

void tst_ChartExport::failures_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("canOpen");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("saved");

    QTest::newRow("folder missing") << "нет папки/Рисунок.docx" << true << "Не удалось сохранить документ" << false;
    QTest::newRow("nothing opens Word documents")
        << "Рисунок.docx" << false << "Документ сохранен в файле\n%1\nОткрыть его не удалось" << true;
}

void tst_ChartExport::failures()
{
    QFETCH(QString, target);
    QFETCH(bool, canOpen);
    QFETCH(QString, message);
    QFETCH(bool, saved);
    ctlChart chart;
    testing::ResultsFixture::draw(chart, 1e-3);
    QTemporaryDir dir;
    const QString path = dir.filePath(target);
    testing::ScriptedMessages messages;
    testing::ScriptedFileDialogs dialogs;
    dialogs.answers << path;
    testing::RecordingDesktop desktop;
    desktop.canOpen = canOpen;

    ExportChartToWord(chart, 5);

    QCOMPARE(messages.calls.size(), 1);
    if (message.contains("%1"))
        message = message.arg(QDir::toNativeSeparators(path));
    QVERIFY2(messages.calls[0].text.startsWith(message), qPrintable(messages.calls[0].text));
    QCOMPARE(QFileInfo(path).isFile(), saved);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), saved ? 1 : 0);
}

void tst_ChartExport::proposedNames_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("fileName");

    QTest::newRow("plain") << "Отчет - Склад"
                           << "Отчет - Склад.docx";
    QTest::newRow("double quotes become single ones") << "Отчет - ООО \"Ромашка\""
                                                      << "Отчет - ООО 'Ромашка'.docx";
    QTest::newRow("separators and wildcards") << "Отчет - Цех 1/2: насосная* <А|Б>?"
                                              << "Отчет - Цех 1_2_ насосная_ _А_Б__.docx";
    QTest::newRow("trailing dots") << "Отчет - АЗС №5..."
                                   << "Отчет - АЗС №5.docx";
    QTest::newRow("long names are cut") << "Отчет - " + QString(300, QChar(u'Я'))
                                        << "Отчет - " + QString(92, QChar(u'Я')) + ".docx";
}

void tst_ChartExport::proposedNames()
{
    QFETCH(QString, title);
    const QString path = ProposedDocumentPath(title);
    QCOMPARE(QFileInfo(path).absolutePath(),
             QFileInfo(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + "/x").absolutePath());
    QTEST(QFileInfo(path).fileName(), "fileName");
}

void tst_ChartExport::typedNames_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved");

    QTest::newRow("cancelled") << ""
                               << "";
    QTest::newRow("no suffix") << "/tmp/Рисунок"
                               << "/tmp/Рисунок.docx";
    QTest::newRow("docx kept") << "/tmp/Рисунок.docx"
                               << "/tmp/Рисунок.docx";
    QTest::newRow("upper-case DOCX kept") << "/tmp/Рисунок.DOCX"
                                          << "/tmp/Рисунок.DOCX";
    QTest::newRow("dot inside the name") << "/tmp/Рисунок 1.2"
                                         << "/tmp/Рисунок 1.2.docx";
    QTest::newRow("other suffix") << "/tmp/Рисунок.doc"
                                  << "/tmp/Рисунок.doc.docx";
}

void tst_ChartExport::typedNames()
{
    QFETCH(QString, typed);
    testing::ScriptedFileDialogs dialogs;
    if (!typed.isEmpty())
        dialogs.answers << typed;
    QTEST(AskDocumentPath(QStringLiteral("Сохранить рисунок"), QStringLiteral("Рисунок")), "saved");
}

QTEST_MAIN(tst_ChartExport)
#include "tst_ChartExport.moc"

#include "components/DocxWriter.h"
#include "gui/DocxReader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <functional>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif

using Script = std::function<void(DocxWriter&)>;
Q_DECLARE_METATYPE(Script)
Q_DECLARE_METATYPE(std::vector<double>)

namespace {

bool readBack(const DocxWriter& writer, DocxReader& reader)
{
    QString error;
    const QByteArray bytes = writer.toDocx(&error);
    if (bytes.isEmpty()) {
        qWarning("toDocx failed: %s", qPrintable(error));
        return false;
    }
    if (!reader.loadData(bytes)) {
        qWarning("cannot read the package back: %s", qPrintable(reader.errorString()));
        return false;
    }
    return true;
}

// "text|mark|size|alignment", bold runs between asterisks, so one string shows what a paragraph looks like.
QString describe(const DocxReader::Paragraph& paragraph)
{
    QString text;
    for (const DocxReader::Run& run : paragraph.runs)
        text += run.bold ? u'*' + run.text + u'*' : run.text;
    QString line = QStringLiteral("%1|%2|%3|%4")
                       .arg(text, paragraph.markBold ? QStringLiteral("B") : QStringLiteral("-"))
                       .arg(paragraph.sizePt)
                       .arg(paragraph.alignment);
    if (paragraph.pageBreak)
        line.prepend(QStringLiteral("<break>"));
    return line;
}

QStringList describeParagraphs(const DocxReader& reader)
{
    QStringList lines;
    for (const DocxReader::Paragraph& paragraph : reader.paragraphs())
        lines.append(describe(paragraph));
    return lines;
}

QImage chartImage(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawRect(image.rect().adjusted(20, 20, -20, -20));
    painter.setPen(QPen(Qt::blue, 3));
    painter.drawLine(30, size.height() - 30, size.width() - 30, 30);
    return image;
}

// PNG compresses noise badly: a large package from a small picture.
QImage noiseImage(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    auto* random = QRandomGenerator::global();
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, random->generate());
    return image;
}

// The rule set of the report's tables.
void ruleLikeTheReport(DocxTable& table)
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

// A table added at the end of a 10-point block, as the report adds its tables.
DocxTable tableAtEnd(DocxWriter& writer, int rows, int columns)
{
    writer.newBlock(10);
    writer.collapseToEnd();
    return writer.addTable(rows, columns);
}

QStringList folderEntries(const QString& path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

class tst_DocxWriter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pageSetup_data();
    void pageSetup();
    void formatting_data();
    void formatting();
    void tableAtCollapsedRange();
    void tableLayout_data();
    void tableLayout();
    void tableEdgeCases();
    void columnWidths_data();
    void columnWidths();
    void rowsAcrossPages();
    void pictures();
    void pictureInputs();
    void pageBreakStartsTheNextText();
    void escaping_data();
    void escaping();
    void saveWritesPackageAndReplacesOldFile();
    void saveFailures_data();
    void saveFailures();
    void failedWriteKeepsExistingFile();
    void libreOfficeRendersTheDocument();
};

void tst_DocxWriter::pageSetup_data()
{
    QTest::addColumn<double>("marginPt");
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<int>("marginTwips");
    QTest::addColumn<int>("pageWidth");
    QTest::addColumn<int>("pageHeight");

    QTest::newRow("chart export 42.525 pt rounds half up") << 42.525 << false << 851 << 11906 << 16838;
    QTest::newRow("report 42.6 pt") << 42.6 << false << 852 << 11906 << 16838;
    QTest::newRow("just below a half twip") << 42.52 << false << 850 << 11906 << 16838;
    QTest::newRow("landscape swaps the A4 sides") << 42.6 << true << 852 << 16838 << 11906;
}

void tst_DocxWriter::pageSetup()
{
    QFETCH(double, marginPt);
    QFETCH(bool, landscape);

    DocxWriter writer;
    writer.setMargins(marginPt);
    if (landscape)
        writer.setOrientation(DocxWriter::Orientation::Landscape);
    DocxReader reader;
    QVERIFY(readBack(writer, reader));

    QFETCH(int, marginTwips);
    for (const char* side : {"top", "right", "bottom", "left"})
        QCOMPARE(reader.marginsTwips().value(QString::fromLatin1(side)), marginTwips);
    QTEST(reader.pageWidthTwips(), "pageWidth");
    QTEST(reader.pageHeightTwips(), "pageHeight");
    QCOMPARE(reader.orientation(), landscape ? QStringLiteral("landscape") : QStringLiteral("portrait"));
}

void tst_DocxWriter::formatting_data()
{
    QTest::addColumn<Script>("script");
    QTest::addColumn<QStringList>("expected");

    const Script title = [](DocxWriter& w) {
        w.newBlock(12);
        w.boldOn();
        w.append(QStringLiteral("Показатели \"Склад\"\r\n\r\n"));
        w.centre();
    };
    QTest::newRow("bold and centre reach every paragraph split off")
        << title << QStringList{"*Показатели \"Склад\"*|B|12|center", "|B|12|center", "|B|12|center"};

    QTest::newRow("font bold off and left change only the last block")
        << Script([title](DocxWriter& w) {
               title(w);
               w.newBlock(12);
               w.fontBoldOff();
               w.append(QStringLiteral("Таблица ___ - Аварийные сценарии\r\n"));
               w.left();
           })
        << QStringList{"*Показатели \"Склад\"*|B|12|center", "|B|12|center",
                       "Таблица ___ - Аварийные сценарии|-|12|left", "|-|12|left"};

    QTest::newRow("alignment set before appending is inherited") << Script([](DocxWriter& w) {
        w.newBlock(12);
        w.append(QStringLiteral("Слева\r\n"));
        w.newBlock(12);
        w.centre();
        w.append(QStringLiteral("\r\nРис. ____ - подпись\r\n"));
        w.boldOff();
    }) << QStringList{"Слева|-|12|left", "|-|12|center", "Рис. ____ - подпись|-|12|center", "|-|12|center"};

    QTest::newRow("block size applies to the last paragraph only, text included") << Script([](DocxWriter& w) {
        w.newBlock(16);
        w.append(QStringLiteral("Заголовок\r\nтекст"));
        w.newBlock(10);
    }) << QStringList{"Заголовок|-|16|left", "текст|-|10|left"};

    QTest::newRow("bold off after appending spares earlier blocks") << Script([](DocxWriter& w) {
        w.newBlock(12);
        w.boldOn();
        w.append(QStringLiteral("Раздел\r\n"));
        w.newBlock(12);
        w.append(QStringLiteral("текст\r\n"));
        w.boldOff();
    }) << QStringList{"*Раздел*|B|12|left", "текст|-|12|left", "|-|12|left"};

    QTest::newRow("collapsed range formats only what follows") << Script([](DocxWriter& w) {
        w.newBlock(12);
        w.append(QStringLiteral("обычный "));
        w.collapseToEnd();
        w.boldOn();
        w.append(QStringLiteral("жирный"));
    }) << QStringList{"обычный *жирный*|B|12|left"};

    QTest::newRow("lone CR and LF end paragraphs too") << Script([](DocxWriter& w) {
        w.newBlock(12);
        w.append(QStringLiteral("а\rб\nв\r\n"));
    }) << QStringList{"а|-|12|left", "б|-|12|left", "в|-|12|left", "|-|12|left"};
}

void tst_DocxWriter::formatting()
{
    QFETCH(Script, script);
    DocxWriter writer;
    script(writer);
    DocxReader reader;
    QVERIFY(readBack(writer, reader));
    QTEST(describeParagraphs(reader), "expected");
}

void tst_DocxWriter::tableAtCollapsedRange()
{
    DocxWriter writer;
    writer.newBlock(12);
    writer.append(QStringLiteral("Таблица ___ - Аварийные сценарии на объекте Склад\r\n"));
    writer.newBlock(10);
    writer.fontBoldOff();
    writer.collapseToEnd();
    DocxTable table = writer.addTable(3, 3);
    table.setAllowAutoFit(true);
    ruleLikeTheReport(table);
    const QStringList header = {"№ п/п", "Классификационный номер", "Наименование"};
    for (int c = 1; c <= 3; ++c)
        QVERIFY(table.cell(1, c).append(header[c - 1]));
    table.cell(2, 1).append("1");
    table.cell(2, 2).append("С-1");
    table.cell(2, 3).append("Разлив\r\nс возгоранием");
    table.cell(3, 1).append("2");
    table.cell(3, 2).append("С-2");
    table.fitToWindow();
    writer.newBlock(12);
    writer.append(QStringLiteral("\r\nКоличество людей - 12\r\n"));
    writer.left();

    DocxReader reader;
    QVERIFY(readBack(writer, reader));
    const auto& blocks = reader.blocks();
    // The table takes the place of the empty paragraph R was in; a paragraph follows it.
    QCOMPARE(blocks.size(), 5);
    QVERIFY(!blocks[0].isTable && blocks[1].isTable && !blocks[2].isTable);
    QCOMPARE(blocks[0].paragraph.text, QStringLiteral("Таблица ___ - Аварийные сценарии на объекте Склад"));
    QCOMPARE(describe(blocks[2].paragraph), QStringLiteral("|-|12|left"));
    QCOMPARE(blocks[3].paragraph.text, QStringLiteral("Количество людей - 12"));

    const DocxReader::Table& t = blocks[1].table;
    QCOMPARE(t.rowCount(), 3);
    QCOMPARE(t.columnCount(), 3);
    for (int c = 1; c <= 3; ++c)
        QCOMPARE(t.cellText(1, c), header[c - 1]);
    QCOMPARE(t.cellText(2, 3), QStringLiteral("Разлив\nс возгоранием"));
    QCOMPARE(t.cellText(3, 2), QStringLiteral("С-2"));
    QCOMPARE(t.cellText(3, 3), QString());
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 3; ++c)
            QCOMPARE(describe(t.cellParagraph(r, c)).section(u'|', 1), QStringLiteral("-|10|left"));
    QCOMPARE(describe(t.cells[1][2][1]), QStringLiteral("с возгоранием|-|10|left"));

    const QMap<QString, QString> expectedBorders = {
        {"top", "single/4/auto"},   {"left", "single/4/auto"},    {"bottom", "single/4/auto"},
        {"right", "single/4/auto"}, {"insideH", "single/6/auto"}, {"insideV", "single/6/auto"},
        {"tl2br", "none/0/auto"},   {"tr2bl", "none/0/auto"},
    };
    QMap<QString, QString> borders;
    for (auto it = t.borders.cbegin(); it != t.borders.cend(); ++it) {
        QVERIFY2(!it->shadow, qPrintable(it.key()));
        borders.insert(it.key(), QStringLiteral("%1/%2/%3").arg(it->style).arg(it->size).arg(it->colour));
    }
    QCOMPARE(borders, expectedBorders);
}

void tst_DocxWriter::tableLayout_data()
{
    QTest::addColumn<bool>("allowAutoFit");
    QTest::addColumn<bool>("fitToWindow");
    QTest::addColumn<QString>("widthType");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("layout");

    QTest::newRow("new table keeps its columns") << false << false << "auto" << 0 << "fixed";
    QTest::newRow("auto-fit allowed") << true << false << "auto" << 0 << "autofit";
    QTest::newRow("fitted to the window spans the text width") << true << true << "pct" << 5000 << "autofit";
    QTest::newRow("fitting implies auto-fit") << false << true << "pct" << 5000 << "autofit";
}

void tst_DocxWriter::tableLayout()
{
    QFETCH(bool, allowAutoFit);
    QFETCH(bool, fitToWindow);
    DocxWriter writer;
    DocxTable table = tableAtEnd(writer, 2, 2);
    table.setAllowAutoFit(allowAutoFit);
    if (fitToWindow)
        table.fitToWindow();

    DocxReader reader;
    QVERIFY(readBack(writer, reader));
    QCOMPARE(reader.tables().size(), 1);
    const DocxReader::Table t = reader.tables().first();
    QTEST(t.widthType, "widthType");
    QTEST(t.width, "width");
    QTEST(t.layout, "layout");
}

void tst_DocxWriter::columnWidths_data()
{
    QTest::addColumn<std::vector<double>>("weights");
    QTest::addColumn<QList<int>>("expected"); // twips of a 9355-twip text width

    QTest::newRow("no weights: equal columns") << std::vector<double>{} << QList<int>{3118, 3119, 3118};
    QTest::newRow("a results grid") << std::vector<double>{1350, 3600, 2700} << QList<int>{1651, 4402, 3302};
    QTest::newRow("a hidden column takes the average")
        << std::vector<double>{1000, 0, 2000} << QList<int>{2079, 3118, 4158};
    QTest::newRow("fewer weights than columns") << std::vector<double>{1000} << QList<int>{3118, 3119, 3118};
}

void tst_DocxWriter::columnWidths()
{
    QFETCH(std::vector<double>, weights);
    QFETCH(QList<int>, expected);
    for (const bool fitted : {false, true}) {
        DocxWriter writer;
        DocxTable table = tableAtEnd(writer, 2, 3);
        table.setColumnWeights(weights);
        if (fitted)
            table.fitToWindow();

        DocxReader reader;
        QVERIFY(readBack(writer, reader));
        const DocxReader::Table t = reader.tables().first();
        QCOMPARE(t.gridColumns, expected);
        // Word lays out by the cells' widths, LibreOffice by the grid: both must agree.
        for (const QList<int>& row : t.cellWidths)
            QCOMPARE(row, expected);
    }
}

void tst_DocxWriter::rowsAcrossPages()
{
    DocxWriter writer;
    DocxTable table = tableAtEnd(writer, 4, 2);
    table.setHeadingRows(1);
    table.setRowsBreakAcrossPages(false);
    table.cell(1, 1).append(QStringLiteral("Заголовок"));
    table.cell(2, 2).append(QStringLiteral("С0001, ").repeated(10));
    // Several pages of names in one cell: kept whole, the row would be cut off at the page's foot.
    table.cell(3, 2).append(QStringLiteral("С0001, ").repeated(4000));

    DocxReader reader;
    QVERIFY(readBack(writer, reader));
    const DocxReader::Table t = reader.tables().first();
    QCOMPARE(t.headerRows, (QList<bool>{true, false, false, false}));
    QCOMPARE(t.cantSplit, (QList<bool>{true, true, false, true}));

    // By default rows break where the page ends and none repeats, as a new table of the word processor does.
    DocxWriter plain;
    tableAtEnd(plain, 2, 2);
    QVERIFY(readBack(plain, reader));
    QCOMPARE(reader.tables().first().headerRows, (QList<bool>{false, false}));
    QCOMPARE(reader.tables().first().cantSplit, (QList<bool>{false, false}));
}

void tst_DocxWriter::tableEdgeCases()
{
    DocxWriter writer;
    writer.newBlock(12);
    QVERIFY(writer.addTable(0, 3).isNull());
    QVERIFY(writer.addTable(2, 0).isNull());
    QVERIFY(writer.lastTable().isNull());

    // Without an empty paragraph to take, the table follows the text instead of swallowing it.
    writer.boldOn();
    writer.append(QStringLiteral("Заголовок"));
    DocxTable table = writer.addTable(1, 2);
    QVERIFY(!table.isNull());
    for (const auto& [row, column] : {std::pair{0, 1}, {2, 1}, {1, 0}, {1, 3}})
        QVERIFY2(!table.cell(row, column).append("x"), qPrintable(QStringLiteral("%1,%2").arg(row).arg(column)));
    QVERIFY(table.cell(1, 2).append("b"));
    QCOMPARE(writer.lastTable().rows(), 1);
    QCOMPARE(writer.lastTable().columns(), 2);

    DocxReader reader;
    QVERIFY(readBack(writer, reader));
    QCOMPARE(reader.blocks().size(), 3);
    QCOMPARE(describe(reader.blocks()[0].paragraph), QStringLiteral("*Заголовок*|B|12|left"));
    const DocxReader::Table t = reader.blocks()[1].table;
    QCOMPARE(t.cellText(1, 1), QString());
    QCOMPARE(t.cellText(1, 2), QStringLiteral("b"));
    // A new table is ruled like Word's, without diagonals.
    QCOMPARE(t.borders.value("insideV").style, QStringLiteral("single"));
    QCOMPARE(t.borders.value("insideV").size, 4);
    QVERIFY(!t.borders.contains("tl2br"));
    QVERIFY(!reader.blocks()[2].isTable);
}

void tst_DocxWriter::pictures()
{
    // The chart export: picture, then its caption below it, both centred.
    DocxWriter writer;
    writer.setMargins(42.525);
    writer.newBlock(12);
    QVERIFY(writer.pastePicture(chartImage(QSize(800, 600))));
    QVERIFY(writer.setFirstInlinePictureWidth(425.2));
    writer.newBlock(12);
    writer.append(QStringLiteral("\r\nРис. ____ - Многоугольник распределения"));
    writer.centre();
    writer.boldOff();
    // A second figure: R's first picture is the new one, not the document's first.
    writer.newBlock();
    writer.append(QStringLiteral("\r\n"));
    writer.newBlock();
    QVERIFY(writer.pastePicture(chartImage(QSize(400, 100))));
    QVERIFY(writer.setFirstInlinePictureWidth(200));
    writer.newBlock(12);
    writer.append(QStringLiteral("\r\nРис. ____ - вторая"));
    writer.newBlock();
    QVERIFY(!writer.setFirstInlinePictureWidth(100)); // the last paragraph holds no picture

    DocxReader reader;
    QVERIFY(readBack(writer, reader));
    const auto paragraphs = reader.paragraphs();
    QCOMPARE(paragraphs.size(), 4);
    QCOMPARE(paragraphs[0].alignment, QStringLiteral("center"));
    QCOMPARE(paragraphs[0].pictures.size(), 1);
    const DocxReader::Picture first = paragraphs[0].pictures.first();
    QCOMPARE(first.widthPt, 425.2);
    QCOMPARE(first.heightPt, 318.9);
    QCOMPARE(first.pixelSize, QSize(800, 600));
    QVERIFY(reader.entry("word/document.xml").contains("cx=\"5400040\" cy=\"4050030\""));
    QCOMPARE(describe(paragraphs[1]), QStringLiteral("Рис. ____ - Многоугольник распределения|-|12|center"));

    QCOMPARE(paragraphs[2].pictures.size(), 1);
    QCOMPARE(paragraphs[2].pictures.first().widthPt, 200.0);
    QCOMPARE(paragraphs[2].pictures.first().heightPt, 50.0);
    QCOMPARE(paragraphs[2].pictures.first().pixelSize, QSize(400, 100));
    QVERIFY(first.part != paragraphs[2].pictures.first().part);
}

void tst_DocxWriter::pictureInputs()
{
    DocxWriter writer;
    writer.newBlock();
    QVERIFY(!writer.pastePicture(QImage()));
    QVERIFY(!writer.pastePicture(QByteArray("not a picture")));
    QVERIFY(!writer.setFirstInlinePictureWidth(100));

    // PNG bytes go into the package as they are; 192 dpi halves the natural size.
    QImage image = chartImage(QSize(300, 150));
    image.setDotsPerMeterX(7559);
    image.setDotsPerMeterY(7559);
    QByteArray png;
    QBuffer buffer(&png);
    QVERIFY(buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "PNG"));
    QVERIFY(writer.pastePicture(png));

    DocxReader reader;
    QVERIFY(readBack(writer, reader));
    const DocxReader::Picture picture = reader.paragraphs().first().pictures.value(0);
    QCOMPARE(reader.entry(picture.part), png);
    QVERIFY(qAbs(picture.widthPt - 112.5) < 0.1);
    QVERIFY(qAbs(picture.heightPt - 56.25) < 0.1);
    QCOMPARE(reader.entryNames().filter("media/").size(), 1);
}

void tst_DocxWriter::pageBreakStartsTheNextText()
{
    DocxWriter writer;
    writer.newBlock(12);
    writer.append(QStringLiteral("Раздел 1\r\n"));
    writer.newBlock();
    writer.insertPageBreak();
    writer.newBlock(16);
    writer.fontBoldOn();
    writer.append(QStringLiteral("Раздел 2\r\n"));
    writer.centre();
    writer.boldOn();

    DocxReader reader;
    QVERIFY(readBack(writer, reader));
    QCOMPARE(describeParagraphs(reader),
             QStringList({"Раздел 1|-|12|left", "<break>*Раздел 2*|B|16|center", "|B|16|center"}));
}

void tst_DocxWriter::escaping_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    const QString markup = QStringLiteral("<w:t>&amp; \"кавычки\" 'апостроф' ]]> a<b");
    QTest::newRow("markup characters") << markup << markup;
    const QString symbols = QStringLiteral("Ущерб ≥ 1 млн.руб/год — «Склад №5» ½ 😀");
    QTest::newRow("Cyrillic and other non-ASCII") << symbols << symbols;
    QTest::newRow("risk line keeps its three blanks")
        << QStringLiteral("   риск, 1/год   1,2E-05   ") << QStringLiteral("   риск, 1/год   1,2E-05   ");
    QTest::newRow("tab and vertical tab") << QStringLiteral("а\tб\vв") << QStringLiteral("а\tб\nв");
    QTest::newRow("characters XML cannot carry are dropped")
        << QStringLiteral("а") + QChar(0x01) + QStringLiteral("б") + QChar(0x1F) + QChar(0xFFFF) + QStringLiteral("в")
        << QStringLiteral("абв");
}

void tst_DocxWriter::escaping()
{
    QFETCH(QString, text);
    DocxWriter writer;
    writer.newBlock(12);
    writer.append(text);
    writer.newBlock(10);
    writer.append(QStringLiteral("\r\n"));
    writer.collapseToEnd();
    writer.addTable(1, 1).cell(1, 1).append(text);

    DocxReader reader;
    QVERIFY(readBack(writer, reader));
    QTEST(reader.paragraphs().first().text, "expected");
    QTEST(reader.tables().first().cellText(1, 1), "expected");
}

void tst_DocxWriter::saveWritesPackageAndReplacesOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Отчёт.docx"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old contents") > 0);
    old.close();

    DocxWriter writer;
    writer.newBlock(12);
    writer.append(QStringLiteral("Новый текст"));
    QVERIFY(writer.pastePicture(chartImage(QSize(50, 50))));
    QString error;
    QVERIFY2(writer.save(path, &error), qPrintable(error));
    QCOMPARE(folderEntries(dir.path()), QStringList{"Отчёт.docx"});

    DocxReader reader;
    QVERIFY2(reader.load(path), qPrintable(reader.errorString()));
    QCOMPARE(reader.paragraphTexts(), QStringList{"Новый текст"});
    for (const char* part : {"[Content_Types].xml", "_rels/.rels", "word/document.xml", "word/_rels/document.xml.rels",
                             "word/styles.xml", "docProps/core.xml", "docProps/app.xml", "word/media/image1.png"})
        QVERIFY2(reader.entryNames().contains(QString::fromLatin1(part)), part);
    const QByteArray types = reader.entry("[Content_Types].xml");
    QVERIFY(types.contains("Extension=\"png\""));
    QVERIFY(types.contains("wordprocessingml.document.main+xml"));
    QVERIFY(reader.entry("word/styles.xml").contains("Times New Roman"));
    // Regular files readable by everyone: unzipped parts must not come out with mode 000.
    for (const QString& name : reader.entryNames())
        QVERIFY2(reader.entryMode(name) == 0100644,
                 qPrintable(name + u' ' + QString::number(reader.entryMode(name), 8)));
}

void tst_DocxWriter::saveFailures_data()
{
    QTest::addColumn<QString>("target"); // relative to a fresh temporary folder
    QTest::addColumn<QString>("reason");

    QTest::newRow("folder does not exist") << "нет такой папки/Отчёт.docx"
                                           << "не существует";
    QTest::newRow("target is a folder") << "папка"
                                        << "это папка";
    QTest::newRow("parent is a file") << "файл/Отчёт.docx"
                                      << "не существует";
    QTest::newRow("folder not writable") << "только чтение/Отчёт.docx"
                                         << "нет права записи";
}

void tst_DocxWriter::saveFailures()
{
    QFETCH(QString, target);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("папка")));
    QFile file(dir.filePath(QStringLiteral("файл")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const QString readOnly = dir.filePath(QStringLiteral("только чтение"));
    QVERIFY(QDir().mkdir(readOnly));
    QVERIFY(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner));
    if (target.startsWith(QStringLiteral("только чтение")) && QFileInfo(readOnly).isWritable()) {
        QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QSKIP("running with rights that ignore folder permissions (root)");
    }
    const QStringList before = folderEntries(dir.path());

    DocxWriter writer;
    writer.newBlock(12);
    writer.append(QStringLiteral("текст"));
    QString error;
    const QString path = dir.filePath(target);
    const bool saved = writer.save(path, &error);
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QVERIFY(!saved);
    QVERIFY2(error.startsWith(QStringLiteral("Не удалось сохранить документ")), qPrintable(error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    QVERIFY(!QFileInfo(path).isFile());
    QCOMPARE(folderEntries(dir.path()), before);
    QCOMPARE(folderEntries(readOnly), QStringList());
    QCOMPARE(folderEntries(dir.filePath(QStringLiteral("папка"))), QStringList());
}

void tst_DocxWriter::failedWriteKeepsExistingFile()
{
#ifdef Q_OS_LINUX
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Отчёт.docx"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old contents") > 0);
    old.close();

    DocxWriter writer;
    writer.newBlock();
    QVERIFY(writer.pastePicture(noiseImage(QSize(200, 200))));
    QVERIFY(writer.toDocx().size() > 100000);

    // A file size limit makes the write fail the way a full disk does.
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 32 * 1024;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error;
    const bool ok = writer.save(path, &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!ok);
    QVERIFY2(error.contains(QStringLiteral("ошибка записи на диск")), qPrintable(error));
    QCOMPARE(folderEntries(dir.path()), QStringList{"Отчёт.docx"});
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old contents"));
#else
    QSKIP("needs a file size limit to simulate a full disk");
#endif
}

void tst_DocxWriter::libreOfficeRendersTheDocument()
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    if (soffice.isEmpty() || pdftotext.isEmpty() || pdfinfo.isEmpty())
        QSKIP("LibreOffice (soffice) or poppler-utils (pdftotext, pdfinfo) not on PATH: document not rendered");

    // A report in miniature: title, fitted table, figure with caption, page break, a second section.
    DocxWriter w;
    w.setMargins(42.6);
    w.newBlock(12);
    w.boldOn();
    w.append(
        QStringLiteral("Показатели социального риска опасного производственного объекта \"Склад <№1> & Ко\"\r\n\r\n"));
    w.centre();
    w.newBlock(12);
    w.fontBoldOff();
    w.append(QStringLiteral("Таблица ___ - Аварийные сценарии на объекте Склад\r\n"));
    w.left();
    w.newBlock(10);
    w.fontBoldOff();
    w.collapseToEnd();
    DocxTable table = w.addTable(2, 3);
    table.setAllowAutoFit(true);
    ruleLikeTheReport(table);
    const QStringList cells = {"№ п/п", "Классификационный номер", "Наименование", "1", "С-1", "Разлив нефти"};
    for (int i = 0; i < cells.size(); ++i)
        table.cell(i / 3 + 1, i % 3 + 1).append(cells[i]);
    table.fitToWindow();
    w.newBlock(12);
    w.append(QStringLiteral("\r\nКоличество людей подвергаемых действиям опасных факторов (число рискующих) - 12\r\n"));
    w.left();
    w.boldOff();
    w.newBlock(12);
    w.centre();
    w.newBlock();
    w.centre();
    QVERIFY(w.pastePicture(chartImage(QSize(800, 600))));
    QVERIFY(w.setFirstInlinePictureWidth(425.2));
    w.newBlock(12);
    w.centre();
    w.append(QStringLiteral("\r\nРис. ____ - Многоугольник распределения количества погибших\r\n"));
    w.boldOff();
    w.newBlock();
    w.insertPageBreak();
    w.newBlock(12);
    w.fontBoldOff();
    w.append(QStringLiteral("Социальный риск тяжелых поражений\r\n"));
    w.centre();
    w.boldOn();
    w.newBlock(12);
    w.fontBoldOff();
    w.append(QStringLiteral("\r\nДанные не введены\r\n"));
    w.left();
    w.boldOff();

    QTemporaryDir dir;
    const QString docx = dir.filePath(QStringLiteral("report.docx"));
    QString error;
    QVERIFY2(w.save(docx, &error), qPrintable(error));

    // A private profile and HOME: works as root and beside a running LibreOffice.
    QProcess convert;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), dir.filePath(QStringLiteral("home")));
    convert.setProcessEnvironment(env);
    convert.setProcessChannelMode(QProcess::MergedChannels);
    convert.start(soffice, {QStringLiteral("-env:UserInstallation=") +
                                QUrl::fromLocalFile(dir.filePath(QStringLiteral("profile"))).toString(),
                            QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("pdf"),
                            QStringLiteral("--outdir"), dir.path(), docx});
    QVERIFY2(convert.waitForFinished(120000), "LibreOffice did not finish converting within 120 s");
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    QVERIFY2(QFileInfo::exists(pdf), convert.readAll().constData());

    const auto run = [](const QString& program, const QStringList& arguments) {
        QProcess process;
        process.start(program, arguments);
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    const QString info = run(pdfinfo, {pdf});
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n"))), qPrintable(info));
    QVERIFY2(info.contains(QStringLiteral("(A4)")), qPrintable(info));

    const QString page1 = run(pdftotext, {"-layout", "-f", "1", "-l", "1", pdf, "-"}).simplified();
    const QString page2 = run(pdftotext, {"-layout", "-f", "2", "-l", "2", pdf, "-"}).simplified();
    const QStringList inOrder = {
        "Показатели социального риска опасного производственного объекта \"Склад <№1> & Ко\"",
        "Таблица ___ - Аварийные сценарии на объекте Склад",
        "№ п/п",
        "Классификационный номер",
        "Наименование",
        "С-1",
        "Разлив нефти",
        "Количество людей подвергаемых действиям опасных факторов (число рискующих) - 12",
        "Рис. ____ - Многоугольник распределения количества погибших",
    };
    qsizetype from = 0;
    for (const QString& text : inOrder) {
        const qsizetype at = page1.indexOf(text, from);
        QVERIFY2(at >= 0, qPrintable(QStringLiteral("'%1' not found in order on page 1:\n%2").arg(text, page1)));
        from = at + text.size();
    }
    QVERIFY2(page2.startsWith(QStringLiteral("Социальный риск тяжелых поражений")), qPrintable(page2));
    QVERIFY(page2.contains(QStringLiteral("Данные не введены")));
    QVERIFY(!page1.contains(QStringLiteral("Данные не введены")));
}

int main(int argc, char** argv)
{
    // LibreOffice's first start with a fresh profile may take longer than the default watchdog allows.
    if (qEnvironmentVariableIntValue("QTEST_FUNCTION_TIMEOUT") < 180000)
        qputenv("QTEST_FUNCTION_TIMEOUT", "180000");
    QGuiApplication app(argc, argv);
    tst_DocxWriter test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_DocxWriter.moc"

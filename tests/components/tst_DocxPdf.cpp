// A document saved as PDF: the same text, tables, pictures and pages, written by the program itself.

#include "components/DocxWriter.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString runTool(const QString& tool, const QStringList& arguments)
{
    QProcess p;
    p.start(tool, arguments);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString squeezed(QString s)
{
    return s.simplified().remove(QLatin1Char(' '));
}

} // namespace

class tst_DocxPdf : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        for (const char* tool : {"pdftotext", "pdfinfo", "pdffonts"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP("poppler-utils (pdftotext, pdfinfo, pdffonts) not on PATH");
    }

    void sameContentAsTheDocument()
    {
        DocxWriter w;
        w.setMargins(42.5);
        w.newBlock(14);
        w.centre();
        w.boldOn();
        w.append(QStringLiteral("Социальный риск гибели людей\r\n"));
        w.boldOff();
        w.left();
        w.newBlock(12);
        w.append(QStringLiteral("Коллективный риск гибели, чел./год   1,162E-03\r\n"));
        w.collapseToEnd();
        w.addTable(3, 2);
        DocxTable t = w.lastTable();
        t.setBorder(DocxTable::Border::Top, DocxTable::LineStyle::Single, 0.5);
        t.cell(1, 1).append(QStringLiteral("Число погибших"));
        t.cell(1, 2).append(QStringLiteral("Частота"));
        t.cell(2, 1).append(QStringLiteral("1"));
        t.cell(2, 2).append(QStringLiteral("4,800E-04"));
        t.cell(3, 1).append(QStringLiteral("40"));
        t.cell(3, 2).append(QStringLiteral("0,800E-06"));
        w.newBlock();
        QImage picture(400, 300, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(w.pastePicture(picture));
        w.newBlock();
        w.insertPageBreak();
        w.append(QStringLiteral("Вторая страница\r\n"));

        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("отчет.pdf"));
        QString error;
        QVERIFY2(w.save(file, &error), qPrintable(error));
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.read(5), QByteArray("%PDF-"));

        const QString text = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
        const QStringList pages = text.split(QLatin1Char('\f'));
        QVERIFY2(squeezed(pages.value(0)).contains(squeezed(QStringLiteral("Коллективный риск гибели, чел./год 1,162E-03"))),
                 qPrintable(text));
        for (const char* cell : {"Число погибших", "4,800E-04", "0,800E-06"})
            QVERIFY2(pages.value(0).contains(QString::fromUtf8(cell)), cell);
        QVERIFY(pages.value(1).contains(QStringLiteral("Вторая страница")));
        const QString info = runTool(QStringLiteral("pdfinfo"), {file});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n"))), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+595(\\.\\d+)? x 84[12]"))), qPrintable(info));
        // Every font is embedded: a reader without them shows the same document.
        const QStringList fonts = runTool(QStringLiteral("pdffonts"), {file}).split(QLatin1Char('\n')).mid(2);
        QVERIFY(!fonts.join(QString()).trimmed().isEmpty());
        for (const QString& line : fonts)
            if (!line.trimmed().isEmpty())
                QVERIFY2(line.contains(QStringLiteral(" yes ")), qPrintable(line));
        // The picture is there, red.
        const QString png = dir.filePath(QStringLiteral("page"));
        runTool(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("30"),
                                            QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                            QStringLiteral("1"), file, png});
        QImage page(png + QStringLiteral("-1.png"));
        QVERIFY(!page.isNull());
        int red = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if (page.pixelColor(x, y).red() > 200 && page.pixelColor(x, y).green() < 60)
                    ++red;
        QVERIFY2(red > 500, qPrintable(QString::number(red)));
    }
};

QTEST_MAIN(tst_DocxPdf)
#include "tst_DocxPdf.moc"

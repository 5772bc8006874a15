// The comparison window and the command line that draws the same chart without it.

#include "TestHome.h"
#include "components/Form.h"
#include "core/Shared.h"
#include "gui/DocxReader.h"
#include "gui/Scripted.h"
#include "windows/results/BatchCompare.h"
#include "windows/results/frmOutput.h"
#include "windows/results/frmSravnenie.h"

#include <QCommandLineParser>
#include <QDir>
#include <QTemporaryDir>
#include <QFile>
#include <QTest>

using namespace zarnel;

namespace {

void TwoVariants()
{
    testing::object("До мероприятий", 100).scenario("С1", 1e-4).kills(1).scenario("С2", 1e-5).kills(10);
    testing::object("После мероприятий", 100).scenario("С1", 5e-5).kills(2);
    testing::object("Склад", 100).scenario("С1", 1e-3).damage(4);
}

} // namespace

class tst_frmSravnenie : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_home = std::make_unique<testing::TestHome>(); }
    void cleanup()
    {
        testing::resetWindows();
        m_home.reset();
    }
    void comparesInTheOrderTicked();
    void refusals_data();
    void refusals();
    void redrawKeepsTheCurves();
    void commandLine_data();
    void commandLine();

private:
    std::unique_ptr<testing::TestHome> m_home;
};

void tst_frmSravnenie::comparesInTheOrderTicked()
{
    TwoVariants();
    frmOutput* output = forms().get<frmOutput>();
    output->mnuSravnenie->trigger();
    frmSravnenie* f = forms().find<frmSravnenie>();
    QVERIFY(f && f->isVisible());
    QCOMPARE(f->lstObjekt->count(), 3);

    QVERIFY(f->choose("После мероприятий"));
    QVERIFY(f->choose("До мероприятий"));
    testing::ScriptedMessages messages;
    f->Command1->click();
    QCOMPARE(messages.texts(), QStringList());

    // The first ticked is the base: its curve comes first, each in its own colour, solid, named in the legend.
    const auto overlays = f->ctlChart1->overlays();
    QCOMPARE(overlays.size(), 2);
    QCOMPARE(overlays[0].name, "После мероприятий");
    QCOMPARE(overlays[1].name, "До мероприятий");
    QVERIFY(overlays[0].colour != overlays[1].colour);
    QVERIFY(!overlays[0].dashed && !overlays[1].dashed);
    QCOMPARE(f->tabSrav->TextMatrix(1, 0), "После мероприятий");
    QCOMPARE(f->tabSrav->TextMatrix(2, 1), "2,000E-04");
    QCOMPARE(f->tabSrav->TextMatrix(2, 5), "+100,0");
    QCOMPARE(f->OX2->text(), "11");
}

void tst_frmSravnenie::refusals_data()
{
    QTest::addColumn<QStringList>("ticked");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");

    QTest::newRow("one object") << QStringList{"Склад"} << int(KindFatalities)
                                << "Отметьте от 2 до 6 объектов для сравнения!";
    QTest::newRow("no one has the kind") << QStringList{"Склад", "До мероприятий"} << int(KindSevere)
                                         << "Ни у одного из отмеченных объектов нет показателей вида «Тяжелые "
                                            "поражения»!";
}

void tst_frmSravnenie::refusals()
{
    QFETCH(QStringList, ticked);
    QFETCH(int, kind);
    TwoVariants();
    frmSravnenie* f = forms().get<frmSravnenie>();
    for (const QString& name : ticked)
        QVERIFY(f->choose(name));
    f->setKind(kind);
    testing::ScriptedMessages messages;
    f->Command1->click();
    QTEST(messages.texts().value(0), "message");
    QVERIFY(f->ctlChart1->overlays().isEmpty());
    QVERIFY(!f->Command2->isEnabled());
}

void tst_frmSravnenie::redrawKeepsTheCurves()
{
    TwoVariants();
    frmSravnenie* f = forms().get<frmSravnenie>();
    f->choose("До мероприятий");
    f->choose("После мероприятий");
    f->Command1->click();

    f->OX1->setText("1");
    f->OX2->setText("100");
    f->OptionXLog->setChecked(true);
    f->Command2->click();
    QCOMPARE(f->ctlChart1->axistypex(), 1);
    QCOMPARE(f->ctlChart1->maxx(), 100.0);
    QCOMPARE(f->ctlChart1->overlays().size(), 2);

    // The results charts' checks: the chart stays as it was.
    f->OX1->setText("-5");
    f->OX2->setText("-1");
    testing::ScriptedMessages messages;
    f->Command2->click();
    QCOMPARE(messages.texts(), QStringList{"На логарифмической шкале верхняя граница по OX должна быть больше нуля!"});
    QCOMPARE(f->ctlChart1->maxx(), 100.0);
}

void tst_frmSravnenie::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments"); // FILE stands for a file in a fresh folder
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message"); // of the comparison itself; empty: refused before it

    const QString both = "До мероприятий;После мероприятий";
    QTest::newRow("picture") << QStringList{"--compare", both, "--kind", "0", "--out", "FILE.png"} << 0 << "";
    QTest::newRow("document") << QStringList{"--compare", both, "--kind", "0", "--out", "FILE.docx"} << 0 << "";
    QTest::newRow("PDF") << QStringList{"--compare", both, "--kind", "0", "--out", "FILE.pdf"} << 0 << "";
    QTest::newRow("one object") << QStringList{"--compare", "Склад", "--kind", "0", "--out", "FILE.png"} << 1
                                << "Для сравнения нужно от 2 до 6 объектов";
    QTest::newRow("seven objects") << QStringList{"--compare", "А;Б;В;Г;Д;Е;Ж", "--kind", "0", "--out", "FILE.png"}
                                   << 1 << "Для сравнения нужно от 2 до 6 объектов";
    QTest::newRow("no such kind") << QStringList{"--compare", both, "--kind", "5", "--out", "FILE.png"} << 1
                                  << "Вид последствий --kind";
    QTest::newRow("kind missing") << QStringList{"--compare", both, "--out", "FILE.png"} << 1
                                  << "Вид последствий --kind";
    QTest::newRow("other file type") << QStringList{"--compare", both, "--kind", "0", "--out", "FILE.txt"} << 1
                                     << "Не указан файл сравнения";
    QTest::newRow("kind without compare") << QStringList{"--kind", "0"} << 1 << ""; // refused before any comparison
    QTest::newRow("with report") << QStringList{"--compare", both, "--report", "Склад", "--kind", "0", "--out",
                                                "FILE.png"}
                                 << 1 << "";
    QTest::newRow("no such object") << QStringList{"--compare", "До мероприятий;Цех 5", "--kind", "0", "--out",
                                                   "FILE.png"}
                                    << 2 << "Объект \"Цех 5\" не найден в базе данных.";
    QTest::newRow("none has the kind") << QStringList{"--compare", both, "--kind", "3", "--out", "FILE.png"} << 3
                                       << "Ни у одного из объектов нет показателей этого вида.";
    QTest::newRow("folder missing") << QStringList{"--compare", both, "--kind", "0", "--out", "нет/FILE.docx"} << 5
                                    << "Не удалось сохранить документ";
}

void tst_frmSravnenie::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    TwoVariants();
    QTemporaryDir dir;
    const QString file = dir.filePath("сравнение");
    arguments.replaceInStrings("FILE", file);

    QCommandLineParser parser;
    AddBatchReportOptions(parser);
    AddBatchCompareOptions(parser);
    QVERIFY(parser.parse(QStringList{"zarnel"} + arguments));
    const QString out = parser.value("out");
    QCOMPARE(RunBatchCompareIfRequested(parser).value_or(-1), exitCode);
    if (!message.isEmpty()) {
        const BatchReportOutcome outcome =
            RunBatchCompare({parser.value("compare"), parser.value("kind"), parser.value("out")});
        QVERIFY2(outcome.message.startsWith(message), qPrintable(outcome.message));
    }
    QVERIFY(forms().loaded().isEmpty());

    if (exitCode != 0) {
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
        return;
    }
    if (out.endsWith(".pdf")) {
        QFile pdf(out);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QCOMPARE(pdf.read(5), QByteArray("%PDF-"));
    } else if (out.endsWith(".png")) {
        const QImage picture(out);
        QVERIFY(!picture.isNull());
        QVERIFY(picture.width() > 1000);
    } else {
        DocxReader reader;
        QVERIFY2(reader.load(out), qPrintable(reader.errorString()));
        QVERIFY(reader.paragraphTexts().join("\n").contains(
            "сравнение вариантов: «До мероприятий», «После мероприятий»"));
    }
}

QTEST_MAIN(tst_frmSravnenie)
#include "tst_frmSravnenie.moc"

// The results window's own behaviour: the axis options at start, "Построить" refusing bounds it cannot draw
// (message, chart unchanged), a repeated redraw, and what a redrawn chart looks like.

#include "gui/Scripted.h"
#include "gui/Helpers.h"

#include "core/Formats.h"
#include "risk/Build.h"
#include "risk/Kinds.h"
#include "windows/results/frmOutput.h"

#include <QTemporaryDir>
#include <QTest>

#include <qcustomplot.h>

using namespace zarnel;

namespace {

const QString kTitle = QStringLiteral("В н и м а н и е ! ! !");

// Points a build would have stored: step charts the fatalities example (values 1 and 3), polygons its two
// data points; every chart's boxes hold bounds that draw.
void storePoints(frmOutput* out)
{
    for (int c = 1; c <= 10; ++c) {
        ChartPoints[c] =
            c % 2 ? QVector<QPointF>{{3, 3e-5}, {1, 3e-5}, {1, 1.3e-4}} : QVector<QPointF>{{1, 1e-4}, {3, 3e-5}};
        ChartPointCount[c] = int(ChartPoints[c].size());
        const frmOutput::ChartControls& k = out->chartControls(c);
        k.xFrom->setText("1");
        k.xTo->setText("4");
        k.yFrom->setText("2,700E-05");
        k.yTo->setText("1,430E-04");
    }
}

// What a chart shows, as far as a refused redraw must leave it alone.
QStringList state(const ctlChart* c)
{
    return {QString::number(c->minx()),
            QString::number(c->maxx()),
            QString::number(c->miny()),
            QString::number(c->maxy()),
            QString::number(c->axistypex()),
            QString::number(c->axistypey()),
            QString::number(c->tickfreqx()),
            QString::number(c->plot()->plottableCount()),
            QString::number(c->plot()->itemCount())};
}

int pixelsNear(const QImage& image, const QColor& colour, int tolerance = 60)
{
    return testing::pixelsNear(image, colour, tolerance);
}

} // namespace

class frmOutputTest : public QObject {
    Q_OBJECT

private:
    frmOutput* out = nullptr;
    std::unique_ptr<testing::ScriptedMessages> msgs;

private Q_SLOTS:
    void initTestCase() { SetRussianLocale(); }

    void init()
    {
        msgs = std::make_unique<testing::ScriptedMessages>();
        out = forms().get<frmOutput>();
        storePoints(out);
    }

    void cleanup()
    {
        testing::resetWindows();
        msgs.reset();
    }

    void optionsShowTheAxesDrawn()
    {
        for (int c = 1; c <= 10; ++c) {
            const frmOutput::ChartControls& k = out->chartControls(c);
            QCOMPARE(k.xLog->isChecked(), k.chart->axistypex() == 1);
            QCOMPARE(k.xLinear->isChecked(), k.chart->axistypex() == 0);
            QCOMPARE(k.yLog->isChecked(), k.chart->axistypey() == 1);
            QCOMPARE(k.xDivisions->text(), QStringLiteral("10"));
            QCOMPARE(k.yDivisions->text(), QStringLiteral("10"));
        }
        // The F/n charts of fatalities and severe injuries start with a linear X axis, every other axis log.
        QVERIFY(out->Option8->isChecked());
        QVERIFY(out->Option12->isChecked());
        QVERIFY(out->Option3->isChecked());
        QVERIFY(out->Option6->isChecked());
        QVERIFY(out->Option39->isChecked());
    }

    // The look every chart has before the first build: axis titles, tick formats, axis types, colours, and the
    // captions of the axis frames beside it.
    void designSettings_data()
    {
        QTest::addColumn<int>("chart");
        QTest::addColumn<QString>("titleX");
        QTest::addColumn<QString>("titleY");
        QTest::addColumn<QString>("formatX");
        QTest::addColumn<int>("logY");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<QString>("captionX");
        QTest::addColumn<QString>("captionY");

        const auto row = [](int c, const char* tx, const char* ty, const char* fx, int logY, QColor colour,
                            const char* cx, const char* cy) {
            QTest::addRow("chart %d", c) << c << QString::fromUtf8(tx) << QString::fromUtf8(ty) << QString::fromUtf8(fx)
                                         << logY << colour << QString::fromUtf8(cx) << QString::fromUtf8(cy);
        };
        row(1, "Количество погибших, не менее n человек", "Вероятность гибели за год, более n человек [1-F(n)]", "0", 1,
            QColor(255, 0, 0), "Кол-во погибших, чел.", "Вероятность гибели за год");
        row(2, "Количество погибших, n человек", "Вероятность гибели за год, n человек", "0.00E-00", 1,
            QColor(255, 0, 0), "Кол-во погибших, чел.", "Вероятность гибели за год");
        row(3, "Количество тяжело пораженных, не менее n человек",
            "Вероятность тяжелых поражений за год, более n человек [1-F(n)]", "0", 1, QColor(0, 0, 192),
            "Кол-во тяжело пораженных, чел.", "Вероятность тяжелых поражений за год");
        row(4, "Количество тяжело пораженных, n человек", "Вероятность тяжелых поражений за год, n человек", "0", 1,
            QColor(0, 0, 255), "Кол-во тяжело пораженных, чел.", "Вероятность тяжелых поражений за год");
        row(5, "Количество легко пораженных, не менее n человек",
            "Вероятность легких поражений за год, более n человек [1-F(n)]", "0", 1, QColor(0, 128, 0),
            "Кол-во легко пораженных, чел.", "Вероятность легких поражений за год");
        row(6, "Количество легко пораженных, n человек", "Вероятность легких поражений за год, n человек", "0", 1,
            QColor(0, 128, 0), "Кол-во легко пораженных, чел.", "Вероятность легких поражений за год");
        row(7, "Количество санитарных потерь, не менее n человек",
            "Вероятность санитарных потерь за год, более n человек [1-F(n)]", "0", 1, QColor(255, 128, 0),
            "Кол-во санитарных потерь, чел.", "Вероятность санитарных потерь за год");
        // Two blanks after the comma, as the chart has always been titled.
        row(8, "Количество санитарных потерь, n человек", "Вероятность санитарных потерь за год,  n человек", "0", 1,
            QColor(255, 128, 0), "Кол-во санитарных потерь, чел.", "Вероятность санитарных потерь за год");
        row(9, "Размер ущерба, не менее G млн.руб", "Вероятность ущерба за год, более G млн.руб", "0", 1,
            QColor(192, 0, 192), "Размер ущерба", "Вероятность ущерба за год");
        row(10, "Размер ущерба, G млн.руб", "Вероятность ущерба за год, G млн.руб", "0", 1, QColor(192, 0, 192),
            "Размер ущерба, млн. руб.", "Вероятность ущерба за год");
    }

    void designSettings()
    {
        QFETCH(int, chart);
        QFETCH(QString, titleX);
        QFETCH(QString, titleY);
        QFETCH(QString, formatX);
        QFETCH(int, logY);
        QFETCH(QColor, colour);
        QFETCH(QString, captionX);
        QFETCH(QString, captionY);

        const frmOutput::ChartControls& k = out->chartControls(chart);
        const ctlChart* c = k.chart;
        QCOMPARE(c->titlex(), titleX);
        QCOMPARE(c->titley(), titleY);
        QCOMPARE(c->formatx(), formatX);
        QCOMPARE(c->formaty(), QStringLiteral("0.00E-00"));
        QCOMPARE(c->axistypey(), logY);
        QCOMPARE(c->axistypex(), chart == 1 || chart == 3 ? 0 : 1); // the F/n charts of kinds 0 and 1: linear X
        QCOMPARE(c->minx(), 1.0);
        QCOMPARE(c->maxx(), 8.0);
        QCOMPARE(c->bulletwidth(), 2);
        QCOMPARE(c->chartbackcolor(), QColor(Qt::white));
        QVERIFY(!c->autoscalex() && !c->autoscaley());
        QCOMPARE(c->axistitlecolor(), colour);
        if (chart == 2)
            QCOMPARE(c->curvecolor(), QColor(Qt::black));
        else if (chart != 1) // chart 1 keeps the control's own curve colour
            QCOMPARE(c->curvecolor(), colour);

        const auto frameTexts = [](const QWidget* box) {
            const auto* frame = qobject_cast<const QGroupBox*>(box->parentWidget());
            QStringList texts{frame ? frame->title() : QString()};
            for (const QLabel* l : box->parentWidget()->findChildren<QLabel*>())
                texts << l->text();
            for (const QRadioButton* b : box->parentWidget()->findChildren<QRadioButton*>())
                texts << b->text();
            return texts;
        };
        const QStringList x = frameTexts(k.xFrom);
        const QStringList y = frameTexts(k.yFrom);
        QCOMPARE(x.first(), QStringLiteral("Ось ОХ"));
        QCOMPARE(y.first(), QStringLiteral("Ось ОУ"));
        for (const QString& t : {QStringLiteral("от"), QStringLiteral("до"), QStringLiteral("число разбиений"),
                                 QStringLiteral("Линейная"), QStringLiteral("Логарифмическая")}) {
            QVERIFY2(x.contains(t), qPrintable(t));
            QVERIFY2(y.contains(t), qPrintable(t));
        }
        QVERIFY2(x.contains(captionX), qPrintable(x.join(" | ")));
        QVERIFY2(y.contains(captionY), qPrintable(y.join(" | ")));
        QCOMPARE(k.build->text(), QStringLiteral("Построить"));
        QCOMPARE(k.toWord->text(), QStringLiteral("Вывод графика в MWord"));
    }

    // The captions the report reuses (inner tabs) and the captions above the indicator values.
    void kindPages_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("inner");
        QTest::addColumn<QStringList>("valueCaptions");
        QTest::addColumn<QColor>("colour");

        const QStringList people{"Коллективный риск, чел./год", "Индивидуальный риск, 1/год"};
        QTest::newRow("fatalities")
            << 0 << "СМЕРТЕЛЬНЫЕ ПОРАЖЕНИЯ"
            << QStringList{"Интегральная функция распределения числа погибших при расчетных аварийных сценариях, "
                           "диаграмма F/>=n гибели",
                           "Многоугольник распределения количества погибших при расчетных сценариях в год",
                           "Показатели социального риска гибели людей не менее и равного n человек при реализации "
                           "аварийных сценариев в течение года"}
            << people << QColor(255, 0, 0);
        QTest::newRow("severe injuries")
            << 1 << "ТЯЖЕЛЫЕ ПОРАЖЕНИЯ"
            << QStringList{"Интегральная функция распределения числа тяжело пораженных при расчетных аварийных "
                           "сценариях, диаграмма F/>=n тяжелого поражения",
                           "Многоугольник распределения количества тяжело пораженных при расчетных сценариях в год",
                           "Показатели социального риска тяжелого поражения людей не менее и равного n человек при "
                           "реализации аварийных сценариев в течение года"}
            << people << QColor(0, 0, 255);
        QTest::newRow("light injuries")
            << 2 << "ЛЕГКИЕ ПОРАЖЕНИЯ"
            << QStringList{"Интегральная функция распределения числа легко пораженных при расчетных аварийных "
                           "сценариях, диаграмма F/>=n легкого поражения",
                           "Многоугольник распределения количества легко пораженных при расчетных сценариях в год",
                           "Показатели социального риска легкого поражения людей не менее и равного n человек при "
                           "реализации аварийных сценариев в течение года"}
            << people << QColor(0, 192, 0);
        QTest::newRow("sanitary losses")
            << 4 << "САНИТАРНЫЕ ПОТЕРИ"
            << QStringList{"Интегральная функция распределения числа санитарных потерь при расчетных аварийных "
                           "сценариях, диаграмма F/>=n санитарных потерь",
                           "Многоугольник распределения количества санитарных потерь при расчетных сценариях в год",
                           "Показатели социального риска санитарных потерь поражения людей не менее и равного n "
                           "человек при реализации аварийных сценариев в течение года"}
            << people << QColor(255, 128, 0);
        QTest::newRow("damage")
            << 3 << "УЩЕРБ"
            << QStringList{"Интегральная функция распределения ущерба при расчетных аварийных сценариях, диаграмма "
                           "F/>=G ущерба",
                           "Многоугольник распределения размера ущерба при расчетных сценариях в год",
                           "Показатели социального риска ущерба не менее и равного G млн.руб. при реализации "
                           "аварийных сценариев в течение года"}
            << QStringList{"Среднеожидаемый ущерб млн.руб./год"} << QColor(192, 0, 192);
    }

    void kindPages()
    {
        QFETCH(int, kind);
        QFETCH(QString, page);
        QFETCH(QStringList, inner);
        QFETCH(QStringList, valueCaptions);
        QFETCH(QColor, colour);

        const int outerPage = KindInfoOf(kind).outerPage;
        QCOMPARE(out->SSTab2->tabText(outerPage), page);
        QTabWidget* tabs = out->innerTabs(kind);
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(out->SSTab2->widget(outerPage)->isAncestorOf(tabs), true);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(tabs->tabText(i), inner[i]);

        QLabel* collective = out->collectiveLabel(kind);
        QLabel* individual = out->individualLabel(kind);
        QCOMPARE(individual == nullptr, valueCaptions.size() == 1);
        QStringList captions;
        for (const QLabel* l : collective->parentWidget()->findChildren<QLabel*>()) {
            if (l == collective || l == individual || l == out->limitLabel(kind))
                continue;
            captions << l->text();
            QCOMPARE(l->palette().color(QPalette::WindowText), colour);
        }
        QCOMPARE(captions, valueCaptions);
        QCOMPARE(collective->palette().color(QPalette::WindowText), colour);
        if (individual)
            QCOMPARE(individual->palette().color(QPalette::WindowText), colour);
        QVERIFY(tabs->widget(2)->isAncestorOf(out->resultGrid(kind)));
    }

    void refusedBoundsLeaveTheChart_data()
    {
        QTest::addColumn<int>("chart");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");

        QTest::newRow("OX upper below lower") << 1 << "OX2"
                                              << "0"
                                              << "Нижняя граница по OX должна быть меньше или равна верхней!";
        QTest::newRow("OY upper below lower") << 2 << "OY1_mn"
                                              << "1"
                                              << "Нижняя граница по OY должна быть меньше или равна верхней!";
        QTest::newRow("no number") << 9 << "OX1u"
                                   << "abc"
                                   << "Границы по OX должны быть заданы числами!";
        QTest::newRow("more divisions than drawn") << 3 << "nOYt"
                                                   << "1000"
                                                   << "Число разбиений по OY должно быть целым числом от 1 до 100!";
        QTest::newRow("whole bound beyond 32 bits")
            << 3 << "OX2t"
            << "3000000000"
            << "Границы по OX округляются до целых чисел и должны лежать в пределах от -2147483648 до 2147483647!";
        QTest::newRow("polygon bounds without a point") << 6 << "OX1l_mn"
                                                        << "1,5"
                                                        << "В заданных границах по OX нет ни одной точки графика!";
    }

    void refusedBoundsLeaveTheChart()
    {
        QFETCH(int, chart);
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(QString, message);

        const frmOutput::ChartControls& k = out->chartControls(chart);
        if (box == "OX2t" || box == "OX2")
            k.xLinear->setChecked(true);
        if (box == "OX1l_mn")
            k.xTo->setText("2,5");
        k.build->click();
        QVERIFY(msgs->calls.isEmpty());
        const QStringList before = state(k.chart);

        QLineEdit* edit = out->findChild<QLineEdit*>(box);
        QVERIFY(edit);
        edit->setText(text);
        k.build->click();

        QCOMPARE(msgs->calls.size(), 1);
        QCOMPARE(msgs->calls[0].text, message);
        QCOMPARE(msgs->calls[0].title, kTitle);
        QCOMPARE(msgs->calls[0].icon, MsgIcon::Exclamation);
        QCOMPARE(msgs->calls[0].buttons, MsgButtons::OK);
        QCOMPARE(state(k.chart), before);
        QCOMPARE(edit->text(), text); // the boxes keep what the user typed
    }

    void redrawTakesTheTypedAxes()
    {
        out->Option8->setChecked(true); // X linear
        out->Option5->setChecked(true); // Y linear
        out->OX1->setText("0,4");
        out->OX2->setText("2,5");
        out->OY1->setText("0,4");
        out->OY2->setText("2,5");
        out->nOX->setText("5");
        out->Command8->click();
        QVERIFY(msgs->calls.isEmpty());
        QCOMPARE(out->ctlChart1->minx(), 0.0);
        QCOMPARE(out->ctlChart1->maxx(), 2.0);
        QCOMPARE(out->ctlChart1->miny(), 0.4);
        QCOMPARE(out->ctlChart1->maxy(), 2.5);
        QCOMPARE(out->ctlChart1->axistypex(), 0);
        QCOMPARE(out->ctlChart1->axistypey(), 0);
        QCOMPARE(out->ctlChart1->tickfreqx(), qint16(5));

        // Back to log axes; a second press without changes gives the same picture.
        out->Option7->setChecked(true);
        out->Option6->setChecked(true);
        out->OY1->setText("2,700E-05");
        out->OY2->setText("1,430E-04");
        out->Command8->click();
        QCOMPARE(out->ctlChart1->axistypex(), 1);
        const QImage first = out->ctlChart1->renderImage(8, 96);
        out->Command8->click();
        QCOMPARE(out->ctlChart1->renderImage(8, 96), first);
        QVERIFY(msgs->calls.isEmpty());
    }

    void renderedCharts_data()
    {
        QTest::addColumn<int>("chart");
        QTest::addColumn<QColor>("curve");
        QTest::addColumn<QColor>("bullets");

        QTest::newRow("F/n of severe injuries") << 3 << QColor(0, 0, 192) << QColor(255, 0, 0);
        QTest::newRow("polygon of severe injuries") << 4 << QColor(0, 0, 255) << QColor(0, 0, 0);
    }

    void renderedCharts()
    {
        QFETCH(int, chart);
        QFETCH(QColor, curve);
        QFETCH(QColor, bullets);

        out->show();
        const frmOutput::ChartControls& k = out->chartControls(chart);
        out->SSTab2->setCurrentIndex(1);
        out->SSTab3->setCurrentIndex(chart == 3 ? 0 : 1);
        k.xFrom->setText("0,5"); // log X for both: no rounding, the points well inside
        k.xTo->setText("4");
        k.xLog->setChecked(true);
        k.build->click();
        QVERIFY(msgs->calls.isEmpty());
        QCoreApplication::processEvents();

        QTemporaryDir dir;
        const QString file = dir.filePath("chart.png");
        QVERIFY(k.chart->grab().save(file));
        const QImage shown(file);
        QVERIFY(!shown.isNull());
        QVERIFY(shown.width() > 200 && shown.height() > 150);
        // Inside the axes, clear of the ticks: the axis titles carry the kind's colour as well.
        const QImage plotArea = shown.copy(k.chart->plot()->axisRect()->rect().adjusted(8, 8, -8, -8));
        QVERIFY2(pixelsNear(plotArea, curve) > 40, "the curve is missing");
        QVERIFY2(pixelsNear(plotArea, bullets) > 20, "the bullets are missing");
        QVERIFY(pixelsNear(plotArea, Qt::white) > plotArea.width() * plotArea.height() / 2);
    }
};

QTEST_MAIN(frmOutputTest)
#include "tst_frmOutput.moc"

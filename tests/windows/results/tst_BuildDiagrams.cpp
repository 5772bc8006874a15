// "ПОСТРОИТЬ ДИАГРАММЫ" end to end: the entry checks and their messages, the results window filled from a
// fixture object (pages, grid, labels, axis boxes, stored points), which pages go on for which kinds, a later
// build with fewer kinds, a direct build and the ways out of the results window.

#include "core/TestHome.h"
#include "gui/Scripted.h"

#include "core/Shared.h"
#include "risk/Build.h"
#include "windows/results/BuildDiagrams.h"
#include "windows/results/frmOutput.h"
#include "windows/scenarios/frmInput.h"

#include <QTest>

#include <qcustomplot.h>

using namespace zarnel;

using Flags = std::array<bool, 4>;
using Pages = std::array<bool, 5>;
Q_DECLARE_METATYPE(Flags)
Q_DECLARE_METATYPE(Pages)
Q_DECLARE_METATYPE(zarnel::MsgIcon)

namespace {

constexpr Flags kAllGrids{true, true, true, true};

// Fatalities: С1 at 1, С2 and С3 at 3. Damage: С1 at 0.5, С2 and С3 at 2. Sanitary losses 3, 6, 5.
qint16 makeObject()
{
    testing::ObjectBuilder o = testing::object("Склад", 200);
    o.scenario("С1", 1e-4).kills(1).severe(2).light(1).damage(0.5).sanitary(3);
    o.scenario("С2", 2e-5).kills(3).severe(4).light(2).damage(2).sanitary(6);
    o.scenario("С3", 1e-5).kills(3).light(5).damage(2).sanitary(5);
    return o.id();
}

frmInput* openInput(qint16 obj)
{
    CurrentObjectId = obj;
    frmInput* in = forms().get<frmInput>();
    in->Show();
    return in;
}

// The state the build reads: the number of people and which indicator grids are shown.
void prepare(frmInput* in, const Flags& grids, const QString& people)
{
    in->People->setText(people);
    const std::array<FlexGrid*, 4> all{in->tabPokaz, in->tabPokaz_m, in->tabPokaz_m1, in->tabPokaz_m2};
    for (int k = 0; k < 4; ++k)
        all[k]->setHidden(!grids[k]);
}

bool waitForBuild()
{
    return QTest::qWaitFor([] { return !BuildDiagramsRunning(); }, 30000);
}

QStringList row(const FlexGrid* g, int r)
{
    QStringList cells;
    for (int c = 0; c < g->Cols(); ++c)
        cells << g->TextMatrix(r, c);
    return cells;
}

QStringList rows(const FlexGrid* g)
{
    QStringList out;
    for (int r = 0; r < g->Rows(); ++r)
        out << row(g, r).join(QLatin1Char('|'));
    return out;
}

Pages flagsOf(const frmOutput* out)
{
    Pages p{};
    for (int i = 0; i < 5; ++i)
        p[i] = out->SSTab2->isTabEnabled(i);
    return p;
}

bool near(const QPointF& a, const QPointF& b)
{
    return testing::fuzzyEqual(a.x(), b.x(), 1e-9) && testing::fuzzyEqual(a.y(), b.y(), 1e-9);
}

} // namespace

class BuildDiagramsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::TestHome> home;
    std::unique_ptr<testing::ScriptedMessages> msgs;
    qint16 obj = 0;

private Q_SLOTS:
    void init()
    {
        home = std::make_unique<testing::TestHome>();
        msgs = std::make_unique<testing::ScriptedMessages>();
        obj = makeObject();
    }

    void cleanup()
    {
        QVERIFY(waitForBuild());
        testing::resetWindows();
        msgs.reset();
        home.reset();
    }

    void fillsTheResultsWindow()
    {
        frmInput* in = openInput(obj);
        prepare(in, kAllGrids, "200");
        in->Command1->click();
        QVERIFY(waitForBuild());
        QVERIFY(msgs->calls.isEmpty());

        frmOutput* out = forms().find<frmOutput>();
        QVERIFY(out);
        QVERIFY(!out->isHidden());
        QCOMPARE(out->windowModality(), Qt::ApplicationModal);
        QVERIFY(in->isHidden());
        QCOMPARE(out->windowTitle(), QStringLiteral("Результаты построения"));

        QCOMPARE(flagsOf(out), (Pages{true, true, true, true, true}));
        for (QTabWidget* t : {out->SSTab2, out->SSTab1, out->SSTab3, out->SSTab4, out->SSTab5, out->SSTab1_ush})
            QCOMPARE(t->currentIndex(), 0);

        // The fatalities table, cell by cell.
        const FlexGrid* g = out->tabPokaz;
        QCOMPARE(g->Rows(), 5);
        QCOMPARE(g->Cols(), 5);
        QCOMPARE(row(g, 0), (QStringList{"Число погибших, n человек",
                                         "Аварийные сценарии со смертельными поражениями равными n человек",
                                         "Частота событий (число случаев/год), в которых погибло ровно n человек",
                                         "Аварийные сценарии со смертельными поражениями не менее n человек",
                                         "Частота событий (число случаев/год), в которых погибло не менее n человек"}));
        QCOMPARE(row(g, 1), (QStringList{"1", "С1", "1,000E-04", "С1, С2, С3", "1,300E-04"}));
        QCOMPARE(row(g, 2), (QStringList{"3", "С2", "2,000E-05", "", ""}));
        QCOMPARE(row(g, 3), (QStringList{"3", "С3", "1,000E-05", "", ""}));
        QCOMPARE(row(g, 4), (QStringList{"Итого", "С2, С3", "3,000E-05", "С2, С3", "3,000E-05"}));
        QCOMPARE(g->ColWidth(1), 3600);
        QVERIFY(g->RowHeight(0) >= 690);
        QCOMPARE(out->tabPokaz_ush->TextMatrix(1, 0), QStringLiteral("0,500"));
        QCOMPARE(out->tabPokaz_m2->TextMatrix(0, 0), QStringLiteral("Число санитарных потерь, n человек"));

        // Collective and individual risk: 1 x 1E-4 + 3 x 3E-5 over 200 people; damage 0.5 x 1E-4 + 2 x 3E-5.
        QCOMPARE(out->K_Sm_por->text(), QStringLiteral("1,900E-04"));
        QCOMPARE(out->I_Sm_por->text(), QStringLiteral("0,950E-06"));
        QCOMPARE(out->K_San_por->text(), QStringLiteral("4,700E-04"));
        QCOMPARE(out->I_San_por->text(), QStringLiteral("2,350E-06"));
        QCOMPARE(out->K_Ush->text(), QStringLiteral("1,100E-04"));
        QCOMPARE(out->K_Sm_por->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(out->K_Ush->palette().color(QPalette::WindowText), QColor(192, 0, 192));

        // Axis boxes as the build wrote them.
        const auto boxes = [](const QLineEdit* a, const QLineEdit* b, const QLineEdit* c, const QLineEdit* d) {
            return QStringList{a->text(), b->text(), c->text(), d->text()};
        };
        QCOMPARE(boxes(out->OX1, out->OX2, out->OY1, out->OY2), (QStringList{"0,1", "4", "2,700E-05", "1,430E-04"}));
        QCOMPARE(boxes(out->OX1_mn, out->OX2_mn, out->OY1_mn, out->OY2_mn),
                 (QStringList{"0,1", "4", "2,700E-05", "1,100E-04"}));
        QCOMPARE(boxes(out->OX1u, out->OX2u, out->OY1u, out->OY2u),
                 (QStringList{"0,500", "2,000", "2,700E-05", "1,430E-04"}));
        QCOMPARE(boxes(out->OX1u_mn, out->OX2u_mn, out->OY1u_mn, out->OY2u_mn).mid(0, 2),
                 (QStringList{"0,1", "2,002"}));

        // The charts got their drawings; the polygon flag only on the fatalities polygon.
        QCOMPARE(out->ctlChart1->minx(), 0.1);
        QCOMPARE(out->ctlChart1->maxx(), 4.0);
        QVERIFY(out->ctlChart1->plot()->itemCount() > 0);
        QVERIFY(out->ctlChart2_ush->plot()->plottableCount() > 0);
        QVERIFY(out->ctlChart2->polygonflag());
        QVERIFY(!out->ctlChart5->polygonflag());

        // Points kept for the redraws: the step chart in descending value, the polygon ascending.
        QCOMPARE(ChartPointCount[1], 3);
        QVERIFY(near(ChartPoints[1][0], {3, 3e-5}));
        QVERIFY(near(ChartPoints[1][1], {1, 3e-5}));
        QVERIFY(near(ChartPoints[1][2], {1, 1.3e-4}));
        QCOMPARE(ChartPointCount[2], 2);
        QVERIFY(near(ChartPoints[2][0], {1, 1e-4}));
        QVERIFY(near(ChartPoints[2][1], {3, 3e-5}));
        QCOMPARE(ChartPointCount[7], 5); // sanitary losses 3, 5, 6
        QCOMPARE(ChartPointCount[10], 2);
    }

    void pageFlags_data()
    {
        QTest::addColumn<Flags>("grids");
        QTest::addColumn<Pages>("pages");
        QTest::addColumn<int>("openPage");

        QTest::newRow("only fatalities") << Flags{true, false, false, false} << Pages{true, false, false, false, false}
                                         << 0;
        // Sanitary losses follow the light injuries; the window opens on the first page that is on.
        QTest::newRow("only light injuries")
            << Flags{false, false, true, false} << Pages{false, false, true, true, false} << 2;
        QTest::newRow("fatalities and damage")
            << Flags{true, false, false, true} << Pages{true, false, false, false, true} << 0;
    }

    void pageFlags()
    {
        QFETCH(Flags, grids);
        QFETCH(Pages, pages);
        QFETCH(int, openPage);

        frmInput* in = openInput(obj);
        prepare(in, grids, "200");
        BuildDiagrams();
        QVERIFY(waitForBuild());
        frmOutput* out = forms().find<frmOutput>();
        QVERIFY(out && !out->isHidden());
        QCOMPARE(flagsOf(out), pages);
        QCOMPARE(out->SSTab2->currentIndex(), openPage);
    }

    void fewerKindsKeepTheirContent()
    {
        frmInput* in = openInput(obj);
        prepare(in, kAllGrids, "200");
        BuildDiagrams();
        QVERIFY(waitForBuild());
        frmOutput* out = forms().find<frmOutput>();
        QVERIFY(out);
        const QStringList damageTable = rows(out->tabPokaz_ush);
        const QString damageRisk = out->K_Ush->text();
        const QString damageBox = out->OX2u->text();
        const double damageMaxX = out->ctlChart1_ush->maxx();
        const QVector<QPointF> damagePoints = ChartPoints[9];

        // Back to the indicators with the results window kept, then a build without damage and injuries.
        out->Hide();
        in->Show();
        prepare(in, {true, false, false, false}, "100");
        BuildDiagrams();
        QVERIFY(waitForBuild());
        QCOMPARE(forms().find<frmOutput>(), out);
        QCOMPARE(flagsOf(out), (Pages{true, false, false, false, false}));
        QCOMPARE(rows(out->tabPokaz_ush), damageTable);
        QCOMPARE(out->K_Ush->text(), damageRisk);
        QCOMPARE(out->OX2u->text(), damageBox);
        QCOMPARE(out->ctlChart1_ush->maxx(), damageMaxX);
        QCOMPARE(ChartPoints[9], damagePoints);
        QCOMPARE(ChartPointCount[9], 3);
        QCOMPARE(out->I_Sm_por->text(), QStringLiteral("1,900E-06")); // the new build's own people count
    }

    void entryChecks_data()
    {
        QTest::addColumn<bool>("anyGrid");
        QTest::addColumn<QString>("people");
        QTest::addColumn<QString>("answer"); // "yes", "no" or "" for none queued
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("built");
        QTest::addColumn<QString>("individual");

        const QString ask = QStringLiteral("Не введено общее количество людей в зоне риска!!! Индивидуальный риск не "
                                           "будет расчитан! Продолжить?");
        const QString spaced = QStringLiteral("В н и м а н и е ! ! !");
        QTest::newRow("no indicator") << false << "200"
                                      << ""
                                      << "Построение диаграмм не возможно! Не введен ни один показатель!"
                                      << "Внимание!!!" << false << "";
        QTest::newRow("no people, answered No") << true << "0"
                                                << "no" << ask << spaced << false << "";
        QTest::newRow("no people, answered Yes") << true << "0"
                                                 << "yes" << ask << spaced << true << "не расчитан";
        QTest::newRow("empty people box asks too") << true << ""
                                                   << "yes" << ask << spaced << true << "не расчитан";
        QTest::newRow("people not a whole number") << true << "много"
                                                   << ""
                                                   << "Число людей в зоне риска должно быть целым числом от 0 до 32767!"
                                                   << "Внимание!!!" << false << "";
        QTest::newRow("people given") << true << "200"
                                      << ""
                                      << ""
                                      << "" << true << "0,950E-06";
    }

    void entryChecks()
    {
        QFETCH(bool, anyGrid);
        QFETCH(QString, people);
        QFETCH(QString, answer);
        QFETCH(QString, message);
        QFETCH(QString, title);
        QFETCH(bool, built);
        QFETCH(QString, individual);

        frmInput* in = openInput(obj);
        prepare(in, anyGrid ? Flags{true, false, false, false} : Flags{}, people);
        if (answer == "yes")
            msgs->yes();
        else if (answer == "no")
            msgs->no();
        in->Command1->click();
        QVERIFY(waitForBuild());

        if (message.isEmpty()) {
            QVERIFY(msgs->calls.isEmpty());
        } else {
            QCOMPARE(msgs->calls.size(), 1);
            QCOMPARE(msgs->calls[0].text, message);
            QCOMPARE(msgs->calls[0].title, title);
            QCOMPARE(msgs->calls[0].icon, MsgIcon::None);
            QCOMPARE(msgs->calls[0].buttons, answer.isEmpty() ? MsgButtons::OK : MsgButtons::YesNo);
        }
        frmOutput* out = forms().find<frmOutput>();
        QCOMPARE(out != nullptr, built);
        QCOMPARE(in->isHidden(), built);
        if (built) {
            QCOMPARE(out->I_Sm_por->text(), individual);
            QCOMPARE(out->K_Sm_por->text(), QStringLiteral("1,900E-04"));
        } else if (answer == "no" || people == "много") {
            QCOMPARE(in->focusWidget(), in->People);
        }
    }

    // The database changes between filling the indicator window and the build.
    void readingFailures_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("message");
        QTest::addColumn<MsgIcon>("icon");

        // A table of ours without its columns: the build's connection refuses the database before reading.
        QTest::newRow("indicator table of another shape")
            << "DROP TABLE tabRisk; CREATE TABLE tabRisk (Id_obj INTEGER, Id_scen INTEGER, Id_por INTEGER)"
            << "Ошибка базы данных: файл или источник данных не является базой данных программы" << MsgIcon::Critical;
        // Opening the build's connection already fails (the schema check trips over the view).
        QTest::newRow("database cannot be opened") << "DROP TABLE tabRisk; CREATE VIEW tabRisk AS SELECT 1 AS x"
                                                   << "Ошибка базы данных:" << MsgIcon::Critical;
        QTest::newRow("indicators deleted meanwhile")
            << "DELETE FROM tabRisk"
            << "Построение диаграмм не возможно! Не введен ни один показатель!" << MsgIcon::None;
    }

    void readingFailures()
    {
        QFETCH(QString, change);
        QFETCH(QString, message);
        QFETCH(MsgIcon, icon);

        frmInput* in = openInput(obj);
        prepare(in, kAllGrids, "200");
        {
            Connection c;
            for (const QString& statement : change.split(QLatin1Char(';')))
                c.exec(statement.trimmed());
        }
        BuildDiagrams();
        QVERIFY(waitForBuild());
        QCOMPARE(msgs->calls.size(), 1);
        QVERIFY2(msgs->calls[0].text.startsWith(message), qPrintable(msgs->calls[0].text));
        QCOMPARE(msgs->calls[0].title, QStringLiteral("Внимание!!!"));
        QCOMPARE(msgs->calls[0].icon, icon);
        QVERIFY(!forms().isLoaded<frmOutput>());
        QVERIFY(!in->isHidden());
    }

    void directBuildAsksNothingAndLetsTheUserBack()
    {
        frmInput* in = openInput(obj);
        prepare(in, kAllGrids, "0");
        in->Hide();
        // The scenario editor's way in: the indicator window builds as soon as it becomes active.
        DirectBuild = -1;
        in->Show();
        QVERIFY(QTest::qWaitFor([] { return forms().find<frmOutput>() && !BuildDiagramsRunning(); }, 30000));
        QVERIFY(msgs->calls.isEmpty());
        frmOutput* out = forms().find<frmOutput>();
        QCOMPARE(out->I_T_por->text(), QStringLiteral("не расчитан"));
        QCOMPARE(DirectBuild, qint16(0));

        // "<<Назад" reaches the indicator window and stays there: no second build starts.
        out->mnuReturn->trigger();
        QTest::qWait(100);
        QVERIFY(!BuildDiagramsRunning());
        QVERIFY(!forms().isLoaded<frmOutput>());
        QVERIFY(!in->isHidden());
        QCOMPARE(forms().active(), in);
        QVERIFY(msgs->calls.isEmpty());
    }

    void aSecondClickWhileBuildingDoesNothing()
    {
        frmInput* in = openInput(obj);
        prepare(in, kAllGrids, "0");
        msgs->yes(); // a second build would ask again and find no answer queued
        in->Command1->click();
        QVERIFY(BuildDiagramsRunning());
        in->Command1->click();
        BuildDiagrams();
        QVERIFY(waitForBuild());
        QCOMPARE(msgs->calls.size(), 1);
        QVERIFY(forms().find<frmOutput>());
    }

    void waysOut_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("<<Назад") << "return";
        QTest::newRow("title bar close goes back too") << "close";
        QTest::newRow("Выход") << "exit";
    }

    void waysOut()
    {
        QFETCH(QString, how);
        frmInput* in = openInput(obj);
        prepare(in, kAllGrids, "200");
        BuildDiagrams();
        QVERIFY(waitForBuild());
        frmOutput* out = forms().find<frmOutput>();
        QVERIFY(out);
        QPointer<frmInput> input(in);

        if (how == "return")
            out->mnuReturn->trigger();
        else if (how == "close")
            out->close();
        else
            out->mnuExit->trigger();
        QTest::qWait(50);

        QVERIFY(!forms().isLoaded<frmOutput>());
        if (how == "exit") {
            QVERIFY(forms().loaded().isEmpty());
        } else {
            QVERIFY(input && !input->isHidden());
            QCOMPARE(input->windowModality(), Qt::NonModal);
        }
    }
};

QTEST_MAIN(BuildDiagramsTest)
#include "tst_BuildDiagrams.moc"

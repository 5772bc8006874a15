// Screenshots of the results window for the documentation, built from the sample object. Runs only when
// ZARNEL_SCREENSHOTS names the folder for the pictures, e.g.
//     ZARNEL_SCREENSHOTS=docs/screenshots xvfb-run -a -s "-screen 0 1400x1000x24" ./tst_ResultsScreenshots

#include "core/TestHome.h"
#include "gui/Scripted.h"

#include "core/CriteriaStore.h"
#include "core/Database.h"
#include "core/DemoData.h"
#include "core/Shared.h"
#include "windows/results/BuildDiagrams.h"
#include "windows/results/frmKriterii.h"
#include "windows/results/frmOutput.h"
#include "windows/results/frmSravnenie.h"
#include "windows/scenarios/frmInput.h"

#include <QDir>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QTest>

using namespace zarnel;

class ResultsScreenshots : public QObject {
    Q_OBJECT

private:
    QString folder;

    // The window as drawn once its events have run; without a window, the whole screen.
    void save(QWidget* window, const QString& name)
    {
        for (int i = 0; i < 5; ++i) {
            QCoreApplication::processEvents();
            QTest::qWait(40);
        }
        const QString file = QDir(folder).filePath(name + ".png");
        const QPixmap shot = window ? window->grab() : QGuiApplication::primaryScreen()->grabWindow(0);
        QVERIFY2(shot.save(file), qPrintable(file));
    }

    // The folder named by ZARNEL_SCREENSHOTS, made when missing; false when none is named.
    bool useFolder()
    {
        folder = qEnvironmentVariable("ZARNEL_SCREENSHOTS");
        return !folder.isEmpty() && QDir().mkpath(folder);
    }

    // The build of the current object through the indicator window, up to the results window.
    static frmOutput* buildShown()
    {
        forms().get<frmInput>()->Show();
        BuildDiagrams();
        if (!QTest::qWaitFor([] { return !BuildDiagramsRunning(); }, 60000))
            return nullptr;
        return forms().find<frmOutput>();
    }

private Q_SLOTS:
    void results()
    {
        if (!useFolder())
            QSKIP("set ZARNEL_SCREENSHOTS to a folder to take the screenshots");

        testing::TestHome home;
        testing::ScriptedMessages msgs;
        {
            Connection c;
            CurrentObjectId = WriteDemoObject(c);
        }
        frmOutput* out = buildShown();
        QVERIFY(out);
        QVERIFY(msgs.calls.isEmpty());
        out->move(0, 0);

        const QStringList pages{"fatalities", "severe", "light", "sanitary", "damage"};
        for (int page = 0; page < pages.size(); ++page) {
            out->SSTab2->setCurrentIndex(page);
            save(out, QStringLiteral("results-%1-%2-fn").arg(page + 1).arg(pages[page]));
        }
        out->SSTab2->setCurrentIndex(0);
        out->SSTab1->setCurrentIndex(1);
        save(out, "results-1-fatalities-polygon");
        out->SSTab1->setCurrentIndex(2);
        save(out, "results-1-fatalities-table");
        out->SSTab2->setCurrentIndex(4);
        out->SSTab1_ush->setCurrentIndex(1);
        save(out, "results-5-damage-polygon");
        out->SSTab1_ush->setCurrentIndex(2);
        save(out, "results-5-damage-table");

        // A redraw with typed bounds, linear Y.
        out->SSTab2->setCurrentIndex(0);
        out->SSTab1->setCurrentIndex(0);
        out->OX1->setText("0");
        out->OX2->setText("45");
        out->nOX->setText("9");
        out->Option5->setChecked(true);
        out->OY1->setText("0");
        out->OY2->setText("1,000E-03");
        out->Command8->click();
        QVERIFY(msgs.calls.isEmpty());
        save(out, "results-1-fatalities-fn-redrawn");

        // The menu «Параметры» open: the whole screen, since the menu is a window of its own.
        out->menuBar()->setActiveAction(out->mnuParametry->menuAction());
        QVERIFY(QTest::qWaitFor([out] { return out->mnuParametry->isVisible(); }, 5000));
        save(nullptr, "results-parameters-menu");
        out->mnuParametry->hide();
        testing::resetWindows();
    }

    void criteria()
    {
        if (!useFolder())
            QSKIP("set ZARNEL_SCREENSHOTS to a folder to take the screenshots");
        testing::TestHome home;
        testing::ScriptedMessages msgs;
        {
            Connection c;
            CurrentObjectId = WriteDemoObject(c);
            EnsureCriteriaTables(c);
            SetChosenCriteria(c, CurrentObjectId,
                              {QStringLiteral("Нидерланды (ориентировочное значение)"), QStringLiteral("Дания")});
            SetChosenLimit(c, CurrentObjectId, 0, BuiltInIndividualLimit());
        }
        frmOutput* out = buildShown();
        QVERIFY(out);
        out->move(0, 0);
        save(out, "criteria-1-fatalities-fn");
        out->SSTab1->setCurrentIndex(2);
        save(out, "criteria-1-fatalities-table");
        out->mnuKriterii->trigger();
        frmKriterii* k = forms().find<frmKriterii>();
        QVERIFY(k);
        k->move(0, 0);
        save(k, "criteria-window");
        QVERIFY(msgs.calls.isEmpty());
        testing::resetWindows();
    }

    // The sample object against a variant whose even scenarios happen five times less often.
    void comparison()
    {
        if (!useFolder())
            QSKIP("set ZARNEL_SCREENSHOTS to a folder to take the screenshots");
        testing::TestHome home;
        testing::ScriptedMessages msgs;
        {
            Connection c;
            const qint16 base = WriteDemoObject(c);
            const qint16 variant = base + 1;
            c.exec("INSERT INTO tabObjekt (Id, Name, People) SELECT ?, ?, People FROM tabObjekt WHERE Id = ?",
                   {variant, QStringLiteral("Склад СУГ после мероприятий"), base});
            c.exec("INSERT INTO tabScen (Id_obj, Id, Name, Opis, Risk) SELECT ?, Id, Name, Opis, "
                   "Risk * CASE WHEN Id % 2 = 0 THEN 0.2 ELSE 1 END FROM tabScen WHERE Id_obj = ?",
                   {variant, base});
            c.exec("INSERT INTO tabRisk (Id_obj, Id_scen, Id_por, Number) SELECT ?, Id_scen, Id_por, Number "
                   "FROM tabRisk WHERE Id_obj = ?",
                   {variant, base});
            EnsureCriteriaTables(c);
            SetChosenCriteria(c, base, {QStringLiteral("Дания")});
        }
        frmSravnenie* f = forms().get<frmSravnenie>();
        f->Show();
        f->move(0, 0);
        for (int i = 0; i < f->lstObjekt->count(); ++i)
            f->lstObjekt->item(i)->setCheckState(Qt::Checked);
        f->Command1->click();
        QVERIFY(msgs.calls.isEmpty());
        save(f, "comparison-fatalities");
        testing::resetWindows();
    }
};

QTEST_MAIN(ResultsScreenshots)
#include "tst_ResultsScreenshots.moc"

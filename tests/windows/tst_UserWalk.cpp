// A user's whole way through the windows, as the clicks come: a new object, three scenarios, the indicator
// window, the build, a look at the results, a report, back, and out.

#include "DocxReader.h"
#include "Helpers.h"
#include "Scripted.h"
#include "TestHome.h"
#include "core/Shared.h"
#include "windows/objects/frmLoad.h"
#include "windows/objects/frmLoad1.h"
#include "windows/results/BuildDiagrams.h"
#include "windows/results/frmOutput.h"
#include "windows/scenarios/frmBD_Scen.h"
#include "windows/scenarios/frmInput.h"
#include "windows/shell/Startup.h"
#include "windows/shell/frmMain1.h"

#include <QComboBox>
#include <QFile>
#include <QTest>

using namespace zarnel;

namespace {

using testing::settle;

struct Entry {
    QString name, title, mantissa, exponent, kills, severe, light, damage;
};

void enterScenario(frmBD_Scen* ed, const Entry& e)
{
    ed->Command2->click(); // "Новый"
    QCOMPARE(ed->heightTwips(), 10200);
    ed->Name_Object->setText(e.name);
    ed->Name_scen->setText(e.title);
    ed->koef->setText(e.mantissa);
    ed->Step->setText(e.exponent);
    const std::pair<QCheckBox*, QComboBox*> people[] = {
        {ed->Check1, ed->Combo1}, {ed->Check2, ed->Combo2}, {ed->Check3, ed->Combo3}};
    const QString values[] = {e.kills, e.severe, e.light};
    for (int k = 0; k < 3; ++k) {
        if (values[k].isEmpty())
            continue;
        people[k].first->click();
        people[k].second->setEditText(values[k]);
    }
    if (!e.damage.isEmpty()) {
        ed->Check4->click();
        ed->Usherb->setText(e.damage);
    }
    ed->Command1->click(); // "ВВЕСТИ"
    QCOMPARE(ed->heightTwips(), 6480);
}

} // namespace

class tst_UserWalk : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup()
    {
        testing::resetWindows();
        forms().onLastUnloaded = nullptr;
    }

    void newObjectToReport()
    {
        testing::TestHome home;
        testing::ScriptedMessages msgs;
        testing::ScriptedFileDialogs dialogs;
        testing::RecordingDesktop desk;
        bool ended = false;
        forms().onLastUnloaded = [&] { ended = true; };

        Main();
        frmMain1* title = forms().find<frmMain1>();
        QVERIFY(title && title->isVisible());
        title->Command1->click(); // "Далее>>"
        settle();

        frmLoad* load = forms().find<frmLoad>();
        QVERIFY(load && load->isVisible());
        QCOMPARE(load->Command1->text(), QStringLiteral("СОЗДАТЬ"));
        QVERIFY(!load->Option2->isEnabled()); // the database is empty
        load->Name_obj->setText(QStringLiteral("Наливная станция"));
        load->Command1->click();
        settle();

        frmLoad1* naming = forms().find<frmLoad1>();
        QVERIFY(naming && naming->isVisible());
        QCOMPARE(naming->Command5->text(), QStringLiteral("Создать"));
        naming->Text1->setText(QStringLiteral("Наливная станция"));
        naming->People->setText(QStringLiteral("100"));
        naming->Command5->click();
        settle();

        frmBD_Scen* editor = forms().find<frmBD_Scen>();
        QVERIFY(editor && editor->isVisible());
        QVERIFY(CurrentObjectId > 0);
        QVERIFY(!forms().isLoaded<frmLoad>());
        enterScenario(editor, {"С1", "Разгерметизация цистерны", "2,5", "4", "3", "2", "4", ""});
        enterScenario(editor, {"С2", "Пожар пролива", "1", "3", "1", "", "", "0,5"});
        enterScenario(editor, {"С3", "", "5", "5", "", "1", "", ""});
        QCOMPARE(editor->Tabl_Name->TextMatrix(1, 1), QStringLiteral("С1"));
        QCOMPARE(editor->Tabl_Name->TextMatrix(3, 3), QStringLiteral("0,500E-04"));
        QVERIFY(msgs.calls.isEmpty());

        editor->Command6->click(); // "Детализация показателей F/n, F/g диаграмм>>"
        settle();
        frmInput* input = forms().find<frmInput>();
        QVERIFY(input && input->isVisible());
        QCOMPARE(input->People->text(), QStringLiteral("100"));
        for (FlexGrid* g : {input->tabPokaz, input->tabPokaz_m, input->tabPokaz_m1, input->tabPokaz_m2})
            QVERIFY(!g->isHidden());

        input->Command1->click(); // "ПОСТРОИТЬ ДИАГРАММЫ"
        QTRY_VERIFY_WITH_TIMEOUT(!BuildDiagramsRunning(), 30000);
        settle();
        frmOutput* output = forms().find<frmOutput>();
        QVERIFY(output && output->isVisible());
        QVERIFY(!input->isVisible());
        QCOMPARE(output->windowTitle(), QStringLiteral("Результаты построения"));
        for (int page = 0; page < 5; ++page)
            QVERIFY(output->SSTab2->isTabEnabled(page));
        QCOMPARE(output->K_Sm_por->text(), QStringLiteral("1,750E-03")); // 3 x 2,5E-4 + 1 x 1E-3
        QCOMPARE(output->I_Sm_por->text(), QStringLiteral("1,750E-05"));
        QCOMPARE(output->K_Ush->text(), QStringLiteral("0,500E-03"));
        QVERIFY(msgs.calls.isEmpty());

        const QString reportPath = home.path() + "/Отчет.docx";
        dialogs.answers << reportPath;
        output->mnuWord->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(reportPath), 30000);
        QCOMPARE(desk.opened, QStringList({reportPath}));
        QCOMPARE(testing::countRows("select * from tabOtchet"), 1);
        DocxReader doc;
        QVERIFY(doc.load(reportPath));
        QVERIFY(doc.paragraphs().first().text.contains(QStringLiteral("\"Наливная станция\"")));

        output->mnuReturn->trigger(); // "<<Назад"
        settle();
        QVERIFY(!forms().isLoaded<frmOutput>());
        QVERIFY(input->isVisible());
        QVERIFY(!BuildDiagramsRunning());

        input->mnuExit->trigger(); // "Выход"
        settle();
        QVERIFY(forms().loaded().isEmpty());
        QVERIFY(ended);
        QVERIFY(msgs.calls.isEmpty());
    }
};

QTEST_MAIN(tst_UserWalk)
#include "tst_UserWalk.moc"

// The scenario editor: list and entry states, loading, storing, validation, deleting and the ways on.

#include "core/TestHome.h"
#include "gui/Scripted.h"
#include "gui/Helpers.h"

#include "core/Database.h"
#include "core/Formats.h"
#include "core/ObjectStore.h"
#include "core/ScenarioStore.h"
#include "core/Shared.h"
#include "components/Twips.h"
#include "windows/objects/frmLoad.h"
#include "windows/results/BuildDiagrams.h"
#include "windows/results/frmOutput.h"
#include "windows/scenarios/frmBD_Scen.h"
#include "windows/scenarios/frmInput.h"

#include <QCoreApplication>
#include <QTest>

using namespace zarnel;

Q_DECLARE_METATYPE(DbFailure)
using testing::dumpTable;

namespace {

const QString kTitle = QStringLiteral("Внимание!!!");
const QString kSpacedTitle = QStringLiteral("В н и м а н и е ! ! !");

frmBD_Scen* openEditor(qint16 objectId)
{
    CurrentObjectId = objectId;
    frmBD_Scen* f = forms().get<frmBD_Scen>();
    f->Show(true);
    return f;
}

using testing::settle;

// The build reads the database on a thread of its own; a busy machine may need more than a few event turns.
bool buildFinished()
{
    return QTest::qWaitFor([] { return forms().find<frmOutput>() && !BuildDiagramsRunning(); }, 30000);
}

bool inEntryState(frmBD_Scen* f)
{
    return !f->Frame1->isHidden() && !f->Frame2->isEnabled() && !f->mnuPred->isEnabled() && !f->mnuNext->isEnabled() &&
           !f->mnuBuild->isEnabled() && f->heightTwips() == 10200;
}

bool inListState(frmBD_Scen* f)
{
    // The hidden mnuBuild counts as disabled whatever the state; Command7 reaches it.
    return f->Frame1->isHidden() && f->Frame2->isEnabled() && f->mnuPred->isEnabled() && f->mnuNext->isEnabled() &&
           f->heightTwips() == 6480;
}


using testing::rowOf;

} // namespace

class tst_frmBD_Scen : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_home = std::make_unique<testing::TestHome>();
        m_msgs = std::make_unique<testing::ScriptedMessages>();
    }
    void cleanup()
    {
        testing::resetWindows();
        m_msgs.reset();
        m_home.reset();
    }

    void splitFrequency_data()
    {
        QTest::addColumn<double>("frequency");
        QTest::addColumn<QString>("mantissa");
        QTest::addColumn<QString>("exponent");
        QTest::newRow("0,0025") << 0.0025 << "2,500"
                                << "3";
        QTest::newRow("0,000123") << 0.000123 << "1,230"
                                  << "4";
        QTest::newRow("5") << 5.0 << "5,000"
                           << "0";
        QTest::newRow("12,3") << 12.3 << "12,300"
                              << "0";
        QTest::newRow("1") << 1.0 << "1,000"
                           << "0";
        QTest::newRow("0,255E-07") << 2.55e-8 << "2,550"
                                   << "8";
        QTest::newRow("1E-11 (product below 1)") << 1e-11 << "1,000"
                                                 << "11";
        QTest::newRow("0,99996 rounds up") << 0.99996 << "1,000"
                                           << "0";
        QTest::newRow("0") << 0.0 << "0"
                           << "0";
        QTest::newRow("negative") << -1e-3 << "0"
                                  << "0";
    }
    void splitFrequency()
    {
        QFETCH(double, frequency);
        QFETCH(QString, mantissa);
        QFETCH(QString, exponent);
        const FrequencyText t = SplitFrequency(frequency);
        QCOMPARE(t.mantissa, mantissa);
        QCOMPARE(t.exponent, exponent);
    }

    void mantissaStepping_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("expected");
        QTest::newRow("2,5 up") << "2,5" << true << "2,6";
        QTest::newRow("0,255 down") << "0,255" << false << "0,2"; // 2,55 -> 2 (half to even) - 1
        QTest::newRow("0,35 up") << "0,35" << true << "0,5";      // 3,5 -> 4 (half to even) + 1
        QTest::newRow("9,9 up stays") << "9,9" << true << "9,9";
        QTest::newRow("0 down stays") << "0" << false << "0";
        QTest::newRow("12 down") << "12" << false << "9,8";
        QTest::newRow("12 up stays") << "12" << true << "12";
        QTest::newRow("9,96 up stays") << "9,96" << true << "9,96"; // 99,6 -> 100, held at 99
        QTest::newRow("9,96 down") << "9,96" << false << "9,8";
        QTest::newRow("negative up") << "-3" << true << "0,1";
        QTest::newRow("dot accepted") << "1.5" << true << "1,6";
        QTest::newRow("not a number") << "abc" << true << "abc";
    }
    void mantissaStepping()
    {
        QFETCH(QString, typed);
        QFETCH(bool, up);
        QFETCH(QString, expected);
        frmBD_Scen* f = openEditor(testing::object("Склад").id());
        f->Command2->click();
        f->koef->setText(typed);
        if (up)
            f->UpDown1->clickUp();
        else
            f->UpDown1->clickDown();
        QCOMPARE(f->koef->text(), expected);
    }

    void exponentStepping_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("expected");
        QTest::newRow("7 up") << "7" << true << "8";
        QTest::newRow("7 down") << "7" << false << "6";
        QTest::newRow("50 up stays") << "50" << true << "50";
        QTest::newRow("0 down stays") << "0" << false << "0";
        QTest::newRow("typed 60 down") << "60" << false << "49";
    }
    void exponentStepping()
    {
        QFETCH(QString, typed);
        QFETCH(bool, up);
        QFETCH(QString, expected);
        frmBD_Scen* f = openEditor(testing::object("Склад").id());
        f->Step->setText(typed);
        if (up)
            f->UpDown3->clickUp();
        else
            f->UpDown3->clickDown();
        QCOMPARE(f->Step->text(), expected);
    }

    void becomingActiveFillsObjectNameAndNumberLists()
    {
        auto obj = testing::object("Склад 'Север'").scenario("С1", 1e-4);
        frmBD_Scen* f = openEditor(obj.id());
        QCOMPARE(f->windowTitle(), QStringLiteral("Добавление/изменение базы данных|Программа \"Зарнель\""));
        QCOMPARE(f->Label5->text(), QStringLiteral("Склад 'Север'"));
        QStringList expected;
        {
            Connection c;
            for (const QSqlRecord& r : c.select(QStringLiteral("select * from tabNumber order by name asc")))
                expected << FieldText(r, "Name");
        }
        QVERIFY(!expected.isEmpty());
        for (QComboBox* combo : {f->Combo1, f->Combo2, f->Combo3}) {
            QStringList items;
            for (int i = 0; i < combo->count(); ++i)
                items << combo->itemText(i);
            QCOMPARE(items, expected);
            QCOMPARE(combo->currentIndex(), 0);
        }
        QVERIFY(inListState(f));
        QVERIFY(!f->mnuBuild->isVisible());
    }

    void newAndCancel()
    {
        auto obj = testing::object("Склад").scenario("С1", 1e-4).kills(2);
        frmBD_Scen* f = openEditor(obj.id());
        f->Tabl_Name->doubleClickCell(1, 1);
        f->Command4->click();
        f->Option2->setChecked(true);
        const QStringList before = dumpTable("tabScen") + dumpTable("tabRisk");

        f->Command2->click();
        QVERIFY(inEntryState(f));
        QCOMPARE(CurrentScenarioId, qint16(0));
        QCOMPARE(f->Name_Object->text(), QString());
        QCOMPARE(f->Name_scen->text(), QString());
        QVERIFY(f->Option1->isChecked());
        for (QCheckBox* c : {f->Check1, f->Check2, f->Check3, f->Check4})
            QVERIFY(!c->isChecked());
        for (QWidget* w : std::initializer_list<QWidget*>{f->Combo1, f->Combo2, f->Combo3, f->Frame4})
            QVERIFY(w->isHidden());
        QVERIFY(!f->Command1->isEnabled());
        QCOMPARE(f->focusWidget(), f->Name_Object);

        f->Name_Object->setText("С2");
        f->Command4->click();
        QVERIFY(inListState(f));
        QCOMPARE(dumpTable("tabScen") + dumpTable("tabRisk"), before);
    }

    void outerHeightFollowsTheState()
    {
        auto obj = testing::object("Склад").scenario("С1", 1e-4).kills(2);
        frmBD_Scen* f = openEditor(obj.id());
        settle();
        const auto outer = [f] { return f->frameGeometry().height(); };
        QCOMPARE(outer(), TwipsToPixelsY(6480));
        f->Command2->click();
        settle();
        QCOMPARE(outer(), TwipsToPixelsY(10200));
        f->Command4->click(); // ОТМЕНА
        settle();
        QCOMPARE(outer(), TwipsToPixelsY(6480));
        f->Tabl_Name->doubleClickCell(1, 1);
        settle();
        f->Command1->click(); // ВВЕСТИ
        settle();
        QVERIFY(inListState(f));
        QCOMPARE(outer(), TwipsToPixelsY(6480));
    }

    void longObjectNameKeepsTheWindowWidth()
    {
        const QString name = QString(500, QChar(0x0416)); // "ЖЖЖ…"
        auto obj = testing::object(name).scenario(QString(100, QChar(0x0429)), 1e-4, QString(500, QChar(0x0429)));
        frmBD_Scen* f = openEditor(obj.id());
        settle();
        QCOMPARE(f->frameGeometry().width(), TwipsToPixelsX(14400));
        QCOMPARE(f->Label5->text(), name);
        QCOMPARE(f->Label5->toolTip(), name);
        QVERIFY(f->Label5->shownText().endsWith(QStringLiteral("…")));
        f->Tabl_Name->doubleClickCell(1, 1);
        settle();
        QCOMPARE(f->frameGeometry().width(), TwipsToPixelsX(14400));
    }

    void closedByItsFrameWithNothingElseShownEndsTheProgram()
    {
        auto obj = testing::object("Склад").scenario("С1", 1e-4).kills(2);
        forms().get<frmInput>()->Hide(); // left hidden by "Добавить сценарий"
        frmBD_Scen* f = openEditor(obj.id());
        f->close();
        QVERIFY(forms().loaded().isEmpty());
    }

    void checkBoxesShowTheirValueControls()
    {
        frmBD_Scen* f = openEditor(testing::object("Склад").id());
        f->Command2->click();
        const QList<QPair<QCheckBox*, QWidget*>> pairs{
            {f->Check1, f->Combo1}, {f->Check2, f->Combo2}, {f->Check3, f->Combo3}, {f->Check4, f->Frame4}};
        for (const auto& [check, control] : pairs) {
            check->click();
            QVERIFY(!control->isHidden());
            check->click();
            QVERIFY(control->isHidden());
        }
    }

    void damageNoteFollowsUnit()
    {
        frmBD_Scen* f = openEditor(testing::object("Склад").id());
        f->Command2->click();
        f->Check4->click();
        f->Option2->click();
        QCOMPARE(f->Label6->text(), QStringLiteral("округляется до целого числа"));
        QCOMPARE(f->Label6->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        f->Option1->click();
        QCOMPARE(f->Label6->text(), QStringLiteral("округляется до 3-го знака после запятой"));
        QCOMPARE(f->Label6->palette().color(QPalette::WindowText), QColor(192, 0, 192));
    }

    void changeLoadsTheScenario()
    {
        auto obj = testing::object("Склад")
                       .scenario("А0", 1e-2)
                       .scenario("С1", 0.000123, "Пожар пролива")
                       .kills(3)
                       .light(4)
                       .damage(0.125)
                       .sanitary(4);
        frmBD_Scen* f = openEditor(obj.id());
        f->Command2->click();
        f->Option2->setChecked(true);
        f->Command4->click();

        const int row = rowOf(f->Tabl_Name, "С1");
        f->Tabl_Name->clickCell(row, 3);
        QVERIFY(f->Command5->isEnabled());
        f->Command5->click();
        QVERIFY(inEntryState(f));
        QCOMPARE(CurrentScenarioId, obj.lastScenario());
        QCOMPARE(f->Name_Object->text(), QStringLiteral("С1"));
        QCOMPARE(f->Name_scen->text(), QStringLiteral("Пожар пролива"));
        QCOMPARE(f->koef->text(), QStringLiteral("1,230"));
        QCOMPARE(f->Step->text(), QStringLiteral("4"));
        QVERIFY(f->Option1->isChecked());
        QVERIFY(f->Check1->isChecked() && !f->Combo1->isHidden());
        QCOMPARE(f->Combo1->currentText(), QStringLiteral("3"));
        QVERIFY(!f->Check2->isChecked() && f->Combo2->isHidden());
        QVERIFY(f->Check3->isChecked());
        QCOMPARE(f->Combo3->currentText(), QStringLiteral("4"));
        QVERIFY(f->Check4->isChecked() && !f->Frame4->isHidden());
        QCOMPARE(f->Usherb->text(), QStringLiteral("0,125"));
        QVERIFY(f->Command1->isEnabled());

        // Cancel stores nothing and keeps the list.
        const QStringList before = dumpTable("tabScen") + dumpTable("tabRisk");
        f->Name_Object->setText("Другой");
        f->Check1->click();
        f->Command4->click();
        QCOMPARE(dumpTable("tabScen") + dumpTable("tabRisk"), before);
        QCOMPARE(f->Tabl_Name->TextMatrix(row, 1), QStringLiteral("С1"));
    }

    void rowCommandsFollowTheClickedCell_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("classification number") << 1 << 1 << true;
        QTest::newRow("'нет' cell") << 1 << 5 << true;
        QTest::newRow("empty title") << 1 << 2 << false;
        QTest::newRow("header") << 0 << 1 << false;
    }
    void rowCommandsFollowTheClickedCell()
    {
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(bool, enabled);
        frmBD_Scen* f = openEditor(testing::object("Склад").scenario("С1", 1e-4).kills(1).id());
        f->Tabl_Name->clickCell(1, 1);
        f->Tabl_Name->clickCell(row, col);
        QCOMPARE(f->Command3->isEnabled(), enabled);
        QCOMPARE(f->Command5->isEnabled(), enabled);
    }

    void doubleClickOnHeaderLoadsNothing()
    {
        frmBD_Scen* f = openEditor(testing::object("Склад").scenario("С1", 1e-4).id());
        f->Tabl_Name->doubleClickCell(0, 1);
        QVERIFY(inListState(f));
        QVERIFY(!f->Command5->isEnabled());
    }

    void storeNewScenarioWithAllKinds()
    {
        auto obj = testing::object("Склад").scenario("С1", 1e-3).scenario("С2", 1e-3);
        {
            Connection c;
            c.exec(QStringLiteral("DELETE FROM tabScen WHERE Id_obj=? AND Id=1"), {int(obj.id())});
        }
        frmBD_Scen* f = openEditor(obj.id());
        f->Command2->click();
        QTest::keyClicks(f->Name_Object, "K-5");
        QVERIFY(f->Command1->isEnabled());
        f->Name_scen->setText("Выброс аммиака");
        f->koef->setText("2,5");
        f->Step->setText("4");
        for (QCheckBox* c : {f->Check1, f->Check2, f->Check3, f->Check4})
            c->click();
        f->Combo1->setEditText("3");
        f->Combo2->setEditText("2");
        f->Combo3->setEditText("5");
        f->Usherb->setText("0,12345");
        f->Command1->click();

        QVERIFY(m_msgs->calls.isEmpty());
        QVERIFY(inListState(f));
        Connection c;
        const auto rows =
            c.select(QStringLiteral("select * from tabScen where Id_obj=%1 and Name='K-5'").arg(obj.id()));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(FieldInt16(rows.first(), "Id"), qint16(1)); // the free key
        QCOMPARE(FieldText(rows.first(), "Opis"), QStringLiteral("Выброс аммиака"));
        QVERIFY(testing::fuzzyEqual(FieldDouble(rows.first(), "Risk"), 2.5e-4));
        QCOMPARE(testing::indicatorsOf(obj.id(), 1), QStringLiteral("0=3 1=2 2=5 3=0.123 4=7"));
        const int row = rowOf(f->Tabl_Name, "K-5");
        QVERIFY(row > 0);
        QCOMPARE(f->Tabl_Name->TextMatrix(row, 3), QStringLiteral("2,500E-04"));
    }

    void storeChangedScenario()
    {
        auto obj = testing::object("Склад")
                       .scenario("С1", 1e-3, "Старое")
                       .kills(1)
                       .severe(2)
                       .light(3)
                       .damage(0.5)
                       .sanitary(5)
                       .scenario("С2", 1e-3)
                       .severe(7)
                       .sanitary(7);
        frmBD_Scen* f = openEditor(obj.id());
        f->Tabl_Name->doubleClickCell(rowOf(f->Tabl_Name, "С1"), 1);
        f->Check2->click(); // severe no longer ticked
        f->Check4->click(); // nor damage
        f->Combo3->setEditText("4");
        f->Name_scen->clear();
        f->koef->setText("3");
        f->Step->setText("2");
        f->Command1->click();

        QVERIFY(m_msgs->calls.isEmpty());
        QCOMPARE(testing::indicatorsOf(obj.id(), 1), QStringLiteral("0=1 2=4 4=4"));
        QCOMPARE(testing::indicatorsOf(obj.id(), 2), QStringLiteral("1=7 4=7"));
        Connection c;
        const auto row = FindScenario(c, obj.id(), 1);
        QVERIFY(row);
        QCOMPARE(row->name, QStringLiteral("С1"));
        QCOMPARE(row->title, QString());
        QVERIFY(testing::fuzzyEqual(row->risk, 0.03));
        QCOMPARE(testing::countRows("select * from tabScen"), 2);
        QCOMPARE(f->Tabl_Name->TextMatrix(rowOf(f->Tabl_Name, "С1"), 5), QStringLiteral("нет"));
    }

    void acceptedEntryStoresAgainUnchanged_data()
    {
        QTest::addColumn<QString>("mantissa");
        QTest::addColumn<QString>("exponent");
        QTest::addColumn<QString>("people");
        QTest::addColumn<QString>("damage");
        QTest::addColumn<double>("frequency");
        // clang-format off
        QTest::newRow("smallest frequency") << "1" << "50" << "0" << "0" << 1e-50;
        QTest::newRow("smallest, mantissa below 1") << "0,1" << "49" << "1" << "0,001" << 1e-50;
        QTest::newRow("mantissa 9,999 at exponent 50") << "9,999" << "50" << "2" << "1" << 9.999e-50;
        QTest::newRow("largest numbers") << "1000000" << "0" << "1000000" << "1000000000" << 1e6;
        // clang-format on
    }
    void acceptedEntryStoresAgainUnchanged()
    {
        QFETCH(QString, mantissa);
        QFETCH(QString, exponent);
        QFETCH(QString, people);
        QFETCH(QString, damage);
        QFETCH(double, frequency);
        auto obj = testing::object("Склад");
        frmBD_Scen* f = openEditor(obj.id());
        f->Command2->click();
        f->Name_Object->setText("С1");
        f->koef->setText(mantissa);
        f->Step->setText(exponent);
        for (QCheckBox* c : {f->Check1, f->Check2, f->Check3, f->Check4})
            c->click();
        for (QComboBox* c : {f->Combo1, f->Combo2, f->Combo3})
            c->setEditText(people);
        f->Usherb->setText(damage);
        f->Command1->click();
        QCOMPARE(m_msgs->texts(), QStringList());
        const QStringList stored = dumpTable("tabRisk");

        // What the editor shows of the stored scenario is accepted again and stores the same numbers.
        f->Tabl_Name->doubleClickCell(rowOf(f->Tabl_Name, "С1"), 1);
        QVERIFY(inEntryState(f));
        f->Command1->click();
        QCOMPARE(m_msgs->texts(), QStringList());
        QVERIFY(inListState(f));
        QCOMPARE(dumpTable("tabRisk"), stored);
        Connection c;
        const auto row = FindScenario(c, obj.id(), 1);
        QVERIFY(row);
        QVERIFY2(testing::fuzzyEqual(row->risk, frequency, 1e-9), qPrintable(QString::number(row->risk)));
        QVERIFY(row->risk >= 1e-50 && row->risk <= 1e6);
    }

    // Another program instance changes the scenario, deletes it or deletes the object while it is being edited.
    void saveOfAScenarioChangedElsewhere_data()
    {
        QTest::addColumn<QString>("other");
        QTest::addColumn<DbFailure>("refusal");
        QTest::newRow("frequency changed") << "change" << DbFailure::ScenarioChanged;
        QTest::newRow("scenario deleted") << "delete scenario" << DbFailure::ScenarioGone;
        QTest::newRow("object deleted") << "delete object" << DbFailure::ObjectGone;
    }
    void saveOfAScenarioChangedElsewhere()
    {
        QFETCH(QString, other);
        QFETCH(DbFailure, refusal);
        auto obj = testing::object("Склад").scenario("С1", 2e-4).kills(3).scenario("С2", 1e-3).kills(1);
        frmBD_Scen* f = openEditor(obj.id());
        f->Tabl_Name->doubleClickCell(rowOf(f->Tabl_Name, "С1"), 1);
        QVERIFY(inEntryState(f));
        {
            Connection c;
            if (other == "change") {
                ScenarioEntry e;
                e.name = "С1";
                e.risk = 5e-4;
                e.indicators[0] = 3;
                SaveScenario(c, obj.id(), 1, e);
            } else if (other == "delete scenario") {
                DeleteScenario(c, obj.id(), 1);
            } else {
                DeleteObject(c, obj.id());
            }
        }
        const QStringList elsewhere = dumpTable("tabScen") + dumpTable("tabRisk");
        f->koef->setText("2");
        f->Step->setText("4");
        f->Combo1->setEditText("7");
        f->Command1->click();

        QCOMPARE(m_msgs->calls.size(), 1);
        QCOMPARE(m_msgs->calls[0].text, DbFailureText(refusal));
        QCOMPARE(m_msgs->calls[0].title, kTitle);
        QCOMPARE(dumpTable("tabScen") + dumpTable("tabRisk"), elsewhere);
        if (refusal != DbFailure::ScenarioChanged) {
            QVERIFY(inListState(f));
            QCOMPARE(rowOf(f->Tabl_Name, "С1"), -1);
            return;
        }
        // The list shows the other user's frequency; the typed entry stays and "ВВЕСТИ" again stores it.
        QVERIFY(inEntryState(f));
        QCOMPARE(f->Tabl_Name->TextMatrix(rowOf(f->Tabl_Name, "С1"), 3), FormatRiskValue(5e-4));
        QCOMPARE(f->koef->text(), QStringLiteral("2"));
        QCOMPARE(f->Combo1->currentText(), QStringLiteral("7"));
        f->Command1->click();
        QCOMPARE(m_msgs->calls.size(), 1);
        QCOMPARE(testing::indicatorsOf(obj.id(), 1), QStringLiteral("0=7"));
        QVERIFY(inListState(f));
    }

    void deleteOfAScenarioChangedElsewhere()
    {
        auto obj = testing::object("Склад").scenario("С1", 2e-4).kills(3);
        frmBD_Scen* f = openEditor(obj.id());
        {
            Connection c;
            SetIndicator(c, obj.id(), 1, 0, 5);
        }
        f->Tabl_Name->clickCell(rowOf(f->Tabl_Name, "С1"), 1);
        m_msgs->yes();
        f->Command3->click();
        QCOMPARE(m_msgs->calls.size(), 2);
        QCOMPARE(m_msgs->calls[1].text, DbFailureText(DbFailure::ScenarioChanged));
        QCOMPARE(testing::indicatorsOf(obj.id(), 1), QStringLiteral("0=5"));
        // Reloaded: the list shows what the other user stored.
        QCOMPARE(f->Tabl_Name->TextMatrix(rowOf(f->Tabl_Name, "С1"), 4), QStringLiteral("5"));
    }

    void damageUnits_data()
    {
        QTest::addColumn<bool>("thousand");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("stored");
        QTest::newRow("million, 3 decimals kept") << false << "0,12345" << 0.123;
        QTest::newRow("million, whole") << false << "7" << 7.0;
        QTest::newRow("thousand 1500") << true << "1500" << 1.5;
        QTest::newRow("thousand rounded to whole") << true << "1500,7" << 1.501;
        QTest::newRow("thousand 0") << true << "0" << 0.0;
    }
    void damageUnits()
    {
        QFETCH(bool, thousand);
        QFETCH(QString, typed);
        QFETCH(double, stored);
        auto obj = testing::object("Склад");
        frmBD_Scen* f = openEditor(obj.id());
        f->Command2->click();
        f->Name_Object->setText("С1");
        f->Check4->click();
        (thousand ? f->Option2 : f->Option1)->click();
        f->Usherb->setText(typed);
        f->Command1->click();
        QVERIFY(m_msgs->calls.isEmpty());
        Connection c;
        const auto value = ReadIndicator(c, obj.id(), 1, 3);
        QVERIFY(value);
        QVERIFY2(testing::fuzzyEqual(*value, stored), qPrintable(QString::number(*value)));
    }

    void invalidEntryIsRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("mantissa");
        QTest::addColumn<QString>("exponent");
        QTest::addColumn<int>("kind"); // the kind given `value`, -1 none
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus"); // the box that gets the focus

        const QString noName = "Не введен классификационный номер сценария!";
        const QString badMantissa = "Множитель частоты события должен быть положительным числом!";
        const QString badExponent = "Показатель степени частоты события должен быть целым числом от 0 до 50!";
        QTest::newRow("blank number") << "   "
                                      << "1"
                                      << "3" << -1 << "" << noName << "Name_Object";
        QTest::newRow("duplicate, other letter case")
            << "с1"
            << "1"
            << "3" << -1 << ""
            << "Сценарий с классификационным номером с1 уже есть у этого объекта! "
               "Введите другой номер."
            << "Name_Object";
        QTest::newRow("mantissa text") << "С9"
                                       << "abc"
                                       << "3" << -1 << "" << badMantissa << "koef";
        QTest::newRow("mantissa 0") << "С9"
                                    << "0"
                                    << "3" << -1 << "" << badMantissa << "koef";
        QTest::newRow("mantissa negative") << "С9"
                                           << "-2"
                                           << "3" << -1 << "" << badMantissa << "koef";
        QTest::newRow("exponent fraction") << "С9"
                                           << "1"
                                           << "2,5" << -1 << "" << badExponent << "Step";
        QTest::newRow("exponent 51") << "С9"
                                     << "1"
                                     << "51" << -1 << "" << badExponent << "Step";
        QTest::newRow("exponent negative") << "С9"
                                           << "1"
                                           << "-1" << -1 << "" << badExponent << "Step";
        QTest::newRow("fatalities negative") << "С9"
                                             << "1"
                                             << "3" << 0 << "-2"
                                             << "Число людей (гибель, чел.) должно быть целым числом от 0 до 1000000!"
                                             << "Combo1";
        QTest::newRow("severe fraction")
            << "С9"
            << "1"
            << "3" << 1 << "1,5"
            << "Число людей (тяжелые поражения, чел.) должно быть целым числом от 0 до 1000000!"
            << "Combo2";
        QTest::newRow("light text") << "С9"
                                    << "1"
                                    << "3" << 2 << "много"
                                    << "Число людей (легкие поражения, чел.) должно быть целым числом от 0 до 1000000!"
                                    << "Combo3";
        QTest::newRow("damage negative") << "С9"
                                         << "1"
                                         << "3" << 3 << "-0,1"
                                         << "Ущерб должен быть числом от 0 до 1000000000 млн. руб.!"
                                         << "Usherb";
        // Every stored number stays within what the charts and the report can show.
        const QString badFrequency = "Частота события должна быть от 1,000E-50 до 1000000 событий в год!";
        const QString manyKilled = "Число людей (гибель, чел.) должно быть целым числом от 0 до 1000000!";
        QTest::newRow("frequency below 1E-50") << "С9"
                                               << "0,5"
                                               << "50" << -1 << "" << badFrequency << "koef";
        QTest::newRow("frequency that would be 0") << "С9"
                                                   << "1e-300"
                                                   << "50" << -1 << "" << badFrequency << "koef";
        QTest::newRow("frequency above a million") << "С9"
                                                   << "1000001"
                                                   << "0" << -1 << "" << badFrequency << "koef";
        QTest::newRow("fatalities over a million") << "С9"
                                                   << "1"
                                                   << "3" << 0 << "1000001" << manyKilled << "Combo1";
        QTest::newRow("light 1e308") << "С9"
                                     << "1"
                                     << "3" << 2 << "1e308"
                                     << "Число людей (легкие поражения, чел.) должно быть целым числом от 0 до 1000000!"
                                     << "Combo3";
        QTest::newRow("damage over 1e9 million") << "С9"
                                                 << "1"
                                                 << "3" << 3 << "1000000001"
                                                 << "Ущерб должен быть числом от 0 до 1000000000 млн. руб.!"
                                                 << "Usherb";
        QTest::newRow("damage 1e308") << "С9"
                                      << "1"
                                      << "3" << 3 << "1e308"
                                      << "Ущерб должен быть числом от 0 до 1000000000 млн. руб.!"
                                      << "Usherb";
        QTest::newRow("damage text") << "С9"
                                     << "1"
                                     << "3" << 3 << "x"
                                     << "Ущерб должен быть числом от 0 до 1000000000 млн. руб.!"
                                     << "Usherb";
    }
    void invalidEntryIsRefused()
    {
        QFETCH(QString, name);
        QFETCH(QString, mantissa);
        QFETCH(QString, exponent);
        QFETCH(int, kind);
        QFETCH(QString, value);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        auto obj = testing::object("Склад").scenario("С1", 1e-4).kills(1);
        frmBD_Scen* f = openEditor(obj.id());
        f->Command2->click();
        f->Name_Object->setText(name);
        f->koef->setText(mantissa);
        f->Step->setText(exponent);
        // Every kind ticked with a sound value, so only the faulty one is refused.
        for (QCheckBox* c : {f->Check1, f->Check2, f->Check3, f->Check4})
            c->click();
        f->Combo1->setEditText("1");
        f->Combo2->setEditText("1");
        f->Combo3->setEditText("1");
        f->Usherb->setText("1");
        if (kind >= 0 && kind < 3)
            QList<QComboBox*>{f->Combo1, f->Combo2, f->Combo3}[kind]->setEditText(value);
        if (kind == 3)
            f->Usherb->setText(value);
        f->Name_scen->setFocus();
        const QStringList before = dumpTable("tabScen") + dumpTable("tabRisk");

        f->Command1_Click();
        QCOMPARE(m_msgs->calls.size(), 1);
        QCOMPARE(m_msgs->calls[0].text, message);
        QCOMPARE(m_msgs->calls[0].title, kTitle);
        QCOMPARE(dumpTable("tabScen") + dumpTable("tabRisk"), before);
        QVERIFY(inEntryState(f));
        const QMap<QString, QWidget*> boxes{
            {"Name_Object", f->Name_Object}, {"koef", f->koef},     {"Step", f->Step},    {"Combo1", f->Combo1},
            {"Combo2", f->Combo2},           {"Combo3", f->Combo3}, {"Usherb", f->Usherb}};
        QWidget* focused = f->focusWidget();
        QVERIFY(focused);
        QVERIFY2(focused == boxes[focus] || focused->parentWidget() == boxes[focus],
                 qPrintable(focused->metaObject()->className()));
    }

    void deleteAsksThenRemovesEveryKind()
    {
        auto obj = testing::object("Склад")
                       .scenario("С1", 1e-4)
                       .kills(1)
                       .severe(2)
                       .light(3)
                       .damage(0.5)
                       .sanitary(5)
                       .scenario("С2", 1e-4)
                       .kills(4);
        frmBD_Scen* f = openEditor(obj.id());
        const QStringList before = dumpTable("tabScen") + dumpTable("tabRisk");
        f->Tabl_Name->clickCell(rowOf(f->Tabl_Name, "С1"), 1);

        m_msgs->no();
        f->Command3->click();
        QCOMPARE(m_msgs->calls.size(), 1);
        QCOMPARE(m_msgs->calls[0].text,
                 QStringLiteral("Информация по сценарию С1 со всеми показателями будет удалена! Продолжить?"));
        QCOMPARE(m_msgs->calls[0].title, kSpacedTitle);
        QCOMPARE(m_msgs->calls[0].buttons, MsgButtons::YesNo);
        QCOMPARE(dumpTable("tabScen") + dumpTable("tabRisk"), before);

        m_msgs->yes();
        f->Command3->click();
        QCOMPARE(testing::countRows("select * from tabRisk where Id_scen=1"), 0);
        QCOMPARE(testing::countRows("select * from tabScen where Id=1"), 0);
        QCOMPARE(testing::indicatorsOf(obj.id(), 2), QStringLiteral("0=4"));
        QCOMPARE(f->Tabl_Name->Rows(), 2);
        QCOMPARE(f->Tabl_Name->TextMatrix(1, 1), QStringLiteral("С2"));
        QVERIFY(!f->Command3->isEnabled());
        QVERIFY(!f->Command5->isEnabled());
    }

    void becomingActiveLeavesEntryState()
    {
        auto obj = testing::object("Склад").scenario("С1", 1e-4);
        frmBD_Scen* f = openEditor(obj.id());
        f->Command2->click();
        forms().activate(f, true);
        QVERIFY(inListState(f));
        QVERIFY(!f->Tabl_Name->isHidden());
    }

    void forwardCommandsRefuseWithoutScenario_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("message");
        const QString next = "Для детализации необходимо ввести хотя бы один сценарий!";
        const QString build = "Для построения диаграммы необходимо ввести хотя бы один сценарий с показателем!";
        QTest::newRow("details button") << 6 << next;
        QTest::newRow("details menu") << 0 << next;
        QTest::newRow("build button") << 7 << build;
    }
    void forwardCommandsRefuseWithoutScenario()
    {
        QFETCH(int, command);
        QFETCH(QString, message);
        frmBD_Scen* f = openEditor(testing::object("Склад").id());
        QVERIFY(f->Tabl_Name->isHidden());
        if (command == 6)
            f->Command6->click();
        else if (command == 7)
            f->Command7->click();
        else
            f->mnuNext->trigger();
        settle();
        QCOMPARE(m_msgs->texts(), QStringList{message});
        QCOMPARE(m_msgs->calls[0].title, kTitle);
        QCOMPARE(forms().find<frmBD_Scen>(), f);
        QVERIFY(!f->isHidden());
        QVERIFY(!forms().isLoaded<frmInput>());
    }

    void detailsOpensIndicatorWindow()
    {
        auto obj = testing::object("Склад", 10).scenario("С1", 1e-4).kills(1);
        frmBD_Scen* f = openEditor(obj.id());
        DirectBuild = -1;
        f->Command6->click();
        settle();
        QCOMPARE(DirectBuild, qint16(0));
        QVERIFY(!forms().isLoaded<frmBD_Scen>());
        frmInput* input = forms().find<frmInput>();
        QVERIFY(input);
        QVERIFY(input->isVisible());
        QCOMPARE(input->windowModality(), Qt::ApplicationModal);
    }

    void backOpensObjectSelection()
    {
        frmBD_Scen* f = openEditor(testing::object("Склад").id());
        f->mnuPred->trigger();
        settle();
        QVERIFY(!forms().isLoaded<frmBD_Scen>());
        frmLoad* load = forms().find<frmLoad>();
        QVERIFY(load);
        QVERIFY(load->isVisible());
        QCOMPARE(load->windowModality(), Qt::ApplicationModal);
    }

    void directBuildWithoutPeopleAsksOnce_data()
    {
        QTest::addColumn<QVariant>("people");
        QTest::newRow("0") << QVariant(0);
        QTest::newRow("empty") << QVariant();
    }
    void directBuildWithoutPeopleAsksOnce()
    {
        QFETCH(QVariant, people);
        auto obj = testing::object("Склад", people).scenario("С1", 1e-4).kills(2).scenario("С2", 1e-3).severe(1);
        frmBD_Scen* f = openEditor(obj.id());
        PeopleAtRisk = 99;
        m_msgs->yes();
        f->Command7->click();
        QCOMPARE(m_msgs->calls.size(), 1);
        QCOMPARE(m_msgs->calls[0].text,
                 QStringLiteral("Индивидуальный риск не будет рассчитан, так как не введено число рискующих (ввод в "
                                "форме детализации показателей F/n, F/g диаграмм)! Построить?"));
        QCOMPARE(m_msgs->calls[0].title, kSpacedTitle);
        QCOMPARE(DirectBuild, qint16(-1));
        QCOMPARE(PeopleAtRisk, qint16(0));
        QVERIFY(forms().isLoaded<frmInput>());
        settle();
        QVERIFY(!forms().isLoaded<frmBD_Scen>());
        // The build ran from the indicator window without asking about the people again (a second run
        // would ask, as the flag is spent by then).
        QVERIFY(buildFinished());
        frmOutput* output = forms().find<frmOutput>();
        QVERIFY(output);
        QVERIFY(output->isVisible());
        QCOMPARE(m_msgs->calls.size(), 1);
        QCOMPARE(m_msgs->unexpected, 0);
    }

    void directBuildDeclinedChangesNothing()
    {
        auto obj = testing::object("Склад", 0).scenario("С1", 1e-4).kills(2);
        frmBD_Scen* f = openEditor(obj.id());
        m_msgs->no();
        f->Command7->click();
        settle();
        QCOMPARE(m_msgs->calls.size(), 1);
        QCOMPARE(DirectBuild, qint16(0));
        QVERIFY(!forms().isLoaded<frmInput>());
        QCOMPARE(forms().find<frmBD_Scen>(), f);
        QVERIFY(!f->isHidden());
    }

    void directBuildWithPeopleDoesNotAsk()
    {
        auto obj = testing::object("Склад", 250).scenario("С1", 1e-4).damage(1.5);
        frmBD_Scen* f = openEditor(obj.id());
        f->Command7->click();
        QVERIFY(m_msgs->calls.isEmpty());
        QCOMPARE(PeopleAtRisk, qint16(250));
        QCOMPARE(DirectBuild, qint16(-1));
        settle();
        QVERIFY(!forms().isLoaded<frmBD_Scen>());
        QVERIFY(buildFinished());
        QCOMPARE(m_msgs->unexpected, 0);
    }

    void directBuildWithoutIndicatorReturnsToEditor()
    {
        auto obj = testing::object("Склад", 5).scenario("С1", 1e-4).scenario("С2", 1e-3);
        frmBD_Scen* f = openEditor(obj.id());
        f->Command7->click();
        settle();
        QCOMPARE(m_msgs->texts(), QStringList{"Построение диаграмм не возможно! Не введен ни один показатель!"});
        QCOMPARE(m_msgs->calls[0].title, kTitle);
        QCOMPARE(forms().find<frmBD_Scen>(), f);
        QVERIFY(f->isVisible());
        QCOMPARE(f->windowModality(), Qt::ApplicationModal);
        QVERIFY(!forms().isLoaded<frmInput>());
        QCOMPARE(DirectBuild, qint16(0));
    }

private:
    std::unique_ptr<testing::TestHome> m_home;
    std::unique_ptr<testing::ScriptedMessages> m_msgs;
};

QTEST_MAIN(tst_frmBD_Scen)
#include "tst_frmBD_Scen.moc"

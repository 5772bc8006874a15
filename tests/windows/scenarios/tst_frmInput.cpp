// The indicator window: loading, the look-up panels, adding and changing an indicator, both clearing
// commands with the sanitary-loss rule, the refusals, and the ways in and out of the window.

#include "core/TestHome.h"
#include "gui/Scripted.h"
#include "gui/Helpers.h"

#include "core/ScenarioStore.h"
#include "core/Shared.h"
#include "components/Twips.h"
#include "windows/results/BuildDiagrams.h"
#include "windows/results/frmOutput.h"
#include "windows/scenarios/frmBD_Scen.h"
#include "windows/scenarios/frmInput.h"

#include <QApplication>
#include <QTest>

using namespace zarnel;

namespace {

const QString kTitle = QStringLiteral("В н и м а н и е ! ! !");

// The Number of the scenario's row of a kind, or an invalid QVariant.
QVariant stored(qint16 obj, qint16 scen, int kind)
{
    Connection c;
    const auto v = ReadIndicator(c, obj, scen, kind);
    return v ? QVariant(*v) : QVariant();
}

QStringList namesOf(const FlexGrid* g)
{
    QStringList out;
    for (int r = 1; r < g->Rows(); ++r)
        out << g->TextMatrix(r, 0);
    return out;
}

QStringList itemsOf(const QComboBox* c)
{
    QStringList out;
    for (int i = 0; i < c->count(); ++i)
        out << c->itemText(i);
    return out;
}

int rowOf(const FlexGrid* g, const QString& name)
{
    return testing::rowOf(g, name, 0);
}

// Chooses a scenario in the page's look-up panel as the user does.
void choose(frmInput* f, int kind, const QString& name)
{
    QComboBox* c = f->scenarioCombo(kind);
    const int i = c->findText(name);
    QVERIFY2(i >= 0, qPrintable(name));
    c->setCurrentIndex(i);
    Q_EMIT c->activated(i);
}

frmInput* openWindow(qint16 obj)
{
    CurrentObjectId = obj;
    frmInput* f = forms().get<frmInput>();
    f->Show();
    return f;
}

void failOnSanitaryWrite(const QString& sql)
{
    if (sql.startsWith("INSERT") || sql.startsWith("DELETE")) {
        static int n = 0;
        if (++n % 2 == 0) // the kind's own row goes through, the sanitary row fails
            throw DbError("сбой записи", sql);
    }
}

} // namespace

class tst_frmInput : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_home = std::make_unique<testing::TestHome>(); }
    void cleanup()
    {
        SetExecHook(nullptr);
        testing::resetWindows();
        m_home.reset();
    }

    void loadFillsObjectListsAndPanels()
    {
        auto obj = testing::object("Склад ГСМ", 120);
        obj.scenario("С2", 1e-4, "Пожар пролива").kills(4);
        obj.scenario("а1", 1e-5);
        testing::object("Цех").scenario("Ч1", 1e-3);
        frmInput* f = openWindow(obj.id());

        QCOMPARE(f->Label23->text(), QStringLiteral("Склад ГСМ"));
        QCOMPARE(f->People->text(), QStringLiteral("120"));
        QCOMPARE(f->SSTab1->currentIndex(), 0);
        QCOMPARE(f->Combo1->count(), countRowsOfNumbers());
        QCOMPARE(f->Combo1->currentIndex(), 0);
        QCOMPARE(itemsOf(f->Combo3), itemsOf(f->Combo1));
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(itemsOf(f->scenarioCombo(k)), (QStringList{"а1", "С2"}));
            QCOMPARE(f->scenarioCombo(k)->currentText(), QStringLiteral("а1"));
            QCOMPARE(f->titleLabel(k)->text(), QStringLiteral("не введено"));
            QCOMPARE(f->commitButton(k)->text(), QStringLiteral("Добавить"));
            QVERIFY(f->commitButton(k)->isEnabled());
        }
        QCOMPARE(f->Usherb->text(), QStringLiteral("0,25"));
    }

    void typedValueDoesNotJoinTheNumberList()
    {
        auto obj = testing::object("Склад");
        obj.scenario("С1", 1e-4);
        frmInput* f = openWindow(obj.id());
        for (int k = 0; k < 3; ++k) {
            auto* combo = static_cast<QComboBox*>(f->valueControl(k));
            const QStringList before = itemsOf(combo);
            combo->lineEdit()->setText("777");
            QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
            QCOMPARE(itemsOf(combo), before);
            QCOMPARE(f->valueText(k), QStringLiteral("777"));
        }
    }

    void lookUpPanel_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("value");
        // The value control shows the stored number, or keeps what the user typed ("17").
        // clang-format off
        QTest::newRow("indicator present") << 0 << "С2" << "Пожар пролива" << "Изменить" << "4";
        QTest::newRow("no indicator of the kind") << 1 << "С2" << "Пожар пролива" << "Добавить" << "17";
        QTest::newRow("empty title") << 0 << "Б7" << "не введено" << "Изменить" << "1";
        QTest::newRow("apostrophe in the number") << 2 << "С'5" << "Выброс" << "Изменить" << "6";
        QTest::newRow("damage") << 3 << "С2" << "Пожар пролива" << "Изменить" << "0,125";
        // clang-format on
    }
    void lookUpPanel()
    {
        QFETCH(int, kind);
        QFETCH(QString, name);
        QFETCH(QString, title);
        QFETCH(QString, caption);
        QFETCH(QString, value);
        auto obj = testing::object("Склад");
        obj.scenario("а0", 1e-3, "Первый").kills(9).severe(9).light(9).damage(9);
        obj.scenario("С2", 1e-4, "Пожар пролива").kills(4).damage(0.125);
        obj.scenario("Б7", 1e-5, "").kills(1);
        const qint16 apostrophe = obj.scenario("С'5", 1e-6, "Выброс").light(6).sanitary(6).lastScenario();
        frmInput* f = openWindow(obj.id());
        f->SSTab1->setCurrentIndex(kind);
        f->setValueText(kind, "17");

        choose(f, kind, name);
        QCOMPARE(f->titleLabel(kind)->text(), title);
        QCOMPARE(f->commitButton(kind)->text(), caption);
        QCOMPARE(f->valueText(kind), value);
        if (name == "С'5")
            QCOMPARE(CurrentScenarioId, apostrophe);
    }

    void commit_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("kept");
        QTest::addColumn<QVariant>("sanitary");
        QTest::addColumn<QString>("shown");
        // Scenario С1 starts with severe 2, light 3, sanitary 5 and no fatalities or damage.
        QTest::newRow("add fatalities, sanitary untouched") << 0 << "7" << 7.0 << QVariant(5.0) << "7";
        QTest::newRow("change severe") << 1 << "4" << 4.0 << QVariant(7.0) << "4";
        QTest::newRow("change light, with a dot") << 2 << "10.0" << 10.0 << QVariant(12.0) << "10";
        QTest::newRow("zero light keeps severe only") << 2 << "0" << 0.0 << QVariant(2.0) << "0";
        QTest::newRow("damage rounded to 3 decimals") << 3 << "1,23456" << 1.235 << QVariant(5.0) << "1,235";
        QTest::newRow("damage with a dot") << 3 << " 0.5 " << 0.5 << QVariant(5.0) << "0,5";
    }
    void commit()
    {
        QFETCH(int, kind);
        QFETCH(QString, typed);
        QFETCH(double, kept);
        QFETCH(QVariant, sanitary);
        QFETCH(QString, shown);
        testing::ScriptedMessages msgs;
        auto obj = testing::object("Склад");
        obj.scenario("А0", 1e-2).kills(1).severe(1).light(1).sanitary(2).damage(1);
        const qint16 scen = obj.scenario("С1", 1e-4).severe(2).light(3).sanitary(5).lastScenario();
        frmInput* f = openWindow(obj.id());
        f->SSTab1->setCurrentIndex(kind);
        choose(f, kind, "С1");
        const QStringList others = testing::dumpTable("tabRisk").filter(QRegularExpression("^1\\|1\\|"));

        f->setValueText(kind, typed);
        f->commitButton(kind)->click();

        QVERIFY2(msgs.calls.isEmpty(), qPrintable(msgs.texts().join('\n')));
        QVERIFY(testing::fuzzyEqual(stored(obj.id(), scen, kind).toDouble(), kept));
        QCOMPARE(stored(obj.id(), scen, 4), sanitary);
        QCOMPARE(testing::dumpTable("tabRisk").filter(QRegularExpression("^1\\|1\\|")), others);
        QCOMPARE(testing::countRows("select * from tabRisk where Id_scen=" + QString::number(scen) +
                                    " and Id_por=" + QString::number(kind)),
                 1);
        // The grid is refilled and the panel now changes what it added.
        FlexGrid* g = f->grid(kind);
        QVERIFY(!g->isHidden());
        QCOMPARE(g->TextMatrix(rowOf(g, "С1"), 2), shown);
        QVERIFY(!f->clearButton(kind)->isEnabled());
        QCOMPARE(f->commitButton(kind)->text(), QStringLiteral("Изменить"));
        QCOMPARE(f->valueText(kind), shown);
    }

    void addedLightCreatesSanitary()
    {
        auto obj = testing::object("Склад");
        const qint16 scen = obj.scenario("С1", 1e-4).lastScenario();
        frmInput* f = openWindow(obj.id());
        QVERIFY(f->tabPokaz_m1->isHidden());

        f->SSTab1->setCurrentIndex(2);
        f->Combo3->setEditText("3");
        f->Command7->click();

        QCOMPARE(stored(obj.id(), scen, 2), QVariant(3.0));
        QCOMPARE(stored(obj.id(), scen, 4), QVariant(3.0));
        QCOMPARE(namesOf(f->tabPokaz_m1), QStringList{"С1"});
        QVERIFY(!f->tabPokaz_m1->isHidden());
    }

    void commitRefusals_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        const QString killed = "Число людей (гибель, чел.) должно быть целым числом от 0 до 1000000!";
        const QString severe = "Число людей (тяжелые поражения, чел.) должно быть целым числом от 0 до 1000000!";
        const QString light = "Число людей (легкие поражения, чел.) должно быть целым числом от 0 до 1000000!";
        const QString damage = "Ущерб должен быть числом от 0 до 1000000000 млн. руб.!";
        QTest::newRow("negative people") << 0 << "-1" << killed;
        QTest::newRow("fraction of a person") << 1 << "2,5" << severe;
        QTest::newRow("people not a number") << 2 << "два" << light;
        QTest::newRow("people empty") << 0 << "" << killed;
        QTest::newRow("negative damage") << 3 << "-0,1" << damage;
        QTest::newRow("damage not a number") << 3 << "1,2,3" << damage;
        QTest::newRow("damage empty") << 3 << " " << damage;
        // The bounds the scenario editor keeps, so sanitary losses and the charts stay finite.
        QTest::newRow("severe 1e308") << 1 << "1e308" << severe;
        QTest::newRow("light over a million") << 2 << "1000001" << light;
        QTest::newRow("damage over 1e9 million") << 3 << "1000000001" << damage;
        QTest::newRow("damage 1e308") << 3 << "1e308" << damage;
    }
    void commitRefusals()
    {
        QFETCH(int, kind);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        testing::ScriptedMessages msgs;
        auto obj = testing::object("Склад");
        obj.scenario("С1", 1e-4).kills(1).severe(2).light(3).sanitary(5).damage(0.5);
        frmInput* f = openWindow(obj.id());
        f->SSTab1->setCurrentIndex(kind);
        const QStringList before = testing::dumpTable("tabRisk");

        f->setValueText(kind, typed);
        f->commitButton(kind)->click();

        QCOMPARE(msgs.calls.size(), 1);
        QCOMPARE(msgs.calls[0].text, message);
        QCOMPARE(msgs.calls[0].title, kTitle);
        QCOMPARE(testing::dumpTable("tabRisk"), before);
        QWidget* focus = f->focusWidget();
        QVERIFY(focus && (focus == f->valueControl(kind) || focus->parentWidget() == f->valueControl(kind)));
        QCOMPARE(f->valueText(kind), typed); // left for the user to correct
    }

    void commitUsesThePagesOwnScenario()
    {
        // Another page's panel or "Обнулить" changes CurrentScenarioId; the commit must not follow it.
        auto obj = testing::object("Склад");
        const qint16 first = obj.scenario("С1", 1e-4).kills(1).severe(1).sanitary(1).lastScenario();
        const qint16 second = obj.scenario("С2", 1e-5).kills(2).severe(2).sanitary(2).lastScenario();
        frmInput* f = openWindow(obj.id());
        choose(f, 0, "С1");
        f->SSTab1->setCurrentIndex(1);
        choose(f, 1, "С2");
        QCOMPARE(CurrentScenarioId, second);

        f->SSTab1->setCurrentIndex(0);
        f->Combo1->setEditText("9");
        f->Command11->click();

        QCOMPARE(stored(obj.id(), first, 0), QVariant(9.0));
        QCOMPARE(stored(obj.id(), second, 0), QVariant(2.0));
        QCOMPARE(CurrentScenarioId, first);
    }

    void databaseFailureWritesNothing()
    {
        testing::ScriptedMessages msgs;
        auto obj = testing::object("Склад");
        obj.scenario("С1", 1e-4).severe(2).light(3).sanitary(5);
        frmInput* f = openWindow(obj.id());
        f->SSTab1->setCurrentIndex(1);
        const QStringList before = testing::dumpTable("tabRisk");

        SetExecHook(failOnSanitaryWrite);
        f->Combo2->setEditText("8");
        f->Command5->click();
        SetExecHook(nullptr);

        QCOMPARE(msgs.calls.size(), 1);
        QVERIFY(msgs.calls[0].text.startsWith("Ошибка базы данных: "));
        QCOMPARE(testing::dumpTable("tabRisk"), before);
        QVERIFY(f->isVisible()); // the window stays usable
    }

    void unreachableDatabaseIsReportedOnceAtLoad()
    {
        testing::ScriptedMessages msgs;
        auto obj = testing::object("Склад");
        obj.scenario("С1", 1e-4).kills(1);
        CurrentObjectId = obj.id();
        ConnectionString.clear();

        frmInput* f = forms().get<frmInput>();
        QCOMPARE(msgs.calls.size(), 1);
        QVERIFY(msgs.calls[0].text.startsWith("Ошибка базы данных: "));
        QCOMPARE(f->Comb1->count(), 0);
        QVERIFY(!f->Command11->isEnabled());
    }

    void clearGridButtonFollowsTheClickedRow()
    {
        auto obj = testing::object("Склад");
        obj.scenario("С1", 1e-4).kills(1);
        frmInput* f = openWindow(obj.id());
        QVERIFY(!f->Command8->isEnabled());
        f->tabPokaz->clickCell(1, 2);
        QVERIFY(f->Command8->isEnabled());
        f->tabPokaz->clickCell(0, 1);
        QVERIFY(!f->Command8->isEnabled());
    }

    void clearOne_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QList<double>>("start"); // fatalities, severe, light, damage, sanitary; -1 = no row
        QTest::addColumn<QVariant>("sanitary");
        QTest::newRow("severe with light 3") << 1 << QList<double>{-1, 2, 3, -1, 5} << QVariant(3.0);
        QTest::newRow("severe without light") << 1 << QList<double>{-1, 2, -1, -1, 2} << QVariant();
        QTest::newRow("light with severe 4") << 2 << QList<double>{-1, 4, 1, -1, 5} << QVariant(4.0);
        QTest::newRow("missing sanitary row is created") << 1 << QList<double>{-1, 2, 3, -1, -1} << QVariant(3.0);
        QTest::newRow("fatalities leave sanitary") << 0 << QList<double>{1, 2, 3, -1, 99} << QVariant(99.0);
        QTest::newRow("damage leaves sanitary") << 3 << QList<double>{-1, 2, -1, 0.5, 7} << QVariant(7.0);
    }
    void clearOne()
    {
        QFETCH(int, kind);
        QFETCH(QList<double>, start);
        QFETCH(QVariant, sanitary);
        testing::ScriptedMessages msgs;
        auto obj = testing::object("Склад");
        obj.scenario("А0", 1e-2).kills(1).severe(1).light(1).damage(1).sanitary(2);
        const qint16 scen = obj.scenario("С'1", 1e-4).lastScenario();
        const int kinds[5] = {0, 1, 2, 3, 4};
        for (int i = 0; i < 5; ++i) {
            if (start[i] >= 0)
                obj.indicator(kinds[i], start[i]);
        }
        frmInput* f = openWindow(obj.id());
        f->SSTab1->setCurrentIndex(kind);
        choose(f, kind, "С'1");
        const QStringList others = testing::dumpTable("tabRisk").filter(QRegularExpression("^1\\|1\\|"));
        FlexGrid* g = f->grid(kind);

        g->clickCell(rowOf(g, "С'1"), 1);
        msgs.yes();
        f->clearButton(kind)->click();

        QCOMPARE(msgs.calls.size(), 1);
        QCOMPARE(msgs.calls[0].text, QStringLiteral("Старые данные будут утеряны! Продолжить?"));
        QCOMPARE(msgs.calls[0].title, kTitle);
        QCOMPARE(msgs.calls[0].buttons, MsgButtons::YesNo);
        QCOMPARE(stored(obj.id(), scen, kind), QVariant());
        QCOMPARE(stored(obj.id(), scen, 4), sanitary);
        QCOMPARE(testing::dumpTable("tabRisk").filter(QRegularExpression("^1\\|1\\|")), others);
        QCOMPARE(CurrentScenarioId, scen);
        QCOMPARE(namesOf(g), QStringList{"А0"});
        QVERIFY(!f->clearButton(kind)->isEnabled());
        QCOMPARE(f->commitButton(kind)->text(), QStringLiteral("Добавить"));
    }

    // Another program instance changes the fatalities of С1 after the window showed them.
    void changeOfAnIndicatorChangedElsewhere_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("add or change") << "commit";
        QTest::newRow("clear one") << "clear one";
        QTest::newRow("clear the kind") << "clear kind";
    }
    void changeOfAnIndicatorChangedElsewhere()
    {
        QFETCH(QString, command);
        testing::ScriptedMessages msgs;
        auto obj = testing::object("Склад");
        obj.scenario("С1", 1e-4).kills(3).scenario("С2", 1e-3).kills(1);
        frmInput* f = openWindow(obj.id());
        choose(f, 0, "С1");
        {
            Connection other;
            SetIndicator(other, obj.id(), 1, 0, 5);
        }
        const QStringList elsewhere = testing::dumpTable("tabRisk");
        FlexGrid* g = f->grid(0);
        if (command == "commit") {
            f->setValueText(0, "9");
            f->commitButton(0)->click();
        } else if (command == "clear one") {
            g->clickCell(rowOf(g, "С1"), 1);
            msgs.yes();
            f->clearButton(0)->click();
        } else {
            msgs.yes();
            f->mnuDelete->trigger();
        }

        QCOMPARE(msgs.calls.last().text, DbFailureText(DbFailure::ScenarioChanged));
        QCOMPARE(testing::dumpTable("tabRisk"), elsewhere);
        // Reloaded: the grid shows the other user's number; a typed value stays in the panel.
        QCOMPARE(g->TextMatrix(rowOf(g, "С1"), 2), QStringLiteral("5"));
        if (command == "commit") {
            QCOMPARE(f->valueText(0), QStringLiteral("9"));
            f->commitButton(0)->click();
            QCOMPARE(stored(obj.id(), 1, 0), QVariant(9.0));
        }
    }

    void clearOneAnsweredNoChangesNothing()
    {
        testing::ScriptedMessages msgs;
        auto obj = testing::object("Склад");
        obj.scenario("С1", 1e-4).severe(2).light(3).sanitary(5);
        frmInput* f = openWindow(obj.id());
        f->SSTab1->setCurrentIndex(1);
        const QStringList before = testing::dumpTable("tabRisk");

        f->tabPokaz_m->clickCell(1, 0);
        msgs.no();
        f->Command3->click();

        QCOMPARE(testing::dumpTable("tabRisk"), before);
        QCOMPARE(namesOf(f->tabPokaz_m), QStringList{"С1"});
    }

    void clearAll_data()
    {
        QTest::addColumn<int>("page");
        QTest::newRow("fatalities") << 0;
        QTest::newRow("severe") << 1;
        QTest::newRow("light") << 2;
        QTest::newRow("damage") << 3;
    }
    void clearAll()
    {
        QFETCH(int, page);
        testing::ScriptedMessages msgs;
        auto obj = testing::object("Склад");
        obj.scenario("С1", 1e-4).kills(1).severe(2).light(3).damage(0.5).sanitary(5);
        obj.scenario("С2", 1e-5).kills(4).severe(6).sanitary(6);
        testing::object("Цех").scenario("Ч1", 1e-3).kills(1).severe(1).light(1).damage(1).sanitary(2);
        frmInput* f = openWindow(obj.id());
        f->SSTab1->setCurrentIndex(page);
        QStringList expected;
        for (const QString& row : testing::dumpTable("tabRisk")) {
            if (!row.startsWith(QString::number(obj.id()) + "|") || row.split('|')[2] != QString::number(page))
                expected << row;
        }

        msgs.yes();
        f->mnuDelete->trigger();

        QCOMPARE(msgs.calls[0].text, QStringLiteral("Удаленные данные будут утеряны! Продолжить?"));
        QCOMPARE(msgs.calls[0].title, kTitle);
        QCOMPARE(testing::dumpTable("tabRisk"), expected); // kind-4 rows as they were
        QVERIFY(f->grid(page)->isHidden());
        for (int k = 0; k < 4; ++k) {
            if (k != page)
                QVERIFY(!f->grid(k)->isHidden());
        }
        QCOMPARE(f->commitButton(page)->text(), QStringLiteral("Добавить"));
    }

    void clearAllAnsweredNoChangesNothing()
    {
        testing::ScriptedMessages msgs;
        auto obj = testing::object("Склад");
        obj.scenario("С1", 1e-4).kills(1);
        frmInput* f = openWindow(obj.id());
        const QStringList before = testing::dumpTable("tabRisk");
        msgs.no();
        f->mnuDelete->trigger();
        QCOMPARE(testing::dumpTable("tabRisk"), before);
        QVERIFY(!f->tabPokaz->isHidden());
    }

    void backFromAddScenarioShowsTheEditorsChanges()
    {
        auto obj = testing::object("Склад", 10);
        obj.scenario("С1", 1e-4).kills(1);
        obj.scenario("С2", 1e-5).kills(5);
        frmInput* f = openWindow(obj.id());
        f->mnuUpor2->trigger(); // fatalities by value, largest first
        choose(f, 0, "С2");
        f->People->setText("25");

        f->mnuEnter_Sc->trigger();
        QVERIFY(f->isHidden());
        QCOMPARE(forms().find<frmInput>(), f);
        QVERIFY(forms().find<frmBD_Scen>()->isVisible());

        // What the editor stores meanwhile, then its way back to this window.
        obj.scenario("С3", 1e-6).kills(3);
        forms().find<frmBD_Scen>()->Unload();
        forms().get<frmInput>()->Show(true);

        QCOMPARE(namesOf(f->tabPokaz), (QStringList{"С2", "С3", "С1"}));
        QCOMPARE(itemsOf(f->Comb1), (QStringList{"С1", "С2", "С3"}));
        QCOMPARE(f->Comb1->currentText(), QStringLiteral("С2"));
        QCOMPARE(f->People->text(), QStringLiteral("25"));
    }

    void backFromAddScenarioForAnotherObjectReloads()
    {
        auto first = testing::object("Склад", 10);
        first.scenario("С1", 1e-4).kills(1);
        auto second = testing::object("Цех", 30);
        second.scenario("Ч1", 1e-3).damage(2);
        frmInput* f = openWindow(first.id());
        f->mnuUpor2->trigger();
        f->mnuEnter_Sc->trigger();

        CurrentObjectId = second.id();
        forms().get<frmInput>()->Show(true);

        QCOMPARE(f->Label23->text(), QStringLiteral("Цех"));
        QCOMPARE(f->People->text(), QStringLiteral("30"));
        QVERIFY(f->tabPokaz->isHidden());
        QCOMPARE(namesOf(f->tabPokaz_m2), QStringList{"Ч1"});
        QCOMPARE(f->SortPairs[0].ScenarioOrder, InitialSortPair().ScenarioOrder);
    }

    void backFromAddScenarioShowsTheCurrentObject_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("people");
        QTest::newRow("deleted, a new object takes its key") << "replace" << "Цех" << "7";
        QTest::newRow("renamed") << "rename" << "Склад №2" << "150";
        QTest::newRow("other number of people") << "people" << "Склад" << "40";
    }
    void backFromAddScenarioShowsTheCurrentObject()
    {
        QFETCH(QString, change);
        QFETCH(QString, name);
        QFETCH(QString, people);
        testing::ScriptedMessages msgs;
        auto obj = testing::object("Склад", 150);
        obj.scenario("С1", 1e-4).kills(1);
        frmInput* f = openWindow(obj.id());
        f->mnuEnter_Sc->trigger();
        QVERIFY(f->isHidden());

        // What the object windows do meanwhile, while this window stays hidden with the old key.
        {
            Connection c;
            if (change == "replace") {
                c.exec("DELETE FROM tabObjekt");
                c.exec("DELETE FROM tabScen");
                c.exec("DELETE FROM tabRisk");
                c.exec("INSERT INTO tabObjekt (Id, Name, People) VALUES (?, ?, ?)", {int(obj.id()), name, 7});
                c.exec("INSERT INTO tabScen (Id_obj, Id, Name, Risk) VALUES (?, 1, 'Ц1', 0.001)", {int(obj.id())});
                c.exec("INSERT INTO tabRisk (Id_obj, Id_scen, Id_por, Number) VALUES (?, 1, 3, 2)", {int(obj.id())});
            } else {
                c.exec("UPDATE tabObjekt SET Name = ?, People = ? WHERE Id = ?", {name, people.toInt(), int(obj.id())});
            }
        }
        forms().find<frmBD_Scen>()->Unload();
        forms().get<frmInput>()->Show(true);

        QCOMPARE(f->Label23->text(), name);
        QCOMPARE(f->People->text(), people);
        if (change == "replace") {
            QVERIFY(f->tabPokaz->isHidden());
            QCOMPARE(namesOf(f->tabPokaz_m2), QStringList{"Ц1"});
        }
        // The build divides by the number shown.
        f->Command1_Click();
        QTRY_VERIFY_WITH_TIMEOUT(!BuildDiagramsRunning(), 30000);
        QCOMPARE(int(PeopleAtRisk), people.toInt());
    }

    void fractionOfAPersonIsRefusedByTheBuild()
    {
        testing::ScriptedMessages msgs;
        auto obj = testing::object("Склад", 10);
        obj.scenario("С1", 1e-4).kills(1);
        frmInput* f = openWindow(obj.id());
        f->People->setText("2,5");
        PeopleAtRisk = 10;

        f->Command1_Click();
        QCOMPARE(msgs.texts(), QStringList{"Число людей в зоне риска должно быть целым числом от 0 до 32767!"});
        QCOMPARE(msgs.calls[0].title, QStringLiteral("Внимание!!!"));
        QVERIFY(!BuildDiagramsRunning());
        QCOMPARE(forms().find<frmOutput>(), nullptr);
        QCOMPARE(f->focusWidget(), f->People);
    }

    void closingTheEditorWhileThisWindowIsHiddenEndsTheProgram()
    {
        auto obj = testing::object("Склад");
        obj.scenario("С1", 1e-4).kills(1);
        frmInput* f = openWindow(obj.id());
        f->mnuEnter_Sc->trigger();
        frmBD_Scen* editor = forms().find<frmBD_Scen>();
        QVERIFY(editor && editor->isVisible());

        editor->close(); // the title bar's close button
        QVERIFY(forms().loaded().isEmpty());
    }

    void longNameKeepsTheWindowWidth()
    {
        const QString name = QString(500, QChar(0x0416)); // "ЖЖЖ…"
        auto obj = testing::object(name, 5);
        obj.scenario(QString(500, QChar(0x0429)), 1e-4, QString(500, QChar(0x0429))).kills(1);
        frmInput* f = openWindow(obj.id());
        QCoreApplication::processEvents();
        QCOMPARE(f->frameGeometry().width(), TwipsToPixelsX(9900));
        QCOMPARE(f->Label23->text(), name);
        QCOMPARE(f->Label23->toolTip(), name);
        QVERIFY(f->Label23->shownText().endsWith(QStringLiteral("…")));
        QVERIFY(f->Label23->shownText().size() < name.size());
        QCOMPARE(f->titleLabel(0)->toolTip(), QString(500, QChar(0x0429)));
    }

    void backUnloadsAndOpensTheEditorModally()
    {
        auto obj = testing::object("Склад");
        obj.scenario("С1", 1e-4).kills(1).scenario("С2", 1e-5).kills(2);
        frmInput* f = openWindow(obj.id());
        f->mnuUpor6->trigger();

        f->mnuReturn->trigger();
        QVERIFY(!forms().isLoaded<frmInput>());
        frmBD_Scen* editor = forms().find<frmBD_Scen>();
        QVERIFY(editor && editor->isVisible());
        QCOMPARE(editor->windowModality(), Qt::ApplicationModal);

        // Unloaded means a fresh window next time, with the first order again.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        frmInput* again = openWindow(obj.id());
        QCOMPARE(namesOf(again->tabPokaz), (QStringList{"С1", "С2"}));
    }

    void exitClosesEveryWindow()
    {
        auto obj = testing::object("Склад");
        obj.scenario("С1", 1e-4).kills(1);
        openWindow(obj.id())->mnuExit->trigger();
        QVERIFY(forms().loaded().isEmpty());
    }

private:
    static int countRowsOfNumbers() { return testing::countRows("select * from tabNumber"); }
    std::unique_ptr<testing::TestHome> m_home;
};

QTEST_MAIN(tst_frmInput)
#include "tst_frmInput.moc"

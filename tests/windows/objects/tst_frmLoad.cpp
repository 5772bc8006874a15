#include "core/Database.h"
#include "components/Twips.h"
#include "core/Shared.h"
#include "core/TestHome.h"
#include "gui/Scripted.h"
#include "gui/Helpers.h"
#include "windows/objects/frmLoad.h"
#include "windows/objects/frmLoad1.h"
#include "windows/scenarios/frmBD_Scen.h"
#include "windows/shell/frmMain1.h"

#include <QPointer>
#include <QTest>
#include <memory>

using namespace zarnel;
using testing::dumpTable;
using testing::object;

namespace {

const QString kSpaced = QStringLiteral("В н и м а н и е ! ! !");
const QString kPlain = QStringLiteral("Внимание!!!");
const QString kNameTaken = QStringLiteral("Объект с таким именем уже существует! Необходимо удалить его в предыдущей "
                                          "форме или изменить имя для сохранения!");
const QString kNoPeople = QStringLiteral("Не введено число рискующих человек! Продолжить?");
const QString kBadPeople = QStringLiteral("Число рискующих должно быть целым числом от 0 до 32767!");

QString g_failPrefix;
int g_failCountdown = 0;
void failingHook(const QString& sql)
{
    if (sql.startsWith(g_failPrefix) && --g_failCountdown == 0)
        throw DbError(QStringLiteral("injected failure"), sql);
}

QStringList allRows()
{
    return dumpTable("tabObjekt") + QStringList{"--"} + dumpTable("tabScen") + QStringList{"--"} + dumpTable("tabRisk");
}

using testing::settle;

frmLoad* openLoad()
{
    frmLoad* f = forms().get<frmLoad>();
    f->Show();
    return f;
}

frmLoad* openList()
{
    frmLoad* f = openLoad();
    f->Option2->click();
    return f;
}

int rowOf(const frmLoad* f, const QString& name)
{
    return testing::rowOf(f->Tabl_Name, name);
}

// Opens the list, clicks the object's row and runs one of the row commands.
frmLoad1* runOnRow(const QString& name, QPushButton* frmLoad::*command)
{
    frmLoad* f = openList();
    const int r = rowOf(f, name);
    if (r < 1)
        return nullptr;
    f->Tabl_Name->clickCell(r, 1);
    (f->*command)->click();
    return forms().find<frmLoad1>();
}

frmLoad1* openCreate(const QString& typed)
{
    frmLoad* f = openLoad();
    f->Name_obj->setText(typed);
    f->Command1->click();
    return forms().find<frmLoad1>();
}

// The dialog for one of the three commands: "create", "edit" (object "Склад") or "copy" (object "Склад").
frmLoad1* openDialog(const QString& command)
{
    if (command == "create")
        return openCreate("Новый объект");
    return runOnRow("Склад", command == "edit" ? &frmLoad::Command4 : &frmLoad::Command2);
}

bool near(int twips, int expected)
{
    return qAbs(twips - expected) <= 15; // one pixel at 96 DPI
}

} // namespace

class tst_frmLoad : public QObject {
    Q_OBJECT
    std::unique_ptr<testing::TestHome> home;
    std::unique_ptr<testing::ScriptedMessages> msgs;

private Q_SLOTS:
    void init()
    {
        home = std::make_unique<testing::TestHome>();
        msgs = std::make_unique<testing::ScriptedMessages>();
    }
    void cleanup()
    {
        SetExecHook(nullptr);
        testing::resetWindows();
        msgs.reset();
        home.reset();
    }

    // ---- frmLoad: modes, list, choosing a row

    void opensInNewObjectMode_data()
    {
        QTest::addColumn<int>("objects");
        QTest::newRow("empty database") << 0;
        QTest::newRow("objects stored") << 2;
    }
    void opensInNewObjectMode()
    {
        QFETCH(int, objects);
        for (int i = 1; i <= objects; ++i)
            object(QStringLiteral("Объект %1").arg(i), 10);
        frmLoad* f = openLoad();
        QCOMPARE(f->windowTitle(), QString("Выбор загрузки"));
        QVERIFY(f->Option1->isChecked());
        QCOMPARE(f->Option2->isEnabled(), objects > 0);
        QCOMPARE(f->heightTwips(), 2150);
        QVERIFY(!f->Frame3->isHidden());
        QVERIFY(f->Frame2->isHidden());
        QCOMPARE(f->Command1->text(), QString("СОЗДАТЬ"));
        QVERIFY(f->Command1->isEnabled());
        QVERIFY(!f->Command2->isEnabled() && !f->Command3->isEnabled() && !f->Command4->isEnabled());
        QCOMPARE(f->Tabl_Name->Rows(), objects > 0 ? objects + 1 : 2);
        QCOMPARE(f->Tabl_Name->TextMatrix(1, 0).isEmpty(), objects == 0);
    }

    void listShowsObjectsByName()
    {
        object("склад", 200);
        object("Арсенал", 0);
        object("База", QVariant());
        frmLoad* f = openList();
        QCOMPARE(f->heightTwips(), 4900);
        QVERIFY(!f->Frame2->isHidden());
        QCOMPARE(f->Command1->text(), QString("ЗАГРУЗИТЬ"));
        QVERIFY(!f->Command1->isEnabled());

        FlexGrid* g = f->Tabl_Name;
        QCOMPARE(g->Cols(), 3);
        QCOMPARE(g->Rows(), 4);
        QCOMPARE(g->TextMatrix(0, 1), QString("Опасные производственные объекты"));
        QCOMPARE(g->TextMatrix(0, 2), QString("Число рискующих"));
        QVERIFY(g->isColumnHidden(0));
        QVERIFY2(near(g->ColWidth(1), 5500), qPrintable(QString::number(g->ColWidth(1))));
        QVERIFY2(near(g->ColWidth(2), 1100), qPrintable(QString::number(g->ColWidth(2))));
        QVERIFY2(near(g->RowHeight(0), 500), qPrintable(QString::number(g->RowHeight(0))));
        QCOMPARE(g->selectionBehavior(), QAbstractItemView::SelectRows);

        const QStringList expected{"2|Арсенал|не задано", "3|База|не задано", "1|склад|200"};
        for (int r = 1; r <= 3; ++r)
            QCOMPARE(QStringList({g->TextMatrix(r, 0), g->TextMatrix(r, 1), g->TextMatrix(r, 2)}).join('|'),
                     expected[r - 1]);
        QCOMPARE(g->cellForeColor(1, 2), QColor(255, 128, 128));
        QCOMPARE(g->cellForeColor(2, 2), QColor(255, 128, 128));
        QCOMPARE(g->cellForeColor(3, 2), QColor(Qt::black));
    }

    void rowChoiceEnablesTheRowCommands()
    {
        object("Склад", 5);
        frmLoad* f = openList();
        const auto all = [f] {
            return QList<bool>{f->Command1->isEnabled(), f->Command2->isEnabled(), f->Command3->isEnabled(),
                               f->Command4->isEnabled()};
        };
        f->Tabl_Name->clickCell(1, 1);
        QCOMPARE(all(), QList<bool>({true, true, true, true}));
        f->Tabl_Name->clickCell(0, 1);
        QCOMPARE(all(), QList<bool>({false, false, false, false}));
        f->Tabl_Name->doubleClickCell(0, 2);
        QVERIFY(forms().isLoaded<frmLoad>());
        QVERIFY(!f->Command1->isEnabled());

        f->Option1->click();
        QCOMPARE(f->heightTwips(), 2150);
        QVERIFY(f->Frame2->isHidden());
        QCOMPARE(f->Command1->text(), QString("СОЗДАТЬ"));
        QVERIFY(f->Command1->isEnabled());
    }

    void outerHeightFollowsTheMode()
    {
        object("Склад", 5);
        frmLoad* f = openLoad();
        settle();
        const auto outer = [f] { return f->frameGeometry().height(); };
        QCOMPARE(outer(), TwipsToPixelsY(2150));
        for (int round = 0; round < 2; ++round) {
            f->Option2->click();
            settle();
            QCOMPARE(outer(), TwipsToPixelsY(4900));
            // Back to a new object: no band is left where the list was.
            f->Option1->click();
            QCOMPARE(outer(), TwipsToPixelsY(2150));
            settle();
            QCOMPARE(outer(), TwipsToPixelsY(2150));
        }
    }

    void loadsTheChosenObject_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("button") << "button";
        QTest::newRow("double click") << "double click";
        QTest::newRow("arrow down and Enter") << "keys";
    }
    void loadsTheChosenObject()
    {
        QFETCH(QString, how);
        const qint16 beta = object("Бета", 1).id();
        object("Альфа", 2);
        frmLoad* f = openList();
        if (how == "button") {
            f->Tabl_Name->clickCell(rowOf(f, "Бета"), 1);
            f->Command1->click();
        } else if (how == "double click") {
            f->Tabl_Name->doubleClickCell(rowOf(f, "Бета"), 2);
        } else {
            f->Tabl_Name->clickCell(rowOf(f, "Альфа"), 1);
            QCOMPARE(CurrentObjectId, qint16(0));
            QTest::keyClick(f->Tabl_Name, Qt::Key_Down);
            QVERIFY(f->Command1->isEnabled());
            QTest::keyClick(f->Tabl_Name, Qt::Key_Return);
        }
        QCOMPARE(CurrentObjectId, beta);
        QVERIFY(!forms().isLoaded<frmLoad>());
        frmBD_Scen* editor = forms().find<frmBD_Scen>();
        QVERIFY(editor && editor->isVisible());
        QCOMPARE(editor->windowModality(), Qt::ApplicationModal);
        QVERIFY(msgs->calls.isEmpty());
    }

    // ---- "СОЗДАТЬ"

    void createWithStoredName_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("answerYes");
        QTest::newRow("same name, load it") << "Склад ГСМ"
                                            << "Склад ГСМ" << true;
        QTest::newRow("other letter case, load it") << "Склад ГСМ"
                                                    << "СКЛАД гсм" << true;
        QTest::newRow("blanks around, load it") << "Склад ГСМ"
                                                << "  Склад ГСМ " << true;
        QTest::newRow("quote in the name, load it") << "Завод 'Восток'"
                                                    << "завод 'восток'" << true;
        QTest::newRow("same name, keep the window") << "Склад ГСМ"
                                                    << "склад гсм" << false;
    }
    void createWithStoredName()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(bool, answerYes);
        object("Другой", 3);
        const qint16 id = object(stored, 4).id();
        answerYes ? msgs->yes() : msgs->no();
        frmLoad* f = openLoad();
        QPointer<frmLoad> guard(f);
        f->Name_obj->setText(typed);
        f->Command1->click();

        QCOMPARE(msgs->calls.size(), 1);
        QCOMPARE(msgs->calls[0].text, QString("Существует объект с таким именем! Загрузить?"));
        QCOMPARE(msgs->calls[0].title, kSpaced);
        QCOMPARE(msgs->calls[0].buttons, MsgButtons::YesNo);
        QCOMPARE(msgs->calls[0].icon, MsgIcon::None);
        QVERIFY(!forms().isLoaded<frmLoad1>());
        if (answerYes) {
            QCOMPARE(CurrentObjectId, id);
            QVERIFY(!forms().isLoaded<frmLoad>());
            QVERIFY(forms().isLoaded<frmBD_Scen>());
        } else {
            QCOMPARE(CurrentObjectId, qint16(0));
            QVERIFY(guard && f->isVisible() && f->Option1->isChecked());
            QCOMPARE(f->Name_obj->text(), typed);
            QVERIFY(!forms().isLoaded<frmBD_Scen>());
        }
    }

    void createNewObject()
    {
        object("Первый", 1);
        object("Второй", 1);
        object("Третий", 1);
        {
            Connection c;
            c.exec("DELETE FROM tabObjekt WHERE Id = 2");
        }
        CurrentObjectId = 9;
        frmLoad1* d = openCreate("Новый");
        QVERIFY(d && d->isVisible());
        frmLoad* f = forms().find<frmLoad>();
        QVERIFY(f && !f->isVisible());
        QCOMPARE(d->windowTitle(), QString("Изменить"));
        QCOMPARE(d->Frame4->title(), QString("Опасный производственный объект"));
        QCOMPARE(d->Text1->text(), QString());
        QCOMPARE(d->People->text(), QString("0"));
        QCOMPARE(d->Command5->text(), QString("Создать"));
        QVERIFY(!d->Command5->isEnabled());
        QCOMPARE(CurrentObjectId, qint16(0));

        d->Text1->setText("Новый 'цех'");
        QVERIFY(d->Command5->isEnabled());
        d->People->setText(" 25 ");
        d->Command5->click();
        QVERIFY(msgs->calls.isEmpty());
        QCOMPARE(dumpTable("tabObjekt"), QStringList({"1|Первый|1", "2|Новый 'цех'|25", "3|Третий|1"}));
        QCOMPARE(CurrentObjectId, qint16(2));
        QVERIFY(!forms().isLoaded<frmLoad>());
        QVERIFY(!forms().isLoaded<frmLoad1>());
        frmBD_Scen* editor = forms().find<frmBD_Scen>();
        QVERIFY(editor && editor->isVisible());
        QCOMPARE(editor->windowModality(), Qt::ApplicationModal);
    }

    // ---- "Изменить" and "Сохранить как..."

    void editChangesTheObject()
    {
        const qint16 id = object("Склад", 0).id();
        object("Цех", 12);
        frmLoad* before = openList();
        QPointer<frmLoad> old(before);
        frmLoad1* d = runOnRow("Склад", &frmLoad::Command4);
        QVERIFY(d && d->isVisible() && !before->isVisible());
        QCOMPARE(d->windowTitle(), QString("Изменить"));
        QCOMPARE(d->Frame4->title(), QString("Склад"));
        QCOMPARE(d->Text1->text(), QString("Склад"));
        QCOMPARE(d->People->text(), QString("0"));
        QCOMPARE(d->Command5->text(), QString("СОХРАНИТЬ"));
        QVERIFY(!d->Command5->isEnabled());
        QCOMPARE(CurrentObjectId, id);

        d->Text1->setText("Склад №2");
        d->People->setText("30");
        d->Command5->click();
        QVERIFY(msgs->calls.isEmpty());
        QCOMPARE(dumpTable("tabObjekt"), QStringList({"1|Склад №2|30", "2|Цех|12"}));
        QCOMPARE(CurrentObjectId, id);
        settle();
        QVERIFY(!old);
        QVERIFY(!forms().isLoaded<frmLoad1>());
        frmLoad* fresh = forms().find<frmLoad>();
        QVERIFY(fresh && fresh->isVisible());
        QVERIFY(fresh->Option2->isChecked());
        QCOMPARE(fresh->heightTwips(), 4900);
        QVERIFY(!fresh->Command1->isEnabled() && !fresh->Command4->isEnabled());
        QCOMPARE(fresh->Tabl_Name->TextMatrix(rowOf(fresh, "Склад №2"), 2), QString("30"));
    }

    // Another program instance changes or deletes the object while the dialog is open.
    void editOfAnObjectChangedElsewhere_data()
    {
        QTest::addColumn<bool>("deleted");
        QTest::newRow("changed") << false;
        QTest::newRow("deleted") << true;
    }
    void editOfAnObjectChangedElsewhere()
    {
        QFETCH(bool, deleted);
        const qint16 id = object("Склад", 10).id();
        frmLoad1* d = runOnRow("Склад", &frmLoad::Command4);
        QVERIFY(d);
        {
            Connection other;
            if (deleted)
                DeleteObject(other, id);
            else
                ChangeObject(other, *FindObject(other, id), "Склад", 40);
        }
        const QStringList elsewhere = dumpTable("tabObjekt");
        d->Text1->setText("Склад №2");
        d->People->setText("30");
        d->Command5->click();

        QCOMPARE(msgs->calls.size(), 1);
        QCOMPARE(msgs->calls[0].text, DbFailureText(deleted ? DbFailure::ObjectGone : DbFailure::ObjectChanged));
        QCOMPARE(msgs->calls[0].icon, MsgIcon::Exclamation);
        QCOMPARE(dumpTable("tabObjekt"), elsewhere);
        settle();
        if (deleted) {
            QVERIFY(!forms().isLoaded<frmLoad1>());
            frmLoad* fresh = forms().find<frmLoad>();
            QVERIFY(fresh && fresh->isVisible());
            QCOMPARE(rowOf(fresh, "Склад"), -1);
            return;
        }
        // The typed entry stays; saving again applies it knowingly over the other user's change.
        QVERIFY(d->isVisible());
        QCOMPARE(d->Text1->text(), QString("Склад №2"));
        QCOMPARE(d->People->text(), QString("30"));
        d->Command5->click();
        QCOMPARE(msgs->calls.size(), 1);
        QCOMPARE(dumpTable("tabObjekt"), QStringList({"1|Склад №2|30"}));
    }

    void saveButtonEnabling_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("people");
        QTest::addColumn<bool>("enabled");
        // The object is "Склад" with 12 people; copy opens with people "0".
        QTest::newRow("edit: as opened") << "edit"
                                         << "Склад"
                                         << "12" << false;
        QTest::newRow("edit: people only") << "edit"
                                           << "Склад"
                                           << "13" << true;
        QTest::newRow("edit: name only") << "edit"
                                         << "Склад-1"
                                         << "12" << true;
        QTest::newRow("edit: letter case only") << "edit"
                                                << "СКЛАД"
                                                << "12" << true;
        QTest::newRow("edit: name emptied") << "edit"
                                            << ""
                                            << "13" << false;
        QTest::newRow("edit: name of blanks") << "edit"
                                              << "   "
                                              << "13" << false;
        QTest::newRow("edit: people emptied") << "edit"
                                              << "Склад-1"
                                              << "" << false;
        QTest::newRow("copy: as opened") << "copy"
                                         << "Склад"
                                         << "0" << true;
        QTest::newRow("copy: people only") << "copy"
                                           << "Склад"
                                           << "5" << true;
        QTest::newRow("copy: new name") << "copy"
                                        << "Склад-2"
                                        << "0" << true;
        QTest::newRow("copy: name emptied") << "copy"
                                            << ""
                                            << "0" << false;
        QTest::newRow("copy: name of blanks") << "copy"
                                              << "  "
                                              << "5" << false;
        QTest::newRow("create: as opened") << "create"
                                           << ""
                                           << "0" << false;
        QTest::newRow("create: name typed") << "create"
                                            << "Новый"
                                            << "0" << true;
    }
    void saveButtonEnabling()
    {
        QFETCH(QString, command);
        QFETCH(QString, name);
        QFETCH(QString, people);
        QFETCH(bool, enabled);
        object("Склад", 12);
        frmLoad1* d = command == "create" ? openCreate("Новый") : openDialog(command);
        QVERIFY(d);
        d->Text1->setText(name);
        d->People->setText(people);
        QCOMPARE(d->Command5->isEnabled(), enabled);
    }

    void copyTakesScenariosAndIndicators()
    {
        const qint16 src = object("Склад", 150)
                               .scenario("С1", 1e-4, "Пролив")
                               .kills(3)
                               .damage(0.25)
                               .scenario("С2", 2.5e-6)
                               .severe(4)
                               .light(6)
                               .sanitary(10)
                               .id();
        object("Цех", 7).scenario("Ц1", 1e-3).kills(1);
        const QStringList before = allRows();
        frmLoad1* d = runOnRow("Склад", &frmLoad::Command2);
        QVERIFY(d);
        QCOMPARE(d->windowTitle(), QString("Сохранить как..."));
        QCOMPARE(d->Frame4->title(), QString("Склад"));
        QCOMPARE(d->Text1->text(), QString("Склад"));
        QCOMPARE(d->People->text(), QString("0"));
        QVERIFY(d->Command5->isEnabled());
        QCOMPARE(CurrentObjectId, src);

        d->Text1->setText("Склад (копия)");
        d->People->setText("40");
        d->Command5->click();
        QVERIFY(msgs->calls.isEmpty());
        QCOMPARE(CurrentObjectId, src);

        const QStringList after = allRows();
        QStringList expected = before;
        expected << "3|Склад (копия)|40";
        for (const QString& r : before)
            if (r.startsWith("1|") && r.count('|') > 2) // the source's scenario and indicator rows
                expected << "3" + r.mid(1);
        expected.sort();
        QStringList sortedAfter = after;
        sortedAfter.sort();
        QCOMPARE(sortedAfter, expected);

        frmLoad* fresh = forms().find<frmLoad>();
        QVERIFY(fresh && fresh->isVisible() && fresh->Option2->isChecked());
        QVERIFY(rowOf(fresh, "Склад") > 0 && rowOf(fresh, "Склад (копия)") > 0);
    }

    void copyUnderTheUnchangedName()
    {
        object("Склад", 12).scenario("С1", 1e-4).kills(1);
        const QStringList before = allRows();
        frmLoad1* d = runOnRow("Склад", &frmLoad::Command2);
        QVERIFY(d && d->Command5->isEnabled());
        msgs->yes();
        d->Command5->click();
        QCOMPARE(msgs->texts(), QStringList({kNoPeople, kNameTaken}));
        QCOMPARE(msgs->calls[1].title, kPlain);
        QCOMPARE(allRows(), before);
        QVERIFY(forms().isLoaded<frmLoad1>() && d->isVisible());
        QCOMPARE(d->focusWidget(), d->Text1);
        QVERIFY(!forms().find<frmLoad>()->isVisible());
    }

    void takenNames_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("refused");
        QTest::newRow("create: stored name in capitals") << "create"
                                                         << "ЦЕХ" << true;
        QTest::newRow("create: quote and other case") << "create"
                                                      << "ЗАВОД 'ВОСТОК'" << true;
        QTest::newRow("copy: another object's name") << "copy"
                                                     << "цех" << true;
        QTest::newRow("copy: blanks around a stored name") << "copy"
                                                           << " Цех " << true;
        QTest::newRow("edit: another object's name is accepted") << "edit"
                                                                 << "Цех" << false;
    }
    void takenNames()
    {
        QFETCH(QString, command);
        QFETCH(QString, name);
        QFETCH(bool, refused);
        object("Склад", 12);
        object("Цех", 3);
        object("Завод 'Восток'", 3);
        const QStringList before = allRows();
        frmLoad1* d = openDialog(command);
        QVERIFY(d);
        d->Text1->setText(name);
        d->People->setText("8");
        d->Command5->click();
        if (refused) {
            QCOMPARE(msgs->calls.size(), 1);
            QCOMPARE(msgs->calls[0].text, kNameTaken);
            QCOMPARE(msgs->calls[0].title, kPlain);
            QCOMPARE(msgs->calls[0].buttons, MsgButtons::OK);
            QCOMPARE(allRows(), before);
            QVERIFY(d->isVisible());
            QCOMPARE(d->focusWidget(), d->Text1);
        } else {
            QVERIFY(msgs->calls.isEmpty());
            QCOMPARE(testing::countRows("select * from tabObjekt where Name='цех'"), 2);
            QVERIFY(!forms().isLoaded<frmLoad1>());
        }
    }

    void peopleZero_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("answerYes");
        QTest::newRow("create, No") << "create" << false;
        QTest::newRow("edit, No") << "edit" << false;
        QTest::newRow("copy, No") << "copy" << false;
        QTest::newRow("create, Yes") << "create" << true;
    }
    void peopleZero()
    {
        QFETCH(QString, command);
        QFETCH(bool, answerYes);
        object("Склад", 12).scenario("С1", 1e-4).kills(1);
        const QStringList before = allRows();
        frmLoad1* d = openDialog(command);
        QVERIFY(d);
        QPointer<frmLoad> list(forms().find<frmLoad>());
        d->Text1->setText("Другое имя");
        d->People->setText("0");
        answerYes ? msgs->yes() : msgs->no();
        d->Command5->click();
        QCOMPARE(msgs->calls.size(), 1);
        QCOMPARE(msgs->calls[0].text, kNoPeople);
        QCOMPARE(msgs->calls[0].title, kSpaced);
        QCOMPARE(msgs->calls[0].buttons, MsgButtons::YesNo);
        QVERIFY(!forms().isLoaded<frmLoad1>());
        if (answerYes) {
            QCOMPARE(dumpTable("tabObjekt"), QStringList({"1|Склад|12", "2|Другое имя|0"}));
            QVERIFY(forms().isLoaded<frmBD_Scen>());
        } else {
            QCOMPARE(allRows(), before);
            QVERIFY(list && list->isVisible());
            QCOMPARE(forms().find<frmLoad>(), list.data());
        }
    }

    void badPeopleText_data()
    {
        QTest::addColumn<QString>("people");
        QTest::newRow("letters") << "много";
        QTest::newRow("fraction") << "2,5";
        QTest::newRow("negative") << "-3";
        QTest::newRow("overflow") << "40000";
    }
    void badPeopleText()
    {
        QFETCH(QString, people);
        object("Склад", 12);
        const QStringList before = allRows();
        frmLoad1* d = openDialog("edit");
        d->People->setText(people);
        d->Command5->click();
        QCOMPARE(msgs->texts(), QStringList{kBadPeople});
        QCOMPARE(msgs->calls[0].title, kPlain);
        QCOMPARE(allRows(), before);
        QVERIFY(d->isVisible());
        QCOMPARE(d->focusWidget(), d->People);
    }

    void cancelShowsTheKeptList_data()
    {
        QTest::addColumn<bool>("byFrame");
        QTest::newRow("ОТМЕНА") << false;
        QTest::newRow("closed by its frame") << true;
    }
    void cancelShowsTheKeptList()
    {
        QFETCH(bool, byFrame);
        object("Склад", 12);
        object("Цех", 3);
        frmLoad1* d = runOnRow("Цех", &frmLoad::Command4);
        QVERIFY(d);
        frmLoad* f = forms().find<frmLoad>();
        d->People->setText("99");
        byFrame ? void(d->close()) : d->Command6->click();
        QVERIFY(!forms().isLoaded<frmLoad1>());
        QCOMPARE(forms().find<frmLoad>(), f);
        QVERIFY(f->isVisible() && f->Option2->isChecked());
        QCOMPARE(f->Tabl_Name->Row(), rowOf(f, "Цех"));
        QVERIFY(f->Command4->isEnabled());
        QCOMPARE(dumpTable("tabObjekt"), QStringList({"1|Склад|12", "2|Цех|3"}));
    }

    void createWhenNoKeyIsLeft()
    {
        {
            Connection c;
            c.exec("INSERT INTO tabObjekt (Id, Name, People) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                   "SELECT i + 1 FROM n WHERE i < 32767) SELECT i, 'О' || i, 1 FROM n");
        }
        frmLoad1* d = forms().get<frmLoad1>();
        d->setWindowTitle("Изменить");
        CurrentObjectId = 0;
        d->Show();
        d->Text1->setText("Лишний");
        d->People->setText("3");
        d->Command5->click();
        QCOMPARE(msgs->texts(), QStringList{"В базе данных уже 32767 объектов: новый объект сохранить нельзя. "
                                            "Удалите ненужные объекты в предыдущей форме!"});
        QCOMPARE(testing::countRows("select * from tabObjekt"), 32767);
        QCOMPARE(CurrentObjectId, qint16(0));
        QVERIFY(d->isVisible());
        QVERIFY(!forms().isLoaded<frmBD_Scen>());
    }

    // ---- "Удалить объект"

    void deleteRemovesTheObjectAndItsKeyIsReused()
    {
        object("Первый", 1).scenario("П1", 1e-4).kills(1);
        object("Второй", 2).scenario("В1", 1e-4).kills(2).scenario("В2", 1e-5).damage(1);
        object("Третий", 3).scenario("Т1", 1e-4).kills(3);
        const QStringList before = allRows();
        frmLoad* f = openList();
        f->Tabl_Name->clickCell(rowOf(f, "Второй"), 1);

        msgs->no();
        f->Command3->click();
        QCOMPARE(msgs->calls[0].text,
                 QString("Вся информация по этому объекту со всей сценарной базой будет удалена! Продолжить?"));
        QCOMPARE(msgs->calls[0].title, kSpaced);
        QCOMPARE(msgs->calls[0].buttons, MsgButtons::YesNo);
        QCOMPARE(allRows(), before);
        QVERIFY(f->Command3->isEnabled());

        msgs->yes();
        f->Command3->click();
        QCOMPARE(dumpTable("tabObjekt"), QStringList({"1|Первый|1", "3|Третий|3"}));
        QCOMPARE(testing::countRows("select * from tabScen where Id_obj=2"), 0);
        QCOMPARE(testing::countRows("select * from tabRisk where Id_obj=2"), 0);
        QCOMPARE(testing::countRows("select * from tabScen"), 2);
        QCOMPARE(testing::countRows("select * from tabRisk"), 2);
        QCOMPARE(f->Tabl_Name->Rows(), 3);
        QCOMPARE(rowOf(f, "Второй"), -1);
        QVERIFY(f->Option2->isChecked() && f->Option2->isEnabled());
        // The rows now hold other objects: nothing may act on a row the user did not choose.
        QVERIFY(!f->Command1->isEnabled() && !f->Command2->isEnabled() && !f->Command3->isEnabled() &&
                !f->Command4->isEnabled());

        f->Option1->click();
        frmLoad1* d = openCreate("Четвёртый");
        d->Text1->setText("Четвёртый");
        d->People->setText("4");
        d->Command5->click();
        QCOMPARE(CurrentObjectId, qint16(2));
        QVERIFY(dumpTable("tabObjekt").contains("2|Четвёртый|4"));
    }

    void deletingTheLastObjectSwitchesToNewObjectMode()
    {
        object("Единственный", 1).scenario("Е1", 1e-4).kills(1);
        frmLoad* f = openList();
        f->Tabl_Name->clickCell(1, 1);
        msgs->yes();
        f->Command3->click();
        QCOMPARE(allRows(), QStringList({"--", "--"}));
        QVERIFY(f->Option1->isChecked());
        QVERIFY(!f->Option2->isEnabled());
        QCOMPARE(f->heightTwips(), 2150);
        QVERIFY(f->Frame2->isHidden());
        QCOMPARE(f->Command1->text(), QString("СОЗДАТЬ"));
        QVERIFY(f->Command1->isEnabled());
        QVERIFY(f->Tabl_Name->TextMatrix(1, 0).isEmpty());
    }

    // ---- database failures

    void failureHalfWayChangesNothing_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("failPrefix");
        QTest::addColumn<int>("nth");
        QTest::newRow("delete, after the object row went") << "delete"
                                                           << "DELETE FROM tabScen" << 1;
        QTest::newRow("copy, at the second indicator") << "copy"
                                                       << "INSERT INTO tabRisk" << 2;
    }
    void failureHalfWayChangesNothing()
    {
        QFETCH(QString, command);
        QFETCH(QString, failPrefix);
        QFETCH(int, nth);
        object("Склад", 12).scenario("С1", 1e-4).kills(1).damage(2).scenario("С2", 1e-5).kills(4);
        object("Цех", 3);
        const QStringList before = allRows();
        g_failPrefix = failPrefix;
        g_failCountdown = nth;
        SetExecHook(failingHook);

        frmLoad* f = openList();
        f->Tabl_Name->clickCell(rowOf(f, "Склад"), 1);
        if (command == "delete") {
            msgs->yes();
            f->Command3->click();
        } else {
            f->Command2->click();
            frmLoad1* d = forms().find<frmLoad1>();
            d->Text1->setText("Склад-2");
            d->People->setText("5");
            d->Command5->click();
        }
        QCOMPARE(g_failCountdown, 0);
        SetExecHook(nullptr);
        const testing::MessageCall& last = msgs->calls.last();
        // The driver's words stay out of the message.
        QCOMPARE(last.text, DbFailureText(DbFailure::Other));
        QCOMPARE(last.title, kPlain);
        QCOMPARE(last.icon, MsgIcon::Critical);
        QCOMPARE(allRows(), before);

        // The window stays usable: the same command now succeeds.
        if (command == "delete") {
            QVERIFY(f->isVisible() && f->Command3->isEnabled());
            QCOMPARE(f->Tabl_Name->Rows(), 3);
            msgs->yes();
            f->Command3->click();
            QCOMPARE(dumpTable("tabObjekt"), QStringList{"2|Цех|3"});
        } else {
            frmLoad1* d = forms().find<frmLoad1>();
            QVERIFY(d && d->isVisible());
            d->Command5->click();
            QCOMPARE(testing::countRows("select * from tabRisk where Id_obj=3"), 3);
        }
    }

    // ---- leaving the window

    void leaving_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("<<Назад") << "back";
        QTest::newRow("Выход") << "exit";
        QTest::newRow("closed by its frame") << "frame";
    }
    void leaving()
    {
        QFETCH(QString, how);
        forms().get<frmMain1>(); // loaded but hidden, as after a modal walk
        frmLoad* f = openLoad();
        if (how == "back")
            f->mnuReturn->trigger();
        else if (how == "exit")
            f->mnuExit->trigger();
        else
            f->close();
        QVERIFY(!forms().isLoaded<frmLoad>());
        if (how == "back") {
            frmMain1* m = forms().find<frmMain1>();
            QVERIFY(m && m->isVisible());
        } else {
            QVERIFY(forms().loaded().isEmpty());
        }
    }
};

QTEST_MAIN(tst_frmLoad)
#include "tst_frmLoad.moc"

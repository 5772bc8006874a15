#include "windows/objects/frmLoad1.h"

#include "components/Services.h"
#include "core/Database.h"
#include "core/ObjectStore.h"
#include "core/Shared.h"
#include "windows/objects/frmLoad.h"
#include "windows/scenarios/frmBD_Scen.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace zarnel {

namespace {

const QString kCopyCaption = QStringLiteral("Сохранить как...");

enum class Outcome { Changed, Created, Copied, NameTaken, NoKeyLeft };

// The database part of saving; CurrentObjectId receives the key of a created object. Throws DbError.
Outcome saveObject(bool copy, const StoredObject& asRead, const QString& name, qint16 people)
{
    Connection c;
    if (!copy && CurrentObjectId != 0) {
        // A changed name is not checked against the other objects.
        ChangeObject(c, asRead, name, people);
        return Outcome::Changed;
    }
    if (FindObjectByName(c, name))
        return Outcome::NameTaken;
    if (copy)
        return CopyObject(c, CurrentObjectId, name, people) ? Outcome::Copied : Outcome::NoKeyLeft;
    const std::optional<qint16> id = CreateObject(c, name, people);
    if (!id)
        return Outcome::NoKeyLeft;
    CurrentObjectId = *id;
    return Outcome::Created;
}

} // namespace

QString ObjectFrameCaption(const QString& name)
{
    QString s = name;
    return s.replace(QLatin1Char('&'), QLatin1String("&&"));
}

frmLoad1::frmLoad1()
{
    setWidthTwips(6400);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(8, 8, 8, 8);

    Frame4 = new QGroupBox(central);
    auto* boxes = new QGridLayout(Frame4);
    Label20 = new QLabel(QStringLiteral("Наименование ОПО"), Frame4);
    Text1 = new QLineEdit(Frame4);
    Label1 = new QLabel(QStringLiteral("Число рискующих на ОПО, чел."), Frame4);
    People = new QLineEdit(QStringLiteral("0"), Frame4);
    People->setMaximumWidth(90);
    Label20->setBuddy(Text1);
    Label1->setBuddy(People);
    boxes->addWidget(Label20, 0, 0);
    boxes->addWidget(Text1, 0, 1, 1, 2);
    boxes->addWidget(Label1, 1, 0);
    boxes->addWidget(People, 1, 1);
    boxes->setColumnStretch(2, 1);
    layout->addWidget(Frame4);

    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    Command5 = new QPushButton(QStringLiteral("СОХРАНИТЬ"), central);
    Command6 = new QPushButton(QStringLiteral("ОТМЕНА"), central);
    Command5->setMinimumWidth(110);
    Command6->setMinimumWidth(110);
    buttons->addWidget(Command5);
    buttons->addWidget(Command6);
    layout->addLayout(buttons);
    setCentralWidget(central);
    // A long object name in the frame caption is clipped instead of widening the dialog.
    Frame4->setMinimumWidth(1);
    resize(width(), minimumSizeHint().height());

    connect(Text1, &QLineEdit::textChanged, this, &frmLoad1::UpdateSaveButton);
    connect(People, &QLineEdit::textChanged, this, &frmLoad1::UpdateSaveButton);
    connect(Command5, &QPushButton::clicked, this, &frmLoad1::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &frmLoad1::Command6_Click);
}

bool frmLoad1::isCopy() const
{
    return windowTitle() == kCopyCaption;
}

void frmLoad1::Form_Activate()
{
    InitialName = Text1->text();
    InitialPeople = People->text();
    UpdateSaveButton();
}

void frmLoad1::UpdateSaveButton()
{
    // A name of blanks only is no name.
    if (Text1->text().trimmed().isEmpty() || People->text().trimmed().isEmpty()) {
        Command5->setEnabled(false);
        return;
    }
    // A copy needs a new name; a changed people number alone does not make one.
    const bool unchanged =
        isCopy() ? Text1->text() == InitialName : Text1->text() == InitialName && People->text() == InitialPeople;
    Command5->setEnabled(!unchanged);
}

void frmLoad1::Command6_Click()
{
    Unload();
    forms().get<frmLoad>()->Show();
}

void frmLoad1::closeEvent(QCloseEvent* e)
{
    // Closing by the frame cancels: the hidden object list must come back.
    e->accept();
    Command6_Click();
}

void frmLoad1::showFreshList()
{
    if (frmLoad* old = forms().find<frmLoad>())
        old->Unload();
    frmLoad* list = forms().get<frmLoad>();
    list->Option2->setChecked(true);
    Unload();
    list->Show();
}

void frmLoad1::reloadKeepingEntry()
{
    // The typed texts stay; the caption names the object as it is stored now, and saving again applies them to
    // that row.
    try {
        Connection c;
        const std::optional<StoredObject> now = FindObject(c, AsRead.id);
        if (!now) {
            showFreshList();
            return;
        }
        AsRead = *now;
        Frame4->setTitle(ObjectFrameCaption(now->name));
    } catch (const DbError& e) {
        ShowDbError(e);
    }
    UpdateSaveButton();
}

void frmLoad1::Command5_Click()
{
    const QString name = ObjectNameText(Text1->text());
    if (name.isEmpty()) {
        Text1->setFocus();
        return;
    }
    const std::optional<qint16> people = ParsePeopleCount(People->text());
    if (!people) {
        MsgBox(QStringLiteral("Число рискующих должно быть целым числом от 0 до 32767!"),
               QStringLiteral("Внимание!!!"));
        People->setFocus();
        People->selectAll();
        return;
    }
    if (*people == 0 &&
        MsgBox(QStringLiteral("Не введено число рискующих человек! Продолжить?"),
               QStringLiteral("В н и м а н и е ! ! !"), MsgIcon::None, MsgButtons::YesNo) != MsgAnswer::Yes) {
        Unload();
        forms().get<frmLoad>()->Show();
        return;
    }

    Outcome outcome;
    try {
        outcome = saveObject(isCopy(), AsRead, name, *people);
    } catch (const DbError& e) {
        ShowDbError(e);
        if (e.cause == DbFailure::ObjectGone)
            showFreshList();
        else if (e.cause == DbFailure::ObjectChanged)
            reloadKeepingEntry();
        return;
    }

    switch (outcome) {
    case Outcome::NameTaken:
        MsgBox(QStringLiteral("Объект с таким именем уже существует! Необходимо удалить его в предыдущей форме или "
                              "изменить имя для сохранения!"),
               QStringLiteral("Внимание!!!"));
        Text1->setFocus();
        return;
    case Outcome::NoKeyLeft:
        MsgBox(QStringLiteral("В базе данных уже 32767 объектов: новый объект сохранить нельзя. "
                              "Удалите ненужные объекты в предыдущей форме!"),
               QStringLiteral("Внимание!!!"));
        return;
    case Outcome::Created:
        if (frmLoad* list = forms().find<frmLoad>())
            list->Unload();
        Unload();
        forms().get<frmBD_Scen>()->Show(true);
        return;
    case Outcome::Changed:
    case Outcome::Copied:
        showFreshList();
        return;
    }
}

} // namespace zarnel

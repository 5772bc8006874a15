#include "windows/objects/frmLoad.h"

#include "components/Services.h"
#include "core/Database.h"
#include "core/ObjectStore.h"
#include "core/Shared.h"
#include "windows/objects/frmLoad1.h"
#include "windows/scenarios/frmBD_Scen.h"
#include "windows/shell/frmMain1.h"

#include <QHBoxLayout>
#include <QMenuBar>
#include <QVBoxLayout>

namespace zarnel {

namespace {

const QString kTitle = QStringLiteral("В н и м а н и е ! ! !");
const QString kNotGiven = QStringLiteral("не задано");
const QColor kNotGivenColor(255, 128, 128);

} // namespace

frmLoad::frmLoad()
{
    setWindowTitle(QStringLiteral("Выбор загрузки"));
    setWidthTwips(7600);

    mnuReturn = menuBar()->addAction(QStringLiteral("<<Назад"));
    mnuExit = menuBar()->addAction(QStringLiteral("Выход"));

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);

    auto* top = new QHBoxLayout();
    Frame1 = new QGroupBox(QStringLiteral("Выбор загрузки"), central);
    auto* modes = new QHBoxLayout(Frame1);
    modes->setContentsMargins(8, 2, 8, 4);
    Option1 = new QRadioButton(QStringLiteral("новый объект"), Frame1);
    Option2 = new QRadioButton(QStringLiteral("объекты из БД"), Frame1);
    modes->addWidget(Option1);
    modes->addSpacing(12);
    modes->addWidget(Option2);
    top->addWidget(Frame1);
    top->addStretch(1);
    Command1 = new QPushButton(QStringLiteral("ЗАГРУЗИТЬ"), central);
    Command1->setMinimumWidth(120);
    top->addWidget(Command1, 0, Qt::AlignBottom);
    layout->addLayout(top);

    Frame3 = new QGroupBox(QStringLiteral("Наименование опасного производственного объекта"), central);
    auto* nameBox = new QHBoxLayout(Frame3);
    nameBox->setContentsMargins(8, 2, 8, 4);
    Name_obj = new QLineEdit(Frame3);
    nameBox->addWidget(Name_obj);
    layout->addWidget(Frame3);

    Frame2 = new QGroupBox(QStringLiteral("Список опасных производственных объектов"), central);
    auto* listBox = new QVBoxLayout(Frame2);
    listBox->setContentsMargins(6, 2, 6, 6);
    Tabl_Name = new FlexGrid(Frame2);
    Tabl_Name->setSelectionByRow(true);
    listBox->addWidget(Tabl_Name, 1);
    auto* buttons = new QHBoxLayout();
    Command4 = new QPushButton(QStringLiteral("Изменить"), Frame2);
    Command2 = new QPushButton(QStringLiteral("Сохранить как..."), Frame2);
    Command3 = new QPushButton(QStringLiteral("Удалить объект"), Frame2);
    buttons->addWidget(Command4);
    buttons->addWidget(Command2);
    buttons->addWidget(Command3);
    listBox->addLayout(buttons);
    layout->addWidget(Frame2, 1);
    // Takes the spare height while the list is hidden.
    layout->addStretch(0);
    setCentralWidget(central);

    connect(Option1, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option1_Click();
    });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option2_Click();
    });
    connect(Command1, &QPushButton::clicked, this, &frmLoad::Command1_Click);
    connect(Name_obj, &QLineEdit::returnPressed, this, [this] {
        if (Command1->isEnabled())
            Command1_Click();
    });
    connect(Command2, &QPushButton::clicked, this, &frmLoad::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmLoad::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmLoad::Command4_Click);
    connect(Tabl_Name, &FlexGrid::Click, this, &frmLoad::Tabl_Name_Click);
    connect(Tabl_Name, &FlexGrid::DblClick, this, &frmLoad::Tabl_Name_DblClick);
    connect(Tabl_Name, &FlexGrid::EnterPressed, this, &frmLoad::Tabl_Name_DblClick);
    connect(mnuReturn, &QAction::triggered, this, &frmLoad::mnuReturn_Click);
    connect(mnuExit, &QAction::triggered, this, &frmLoad::mnuExit_Click);
}

void frmLoad::Form_Load()
{
    setRowCommandsEnabled(false);
    Option1->setChecked(true);
    Name_obj->clear();
    applyMode();
    FillObjectList();
    const bool anyObject = !Tabl_Name->TextMatrix(1, 0).isEmpty();
    Option2->setEnabled(anyObject);
    if (!anyObject)
        Option1->setChecked(true);
}

bool frmLoad::FillObjectList()
{
    Tabl_Name->Clear();
    Tabl_Name->setRows(2);
    Tabl_Name->setCols(3);
    Tabl_Name->setColWidth(0, 0);
    Tabl_Name->setColWidth(1, 5500);
    Tabl_Name->setColWidth(2, 1100);
    Tabl_Name->setTextMatrix(0, 1, QStringLiteral("Опасные производственные объекты"));
    Tabl_Name->setTextMatrix(0, 2, QStringLiteral("Число рискующих"));
    Tabl_Name->setRowHeight(0, 500);

    QVector<StoredObject> objects;
    bool ok = true;
    try {
        Connection c;
        objects = ListObjects(c);
    } catch (const DbError& e) {
        ShowDbError(e);
        ok = false;
    }
    int i = 0;
    for (const StoredObject& o : objects) {
        ++i;
        if (i > 1)
            Tabl_Name->AddItem(QString::number(i));
        Tabl_Name->setTextMatrix(i, 0, QString::number(o.id));
        Tabl_Name->setTextMatrix(i, 1, o.name);
        Tabl_Name->item(i, 1)->setToolTip(o.name); // long names are cut in the column
        if (o.people != 0) {
            Tabl_Name->setTextMatrix(i, 2, QString::number(o.people));
        } else {
            Tabl_Name->setTextMatrix(i, 2, kNotGiven);
            Tabl_Name->setRow(i);
            Tabl_Name->setCol(2);
            Tabl_Name->setCellForeColor(kNotGivenColor);
        }
    }
    // A refilled list has no chosen row: the rows may now hold other objects.
    Tabl_Name->clearSelection();
    Tabl_Name->setCurrentCell(-1, -1);
    Tabl_Name->setRow(0);
    Tabl_Name->setCol(1);
    return ok;
}

void frmLoad::applyMode()
{
    // The frames change first: the height must not be clamped by the minimum size of the frame that goes.
    if (Option1->isChecked()) {
        Frame2->hide();
        Frame3->show();
        setHeightTwips(kNewObjectHeight);
        Command1->setText(QStringLiteral("СОЗДАТЬ"));
        Command1->setEnabled(true);
    } else {
        // The list covers the name frame.
        Frame3->hide();
        Frame2->show();
        setHeightTwips(kListHeight);
        Command1->setText(QStringLiteral("ЗАГРУЗИТЬ"));
        Command1->setEnabled(false);
    }
}

void frmLoad::Option1_Click()
{
    applyMode();
}

void frmLoad::Option2_Click()
{
    applyMode();
}

void frmLoad::setRowCommandsEnabled(bool enabled)
{
    Command3->setEnabled(enabled);
    Command2->setEnabled(enabled);
    Command4->setEnabled(enabled);
}

std::optional<qint16> frmLoad::currentKey() const
{
    const int r = Tabl_Name->Row();
    if (r < 1 || r >= Tabl_Name->Rows())
        return std::nullopt;
    bool ok = false;
    const qint16 id = Tabl_Name->TextMatrix(r, 0).toShort(&ok);
    if (!ok)
        return std::nullopt;
    return id;
}

void frmLoad::Tabl_Name_Click()
{
    const bool chosen = currentKey().has_value();
    Command1->setEnabled(chosen);
    setRowCommandsEnabled(chosen);
}

void frmLoad::Tabl_Name_DblClick()
{
    if (!currentKey()) {
        Command1->setEnabled(false);
        return;
    }
    Command1->setEnabled(true);
    Command1_Click();
}

void frmLoad::openChosenObject(qint16 id)
{
    CurrentObjectId = id;
    Unload();
    forms().get<frmBD_Scen>()->Show(true);
}

void frmLoad::Command1_Click()
{
    if (!Option1->isChecked()) {
        if (const std::optional<qint16> id = currentKey())
            openChosenObject(*id);
        return;
    }

    const QString name = ObjectNameText(Name_obj->text());
    std::optional<qint16> existing;
    if (!name.isEmpty()) {
        try {
            Connection c;
            existing = FindObjectByName(c, name);
        } catch (const DbError& e) {
            ShowDbError(e);
            return;
        }
    }
    if (existing) {
        if (MsgBox(QStringLiteral("Существует объект с таким именем! Загрузить?"), kTitle, MsgIcon::None,
                   MsgButtons::YesNo) == MsgAnswer::Yes)
            openChosenObject(*existing);
        return;
    }

    Hide();
    frmLoad1* dialog = forms().get<frmLoad1>();
    dialog->setWindowTitle(Command4->text());
    dialog->Frame4->setTitle(QStringLiteral("Опасный производственный объект"));
    dialog->Text1->clear();
    dialog->People->setText(QStringLiteral("0"));
    CurrentObjectId = 0;
    dialog->Show();
    dialog->Command5->setText(QStringLiteral("Создать"));
}

void frmLoad::Command4_Click()
{
    const std::optional<qint16> id = currentKey();
    if (!id)
        return;
    const int r = Tabl_Name->Row();
    Hide();
    frmLoad1* dialog = forms().get<frmLoad1>();
    dialog->setWindowTitle(Command4->text());
    dialog->Frame4->setTitle(ObjectFrameCaption(Tabl_Name->TextMatrix(r, 1)));
    dialog->Text1->setText(Tabl_Name->TextMatrix(r, 1));
    const QString people = Tabl_Name->TextMatrix(r, 2);
    dialog->People->setText(people != kNotGiven ? people : QStringLiteral("0"));
    dialog->AsRead = {*id, Tabl_Name->TextMatrix(r, 1), people != kNotGiven ? people.toShort() : qint16(0)};
    CurrentObjectId = *id;
    dialog->Show();
}

void frmLoad::Command2_Click()
{
    const std::optional<qint16> id = currentKey();
    if (!id)
        return;
    const int r = Tabl_Name->Row();
    Hide();
    // Shown before it is filled: its initial name is the empty text, so saving is offered at once.
    frmLoad1* dialog = forms().get<frmLoad1>();
    dialog->Show();
    dialog->setWindowTitle(Command2->text());
    dialog->Frame4->setTitle(ObjectFrameCaption(Tabl_Name->TextMatrix(r, 1)));
    dialog->Text1->setText(Tabl_Name->TextMatrix(r, 1));
    CurrentObjectId = *id;
}

void frmLoad::Command3_Click()
{
    const std::optional<qint16> id = currentKey();
    if (!id)
        return;
    if (MsgBox(QStringLiteral("Вся информация по этому объекту со всей сценарной базой будет удалена! Продолжить?"),
               kTitle, MsgIcon::None, MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    Command3->setEnabled(false);
    try {
        Connection c;
        DeleteObject(c, *id);
    } catch (const DbError& e) {
        // Nothing was deleted and the row is still chosen.
        Command3->setEnabled(true);
        ShowDbError(e);
        return;
    }
    // The refilled rows hold other objects than before: nothing stays chosen.
    setRowCommandsEnabled(false);
    if (Option2->isChecked())
        Command1->setEnabled(false);
    FillObjectList();
    if (Tabl_Name->TextMatrix(1, 0).isEmpty()) {
        Option2->setEnabled(false);
        Option1->setChecked(true);
    }
}

void frmLoad::mnuReturn_Click()
{
    Unload();
    forms().get<frmMain1>()->Show();
}

void frmLoad::mnuExit_Click()
{
    CloseAllWindows();
}

} // namespace zarnel

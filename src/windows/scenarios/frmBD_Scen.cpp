#include "windows/scenarios/frmBD_Scen.h"

#include "components/Services.h"
#include "core/Database.h"
#include "core/Formats.h"
#include "core/ObjectStore.h"
#include "core/ScenarioStore.h"
#include "core/Shared.h"
#include "windows/objects/frmLoad.h"
#include "windows/scenarios/FillScenarioList.h"
#include "windows/scenarios/ScenarioExchangeCommands.h"
#include "windows/scenarios/frmInput.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

namespace zarnel {

namespace {

const QString kTitle = QStringLiteral("Внимание!!!");
const QString kSpacedTitle = QStringLiteral("В н и м а н и е ! ! !");

void warn(const QString& text)
{
    MsgBox(text, kTitle, MsgIcon::Exclamation);
}

qint16 objectPeople(Connection& c)
{
    const auto object = FindObject(c, CurrentObjectId);
    return object ? object->people : qint16(0);
}

bool isWholeNumber(double v)
{
    return std::isfinite(v) && v == std::floor(v);
}

void setTextColour(QLabel* label, const QColor& colour)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
}

} // namespace

FrequencyText SplitFrequency(double frequency)
{
    // Zero, negative or not a number cannot be written as mantissa × 10^-k with a mantissa from 1 up.
    if (!(frequency > 0))
        return {QStringLiteral("0"), QStringLiteral("0")};
    int k = 0;
    while (frequency * std::pow(10.0, k) < 1)
        ++k;
    // Binary fractions can leave the product a hair below 1 (1E-11 × 10^11): one step too far gives 10,000.
    if (k > 0 && RoundHalfEven(frequency * std::pow(10.0, k) * 1000) >= 10000)
        --k;
    return {Format000(frequency * std::pow(10.0, k)), QString::number(k)};
}

frmBD_Scen::frmBD_Scen()
{
    setWindowTitle(QStringLiteral("Добавление/изменение базы данных|Программа \"Зарнель\""));

    mnuPred = menuBar()->addAction(QStringLiteral("<<Назад"));
    mnuBuild = menuBar()->addAction(QStringLiteral("Построить F/n, F/g диаграммы"));
    mnuBuild->setVisible(false);
    mnuNext = menuBar()->addAction(QStringLiteral("Детализация показателей F/n, F/g диаграмм>>"));
    mnuExchange = menuBar()->addMenu(QStringLiteral("Обмен"));
    mnuImport = mnuExchange->addAction(QStringLiteral("Импорт сценариев..."));
    mnuPaste = mnuExchange->addAction(QStringLiteral("Вставить из буфера"));
    mnuExchange->addSeparator();
    mnuExport = mnuExchange->addAction(QStringLiteral("Экспорт сценариев..."));

    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* page = new QVBoxLayout(central);

    auto* top = new QHBoxLayout;
    Label3 = new QLabel(QStringLiteral("Опасный производственный объект:"));
    Label5 = new ElidedLabel(QStringLiteral("Опасный производственный объект:"));
    QFont bold = Label5->font();
    bold.setBold(true);
    Label5->setFont(bold);
    top->addWidget(Label3);
    top->addWidget(Label5, 1);
    page->addLayout(top);

    // List frame: the grid lies over the two "no scenario" labels and hides them while it is shown.
    Frame2 = new QGroupBox;
    auto* listLayout = new QVBoxLayout(Frame2);
    auto* listArea = new QGridLayout;
    auto* emptyNote = new QWidget;
    auto* emptyLayout = new QVBoxLayout(emptyNote);
    Label2 = new QLabel(QStringLiteral("Список сценариев"));
    Label4 = new QLabel(QStringLiteral("Нет введенных сценариев"));
    for (QLabel* l : {Label2, Label4}) {
        l->setAlignment(Qt::AlignCenter);
        emptyLayout->addWidget(l);
    }
    Label2->setFont(bold);
    emptyLayout->addStretch();
    Tabl_Name = new FlexGrid;
    // The column widths are made for a small dialog font; at the desktop's larger one the frequencies would not fit.
    QFont small = Tabl_Name->font();
    small.setPointSizeF(8);
    Tabl_Name->setFont(small);
    Tabl_Name->setTextElideMode(Qt::ElideNone);
    listArea->addWidget(emptyNote, 0, 0);
    listArea->addWidget(Tabl_Name, 0, 0);
    listLayout->addLayout(listArea, 1);
    auto* listButtons = new QHBoxLayout;
    Command3 = new QPushButton(QStringLiteral(" Удалить"));
    Command5 = new QPushButton(QStringLiteral("Изменить"));
    Command2 = new QPushButton(QStringLiteral("Новый"));
    Command7 = new QPushButton(QStringLiteral("Построить F/n, F/g диаграммы"));
    Command6 = new QPushButton(QStringLiteral("Детализация показателей F/n, F/g диаграмм>>"));
    listButtons->addWidget(Command3);
    listButtons->addWidget(Command5);
    listButtons->addWidget(Command2);
    listButtons->addStretch();
    listButtons->addWidget(Command7);
    listButtons->addWidget(Command6);
    listLayout->addLayout(listButtons);
    page->addWidget(Frame2, 1);

    // Entry frame.
    Frame1 = new QGroupBox;
    auto* entry = new QGridLayout(Frame1);
    Label1 = {new QLabel(QStringLiteral("Классификационный номер")), new QLabel(QStringLiteral("Название")),
              new QLabel(QStringLiteral("Частота события"))};
    for (int i = 0; i < 3; ++i)
        entry->addWidget(Label1[size_t(i)], 0, i);
    Name_Object = new QLineEdit;
    Name_Object->setMinimumWidth(150);
    Name_scen = new QLineEdit;
    entry->addWidget(Name_Object, 1, 0);
    entry->addWidget(Name_scen, 1, 1);

    auto* frequency = new QHBoxLayout;
    frequency->setSpacing(2);
    koef = new QLineEdit(QStringLiteral("0,255"));
    koef->setFixedWidth(70);
    UpDown1 = new UpDown;
    UpDown1->setMax(99);
    UpDown1->setValue(25);
    Label17 = new QLabel(QStringLiteral("Е-"));
    Step = new QLineEdit(QStringLiteral("7"));
    Step->setFixedWidth(36);
    UpDown3 = new UpDown;
    UpDown3->setMax(50);
    UpDown3->setValue(7);
    UpDown3->setBuddy(Step);
    frequency->addWidget(koef);
    frequency->addWidget(UpDown1);
    frequency->addSpacing(4);
    frequency->addWidget(Label17);
    frequency->addWidget(Step);
    frequency->addWidget(UpDown3);
    frequency->addStretch();
    entry->addLayout(frequency, 1, 2);
    entry->setColumnStretch(1, 1);

    Frame3 = new QGroupBox(QStringLiteral("Сведения по сценарию"));
    auto* kinds = new QGridLayout(Frame3);
    Check1 = new QCheckBox(QStringLiteral("гибель, чел."));
    Check2 = new QCheckBox(QStringLiteral("тяжелые поражения, чел."));
    Check3 = new QCheckBox(QStringLiteral("легкие поражения, чел."));
    Combo1 = new QComboBox;
    Combo2 = new QComboBox;
    Combo3 = new QComboBox;
    const std::array<QCheckBox*, 3> peopleChecks{Check1, Check2, Check3};
    for (int i = 0; i < 3; ++i) {
        QComboBox* combo = peopleCombos()[size_t(i)];
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setMinimumWidth(90);
        QSizePolicy keep = combo->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        combo->setSizePolicy(keep);
        combo->hide();
        kinds->addWidget(peopleChecks[size_t(i)], i, 0);
        kinds->addWidget(combo, i, 1);
    }
    Check4 = new QCheckBox(QStringLiteral("ущерб"));
    kinds->addWidget(Check4, 0, 2, Qt::AlignTop);
    Frame4 = new QGroupBox;
    auto* damage = new QGridLayout(Frame4);
    damage->setContentsMargins(6, 4, 6, 4);
    Usherb = new QLineEdit(QStringLiteral("0,25"));
    Usherb->setFixedWidth(90);
    Option1 = new QRadioButton(QStringLiteral("милион рублей"));
    Option2 = new QRadioButton(QStringLiteral("тысяч рублей"));
    Option1->setChecked(true);
    Label6 = new QLabel;
    damage->addWidget(Usherb, 0, 0);
    damage->addWidget(Option1, 0, 1);
    damage->addWidget(Option2, 0, 2);
    damage->addWidget(Label6, 1, 0, 1, 3);
    QSizePolicy keep = Frame4->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    Frame4->setSizePolicy(keep);
    Frame4->hide();
    kinds->addWidget(Frame4, 0, 3, 3, 1, Qt::AlignTop);
    kinds->setColumnStretch(4, 1);
    entry->addWidget(Frame3, 2, 0, 1, 2);

    auto* entryButtons = new QVBoxLayout;
    Command1 = new QPushButton(QStringLiteral("ВВЕСТИ"));
    Command4 = new QPushButton(QStringLiteral("ОТМЕНА"));
    Command1->setEnabled(false);
    entryButtons->addStretch();
    entryButtons->addWidget(Command1);
    entryButtons->addWidget(Command4);
    entry->addLayout(entryButtons, 2, 2);
    Frame1->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    Frame1->hide();
    page->addWidget(Frame1);

    connect(Check1, &QCheckBox::toggled, this, &frmBD_Scen::Check1_Click);
    connect(Check2, &QCheckBox::toggled, this, &frmBD_Scen::Check2_Click);
    connect(Check3, &QCheckBox::toggled, this, &frmBD_Scen::Check3_Click);
    connect(Check4, &QCheckBox::toggled, this, &frmBD_Scen::Check4_Click);
    connect(Option1, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option1_Click();
    });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option2_Click();
    });
    Label6->installEventFilter(this);
    connect(Name_Object, &QLineEdit::textChanged, this, &frmBD_Scen::Name_Object_Change);
    connect(Tabl_Name, &FlexGrid::Click, this, &frmBD_Scen::Tabl_Name_Click);
    connect(Tabl_Name, &FlexGrid::DblClick, this, &frmBD_Scen::Tabl_Name_DblClick);
    connect(UpDown1, &UpDown::UpClick, this, &frmBD_Scen::UpDown1_UpClick);
    connect(UpDown1, &UpDown::DownClick, this, &frmBD_Scen::UpDown1_DownClick);
    connect(Command1, &QPushButton::clicked, this, &frmBD_Scen::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmBD_Scen::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmBD_Scen::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmBD_Scen::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &frmBD_Scen::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &frmBD_Scen::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &frmBD_Scen::Command7_Click);
    connect(mnuPred, &QAction::triggered, this, &frmBD_Scen::mnuPred_Click);
    connect(mnuBuild, &QAction::triggered, this, &frmBD_Scen::mnuBuild_Click);
    connect(mnuNext, &QAction::triggered, this, &frmBD_Scen::mnuNext_Click);
    ConnectScenarioExchange(this);

    showDamageNote();
    setWidthTwips(14400);
    setHeightTwips(kListHeight);
}

bool frmBD_Scen::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == Label6 && e->type() == QEvent::MouseButtonRelease)
        Label6_Click();
    return Form::eventFilter(watched, e);
}

void frmBD_Scen::Form_Activate()
{
    showDamageNote();
    // Becoming active again always means the list state: an entry left unfinished is dropped, as "ОТМЕНА" does.
    leaveEntryState();
    try {
        Connection c;
        const QStringList counts = ListPeopleCounts(c);
        for (QComboBox* combo : peopleCombos()) {
            combo->clear();
            combo->addItems(counts);
            combo->setCurrentIndex(0);
        }
        if (const auto object = FindObject(c, CurrentObjectId))
            Label5->setText(object->name);
    } catch (const DbError& e) {
        ShowDbError(e);
    }
    refillList();
}

void frmBD_Scen::refillList()
{
    try {
        FillScenarioList();
    } catch (const DbError& e) {
        ShowDbError(e);
    }
}

void frmBD_Scen::Check1_Click()
{
    Combo1->setVisible(Check1->isChecked());
}

void frmBD_Scen::Check2_Click()
{
    Combo2->setVisible(Check2->isChecked());
}

void frmBD_Scen::Check3_Click()
{
    Combo3->setVisible(Check3->isChecked());
}

void frmBD_Scen::Check4_Click()
{
    Frame4->setVisible(Check4->isChecked());
}

void frmBD_Scen::Option1_Click()
{
    showDamageNote();
}

void frmBD_Scen::Option2_Click()
{
    showDamageNote();
}

void frmBD_Scen::Label6_Click()
{
    showDamageNote();
}

void frmBD_Scen::showDamageNote()
{
    if (Option1->isChecked()) {
        Label6->setText(QStringLiteral("округляется до 3-го знака после запятой"));
        setTextColour(Label6, QColor(192, 0, 192));
    } else {
        Label6->setText(QStringLiteral("округляется до целого числа"));
        setTextColour(Label6, QColor(255, 0, 0));
    }
}

void frmBD_Scen::Name_Object_Change()
{
    Command1->setEnabled(!Name_Object->text().isEmpty());
}

void frmBD_Scen::Tabl_Name_Click()
{
    // The header row holds texts too, but it is no scenario.
    const bool onScenario =
        Tabl_Name->Row() >= 1 && !Tabl_Name->TextMatrix(Tabl_Name->Row(), Tabl_Name->Col()).isEmpty();
    Command3->setEnabled(onScenario);
    Command5->setEnabled(onScenario);
}

void frmBD_Scen::Tabl_Name_DblClick()
{
    if (Tabl_Name->Row() < 1) {
        Command5->setEnabled(false);
        return;
    }
    Command5->setEnabled(true);
    Command5_Click();
}

void frmBD_Scen::stepMantissa(int direction)
{
    const auto m = ToDouble(koef->text());
    if (!m)
        return;
    int v;
    if (*m < 0)
        v = 0;
    else if (*m >= 10)
        v = 99;
    else
        v = int(RoundHalfEven(*m * 10));
    // 9,96 rounds to 100: the control holds 99 at most, so the buttons never leave 0 to 9,9.
    UpDown1->setValue(v);
    v = UpDown1->Value();
    const int limit = direction > 0 ? UpDown1->Max() : UpDown1->Min();
    if (v != limit)
        koef->setText(PlainNumber((v + direction * UpDown1->Increment()) / 10.0));
}

void frmBD_Scen::UpDown1_UpClick()
{
    stepMantissa(+1);
}

void frmBD_Scen::UpDown1_DownClick()
{
    stepMantissa(-1);
}

void frmBD_Scen::enterEntryState()
{
    setHeightTwips(kEntryHeight);
    Frame1->show();
    Frame2->setEnabled(false);
    for (QAction* a : {mnuPred, mnuBuild, mnuNext, mnuExchange->menuAction()})
        a->setEnabled(false);
    Name_Object->setFocus();
}

void frmBD_Scen::leaveEntryState()
{
    // Hidden first, so that the entry frame's minimum size does not hold the window tall.
    Frame1->hide();
    setHeightTwips(kListHeight);
    Frame2->setEnabled(true);
    for (QAction* a : {mnuPred, mnuBuild, mnuNext, mnuExchange->menuAction()})
        a->setEnabled(true);
}

void frmBD_Scen::Command2_Click()
{
    setHeightTwips(kEntryHeight);
    Option1->setChecked(true);
    CurrentScenarioId = 0;
    EditedAsRead.reset();
    Name_Object->clear();
    Name_scen->clear();
    for (QComboBox* combo : peopleCombos())
        combo->setCurrentIndex(0);
    for (QCheckBox* check : {Check1, Check2, Check3, Check4})
        check->setChecked(false);
    for (QComboBox* combo : peopleCombos())
        combo->hide();
    Frame4->hide();
    enterEntryState();
}

void frmBD_Scen::Command5_Click()
{
    const int row = Tabl_Name->Row();
    const QString idText = row >= 1 ? Tabl_Name->TextMatrix(row, 0) : QString();
    if (idText.isEmpty())
        return;
    const qint16 id = qint16(idText.toShort());

    // Everything is read before the window changes, so a failure leaves the list state as it was.
    std::optional<ScenarioSnapshot> snapshot;
    try {
        Connection c;
        snapshot = ReadScenarioSnapshot(c, CurrentObjectId, id);
    } catch (const DbError& e) {
        ShowDbError(e);
        return;
    }
    if (!snapshot) {
        refillList(); // gone meanwhile: show what is there
        return;
    }
    EditedAsRead = snapshot;
    const ScenarioRecord* scenario = &snapshot->row;
    const auto& values = snapshot->indicators;

    setHeightTwips(kEntryHeight);
    Option1->setChecked(true);
    CurrentScenarioId = id;
    Name_Object->setText(scenario->name);
    Name_scen->setText(scenario->title);
    const FrequencyText f = SplitFrequency(scenario->risk);
    koef->setText(f.mantissa);
    Step->setText(f.exponent);
    const std::array<QCheckBox*, 3> checks{Check1, Check2, Check3};
    for (int kind = 0; kind < 3; ++kind) {
        const auto& v = values[size_t(kind)];
        checks[size_t(kind)]->setChecked(v.has_value());
        peopleCombos()[size_t(kind)]->setVisible(v.has_value());
        if (v)
            peopleCombos()[size_t(kind)]->setEditText(PlainNumber(*v));
    }
    Check4->setChecked(values[3].has_value());
    Frame4->setVisible(values[3].has_value());
    if (values[3])
        Usherb->setText(PlainNumber(*values[3]));
    enterEntryState();
}

void frmBD_Scen::Command3_Click()
{
    const int row = Tabl_Name->Row();
    const QString idText = row >= 1 ? Tabl_Name->TextMatrix(row, 0) : QString();
    if (idText.isEmpty())
        return;
    const QString text = QStringLiteral("Информация по сценарию ") + Tabl_Name->TextMatrix(row, 1) +
                         QStringLiteral(" со всеми показателями будет удалена! Продолжить?");
    if (MsgBox(text, kSpacedTitle, MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    const qint16 id = qint16(idText.toShort());
    try {
        Connection c;
        DeleteScenario(c, CurrentObjectId, id, ListedScenarios.value(id));
    } catch (const DbError& e) {
        ShowDbError(e);
        if (IsConflict(e.cause))
            refillList();
        return;
    }
    refillList();
}

void frmBD_Scen::Command4_Click()
{
    leaveEntryState();
}

bool frmBD_Scen::commitEntry()
{
    const auto mantissa = ToDouble(koef->text());
    if (!mantissa || *mantissa <= 0) {
        warn(QStringLiteral("Множитель частоты события должен быть положительным числом!"));
        koef->setFocus();
        return false;
    }
    const auto exponent = ToDouble(Step->text());
    if (!exponent || !isWholeNumber(*exponent) || *exponent < 0 || *exponent > 50) {
        warn(QStringLiteral("Показатель степени частоты события должен быть целым числом от 0 до 50!"));
        Step->setFocus();
        return false;
    }

    ScenarioEntry entry;
    entry.name = Name_Object->text().trimmed();
    entry.title = Name_scen->text().trimmed();
    entry.risk = *mantissa / std::pow(10.0, *exponent);
    // A text that is no number goes on as NaN: the entry check words the refusal for its kind.
    const std::array<QCheckBox*, 3> checks{Check1, Check2, Check3};
    for (int kind = 0; kind < 3; ++kind) {
        if (checks[size_t(kind)]->isChecked())
            entry.indicators[size_t(kind)] = ToDouble(peopleCombos()[size_t(kind)]->currentText()).value_or(qQNaN());
    }
    if (Check4->isChecked()) {
        const double damage = ToDouble(Usherb->text()).value_or(qQNaN());
        entry.indicators[3] = DamageMillions(damage, !Option1->isChecked());
    }
    if (const auto problem = ValidateScenarioEntry(entry)) {
        warn(problem->message);
        switch (problem->field) {
        case EntryProblem::Name:
            Name_Object->setFocus();
            break;
        case EntryProblem::Frequency:
            koef->setFocus();
            break;
        case EntryProblem::Indicator:
            if (problem->kind < 3)
                peopleCombos()[size_t(problem->kind)]->setFocus();
            else
                Usherb->setFocus();
            break;
        }
        return false;
    }

    try {
        Connection c;
        const qint16 id = SaveScenario(c, CurrentObjectId, CurrentScenarioId, entry, EditedAsRead);
        if (id == 0) {
            warn(QStringLiteral("Сценарий с классификационным номером ") + entry.name +
                 QStringLiteral(" уже есть у этого объекта! Введите другой номер."));
            Name_Object->setFocus();
            return false;
        }
        CurrentScenarioId = id;
    } catch (const DbError& e) {
        ShowDbError(e);
        if (IsConflict(e.cause))
            reloadAfterConflict(e.cause);
        return false;
    }
    return true;
}

void frmBD_Scen::reloadAfterConflict(DbFailure cause)
{
    refillList();
    if (cause != DbFailure::ScenarioChanged) {
        leaveEntryState(); // nothing left to save the entry into
        return;
    }
    // The list shows the other user's values; the typed entry stays, and "ВВЕСТИ" again stores it over them.
    try {
        Connection c;
        EditedAsRead = ReadScenarioSnapshot(c, CurrentObjectId, CurrentScenarioId);
    } catch (const DbError& e) {
        ShowDbError(e);
    }
    setHeightTwips(kEntryHeight);
}

void frmBD_Scen::Command1_Click()
{
    if (!commitEntry())
        return;
    leaveEntryState();
    refillList();
}

void frmBD_Scen::Command6_Click()
{
    mnuNext_Click();
}

void frmBD_Scen::Command7_Click()
{
    mnuBuild_Click();
}

void frmBD_Scen::mnuPred_Click()
{
    Unload();
    forms().get<frmLoad>()->Show(true);
}

void frmBD_Scen::mnuNext_Click()
{
    if (Tabl_Name->isHidden()) {
        MsgBox(QStringLiteral("Для детализации необходимо ввести хотя бы один сценарий!"), kTitle,
               MsgIcon::Exclamation);
        return;
    }
    DirectBuild = 0;
    Unload();
    forms().get<frmInput>()->Show(true);
}

void frmBD_Scen::mnuBuild_Click()
{
    if (Tabl_Name->isHidden()) {
        MsgBox(QStringLiteral("Для построения диаграммы необходимо ввести хотя бы один сценарий с показателем!"),
               kTitle, MsgIcon::Exclamation);
        return;
    }
    try {
        Connection c;
        if (objectPeople(c) == 0 &&
            MsgBox(QStringLiteral("Индивидуальный риск не будет рассчитан, так как не введено число рискующих "
                                  "(ввод в форме детализации показателей F/n, F/g диаграмм)! Построить?"),
                   kSpacedTitle, MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
            return;
    } catch (const DbError& e) {
        ShowDbError(e);
        return;
    }

    const bool wasModal = windowModality() == Qt::ApplicationModal;
    DirectBuild = 0;
    Hide();
    frmInput* input = forms().get<frmInput>();
    input->Show();

    const bool anyIndicator = !input->tabPokaz->isHidden() || !input->tabPokaz_m->isHidden() ||
                              !input->tabPokaz_m1->isHidden() || !input->tabPokaz_m2->isHidden();
    if (!anyIndicator) {
        MsgBox(QStringLiteral("Построение диаграмм не возможно! Не введен ни один показатель!"), kTitle,
               MsgIcon::Exclamation);
        Show(wasModal);
        input->Unload();
        return;
    }
    try {
        Connection c;
        PeopleAtRisk = objectPeople(c);
    } catch (const DbError& e) {
        ShowDbError(e);
        Show(wasModal);
        input->Unload();
        return;
    }
    Unload();
    DirectBuild = -1;
    input->Show();
    // The indicator window is already the active one, so showing it again does not activate it. Its activation,
    // which starts the build, runs once from the event loop, after this handler and the unload have finished.
    QTimer::singleShot(0, &forms(), [] {
        if (frmInput* f = forms().find<frmInput>())
            forms().activate(f, true);
    });
}

} // namespace zarnel

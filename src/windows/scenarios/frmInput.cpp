#include "windows/scenarios/frmInput.h"

#include "components/Services.h"
#include "core/Formats.h"
#include "core/ObjectStore.h"
#include "core/ScenarioStore.h"
#include "core/Shared.h"
#include "windows/results/BuildDiagrams.h"
#include "windows/results/frmKriterii.h"
#include "windows/scenarios/frmBD_Scen.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPointer>
#include <QVBoxLayout>
#include <cmath>

namespace zarnel {

namespace {

const QString kTitle = QStringLiteral("В н и м а н и е ! ! !");
const QString kNoTitle = QStringLiteral("не введено");
const QString kAdd = QStringLiteral("Добавить");
const QString kChange = QStringLiteral("Изменить");

QLabel* caption(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    return l;
}

} // namespace

frmInput::frmInput()
{
    setWindowTitle(QStringLiteral("Исходные данные для F/n и F/g диаграмм"));

    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* layout = new QVBoxLayout(central);

    auto* objectRow = new QHBoxLayout();
    Label24 = new QLabel(QStringLiteral("Опасный производственный объект:"), central);
    Label23 = new ElidedLabel(QString(), central);
    QFont bold = Label23->font();
    bold.setBold(true);
    Label23->setFont(bold);
    objectRow->addWidget(Label24);
    objectRow->addWidget(Label23, 1);
    layout->addLayout(objectRow);

    Label16 = new QLabel(QStringLiteral("Исходные данные по ..."), central);
    layout->addWidget(Label16);
    SSTab1 = new QTabWidget(central);
    layout->addWidget(SSTab1, 1);

    tabPokaz = new FlexGrid();
    tabPokaz_m = new FlexGrid();
    tabPokaz_m1 = new FlexGrid();
    tabPokaz_m2 = new FlexGrid();
    m_grids = {tabPokaz, tabPokaz_m, tabPokaz_m1, tabPokaz_m2};
    const QString clear = QStringLiteral("Обнулить");
    Command8 = new QPushButton(clear);
    Command3 = new QPushButton(clear);
    Command4 = new QPushButton(clear);
    Command13 = new QPushButton(clear);
    m_clearButtons = {Command8, Command3, Command4, Command13};
    Comb1 = new QComboBox();
    Comb2 = new QComboBox();
    Comb3 = new QComboBox();
    Comb4 = new QComboBox();
    m_scenarioCombos = {Comb1, Comb2, Comb3, Comb4};
    // A long classification number must not widen the window; the open list still shows it whole.
    for (QComboBox* c : m_scenarioCombos) {
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        c->setMinimumContentsLength(12);
    }
    Lab1 = new QLabel();
    Lab2 = new QLabel();
    Lab3 = new QLabel();
    Lab4 = new QLabel();
    m_titleLabels = {Lab1, Lab2, Lab3, Lab4};
    Combo1 = new QComboBox();
    Combo2 = new QComboBox();
    Combo3 = new QComboBox();
    m_peopleCombos = {Combo1, Combo2, Combo3};
    // A typed number is a value, not a new entry of the list of tabNumber.
    for (QComboBox* c : m_peopleCombos) {
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
    }
    Usherb = new QLineEdit(QStringLiteral("0,25"));
    Command11 = new QPushButton(kAdd);
    Command5 = new QPushButton(kAdd);
    Command7 = new QPushButton(kAdd);
    Command12 = new QPushButton(kAdd);
    m_commitButtons = {Command11, Command5, Command7, Command12};
    // Enabled once a look-up panel has found its scenario.
    for (QPushButton* b : m_commitButtons)
        b->setEnabled(false);

    buildPage(0, QStringLiteral("Число погибших"), Combo1);
    buildPage(1, QStringLiteral("Число тяжело пораженных, n человек"), Combo2);
    buildPage(2, QStringLiteral("Число легко пораженных, n человек"), Combo3);
    buildPage(3, QStringLiteral("Ущерб, млн. руб"), Usherb);
    SSTab1->setTabText(0, QStringLiteral("смертельным поражениям"));
    SSTab1->setTabText(1, QStringLiteral("тяжелым поражениям"));
    SSTab1->setTabText(2, QStringLiteral("легким поражениям"));
    SSTab1->setTabText(3, QStringLiteral("по ущербам"));

    auto* bottom = new QHBoxLayout();
    Label19 = new QLabel(QStringLiteral("Общее число рискующих, чел."), central);
    People = new QLineEdit(central);
    People->setMaximumWidth(90);
    Command1 = new QPushButton(QStringLiteral("ПОСТРОИТЬ ДИАГРАММЫ"), central);
    Command1->setFont(bold);
    Command1->setMinimumHeight(32);
    bottom->addWidget(Label19);
    bottom->addWidget(People);
    bottom->addStretch(1);
    bottom->addWidget(Command1);
    layout->addLayout(bottom);

    mnuReturn = menuBar()->addAction(QStringLiteral("<<Назад"));
    mnuTake = menuBar()->addMenu(QStringLiteral("Действия"));
    mnuEnter_Sc = mnuTake->addAction(QStringLiteral("Добавить сценарий"));
    mnuDelete = mnuTake->addAction(QStringLiteral("Обнулить все показатели"));
    mnuUpor = mnuTake->addMenu(QStringLiteral("Упорядочить"));
    mnuUpor1 = mnuUpor->addAction(QStringLiteral("по возрастанию число погибших"));
    mnuUpor2 = mnuUpor->addAction(QStringLiteral("по убыванию число погибших"));
    mnuUpor->addSeparator();
    mnuUpor3 = mnuUpor->addAction(QStringLiteral("по возрастанию частоту событий"));
    mnuUpor4 = mnuUpor->addAction(QStringLiteral("по убыванию  частоту событий"));
    mnuUpor->addSeparator();
    mnuUpor5 = mnuUpor->addAction(QStringLiteral("по возрастанию наименования сценария"));
    mnuUpor6 = mnuUpor->addAction(QStringLiteral("по убыванию наименования сценария"));
    mnuTake->addSeparator();
    mnuKriterii = mnuTake->addAction(QStringLiteral("Критерии приемлемости..."));
    mnuExit = menuBar()->addAction(QStringLiteral("Выход"));

    connect(mnuReturn, &QAction::triggered, this, &frmInput::mnuReturn_Click);
    connect(mnuEnter_Sc, &QAction::triggered, this, &frmInput::mnuEnter_Sc_Click);
    connect(mnuDelete, &QAction::triggered, this, &frmInput::mnuDelete_Click);
    connect(mnuUpor1, &QAction::triggered, this, &frmInput::mnuUpor1_Click);
    connect(mnuUpor2, &QAction::triggered, this, &frmInput::mnuUpor2_Click);
    connect(mnuUpor3, &QAction::triggered, this, &frmInput::mnuUpor3_Click);
    connect(mnuUpor4, &QAction::triggered, this, &frmInput::mnuUpor4_Click);
    connect(mnuUpor5, &QAction::triggered, this, &frmInput::mnuUpor5_Click);
    connect(mnuUpor6, &QAction::triggered, this, &frmInput::mnuUpor6_Click);
    connect(mnuExit, &QAction::triggered, this, &frmInput::mnuExit_Click);
    connect(mnuKriterii, &QAction::triggered, this, [] { forms().get<frmKriterii>()->Show(true); });
    connect(Command1, &QPushButton::clicked, this, &frmInput::Command1_Click);
    connect(Comb1, &QComboBox::activated, this, &frmInput::Comb1_Click);
    connect(Comb2, &QComboBox::activated, this, &frmInput::Comb2_Click);
    connect(Comb3, &QComboBox::activated, this, &frmInput::Comb3_Click);
    connect(Comb4, &QComboBox::activated, this, &frmInput::Comb4_Click);
    connect(Command8, &QPushButton::clicked, this, &frmInput::Command8_Click);
    connect(Command3, &QPushButton::clicked, this, &frmInput::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmInput::Command4_Click);
    connect(Command13, &QPushButton::clicked, this, &frmInput::Command13_Click);
    connect(Command11, &QPushButton::clicked, this, &frmInput::Command11_Click);
    connect(Command5, &QPushButton::clicked, this, &frmInput::Command5_Click);
    connect(Command7, &QPushButton::clicked, this, &frmInput::Command7_Click);
    connect(Command12, &QPushButton::clicked, this, &frmInput::Command12_Click);
    connect(tabPokaz, &FlexGrid::Click, this, &frmInput::tabPokaz_Click);
    connect(tabPokaz_m, &FlexGrid::Click, this, &frmInput::tabPokaz_m_Click);
    connect(tabPokaz_m1, &FlexGrid::Click, this, &frmInput::tabPokaz_m1_Click);
    connect(tabPokaz_m2, &FlexGrid::Click, this, &frmInput::tabPokaz_m2_Click);

    for (SortPair& p : SortPairs)
        p = InitialSortPair();
    setWidthTwips(9900);
    setHeightTwips(9600);
}

void frmInput::buildPage(int kind, const QString& valueCaption, QWidget* value)
{
    auto* page = new QWidget();
    auto* layout = new QVBoxLayout(page);

    auto* upper = new QGroupBox(QStringLiteral("Показатели социального риска"), page);
    auto* upperLayout = new QGridLayout(upper);
    m_noIndicators[kind] = new QLabel(QStringLiteral("Нет введенных показателей"), upper);
    m_noIndicators[kind]->setAlignment(Qt::AlignCenter);
    // The label lies under the grid and is seen only while the grid is hidden.
    upperLayout->addWidget(m_noIndicators[kind], 0, 0);
    upperLayout->addWidget(m_grids[kind], 0, 0);
    m_grids[kind]->raise();
    upperLayout->addWidget(m_clearButtons[kind], 1, 0, Qt::AlignRight);
    m_clearButtons[kind]->setEnabled(false);
    layout->addWidget(upper, 1);

    auto* lower = new QGroupBox(QStringLiteral("Добавление показателей сценария"), page);
    auto* lowerLayout = new QGridLayout(lower);
    lowerLayout->addWidget(caption(QStringLiteral("Классификационный номер"), lower), 0, 0);
    lowerLayout->addWidget(m_scenarioCombos[kind], 1, 0);
    lowerLayout->addWidget(caption(QStringLiteral("Название сценария:"), lower), 0, 1);
    QLabel* title = m_titleLabels[kind];
    title->setWordWrap(true);
    title->setFrameShape(QFrame::StyledPanel);
    title->setFrameShadow(QFrame::Sunken);
    title->setMinimumHeight(40);
    // A long title wraps, within its word too, instead of widening the window.
    title->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    title->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lowerLayout->addWidget(title, 1, 1, 2, 1);
    lowerLayout->addWidget(caption(valueCaption, lower), 0, 2);
    lowerLayout->addWidget(value, 1, 2);
    lowerLayout->addWidget(m_commitButtons[kind], 2, 2);
    // Same columns on every page, whatever the length of the value caption.
    lowerLayout->setColumnMinimumWidth(0, 170);
    lowerLayout->setColumnMinimumWidth(2, 200);
    lowerLayout->setColumnStretch(1, 1);
    lowerLayout->setAlignment(Qt::AlignTop);
    value->setFixedWidth(200);
    m_commitButtons[kind]->setFixedWidth(200);
    layout->addWidget(lower);

    // The list comes first when the user tabs through the page.
    setTabOrder(m_grids[kind], m_clearButtons[kind]);
    setTabOrder(m_clearButtons[kind], m_scenarioCombos[kind]);
    setTabOrder(m_scenarioCombos[kind], value);
    setTabOrder(value, m_commitButtons[kind]);

    SSTab1->addTab(page, QString());
}

QWidget* frmInput::valueControl(int kind) const
{
    return kind < 3 ? static_cast<QWidget*>(m_peopleCombos[kind]) : Usherb;
}

QString frmInput::valueText(int kind) const
{
    return kind < 3 ? m_peopleCombos[kind]->currentText() : Usherb->text();
}

void frmInput::setValueText(int kind, const QString& text)
{
    if (kind < 3)
        m_peopleCombos[kind]->setEditText(text);
    else
        Usherb->setText(text);
}

void frmInput::refillGrids(bool k0, bool k1, bool k2, bool k3)
{
    FillIndicatorGrids(SortPairs[0], SortPairs[1], SortPairs[2], SortPairs[3], k0, k1, k2, k3);
}

void frmInput::Form_Load()
{
    loadAll();
}

void frmInput::loadAll()
{
    m_objectId = CurrentObjectId;
    SSTab1->setCurrentIndex(0);
    for (QComboBox* c : m_peopleCombos)
        c->clear();
    for (QComboBox* c : m_scenarioCombos)
        c->clear();
    for (SortPair& p : SortPairs)
        p = InitialSortPair();
    try {
        Connection c;
        const QStringList counts = ListPeopleCounts(c);
        for (QComboBox* combo : m_peopleCombos) {
            combo->addItems(counts);
            combo->setCurrentIndex(0);
        }
        const auto object = FindObject(c, CurrentObjectId);
        m_object = object ? LoadedObject{object->name, QString::number(object->people)} : LoadedObject{};
        Label23->setText(m_object.name);
        People->setText(m_object.people);
    } catch (const DbError& e) {
        ShowDbError(e); // once: the steps below would fail the same way
        return;
    }
    if (!reloadScenarioLists())
        return;
    try {
        refillGrids(true, true, true, true);
    } catch (const DbError& e) {
        ShowDbError(e);
    }
}

bool frmInput::reloadScenarioLists()
{
    std::array<QString, 4> chosen;
    for (int k = 0; k < 4; ++k) {
        chosen[k] = m_scenarioCombos[k]->currentText();
        m_scenarioCombos[k]->clear();
    }
    try {
        Connection c;
        for (const ScenarioRecord& r : ListScenarios(c, CurrentObjectId)) {
            for (QComboBox* combo : m_scenarioCombos)
                combo->addItem(r.name);
        }
    } catch (const DbError& e) {
        ShowDbError(e);
        return false;
    }
    // A panel keeps its scenario while it still exists; otherwise it shows the first one.
    for (int k = 0; k < 4; ++k) {
        QComboBox* combo = m_scenarioCombos[k];
        const int again = chosen[k].isEmpty() ? -1 : combo->findText(chosen[k], Qt::MatchExactly);
        combo->setCurrentIndex(again >= 0 ? again : 0);
        lookUp(k);
    }
    return true;
}

void frmInput::Form_Activate()
{
    if (m_backFromEditor) {
        m_backFromEditor = false;
        // The editor may have added, changed or deleted scenarios, or moved on to another object: also one
        // that reuses the key of a deleted one, or this one renamed or with another number of people.
        if (CurrentObjectId != m_objectId || objectChanged()) {
            loadAll();
        } else {
            try {
                if (reloadScenarioLists())
                    refillGrids(true, true, true, true);
            } catch (const DbError& e) {
                ShowDbError(e);
            }
        }
    }
    if (DirectBuild == -1 && !m_building) {
        // Paint the window before the build takes the thread.
        QCoreApplication::processEvents();
        if (DirectBuild == -1 && !m_building)
            Command1_Click();
    }
}

bool frmInput::objectChanged()
{
    try {
        Connection c;
        const auto object = FindObject(c, CurrentObjectId);
        return !object || object->name != m_object.name || QString::number(object->people) != m_object.people;
    } catch (const DbError&) {
        return true; // the reload reports it
    }
}

void frmInput::lookUp(int kind)
{
    QComboBox* combo = m_scenarioCombos[kind];
    QPushButton* commitButton = m_commitButtons[kind];
    if (combo->currentIndex() < 0) {
        m_titleLabels[kind]->clear();
        commitButton->setEnabled(false);
        return;
    }
    try {
        Connection c;
        const auto scenario = FindScenarioByName(c, CurrentObjectId, combo->currentText());
        PanelsShown[size_t(kind)].reset();
        if (!scenario) {
            m_titleLabels[kind]->clear();
            commitButton->setEnabled(false);
            return;
        }
        CurrentScenarioId = scenario->id;
        m_titleLabels[kind]->setText(scenario->title.isEmpty() ? kNoTitle : scenario->title);
        m_titleLabels[kind]->setToolTip(scenario->title); // a long title may be cut in the box
        const auto value = ReadIndicator(c, CurrentObjectId, scenario->id, kind);
        PanelsShown[size_t(kind)] = PanelShown{scenario->id, ShownIndicator{value}};
        if (value) {
            commitButton->setText(kChange);
            setValueText(kind, PlainNumber(*value));
        } else {
            commitButton->setText(kAdd);
        }
        commitButton->setEnabled(true);
    } catch (const DbError& e) {
        ShowDbError(e);
    }
}

void frmInput::gridClick(int kind)
{
    m_clearButtons[kind]->setEnabled(m_grids[kind]->Row() >= 1);
}

void frmInput::clearOne(int kind)
{
    FlexGrid* g = m_grids[kind];
    const int row = g->Row();
    if (MsgBox(QStringLiteral("Старые данные будут утеряны! Продолжить?"), kTitle, MsgIcon::Question,
               MsgButtons::YesNo) == MsgAnswer::Yes &&
        row >= 1) {
        try {
            Connection c;
            const auto scenario = FindScenarioByName(c, CurrentObjectId, g->TextMatrix(row, 0));
            if (scenario) {
                CurrentScenarioId = scenario->id;
                const auto& shown = ShownRows[size_t(kind)];
                // The row's name may name another scenario by now.
                if (row > shown.size() || shown[row - 1].scenarioId != scenario->id)
                    throw DbError(DbFailure::ScenarioChanged, QStringLiteral("сценарий переименован"));
                ClearIndicator(c, CurrentObjectId, scenario->id, kind, ShownIndicator{shown[row - 1].number});
            }
            refillGrids(kind == 0, kind == 1, kind == 2, kind == 3);
        } catch (const DbError& e) {
            ShowDbError(e);
            if (IsConflict(e.cause))
                reloadAfterConflict(e);
        }
    }
    lookUp(kind);
}

void frmInput::mnuDelete_Click()
{
    if (MsgBox(QStringLiteral("Удаленные данные будут утеряны! Продолжить?"), kTitle, MsgIcon::Question,
               MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    const int kind = SSTab1->currentIndex();
    try {
        Connection c;
        QVector<ShownKindRow> shown;
        for (const IndicatorGridRow& r : ShownRows[size_t(kind)])
            shown.append({r.scenarioId, r.number});
        ClearKind(c, CurrentObjectId, kind, shown);
        refillGrids(kind == 0, kind == 1, kind == 2, kind == 3);
    } catch (const DbError& e) {
        ShowDbError(e);
        if (IsConflict(e.cause))
            reloadAfterConflict(e);
    }
    // The panel may have shown an indicator that is gone now.
    lookUp(kind);
}

void frmInput::commit(int kind)
{
    QComboBox* combo = m_scenarioCombos[kind];
    if (combo->currentIndex() < 0)
        return;
    QWidget* box = valueControl(kind);
    const auto refuse = [&](const QString& text) {
        MsgBox(text, kTitle, MsgIcon::Exclamation);
        box->setFocus();
        if (kind < 3)
            m_peopleCombos[kind]->lineEdit()->selectAll();
        else
            Usherb->selectAll();
    };
    // Damage is kept to three decimals of a million roubles; a text that is no number goes on as NaN.
    const double typed = ToDouble(valueText(kind)).value_or(qQNaN());
    const double value = kind < 3 ? typed : RoundHalfEven(typed * 1000) / 1000;
    if (const auto problem = CheckIndicatorValue(kind, value)) {
        refuse(*problem);
        return;
    }
    try {
        Connection c;
        // The page's own panel names the scenario: another page may have changed CurrentScenarioId since.
        const auto scenario = FindScenarioByName(c, CurrentObjectId, combo->currentText());
        if (!scenario) {
            MsgBox(QStringLiteral("Сценарий ") + combo->currentText() + QStringLiteral(" не найден!"), kTitle,
                   MsgIcon::Exclamation);
            return;
        }
        CurrentScenarioId = scenario->id;
        const auto& shown = PanelsShown[size_t(kind)];
        // The panel's name may name another scenario by now.
        if (!shown || shown->scenarioId != scenario->id)
            throw DbError(DbFailure::ScenarioChanged, QStringLiteral("сценарий переименован"));
        SetIndicator(c, CurrentObjectId, scenario->id, kind, value, shown->indicator);
        refillGrids(kind == 0, kind == 1, kind == 2, kind == 3);
    } catch (const DbError& e) {
        ShowDbError(e);
        if (IsConflict(e.cause)) {
            // The typed value stays in the panel over what the reload shows.
            const QString typedText = valueText(kind);
            reloadAfterConflict(e);
            setValueText(kind, typedText);
            return;
        }
    }
    lookUp(kind);
}

void frmInput::reloadAfterConflict(const DbError& e)
{
    if (e.cause == DbFailure::ObjectGone) {
        loadAll();
        return;
    }
    try {
        if (reloadScenarioLists())
            refillGrids(true, true, true, true);
    } catch (const DbError& again) {
        ShowDbError(again);
    }
}

void frmInput::sortSelectedPage(const SortPair& pair)
{
    const int kind = SSTab1->currentIndex();
    SortPairs[size_t(kind)] = pair;
    try {
        refillGrids(kind == 0, kind == 1, kind == 2, kind == 3);
    } catch (const DbError& e) {
        ShowDbError(e);
    }
}

void frmInput::mnuUpor1_Click()
{
    sortSelectedPage(SortPairOf(KindOrder::NumberAsc));
}

void frmInput::mnuUpor2_Click()
{
    sortSelectedPage(SortPairOf(KindOrder::NumberDesc));
}

void frmInput::mnuUpor3_Click()
{
    sortSelectedPage(SortPairOf(KindOrder::RiskAsc));
}

void frmInput::mnuUpor4_Click()
{
    sortSelectedPage(SortPairOf(KindOrder::RiskDesc));
}

void frmInput::mnuUpor5_Click()
{
    sortSelectedPage(SortPairOf(KindOrder::NameAsc));
}

void frmInput::mnuUpor6_Click()
{
    sortSelectedPage(SortPairOf(KindOrder::NameDesc));
}

void frmInput::mnuEnter_Sc_Click()
{
    m_backFromEditor = true;
    Hide();
    forms().get<frmBD_Scen>()->Show();
}

void frmInput::mnuReturn_Click()
{
    Unload();
    forms().get<frmBD_Scen>()->Show(true);
}

void frmInput::mnuExit_Click()
{
    CloseAllWindows();
}

void frmInput::Command1_Click()
{
    QPointer<frmInput> self(this);
    m_building = true;
    BuildDiagrams();
    // The build lets events run; this window may have been unloaded meanwhile.
    if (self)
        self->m_building = false;
}

} // namespace zarnel

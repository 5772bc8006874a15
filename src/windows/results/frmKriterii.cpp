#include "windows/results/frmKriterii.h"

#include "components/Services.h"
#include "core/Formats.h"
#include "core/ObjectStore.h"
#include "core/Shared.h"
#include "risk/Kinds.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>
#include <cmath>

namespace zarnel {

namespace {

const QString kTitle = QStringLiteral("Внимание!!!");

constexpr std::array<int, 5> kKindOrder{KindFatalities, KindSevere, KindLight, KindSanitary, KindDamage};

QString KindName(int kind)
{
    switch (kind) {
    case KindFatalities:
        return QStringLiteral("смертельные поражения");
    case KindSevere:
        return QStringLiteral("тяжелые поражения");
    case KindLight:
        return QStringLiteral("легкие поражения");
    case KindSanitary:
        return QStringLiteral("санитарные потери");
    default:
        return QStringLiteral("ущерб");
    }
}

struct NamedColour {
    const char* name;
    unsigned rgb;
};
const NamedColour kColours[] = {
    {"черный", 0x000000},     {"сиреневый", 0x7030A0},  {"серый", 0x808080},      {"темно-зеленый", 0x006400}, {"коричневый", 0x8B4513},
    {"голубой", 0x0090D0},    {"фиолетовый", 0x800080}, {"оливковый", 0x808000},     {"темно-синий", 0x000080},
};

// A typed number; NaN when the text is no number, so that the line's check names the field.
double Typed(const QLineEdit* box)
{
    return ToDouble(box->text()).value_or(std::nan(""));
}

enum Column { ColShown, ColName, ColLine, ColKinds, ColSource, ColumnCount };

} // namespace

QString CriterionFormula(const CriterionLine& l)
{
    const QString f = l.alpha == 0 ? QStringLiteral("F = %1").arg(FormatRiskValue(l.c))
                                   : QStringLiteral("F = %1 / N^%2").arg(FormatRiskValue(l.c), PlainNumber(l.alpha));
    QString range;
    if (l.n2 && *l.n2 == l.n1)
        range = QStringLiteral("N = %1").arg(PlainNumber(l.n1));
    else if (l.n2)
        range = QStringLiteral("%1 ≤ N ≤ %2").arg(PlainNumber(l.n1), PlainNumber(*l.n2));
    else
        range = QStringLiteral("N ≥ %1").arg(PlainNumber(l.n1));
    return f + QStringLiteral(", ") + range;
}

QString CriterionKinds(const CriterionLine& l)
{
    QStringList names;
    for (int k : kKindOrder)
        if (l.appliesTo(k))
            names << KindName(k);
    return names.join(QStringLiteral(", "));
}

frmKriterii::frmKriterii()
{
    setWindowTitle(QStringLiteral("Критерии приемлемости"));
    setWidthTwips(14400);
    setHeightTwips(11000);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    Label1 = new QLabel(QStringLiteral("Нормативные значения социального риска для ОПО в Российской Федерации не "
                                       "установлены; линии других стран приведены для сравнения."),
                        central);
    Label1->setWordWrap(true);
    Label2 = new ElidedLabel(QString(), central);
    layout->addWidget(Label1);
    layout->addWidget(Label2);

    tabKrit = new QTableWidget(0, ColumnCount, central);
    tabKrit->setHorizontalHeaderLabels(
        {QStringLiteral("Показывать"), QStringLiteral("Название"), QStringLiteral("Линия"),
         QStringLiteral("Виды последствий"), QStringLiteral("Источник")});
    tabKrit->setSelectionBehavior(QAbstractItemView::SelectRows);
    tabKrit->setSelectionMode(QAbstractItemView::SingleSelection);
    tabKrit->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabKrit->verticalHeader()->hide();
    tabKrit->horizontalHeader()->setStretchLastSection(true);
    tabKrit->setColumnWidth(ColShown, 110);
    tabKrit->setColumnWidth(ColName, 260);
    tabKrit->setColumnWidth(ColLine, 210);
    tabKrit->setColumnWidth(ColKinds, 140);
    tabKrit->setWordWrap(false);
    layout->addWidget(tabKrit, 1);

    Frame1 = new QGroupBox(QStringLiteral("Линия критерия: F = C / N^α при N1 ≤ N ≤ N2"), central);
    auto* grid = new QGridLayout(Frame1);
    Name_krit = new QLineEdit(Frame1);
    Name_krit->setMaxLength(kCriterionTextLength);
    C_krit = new QLineEdit(Frame1);
    Alpha_krit = new QLineEdit(Frame1);
    N1_krit = new QLineEdit(Frame1);
    N2_krit = new QLineEdit(Frame1);
    N2_krit->setPlaceholderText(QStringLiteral("до наибольшего"));
    Source_krit = new QLineEdit(Frame1);
    Colour_krit = new QComboBox(Frame1);
    for (const NamedColour& c : kColours)
        Colour_krit->addItem(QString::fromUtf8(c.name), c.rgb);
    grid->addWidget(new QLabel(QStringLiteral("Название"), Frame1), 0, 0);
    grid->addWidget(Name_krit, 0, 1, 1, 7);
    const std::pair<const char*, QLineEdit*> numbers[] = {
        {"C, 1/год", C_krit}, {"α", Alpha_krit}, {"N1", N1_krit}, {"N2", N2_krit}};
    int col = 0;
    for (const auto& [label, box] : numbers) {
        grid->addWidget(new QLabel(QString::fromUtf8(label), Frame1), 1, col);
        grid->addWidget(box, 1, col + 1);
        col += 2;
    }
    auto* kinds = new QHBoxLayout();
    for (int k : kKindOrder) {
        Kind_krit[size_t(k)] = new QCheckBox(KindName(k), Frame1);
        kinds->addWidget(Kind_krit[size_t(k)]);
    }
    kinds->addStretch(1);
    grid->addWidget(new QLabel(QStringLiteral("Виды"), Frame1), 2, 0);
    grid->addLayout(kinds, 2, 1, 1, 7);
    grid->addWidget(new QLabel(QStringLiteral("Цвет"), Frame1), 3, 0);
    grid->addWidget(Colour_krit, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Источник"), Frame1), 3, 2);
    grid->addWidget(Source_krit, 3, 3, 1, 5);
    auto* lineButtons = new QHBoxLayout();
    Command1 = new QPushButton(QStringLiteral("Новый"), Frame1);
    Command2 = new QPushButton(QStringLiteral("ВВЕСТИ"), Frame1);
    Command3 = new QPushButton(QStringLiteral("Удалить"), Frame1);
    lineButtons->addStretch(1);
    for (QPushButton* b : {Command1, Command2, Command3}) {
        b->setMinimumWidth(110);
        lineButtons->addWidget(b);
    }
    grid->addLayout(lineButtons, 4, 0, 1, 8);
    layout->addWidget(Frame1);

    Frame2 = new QGroupBox(QStringLiteral("Допустимый индивидуальный риск, 1/год"), central);
    auto* limits = new QGridLayout(Frame2);
    int row = 0;
    for (int k : kKindOrder) {
        if (k == KindDamage)
            continue;
        Limit_chk[size_t(k)] = new QCheckBox(KindName(k), Frame2);
        Limit_value[size_t(k)] = new QLineEdit(Frame2);
        Limit_value[size_t(k)]->setMaximumWidth(110);
        Limit_source[size_t(k)] = new QLineEdit(Frame2);
        Limit_source[size_t(k)]->setMaxLength(kCriterionTextLength);
        limits->addWidget(Limit_chk[size_t(k)], row, 0);
        limits->addWidget(Limit_value[size_t(k)], row, 1);
        limits->addWidget(Limit_source[size_t(k)], row, 2);
        ++row;
    }
    limits->setColumnStretch(2, 1);
    layout->addWidget(Frame2);

    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    Command4 = new QPushButton(QStringLiteral("СОХРАНИТЬ"), central);
    Command5 = new QPushButton(QStringLiteral("Закрыть"), central);
    for (QPushButton* b : {Command4, Command5}) {
        b->setMinimumWidth(110);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    setCentralWidget(central);

    connect(Command1, &QPushButton::clicked, this, &frmKriterii::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmKriterii::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmKriterii::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmKriterii::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &frmKriterii::Command5_Click);
    connect(tabKrit, &QTableWidget::currentCellChanged, this, &frmKriterii::tabKrit_CurrentChanged);
}

void frmKriterii::Form_Load()
{
    try {
        Connection c;
        EnsureCriteriaTables(c);
        for (const StoredObject& o : ListObjects(c))
            if (o.id == CurrentObjectId)
                Label2->setText(QStringLiteral("ОПО: %1").arg(o.name));
        const QStringList chosen = ChosenCriteria(c, CurrentObjectId);
        reloadLines();
        for (const QString& n : chosen)
            setShown(n, true);
        for (int k : kKindOrder) {
            if (!Limit_chk[size_t(k)])
                continue;
            const std::optional<IndividualLimit> l = ChosenLimit(c, CurrentObjectId, k);
            const IndividualLimit shown = l.value_or(BuiltInIndividualLimit());
            Limit_chk[size_t(k)]->setChecked(l.has_value());
            Limit_value[size_t(k)]->setText(FormatRiskValue(shown.value));
            Limit_source[size_t(k)]->setText(shown.source);
        }
    } catch (const DbError& e) {
        ShowDbError(e.message);
    }
    Command1_Click();
}

int frmKriterii::rowOf(const QString& name) const
{
    for (int r = 0; r < tabKrit->rowCount(); ++r)
        if (tabKrit->item(r, ColName)->text().compare(name, Qt::CaseInsensitive) == 0)
            return r;
    return -1;
}

void frmKriterii::setShown(const QString& name, bool shown)
{
    if (const int r = rowOf(name); r >= 0)
        tabKrit->item(r, ColShown)->setCheckState(shown ? Qt::Checked : Qt::Unchecked);
}

QStringList frmKriterii::shownNames() const
{
    QStringList names;
    for (int r = 0; r < tabKrit->rowCount(); ++r)
        if (tabKrit->item(r, ColShown)->checkState() == Qt::Checked)
            names << tabKrit->item(r, ColName)->text();
    return names;
}

void frmKriterii::reloadLines(const QString& select)
{
    const QStringList shown = shownNames();
    Connection c;
    m_lines = AllCriteria(c);
    tabKrit->blockSignals(true);
    tabKrit->setRowCount(0);
    for (const CriterionLine& l : m_lines) {
        const int r = tabKrit->rowCount();
        tabKrit->insertRow(r);
        auto* check = new QTableWidgetItem(l.builtIn ? QStringLiteral("встроенный") : QString());
        check->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        check->setCheckState(shown.contains(l.name, Qt::CaseInsensitive) ? Qt::Checked : Qt::Unchecked);
        tabKrit->setItem(r, ColShown, check);
        const QString texts[] = {l.name, CriterionFormula(l), CriterionKinds(l), l.source};
        for (int col = ColName; col < ColumnCount; ++col) {
            auto* item = new QTableWidgetItem(texts[col - ColName]);
            item->setToolTip(texts[col - ColName]);
            if (col == ColName)
                item->setForeground(QColor(QRgb(l.colour)));
            tabKrit->setItem(r, col, item);
        }
    }
    tabKrit->blockSignals(false);
    if (const int r = rowOf(select); r >= 0)
        tabKrit->setCurrentCell(r, ColName);
}

void frmKriterii::showLine(const CriterionLine& l)
{
    Name_krit->setText(l.name);
    C_krit->setText(PlainNumber(l.c));
    Alpha_krit->setText(PlainNumber(l.alpha));
    N1_krit->setText(PlainNumber(l.n1));
    N2_krit->setText(l.n2 ? PlainNumber(*l.n2) : QString());
    for (int k : kKindOrder)
        Kind_krit[size_t(k)]->setChecked(l.appliesTo(k));
    int index = Colour_krit->findData(l.colour);
    if (index < 0) {
        Colour_krit->addItem(QStringLiteral("#%1").arg(l.colour, 6, 16, QLatin1Char('0')), l.colour);
        index = Colour_krit->count() - 1;
    }
    Colour_krit->setCurrentIndex(index);
    Source_krit->setText(l.source);
    // Built-in lines are shown, not edited.
    for (QWidget* w : std::initializer_list<QWidget*>{Name_krit, C_krit, Alpha_krit, N1_krit, N2_krit, Source_krit,
                                                      Colour_krit})
        w->setEnabled(!l.builtIn);
    for (QCheckBox* b : Kind_krit)
        b->setEnabled(!l.builtIn);
    Command2->setEnabled(!l.builtIn);
    Command3->setEnabled(!l.builtIn && !l.name.isEmpty());
    m_editing = l.builtIn ? QString() : l.name;
}

CriterionLine frmKriterii::typedLine() const
{
    CriterionLine l;
    l.name = Name_krit->text().trimmed();
    l.c = Typed(C_krit);
    l.alpha = Typed(Alpha_krit);
    l.n1 = Typed(N1_krit);
    if (!N2_krit->text().trimmed().isEmpty())
        l.n2 = Typed(N2_krit);
    l.kinds = 0;
    for (int k : kKindOrder)
        if (Kind_krit[size_t(k)]->isChecked())
            l.kinds |= 1u << k;
    l.colour = Colour_krit->currentData().toUInt();
    l.source = Source_krit->text().trimmed();
    return l;
}

void frmKriterii::tabKrit_CurrentChanged()
{
    const int r = tabKrit->currentRow();
    if (r >= 0 && r < m_lines.size())
        showLine(m_lines[r]);
}

void frmKriterii::Command1_Click()
{
    CriterionLine fresh;
    fresh.n1 = 1;
    fresh.alpha = 1;
    showLine(fresh);
    C_krit->clear();
    tabKrit->clearSelection();
    Name_krit->setFocus();
}

void frmKriterii::Command2_Click()
{
    const CriterionLine l = typedLine();
    try {
        Connection c;
        if (const auto message = CheckCriterion(c, l, m_editing)) {
            MsgBox(*message, kTitle, MsgIcon::Exclamation);
            return;
        }
        SaveCriterion(c, l, m_editing);
        const bool wasShown = !m_editing.isEmpty() && rowOf(m_editing) >= 0 &&
                              tabKrit->item(rowOf(m_editing), ColShown)->checkState() == Qt::Checked;
        reloadLines(l.name);
        if (wasShown)
            setShown(l.name, true);
        m_editing = l.name;
        Command3->setEnabled(true);
    } catch (const DbError& e) {
        ShowDbError(e.message);
    }
}

void frmKriterii::Command3_Click()
{
    if (m_editing.isEmpty())
        return;
    if (MsgBox(QStringLiteral("Удалить критерий «%1»? Он будет убран и с диаграмм всех объектов.").arg(m_editing),
               QStringLiteral("В н и м а н и е ! ! !"), MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    try {
        Connection c;
        DeleteCriterion(c, m_editing);
        reloadLines();
        Command1_Click();
    } catch (const DbError& e) {
        ShowDbError(e.message);
    }
}

void frmKriterii::Command4_Click()
{
    std::array<std::optional<IndividualLimit>, 5> limits;
    for (int k : kKindOrder) {
        if (!Limit_chk[size_t(k)] || !Limit_chk[size_t(k)]->isChecked())
            continue;
        const std::optional<double> v = ToDouble(Limit_value[size_t(k)]->text());
        if (!v || !std::isfinite(*v) || *v <= 0) {
            MsgBox(QStringLiteral("Допустимый индивидуальный риск (%1) должен быть положительным числом!")
                       .arg(KindName(k)),
                   kTitle, MsgIcon::Exclamation);
            Limit_value[size_t(k)]->setFocus();
            return;
        }
        limits[size_t(k)] = IndividualLimit{*v, Limit_source[size_t(k)]->text().trimmed()};
    }
    try {
        Connection c;
        SaveCriteriaChoices(c, CurrentObjectId, shownNames(), limits);
    } catch (const DbError& e) {
        ShowDbError(e.message);
        return;
    }
    if (onSaved)
        onSaved();
    Unload();
}

void frmKriterii::Command5_Click()
{
    Unload();
}

} // namespace zarnel

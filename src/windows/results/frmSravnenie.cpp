#include "windows/results/frmSravnenie.h"

#include "components/ChartSinkAdapter.h"
#include "components/Services.h"
#include "components/Twips.h"
#include "core/Database.h"
#include "core/ObjectStore.h"
#include "report/ChartExport.h"
#include "windows/results/AxisFrame.h"
#include "windows/results/ChartRedraw.h"
#include "windows/results/frmOutput.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace zarnel {

namespace {

const QString kTitle = QStringLiteral("Внимание!!!");

QColor Rgb(unsigned colour)
{
    return QColor((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
}

constexpr int kNameRole = Qt::UserRole;
constexpr int kIdRole = Qt::UserRole + 1;

} // namespace

QString ComparisonCaption(const Comparison& cmp)
{
    QStringList names;
    for (const ComparedObject& o : cmp.objects)
        names << QStringLiteral("«%1»").arg(o.name);
    return ChartCaption(KindInfoOf(cmp.kind).stepChart) + QStringLiteral("; сравнение вариантов: ") +
           names.join(QStringLiteral(", "));
}

frmSravnenie::frmSravnenie()
{
    setWindowTitle(QStringLiteral("Сравнение вариантов"));

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 6);

    // Choice: objects, kind, "Сравнить".
    auto* choice = new QHBoxLayout();
    auto* objects = new QVBoxLayout();
    objects->addWidget(new QLabel(
        QStringLiteral("Объекты (от 2 до 6; первый отмеченный — базовый вариант):"), central));
    lstObjekt = new QListWidget(central);
    lstObjekt->setFixedHeight(TwipsToPixelsY(1500));
    objects->addWidget(lstObjekt);
    choice->addLayout(objects, 1);
    auto* kind = new QVBoxLayout();
    kind->addWidget(new QLabel(QStringLiteral("Вид последствий:"), central));
    cboVid = new QComboBox(central);
    const struct {
        const char* name;
        int kind;
    } kinds[] = {{"Смертельные поражения", KindFatalities}, {"Тяжелые поражения", KindSevere},
                 {"Легкие поражения", KindLight},           {"Санитарные потери", KindSanitary},
                 {"Ущерб", KindDamage}};
    for (const auto& k : kinds)
        cboVid->addItem(QString::fromUtf8(k.name), k.kind);
    kind->addWidget(cboVid);
    Command1 = new QPushButton(QStringLiteral("Сравнить"), central);
    kind->addWidget(Command1);
    kind->addStretch(1);
    choice->addLayout(kind);
    layout->addLayout(choice);

    // Chart with the axis panel of the results charts.
    auto* chartRow = new QHBoxLayout();
    ctlChart1 = new ctlChart(central);
    ctlChart1->setMinimumSize(300, 240);
    chartRow->addWidget(ctlChart1, 1);
    auto* panel = new QVBoxLayout();
    AxisFrameControls x, y;
    panel->addWidget(MakeAxisFrame(central, QStringLiteral("Ось ОХ"), QString(), x));
    panel->addWidget(MakeAxisFrame(central, QStringLiteral("Ось ОУ"), QString(), y));
    OX1 = x.from;
    OX2 = x.to;
    nOX = x.divisions;
    OptionXLog = x.logarithmic;
    OptionXLin = x.linear;
    OY1 = y.from;
    OY2 = y.to;
    nOY = y.divisions;
    OptionYLog = y.logarithmic;
    OptionYLin = y.linear;
    CaptionX = x.caption;
    CaptionY = y.caption;
    Command2 = new QPushButton(QStringLiteral("Построить"), central);
    Command3 = new QPushButton(QStringLiteral("Вывод графика в MWord"), central);
    panel->addSpacing(6);
    panel->addWidget(Command2);
    panel->addWidget(Command3);
    panel->addStretch(1);
    auto* panelWidget = new QWidget(central);
    panelWidget->setLayout(panel);
    panelWidget->setFixedWidth(TwipsToPixelsX(3900));
    panel->setContentsMargins(0, 0, 0, 0);
    chartRow->addWidget(panelWidget);
    layout->addLayout(chartRow, 1);

    tabSrav = new FlexGrid(central);
    tabSrav->setFixedCols(0);
    tabSrav->setCols(ComparisonColumns);
    const std::array<int, ComparisonColumns> widths{4300, 2100, 2100, 1500, 2500, 2800};
    for (int c = 0; c < ComparisonColumns; ++c)
        tabSrav->setColWidth(c, widths[size_t(c)]);
    tabSrav->setRows(1);
    tabSrav->setFixedHeight(TwipsToPixelsY(2700));
    layout->addWidget(tabSrav);
    setCentralWidget(central);

    Command2->setEnabled(false);
    Command3->setEnabled(false);
    nOX->setText(QStringLiteral("10"));
    nOY->setText(QStringLiteral("10"));
    setKind(KindFatalities);

    connect(Command1, &QPushButton::clicked, this, &frmSravnenie::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmSravnenie::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmSravnenie::Command3_Click);
    connect(lstObjekt, &QListWidget::itemChanged, this, &frmSravnenie::itemChanged);

    setSizeTwipsWithinScreen(16800, 11400);
}

void frmSravnenie::Form_Load()
{
    QVector<StoredObject> objects;
    try {
        Connection c;
        objects = ListObjects(c);
    } catch (const DbError& e) {
        ShowDbError(e.message);
        return;
    }
    const QSignalBlocker block(lstObjekt);
    for (const StoredObject& o : objects) {
        auto* item = new QListWidgetItem(o.name, lstObjekt);
        item->setData(kNameRole, o.name);
        item->setData(kIdRole, int(o.id));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

bool frmSravnenie::choose(const QString& name)
{
    for (int i = 0; i < lstObjekt->count(); ++i) {
        QListWidgetItem* item = lstObjekt->item(i);
        if (item->data(kNameRole).toString() == name) {
            item->setCheckState(Qt::Checked);
            return true;
        }
    }
    return false;
}

void frmSravnenie::setKind(int kind)
{
    cboVid->setCurrentIndex(cboVid->findData(kind));
    const auto [captionX, captionY] = ChartAxisCaptions(KindInfoOf(kind).stepChart);
    CaptionX->setText(captionX);
    CaptionY->setText(captionY);
}

void frmSravnenie::itemChanged(QListWidgetItem* item)
{
    const qint16 id = qint16(item->data(kIdRole).toInt());
    const bool checked = item->checkState() == Qt::Checked;
    if (checked && !m_order.contains(id)) {
        if (m_order.size() >= MaxCompared) {
            const QSignalBlocker block(lstObjekt);
            item->setCheckState(Qt::Unchecked);
            MsgBox(QStringLiteral("Сравнить можно не более %1 объектов!").arg(MaxCompared), kTitle,
                   MsgIcon::Exclamation);
            return;
        }
        m_order.append(id);
    } else if (!checked) {
        m_order.removeAll(id);
    }
    numberItems();
}

void frmSravnenie::numberItems()
{
    const QSignalBlocker block(lstObjekt);
    for (int i = 0; i < lstObjekt->count(); ++i) {
        QListWidgetItem* item = lstObjekt->item(i);
        const qsizetype at = m_order.indexOf(qint16(item->data(kIdRole).toInt()));
        const QString name = item->data(kNameRole).toString();
        item->setText(at < 0 ? name : QStringLiteral("%1. %2").arg(at + 1).arg(name));
    }
}

void frmSravnenie::Command1_Click()
{
    if (m_order.size() < MinCompared) {
        MsgBox(QStringLiteral("Отметьте от %1 до %2 объектов для сравнения!").arg(MinCompared).arg(MaxCompared),
               kTitle, MsgIcon::Exclamation);
        return;
    }
    const int kind = cboVid->currentData().toInt();
    Comparison cmp;
    try {
        Connection c;
        cmp = BuildComparison(c, m_order, kind);
    } catch (const DbError& e) {
        ShowDbError(e.message);
        return;
    }
    if (!cmp.anyHasKind()) {
        MsgBox(QStringLiteral("Ни у одного из отмеченных объектов нет показателей вида «%1»!")
                   .arg(cboVid->currentText()),
               kTitle, MsgIcon::Exclamation);
        return;
    }
    ShowComparison(cmp);
}

void frmSravnenie::ShowComparison(const Comparison& cmp)
{
    m_cmp = cmp;
    setKind(cmp.kind);
    ApplyChartDesign(*ctlChart1, KindInfoOf(cmp.kind).stepChart);
    (ctlChart1->axistypex() == 1 ? OptionXLog : OptionXLin)->setChecked(true);
    (ctlChart1->axistypey() == 1 ? OptionYLog : OptionYLin)->setChecked(true);

    QVector<ctlChart::Overlay> overlays;
    for (const ComparedObject& o : cmp.objects)
        if (o.hasKind)
            overlays.append({o.name, Rgb(o.colour), o.curve, false});
    for (const ComparisonLine& l : cmp.lines)
        overlays.append({l.line.name, Rgb(l.line.colour), l.curve, true});
    ctlChart1->setOverlays(overlays);
    ReplayChartPlan(cmp.plan, *ctlChart1);
    OX1->setText(cmp.boxes.minX);
    OX2->setText(cmp.boxes.maxX);
    OY1->setText(cmp.boxes.minY);
    OY2->setText(cmp.boxes.maxY);

    const auto texts = ComparisonTexts(cmp);
    tabSrav->Clear();
    tabSrav->setRows(int(texts.size()));
    for (int row = 0; row < int(texts.size()); ++row)
        for (int c = 0; c < ComparisonColumns; ++c)
            tabSrav->setTextMatrix(row, c, texts[row][size_t(c)]);
    tabSrav->setRowHeight(0, 500); // the headers take two lines
    for (int row = 1; row < int(texts.size()); ++row) {
        tabSrav->setRow(row);
        tabSrav->setCol(0);
        tabSrav->setCellForeColor(Rgb(cmp.objects[row - 1].colour));
    }
    tabSrav->setRow(0);
    Command2->setEnabled(true);
    Command3->setEnabled(true);
}

void frmSravnenie::Command2_Click()
{
    const AxisEntry x{OX1->text(), OX2->text(), nOX->text(), OptionXLog->isChecked()};
    const AxisEntry y{OY1->text(), OY2->text(), nOY->text(), OptionYLog->isChecked()};
    // The curves are overlays: the redraw sets the axes only.
    const ChartRedraw r = PlanIntegralRedraw(KindInfoOf(m_cmp.kind).stepChart, x, y, {});
    if (!r.ok) {
        MsgBox(r.message.text, r.message.title, MsgIcon::Exclamation, MsgButtons::OK);
        return;
    }
    ctlChart1->setAxistypex(r.axisTypeX);
    ctlChart1->setAxistypey(r.axisTypeY);
    ReplayChartPlan(r.plan, *ctlChart1);
}

void frmSravnenie::Command3_Click()
{
    ExportChartToWord(*ctlChart1, ComparisonCaption(m_cmp), QStringLiteral("Сравнение вариантов"));
}

} // namespace zarnel

#include "windows/results/frmOutput.h"

#include "components/ChartSinkAdapter.h"
#include "components/Services.h"
#include "components/Twips.h"
#include "core/Database.h"
#include "core/ReportOptions.h"
#include "core/Shared.h"
#include "risk/Kinds.h"
#include "windows/results/AxisFrame.h"
#include "windows/results/ChartRedraw.h"
#include "windows/results/ExcelOutput.h"
#include "windows/results/WordOutput.h"
#include "windows/results/frmKriterii.h"
#include "windows/results/frmSravnenie.h"
#include "windows/results/WrappedTabWidget.h"
#include "windows/scenarios/frmInput.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QVBoxLayout>

namespace zarnel {

namespace {

// Design-time look of each chart: axis titles, tick formats, axes at start, colour of titles and curve.
struct ChartDesign {
    const char* titleX;
    const char* titleY;
    const char* formatX;
    bool logX;
    bool logY;
    unsigned colour;      // 0xRRGGBB of the axis titles
    int curveColour;      // 0xRRGGBB of the curve; -1 keeps the control's default
    const char* captionX; // caption under the X frame's options
    const char* captionY;
};

const std::array<ChartDesign, 11> kDesign{{
    {},
    {"Количество погибших, не менее n человек", "Вероятность гибели за год, более n человек [1-F(n)]", "0", false, true,
     0xFF0000, -1, "Кол-во погибших, чел.", "Вероятность гибели за год"},
    {"Количество погибших, n человек", "Вероятность гибели за год, n человек", "0.00E-00", true, true, 0xFF0000,
     0x000000, "Кол-во погибших, чел.", "Вероятность гибели за год"},
    {"Количество тяжело пораженных, не менее n человек",
     "Вероятность тяжелых поражений за год, более n человек [1-F(n)]", "0", false, true, 0x0000C0, 0x0000C0,
     "Кол-во тяжело пораженных, чел.", "Вероятность тяжелых поражений за год"},
    {"Количество тяжело пораженных, n человек", "Вероятность тяжелых поражений за год, n человек", "0", true, true,
     0x0000FF, 0x0000FF, "Кол-во тяжело пораженных, чел.", "Вероятность тяжелых поражений за год"},
    {"Количество легко пораженных, не менее n человек", "Вероятность легких поражений за год, более n человек [1-F(n)]",
     "0", true, true, 0x008000, 0x008000, "Кол-во легко пораженных, чел.", "Вероятность легких поражений за год"},
    {"Количество легко пораженных, n человек", "Вероятность легких поражений за год, n человек", "0", true, true,
     0x008000, 0x008000, "Кол-во легко пораженных, чел.", "Вероятность легких поражений за год"},
    {"Количество санитарных потерь, не менее n человек",
     "Вероятность санитарных потерь за год, более n человек [1-F(n)]", "0", true, true, 0xFF8000, 0xFF8000,
     "Кол-во санитарных потерь, чел.", "Вероятность санитарных потерь за год"},
    {"Количество санитарных потерь, n человек", "Вероятность санитарных потерь за год,  n человек", "0", true, true,
     0xFF8000, 0xFF8000, "Кол-во санитарных потерь, чел.", "Вероятность санитарных потерь за год"},
    {"Размер ущерба, не менее G млн.руб", "Вероятность ущерба за год, более G млн.руб", "0", true, true, 0xC000C0,
     0xC000C0, "Размер ущерба", "Вероятность ущерба за год"},
    {"Размер ущерба, G млн.руб", "Вероятность ущерба за год, G млн.руб", "0", true, true, 0xC000C0, 0xC000C0,
     "Размер ущерба, млн. руб.", "Вероятность ущерба за год"},
}};

QColor rgb(unsigned colour)
{
    return QColor((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
}

void setTextColour(QWidget* w, const QColor& c)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::Text, c); // labels on a white ground draw with this role
    w->setPalette(p);
}

QString S(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

frmOutput::frmOutput()
{
    setWindowTitle(QStringLiteral("Результаты построения"));

    mnuReturn = menuBar()->addAction(QStringLiteral("<<Назад"));
    mnuWord = menuBar()->addAction(QStringLiteral("Вывод результатов в MWord"));
    mnuKriterii = menuBar()->addAction(QStringLiteral("Критерии приемлемости..."));
    mnuExcel = menuBar()->addAction(QStringLiteral("Экспорт результатов в Excel..."));
    mnuSravnenie = menuBar()->addAction(QStringLiteral("Сравнение вариантов..."));
    mnuParametry = menuBar()->addMenu(QStringLiteral("Параметры"));
    mnuPodpisi = mnuParametry->addAction(QStringLiteral("Номера подписей вручную («Таблица ___ - », «Рис. ____ - »)"));
    mnuPodpisi->setCheckable(true);
    mnuExit = menuBar()->addAction(QStringLiteral("Выход"));

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    SSTab2 = new QTabWidget(central);
    SSTab2->setObjectName(QStringLiteral("SSTab2"));
    layout->addWidget(SSTab2);
    setCentralWidget(central);

    const QString collective = QStringLiteral("Коллективный риск, чел./год");
    const QString individual = QStringLiteral("Индивидуальный риск, 1/год");
    SSTab2->addTab(buildKindPage(KindFatalities,
                                 {QStringLiteral("Интегральная функция распределения числа погибших при расчетных "
                                                 "аварийных сценариях, диаграмма F/>=n гибели"),
                                  QStringLiteral("Многоугольник распределения количества погибших при расчетных "
                                                 "сценариях в год"),
                                  QStringLiteral("Показатели социального риска гибели людей не менее и равного n "
                                                 "человек при реализации аварийных сценариев в течение года")},
                                 collective, individual),
                   QStringLiteral("СМЕРТЕЛЬНЫЕ ПОРАЖЕНИЯ"));
    SSTab2->addTab(buildKindPage(KindSevere,
                                 {QStringLiteral("Интегральная функция распределения числа тяжело пораженных при "
                                                 "расчетных аварийных сценариях, диаграмма F/>=n тяжелого поражения"),
                                  QStringLiteral("Многоугольник распределения количества тяжело пораженных при "
                                                 "расчетных сценариях в год"),
                                  QStringLiteral("Показатели социального риска тяжелого поражения людей не менее и "
                                                 "равного n человек при реализации аварийных сценариев в течение "
                                                 "года")},
                                 collective, individual),
                   QStringLiteral("ТЯЖЕЛЫЕ ПОРАЖЕНИЯ"));
    SSTab2->addTab(buildKindPage(KindLight,
                                 {QStringLiteral("Интегральная функция распределения числа легко пораженных при "
                                                 "расчетных аварийных сценариях, диаграмма F/>=n легкого поражения"),
                                  QStringLiteral("Многоугольник распределения количества легко пораженных при "
                                                 "расчетных сценариях в год"),
                                  QStringLiteral("Показатели социального риска легкого поражения людей не менее и "
                                                 "равного n человек при реализации аварийных сценариев в течение "
                                                 "года")},
                                 collective, individual),
                   QStringLiteral("ЛЕГКИЕ ПОРАЖЕНИЯ"));
    SSTab2->addTab(buildKindPage(KindSanitary,
                                 {QStringLiteral("Интегральная функция распределения числа санитарных потерь при "
                                                 "расчетных аварийных сценариях, диаграмма F/>=n санитарных потерь"),
                                  QStringLiteral("Многоугольник распределения количества санитарных потерь при "
                                                 "расчетных сценариях в год"),
                                  QStringLiteral("Показатели социального риска санитарных потерь поражения людей не "
                                                 "менее и равного n человек при реализации аварийных сценариев в "
                                                 "течение года")},
                                 collective, individual),
                   QStringLiteral("САНИТАРНЫЕ ПОТЕРИ"));
    SSTab2->addTab(buildKindPage(KindDamage,
                                 {QStringLiteral("Интегральная функция распределения ущерба при расчетных аварийных "
                                                 "сценариях, диаграмма F/>=G ущерба"),
                                  QStringLiteral("Многоугольник распределения размера ущерба при расчетных "
                                                 "сценариях в год"),
                                  QStringLiteral("Показатели социального риска ущерба не менее и равного G млн.руб. "
                                                 "при реализации аварийных сценариев в течение года")},
                                 QStringLiteral("Среднеожидаемый ущерб млн.руб./год"), QString()),
                   QStringLiteral("УЩЕРБ"));

    SSTab1 = m_innerTabs[KindFatalities];
    SSTab3 = m_innerTabs[KindSevere];
    SSTab4 = m_innerTabs[KindLight];
    SSTab5 = m_innerTabs[KindSanitary];
    SSTab1_ush = m_innerTabs[KindDamage];
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab3->setObjectName(QStringLiteral("SSTab3"));
    SSTab4->setObjectName(QStringLiteral("SSTab4"));
    SSTab5->setObjectName(QStringLiteral("SSTab5"));
    SSTab1_ush->setObjectName(QStringLiteral("SSTab1_ush"));

    tabPokaz = m_grids[KindFatalities];
    tabPokaz_m = m_grids[KindSevere];
    tabPokaz_m1 = m_grids[KindLight];
    tabPokaz_m2 = m_grids[KindSanitary];
    tabPokaz_ush = m_grids[KindDamage];
    K_Sm_por = m_collective[KindFatalities];
    I_Sm_por = m_individual[KindFatalities];
    K_T_por = m_collective[KindSevere];
    I_T_por = m_individual[KindSevere];
    K_L_por = m_collective[KindLight];
    I_L_por = m_individual[KindLight];
    K_San_por = m_collective[KindSanitary];
    I_San_por = m_individual[KindSanitary];
    K_Ush = m_collective[KindDamage];

    // The names every chart's controls are known by: chart, X boxes, X log / linear, Y boxes, Y log / linear,
    // "Построить", "Вывод графика в MWord".
    const auto bind = [this](int c, ctlChart*& chart, QLineEdit*& x1, QLineEdit*& x2, QLineEdit*& nx,
                             QRadioButton*& xLog, QRadioButton*& xLin, QLineEdit*& y1, QLineEdit*& y2, QLineEdit*& ny,
                             QRadioButton*& yLog, QRadioButton*& yLin, QPushButton*& build, QPushButton*& word,
                             const QStringList& names) {
        const ChartControls& k = m_charts[c];
        chart = k.chart;
        x1 = k.xFrom;
        x2 = k.xTo;
        nx = k.xDivisions;
        xLog = k.xLog;
        xLin = k.xLinear;
        y1 = k.yFrom;
        y2 = k.yTo;
        ny = k.yDivisions;
        yLog = k.yLog;
        yLin = k.yLinear;
        build = k.build;
        word = k.toWord;
        const QList<QObject*> objects{chart, x1, x2, nx, xLog, xLin, y1, y2, ny, yLog, yLin, build, word};
        for (int i = 0; i < objects.size(); ++i)
            objects[i]->setObjectName(names[i]);
    };
    const auto names = [](const QString& s) { return s.split(QLatin1Char(' ')); };
    bind(1, ctlChart1, OX1, OX2, nOX, Option7, Option8, OY1, OY2, nOY, Option6, Option5, Command8, Command7,
         names(QStringLiteral("ctlChart1 OX1 OX2 nOX Option7 Option8 OY1 OY2 nOY Option6 Option5 Command8 Command7")));
    bind(2, ctlChart2, OX1_mn, OX2_mn, nOX_mn, Option3, Option4, OY1_mn, OY2_mn, nOY_mn, Option2, Option1, Command2,
         Command1,
         names(QStringLiteral("ctlChart2 OX1_mn OX2_mn nOX_mn Option3 Option4 OY1_mn OY2_mn nOY_mn Option2 Option1 "
                              "Command2 Command1")));
    bind(3, ctlChart3, OX1t, OX2t, nOXt, Option11, Option12, OY1t, OY2t, nOYt, Option10, Option9, Command4, Command3,
         names(QStringLiteral("ctlChart3 OX1t OX2t nOXt Option11 Option12 OY1t OY2t nOYt Option10 Option9 Command4 "
                              "Command3")));
    bind(4, ctlChart5, OX1t_mn, OX2t_mn, nOXt_mn, Option14, Option13, OY1t_mn, OY2t_mn, nOYt_mn, Option15, Option16,
         Command5, Command6,
         names(QStringLiteral("ctlChart5 OX1t_mn OX2t_mn nOXt_mn Option14 Option13 OY1t_mn OY2t_mn nOYt_mn Option15 "
                              "Option16 Command5 Command6")));
    bind(5, ctlChart6, OX1l, OX2l, nOXl, Option18, Option17, OY1l, OY2l, nOYl, Option19, Option20, Command9, Command10,
         names(QStringLiteral("ctlChart6 OX1l OX2l nOXl Option18 Option17 OY1l OY2l nOYl Option19 Option20 Command9 "
                              "Command10")));
    bind(6, ctlChart12, OX1l_mn, OX2l_mn, nOXl_mn, Option23, Option24, OY1l_mn, OY2l_mn, nOYl_mn, Option22, Option21,
         Command12, Command11,
         names(QStringLiteral("ctlChart12 OX1l_mn OX2l_mn nOXl_mn Option23 Option24 OY1l_mn OY2l_mn nOYl_mn "
                              "Option22 Option21 Command12 Command11")));
    bind(7, ctlChart9, OX1s, OX2s, nOXs, Option27, Option28, OY1s, OY2s, nOYs, Option26, Option25, Command14, Command13,
         names(QStringLiteral("ctlChart9 OX1s OX2s nOXs Option27 Option28 OY1s OY2s nOYs Option26 Option25 "
                              "Command14 Command13")));
    bind(8, ctlChart13, OX1s_mn, OX2s_mn, nOXs_mn, Option30, Option29, OY1s_mn, OY2s_mn, nOYs_mn, Option31, Option32,
         Command15, Command16,
         names(QStringLiteral("ctlChart13 OX1s_mn OX2s_mn nOXs_mn Option30 Option29 OY1s_mn OY2s_mn nOYs_mn "
                              "Option31 Option32 Command15 Command16")));
    bind(9, ctlChart1_ush, OX1u, OX2u, nOXu, Option34, Option33, OY1u, OY2u, nOYu, Option35, Option36, Command17,
         Command18,
         names(QStringLiteral("ctlChart1_ush OX1u OX2u nOXu Option34 Option33 OY1u OY2u nOYu Option35 Option36 "
                              "Command17 Command18")));
    bind(10, ctlChart2_ush, OX1u_mn, OX2u_mn, nOXu_mn, Option39, Option40, OY1u_mn, OY2u_mn, nOYu_mn, Option38,
         Option37, Command20, Command19,
         names(QStringLiteral("ctlChart2_ush OX1u_mn OX2u_mn nOXu_mn Option39 Option40 OY1u_mn OY2u_mn nOYu_mn "
                              "Option38 Option37 Command20 Command19")));

    connect(Command8, &QPushButton::clicked, this, &frmOutput::Command8_Click);
    connect(Command2, &QPushButton::clicked, this, &frmOutput::Command2_Click);
    connect(Command4, &QPushButton::clicked, this, &frmOutput::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &frmOutput::Command5_Click);
    connect(Command9, &QPushButton::clicked, this, &frmOutput::Command9_Click);
    connect(Command12, &QPushButton::clicked, this, &frmOutput::Command12_Click);
    connect(Command14, &QPushButton::clicked, this, &frmOutput::Command14_Click);
    connect(Command15, &QPushButton::clicked, this, &frmOutput::Command15_Click);
    connect(Command17, &QPushButton::clicked, this, &frmOutput::Command17_Click);
    connect(Command20, &QPushButton::clicked, this, &frmOutput::Command20_Click);
    connect(mnuReturn, &QAction::triggered, this, &frmOutput::mnuReturn_Click);
    connect(mnuExit, &QAction::triggered, this, &frmOutput::mnuExit_Click);
    connect(mnuKriterii, &QAction::triggered, this, &frmOutput::mnuKriterii_Click);
    connect(mnuExcel, &QAction::triggered, this, [this] { ExcelExport_Click(*this); });
    connect(mnuSravnenie, &QAction::triggered, this, &frmOutput::mnuSravnenie_Click);
    // Read when the menu opens: the choice follows the program folder in force.
    connect(mnuParametry, &QMenu::aboutToShow, this, [this] { mnuPodpisi->setChecked(ManualCaptionNumbers()); });
    connect(mnuPodpisi, &QAction::toggled, this, [](bool manual) {
        if (manual != ManualCaptionNumbers())
            SetManualCaptionNumbers(manual);
    });
    ConnectWordOutput(this);

    applyDesignSettings();

    // As large as the charts want, but never beyond the screen.
    setSizeTwipsWithinScreen(17700, 12600);
}

QWidget* frmOutput::buildKindPage(int kind, const std::array<QString, 3>& captions, const QString& collectiveCaption,
                                  const QString& individualCaption)
{
    const KindInfo info = KindInfoOf(kind);
    const QColor colour = rgb(info.colour);

    auto* page = new QWidget();
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 6, 4, 4);
    layout->setSpacing(6);

    auto* line = new QFrame(page);
    line->setFixedHeight(3);
    line->setAutoFillBackground(true);
    QPalette linePalette = line->palette();
    linePalette.setColor(QPalette::Window, colour);
    line->setPalette(linePalette);
    layout->addWidget(line);

    auto* inner = new WrappedTabWidget(page);
    m_innerTabs[kind] = inner;
    inner->addTab(
        buildChartPage(info.stepChart, S(kDesign[info.stepChart].captionX), S(kDesign[info.stepChart].captionY)),
        captions[0]);
    inner->addTab(buildChartPage(info.polygonChart, S(kDesign[info.polygonChart].captionX),
                                 S(kDesign[info.polygonChart].captionY)),
                  captions[1]);

    auto* table = new QWidget();
    auto* tableLayout = new QVBoxLayout(table);
    auto* grid = new FlexGrid(table);
    m_grids[kind] = grid;
    tableLayout->addWidget(grid, 1);

    const auto valueBox = [&](const QString& caption, QLabel*& value, QGridLayout* boxes, int column) {
        auto* label = new QLabel(caption, table);
        setTextColour(label, colour);
        value = new QLabel(table);
        value->setFrameShape(QFrame::Box);
        value->setMargin(3);
        value->setAutoFillBackground(true);
        value->setBackgroundRole(QPalette::Base);
        value->setMinimumWidth(TwipsToPixelsX(2400));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        setTextColour(value, colour);
        QFont bold = value->font();
        bold.setBold(true);
        value->setFont(bold);
        boxes->addWidget(label, 0, column);
        boxes->addWidget(value, 1, column);
    };
    auto* boxes = new QGridLayout();
    boxes->setHorizontalSpacing(TwipsToPixelsX(600));
    valueBox(collectiveCaption, m_collective[kind], boxes, 0);
    if (!individualCaption.isEmpty()) {
        valueBox(individualCaption, m_individual[kind], boxes, 1);
        m_limit[kind] = new QLabel(table);
        m_limit[kind]->setWordWrap(true);
        m_limit[kind]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_limit[kind]->hide();
        boxes->addWidget(m_limit[kind], 2, 1, 1, 2);
    }
    boxes->setColumnStretch(2, 1);
    tableLayout->addLayout(boxes);

    m_contributionCaption[kind] = new QLabel(ContributionCaption(kind), table);
    setTextColour(m_contributionCaption[kind], colour);
    tableLayout->addWidget(m_contributionCaption[kind]);
    m_contributions[kind] = new FlexGrid(table);
    m_contributions[kind]->setFixedCols(0);
    m_contributions[kind]->setCols(ContributionColumns);
    for (int c = 0; c < ContributionColumns; ++c)
        m_contributions[kind]->setColWidth(c, ContributionColumnWidths[c]);
    tableLayout->addWidget(m_contributions[kind], 1);
    inner->addTab(table, captions[2]);

    layout->addWidget(inner, 1);
    return page;
}

QWidget* frmOutput::buildChartPage(int chart, const QString& xCaption, const QString& yCaption)
{
    ChartControls& k = m_charts[chart];
    k.number = chart;

    auto* page = new QWidget();
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    k.chart = new ctlChart(page);
    k.chart->setMinimumSize(300, 240);
    auto* chartColumn = new QVBoxLayout();
    chartColumn->addWidget(k.chart, 1);
    if (chart % 2 == 1) {
        k.verdict = new QLabel(page);
        k.verdict->setWordWrap(true);
        k.verdict->setTextInteractionFlags(Qt::TextSelectableByMouse);
        k.verdict->hide();
        chartColumn->addWidget(k.verdict);
    }
    layout->addLayout(chartColumn, 1);

    auto* panel = new QVBoxLayout();
    AxisFrameControls x, y;
    panel->addWidget(MakeAxisFrame(page, QStringLiteral("Ось ОХ"), xCaption, x));
    panel->addWidget(MakeAxisFrame(page, QStringLiteral("Ось ОУ"), yCaption, y));
    k.xFrom = x.from;
    k.xTo = x.to;
    k.xDivisions = x.divisions;
    k.xLog = x.logarithmic;
    k.xLinear = x.linear;
    k.yFrom = y.from;
    k.yTo = y.to;
    k.yDivisions = y.divisions;
    k.yLog = y.logarithmic;
    k.yLinear = y.linear;
    k.build = new QPushButton(QStringLiteral("Построить"), page);
    k.toWord = new QPushButton(QStringLiteral("Вывод графика в MWord"), page);
    panel->addSpacing(6);
    panel->addWidget(k.build);
    panel->addWidget(k.toWord);
    panel->addStretch(1);
    auto* panelWidget = new QWidget(page);
    panelWidget->setLayout(panel);
    panelWidget->setFixedWidth(TwipsToPixelsX(3900));
    panel->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(panelWidget);
    return page;
}

void ApplyChartDesign(ctlChart& chart, int number)
{
    const ChartDesign& d = kDesign[size_t(qBound(1, number, 10))];
    chart.setTitlex(S(d.titleX));
    chart.setTitley(S(d.titleY));
    chart.setFormatx(S(d.formatX));
    chart.setFormaty(QStringLiteral("0.00E-00"));
    chart.setMinx(1);
    chart.setMaxx(8);
    chart.setAxistypex(d.logX ? 1 : 0);
    chart.setAxistypey(d.logY ? 1 : 0);
    chart.setChartbackcolor(Qt::white);
    chart.setBulletwidth(2);
    chart.setAutoscalex(false);
    chart.setAutoscaley(false);
    chart.setAxistitlecolor(rgb(d.colour));
    if (d.curveColour >= 0)
        chart.setCurvecolor(rgb(unsigned(d.curveColour)));
}

std::pair<QString, QString> ChartAxisCaptions(int number)
{
    const ChartDesign& d = kDesign[size_t(qBound(1, number, 10))];
    return {S(d.captionX), S(d.captionY)};
}

void frmOutput::applyDesignSettings()
{
    for (int c = 1; c <= 10; ++c) {
        const ChartDesign& d = kDesign[c];
        const ChartControls& k = m_charts[c];
        ctlChart* chart = k.chart;
        ApplyChartDesign(*chart, c);
        chart->Redraw();

        k.xDivisions->setText(QStringLiteral("10"));
        k.yDivisions->setText(QStringLiteral("10"));
        // The options show the axis types the chart is drawn with until the user changes them.
        (d.logX ? k.xLog : k.xLinear)->setChecked(true);
        (d.logY ? k.yLog : k.yLinear)->setChecked(true);
    }
}

void frmOutput::ShowBuild(const BuildResult& result)
{
    m_build = result;
    m_people = PeopleAtRisk;
    for (int kind : ProcessingOrder) {
        const KindResult& r = result.kinds[kind];
        if (r.ran)
            showKind(r);
        const int page = KindInfoOf(kind).outerPage;
        SSTab2->setTabEnabled(page, result.pageAvailable[page]);
    }

    for (QTabWidget* inner : m_innerTabs)
        inner->setCurrentIndex(0);
    // The fatalities page when it has data; otherwise a greyed page would open with an earlier build's content.
    int first = 0;
    while (first < SSTab2->count() && !SSTab2->isTabEnabled(first))
        ++first;
    SSTab2->setCurrentIndex(first < SSTab2->count() ? first : 0);
}

void frmOutput::showCriteria(const KindResult& r)
{
    const ChartControls& k = m_charts[KindInfoOf(r.kind).stepChart];
    QVector<ctlChart::Overlay> overlays;
    QStringList sentences;
    for (const KindCriterion& c : r.criteria) {
        overlays.append({c.line.name, rgb(c.line.colour), c.curve});
        sentences << c.sentence;
    }
    k.chart->setOverlays(overlays);
    k.verdict->setText(sentences.join(QLatin1Char('\n')));
    k.verdict->setVisible(!sentences.isEmpty());
    if (QLabel* limit = m_limit[r.kind]) {
        limit->setText(r.limitText);
        limit->setVisible(!r.limitText.isEmpty());
    }
}

void frmOutput::criteriaChanged()
{
    try {
        Connection c;
        JudgeCriteria(c, CurrentObjectId, m_build, m_build.peopleValue);
    } catch (const DbError& e) {
        ShowDbError(e.message);
        return;
    }
    for (int kind : ProcessingOrder) {
        const KindResult& r = m_build.kinds[kind];
        if (!r.ran)
            continue;
        showCriteria(r);
        RebuildIntegralChart(KindInfoOf(kind).stepChart);
    }
}

void frmOutput::mnuKriterii_Click()
{
    frmKriterii* f = forms().get<frmKriterii>();
    QPointer<frmOutput> self(this);
    f->onSaved = [self] {
        if (self)
            self->criteriaChanged();
    };
    f->Show(true);
}

void frmOutput::mnuSravnenie_Click()
{
    forms().get<frmSravnenie>()->Show();
}

void frmOutput::showContributions(const KindResult& r)
{
    FlexGrid* grid = m_contributions[r.kind];
    const auto texts = ContributionTexts(r.contributions, r.kind);
    grid->setUpdatesEnabled(false);
    grid->Clear();
    grid->setRows(int(texts.size()));
    for (int row = 0; row < int(texts.size()); ++row)
        for (int c = 0; c < ContributionColumns; ++c)
            grid->setTextMatrix(row, c, texts[row][size_t(c)]);
    grid->setRowHeight(0, 500); // the headers take two lines
    grid->setUpdatesEnabled(true);
}

void frmOutput::showKind(const KindResult& r)
{
    const KindInfo info = KindInfoOf(r.kind);
    showCriteria(r);
    showContributions(r);
    const auto draw = [](const ChartControls& k, const ChartPlan& plan, const AxisTexts& boxes) {
        ReplayChartPlan(plan, *k.chart);
        k.xFrom->setText(boxes.minX);
        k.xTo->setText(boxes.maxX);
        k.yFrom->setText(boxes.minY);
        k.yTo->setText(boxes.maxY);
    };
    draw(m_charts[info.stepChart], r.stepPlan, r.stepBoxes);
    draw(m_charts[info.polygonChart], r.polygonPlan, r.polygonBoxes);

    FlexGrid* grid = m_grids[r.kind];
    const ResultTable& table = r.table;
    grid->setUpdatesEnabled(false);
    grid->Clear();
    grid->setRows(table.rowCount());
    grid->setCols(ResultTable::Columns);
    for (int c = 0; c < ResultTable::Columns; ++c)
        grid->setColWidth(c, table.columnWidths[c]);
    for (int row = 0; row < table.rowCount(); ++row) {
        for (int c = 0; c < ResultTable::Columns; ++c)
            grid->setTextMatrix(row, c, table.text(row, c));
    }
    // The heights the table asks for, grown where this font needs more lines: no header or name list is cut off.
    const int standard = grid->defaultRowHeightTwips();
    for (int row = 0; row < table.rowCount(); ++row)
        grid->setRowHeight(row, row == 0 ? table.headerHeight : qMax(standard, table.rowHeight(row)));
    grid->growRowsToTexts(0);
    grid->setUpdatesEnabled(true);

    m_collective[r.kind]->setText(r.collectiveText);
    if (QLabel* individual = m_individual[r.kind])
        individual->setText(r.individualText);
}

void frmOutput::RebuildIntegralChart(int chart)
{
    redraw(chart, false);
}

void frmOutput::RebuildPolygonChart(int chart)
{
    redraw(chart, true);
}

void frmOutput::redraw(int chart, bool polygon)
{
    // A click that arrives while the previous drawing lets the window repaint would interleave two drawings.
    if (m_redrawing || chart < 1 || chart > 10)
        return;
    const ChartControls& k = m_charts[chart];
    const AxisEntry x{k.xFrom->text(), k.xTo->text(), k.xDivisions->text(), k.xLog->isChecked()};
    const AxisEntry y{k.yFrom->text(), k.yTo->text(), k.yDivisions->text(), k.yLog->isChecked()};
    const QVector<QPointF> points = StoredChartPoints(chart);
    const ChartRedraw r = polygon ? PlanPolygonRedraw(chart, x, y, points) : PlanIntegralRedraw(chart, x, y, points);
    if (!r.ok) {
        MsgBox(r.message.text, r.message.title, MsgIcon::Exclamation, MsgButtons::OK);
        return;
    }
    QPointer<frmOutput> self(this);
    m_redrawing = true;
    k.chart->setAxistypex(r.axisTypeX);
    k.chart->setAxistypey(r.axisTypeY);
    ReplayChartPlan(r.plan, *k.chart);
    if (self)
        m_redrawing = false;
}

void frmOutput::mnuReturn_Click()
{
    Unload();
    forms().get<frmInput>()->Show();
}

void frmOutput::mnuExit_Click()
{
    CloseAllWindows();
}

void frmOutput::closeEvent(QCloseEvent* e)
{
    e->ignore();
    if (!isUnloaded())
        mnuReturn_Click();
}

} // namespace zarnel

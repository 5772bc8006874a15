#pragma once
// The results window "Результаты построения": per consequence kind an outer page with the F/n (F/G) chart,
// the distribution polygon and the result table with the risk indicators. The diagram build fills it and shows
// it; the window itself only redraws a chart with the bounds, divisions and axis types the user types.
//
// The chart export buttons (Command7, Command1, ...) and mnuWord are left unconnected here: the report wires them.

#include "components/FlexGrid.h"
#include "components/Form.h"
#include "components/ctlChart.h"
#include "risk/Build.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <array>
#include <utility>

namespace zarnel {

// The design-time look of chart number 1..10 (titles, formats, axes at start, colours), for any chart that shows
// the same quantity.
void ApplyChartDesign(ctlChart& chart, int number);
// The captions under its "Ось ОХ" and "Ось ОУ" frames.
std::pair<QString, QString> ChartAxisCaptions(int number);

class frmOutput : public Form {
    Q_OBJECT
public:
    frmOutput();

    // Everything that belongs to one chart number 1..10.
    struct ChartControls {
        int number = 0;
        ctlChart* chart = nullptr;
        QLineEdit* xFrom = nullptr;
        QLineEdit* xTo = nullptr;
        QLineEdit* xDivisions = nullptr;
        QRadioButton* xLog = nullptr;
        QRadioButton* xLinear = nullptr;
        QLineEdit* yFrom = nullptr;
        QLineEdit* yTo = nullptr;
        QLineEdit* yDivisions = nullptr;
        QRadioButton* yLog = nullptr;
        QRadioButton* yLinear = nullptr;
        QPushButton* build = nullptr;  // "Построить"
        QPushButton* toWord = nullptr; // "Вывод графика в MWord"
        QLabel* verdict = nullptr;     // step charts: one sentence per criterion line, hidden when there is none
    };
    const ChartControls& chartControls(int chart) const { return m_charts[chart]; }

    // Per kind code.
    FlexGrid* resultGrid(int kind) const { return m_grids[kind]; }
    QLabel* collectiveLabel(int kind) const { return m_collective[kind]; }
    QLabel* individualLabel(int kind) const { return m_individual[kind]; } // nullptr for damage
    QTabWidget* innerTabs(int kind) const { return m_innerTabs[kind]; }
    // What follows the individual risk when the object has a limit for the kind; hidden otherwise.
    QLabel* limitLabel(int kind) const { return m_limit[kind]; }
    // The scenarios' contributions to the kind's collective risk (expected damage), under their caption.
    FlexGrid* contributionGrid(int kind) const { return m_contributions[kind]; }
    QLabel* contributionCaption(int kind) const { return m_contributionCaption[kind]; }

    // Fills the pages of the kinds that ran, switches the pages on or off and opens every strip on its first
    // tab (the outer one on the first page that is on). Kinds that did not run keep what they show.
    void ShowBuild(const BuildResult& result);
    // The build the window shows, and the number of people at risk it divided by.
    const BuildResult& shownBuild() const { return m_build; }
    double shownPeople() const { return m_people; }

    QAction* mnuReturn;
    QAction* mnuWord;
    QAction* mnuKriterii; // "Критерии приемлемости..."
    QAction* mnuExcel; // "Экспорт результатов в Excel...": the numbers of the build shown
    QAction* mnuSravnenie; // "Сравнение вариантов..."
    QAction* mnuExit;
    QMenu* mnuParametry; // "Параметры"
    QAction* mnuPodpisi; // "Номера подписей вручную": captions "Таблица ___ - ", kept in the program folder

    QTabWidget* SSTab2; // page per kind: fatalities, severe, light, sanitary, damage
    QTabWidget* SSTab1;
    QTabWidget* SSTab3;
    QTabWidget* SSTab4;
    QTabWidget* SSTab5;
    QTabWidget* SSTab1_ush;

    ctlChart* ctlChart1;
    ctlChart* ctlChart2;
    ctlChart* ctlChart3;
    ctlChart* ctlChart5;
    ctlChart* ctlChart6;
    ctlChart* ctlChart12;
    ctlChart* ctlChart9;
    ctlChart* ctlChart13;
    ctlChart* ctlChart1_ush;
    ctlChart* ctlChart2_ush;

    FlexGrid* tabPokaz;
    FlexGrid* tabPokaz_m;
    FlexGrid* tabPokaz_m1;
    FlexGrid* tabPokaz_m2; // sanitary losses here (damage on the indicator window)
    FlexGrid* tabPokaz_ush;

    QLabel* K_Sm_por;
    QLabel* I_Sm_por;
    QLabel* K_T_por;
    QLabel* I_T_por;
    QLabel* K_L_por;
    QLabel* I_L_por;
    QLabel* K_San_por;
    QLabel* I_San_por;
    QLabel* K_Ush;

    // Chart 1
    QLineEdit *OX1, *OX2, *nOX, *OY1, *OY2, *nOY;
    QRadioButton *Option7, *Option8, *Option6, *Option5;
    QPushButton *Command8, *Command7;
    // Chart 2
    QLineEdit *OX1_mn, *OX2_mn, *nOX_mn, *OY1_mn, *OY2_mn, *nOY_mn;
    QRadioButton *Option3, *Option4, *Option2, *Option1;
    QPushButton *Command2, *Command1;
    // Chart 3
    QLineEdit *OX1t, *OX2t, *nOXt, *OY1t, *OY2t, *nOYt;
    QRadioButton *Option11, *Option12, *Option10, *Option9;
    QPushButton *Command4, *Command3;
    // Chart 4
    QLineEdit *OX1t_mn, *OX2t_mn, *nOXt_mn, *OY1t_mn, *OY2t_mn, *nOYt_mn;
    QRadioButton *Option14, *Option13, *Option15, *Option16;
    QPushButton *Command5, *Command6;
    // Chart 5
    QLineEdit *OX1l, *OX2l, *nOXl, *OY1l, *OY2l, *nOYl;
    QRadioButton *Option18, *Option17, *Option19, *Option20;
    QPushButton *Command9, *Command10;
    // Chart 6
    QLineEdit *OX1l_mn, *OX2l_mn, *nOXl_mn, *OY1l_mn, *OY2l_mn, *nOYl_mn;
    QRadioButton *Option23, *Option24, *Option22, *Option21;
    QPushButton *Command12, *Command11;
    // Chart 7
    QLineEdit *OX1s, *OX2s, *nOXs, *OY1s, *OY2s, *nOYs;
    QRadioButton *Option27, *Option28, *Option26, *Option25;
    QPushButton *Command14, *Command13;
    // Chart 8
    QLineEdit *OX1s_mn, *OX2s_mn, *nOXs_mn, *OY1s_mn, *OY2s_mn, *nOYs_mn;
    QRadioButton *Option30, *Option29, *Option31, *Option32;
    QPushButton *Command15, *Command16;
    // Chart 9
    QLineEdit *OX1u, *OX2u, *nOXu, *OY1u, *OY2u, *nOYu;
    QRadioButton *Option34, *Option33, *Option35, *Option36;
    QPushButton *Command17, *Command18;
    // Chart 10
    QLineEdit *OX1u_mn, *OX2u_mn, *nOXu_mn, *OY1u_mn, *OY2u_mn, *nOYu_mn;
    QRadioButton *Option39, *Option40, *Option38, *Option37;
    QPushButton *Command20, *Command19;

public Q_SLOTS:
    void Command8_Click() { RebuildIntegralChart(1); }
    void Command2_Click() { RebuildPolygonChart(2); }
    void Command4_Click() { RebuildIntegralChart(3); }
    void Command5_Click() { RebuildPolygonChart(4); }
    void Command9_Click() { RebuildIntegralChart(5); }
    void Command12_Click() { RebuildPolygonChart(6); }
    void Command14_Click() { RebuildIntegralChart(7); }
    void Command15_Click() { RebuildPolygonChart(8); }
    void Command17_Click() { RebuildIntegralChart(9); }
    void Command20_Click() { RebuildPolygonChart(10); }
    void mnuReturn_Click();
    void mnuExit_Click();
    void mnuKriterii_Click();
    void mnuSravnenie_Click();

public:
    // "Построить" of chart c with its own boxes and options.
    void RebuildIntegralChart(int chart);
    void RebuildPolygonChart(int chart);

protected:
    // The title bar's close button goes back like "<<Назад": closing only this window would leave the program
    // running with no window shown.
    void closeEvent(QCloseEvent* e) override;

private:
    QWidget* buildKindPage(int kind, const std::array<QString, 3>& captions, const QString& collectiveCaption,
                           const QString& individualCaption);
    QWidget* buildChartPage(int chart, const QString& xCaption, const QString& yCaption);
    void applyDesignSettings();
    void showKind(const KindResult& r);
    // The kind's criterion lines on its step chart, their sentences and the limit text.
    void showCriteria(const KindResult& r);
    void showContributions(const KindResult& r);
    // Judges the last build again with the object's choice and shows it (after the criteria window saved).
    void criteriaChanged();
    void redraw(int chart, bool polygon);

    BuildResult m_build;
    double m_people = 0;
    std::array<ChartControls, 11> m_charts{};
    std::array<FlexGrid*, 5> m_grids{};
    std::array<QLabel*, 5> m_collective{};
    std::array<QLabel*, 5> m_individual{};
    std::array<QTabWidget*, 5> m_innerTabs{};
    std::array<QLabel*, 5> m_limit{};
    std::array<FlexGrid*, 5> m_contributions{};
    std::array<QLabel*, 5> m_contributionCaption{};
    bool m_redrawing = false;
};

} // namespace zarnel

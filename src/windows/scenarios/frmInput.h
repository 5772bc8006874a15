#pragma once
// The indicator detail window: per consequence kind (page 0 fatalities, 1 severe injuries, 2 light injuries,
// 3 damage) the scenarios that have the kind, a look-up panel to add or change one scenario's indicator,
// clearing, sorting, the number of people at risk and the start of the diagram build. Sanitary losses
// (kind 4) are not shown; every change of kinds 1 and 2 keeps them equal to severe + light.

#include "components/ElidedLabel.h"
#include "components/FlexGrid.h"
#include "components/Form.h"
#include "core/ScenarioStore.h"
#include "windows/scenarios/FillIndicatorGrids.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <array>
#include <optional>

namespace zarnel {

class frmInput : public Form {
    Q_OBJECT
public:
    frmInput();

    QLabel* Label24;
    ElidedLabel* Label23; // the object's name
    QLabel* Label16;
    QTabWidget* SSTab1; // page index = kind

    FlexGrid* tabPokaz;     // fatalities
    FlexGrid* tabPokaz_m;   // severe injuries
    FlexGrid* tabPokaz_m1;  // light injuries
    FlexGrid* tabPokaz_m2;  // damage
    QPushButton* Command8;  // "Обнулить", kind 0
    QPushButton* Command3;  // kind 1
    QPushButton* Command4;  // kind 2
    QPushButton* Command13; // kind 3

    QComboBox* Comb1; // classification numbers, kind 0 .. Comb4 kind 3
    QComboBox* Comb2;
    QComboBox* Comb3;
    QComboBox* Comb4;
    QLabel* Lab1; // scenario title, kind 0 .. Lab4 kind 3
    QLabel* Lab2;
    QLabel* Lab3;
    QLabel* Lab4;
    QComboBox* Combo1; // number of people, kinds 0..2
    QComboBox* Combo2;
    QComboBox* Combo3;
    QLineEdit* Usherb;      // damage, million roubles
    QPushButton* Command11; // "Добавить"/"Изменить", kind 0
    QPushButton* Command5;  // kind 1
    QPushButton* Command7;  // kind 2
    QPushButton* Command12; // kind 3

    QLabel* Label19;
    QLineEdit* People;
    QPushButton* Command1; // "ПОСТРОИТЬ ДИАГРАММЫ"

    QAction* mnuReturn;
    QMenu* mnuTake;
    QAction* mnuEnter_Sc;
    QAction* mnuDelete;
    QMenu* mnuUpor;
    QAction* mnuUpor1;
    QAction* mnuUpor2;
    QAction* mnuUpor3;
    QAction* mnuUpor4;
    QAction* mnuUpor5;
    QAction* mnuUpor6;
    QAction* mnuKriterii; // "Критерии приемлемости...", after the sort submenu
    QAction* mnuExit;

    // The order of each kind's grid; starts from InitialSortPair() at every load.
    std::array<SortPair, 4> SortPairs;
    // Each grid's rows as shown, and the indicator each look-up panel showed (its scenario's key with it):
    // a change checks that nobody else changed them since.
    std::array<QVector<IndicatorGridRow>, 4> ShownRows;
    struct PanelShown {
        qint16 scenarioId = 0;
        ShownIndicator indicator;
    };
    std::array<std::optional<PanelShown>, 4> PanelsShown;

    // Controls of kind 0..3.
    FlexGrid* grid(int kind) const { return m_grids[kind]; }
    QPushButton* clearButton(int kind) const { return m_clearButtons[kind]; }
    QComboBox* scenarioCombo(int kind) const { return m_scenarioCombos[kind]; }
    QLabel* titleLabel(int kind) const { return m_titleLabels[kind]; }
    QPushButton* commitButton(int kind) const { return m_commitButtons[kind]; }
    QLabel* noIndicatorsLabel(int kind) const { return m_noIndicators[kind]; }
    QWidget* valueControl(int kind) const;
    QString valueText(int kind) const;
    void setValueText(int kind, const QString& text);

    // Fills the grids with the kinds' current orders; only the kinds whose flag is set.
    void refillGrids(bool k0, bool k1, bool k2, bool k3);

public Q_SLOTS:
    void Comb1_Click() { lookUp(0); }
    void Comb2_Click() { lookUp(1); }
    void Comb3_Click() { lookUp(2); }
    void Comb4_Click() { lookUp(3); }
    void Command8_Click() { clearOne(0); }
    void Command3_Click() { clearOne(1); }
    void Command4_Click() { clearOne(2); }
    void Command13_Click() { clearOne(3); }
    void Command11_Click() { commit(0); }
    void Command5_Click() { commit(1); }
    void Command7_Click() { commit(2); }
    void Command12_Click() { commit(3); }
    void tabPokaz_Click() { gridClick(0); }
    void tabPokaz_m_Click() { gridClick(1); }
    void tabPokaz_m1_Click() { gridClick(2); }
    void tabPokaz_m2_Click() { gridClick(3); }
    void mnuDelete_Click();
    void mnuUpor1_Click();
    void mnuUpor2_Click();
    void mnuUpor3_Click();
    void mnuUpor4_Click();
    void mnuUpor5_Click();
    void mnuUpor6_Click();
    void mnuEnter_Sc_Click();
    void mnuReturn_Click();
    void mnuExit_Click();
    void Command1_Click();

protected:
    void Form_Load() override;
    void Form_Activate() override;

private:
    void buildPage(int kind, const QString& valueCaption, QWidget* valueControl);
    void loadAll();
    bool reloadScenarioLists(); // false after a reported database error
    void lookUp(int kind);
    void clearOne(int kind);
    void commit(int kind);
    void gridClick(int kind);
    void sortSelectedPage(const SortPair& pair);
    // After a change refused because someone else changed or deleted the data: everything read again.
    void reloadAfterConflict(const DbError& e);

    std::array<FlexGrid*, 4> m_grids{};
    std::array<QPushButton*, 4> m_clearButtons{};
    std::array<QComboBox*, 4> m_scenarioCombos{};
    std::array<QLabel*, 4> m_titleLabels{};
    std::array<QPushButton*, 4> m_commitButtons{};
    std::array<QLabel*, 4> m_noIndicators{};
    std::array<QComboBox*, 3> m_peopleCombos{};

    // True when the stored name or people of the current object differ from what the window was filled with.
    bool objectChanged();

    // The object the window was filled for, as stored then; the People box may have been edited since.
    struct LoadedObject {
        QString name;
        QString people;
    };
    LoadedObject m_object;
    qint16 m_objectId = 0;
    bool m_backFromEditor = false; // hidden by "Добавить сценарий": the editor may change scenarios meanwhile
    bool m_building = false;
};

} // namespace zarnel

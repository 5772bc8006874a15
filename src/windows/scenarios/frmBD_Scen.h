#pragma once
// Scenario editor: the current object's scenarios in a list, and an entry frame below it for a new or
// changed scenario (frequency as mantissa × 10^-exponent, up to four consequence kinds).

#include "components/ElidedLabel.h"
#include "components/FlexGrid.h"
#include "components/Form.h"
#include "components/UpDown.h"
#include "core/ScenarioStore.h"

#include <QAction>
#include <QCheckBox>
#include <QHash>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <optional>

namespace zarnel {

// A stored frequency as the entry boxes show it: mantissa text ("2,500") and exponent text ("3").
struct FrequencyText {
    QString mantissa;
    QString exponent;
};
FrequencyText SplitFrequency(double frequency);

class frmBD_Scen : public Form {
    Q_OBJECT
public:
    static constexpr int kListHeight = 6480;   // twips
    static constexpr int kEntryHeight = 10200; // twips

    frmBD_Scen();

    QLabel* Label3;
    ElidedLabel* Label5; // the object's name

    QGroupBox* Frame2;
    FlexGrid* Tabl_Name;
    QLabel* Label2;
    QLabel* Label4;
    QPushButton* Command3;
    QPushButton* Command5;
    QPushButton* Command2;
    QPushButton* Command7;
    QPushButton* Command6;

    QGroupBox* Frame1;
    std::array<QLabel*, 3> Label1;
    QLineEdit* Name_Object;
    QLineEdit* Name_scen;
    QLineEdit* koef;
    UpDown* UpDown1;
    QLabel* Label17;
    QLineEdit* Step;
    UpDown* UpDown3;
    QGroupBox* Frame3;
    QCheckBox* Check1;
    QComboBox* Combo1;
    QCheckBox* Check2;
    QComboBox* Combo2;
    QCheckBox* Check3;
    QComboBox* Combo3;
    QCheckBox* Check4;
    QGroupBox* Frame4;
    QLineEdit* Usherb;
    QRadioButton* Option1;
    QRadioButton* Option2;
    QLabel* Label6;
    QPushButton* Command1;
    QPushButton* Command4;

    QAction* mnuPred;
    QAction* mnuBuild;
    QAction* mnuNext;
    QMenu* mnuExchange; // "Обмен": import, paste (Ctrl+V in the list), export
    QAction* mnuImport;
    QAction* mnuPaste;
    QAction* mnuExport;

public Q_SLOTS:
    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    void Check4_Click();
    void Option1_Click();
    void Option2_Click();
    void Label6_Click();
    void Name_Object_Change();
    void Tabl_Name_Click();
    void Tabl_Name_DblClick();
    void UpDown1_UpClick();
    void UpDown1_DownClick();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void mnuPred_Click();
    void mnuBuild_Click();
    void mnuNext_Click();

public:
    // The scenarios as the list shows them, by key, and the one "Изменить" read: a delete or a save checks that
    // nobody else changed them since.
    QHash<qint16, ScenarioSnapshot> ListedScenarios;
    std::optional<ScenarioSnapshot> EditedAsRead;

protected:
    void Form_Activate() override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void showDamageNote();
    void enterEntryState();
    void leaveEntryState();
    void stepMantissa(int direction);
    bool commitEntry();
    // After a save refused because someone else changed or deleted the scenario or the object.
    void reloadAfterConflict(DbFailure cause);
    void refillList();
    std::array<QComboBox*, 3> peopleCombos() const { return {Combo1, Combo2, Combo3}; }
};

} // namespace zarnel

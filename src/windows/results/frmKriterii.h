#pragma once
// The window "Критерии приемлемости": the criterion lines of societal risk (built-in ones read-only, the user's
// own to add, change and delete), which of them the current object shows on its F/n (F/G) charts, and the
// limits of individual risk per people kind.

#include "components/ElidedLabel.h"
#include "components/Form.h"
#include "core/CriteriaStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTableWidget>
#include <array>
#include <functional>

namespace zarnel {

class frmKriterii : public Form {
    Q_OBJECT
public:
    frmKriterii();

    QLabel* Label1;             // no Russian norm of societal risk is published
    ElidedLabel* Label2;        // the object
    QTableWidget* tabKrit;      // columns: shown, name, line, kinds, source
    QGroupBox* Frame1;          // the line being entered
    QLineEdit* Name_krit;
    QLineEdit* C_krit;
    QLineEdit* Alpha_krit;
    QLineEdit* N1_krit;
    QLineEdit* N2_krit;
    std::array<QCheckBox*, 5> Kind_krit{}; // by kind code
    QComboBox* Colour_krit;
    QLineEdit* Source_krit;
    QPushButton* Command1; // "Новый"
    QPushButton* Command2; // "ВВЕСТИ"
    QPushButton* Command3; // "Удалить"
    QGroupBox* Frame2;     // individual risk limits
    std::array<QCheckBox*, 5> Limit_chk{};   // by kind code; none for damage
    std::array<QLineEdit*, 5> Limit_value{};
    std::array<QLineEdit*, 5> Limit_source{};
    QPushButton* Command4; // "СОХРАНИТЬ"
    QPushButton* Command5; // "Закрыть"

    // Called after the object's choice was saved (the results window redraws its charts).
    std::function<void()> onSaved;

    // The row of a line in tabKrit, or -1.
    int rowOf(const QString& name) const;
    void setShown(const QString& name, bool shown);

public Q_SLOTS:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void tabKrit_CurrentChanged();

protected:
    void Form_Load() override;

private:
    void reloadLines(const QString& select = {});
    void showLine(const CriterionLine& l);
    CriterionLine typedLine() const;
    QStringList shownNames() const;

    QVector<CriterionLine> m_lines; // as listed
    QString m_editing;              // name of the user's line in the frame; empty for a new one
};

// "F = 1,000E-03 / N^2, N ≥ 10" and the like.
QString CriterionFormula(const CriterionLine& l);
// "смертельные поражения, санитарные потери".
QString CriterionKinds(const CriterionLine& l);

} // namespace zarnel

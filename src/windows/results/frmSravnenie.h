#pragma once
// The window "Сравнение вариантов": two to six objects of the database, ticked in the order of comparison (the
// first is the base variant), and one kind; their F/n (F/G) curves on one chart in their own colours with the
// criterion lines the first object shows, the axis boxes and "Построить" of the results charts, and a table of
// the risk numbers per object.

#include "components/FlexGrid.h"
#include "components/Form.h"
#include "components/ctlChart.h"
#include "risk/Comparison.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace zarnel {

class frmSravnenie : public Form {
    Q_OBJECT
public:
    frmSravnenie();

    QListWidget* lstObjekt; // every object of the database; checked ones are compared
    QComboBox* cboVid;      // the kind; item data is the kind code
    QPushButton* Command1;  // "Сравнить"
    ctlChart* ctlChart1;
    QLineEdit *OX1, *OX2, *nOX, *OY1, *OY2, *nOY;
    QRadioButton *OptionXLog, *OptionXLin, *OptionYLog, *OptionYLin;
    QLabel *CaptionX, *CaptionY;
    QPushButton* Command2; // "Построить"
    QPushButton* Command3; // "Вывод графика в MWord"
    FlexGrid* tabSrav;

    // Keys of the checked objects in the order they were checked.
    const QVector<qint16>& chosen() const { return m_order; }
    // Checks the object of this name (as the user would); false when the list has none.
    bool choose(const QString& name);
    void setKind(int kind);

    // Shows a comparison: chart, boxes, lines and table. The command line uses it on a window never shown.
    void ShowComparison(const Comparison& comparison);
    const Comparison& comparison() const { return m_cmp; }

public Q_SLOTS:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

protected:
    void Form_Load() override;

private:
    void itemChanged(QListWidgetItem* item);
    void numberItems();

    QVector<qint16> m_order;
    Comparison m_cmp;
};

// The figure caption of a comparison chart: the kind's F/n (F/G) caption and the objects compared.
QString ComparisonCaption(const Comparison& comparison);

} // namespace zarnel

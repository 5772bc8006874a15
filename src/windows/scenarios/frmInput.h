#pragma once
// Placeholder window; replaced by the real one. The diagram build reads People and whether each of the
// four indicator grids is shown (!grid->isHidden()).

#include "components/FlexGrid.h"
#include "components/Form.h"

#include <QLineEdit>
#include <QPushButton>

namespace zarnel {

class frmInput : public Form {
    Q_OBJECT
public:
    frmInput()
    {
        setWindowTitle(QStringLiteral("Исходные данные для F/n и F/g диаграмм"));
        People = new QLineEdit(this);
        tabPokaz = new FlexGrid(this);
        tabPokaz_m = new FlexGrid(this);
        tabPokaz_m1 = new FlexGrid(this);
        tabPokaz_m2 = new FlexGrid(this);
        Command1 = new QPushButton(QStringLiteral("ПОСТРОИТЬ ДИАГРАММЫ"), this);
    }
    QLineEdit* People;
    FlexGrid* tabPokaz;    // fatalities
    FlexGrid* tabPokaz_m;  // severe injuries
    FlexGrid* tabPokaz_m1; // light injuries
    FlexGrid* tabPokaz_m2; // damage
    QPushButton* Command1;
};

} // namespace zarnel

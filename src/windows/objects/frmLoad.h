#pragma once

#include "components/FlexGrid.h"
#include "components/Form.h"

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <optional>

namespace zarnel {

// Choosing what to work on: a new object named here, or a stored one from the list, which can also be
// changed, copied under another name or deleted with everything it owns.
class frmLoad : public Form {
    Q_OBJECT
public:
    frmLoad();

    // Window heights of the two modes, twips.
    static constexpr int kNewObjectHeight = 2150;
    static constexpr int kListHeight = 4900;

    QGroupBox* Frame1;
    QRadioButton* Option1; // "новый объект"
    QRadioButton* Option2; // "объекты из БД"
    QGroupBox* Frame3;
    QLineEdit* Name_obj;
    QPushButton* Command1; // "СОЗДАТЬ" / "ЗАГРУЗИТЬ"
    QGroupBox* Frame2;
    FlexGrid* Tabl_Name;
    QPushButton* Command4; // "Изменить"
    QPushButton* Command2; // "Сохранить как..."
    QPushButton* Command3; // "Удалить объект"
    QAction* mnuReturn;
    QAction* mnuExit;

    // Fills Tabl_Name from the database; false (after telling the user) when the database failed.
    bool FillObjectList();

public Q_SLOTS:
    void Option1_Click();
    void Option2_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Tabl_Name_Click();
    void Tabl_Name_DblClick();
    void mnuReturn_Click();
    void mnuExit_Click();

protected:
    void Form_Load() override;

private:
    void applyMode();
    void setRowCommandsEnabled(bool enabled);
    // Key of the grid's current row; nothing when the row holds no object.
    std::optional<qint16> currentKey() const;
    void openChosenObject(qint16 id);
};

} // namespace zarnel

#pragma once
// Preview of an import: the rows of a file or of pasted cells as they will be stored, refused rows marked with
// the reason. Every row is stored in one transaction, or none; classification numbers the object already has
// are replaced or skipped all at once.

#include "components/FlexGrid.h"
#include "components/Form.h"
#include "core/ScenarioExchange.h"

#include <QLabel>
#include <QPushButton>

namespace zarnel {

class frmImport : public Form {
    Q_OBJECT
public:
    frmImport();

    // Fills the window with a plan checked against the current object; source names the file or the clipboard.
    void Preview(const ImportPlan& plan, const QString& source);

    QLabel* Label1;       // the source
    FlexGrid* Tabl_Import; // the rows
    QLabel* Label2;       // what will happen
    QPushButton* Command1; // "Сохранить", or "заменить" when some numbers exist
    QPushButton* Command3; // "пропустить", only when some numbers exist
    QPushButton* Command2; // "Отмена" / "отменить"

public Q_SLOTS:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

private:
    void store(bool replaceExisting);
    ImportPlan m_plan;
};

} // namespace zarnel

#pragma once

#include "components/Form.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zarnel {

// Asks for the name of an ODBC data source when the database cannot be reached.
class frmDataSourse : public Form {
    Q_OBJECT
public:
    frmDataSourse();

    QGroupBox* Frame1;
    QLabel* Label1;
    QLineEdit* txtDataSourse;
    QCheckBox* chkAlways; // "использовать всегда": the data source becomes the chosen one, kept in the program folder
    QPushButton* Command1; // "Подключение"
    QPushButton* Command2; // "Выход"

public Q_SLOTS:
    void Command1_Click();
    void Command2_Click();

protected:
    void Form_Load() override;
};

} // namespace zarnel

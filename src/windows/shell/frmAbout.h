#pragma once

#include "components/Form.h"

#include <QLabel>
#include <QPushButton>

namespace zarnel {

class frmAbout : public Form {
    Q_OBJECT
public:
    frmAbout();

    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* Description;
    QLabel* lblDataFolder;
    QLabel* Image1;
    QLabel* Image2;
    QPushButton* cmdOK;
    QPushButton* cmdSysInfo;

    // Programs tried, in order, as the system-information viewer.
    static QStringList SysInfoViewers();

public Q_SLOTS:
    void cmdOK_Click();
    void cmdSysInfo_Click();

protected:
    void Form_Load() override;
};

} // namespace zarnel

#pragma once

#include "components/Form.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

namespace zarnel {

// The title window: what the program is, the help documents, the about box, the way on.
class frmMain1 : public Form {
    Q_OBJECT
public:
    frmMain1();

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Image1;
    QLabel* Image2;
    QPushButton* Command1; // "Далее>>"

    QMenu* Help;
    QAction* mnuRuk_oper;
    QAction* mnuRuk_progr;
    QAction* mnuRuk_sys_progr;
    QMenu* mnuMetod;
    QAction* mnuRD;
    QAction* mnuSvid;
    QAction* Hel;
    QMenu* Exit;
    QAction* Ex;

    // The file a help item opens: program folder + caption + ".doc".
    static QString DocumentPath(const QString& caption);

public Q_SLOTS:
    void Command1_Click();
    void Hel_Click();
    void Ex_Click();
    void OpenDocument(const QString& path);
};

// Opens a help document with the desktop's application; when the ".doc" file is missing, the same name
// with ".docx", ".odt" or ".pdf" (also in the executable's folder) is tried before the user is told.
void OpenHelpDocument(const QString& docPath);

} // namespace zarnel

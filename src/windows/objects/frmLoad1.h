#pragma once

#include "components/Form.h"
#include "core/ObjectStore.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zarnel {

// An object name as a frame caption: '&' would otherwise be taken for an access key.
QString ObjectFrameCaption(const QString& name);

// Name and people at risk of an object. The caller tells the command: the caption "Сохранить как..."
// copies CurrentObjectId; otherwise CurrentObjectId 0 creates a new object and any other key changes it.
class frmLoad1 : public Form {
    Q_OBJECT
public:
    frmLoad1();

    QGroupBox* Frame4;
    QLabel* Label20;
    QLineEdit* Text1;
    QLabel* Label1;
    QLineEdit* People;
    QPushButton* Command5; // "СОХРАНИТЬ" / "Создать"
    QPushButton* Command6; // "ОТМЕНА"

    // The box texts when the window last became active; saving is offered only when they changed.
    QString InitialName;
    QString InitialPeople;
    // The object row as the list showed it when "Изменить" opened the window; a save checks it is still so.
    StoredObject AsRead;

    bool isCopy() const;

public Q_SLOTS:
    void Command5_Click();
    void Command6_Click();
    // Enables the save button when the boxes hold what the command needs.
    void UpdateSaveButton();

protected:
    void Form_Activate() override;
    void closeEvent(QCloseEvent* e) override;

private:
    // Back to the list after a change or a copy: a fresh frmLoad in list mode.
    void showFreshList();
    // After a refused change: the stored row becomes the one read, the typed texts stay.
    void reloadKeepingEntry();
};

} // namespace zarnel

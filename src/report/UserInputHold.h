#pragma once
// Holds back what the user types and clicks while a document is being made. The report lets the windows repaint
// between charts; without the hold a click there would redraw a chart half-way through the report, start a second
// report or close the window whose charts are being copied.

#include <QObject>

namespace zarnel {

class UserInputHold : public QObject {
public:
    UserInputHold();
    ~UserInputHold() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace zarnel

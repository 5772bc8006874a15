#pragma once
// Holds back what the user types and clicks while the program lets the windows repaint in the middle of its work
// (a build reading the database, a report copying charts): a click there would otherwise start a second build,
// redraw a chart half-way through a report or close the window whose charts are being copied.

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

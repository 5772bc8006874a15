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

    // While it lives, the user's input reaches this window and its children (a progress window's "Отмена").
    class Exemption {
    public:
        explicit Exemption(QObject* window);
        ~Exemption();
        Exemption(const Exemption&) = delete;
        Exemption& operator=(const Exemption&) = delete;

    private:
        QObject* m_window;
    };

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace zarnel

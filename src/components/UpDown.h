#pragma once
// An up-down control: two arrow buttons that step an integer Value between Min and Max by Increment and
// report each click (UpClick / DownClick), whether or not the value could move. With a buddy text box the
// value is taken from the box's text before each step and written back after it.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace zarnel {

class UpDown : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget* parent = nullptr);

    int Value() const { return m_value; }
    void setValue(int v);
    int Min() const { return m_min; }
    void setMin(int v);
    int Max() const { return m_max; }
    void setMax(int v);
    int Increment() const { return m_increment; }
    void setIncrement(int v) { m_increment = v; }

    QLineEdit* buddy() const { return m_buddy; }
    void setBuddy(QLineEdit* box) { m_buddy = box; }

    // What a user's click on the arrows does.
    void clickUp();
    void clickDown();

    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

Q_SIGNALS:
    void UpClick();
    void DownClick();
    void Change();

private:
    void step(int delta);
    void takeBuddyValue();

    QToolButton* m_up;
    QToolButton* m_down;
    QLineEdit* m_buddy = nullptr;
    int m_value = 0;
    int m_min = 0;
    int m_max = 10;
    int m_increment = 1;
};

} // namespace zarnel

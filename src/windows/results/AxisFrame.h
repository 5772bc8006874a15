#pragma once
// The axis frames beside a chart ("Ось ОХ", "Ось ОУ"): three boxes with "от", "до" and "число разбиений", the two
// scale options and the axis caption, shared by the results window and the comparison window.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace zarnel {

struct AxisFrameControls {
    QLineEdit* from = nullptr;
    QLineEdit* to = nullptr;
    QLineEdit* divisions = nullptr;
    QRadioButton* logarithmic = nullptr;
    QRadioButton* linear = nullptr;
    QLabel* caption = nullptr;
};

QGroupBox* MakeAxisFrame(QWidget* parent, const QString& title, const QString& caption, AxisFrameControls& out);

} // namespace zarnel

#include "windows/results/AxisFrame.h"

#include "components/Twips.h"

#include <QGridLayout>
#include <QLabel>

namespace zarnel {

QGroupBox* MakeAxisFrame(QWidget* parent, const QString& title, const QString& caption, AxisFrameControls& out)
{
    auto* box = new QGroupBox(title, parent);
    auto* grid = new QGridLayout(box);
    grid->setVerticalSpacing(4);
    const QStringList labels{QStringLiteral("от"), QStringLiteral("до"), QStringLiteral("число разбиений")};
    QLineEdit** edits[] = {&out.from, &out.to, &out.divisions};
    for (int row = 0; row < 3; ++row) {
        *edits[row] = new QLineEdit(box);
        (*edits[row])->setFixedWidth(TwipsToPixelsX(1300));
        grid->addWidget(*edits[row], row, 0);
        grid->addWidget(new QLabel(labels[row], box), row, 1);
    }
    out.linear = new QRadioButton(QStringLiteral("Линейная"), box);
    out.logarithmic = new QRadioButton(QStringLiteral("Логарифмическая"), box);
    grid->addWidget(out.linear, 3, 0, 1, 2);
    grid->addWidget(out.logarithmic, 4, 0, 1, 2);
    out.caption = new QLabel(caption, box);
    out.caption->setWordWrap(true);
    grid->addWidget(out.caption, 5, 0, 1, 2);
    return box;
}

} // namespace zarnel

#include "windows/results/WrappedTabWidget.h"

#include <QStyleOptionTab>
#include <QStylePainter>

namespace zarnel {

namespace {
constexpr int kPadX = 8;
constexpr int kPadY = 5;
constexpr int kTextFlags = Qt::AlignCenter | Qt::TextWordWrap;
} // namespace

WrappedTabBar::WrappedTabBar(QWidget* parent) : QTabBar(parent)
{
    setExpanding(true);
    setUsesScrollButtons(false);
    setElideMode(Qt::ElideNone);
    setDrawBase(false);
}

int WrappedTabBar::captionWidth() const
{
    // About forty characters a line: three tabs of long captions then fit a window a little over 1000 pixels wide.
    return fontMetrics().averageCharWidth() * 40;
}

QSize WrappedTabBar::tabSizeHint(int index) const
{
    const int width = captionWidth();
    const QRect text = fontMetrics().boundingRect(QRect(0, 0, width, 10000), kTextFlags, tabText(index));
    return {width + 2 * kPadX, text.height() + 2 * kPadY};
}

QSize WrappedTabBar::minimumTabSizeHint(int index) const
{
    return tabSizeHint(index);
}

void WrappedTabBar::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    // The selected tab last: styles let it overlap its neighbours.
    QList<int> order;
    for (int i = 0; i < count(); ++i) {
        if (i != currentIndex())
            order.append(i);
    }
    if (currentIndex() >= 0)
        order.append(currentIndex());

    for (int i : order) {
        QStyleOptionTab option;
        initStyleOption(&option, i);
        const QString caption = option.text;
        option.text.clear();
        painter.drawControl(QStyle::CE_TabBarTabShape, option);
        const QRect textRect = option.rect.adjusted(kPadX, kPadY, -kPadX, -kPadY);
        const QPalette::ColorGroup group = isTabEnabled(i) ? QPalette::Active : QPalette::Disabled;
        painter.setPen(palette().color(group, QPalette::WindowText));
        painter.drawText(textRect, kTextFlags, caption);
    }
}

WrappedTabWidget::WrappedTabWidget(QWidget* parent) : QTabWidget(parent)
{
    setTabBar(new WrappedTabBar(this));
}

} // namespace zarnel

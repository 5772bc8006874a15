#include "components/ElidedLabel.h"

#include <QPainter>
#include <QStyle>

namespace zarnel {

ElidedLabel::ElidedLabel(const QString& text, QWidget* parent)
    : QLabel(parent)
{
    setWordWrap(false);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setText(text);
}

void ElidedLabel::setText(const QString& text)
{
    QLabel::setText(text);
    setToolTip(text);
}

QString ElidedLabel::shownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

QSize ElidedLabel::sizeHint() const
{
    // The height of one line; the width is what the layout has left.
    return {fontMetrics().horizontalAdvance(QStringLiteral("…")), QLabel::minimumSizeHint().height()};
}

QSize ElidedLabel::minimumSizeHint() const
{
    return sizeHint();
}

void ElidedLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    style()->drawItemText(&p, contentsRect(), int(alignment()), palette(), isEnabled(), shownText(),
                          foregroundRole());
}

} // namespace zarnel

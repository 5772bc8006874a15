#include "components/UpDown.h"

#include "core/Formats.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace zarnel {

UpDown::UpDown(QWidget* parent) : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* b : {m_up, m_down}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
        b->setFixedSize(17, 12);
        layout->addWidget(b);
    }
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(m_up, &QToolButton::clicked, this, &UpDown::clickUp);
    connect(m_down, &QToolButton::clicked, this, &UpDown::clickDown);
}

void UpDown::setValue(int v)
{
    v = std::clamp(v, m_min, m_max);
    if (v == m_value)
        return;
    m_value = v;
    Q_EMIT Change();
}

void UpDown::setMin(int v)
{
    m_min = v;
    m_max = std::max(m_max, v);
    m_value = std::max(m_value, v);
}

void UpDown::setMax(int v)
{
    m_max = v;
    m_min = std::min(m_min, v);
    m_value = std::min(m_value, v);
}

void UpDown::clickUp()
{
    step(m_increment);
    Q_EMIT UpClick();
}

void UpDown::clickDown()
{
    step(-m_increment);
    Q_EMIT DownClick();
}

void UpDown::takeBuddyValue()
{
    // A box that does not hold a number leaves the value where it was.
    if (const auto typed = ToDouble(m_buddy->text()))
        m_value = std::clamp(int(std::clamp(RoundHalfEven(*typed), -1e9, 1e9)), m_min, m_max);
}

void UpDown::step(int delta)
{
    if (m_buddy)
        takeBuddyValue();
    setValue(m_value + delta);
    if (m_buddy)
        m_buddy->setText(QString::number(m_value));
}

} // namespace zarnel

#include "components/UserInputHold.h"

#include <QCoreApplication>
#include <QEvent>
#include <QList>

namespace zarnel {

namespace {

QList<QObject*> g_exempt;

bool isExempt(QObject* watched)
{
    for (QObject* o = watched; o; o = o->parent())
        if (g_exempt.contains(o))
            return true;
    return false;
}

} // namespace

UserInputHold::Exemption::Exemption(QObject* window)
    : m_window(window)
{
    g_exempt.append(window);
}

UserInputHold::Exemption::~Exemption()
{
    g_exempt.removeOne(m_window);
}

UserInputHold::UserInputHold()
{
    QCoreApplication::instance()->installEventFilter(this);
}

UserInputHold::~UserInputHold()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

bool UserInputHold::eventFilter(QObject* watched, QEvent* event)
{
    if (!g_exempt.isEmpty() && isExempt(watched))
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::Close:
        // Only what comes from the user; the program's own events pass.
        return event->spontaneous();
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
        return true;
    default:
        return false;
    }
}

} // namespace zarnel

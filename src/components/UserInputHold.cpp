#include "components/UserInputHold.h"

#include <QCoreApplication>
#include <QEvent>

namespace zarnel {

UserInputHold::UserInputHold()
{
    QCoreApplication::instance()->installEventFilter(this);
}

UserInputHold::~UserInputHold()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

bool UserInputHold::eventFilter(QObject*, QEvent* event)
{
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

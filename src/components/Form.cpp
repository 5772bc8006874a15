#include "components/Form.h"

#include "components/Twips.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QLayout>
#include <QTimer>

namespace zarnel {

Form::Form(QWidget* parent)
    : QMainWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void Form::Show(bool modal)
{
    if (m_unloaded)
        return;
    const Qt::WindowModality wanted = modal ? Qt::ApplicationModal : Qt::NonModal;
    if (windowModality() != wanted) {
        const bool wasVisible = isVisible();
        if (wasVisible)
            QWidget::hide();
        setWindowModality(wanted);
    }
    show();
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        raise();
        activateWindow();
    }
    FormRegistry::instance().activate(this);
}

void Form::Hide()
{
    if (!isVisible())
        return;
    hide();
    FormRegistry::instance().formHidden(this);
}

void Form::Unload()
{
    if (m_unloaded)
        return;
    Form_Unload();
    m_unloaded = true;
    FormRegistry& reg = FormRegistry::instance();
    reg.remove(this);
    hide();
    reg.formHidden(this);
    deleteLater();
    reg.scheduleLastCheck();
}

void Form::setHeightTwips(int twips)
{
    m_heightTwips = twips;
    applyOuterSize();
}

void Form::setWidthTwips(int twips)
{
    m_widthTwips = twips;
    applyOuterSize();
}

void Form::applyOuterSize()
{
    // The sizes are outer sizes; the frame is known only once the window is shown, so this runs again then.
    // A child hidden or shown just before changes the minimum size only once the layouts run again, which
    // would clamp this resize to the old minimum.
    if (QWidget* c = centralWidget(); c && c->layout())
        c->layout()->activate();
    if (layout()) {
        layout()->invalidate();
        layout()->activate();
    }
    const int frameW = qMax(0, frameGeometry().width() - geometry().width());
    const int frameH = qMax(0, frameGeometry().height() - geometry().height());
    const int w = m_widthTwips > 0 ? qMax(1, TwipsToPixelsX(m_widthTwips) - frameW) : width();
    const int h = m_heightTwips > 0 ? qMax(1, TwipsToPixelsY(m_heightTwips) - frameH) : height();
    if (w != width() || h != height())
        resize(w, h);
}

void Form::showEvent(QShowEvent* e)
{
    QMainWindow::showEvent(e);
    QTimer::singleShot(0, this, &Form::applyOuterSize);
}

bool Form::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate && isVisible() && !m_unloaded)
        FormRegistry::instance().userActivated(this);
    return QMainWindow::event(e);
}

void Form::closeEvent(QCloseEvent* e)
{
    // Closing by the title bar unloads the window, as the program's own commands do. Windows left hidden
    // behind it (the object list, the indicator window) could never be reached again: the program ends.
    e->accept();
    Unload();
    for (Form* f : FormRegistry::instance().loaded()) {
        if (f->isVisible())
            return;
    }
    CloseAllWindows();
}

FormRegistry& FormRegistry::instance()
{
    static FormRegistry* registry = new FormRegistry();
    return *registry;
}

void FormRegistry::add(std::type_index type, Form* f)
{
    m_forms.insert(type, f);
    m_order.append(f);
}

void FormRegistry::remove(Form* f)
{
    for (auto it = m_forms.begin(); it != m_forms.end(); ++it) {
        if (it.value() == f) {
            m_forms.erase(it);
            break;
        }
    }
    m_order.removeAll(f);
}

void FormRegistry::userActivated(Form* f)
{
    // The window system reports activations of windows the program has just shown or hidden late;
    // only a switch well after the program's own last change is the user's.
    if (m_lastProgrammaticChange.isValid() && m_lastProgrammaticChange.elapsed() < 300)
        return;
    if (m_active != f)
        activate(f);
}

void FormRegistry::activate(Form* f, bool force)
{
    m_lastProgrammaticChange.start();
    if (!f || f->isUnloaded())
        return;
    const bool changed = m_active != f;
    m_active = f;
    m_activationOrder.removeAll(QPointer<Form>(f));
    m_activationOrder.append(f);
    if (changed || force)
        f->Form_Activate();
}

void FormRegistry::formHidden(Form* f)
{
    m_lastProgrammaticChange.start();
    if (m_active != f)
        return;
    m_active = nullptr;
    // Another window of the program becomes active, unless the caller shows one right away.
    QTimer::singleShot(0, this, [this] {
        if (m_active)
            return;
        for (int i = m_activationOrder.size() - 1; i >= 0; --i) {
            Form* candidate = m_activationOrder.at(i);
            if (candidate && !candidate->isUnloaded() && candidate->isVisible()) {
                activate(candidate);
                return;
            }
        }
    });
}

void FormRegistry::scheduleLastCheck()
{
    QTimer::singleShot(0, this, [this] {
        if (m_order.isEmpty() && onLastUnloaded)
            onLastUnloaded();
    });
}

void FormRegistry::CloseAllWindows()
{
    const QList<Form*> all = m_order;
    for (Form* f : all)
        f->Unload();
}

void FormRegistry::reset()
{
    const QList<Form*> all = m_order;
    for (Form* f : all) {
        f->m_unloaded = true;
        f->hide();
        delete f;
    }
    m_forms.clear();
    m_order.clear();
    m_activationOrder.clear();
    m_active = nullptr;
}

} // namespace zarnel

namespace zarnel {

void Form::setSizeTwipsWithinScreen(int widthTwips, int heightTwips)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect free = screen->availableGeometry();
        widthTwips = qMin(widthTwips, PixelsToTwipsX(free.width()));
        heightTwips = qMin(heightTwips, PixelsToTwipsY(free.height()));
    }
    setWidthTwips(widthTwips);
    setHeightTwips(heightTwips);
}

} // namespace zarnel

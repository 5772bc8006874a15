#pragma once
// Windows with the lifecycle the program's flows rely on:
// - a window is created, and its Form_Load runs, the first time it is reached through the registry;
// - Unload destroys it (deferred, never under one of its own handlers) and loses its state; Hide keeps it;
// - Show(modal) makes it visible; a modal window blocks the others but returns at once (no nested loop);
// - Form_Activate runs when the window becomes the program's active window: when it is shown, when
//   another window of the program hid or unloaded and left it active, or when the user switches to it
//   from another window of the program; not when focus returns from a message box or another program;
// - closing a window by its title bar unloads it, and every other one too when none is left visible;
// - CloseAllWindows unloads every loaded window in load order; the program ends when none is loaded.

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <typeindex>

namespace zarnel {

class Form : public QMainWindow {
    Q_OBJECT
public:
    explicit Form(QWidget* parent = nullptr);

    void Show(bool modal = false);
    void Hide();
    void Unload();
    bool isUnloaded() const { return m_unloaded; }

    // Outer window size in twips.
    void setHeightTwips(int twips);
    int heightTwips() const { return m_heightTwips; }
    void setWidthTwips(int twips);
    int widthTwips() const { return m_widthTwips; }
    // Both sizes, each cut to the screen's free area: windows that want more than a small screen has.
    void setSizeTwipsWithinScreen(int widthTwips, int heightTwips);

protected:
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Unload() {}

    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    friend class FormRegistry;
    void applyOuterSize();
    bool m_unloaded = false;
    int m_heightTwips = 0;
    int m_widthTwips = 0;
};

class FormRegistry : public QObject {
    Q_OBJECT
public:
    static FormRegistry& instance();

    // The loaded window of type T, created (with its Form_Load) when not loaded.
    template <class T> T* get()
    {
        if (T* f = find<T>())
            return f;
        T* f = new T();
        add(std::type_index(typeid(T)), f);
        static_cast<Form*>(f)->Form_Load();
        return f;
    }
    // The loaded window of type T, or nullptr.
    template <class T> T* find() const
    {
        return static_cast<T*>(m_forms.value(std::type_index(typeid(T)), nullptr));
    }
    template <class T> bool isLoaded() const { return find<T>() != nullptr; }

    QList<Form*> loaded() const { return m_order; }
    Form* active() const { return m_active; }

    // Unloads every loaded window, in load order.
    void CloseAllWindows();
    // Makes f the program's active window; runs its Form_Activate when it was not active (or when forced).
    void activate(Form* f, bool force = false);

    // A window-system activation of f; ignored unless it is the user's switch between windows.
    void userActivated(Form* f);

    // Called once no window is loaded any more (checked after pending events ran).
    std::function<void()> onLastUnloaded;

    // Tests: unload and delete every window at once and forget the active one.
    void reset();

private:
    friend class Form;
    void add(std::type_index type, Form* f);
    void remove(Form* f);
    void formHidden(Form* f);
    void scheduleLastCheck();

    QHash<std::type_index, Form*> m_forms;
    QList<Form*> m_order;                  // load order
    QList<QPointer<Form>> m_activationOrder; // most recently active last
    QPointer<Form> m_active;
    QElapsedTimer m_lastProgrammaticChange;
};

inline FormRegistry& forms() { return FormRegistry::instance(); }
inline void CloseAllWindows() { forms().CloseAllWindows(); }

} // namespace zarnel

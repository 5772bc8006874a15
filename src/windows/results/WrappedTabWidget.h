#pragma once
// A tab control whose captions are whole sentences: each tab is a fixed share of the strip and its caption wraps
// over as many lines as it needs, so the full caption stays readable (and tabText() keeps it unchanged).

#include <QTabBar>
#include <QTabWidget>

namespace zarnel {

class WrappedTabBar : public QTabBar {
    Q_OBJECT
public:
    explicit WrappedTabBar(QWidget* parent = nullptr);

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;
    void paintEvent(QPaintEvent* event) override;

private:
    int captionWidth() const;
};

class WrappedTabWidget : public QTabWidget {
    Q_OBJECT
public:
    explicit WrappedTabWidget(QWidget* parent = nullptr);
};

} // namespace zarnel

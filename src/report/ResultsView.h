#pragma once
// The controls of the results window that the report reads, as a plain set of pointers: the report knows the
// controls, not the window, so it runs on any window that has them (the results window, a test's own set).

#include <QVector>
#include <array>

class QLabel;
class QTabWidget;
class ctlChart;

namespace zarnel {

class FlexGrid;

// One consequence kind: a page of the outer tab strip.
struct ResultsPage {
    QTabWidget* innerTabs = nullptr; // tab 0 step chart, tab 1 polygon, tab 2 indicators
    FlexGrid* grid = nullptr;
    QLabel* collective = nullptr;
    QLabel* individual = nullptr; // none for damage
    ctlChart* stepChart = nullptr;
    ctlChart* polygonChart = nullptr;
    QLabel* criteria = nullptr; // sentences of the criterion lines, one per line of text; may be absent
    QLabel* limit = nullptr;    // what follows the individual risk when a limit is chosen; may be absent
    QLabel* contributionCaption = nullptr; // "Вклад сценариев в …"; may be absent, with the grid
    FlexGrid* contributions = nullptr;     // the scenarios' contributions, header row included
};

// Pages in the order of the outer tab strip: fatalities, severe injuries, light injuries, sanitary losses, damage.
inline constexpr int ResultsPageCount = 5;

struct ResultsView {
    QTabWidget* outerTabs = nullptr; // a page's enabled flag says whether its kind has results
    std::array<ResultsPage, ResultsPageCount> pages;
};

// Puts every tab strip of the view back on the tab it showed when the guard was made.
class ShownTabsGuard {
public:
    explicit ShownTabsGuard(const ResultsView& view);
    ~ShownTabsGuard();
    ShownTabsGuard(const ShownTabsGuard&) = delete;
    ShownTabsGuard& operator=(const ShownTabsGuard&) = delete;

private:
    QVector<QTabWidget*> m_strips;
    QVector<int> m_shown;
};

} // namespace zarnel

#include "report/ResultsView.h"

#include <QTabWidget>

namespace zarnel {

ShownTabsGuard::ShownTabsGuard(const ResultsView& view)
{
    m_strips.append(view.outerTabs);
    for (const ResultsPage& page : view.pages)
        m_strips.append(page.innerTabs);
    for (QTabWidget* strip : m_strips)
        m_shown.append(strip ? strip->currentIndex() : -1);
}

ShownTabsGuard::~ShownTabsGuard()
{
    for (qsizetype i = 0; i < m_strips.size(); ++i)
        if (m_strips[i] && m_shown[i] >= 0)
            m_strips[i]->setCurrentIndex(m_shown[i]);
}

} // namespace zarnel

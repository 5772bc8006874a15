#include "windows/results/WordOutput.h"

#include "report/ChartExport.h"
#include "report/WordReport.h"
#include "windows/results/frmOutput.h"

#include <QPointer>

namespace zarnel {

ResultsView ResultsViewOf(frmOutput& f)
{
    ResultsView view;
    view.outerTabs = f.SSTab2;
    view.pages = {{
        {f.SSTab1, f.tabPokaz, f.K_Sm_por, f.I_Sm_por, f.ctlChart1, f.ctlChart2},
        {f.SSTab3, f.tabPokaz_m, f.K_T_por, f.I_T_por, f.ctlChart3, f.ctlChart5},
        {f.SSTab4, f.tabPokaz_m1, f.K_L_por, f.I_L_por, f.ctlChart6, f.ctlChart12},
        {f.SSTab5, f.tabPokaz_m2, f.K_San_por, f.I_San_por, f.ctlChart9, f.ctlChart13},
        {f.SSTab1_ush, f.tabPokaz_ush, f.K_Ush, nullptr, f.ctlChart1_ush, f.ctlChart2_ush},
    }};
    for (int page = 0; page < ResultsPageCount; ++page) {
        const int kind = KindOfPage(page);
        view.pages[size_t(page)].criteria = f.chartControls(KindInfoOf(kind).stepChart).verdict;
        view.pages[size_t(page)].limit = f.limitLabel(kind);
        view.pages[size_t(page)].contributionCaption = f.contributionCaption(kind);
        view.pages[size_t(page)].contributions = f.contributionGrid(kind);
    }
    return view;
}

void WordReport_Click(frmOutput& f, const QDateTime& now)
{
    if (LogReport(now))
        ExportReportToWord(ResultsViewOf(f));
}

void ConnectWordOutput(frmOutput* f)
{
    // Connected once per window, however often asked: a second connection would write every document twice.
    static const char* const kConnected = "wordOutputConnected";
    if (f->property(kConnected).toBool())
        return;
    f->setProperty(kConnected, true);
    QPointer<frmOutput> window(f);
    QObject::connect(f->mnuWord, &QAction::triggered, f, [window] {
        if (window)
            WordReport_Click(*window);
    });
    const struct {
        QPushButton* button;
        ctlChart* chart;
        int number;
    } exports[] = {
        {f->Command7, f->ctlChart1, 1},       {f->Command1, f->ctlChart2, 2},   {f->Command3, f->ctlChart3, 3},
        {f->Command6, f->ctlChart5, 4},       {f->Command10, f->ctlChart6, 5},  {f->Command11, f->ctlChart12, 6},
        {f->Command13, f->ctlChart9, 7},      {f->Command16, f->ctlChart13, 8}, {f->Command18, f->ctlChart1_ush, 9},
        {f->Command19, f->ctlChart2_ush, 10},
    };
    for (const auto& e : exports) {
        QPointer<ctlChart> chart(e.chart);
        const int number = e.number;
        QObject::connect(e.button, &QPushButton::clicked, f, [chart, number] {
            if (chart)
                ExportChartToWord(*chart, number);
        });
    }
}

} // namespace zarnel

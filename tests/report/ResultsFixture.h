#pragma once
// A stand-in for the results window: the five kind pages with their tab strips, grids, value labels and charts,
// filled with short recognisable texts, so report tests can say exactly what the document must hold.

#include "components/FlexGrid.h"
#include "components/ctlChart.h"
#include "report/ResultsView.h"

#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWidget>

#include <memory>

namespace testing {

class ResultsFixture {
public:
    ResultsFixture() : window(std::make_unique<QWidget>())
    {
        window->resize(900, 700);
        auto* layout = new QVBoxLayout(window.get());
        view.outerTabs = new QTabWidget(window.get());
        layout->addWidget(view.outerTabs);
        for (int p = 0; p < zarnel::ResultsPageCount; ++p) {
            zarnel::ResultsPage& page = view.pages[p];
            page.innerTabs = new QTabWidget;
            view.outerTabs->addTab(page.innerTabs, QStringLiteral("Вид %1").arg(p));
            page.stepChart = new ctlChart;
            page.polygonChart = new ctlChart;
            page.innerTabs->addTab(page.stepChart, QStringLiteral("Кривая F/n вида %1").arg(p));
            page.innerTabs->addTab(page.polygonChart, QStringLiteral("Многоугольник вида %1").arg(p));
            auto* indicators = new QWidget;
            auto* box = new QVBoxLayout(indicators);
            page.grid = new zarnel::FlexGrid;
            page.grid->setRows(3);
            page.grid->setCols(5);
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 5; ++j)
                    page.grid->setTextMatrix(i, j, QStringLiteral("%1:%2,%3").arg(p).arg(i).arg(j));
            // Unequal columns, as the results window sets them, so the report shows whose widths it follows.
            const int names = p == 4 ? 3300 : 3600;
            const int widths[5] = {1350, names, 2700, names, 2700};
            for (int j = 0; j < 5; ++j)
                page.grid->setColWidth(j, widths[j]);
            page.collective = new QLabel;
            box->addWidget(page.grid);
            box->addWidget(page.collective);
            if (p != 4) {
                page.individual = new QLabel;
                box->addWidget(page.individual);
            }
            page.innerTabs->addTab(indicators, QStringLiteral("Показатели вида %1").arg(p));
            draw(*page.stepChart, 1e-3 * (p + 1));
            draw(*page.polygonChart, 1e-4 * (p + 1));
        }
        setLabels(0, "1,600E-04", "не расчитан");
        setLabels(1, "2,000E-05", "1,333E-07");
        setLabels(2, "3,000E-05", "2,000E-07");
        setLabels(3, "5,000E-05", "");
        setLabels(4, "7,000E-04", nullptr);
    }

    // Which kinds have results, by outer page.
    void enable(std::initializer_list<bool> flags)
    {
        int p = 0;
        for (bool on : flags)
            view.outerTabs->setTabEnabled(p++, on);
    }

    // A falling curve from `top` on a log Y axis; different tops give different pictures.
    static void draw(ctlChart& chart, double top, double maxx = 10)
    {
        chart.ClearChart();
        chart.setMinx(1);
        chart.setMaxx(maxx);
        chart.setAxistypey(1);
        chart.setMiny(1e-7);
        chart.setMaxy(1e-2);
        chart.PlotCurve({{1, top}, {4, top / 10}, {10, top / 100}});
        chart.DrawBullet(4, top / 10, 11, 255);
        chart.Redraw();
    }

    std::unique_ptr<QWidget> window;
    zarnel::ResultsView view;

private:
    void setLabels(int page, const char* collective, const char* individual)
    {
        view.pages[page].collective->setText(QString::fromUtf8(collective));
        if (individual)
            view.pages[page].individual->setText(QString::fromUtf8(individual));
    }
};

} // namespace testing

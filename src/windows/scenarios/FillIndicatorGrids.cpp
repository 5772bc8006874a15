#include "windows/scenarios/FillIndicatorGrids.h"

#include "core/Formats.h"
#include "core/Shared.h"
#include "windows/scenarios/frmInput.h"

namespace zarnel {

namespace {

const char* const kValueHeaders[4] = {
    "Число погибших, n человек",
    "Число тяжело пораженных, n человек",
    "Число легко пораженных, n человек",
    "Ущерб, g млн.руб",
};

void prepareGrid(FlexGrid* g, int kind)
{
    g->Clear();
    g->setRows(2);
    g->setCols(3);
    g->setColWidth(0, 3700);
    g->setColWidth(1, 1700);
    g->setColWidth(2, 2700);
    g->setTextMatrix(0, 0, QStringLiteral("Классификационный номер сценария"));
    g->setTextMatrix(0, 1, QStringLiteral("Частота событий"));
    g->setTextMatrix(0, 2, QString::fromUtf8(kValueHeaders[kind]));
    g->setRowHeight(0, 900);
    g->setRowHeight(1, g->defaultRowHeightTwips());
}

} // namespace

void FillIndicatorGrids(const SortPair& pair0, const SortPair& pair1, const SortPair& pair2, const SortPair& pair3,
                        bool refill0, bool refill1, bool refill2, bool refill3)
{
    frmInput* f = forms().get<frmInput>();
    const SortPair* pairs[4] = {&pair0, &pair1, &pair2, &pair3};
    const bool refill[4] = {refill0, refill1, refill2, refill3};
    Connection c;
    for (int kind = 0; kind < 4; ++kind) {
        if (!refill[kind])
            continue;
        // Read first: a failing statement leaves the grid as it was.
        const QVector<IndicatorGridRow> rows = ReadIndicatorGridRows(c, CurrentObjectId, kind, *pairs[kind]);
        f->ShownRows[size_t(kind)] = rows;
        FlexGrid* g = f->grid(kind);
        f->clearButton(kind)->setEnabled(false);
        prepareGrid(g, kind);
        for (int i = 0; i < rows.size(); ++i) {
            const int r = i + 1;
            if (r > 1)
                g->AddItem(QString());
            g->setTextMatrix(r, 0, rows[i].name);
            g->setTextMatrix(r, 1, rows[i].frequency);
            g->setTextMatrix(r, 2, rows[i].value);
        }
        g->setHidden(g->TextMatrix(1, 0).isEmpty());
    }
}

} // namespace zarnel

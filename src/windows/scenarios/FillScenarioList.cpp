#include "windows/scenarios/FillScenarioList.h"

#include "core/Database.h"
#include "core/Formats.h"
#include "core/ScenarioStore.h"
#include "core/Shared.h"
#include "windows/scenarios/frmBD_Scen.h"

#include <QPushButton>
#include <array>

namespace zarnel {

namespace {

struct Column {
    int width; // twips
    const char* header;
};

const std::array<Column, 8> kColumns{{
    {0, ""},
    {2000, "Классификационный номер"},
    {4500, "Название"},
    {1000, "Частота события"},
    {1200, "Погибшие, чел."},
    {1700, "Тяжело пораженные, чел."},
    {1700, "Легко пораженные, чел."},
    {1200, "Ущерб, млн.руб"},
}};

// Value colours of kinds 0..3; damage is brighter here than on the results window.
const std::array<QColor, 4> kKindColours{QColor(255, 0, 0), QColor(0, 0, 255), QColor(0, 192, 0), QColor(255, 0, 255)};

} // namespace

void FillScenarioList()
{
    frmBD_Scen* frm = forms().get<frmBD_Scen>();
    FlexGrid* grid = frm->Tabl_Name;

    grid->Clear();
    grid->setRows(2);
    grid->setCols(8);
    for (int col = 0; col < int(kColumns.size()); ++col) {
        grid->setColWidth(col, kColumns[size_t(col)].width);
        grid->setTextMatrix(0, col, QString::fromUtf8(kColumns[size_t(col)].header));
    }
    grid->setRowHeight(0, 500);
    // Row 1 survives the refill; a tall title of the previous list must not leave its height behind.
    grid->setRowHeight(1, grid->defaultRowHeightTwips());

    frm->ListedScenarios.clear();
    {
        Connection c;
        int i = 1;
        for (const ScenarioRecord& r : ListScenarios(c, CurrentObjectId)) {
            if (i > 1)
                grid->AddItem(QString::number(i));
            const qint16 id = r.id;
            grid->setTextMatrix(i, 0, QString::number(id));
            if (!r.name.isEmpty())
                grid->setTextMatrix(i, 1, r.name);
            if (!r.title.isEmpty()) {
                grid->setRowHeight(i, (int(r.title.size()) / 40 + 1) * 250);
                grid->setTextMatrix(i, 2, r.title);
            }
            grid->setTextMatrix(i, 3, FormatRiskValue(r.risk));
            ScenarioSnapshot& listed = frm->ListedScenarios[id];
            listed.row = r;
            for (int kind = 0; kind < 4; ++kind) {
                const auto value = ReadIndicator(c, CurrentObjectId, id, kind);
                listed.indicators[size_t(kind)] = value;
                if (value) {
                    grid->setTextMatrix(i, 4 + kind, PlainNumber(*value));
                    grid->setRow(i);
                    grid->setCol(4 + kind);
                    grid->setCellForeColor(kKindColours[size_t(kind)]);
                } else {
                    grid->setTextMatrix(i, 4 + kind, QStringLiteral("нет"));
                }
            }
            ++i;
        }
    }

    // Colouring moved the current cell only; no cell looks selected before the user clicks one.
    grid->clearSelection();
    grid->setCurrentIndex(QModelIndex());

    if (!grid->TextMatrix(1, 0).isEmpty()) {
        grid->show();
        grid->setFocus();
    } else {
        grid->hide();
    }
    frm->Command3->setEnabled(false);
    frm->Command5->setEnabled(false);
    frm->setHeightTwips(frmBD_Scen::kListHeight);
}

} // namespace zarnel

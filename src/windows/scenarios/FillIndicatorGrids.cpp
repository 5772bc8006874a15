#include "windows/scenarios/FillIndicatorGrids.h"

#include "core/Formats.h"
#include "core/Shared.h"
#include "windows/scenarios/frmInput.h"

namespace zarnel {

namespace {

struct KindGrid {
    const char* idPor; // one blank after '=' and one at the end, as the statements are written
    const char* valueHeader;
};

const KindGrid kKinds[4] = {
    {" and Id_por= 0 ", "Число погибших, n человек"},
    {" and Id_por= 1 ", "Число тяжело пораженных, n человек"},
    {" and Id_por= 2 ", "Число легко пораженных, n человек"},
    {" and Id_por= 3 ", "Ущерб, g млн.руб"},
};

IndicatorGridRow rowOf(const QSqlRecord& scenario, const QSqlRecord& indicator)
{
    return {FieldText(scenario, "Name"), FormatRiskValue(FieldDouble(scenario, "Risk")),
            PlainNumber(FieldDouble(indicator, "Number")), FieldInt16(scenario, "Id"), FieldDouble(indicator, "Number")};
}

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
    g->setTextMatrix(0, 2, QString::fromUtf8(kKinds[kind].valueHeader));
    g->setRowHeight(0, 900);
    g->setRowHeight(1, g->defaultRowHeightTwips());
}

} // namespace

QVector<IndicatorGridRow> ReadIndicatorGridRows(const Connection& c, qint16 objectId, int kind, const SortPair& pair)
{
    const QString obj = QString::number(objectId);
    const QString idPor = QString::fromLatin1(kKinds[kind].idPor);
    QVector<IndicatorGridRow> rows;
    if (!pair.ScenarioOrder.isEmpty() || pair.IndicatorOrder.isEmpty()) {
        for (const QSqlRecord& s : c.select("select * from  tabScen where Id_obj=" + obj + pair.ScenarioOrder)) {
            const auto found = c.select("select * from  tabRisk where Id_obj=" + obj +
                                        " and id_scen=" + QString::number(FieldInt16(s, "Id")) + idPor);
            if (!found.isEmpty())
                rows.append(rowOf(s, found.first()));
        }
    } else {
        for (const QSqlRecord& r :
             c.select("select * from  tabRisk where Id_obj=" + obj + idPor + pair.IndicatorOrder)) {
            const auto scen = c.select("select * from  tabScen where Id_obj=" + obj +
                                       " and id=" + QString::number(FieldInt16(r, "Id_scen")));
            // An indicator without its scenario cannot be named; it is left out rather than shown blank.
            if (!scen.isEmpty())
                rows.append(rowOf(scen.first(), r));
        }
    }
    return rows;
}

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

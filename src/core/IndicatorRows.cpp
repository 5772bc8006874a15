#include "core/IndicatorRows.h"

#include "core/Formats.h"

namespace zarnel {

namespace {

IndicatorGridRow rowOf(const QSqlRecord& scenario, const QSqlRecord& indicator)
{
    return {FieldText(scenario, "Name"), FormatRiskValue(FieldDouble(scenario, "Risk")),
            PlainNumber(FieldDouble(indicator, "Number")), FieldInt16(scenario, "Id"),
            FieldDouble(indicator, "Number")};
}

} // namespace

SortPair SortPairOf(KindOrder order)
{
    switch (order) {
    case KindOrder::NumberAsc:
        return {QString(), QStringLiteral(" order by Number asc ")};
    case KindOrder::NumberDesc:
        return {QString(), QStringLiteral(" order by Number desc")};
    case KindOrder::RiskAsc:
        return {QStringLiteral(" order by Risk asc"), QString()};
    case KindOrder::RiskDesc:
        return {QStringLiteral(" order by Risk desc"), QString()};
    case KindOrder::NameAsc:
        return {QStringLiteral(" order by name asc"), QString()};
    case KindOrder::NameDesc:
        break;
    }
    return {QStringLiteral(" order by name desc"), QString()};
}

QVector<IndicatorGridRow> ReadIndicatorGridRows(const Connection& c, qint16 objectId, int kind, const SortPair& pair)
{
    const QVariantList obj{int(objectId)};
    const QVariant por = kind;
    QVector<IndicatorGridRow> rows;
    if (!pair.ScenarioOrder.isEmpty() || pair.IndicatorOrder.isEmpty()) {
        for (const QSqlRecord& s : c.select("select * from  tabScen where Id_obj=?" + pair.ScenarioOrder, obj)) {
            const auto found =
                c.select(QStringLiteral("select * from  tabRisk where Id_obj=? and id_scen=? and Id_por=?"),
                         {int(objectId), int(FieldInt16(s, "Id")), por});
            if (!found.isEmpty())
                rows.append(rowOf(s, found.first()));
        }
    } else {
        for (const QSqlRecord& r : c.select("select * from  tabRisk where Id_obj=? and Id_por=?" + pair.IndicatorOrder,
                                            {int(objectId), por})) {
            const auto scen = c.select(QStringLiteral("select * from  tabScen where Id_obj=? and id=?"),
                                       {int(objectId), int(FieldInt16(r, "Id_scen"))});
            // An indicator without its scenario cannot be named; it is left out rather than shown blank.
            if (!scen.isEmpty())
                rows.append(rowOf(scen.first(), r));
        }
    }
    return rows;
}

} // namespace zarnel

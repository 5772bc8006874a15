#include "risk/KindReader.h"

#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>

namespace zarnel {

namespace {

QString Obj(qint16 id)
{
    return QString::number(id);
}

// Runs a SELECT forward only and hands each row to f; throws DbError.
template <typename F> void ForEachRow(Connection& c, const QString& sql, F&& f)
{
    QSqlQuery q(c.database());
    q.setForwardOnly(true);
    if (!q.exec(sql))
        throw DbError::fromSql(q.lastError(), sql);
    while (q.next())
        f(q);
}

int Column(const QSqlQuery& q, const char* name)
{
    return q.record().indexOf(QString::fromLatin1(name)); // case-insensitive, like the statements' own names
}

qint16 ScenarioKey(const QVariant& v)
{
    return qint16(v.toInt());
}

// The number a database reads from an SQL number text.
double ParseSqlNumber(const QString& text)
{
    return QLocale::c().toDouble(text);
}

void AppendName(QString& list, const QString& name)
{
    if (!list.isEmpty())
        list += QStringLiteral(", ");
    list += name;
}

class BatchedReader final : public KindReader {
public:
    BatchedReader(Connection& c, qint16 objectId, int kind, std::shared_ptr<const ScenarioCache> cache)
        : m_c(c), m_obj(objectId), m_kind(kind), m_cache(std::move(cache))
    {
        if (!m_cache)
            m_cache = std::make_shared<ScenarioCache>(c, objectId);
    }

    QVector<IndicatorRow> descending() override
    {
        QVector<IndicatorRow> rows;
        int scen = -1, number = -1;
        ForEachRow(m_c, DescendingStatement(m_obj, m_kind), [&](QSqlQuery& q) {
            if (scen < 0) {
                scen = Column(q, "id_scen");
                number = Column(q, "Number");
            }
            if (q.isNull(number))
                return;
            const ScenarioRow* s = m_cache->find(ScenarioKey(q.value(scen)));
            if (s)
                rows.append({q.value(number).toDouble(), *s});
        });
        return rows;
    }

    // The first call reads every row at or above the smallest threshold in ascending order; the lists of the
    // larger thresholds that follow are tails of it, as their own statements would return them.
    NameList atLeast(const QString& queryText) override
    {
        const double t = ParseSqlNumber(queryText);
        load(queryText, t);
        const auto first = std::lower_bound(m_numbers.cbegin(), m_numbers.cend(), t);
        return {m_names, m_offsets[first - m_numbers.cbegin()]};
    }

    QVector<ScenarioRow> exactly(const QString& queryText) override
    {
        const double t = ParseSqlNumber(queryText);
        load(queryText, t);
        const auto [from, to] = std::equal_range(m_numbers.cbegin(), m_numbers.cend(), t);
        return QVector<ScenarioRow>(m_scenarios.cbegin() + (from - m_numbers.cbegin()),
                                    m_scenarios.cbegin() + (to - m_numbers.cbegin()));
    }

private:
    void load(const QString& queryText, double threshold)
    {
        if (m_loaded && threshold >= m_threshold)
            return;
        m_loaded = true;
        m_threshold = threshold;
        m_numbers.clear();
        m_scenarios.clear();
        m_offsets.clear();
        m_names.clear();
        int scen = -1, number = -1;
        ForEachRow(m_c, AtLeastStatement(m_obj, m_kind, queryText), [&](QSqlQuery& q) {
            if (scen < 0) {
                scen = Column(q, "id_scen");
                number = Column(q, "Number");
            }
            const ScenarioRow* s = m_cache->find(ScenarioKey(q.value(scen)));
            if (!s)
                return;
            if (!m_names.isEmpty())
                m_names += QStringLiteral(", ");
            m_offsets.append(m_names.size());
            m_names += s->name;
            m_numbers.append(q.value(number).toDouble());
            m_scenarios.append(*s);
        });
        m_offsets.append(m_names.size());
    }

    Connection& m_c;
    qint16 m_obj;
    int m_kind;
    std::shared_ptr<const ScenarioCache> m_cache;
    bool m_loaded = false;
    double m_threshold = 0;
    QVector<double> m_numbers; // ascending, as the statement returned them
    QVector<ScenarioRow> m_scenarios;
    QVector<qsizetype> m_offsets; // where each name starts in m_names; one more at the end
    QString m_names;
};

class StatementReader final : public KindReader {
public:
    StatementReader(Connection& c, qint16 objectId, int kind) : m_c(c), m_obj(objectId), m_kind(kind) {}

    QVector<IndicatorRow> descending() override
    {
        QVector<IndicatorRow> rows;
        for (const QSqlRecord& r : m_c.select(DescendingStatement(m_obj, m_kind))) {
            if (r.isNull(QStringLiteral("Number")))
                continue;
            if (const auto s = scenario(r))
                rows.append({r.value(QStringLiteral("Number")).toDouble(), *s});
        }
        return rows;
    }

    NameList atLeast(const QString& queryText) override
    {
        QString list;
        for (const QSqlRecord& r : m_c.select(AtLeastStatement(m_obj, m_kind, queryText)))
            if (const auto s = scenario(r))
                AppendName(list, s->name);
        return {list, 0};
    }

    QVector<ScenarioRow> exactly(const QString& queryText) override
    {
        QVector<ScenarioRow> rows;
        for (const QSqlRecord& r : m_c.select(ExactlyStatement(m_obj, m_kind, queryText)))
            if (const auto s = scenario(r))
                rows.append(*s);
        return rows;
    }

private:
    std::optional<ScenarioRow> scenario(const QSqlRecord& indicator) const
    {
        const auto rows = m_c.select(ScenarioStatement(m_obj, ScenarioKey(indicator.value(QStringLiteral("id_scen")))));
        if (rows.isEmpty())
            return std::nullopt;
        return ScenarioRow{FieldText(rows.first(), "Name"), FieldDouble(rows.first(), "Risk"),
                           FieldIsEmpty(rows.first(), "Opis") ? QString() : FieldText(rows.first(), "Opis")};
    }

    Connection& m_c;
    qint16 m_obj;
    int m_kind;
};

} // namespace

ScenarioCache::ScenarioCache(Connection& c, qint16 objectId)
{
    int id = -1, name = -1, risk = -1, opis = -1;
    ForEachRow(c, QStringLiteral("select * from tabScen where Id_obj=") + Obj(objectId), [&](QSqlQuery& q) {
        if (id < 0) {
            id = Column(q, "Id");
            name = Column(q, "Name");
            risk = Column(q, "Risk");
            opis = Column(q, "Opis");
        }
        const qint16 key = ScenarioKey(q.value(id));
        // A duplicate key answers with its first row, as the one-scenario statement reads it.
        if (!m_rows.contains(key))
            m_rows.insert(key,
                          ScenarioRow{q.isNull(name) ? QString() : q.value(name).toString(), q.value(risk).toDouble(),
                                      q.isNull(opis) ? QString() : q.value(opis).toString()});
    });
}

const ScenarioRow* ScenarioCache::find(qint16 scenarioId) const
{
    const auto it = m_rows.constFind(scenarioId);
    return it == m_rows.cend() ? nullptr : &it.value();
}

std::unique_ptr<KindReader> MakeKindReader(ReadMode mode, Connection& c, qint16 objectId, int kind,
                                           std::shared_ptr<const ScenarioCache> cache)
{
    if (mode == ReadMode::StatementByStatement)
        return std::make_unique<StatementReader>(c, objectId, kind);
    return std::make_unique<BatchedReader>(c, objectId, kind, std::move(cache));
}

QString DescendingStatement(qint16 objectId, int kind)
{
    static const char* const clauses[KindCount] = {
        " and Id_por= 0 order by Number desc", " and Id_por= 1 order by Number desc",
        " and Id_por= 2 order by Number desc", " and Id_por=3 order by Number desc",
        " and Id_por= 4 order by Number desc"};
    return QStringLiteral("select * from  tabRisk where Id_obj=") + Obj(objectId) + QLatin1String(clauses[kind]);
}

QString ScenarioStatement(qint16 objectId, qint16 scenarioId)
{
    return QStringLiteral("select * from tabScen where Id_obj=") + Obj(objectId) + QStringLiteral(" and id=") +
           QString::number(scenarioId);
}

QString AtLeastStatement(qint16 objectId, int kind, const QString& queryText)
{
    static const char* const clauses[KindCount] = {
        " and  Id_por= 0 and Number>=", " and  Id_por=1 and Number>=", " and  Id_por=2 and Number>=",
        " and  Id_por=3 and Number>=", " and  Id_por=4  and Number>="};
    return QStringLiteral("select * from  tabRisk where Id_obj=") + Obj(objectId) + QLatin1String(clauses[kind]) +
           queryText + QStringLiteral(" order by Number asc");
}

QString ExactlyStatement(qint16 objectId, int kind, const QString& queryText)
{
    static const char* const clauses[KindCount] = {
        " and  Id_por=0 and Number=", " and  Id_por=1 and Number=", " and  Id_por=2 and Number=",
        " and  Id_por=3 and Number=", " and  Id_por=4   and Number="};
    return QStringLiteral("select * from  tabRisk where Id_obj=") + Obj(objectId) + QLatin1String(clauses[kind]) +
           queryText + QStringLiteral(" order by Number asc");
}

} // namespace zarnel

#pragma once
// Reading one kind's indicators for the build, in the two ways of ReadMode.

#include "core/Database.h"
#include "risk/Build.h"

#include <QHash>
#include <memory>
#include <optional>

namespace zarnel {

struct ScenarioRow {
    QString name;    // classification number
    double risk = 0; // a null frequency counts as 0
    QString title = {}; // Opis; empty when null
};

struct IndicatorRow {
    double number = 0;
    ScenarioRow scenario;
};

// A name list as the tail of a longer text, so the at-least lists of one kind share one string.
struct NameList {
    QString text;
    qsizetype offset = 0;
    qsizetype length() const { return text.size() - offset; }
};

// All scenarios of an object by key, read once per build.
class ScenarioCache {
public:
    ScenarioCache(Connection& c, qint16 objectId);
    const ScenarioRow* find(qint16 scenarioId) const;

private:
    QHash<qint16, ScenarioRow> m_rows;
};

// Indicator rows without a scenario, and rows whose value is null, take no part in the build.
class KindReader {
public:
    virtual ~KindReader() = default;
    // The kind's indicators, largest value first (the order of the descending statement).
    virtual QVector<IndicatorRow> descending() = 0;
    // Names of the scenarios whose value is at least / exactly the SQL number text, in ascending value.
    virtual NameList atLeast(const QString& queryText) = 0;
    virtual QVector<ScenarioRow> exactly(const QString& queryText) = 0;
};

// cache is used by the batched reader (read here when null); the statement-by-statement reader ignores it.
std::unique_ptr<KindReader> MakeKindReader(ReadMode mode, Connection& c, qint16 objectId, int kind,
                                           std::shared_ptr<const ScenarioCache> cache);

// The statements of the build, exactly as issued.
QString DescendingStatement(qint16 objectId, int kind);
QString ScenarioStatement(qint16 objectId, qint16 scenarioId);
QString AtLeastStatement(qint16 objectId, int kind, const QString& queryText);
QString ExactlyStatement(qint16 objectId, int kind, const QString& queryText);

} // namespace zarnel

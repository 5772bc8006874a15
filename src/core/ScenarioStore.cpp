#include "core/ScenarioStore.h"

#include "core/Formats.h"
#include "core/Limits.h"
#include "core/ObjectStore.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace zarnel {

namespace {

constexpr int kSevere = 1;
constexpr int kLight = 2;
constexpr int kSanitary = 4;

void requireEnteredKind(int kind)
{
    if (kind < 0 || kind > 3)
        throw std::invalid_argument("indicator kind must be 0..3");
}

// A frequency typed at a bound (1,000 E-50) may land an ulp beside it after the division by the power of ten.
constexpr double kRoundingSlack = 1e-12;

QString key(qint16 v)
{
    return QString::number(v);
}

DbError changed(qint16 scen)
{
    return DbError(DbFailure::ScenarioChanged, QStringLiteral("сценарий %1 изменен").arg(scen));
}

DbError gone(qint16 scen)
{
    return DbError(DbFailure::ScenarioGone, QStringLiteral("сценарий %1 удален").arg(scen));
}

// The object and the scenario must both still exist for anything to be stored under their keys.
void requireScenario(Connection& c, qint16 obj, qint16 scen)
{
    RequireObject(c, obj);
    if (!FindScenario(c, obj, scen))
        throw gone(scen);
}

// Refuses a change of an indicator that is no longer the one the window showed.
void requireShown(Connection& c, qint16 obj, qint16 scen, int kind, const std::optional<ShownIndicator>& shown)
{
    requireScenario(c, obj, scen);
    if (shown && ReadIndicator(c, obj, scen, kind) != shown->value)
        throw changed(scen);
}

// Refuses a change of a scenario that is gone or no longer the one the window read.
void requireSnapshot(Connection& c, qint16 obj, qint16 scen, const std::optional<ScenarioSnapshot>& asRead)
{
    const std::optional<ScenarioSnapshot> now = ReadScenarioSnapshot(c, obj, scen);
    if (!now)
        throw gone(scen);
    if (asRead && *now != *asRead)
        throw changed(scen);
}

} // namespace

ScenarioRecord ScenarioRecordOf(const QSqlRecord& r)
{
    ScenarioRecord s;
    s.id = FieldInt16(r, "Id");
    s.name = FieldText(r, "Name");
    s.title = FieldIsEmpty(r, "Opis") ? QString() : FieldText(r, "Opis");
    s.risk = FieldDouble(r, "Risk");
    return s;
}

namespace {

// Delete-then-insert keeps at most one row per scenario and kind even where older data had more.
void insertIndicator(Connection& c, qint16 obj, qint16 scen, int kind, double value)
{
    // + 0.0 stores a typed "-0" as 0.
    c.exec(QStringLiteral("INSERT INTO tabRisk (Id_obj, Id_scen, Id_por, Number) VALUES (?, ?, ?, ?)"),
           {int(obj), int(scen), kind, value + 0.0});
}

void writeIndicator(Connection& c, qint16 obj, qint16 scen, int kind, std::optional<double> value)
{
    c.exec(QStringLiteral("DELETE FROM tabRisk WHERE Id_obj=? AND Id_scen=? AND Id_por=?"),
           {int(obj), int(scen), kind});
    if (value)
        insertIndicator(c, obj, scen, kind, *value);
}

// Kind 4 of an entry: severe + light while either is ticked.
std::optional<double> sanitaryOf(const ScenarioEntry& e)
{
    const auto& severe = e.indicators[size_t(kSevere)];
    const auto& light = e.indicators[size_t(kLight)];
    if (!severe && !light)
        return std::nullopt;
    return severe.value_or(0) + light.value_or(0);
}

// The rows of a validated entry, scenario row included; kind 4 follows kinds 1 and 2. cleanKey: the caller
// made sure no indicator row of the object has this scenario key, so nothing needs deleting first.
void writeEntry(Connection& c, qint16 obj, qint16 id, bool isNew, const ScenarioEntry& entry, bool cleanKey = false)
{
    // Within the slack of the check: the bound itself is stored.
    const double risk = std::clamp(entry.risk, kMinFrequency, kMaxFrequency);
    // A missing title is stored as null: not every database accepts an empty text.
    const QVariant opis = entry.title.isEmpty() ? QVariant() : QVariant(entry.title);
    if (isNew) {
        c.exec(QStringLiteral("INSERT INTO tabScen (Id_obj, Id, Name, Opis, Risk) VALUES (?, ?, ?, ?, ?)"),
               {int(obj), int(id), entry.name, opis, risk});
    } else {
        const int changed = c.exec(QStringLiteral("UPDATE tabScen SET Name=?, Opis=?, Risk=? WHERE Id_obj=? AND Id=?"),
                                   {entry.name, opis, risk, int(obj), int(id)});
        if (changed == 0)
            throw DbError(QStringLiteral("сценарий не найден"));
    }
    std::array<std::optional<double>, 5> values;
    std::copy(entry.indicators.begin(), entry.indicators.end(), values.begin());
    values[kSanitary] = sanitaryOf(entry);
    for (int kind = 0; kind < 5; ++kind) {
        if (!cleanKey)
            writeIndicator(c, obj, id, kind, values[size_t(kind)]);
        else if (const auto& v = values[size_t(kind)])
            insertIndicator(c, obj, id, kind, *v);
    }
}

void syncSanitary(Connection& c, qint16 obj, qint16 scen)
{
    const auto severe = ReadIndicator(c, obj, scen, kSevere);
    const auto light = ReadIndicator(c, obj, scen, kLight);
    std::optional<double> sum;
    if (severe || light)
        sum = severe.value_or(0) + light.value_or(0);
    writeIndicator(c, obj, scen, kSanitary, sum);
}

} // namespace

QString EntryKindLabel(int kind)
{
    requireEnteredKind(kind);
    static const char* const labels[4] = {"гибель, чел.", "тяжелые поражения, чел.", "легкие поражения, чел.",
                                          "ущерб"};
    return QString::fromUtf8(labels[kind]);
}

std::optional<QString> CheckIndicatorValue(int kind, double value)
{
    requireEnteredKind(kind);
    // The negated comparisons refuse NaN as well.
    if (kind == 3) {
        if (!(value >= 0 && value <= kMaxDamage))
            return QStringLiteral("Ущерб должен быть числом от 0 до ") + QString::number(qint64(kMaxDamage)) +
                   QStringLiteral(" млн. руб.!");
        return std::nullopt;
    }
    if (!(value >= 0 && value <= kMaxPeople && value == std::floor(value)))
        return QStringLiteral("Число людей (") + EntryKindLabel(kind) +
               QStringLiteral(") должно быть целым числом от 0 до ") + QString::number(qint64(kMaxPeople)) +
               QStringLiteral("!");
    return std::nullopt;
}

std::optional<EntryProblem> ValidateScenarioEntry(const ScenarioEntry& entry)
{
    if (entry.name.trimmed().isEmpty())
        return EntryProblem{EntryProblem::Name, -1, QStringLiteral("Не введен классификационный номер сценария!")};
    if (!(entry.risk >= kMinFrequency * (1 - kRoundingSlack) && entry.risk <= kMaxFrequency))
        return EntryProblem{EntryProblem::Frequency, -1,
                            QStringLiteral("Частота события должна быть от ") + FormatRiskValue(kMinFrequency) +
                                QStringLiteral(" до ") + QString::number(qint64(kMaxFrequency)) +
                                QStringLiteral(" событий в год!")};
    for (int kind = 0; kind < 4; ++kind) {
        if (const auto& v = entry.indicators[size_t(kind)]) {
            if (auto message = CheckIndicatorValue(kind, *v))
                return EntryProblem{EntryProblem::Indicator, kind, *message};
        }
    }
    return std::nullopt;
}

std::optional<double> ReadIndicator(Connection& c, qint16 objectId, qint16 scenarioId, int kind)
{
    const auto rows = c.select("select * from tabRisk where Id_obj=" + key(objectId) +
                               " and id_scen=" + key(scenarioId) + " and id_por=" + QString::number(kind));
    if (rows.isEmpty())
        return std::nullopt;
    return FieldDouble(rows.first(), "Number");
}

QVector<ScenarioRecord> ListScenarios(const Connection& c, qint16 objectId)
{
    QVector<ScenarioRecord> out;
    for (const QSqlRecord& r : c.select(QStringLiteral("select * from tabScen where Id_obj=? order by Name asc"),
                                        {int(objectId)}))
        out.append(ScenarioRecordOf(r));
    return out;
}

QStringList ListPeopleCounts(const Connection& c)
{
    QStringList out;
    for (const QSqlRecord& r : c.select(QStringLiteral("select * from tabNumber order by name asc")))
        out.append(FieldText(r, "Name"));
    return out;
}

std::optional<ScenarioRecord> FindScenario(Connection& c, qint16 objectId, qint16 scenarioId)
{
    const auto rows = c.select("select * from tabScen where Id_Obj =" + key(objectId) + " and Id=" + key(scenarioId));
    if (rows.isEmpty())
        return std::nullopt;
    return ScenarioRecordOf(rows.first());
}

std::optional<ScenarioSnapshot> ReadScenarioSnapshot(Connection& c, qint16 objectId, qint16 scenarioId)
{
    const std::optional<ScenarioRecord> row = FindScenario(c, objectId, scenarioId);
    if (!row)
        return std::nullopt;
    ScenarioSnapshot s{*row, {}};
    for (int kind = 0; kind < 4; ++kind)
        s.indicators[size_t(kind)] = ReadIndicator(c, objectId, scenarioId, kind);
    return s;
}

std::optional<ScenarioRecord> FindScenarioByName(Connection& c, qint16 objectId, const QString& name)
{
    const auto rows =
        c.select("select * from tabScen where Id_obj=" + key(objectId) + " and Name='" + SqlQuote(name) + "'");
    if (rows.isEmpty())
        return std::nullopt;
    return ScenarioRecordOf(rows.first());
}

bool ScenarioNameTaken(Connection& c, qint16 objectId, const QString& name, qint16 exceptScenarioId)
{
    const auto rows =
        c.select("select * from tabScen where Id_obj=" + key(objectId) + " and Name='" + SqlQuote(name) + "'");
    for (const QSqlRecord& r : rows) {
        if (FieldInt16(r, "Id") != exceptScenarioId)
            return true;
    }
    return false;
}

qint16 FreeScenarioId(Connection& c, qint16 objectId)
{
    QSet<int> used;
    for (const QSqlRecord& r : c.select("select * from tabScen where Id_obj=" + key(objectId)))
        used.insert(FieldInt16(r, "Id"));
    for (int n = 1; n <= 32767; ++n) {
        if (!used.contains(n))
            return qint16(n);
    }
    return 0;
}

namespace {

qint16 saveScenarioOnce(Connection& c, qint16 objectId, qint16 scenarioId, const ScenarioEntry& entry,
                        const std::optional<ScenarioSnapshot>& asRead)
{
    Transaction t(c);
    RequireObject(c, objectId);
    if (scenarioId != 0)
        requireSnapshot(c, objectId, scenarioId, asRead);
    if (ScenarioNameTaken(c, objectId, entry.name, scenarioId))
        return 0;
    qint16 id = scenarioId;
    if (id == 0) {
        id = FreeScenarioId(c, objectId);
        if (id == 0)
            throw DbError(QStringLiteral("у объекта нет свободного номера сценария"));
        RunKeyHook();
    }
    writeEntry(c, objectId, id, scenarioId == 0, entry);
    t.commit();
    return id;
}

} // namespace

qint16 SaveScenario(Connection& c, qint16 objectId, qint16 scenarioId, const ScenarioEntry& entry,
                    const std::optional<ScenarioSnapshot>& asRead)
{
    if (const auto problem = ValidateScenarioEntry(entry))
        throw std::invalid_argument(problem->message.toStdString());
    return RetryOnKeyTaken([&] { return saveScenarioOnce(c, objectId, scenarioId, entry, asRead); });
}

double DamageMillions(double typed, bool thousandRoubles)
{
    return thousandRoubles ? RoundHalfEven(typed) / 1000 : RoundHalfEven(typed * 1000) / 1000;
}

SaveScenariosOutcome SaveScenarios(Connection& c, qint16 objectId, const QVector<ScenarioEntry>& entries,
                                   bool replaceExisting)
{
    QHash<QString, qint16> byName; // case-folded, as the database compares names
    for (const ScenarioEntry& e : entries) {
        if (const auto problem = ValidateScenarioEntry(e))
            throw std::invalid_argument(problem->message.toStdString());
        if (byName.contains(e.name.toCaseFolded()))
            throw std::invalid_argument("two entries share a classification number");
        byName.insert(e.name.toCaseFolded(), 0);
    }
    Transaction t(c);
    // Indicator rows left without their scenario would join a new scenario that gets their key; with them gone
    // the new scenarios need no delete per row, which on a table without index is a scan each.
    c.exec(QStringLiteral("DELETE FROM tabRisk WHERE Id_obj=? AND Id_scen NOT IN (SELECT Id FROM tabScen WHERE Id_obj=?)"),
           {int(objectId), int(objectId)});
    QHash<QString, qint16> stored;
    QSet<int> used;
    for (const QSqlRecord& r : c.select("select * from tabScen where Id_obj=" + key(objectId))) {
        used.insert(FieldInt16(r, "Id"));
        stored.insert(FieldText(r, "Name").toCaseFolded(), FieldInt16(r, "Id"));
    }
    SaveScenariosOutcome outcome;
    int next = 1;
    for (const ScenarioEntry& e : entries) {
        if (const auto existing = stored.constFind(e.name.toCaseFolded()); existing != stored.constEnd()) {
            if (!replaceExisting) {
                ++outcome.skipped;
                continue;
            }
            writeEntry(c, objectId, *existing, false, e);
            ++outcome.replaced;
            continue;
        }
        while (next <= 32767 && used.contains(next))
            ++next;
        if (next > 32767)
            throw DbError(QStringLiteral("у объекта нет свободного номера сценария"));
        used.insert(next);
        writeEntry(c, objectId, qint16(next), true, e, true);
        ++outcome.added;
    }
    t.commit();
    return outcome;
}

void SetIndicator(Connection& c, qint16 objectId, qint16 scenarioId, int kind, double value,
                  const std::optional<ShownIndicator>& shown)
{
    if (const auto problem = CheckIndicatorValue(kind, value))
        throw std::invalid_argument(problem->toStdString());
    Transaction t(c);
    requireShown(c, objectId, scenarioId, kind, shown);
    writeIndicator(c, objectId, scenarioId, kind, value);
    if (kind == kSevere || kind == kLight)
        syncSanitary(c, objectId, scenarioId);
    t.commit();
}

void ClearIndicator(Connection& c, qint16 objectId, qint16 scenarioId, int kind,
                    const std::optional<ShownIndicator>& shown)
{
    requireEnteredKind(kind);
    Transaction t(c);
    requireShown(c, objectId, scenarioId, kind, shown);
    writeIndicator(c, objectId, scenarioId, kind, std::nullopt);
    if (kind == kSevere || kind == kLight) {
        // The other injury kind alone now makes up the sanitary losses; 0 people means no row.
        const auto other = ReadIndicator(c, objectId, scenarioId, kind == kSevere ? kLight : kSevere);
        const double s = other ? RoundHalfEven(*other) : 0;
        writeIndicator(c, objectId, scenarioId, kSanitary, s != 0 ? std::optional<double>(s) : std::nullopt);
    }
    t.commit();
}

namespace {

// The rows of the kind whose scenario exists are the shown ones: the same scenarios, each shown number still
// stored. Extra rows of a shown scenario (older data may hold several) do not count as a change.
bool kindAsShown(Connection& c, qint16 obj, int kind, const QVector<ShownKindRow>& shown)
{
    QSet<int> scenarios;
    for (const QSqlRecord& r : c.select("select Id from tabScen where Id_obj=" + key(obj)))
        scenarios.insert(FieldInt16(r, "Id"));
    QSet<int> storedIds;
    QSet<QPair<int, double>> stored;
    for (const QSqlRecord& r :
         c.select("select * from tabRisk where Id_obj=" + key(obj) + " and Id_por=" + QString::number(kind))) {
        const int scen = FieldInt16(r, "Id_scen");
        if (!scenarios.contains(scen))
            continue;
        storedIds.insert(scen);
        stored.insert({scen, FieldDouble(r, "Number")});
    }
    QSet<int> shownIds;
    for (const ShownKindRow& row : shown) {
        shownIds.insert(row.scenarioId);
        if (!stored.contains({row.scenarioId, row.number}))
            return false;
    }
    return shownIds == storedIds;
}

} // namespace

void ClearKind(Connection& c, qint16 objectId, int kind, const std::optional<QVector<ShownKindRow>>& shown)
{
    requireEnteredKind(kind);
    Transaction t(c);
    RequireObject(c, objectId);
    if (shown && !kindAsShown(c, objectId, kind, *shown))
        throw DbError(DbFailure::ScenarioChanged, QStringLiteral("показатели вида %1 изменены").arg(kind));
    c.exec(QStringLiteral("DELETE FROM tabRisk WHERE Id_obj=? AND Id_por=?"), {int(objectId), kind});
    t.commit();
}

void DeleteScenario(Connection& c, qint16 objectId, qint16 scenarioId,
                    const std::optional<ScenarioSnapshot>& asRead)
{
    Transaction t(c);
    requireSnapshot(c, objectId, scenarioId, asRead);
    c.exec(QStringLiteral("DELETE FROM tabScen WHERE Id_obj=? AND Id=?"), {int(objectId), int(scenarioId)});
    c.exec(QStringLiteral("DELETE FROM tabRisk WHERE Id_obj=? AND Id_scen=?"), {int(objectId), int(scenarioId)});
    t.commit();
}

} // namespace zarnel

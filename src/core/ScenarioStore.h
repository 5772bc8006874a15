#pragma once
// The data rules the scenario editor and the indicator window share: scenarios and their indicators
// (tabScen, tabRisk), each change in one transaction. Kinds are the tabRisk.Id_por codes: 0 fatalities,
// 1 severe injuries, 2 light injuries, 3 damage in million roubles, 4 sanitary losses. A scenario's kind-4
// row is derived: it holds severe + light and exists while either of them does.
//
// Every function works on a connection the calling handler opened; none may run inside a transaction
// of the caller. Database failures throw DbError and leave nothing half-written.
//
// Several program instances may share the database. A change is checked inside its transaction against what
// the window read (the object still exists; the scenario row and indicators are as shown) and refused with
// DbError (ObjectGone, ScenarioGone, ScenarioChanged) otherwise.

#include "core/Database.h"

#include <QString>
#include <QVector>
#include <array>
#include <optional>

namespace zarnel {

// What the scenario editor stores for one scenario.
struct ScenarioEntry {
    QString name;    // classification number (tabScen.Name)
    QString title;   // tabScen.Opis; empty for no title
    double risk = 0; // events per year
    // Kinds 0..3: a value when the kind is ticked, nothing when it is not.
    std::array<std::optional<double>, 4> indicators;
};

// One tabScen row.
struct ScenarioRecord {
    qint16 id = 0;
    QString name;
    QString title; // empty when Opis is empty or null
    double risk = 0;

    friend bool operator==(const ScenarioRecord&, const ScenarioRecord&) = default;
};

// A scenario as a window read it: its row and its indicators of kinds 0..3.
struct ScenarioSnapshot {
    ScenarioRecord row;
    std::array<std::optional<double>, 4> indicators;

    friend bool operator==(const ScenarioSnapshot&, const ScenarioSnapshot&) = default;
};

// An indicator as a window showed it; no value when the scenario had none of the kind.
struct ShownIndicator {
    std::optional<double> value;
};

// One row of a kind as a window listed it.
struct ShownKindRow {
    qint16 scenarioId = 0;
    double number = 0;
};

// Where an entry breaks the rules of what may be stored, with the message the user reads.
struct EntryProblem {
    enum Field { Name, Frequency, Indicator } field = Name;
    int kind = -1; // the indicator's kind 0..3 when field is Indicator
    QString message;
};

// The consequence kind 0..3 as the entry windows name it in their messages: "гибель, чел." ...
QString EntryKindLabel(int kind);

// Nothing when value may be stored as the indicator of kind 0..3 (people: a whole number 0..kMaxPeople;
// damage: 0..kMaxDamage million roubles), otherwise the message. NaN stands for a text that is no number.
std::optional<QString> CheckIndicatorValue(int kind, double value);

// Nothing when the entry may be stored: a classification number, a frequency within
// kMinFrequency..kMaxFrequency (up to rounding) and every ticked indicator as CheckIndicatorValue wants it.
// Otherwise the first problem, in the order name, frequency, kinds 0..3.
std::optional<EntryProblem> ValidateScenarioEntry(const ScenarioEntry& entry);

// Stores the entry: the scenario row (a new one with the smallest free key of the object when scenarioId is 0,
// otherwise the row scenarioId), one tabRisk row per ticked kind 0..3, no row for an unticked kind, and the
// kind-4 row. Returns the scenario's Id, or 0 without writing anything when another scenario of the object
// already has this classification number (compared as the database compares names: case-insensitive).
// Throws DbError when the object is gone, scenarioId names no scenario of the object (ScenarioGone), the
// scenario is no longer as asRead holds (ScenarioChanged), or the object has no free key left, and
// std::invalid_argument for an entry that ValidateScenarioEntry refuses.
qint16 SaveScenario(Connection& c, qint16 objectId, qint16 scenarioId, const ScenarioEntry& entry,
                    const std::optional<ScenarioSnapshot>& asRead = std::nullopt);

// A typed damage as stored, in million roubles: million roubles keep three decimals, thousand roubles are whole
// and divided by 1000 (each rounded half to even). NaN stays NaN for the entry check to refuse.
double DamageMillions(double typed, bool thousandRoubles);

// Stores many entries in one transaction, all or nothing, each as SaveScenario stores it: new scenarios get the
// smallest free keys in turn. An entry whose classification number the object already has replaces that
// scenario's data (keeping its key) when replaceExisting, otherwise is left out. Throws std::invalid_argument
// when ValidateScenarioEntry refuses an entry or two entries share a classification number, and DbError when
// the object has no free key left for a new scenario.
struct SaveScenariosOutcome {
    int added = 0;
    int replaced = 0;
    int skipped = 0;
};
SaveScenariosOutcome SaveScenarios(Connection& c, qint16 objectId, const QVector<ScenarioEntry>& entries,
                                   bool replaceExisting);

// Adds or changes the indicator of kind 0..3; for kinds 1 and 2 the kind-4 row follows. Refused when the
// scenario is gone or its indicator is no longer the shown one; std::invalid_argument for a value that
// CheckIndicatorValue refuses.
void SetIndicator(Connection& c, qint16 objectId, qint16 scenarioId, int kind, double value,
                  const std::optional<ShownIndicator>& shown = std::nullopt);

// The indicator window's "Обнулить" for one scenario: removes the indicator of kind 0..3. For kinds 1 and 2 the
// kind-4 row becomes the other injury kind's number (rounded to a whole number), or goes when that is 0 or absent;
// it is created when missing and needed. Kinds 0 and 3 leave kind 4 alone. Refused as SetIndicator is.
void ClearIndicator(Connection& c, qint16 objectId, qint16 scenarioId, int kind,
                    const std::optional<ShownIndicator>& shown = std::nullopt);

// Removes every indicator of kind 0..3 of the object. Kind-4 rows stay as they are. Refused (ScenarioChanged)
// when the object's named rows of the kind are no longer the shown ones.
void ClearKind(Connection& c, qint16 objectId, int kind, const std::optional<QVector<ShownKindRow>>& shown = std::nullopt);

// Removes the scenario and all its tabRisk rows, kind 4 included. Refused when the scenario is gone or no
// longer as asRead holds.
void DeleteScenario(Connection& c, qint16 objectId, qint16 scenarioId,
                    const std::optional<ScenarioSnapshot>& asRead = std::nullopt);

// The scenario row with its indicators of kinds 0..3, or nothing.
std::optional<ScenarioSnapshot> ReadScenarioSnapshot(Connection& c, qint16 objectId, qint16 scenarioId);

// A tabScen row of a select as a ScenarioRecord.
ScenarioRecord ScenarioRecordOf(const QSqlRecord& r);

// The scenarios of the object, classification numbers ascending.
QVector<ScenarioRecord> ListScenarios(const Connection& c, qint16 objectId);

// The people counts the entry windows offer (tabNumber), ascending as the database sorts names.
QStringList ListPeopleCounts(const Connection& c);

// The scenario row, or nothing.
std::optional<ScenarioRecord> FindScenario(Connection& c, qint16 objectId, qint16 scenarioId);
// The first scenario of the object with this classification number (any characters, ' included), or nothing.
std::optional<ScenarioRecord> FindScenarioByName(Connection& c, qint16 objectId, const QString& name);
// True when a scenario of the object other than exceptScenarioId has this classification number.
bool ScenarioNameTaken(Connection& c, qint16 objectId, const QString& name, qint16 exceptScenarioId = 0);

// The Number of the scenario's indicator of kind 0..4, or nothing when it has none.
std::optional<double> ReadIndicator(Connection& c, qint16 objectId, qint16 scenarioId, int kind);

// The smallest key 1, 2, ... not used by a scenario of the object; 0 when all 32767 are taken.
qint16 FreeScenarioId(Connection& c, qint16 objectId);

} // namespace zarnel

#pragma once
// Criterion lines of societal risk and limits of individual risk: the built-in ones, the user's own (table
// tabKriteriy), and which of them each object shows (tabKriteriyObj, tabDopRisk). These tables live beside the
// five tables of the risk data and are created where missing; the five are never changed for them.

#include "core/Database.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <array>
#include <optional>

namespace zarnel {

// F = C / N^alpha on n1 <= N <= n2.
struct CriterionLine {
    QString name;
    double c = 0;             // F at N = 1, per year
    double alpha = 0;         // 0 with n1 == n2: a single-point criterion
    double n1 = 1;            // lower end of the range
    std::optional<double> n2; // upper end; nothing: up to the largest value of the kind
    unsigned kinds = 1u;      // one bit per kind code (1 << Id_por); fatalities by default
    unsigned colour = 0x000000; // 0xRRGGBB
    QString source;
    bool builtIn = false;

    double at(double n) const;
    bool appliesTo(int kind) const { return (kinds >> kind) & 1u; }
};

// A limit of the individual risk of one people kind, per year.
struct IndividualLimit {
    double value = 0;
    QString source;
};

// Lines whose numbers are verified against their sources; read-only.
const QVector<CriterionLine>& BuiltInCriteria();
// 1E-6 per year after the fire-safety law for production objects.
const IndividualLimit& BuiltInIndividualLimit();

// Longest name and source the tables hold.
inline constexpr int kCriterionTextLength = 255;

void EnsureCriteriaTables(Connection& c);

// Built-in lines first, then the user's in name order.
QVector<CriterionLine> AllCriteria(Connection& c);
// A line by name (built-in or the user's, compared case-insensitively), or nothing.
std::optional<CriterionLine> FindCriterion(Connection& c, const QString& name);

// The Russian message for a line that cannot be stored, or nothing. previousName is the name of the line being
// changed (empty for a new one), so that keeping its own name is no duplicate.
std::optional<QString> CheckCriterion(Connection& c, const CriterionLine& line, const QString& previousName);
// Adds (previousName empty) or changes a user's line; the objects that showed it under its old name go on
// showing it. Throws std::invalid_argument for a line CheckCriterion refuses, DbError on failure.
void SaveCriterion(Connection& c, const CriterionLine& line, const QString& previousName);
// Removes a user's line and every object's choice of it.
void DeleteCriterion(Connection& c, const QString& name);

// Names of the lines the object shows, in the order of AllCriteria; names of lines that no longer exist are left out.
QStringList ChosenCriteria(Connection& c, qint16 objectId);
void SetChosenCriteria(Connection& c, qint16 objectId, const QStringList& names);

std::optional<IndividualLimit> ChosenLimit(Connection& c, qint16 objectId, int kind);
void SetChosenLimit(Connection& c, qint16 objectId, int kind, const std::optional<IndividualLimit>& limit);

// The object's whole choice at once, in one transaction: the lines it shows and a limit (or none) per people kind
// (by kind code; the damage entry is ignored).
void SaveCriteriaChoices(Connection& c, qint16 objectId, const QStringList& names,
                         const std::array<std::optional<IndividualLimit>, 5>& limits);

// Removes an object's choices (when the object goes) and copies them (when it is saved under another name).
void DeleteCriteriaChoices(Connection& c, qint16 objectId);
void CopyCriteriaChoices(Connection& c, qint16 fromObjectId, qint16 toObjectId);

} // namespace zarnel

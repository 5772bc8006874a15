#pragma once
// The diagram build behind "ПОСТРОИТЬ ДИАГРАММЫ": per consequence kind the distribution of the object's
// indicators, the two chart plans with their axis boxes, the result table and the risk indicators.
// No widget here: the results window replays what a build returns.
//
// Use from the indicator window:
//     EntryCheck e = CheckEntry(input);                    // sets PeopleAtRisk when the text converts
//     if (e.outcome == EntryCheck::PeopleInvalid || e.outcome == EntryCheck::NothingEntered) -> show e.message, stop
//     Connection c;                                        // the build's connection
//     if (e.outcome == EntryCheck::AskPeople && ask(e.message) != Yes) -> focus People, stop
//     BuildResult r = BuildAll(c, CurrentObjectId, input.inputGridVisible, e.peopleValue);
//     if (!r.ok) -> show r.error, stop
//     for each kind k in ProcessingOrder: if r.kinds[k].ran replay its plans, fill its boxes, grid and labels;
//     set every outer page's availability from r.pageAvailable.

#include "core/Database.h"
#include "risk/ChartPlan.h"
#include "risk/Contributions.h"
#include "risk/Criteria.h"
#include "risk/Kinds.h"
#include "risk/ResultTable.h"

#include <QPointF>
#include <QString>
#include <QVector>
#include <array>

namespace zarnel {

// One row of the distribution table: a value (people or million roubles) with the frequencies per year of
// events with at least and with exactly that value.
struct DistRow {
    double value = 0;
    double atLeast = 0;
    double exactly = 0;
    bool operator==(const DistRow&) const = default;
};

struct AxisBounds {
    double minX = 0;
    double maxX = 0;
    double minY = 0;
    double maxY = 0;
};

// Texts of a chart's four bound boxes: lower X, upper X, lower Y, upper Y.
struct AxisTexts {
    QString minX;
    QString maxX;
    QString minY;
    QString maxY;
    bool operator==(const AxisTexts&) const = default;
};

struct KindResult {
    int kind = KindFatalities;
    bool ran = false; // false: the kind had no data; its page goes off and its controls keep what they show

    // Rows 1..K of the distribution (row r at index r - 1): data rows odd, corner rows of the steps even.
    QVector<DistRow> dist;
    QVector<QPointF> stepCurve;    // rows 1..K as (value, at least), descending value
    QVector<QPointF> polygonCurve; // the D data points as (value, exactly), ascending value
    double minExact = 0;
    double maxExact = 0;

    AxisBounds stepAxes;
    AxisBounds polygonAxes;
    AxisTexts stepBoxes;    // OX1, OX2, OY1, OY2 (and the kind's equivalents)
    AxisTexts polygonBoxes; // OX1_mn, OX2_mn, OY1_mn, OY2_mn (and equivalents)
    ChartPlan stepPlan;     // chart number KindInfoOf(kind).stepChart
    ChartPlan polygonPlan;  // chart number KindInfoOf(kind).polygonChart

    ResultTable table;

    QVector<KindCriterion> criteria; // the chosen lines that apply to the kind (JudgeCriteria)
    QString limitText;               // after the individual risk when a limit is chosen; empty otherwise

    double riskSum = 0;     // collective risk (people per year) or expected damage (million roubles per year)
    QString collectiveText; // K_Sm_por, K_T_por, K_L_por, K_San_por, K_Ush
    QString individualText; // I_Sm_por ...; empty for damage, which has no individual label

    ContributionTable contributions; // the scenarios' shares of riskSum

    int rowCount() const { return int(dist.size()); }              // K
    int distinctCount() const { return int(polygonCurve.size()); } // D
};

// Data the results window's redraw and the report read after a build. Not cleared between builds: a kind that
// does not run leaves its chart slots as they were.
extern QVector<DistRow> DistTable;                   // rows of the kind processed last, row r at index r - 1
extern int DistRowCount;                             // K of that kind
extern std::array<QVector<QPointF>, 11> ChartPoints; // by chart number 1..10; point i at index i - 1
extern std::array<int, 11> ChartPointCount;          // by chart number 1..10

struct UserMessage {
    enum Buttons { Ok, YesNo };
    QString text;
    QString title;
    Buttons buttons = Ok;
};

struct BuildInput {
    QString peopleText;                     // the indicator window's People box
    std::array<bool, 4> inputGridVisible{}; // kinds 0..3: tabPokaz, tabPokaz_m, tabPokaz_m1, tabPokaz_m2
    bool directBuild = false;               // DirectBuild is -1
};

struct EntryCheck {
    enum Outcome {
        Proceed,        // build
        AskPeople,      // ask message (Yes/No); build on Yes, otherwise focus People and stop
        NothingEntered, // show message and stop; no connection is opened
        PeopleInvalid,  // show message and stop: People is no whole number 0..32767
    };
    Outcome outcome = Proceed;
    qint16 peopleAtRisk = 0;
    double peopleValue = 0; // People as a Double: the zero test and the divisor of the individual risk
    UserMessage message;
};

// The entry checks of a build, before any database use. Sets PeopleAtRisk unless the outcome is PeopleInvalid.
EntryCheck CheckEntry(const BuildInput& input);

// How the database is read. Batched: each kind's two ordered indicator queries and the object's scenarios once.
// StatementByStatement: every scenario, at-least and exactly statement issued one by one, as the build is
// described; kept to prove that both give the same results and to measure the difference.
enum class ReadMode { Batched, StatementByStatement };

// One kind of one object. A kind without indicator rows comes back with ran = false. Throws DbError.
KindResult BuildKind(Connection& c, qint16 objectId, int kind, double peopleValue, ReadMode mode = ReadMode::Batched);

struct BuildResult {
    bool ok = true;
    UserMessage error;                           // when !ok: the failure, for a message box
    std::array<KindResult, KindCount> kinds;     // by kind code
    std::array<bool, KindCount> pageAvailable{}; // by page of the outer tab strip (KindInfo::outerPage)
    double peopleValue = 0;                      // the divisor of the individual risk the build used
};

// All kinds in ProcessingOrder: kinds 0..3 run when their input grid is visible, kind 4 when kind 1 or 2 ran.
// On success stores DistTable, DistRowCount, ChartPoints and ChartPointCount as the build leaves them; a failed
// build (ok = false) changes none of them.
BuildResult BuildAll(Connection& c, qint16 objectId, const std::array<bool, 4>& inputGridVisible, double peopleValue,
                     ReadMode mode = ReadMode::Batched);

} // namespace zarnel

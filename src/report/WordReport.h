#pragma once
// "Вывод результатов в MWord": the whole result of the current build in one document: title, the object's
// scenarios, the number of people at risk, and per consequence kind its risk values, indicator table and both
// charts as currently drawn.

#include "report/ResultsView.h"

#include <QDateTime>
#include <QString>
#include <QVector>
#include <optional>

class DocxWriter;

namespace zarnel {

class IProgress;

class Connection;

struct ReportScenario {
    QString name; // classification number
    QString opis; // title; empty when null
};

struct ReportObject {
    QString name;
    QVector<ReportScenario> scenarios; // by classification number
};

// The object's name and scenarios; nothing when the object's row is missing. Throws DbError.
std::optional<ReportObject> ReadReportObject(const Connection& c, qint16 objectId);

// The report log: one tabOtchet row with the moment of the request. Throws DbError.
void WriteReportLog(const Connection& c, const QDateTime& moment);
// The same on a connection of its own; a database failure is told in a message and returns false.
bool LogReport(const QDateTime& moment);

// Writes the report into an empty document. Shows each chart's tab while copying it and puts every tab strip of
// the view back afterwards; the user's input is held back meanwhile. With a progress service, tells it how far
// the report got (out of ReportSteps) and stops, returning false, when the user cancels.
bool WriteReport(DocxWriter& document, const ReportObject& object, qint16 peopleAtRisk, const ResultsView& view,
                 IProgress* progress = nullptr);
int ReportSteps(const ReportObject& object, const ResultsView& view);

// Writes the report and saves it under path; on failure nothing is left there and error says why; a cancelled
// report writes nothing and sets cancelled. The batch report and the menu command share it.
bool SaveReport(const QString& path, const ReportObject& object, qint16 peopleAtRisk, const ResultsView& view,
                QString* error, IProgress* progress = nullptr, bool* cancelled = nullptr);

// The report of the current object (CurrentObjectId, PeopleAtRisk): save dialog, report saved and opened.
// Failures are told in a message; cancelling the dialog writes no document.
void ExportReportToWord(const ResultsView& view);

} // namespace zarnel

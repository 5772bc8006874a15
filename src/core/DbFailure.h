#pragma once
// Why a database action failed, told from the driver's error code and text, and the Russian sentence the
// user reads for it. The driver's own text only goes to the log.

#include <QString>

class QSqlError;

namespace zarnel {

enum class DbFailure {
    Other,
    ReadOnly,        // the file or the server refuses writes
    Locked,          // another program holds the database or the rows
    DiskFull,
    Unreachable,     // file missing or not openable, server down, data source unknown
    Access,          // wrong user or password, no rights
    ForeignDatabase, // the file or data source holds something that is not this program's database
    ObjectChanged,   // the object was changed by someone else since the window read it
    ObjectGone,      // ... or deleted
    ScenarioChanged,
    ScenarioGone,
    KeyTaken,        // another program took the same key at the same moment (unique key refused)
};

// From a driver error: SQLite result codes (primary or extended), SQLSTATE codes and message texts of
// ODBC drivers (unixODBC, SQLite ODBC, PostgreSQL).
DbFailure ClassifyDbFailure(const QString& nativeCode, const QString& text, bool sqliteCodes);
DbFailure ClassifyDbFailure(const QSqlError& error);

// What happened and what to do, as a sentence of its own.
QString DbFailureReason(DbFailure cause);
// The message shown to the user: the reason after "Ошибка базы данных: " (a refused save stands alone).
QString DbFailureText(DbFailure cause);

// True for the refusals of a save whose row someone else changed or deleted meanwhile.
bool IsConflict(DbFailure cause);

} // namespace zarnel

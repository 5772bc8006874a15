#pragma once
// Why a database action failed, told from the driver's error code and text, and the Russian sentence the
// user reads for it. The embedded database's own text only goes to the log; a data source's text is shown
// after the sentence, since there the server's administrator needs it.

#include <QString>

class QSqlError;

namespace zarnel {

enum class DbFailure {
    Other,
    ReadOnly,        // the file or the server refuses writes
    Locked,          // another program holds the database or the rows
    DiskFull,
    Unreachable,     // file missing or not openable, server down, data source unknown
    Access,          // wrong user or password
    NoRights,        // logged in, but the role may not read or change a table
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

// The message for a failure of a data source (a server): the cause in a few words ("сервер недоступен",
// "неверный пароль", "нет прав на таблицу tabScen"), what to do, and the driver's text.
QString ServerFailureText(DbFailure cause, const QString& driverText);

// The table a "permission denied for table x" names, spelt as the program names it; empty when none.
QString RefusedTable(const QString& driverText);

// True for the refusals of a save whose row someone else changed or deleted meanwhile.
bool IsConflict(DbFailure cause);

} // namespace zarnel

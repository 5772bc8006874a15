#pragma once
// Access to the risk database: connection strings, opening (embedded SQLite or an ODBC data source),
// the five tables, and a connection object used the connect-and-close way by every handler.

#include "core/DbFailure.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QVector>
#include <stdexcept>

namespace zarnel {

// The data source name that stands for the embedded database beside the program.
inline constexpr const char* kDefaultDataSource = "MS Access Database";
// File name of the embedded database in the program folder.
inline constexpr const char* kDatabaseFileName = "dbRisk.sqlite";

QString DatabaseFilePath();
QString DefaultConnectionString();
QString ReadWriteConnectionString(const QString& dsn);
QString PlainConnectionString(const QString& dsn);

// "Data Source" and "Initial Catalog" of a connection string ("" when absent; quotes removed).
QString ConnectionStringValue(const QString& connectionString, const QString& key);

// Opens and closes one connection; the error text of the failure otherwise.
bool TryConnect(const QString& connectionString, QString* error = nullptr);
// Sets ConnectionString to the read-write form for dsn and proves it; never shows a message.
bool ConnectWithDsn(const QString& dsn);

// A database failure: the statement that failed, the database's own text (for the log) and its cause.
class DbError : public std::runtime_error {
public:
    // The cause is told from the text.
    DbError(const QString& message, const QString& statement = {});
    DbError(DbFailure cause, const QString& message, const QString& statement = {});
    // A statement the driver refused; logged under zarnel.db with its SQL, the driver's text and code.
    static DbError fromSql(const QSqlError& error, const QString& statement);
    QString message;
    QString statement;
    DbFailure cause = DbFailure::Other;
};

// A name made safe between single quotes: every ' doubled.
QString SqlQuote(const QString& text);

// One connection, opened with a connection string (ConnectionString by default) and closed when it goes.
class Connection {
public:
    Connection(); // throws DbError when the database cannot be opened
    explicit Connection(const QString& connectionString);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    QSqlDatabase database() const;
    bool isSqlite() const;

    // Runs a SELECT and returns every row; throws DbError.
    QVector<QSqlRecord> select(const QString& sql) const;
    // Runs a statement with bound values ('?' placeholders); throws DbError. Returns rows affected.
    int exec(const QString& sql, const QVariantList& values = {}) const;

    void begin();
    void commit();
    void rollback();

private:
    QString m_name;
};

// Rolls back unless committed: a multi-step change is all or nothing.
class Transaction {
public:
    explicit Transaction(Connection& c);
    ~Transaction();
    void commit();

private:
    Connection& m_connection;
    bool m_done = false;
};

// Value helpers for record fields: a 16-bit integer (0 for null or empty), text, double.
qint16 FieldInt16(const QSqlRecord& r, const char* name);
QString FieldText(const QSqlRecord& r, const char* name);
double FieldDouble(const QSqlRecord& r, const char* name);
bool FieldIsEmpty(const QSqlRecord& r, const char* name);

// Creates missing tables (and, for a new embedded database, the initial people counts).
void EnsureSchema(Connection& c);

// Test hook: decides TryConnect instead of the database (start-up decisions without real data sources).
using ConnectTester = bool (*)(const QString& connectionString);
void SetConnectTester(ConnectTester tester);

// Test hook: called with each statement Connection::exec runs; throwing from it simulates a failure.
using ExecHook = void (*)(const QString& sql);
void SetExecHook(ExecHook hook);

} // namespace zarnel

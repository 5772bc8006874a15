#pragma once
// Access to the risk database: connection strings, opening (embedded SQLite or an ODBC data source),
// the five tables, and a connection object used the connect-and-close way by every handler.

#include "core/DbFailure.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
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
    // The data source's own text (a server's reason), shown to the user; empty for the embedded database.
    QString serverText;
};

// Why the last TryConnect (or ConnectWithDsn) that failed could not open the database.
DbError LastConnectFailure();

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
    // Told by the driver from the data source's DBMS name when the connection opens.
    bool isPostgres() const { return m_postgres; }

    // Runs a SELECT and returns every row; throws DbError. values are bound to its '?' placeholders.
    QVector<QSqlRecord> select(const QString& sql, const QVariantList& values = {}) const;
    // Runs a statement with bound values ('?' placeholders); throws DbError. Returns rows affected.
    int exec(const QString& sql, const QVariantList& values = {}) const;

    // A writing transaction: one writer at a time on the database (SQLite's write lock, an advisory lock on the
    // server), so a check of the rows and the write relying on it cannot interleave with another program's change.
    void begin();
    // One consistent view of the database for a series of reads.
    void beginReadOnly();
    void commit();
    void rollback();

private:
    QString m_name;
    bool m_postgres = false;
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

// Reads in one consistent snapshot; ends (rolls back) when it goes.
class ReadSnapshot {
public:
    explicit ReadSnapshot(Connection& c);
    ~ReadSnapshot();

private:
    Connection& m_connection;
};

// Column types of the database's own dialect for the tables the program creates.
struct ColumnTypes {
    QString name;   // a name column, compared case-insensitively and sorted the Russian way
    QString real;   // a double-precision number
};
ColumnTypes ColumnTypesOf(const Connection& c);

// The login the data source name field carries ("zarnel;UID=ivanov;PWD=..."): the name for the driver
// without UID/PWD, and the user and password when given.
struct DataSourceLogin {
    QString dataSource;
    QString user;
    QString password;
};
DataSourceLogin SplitDataSourceLogin(const QString& nameField);

// A user and password typed at the server's refusal, kept in memory for this run only; they replace the
// login of the data source (odbc.ini or UID/PWD in the name field). Empty user clears it.
void SetServerLogin(const QString& user, const QString& password);

// Runs a change that assigns a new key again when another program took the same key at the same moment
// (refused by the database's unique key), a few times before giving up.
template <class Change>
auto RetryOnKeyTaken(Change change)
{
    for (int attempt = 1;; ++attempt) {
        try {
            return change();
        } catch (const DbError& e) {
            if (e.cause != DbFailure::KeyTaken || attempt == 5)
                throw;
        }
    }
}

// Value helpers for record fields: a 16-bit integer (0 for null or empty), text, double.
qint16 FieldInt16(const QSqlRecord& r, const char* name);
QString FieldText(const QSqlRecord& r, const char* name);
double FieldDouble(const QSqlRecord& r, const char* name);
bool FieldIsEmpty(const QSqlRecord& r, const char* name);

// A table the program creates when it is missing: its CREATE TABLE and the indexes that follow.
struct TableDefinition {
    QString name;
    QStringList statements;
};
// Creates the tables that are missing (existing ones are used as they are); afterwards gets the lower-case
// names present before. On the server in one transaction, with the collation the name columns use.
void CreateMissingTables(Connection& c, const QVector<TableDefinition>& tables,
                         const std::function<void(const QSet<QString>&)>& afterwards = {});

// Creates missing tables (and, for a new embedded database, the initial people counts).
void EnsureSchema(Connection& c);

// Test hook: decides TryConnect instead of the database (start-up decisions without real data sources).
using ConnectTester = bool (*)(const QString& connectionString);
void SetConnectTester(ConnectTester tester);

// Test hook: called with each statement Connection::exec runs; throwing from it simulates a failure.
using ExecHook = void (*)(const QString& sql);
void SetExecHook(ExecHook hook);

// Test hook: called when a new key has been chosen and before the row is written (races of two programs).
using KeyHook = void (*)();
void SetKeyHook(KeyHook hook);
void RunKeyHook();

// Test hook: false lets writing transactions start without the one-writer lock (a deferred BEGIN on SQLite,
// no advisory lock on the server), to show what the lock prevents.
void SetWriterLock(bool on);

} // namespace zarnel

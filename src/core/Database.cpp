#include "core/Database.h"

#include "core/Log.h"
#include "core/ProgramFolder.h"
#include "core/Shared.h"

#include <QCollator>
#include <QMutex>
#include <QSet>
#include <QSqlDriver>
#include <QSqlError>
#include <QStringList>
#include <algorithm>
#include <atomic>
#include <functional>
#include <initializer_list>
#include <optional>
#include <sqlite3.h>

namespace zarnel {

namespace {

const char* const kPrefix = "Provider=MSDASQL.1;Password=9461;Persist Security Info=True;User ID=Admin;";

ExecHook g_execHook = nullptr;
KeyHook g_keyHook = nullptr;
bool g_writerLock = true;
QString g_serverUser;
QString g_serverPassword;
// Any fixed number: the key of the advisory lock every writing transaction of the program takes.
constexpr int kWriteLock = 946115;
ConnectTester g_connectTester = nullptr;

// Case-insensitive for Cyrillic as well, ordered as a Russian reader expects ("С2" before "С10").
int compareNames(const QString& a, const QString& b)
{
    const QString fa = a.toCaseFolded();
    const QString fb = b.toCaseFolded();
    if (fa == fb)
        return 0;
    thread_local QCollator collator = [] {
        QCollator c(QLocale(QLocale::Russian, QLocale::Russia));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        c.setNumericMode(true);
        return c;
    }();
    const int byCollator = collator.compare(a, b);
    if (byCollator != 0)
        return byCollator;
    return fa < fb ? -1 : 1;
}

int sqliteCompare(void*, int lenA, const void* a, int lenB, const void* b)
{
    return compareNames(QString::fromUtf8(static_cast<const char*>(a), lenA),
                        QString::fromUtf8(static_cast<const char*>(b), lenB));
}

void registerCollation(const QSqlDatabase& db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return;
    sqlite3* h = *static_cast<sqlite3* const*>(handle.constData());
    if (h)
        sqlite3_create_collation(h, "RUNOCASE", SQLITE_UTF8, nullptr, sqliteCompare);
}

QString nextConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("zarnel_%1").arg(++counter);
}

} // namespace

QString DatabaseFilePath()
{
    return ProgramFile(QString::fromLatin1(kDatabaseFileName));
}

QString DefaultConnectionString()
{
    return QString::fromLatin1(kPrefix) + "Data Source=MS Access Database;Initial Catalog=" + DatabaseFilePath();
}

QString ReadWriteConnectionString(const QString& dsn)
{
    return QString::fromLatin1(kPrefix) + "Data Source='" + dsn +
           "';Mode=ReadWrite ;Initial Catalog=" + DatabaseFilePath();
}

QString PlainConnectionString(const QString& dsn)
{
    return QString::fromLatin1(kPrefix) + "Data Source='" + dsn + "';Initial Catalog=" + DatabaseFilePath();
}

QString ConnectionStringValue(const QString& connectionString, const QString& key)
{
    const QString needle = key + QLatin1Char('=');
    int pos = 0;
    while (pos < connectionString.size()) {
        int end = connectionString.indexOf(QLatin1Char(';'), pos);
        QString token;
        if (connectionString.mid(pos).trimmed().startsWith(needle, Qt::CaseInsensitive)) {
            const int valueStart = connectionString.indexOf(QLatin1Char('='), pos) + 1;
            if (valueStart < connectionString.size() && connectionString.at(valueStart) == QLatin1Char('\'')) {
                const int close = connectionString.indexOf(QLatin1Char('\''), valueStart + 1);
                return close < 0 ? connectionString.mid(valueStart + 1)
                                 : connectionString.mid(valueStart + 1, close - valueStart - 1);
            }
            token = end < 0 ? connectionString.mid(valueStart) : connectionString.mid(valueStart, end - valueStart);
            return token.trimmed();
        }
        if (end < 0)
            break;
        pos = end + 1;
    }
    return QString();
}

DbError::DbError(const QString& m, const QString& s)
    : DbError(ClassifyDbFailure(QString(), m, false), m, s)
{
}

DbError::DbError(DbFailure c, const QString& m, const QString& s)
    : std::runtime_error(m.toStdString())
    , message(m)
    , statement(s)
    , cause(c)
{
}

DbError DbError::fromSql(const QSqlError& error, const QString& statement)
{
    qCWarning(lcDb).noquote() << "failed:" << (statement.isEmpty() ? QStringLiteral("(no statement)") : statement)
                              << "| driver:" << error.text() << "| code:" << error.nativeErrorCode();
    DbError e(ClassifyDbFailure(error), error.text(), statement);
    if (error.driverText().startsWith(QLatin1String("QODBC")))
        e.serverText = error.databaseText().trimmed().isEmpty() ? error.text() : error.databaseText().trimmed();
    return e;
}

QString SqlQuote(const QString& text)
{
    QString r = text;
    r.replace(QLatin1Char('\''), QLatin1String("''"));
    return r;
}

Connection::Connection() : Connection(ConnectionString) {}

Connection::Connection(const QString& connectionString) : m_name(nextConnectionName())
{
    const QString source = ConnectionStringValue(connectionString, QStringLiteral("Data Source"));
    const QString catalog = ConnectionStringValue(connectionString, QStringLiteral("Initial Catalog"));
    const bool embedded = source.compare(QLatin1String(kDefaultDataSource), Qt::CaseInsensitive) == 0;
    std::optional<DbError> error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(embedded ? "QSQLITE" : "QODBC", m_name);
        if (embedded) {
            db.setDatabaseName(catalog);
        } else {
            // The data source's own login (odbc.ini, or UID/PWD in the name field); a file data source ignores it.
            const DataSourceLogin login = SplitDataSourceLogin(source);
            db.setDatabaseName(login.dataSource); // the ODBC driver adds "DSN=" itself
            const bool typed = !g_serverUser.isEmpty();
            db.setUserName(typed ? g_serverUser : login.user);
            db.setPassword(typed ? g_serverPassword : login.password);
        }
        if (source.isEmpty() || (catalog.isEmpty() && embedded))
            error = DbError(DbFailure::Unreachable, QStringLiteral("не задан источник данных"));
        else if (!db.open()) {
            error = DbError::fromSql(db.lastError(), QStringLiteral("(open) ") + SplitDataSourceLogin(source).dataSource +
                                                        QLatin1Char(' ') + catalog); // never the password
            // What cannot be opened is out of reach unless the driver says why.
            if (error->cause == DbFailure::Other)
                error->cause = DbFailure::Unreachable;
        }
        else if (!embedded) {
            m_postgres = db.driver()->dbmsType() == QSqlDriver::PostgreSQL;
        }
        if (!error && embedded) {
            registerCollation(db);
            // A file that is not a database opens without complaint; the first statement tells.
            QSqlQuery probe(db);
            const QString sql = QStringLiteral("select count(*) from sqlite_master");
            if (!probe.exec(sql))
                error = DbError::fromSql(probe.lastError(), sql);
        }
    }
    if (!error) {
        try {
            EnsureSchema(*this);
        } catch (const DbError& e) {
            error = e;
        }
    }
    if (error) {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
        m_name.clear();
        throw *error;
    }
}

Connection::~Connection()
{
    if (m_name.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase Connection::database() const
{
    return QSqlDatabase::database(m_name, false);
}

bool Connection::isSqlite() const
{
    return database().driverName() == QLatin1String("QSQLITE");
}

QVector<QSqlRecord> Connection::select(const QString& sql, const QVariantList& values) const
{
    QSqlQuery q(database());
    q.setForwardOnly(true);
    const bool done = values.isEmpty() ? q.exec(sql) : [&] {
        if (!q.prepare(sql))
            return false;
        for (const QVariant& v : values)
            q.addBindValue(v);
        return q.exec();
    }();
    if (!done)
        throw DbError::fromSql(q.lastError(), sql);
    QVector<QSqlRecord> rows;
    while (q.next())
        rows.append(q.record());
    return rows;
}

int Connection::exec(const QString& sql, const QVariantList& values) const
{
    if (g_execHook)
        g_execHook(sql);
    QSqlQuery q(database());
    if (!q.prepare(sql))
        throw DbError::fromSql(q.lastError(), sql);
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw DbError::fromSql(q.lastError(), sql);
    return q.numRowsAffected();
}

void Connection::begin()
{
    QSqlDatabase db = database();
    if (isSqlite()) {
        // The write lock from the start: a check of the rows and the write that relies on it cannot interleave
        // with another program's change.
        const QString sql = g_writerLock ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN");
        QSqlQuery q(db);
        if (!q.exec(sql))
            throw DbError::fromSql(q.lastError(), sql);
        return;
    }
    if (!db.transaction())
        throw DbError::fromSql(db.lastError(), QStringLiteral("BEGIN"));
    if (m_postgres && g_writerLock) {
        try {
            exec(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kWriteLock));
        } catch (...) {
            db.rollback();
            throw;
        }
    }
}

void Connection::beginReadOnly()
{
    QSqlDatabase db = database();
    if (isSqlite()) {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("BEGIN")))
            throw DbError::fromSql(q.lastError(), QStringLiteral("BEGIN"));
        return;
    }
    // The driver runs each statement in a savepoint, where SET TRANSACTION is refused: the session's default
    // decides the transaction's kind instead, and ReadSnapshot puts it back.
    if (m_postgres)
        exec(QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY"));
    if (!db.transaction())
        throw DbError::fromSql(db.lastError(), QStringLiteral("BEGIN"));
}

void Connection::commit()
{
    QSqlDatabase db = database();
    if (!db.commit())
        throw DbError::fromSql(db.lastError(), QStringLiteral("COMMIT"));
}

void Connection::rollback()
{
    QSqlDatabase db = database();
    if (!db.rollback() && isSqlite()) {
        // A transaction begun by statement is unknown to Qt's driver.
        QSqlQuery q(db);
        q.exec(QStringLiteral("ROLLBACK"));
    }
}

ReadSnapshot::ReadSnapshot(Connection& c)
    : m_connection(c)
{
    m_connection.beginReadOnly();
}

ReadSnapshot::~ReadSnapshot()
{
    m_connection.rollback();
    if (m_connection.isPostgres()) {
        try {
            m_connection.exec(QStringLiteral(
                "SET SESSION CHARACTERISTICS AS TRANSACTION ISOLATION LEVEL READ COMMITTED, READ WRITE"));
        } catch (const DbError&) {
            // Logged; the connection is closed by its handler soon anyway.
        }
    }
}

ColumnTypes ColumnTypesOf(const Connection& c)
{
    if (c.isPostgres())
        return {QStringLiteral("TEXT COLLATE ru_ci"), QStringLiteral("DOUBLE PRECISION")};
    if (c.isSqlite())
        return {QStringLiteral("VARCHAR(255) COLLATE RUNOCASE"), QStringLiteral("DOUBLE")};
    return {QStringLiteral("VARCHAR(255) COLLATE NOCASE"), QStringLiteral("DOUBLE")};
}

DataSourceLogin SplitDataSourceLogin(const QString& nameField)
{
    DataSourceLogin login;
    QStringList rest;
    for (const QString& part : nameField.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString key = part.section(QLatin1Char('='), 0, 0).trimmed();
        const QString value = part.section(QLatin1Char('='), 1);
        if (part.contains(QLatin1Char('=')) && key.compare(QLatin1String("UID"), Qt::CaseInsensitive) == 0)
            login.user = value.trimmed();
        else if (part.contains(QLatin1Char('=')) && key.compare(QLatin1String("PWD"), Qt::CaseInsensitive) == 0)
            login.password = value;
        else
            rest << part;
    }
    login.dataSource = rest.join(QLatin1Char(';'));
    return login;
}

void SetServerLogin(const QString& user, const QString& password)
{
    g_serverUser = user;
    g_serverPassword = user.isEmpty() ? QString() : password;
}

Transaction::Transaction(Connection& c) : m_connection(c)
{
    m_connection.begin();
}

Transaction::~Transaction()
{
    if (!m_done)
        m_connection.rollback();
}

void Transaction::commit()
{
    m_connection.commit();
    m_done = true;
}

qint16 FieldInt16(const QSqlRecord& r, const char* name)
{
    const QVariant v = r.value(QString::fromLatin1(name));
    if (v.isNull())
        return 0;
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok || d < -32768 || d > 32767)
        return 0;
    return static_cast<qint16>(d);
}

QString FieldText(const QSqlRecord& r, const char* name)
{
    const QVariant v = r.value(QString::fromLatin1(name));
    return v.isNull() ? QString() : v.toString();
}

double FieldDouble(const QSqlRecord& r, const char* name)
{
    return r.value(QString::fromLatin1(name)).toDouble();
}

bool FieldIsEmpty(const QSqlRecord& r, const char* name)
{
    const QVariant v = r.value(QString::fromLatin1(name));
    return v.isNull() || v.toString().isEmpty();
}

namespace {

// The columns the program reads from each of its tables; more columns are tolerated.
struct TableColumns {
    const char* table;
    std::initializer_list<const char*> columns;
};

const TableColumns kOwnColumns[] = {
    {"tabObjekt", {"Id", "Name", "People"}},
    {"tabScen", {"Id_obj", "Id", "Name", "Opis", "Risk"}},
    {"tabRisk", {"Id_obj", "Id_scen", "Id_por", "Number"}},
    {"tabNumber", {"Name"}},
    {"tabOtchet", {"Date"}},
};

// Refuses, before anything is created, a database that is not ours: one of our table names with other
// columns, or an embedded file that holds other tables but none of ours.
void requireOwnDatabase(const Connection& c, const QStringList& tables)
{
    const QSqlDatabase db = c.database();
    bool anyOwn = false;
    for (const TableColumns& t : kOwnColumns) {
        const auto found = std::find_if(tables.begin(), tables.end(), [&](const QString& name) {
            return name.compare(QLatin1String(t.table), Qt::CaseInsensitive) == 0;
        });
        if (found == tables.end())
            continue;
        anyOwn = true;
        const QSqlRecord record = db.record(*found);
        for (const char* column : t.columns) {
            bool present = false;
            for (int i = 0; i < record.count() && !present; ++i)
                present = record.fieldName(i).compare(QLatin1String(column), Qt::CaseInsensitive) == 0;
            if (!present)
                throw DbError(DbFailure::ForeignDatabase,
                              QStringLiteral("в таблице %1 нет столбца %2: это не база данных программы")
                                  .arg(*found, QLatin1String(column)));
        }
    }
    if (!anyOwn && c.isSqlite()) {
        for (const QString& name : tables) {
            if (!name.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive))
                throw DbError(DbFailure::ForeignDatabase,
                              QStringLiteral("файл содержит таблицу %1 и ни одной таблицы программы").arg(name));
        }
    }
}

// The per-scenario look-ups (a scenario's value of one kind) fit this index; without it each scans the whole
// object. Databases made before it existed get it on their first connection. Where it cannot be made (a read-only
// file, a server without the right), the program works on, only slower; once a process tried, it does not again.
void EnsureScenarioIndicatorIndex(const Connection& c)
{
    static QMutex mutex;
    static QSet<QString> tried;
    const QSqlDatabase db = c.database();
    const QString key = db.driverName() + u'|' + db.databaseName();
    {
        const QMutexLocker lock(&mutex);
        if (tried.contains(key))
            return;
        tried.insert(key);
    }
    try {
        if (c.isSqlite() || c.isPostgres()) {
            c.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS ixRiskScen ON tabRisk (Id_obj, Id_scen, Id_por)"));
        } else {
            // No portable IF NOT EXISTS over ODBC: an index that is there already makes this fail, harmlessly.
            c.exec(QStringLiteral("CREATE INDEX ixRiskScen ON tabRisk (Id_obj, Id_scen, Id_por)"));
        }
    } catch (const DbError& e) {
        qCInfo(lcDb) << "index ixRiskScen not created:" << e.message;
    }
}

} // namespace

namespace {

QSet<QString> lowerTableNames(const Connection& c)
{
    QSet<QString> existing;
    for (const QString& t : c.database().tables())
        existing.insert(t.toLower());
    return existing;
}

QStringList initialPeopleCounts()
{
    QStringList counts;
    for (int n = 1; n <= 20; ++n)
        counts << QString::number(n);
    for (int n = 25; n <= 100; n += 5)
        counts << QString::number(n);
    for (int n = 150; n <= 500; n += 50)
        counts << QString::number(n);
    counts << QStringLiteral("1000");
    return counts;
}

} // namespace

void CreateMissingTables(Connection& c, const QVector<TableDefinition>& tables,
                         const std::function<void(const QSet<QString>&)>& afterwards)
{
    QSet<QString> existing = lowerTableNames(c);
    const auto missing = [&] {
        return std::any_of(tables.begin(), tables.end(), [&](const TableDefinition& t) {
            return !existing.contains(t.name.toLower());
        });
    };
    if (!missing())
        return;
    // On the server everything is created at once, and a second program starting at the same moment waits
    // for it instead of creating the same tables again.
    std::optional<Transaction> t;
    if (c.isPostgres()) {
        t.emplace(c);
        existing = lowerTableNames(c);
        if (!missing())
            return;
        c.exec(QStringLiteral("CREATE COLLATION IF NOT EXISTS ru_ci (provider = icu, "
                              "locale = 'ru-RU-u-ks-level2-kn-true', deterministic = false)"));
    }
    const QSet<QString> before = existing;
    for (const TableDefinition& table : tables) {
        if (existing.contains(table.name.toLower()))
            continue;
        for (const QString& statement : table.statements)
            c.exec(statement);
    }
    if (afterwards)
        afterwards(before);
    if (t)
        t->commit();
}

void EnsureSchema(Connection& c)
{
    requireOwnDatabase(c, c.database().tables());
    const ColumnTypes type = ColumnTypesOf(c);
    // The server gets keys: its own integrity instead of the program's care alone. Children go with their parent.
    const bool keys = c.isPostgres();
    const QString objKey = keys ? QStringLiteral(" PRIMARY KEY") : QString();
    const QString scenKeys = keys ? QStringLiteral(", PRIMARY KEY (Id_obj, Id), FOREIGN KEY (Id_obj) REFERENCES "
                                                   "tabObjekt (Id) ON DELETE CASCADE")
                                  : QString();
    const QString riskKeys = keys ? QStringLiteral(", PRIMARY KEY (Id_obj, Id_scen, Id_por), FOREIGN KEY (Id_obj, "
                                                   "Id_scen) REFERENCES tabScen (Id_obj, Id) ON DELETE CASCADE")
                                  : QString();
    const QVector<TableDefinition> tables = {
        {QStringLiteral("tabObjekt"),
         {"CREATE TABLE tabObjekt (Id SMALLINT" + objKey + ", Name " + type.name + ", People SMALLINT)"}},
        {QStringLiteral("tabScen"),
         {"CREATE TABLE tabScen (Id_obj SMALLINT, Id SMALLINT, Name " + type.name + ", Opis TEXT, Risk " +
              type.real + scenKeys + ")",
          QStringLiteral("CREATE INDEX ixScen ON tabScen (Id_obj, Id)")}},
        {QStringLiteral("tabRisk"),
         {"CREATE TABLE tabRisk (Id_obj SMALLINT, Id_scen SMALLINT, Id_por SMALLINT, Number " + type.real +
              riskKeys + ")",
          QStringLiteral("CREATE INDEX ixRisk ON tabRisk (Id_obj, Id_por, Number)"),
          QStringLiteral("CREATE INDEX ixRiskScen ON tabRisk (Id_obj, Id_scen, Id_por)")}},
        {QStringLiteral("tabNumber"), {"CREATE TABLE tabNumber (Name " + type.name + ")"}},
        {QStringLiteral("tabOtchet"), {QStringLiteral("CREATE TABLE tabOtchet (\"Date\" TIMESTAMP)")}},
    };
    CreateMissingTables(c, tables, [&](const QSet<QString>& before) {
        if (before.contains(QStringLiteral("tabnumber")))
            return;
        for (const QString& n : initialPeopleCounts())
            c.exec(QStringLiteral("INSERT INTO tabNumber (Name) VALUES (?)"), {n});
    });
    EnsureScenarioIndicatorIndex(c);
}

void SetExecHook(ExecHook hook)
{
    g_execHook = hook;
}

void SetWriterLock(bool on)
{
    g_writerLock = on;
}

void SetKeyHook(KeyHook hook)
{
    g_keyHook = hook;
}

void RunKeyHook()
{
    if (g_keyHook)
        g_keyHook();
}

void SetConnectTester(ConnectTester tester)
{
    g_connectTester = tester;
}

namespace {
DbError g_lastConnectFailure(DbFailure::Other, QString());
} // namespace

bool TryConnect(const QString& connectionString, QString* error)
{
    if (g_connectTester) {
        const bool opens = g_connectTester(connectionString);
        if (!opens)
            g_lastConnectFailure = DbError(DbFailure::Unreachable, QStringLiteral("нет подключения"));
        return opens;
    }
    try {
        Connection c(connectionString);
        return true;
    } catch (const DbError& e) {
        g_lastConnectFailure = e;
        if (error)
            *error = e.message;
        return false;
    }
}

DbError LastConnectFailure()
{
    return g_lastConnectFailure;
}

bool ConnectWithDsn(const QString& dsn)
{
    ConnectionString = ReadWriteConnectionString(dsn);
    return TryConnect(ConnectionString);
}

} // namespace zarnel

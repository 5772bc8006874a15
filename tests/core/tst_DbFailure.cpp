// Database failures are told by cause in Russian; the driver's text and the statement go to the log.

#include "core/TestHome.h"

#include "core/Database.h"
#include "core/DbFailure.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QTest>

using namespace zarnel;

Q_DECLARE_METATYPE(DbFailure)

namespace {

QStringList g_logged;

void captureDbLog(QtMsgType, const QMessageLogContext& context, const QString& text)
{
    if (qstrcmp(context.category, "zarnel.db") == 0)
        g_logged << text;
}

// A second, raw connection to the program's database file, as another program would hold it.
class RawConnection {
public:
    RawConnection(const QString& name, const QString& options)
        : m_name(name)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(DatabaseFilePath());
        db.setConnectOptions(options);
        ok = db.open();
    }
    ~RawConnection()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    QSqlError exec(const QString& sql) const
    {
        QSqlQuery q(QSqlDatabase::database(m_name, false));
        q.exec(sql);
        return q.lastError();
    }
    bool ok = false;

private:
    QString m_name;
};

} // namespace

class tst_DbFailure : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_home = std::make_unique<testing::TestHome>(); }
    void cleanup() { m_home.reset(); }

    void causeFromDriverError_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("sqlite");
        QTest::addColumn<DbFailure>("cause");

        QTest::newRow("sqlite read-only") << "8" << "attempt to write a readonly database Unable to fetch row" << true
                                          << DbFailure::ReadOnly;
        QTest::newRow("sqlite extended read-only code") << "1032" << "" << true << DbFailure::ReadOnly;
        QTest::newRow("sqlite busy") << "5" << "database is locked" << true << DbFailure::Locked;
        QTest::newRow("sqlite locked table") << "6" << "" << true << DbFailure::Locked;
        QTest::newRow("sqlite disk full") << "13" << "database or disk is full" << true << DbFailure::DiskFull;
        QTest::newRow("sqlite cannot open") << "14" << "unable to open database file Error opening database" << true
                                            << DbFailure::Unreachable;
        QTest::newRow("sqlite not a database") << "26" << "file is not a database" << true
                                               << DbFailure::ForeignDatabase;
        QTest::newRow("sqlite syntax") << "1" << "near \"selct\": syntax error" << true << DbFailure::Other;
        QTest::newRow("sqlite odbc read-only") << "8" << "[SQLite]attempt to write a readonly database (8)" << false
                                               << DbFailure::ReadOnly;
        // An ODBC driver's native code 8 means whatever that driver means by it.
        QTest::newRow("odbc native code is not sqlite's") << "8" << "[Driver]unexpected" << false << DbFailure::Other;
        QTest::newRow("unixodbc unknown source")
            << "0" << "[unixODBC][Driver Manager]Data source name not found and no default driver specified" << false
            << DbFailure::Unreachable;
        QTest::newRow("postgres down")
            << "101"
            << "could not connect to server: Connection refused Is the server running on host \"db\" and accepting"
            << false << DbFailure::Unreachable;
        QTest::newRow("postgres password") << "101" << "FATAL: password authentication failed for user \"ivanov\""
                                           << false << DbFailure::Access;
        QTest::newRow("postgres rights") << "1" << "ERROR: permission denied for table tabscen" << false
                                         << DbFailure::NoRights;
        QTest::newRow("postgres disk") << "1" << "ERROR: could not extend file \"base/16384/16390\": No space left"
                                       << false << DbFailure::DiskFull;
        QTest::newRow("postgres read-only server")
            << "1" << "ERROR: cannot execute INSERT in a read-only transaction" << false << DbFailure::ReadOnly;
        QTest::newRow("postgres lock") << "1" << "ERROR: deadlock detected" << false << DbFailure::Locked;
        QTest::newRow("sqlstate only: link failure") << "" << "Connection lost, 08S01" << false
                                                     << DbFailure::Unreachable;
        QTest::newRow("sqlstate only: authorization") << "" << "login refused [28000]" << false << DbFailure::Access;
        QTest::newRow("digits inside a longer number are no sqlstate") << "" << "value 1080012 too large" << false
                                                                      << DbFailure::Other;
    }

    void causeFromDriverError()
    {
        QFETCH(QString, code);
        QFETCH(QString, text);
        QFETCH(bool, sqlite);
        QFETCH(DbFailure, cause);
        QCOMPARE(ClassifyDbFailure(code, text, sqlite), cause);
    }

    // The words the user reads for a server's refusal, from the driver's text alone, with that text after them.
    void serverFailureInWords_data()
    {
        QTest::addColumn<QString>("driverText");
        QTest::addColumn<QString>("words");
        QTest::newRow("server down") << "could not connect to server: Connection refused"
                                     << "Ошибка базы данных: сервер недоступен. Проверьте подключение к серверу и "
                                        "повторите действие.";
        QTest::newRow("wrong password") << "FATAL: password authentication failed for user \"ivanov\""
                                        << "Ошибка базы данных: неверный пароль или имя пользователя. Повторите вход "
                                           "с верными данными.";
        QTest::newRow("no password") << "fe_sendauth: no password supplied"
                                     << "Ошибка базы данных: неверный пароль или имя пользователя. Повторите вход "
                                        "с верными данными.";
        QTest::newRow("table refused, named as the program names it")
            << "ERROR: permission denied for table tabscen;\nError while executing the query"
            << "Ошибка базы данных: нет прав на таблицу tabScen. Обратитесь к администратору базы данных.";
        QTest::newRow("a table of someone else") << "ERROR: permission denied for table other_t"
                                                 << "Ошибка базы данных: нет прав на таблицу other_t. Обратитесь к "
                                                    "администратору базы данных.";
        QTest::newRow("no table named") << "ERROR: permission denied for schema public"
                                        << "Ошибка базы данных: нет прав на это действие. Обратитесь к "
                                           "администратору базы данных.";
        QTest::newRow("other causes keep their sentence") << "ERROR: deadlock detected"
                                                          << DbFailureText(DbFailure::Locked);
    }

    void serverFailureInWords()
    {
        QFETCH(QString, driverText);
        QFETCH(QString, words);
        QCOMPARE(ServerFailureText(ClassifyDbFailure(QString(), driverText, false), driverText),
                 words + "\n\nСообщение сервера: " + driverText);
    }

    void realDriverFailures_data()
    {
        QTest::addColumn<QString>("options");
        QTest::addColumn<bool>("holdLock");
        QTest::addColumn<DbFailure>("cause");
        QTest::newRow("read-only file") << "QSQLITE_OPEN_READONLY" << false << DbFailure::ReadOnly;
        QTest::newRow("locked by another program") << "QSQLITE_BUSY_TIMEOUT=0" << true << DbFailure::Locked;
    }

    void realDriverFailures()
    {
        QFETCH(QString, options);
        QFETCH(bool, holdLock);
        QFETCH(DbFailure, cause);
        {
            Connection create; // the database with its tables
        }
        std::unique_ptr<RawConnection> holder;
        if (holdLock) {
            holder = std::make_unique<RawConnection>("other program", QString());
            QVERIFY(holder->ok);
            QVERIFY(!holder->exec("BEGIN EXCLUSIVE").isValid());
        }
        // Scoped after the holder: connections go in reverse order, the lock last.
        RawConnection writer("writer", options);
        QVERIFY(writer.ok);
        const QSqlError e = writer.exec("INSERT INTO tabObjekt (Id, Name, People) VALUES (1, 'Склад', 0)");
        QVERIFY(e.isValid());
        QCOMPARE(ClassifyDbFailure(e), cause);
        // The user reads Russian words only.
        const QString shown = DbFailureText(ClassifyDbFailure(e));
        QVERIFY2(!shown.contains(QRegularExpression("[A-Za-z]")), qPrintable(shown));
    }

    void failedStatementIsLoggedWithItsSql()
    {
        Connection c;
        g_logged.clear();
        const QtMessageHandler previous = qInstallMessageHandler(captureDbLog);
        QString statement;
        DbFailure cause = DbFailure::ReadOnly;
        try {
            c.exec("INSERT INTO tabNichts (Id) VALUES (?)", {1});
        } catch (const DbError& e) {
            statement = e.statement;
            cause = e.cause;
        }
        try {
            c.select("select * from tabObjekt where Nichts = 1");
        } catch (const DbError&) {
        }
        qInstallMessageHandler(previous);
        QCOMPARE(statement, QStringLiteral("INSERT INTO tabNichts (Id) VALUES (?)"));
        QCOMPARE(cause, DbFailure::Other);
        QCOMPARE(g_logged.size(), 2);
        QVERIFY2(g_logged[0].contains("INSERT INTO tabNichts") && g_logged[0].contains("no such table"),
                 qPrintable(g_logged[0]));
        QVERIFY2(g_logged[1].contains("where Nichts = 1") && g_logged[1].contains("no such column"),
                 qPrintable(g_logged[1]));
    }

private:
    std::unique_ptr<testing::TestHome> m_home;
};

QTEST_GUILESS_MAIN(tst_DbFailure)
#include "tst_DbFailure.moc"

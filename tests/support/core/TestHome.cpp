#include "TestHome.h"

#include "core/Formats.h"
#include "core/ProgramFolder.h"
#include "core/Shared.h"

#include <QCoreApplication>
#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QFileInfo>
#include <QSqlField>
#include <QStringList>
#include <algorithm>

namespace testing {

namespace {
// Fixtures commit row by row; on a RAM disk that costs microseconds instead of a disk flush each.
QString tempTemplate()
{
    const QDir shm(QStringLiteral("/dev/shm"));
    return shm.exists() && QFileInfo(shm.path()).isWritable() ? shm.filePath(QStringLiteral("zarnel-XXXXXX"))
                                                               : QDir::temp().filePath(QStringLiteral("zarnel-XXXXXX"));
}
// Runs statements outside the program's own connection handling (no schema set-up), on the server.
void onServerDatabase(const QString& dataSource, const QStringList& statements)
{
    const QString name = QStringLiteral("testhome_admin");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
        db.setDatabaseName(dataSource);
        if (!db.open())
            qFatal("test server not reachable: %s", qPrintable(db.lastError().text()));
        for (const QString& sql : statements) {
            QSqlQuery q(db);
            if (!q.exec(sql))
                qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
        }
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

bool onServer()
{
    return qEnvironmentVariable("ZARNEL_TEST_BACKEND") == QLatin1String("server");
}

QString serverDataSource()
{
    static const QString source = [] {
        const QString dsn = qEnvironmentVariable("ZARNEL_TEST_PG_DSN");
        if (dsn.isEmpty() || !onServer())
            return dsn;
        // Test processes run side by side: each gets a database of its own.
        const QString database = QStringLiteral("zarnel_t%1").arg(QCoreApplication::applicationPid());
        onServerDatabase(dsn, {"DROP DATABASE IF EXISTS " + database, "CREATE DATABASE " + database});
        return dsn + QStringLiteral(";Database=") + database;
    }();
    return source;
}

TestHome::TestHome()
    : m_dir(tempTemplate())
{
    zarnel::SetRussianLocale();
    zarnel::SetProgramFolder(m_dir.path());
    zarnel::ResetShared();
    if (onServer()) {
        if (qEnvironmentVariable("ZARNEL_TEST_PG_DSN").isEmpty())
            qFatal("ZARNEL_TEST_BACKEND=server needs ZARNEL_TEST_PG_DSN");
        onServerDatabase(serverDataSource(), {QStringLiteral("DROP SCHEMA public CASCADE"),
                                              QStringLiteral("CREATE SCHEMA public")});
        zarnel::ConnectionString = zarnel::ReadWriteConnectionString(serverDataSource());
    } else {
        zarnel::ConnectionString = zarnel::DefaultConnectionString();
    }
}

ObjectBuilder object(const QString& name, const QVariant& people)
{
    zarnel::Connection c;
    qint16 id = 1;
    while (!c.select(QStringLiteral("select * from tabObjekt where Id=%1").arg(id)).isEmpty())
        ++id;
    c.exec(QStringLiteral("INSERT INTO tabObjekt (Id, Name, People) VALUES (?, ?, ?)"), {int(id), name, people});
    return ObjectBuilder(id);
}

ObjectBuilder& ObjectBuilder::scenario(const QString& name, double risk, const QVariant& opis)
{
    zarnel::Connection c;
    const auto rows = c.select(QStringLiteral("select max(Id) as m from tabScen where Id_obj=%1").arg(m_id));
    m_scen = static_cast<qint16>(rows.isEmpty() ? 1 : rows.first().value(0).toInt() + 1);
    c.exec(QStringLiteral("INSERT INTO tabScen (Id_obj, Id, Name, Opis, Risk) VALUES (?, ?, ?, ?, ?)"),
           {int(m_id), int(m_scen), name, opis, risk});
    return *this;
}

ObjectBuilder& ObjectBuilder::indicator(int kind, double number)
{
    zarnel::Connection c;
    c.exec(QStringLiteral("INSERT INTO tabRisk (Id_obj, Id_scen, Id_por, Number) VALUES (?, ?, ?, ?)"),
           {int(m_id), int(m_scen), kind, number});
    return *this;
}

QStringList dumpTable(const QString& table)
{
    zarnel::Connection c;
    QStringList out;
    for (const QSqlRecord& r : c.select(QStringLiteral("select * from ") + table)) {
        QStringList fields;
        for (int i = 0; i < r.count(); ++i)
            fields << (r.isNull(i) ? QStringLiteral("<null>") : r.value(i).toString());
        out << fields.join(QLatin1Char('|'));
    }
    std::sort(out.begin(), out.end());
    return out;
}

int countRows(const QString& sql)
{
    zarnel::Connection c;
    return c.select(sql).size();
}

QString indicatorsOf(qint16 obj, qint16 scen)
{
    zarnel::Connection c;
    QStringList parts;
    const QString sql = QStringLiteral("select * from tabRisk where Id_obj=%1 and id_scen=%2 order by Id_por");
    for (const QSqlRecord& r : c.select(sql.arg(obj).arg(scen)))
        parts << QStringLiteral("%1=%2").arg(zarnel::FieldInt16(r, "Id_por")).arg(zarnel::FieldDouble(r, "Number"));
    return parts.join(QLatin1Char(' '));
}

} // namespace testing

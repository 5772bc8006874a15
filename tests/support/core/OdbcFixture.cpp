#include "OdbcFixture.h"

#include <QDir>
#include <QFile>

namespace testing {

bool setUpOdbcDataSource(const QString& dir, const QString& dsn, const QString& dbFile)
{
    const QString driver = QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so");
    if (!QFile::exists(driver))
        return false;
    QDir().mkpath(dir);
    QFile inst(dir + "/odbcinst.ini");
    if (!inst.open(QIODevice::WriteOnly))
        return false;
    inst.write(("[SQLite3 Test]\nDriver=" + driver + "\n").toUtf8());
    inst.close();
    QFile ini(dir + "/odbc.ini");
    if (!ini.open(QIODevice::WriteOnly))
        return false;
    ini.write(("[" + dsn + "]\nDriver=SQLite3 Test\nDatabase=" + dbFile + "\n").toUtf8());
    ini.close();
    qputenv("ODBCSYSINI", dir.toUtf8());
    qputenv("ODBCINI", (dir + "/odbc.ini").toUtf8());
    return true;
}

} // namespace testing

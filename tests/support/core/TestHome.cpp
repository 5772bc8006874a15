#include "TestHome.h"

#include "core/Formats.h"
#include "core/ProgramFolder.h"
#include "core/Shared.h"

#include <QDir>
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
} // namespace

TestHome::TestHome()
    : m_dir(tempTemplate())
{
    zarnel::SetRussianLocale();
    zarnel::SetProgramFolder(m_dir.path());
    zarnel::ResetShared();
    zarnel::ConnectionString = zarnel::DefaultConnectionString();
}

ObjectBuilder object(const QString& name, const QVariant& people)
{
    zarnel::Connection c;
    qint16 id = 1;
    while (!c.select(QStringLiteral("select * from tabObjekt where Id=%1").arg(id)).isEmpty())
        ++id;
    c.exec(QStringLiteral("INSERT INTO tabObjekt (Id, Name, People) VALUES (?, ?, ?)"), {id, name, people});
    return ObjectBuilder(id);
}

ObjectBuilder& ObjectBuilder::scenario(const QString& name, double risk, const QVariant& opis)
{
    zarnel::Connection c;
    const auto rows = c.select(QStringLiteral("select max(Id) as m from tabScen where Id_obj=%1").arg(m_id));
    m_scen = static_cast<qint16>(rows.isEmpty() ? 1 : rows.first().value(0).toInt() + 1);
    c.exec(QStringLiteral("INSERT INTO tabScen (Id_obj, Id, Name, Opis, Risk) VALUES (?, ?, ?, ?, ?)"),
           {m_id, m_scen, name, opis, risk});
    return *this;
}

ObjectBuilder& ObjectBuilder::indicator(int kind, double number)
{
    zarnel::Connection c;
    c.exec(QStringLiteral("INSERT INTO tabRisk (Id_obj, Id_scen, Id_por, Number) VALUES (?, ?, ?, ?)"),
           {m_id, m_scen, kind, number});
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

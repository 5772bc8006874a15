#include "core/ObjectStore.h"

#include "core/CriteriaStore.h"

#include <QSqlRecord>
#include <vector>

namespace zarnel {

QVector<StoredObject> ListObjects(const Connection& c)
{
    QVector<StoredObject> out;
    for (const QSqlRecord& r : c.select(QStringLiteral("select * from tabObjekt order by Name asc")))
        out.append({FieldInt16(r, "Id"), FieldText(r, "Name"), FieldInt16(r, "People")});
    return out;
}

std::optional<qint16> FindObjectByName(const Connection& c, const QString& name)
{
    // The Name column carries the database's case-insensitive collation, so '=' compares as it does.
    const auto rows =
        c.select(QStringLiteral("select * from tabObjekt where Name ='") + SqlQuote(name) + QStringLiteral("'"));
    if (rows.isEmpty())
        return std::nullopt;
    return FieldInt16(rows.first(), "Id");
}

std::optional<StoredObject> FindObject(const Connection& c, qint16 id)
{
    const auto rows = c.select(QStringLiteral("select * from tabObjekt where Id=?"), {int(id)});
    if (rows.isEmpty())
        return std::nullopt;
    const QSqlRecord& r = rows.first();
    return StoredObject{FieldInt16(r, "Id"), FieldText(r, "Name"), FieldInt16(r, "People")};
}

void RequireObject(const Connection& c, qint16 id)
{
    if (!FindObject(c, id))
        throw DbError(DbFailure::ObjectGone, QStringLiteral("объект %1 удален").arg(id));
}

std::optional<qint16> FreeObjectId(const Connection& c)
{
    // One read instead of a probe per key: a full table would otherwise cost 32767 statements.
    std::vector<bool> used(32768, false);
    for (const QSqlRecord& r : c.select(QStringLiteral("select Id from tabObjekt"))) {
        const qint16 id = FieldInt16(r, "Id");
        if (id > 0)
            used[static_cast<size_t>(id)] = true;
    }
    for (int id = 1; id <= 32767; ++id) {
        if (!used[static_cast<size_t>(id)])
            return static_cast<qint16>(id);
    }
    return std::nullopt;
}

namespace {

void insertObject(const Connection& c, qint16 id, const QString& name, qint16 people)
{
    c.exec(QStringLiteral("INSERT INTO tabObjekt (Id, Name, People) VALUES (?, ?, ?)"), {int(id), name, int(people)});
}

} // namespace

std::optional<qint16> CreateObject(Connection& c, const QString& name, qint16 people)
{
    return RetryOnKeyTaken([&]() -> std::optional<qint16> {
        Transaction t(c);
        const std::optional<qint16> id = FreeObjectId(c);
        if (!id)
            return std::nullopt;
        RunKeyHook();
        insertObject(c, *id, name, people);
        t.commit();
        return id;
    });
}

void ChangeObject(Connection& c, const StoredObject& asRead, const QString& name, qint16 people)
{
    Transaction t(c);
    const std::optional<StoredObject> now = FindObject(c, asRead.id);
    if (!now)
        throw DbError(DbFailure::ObjectGone, QStringLiteral("объект %1 удален").arg(asRead.id));
    if (*now != asRead)
        throw DbError(DbFailure::ObjectChanged, QStringLiteral("объект %1 изменен").arg(asRead.id));
    c.exec(QStringLiteral("UPDATE tabObjekt SET Name = ?, People = ? WHERE Id = ?"), {name, people, asRead.id});
    t.commit();
}

namespace {

std::optional<qint16> copyObjectOnce(Connection& c, qint16 source, const QString& name, qint16 people)
{
    Transaction t(c);
    RequireObject(c, source);
    const std::optional<qint16> id = FreeObjectId(c);
    if (!id)
        return std::nullopt;
    RunKeyHook();
    insertObject(c, *id, name, people);

    const QString src = QString::number(source);
    for (const QSqlRecord& r : c.select(QStringLiteral("select * from  tabScen where Id_obj=") + src)) {
        // An empty title is left unset in the copy.
        const QVariant opis = FieldIsEmpty(r, "Opis") ? QVariant() : r.value(QStringLiteral("Opis"));
        c.exec(QStringLiteral("INSERT INTO tabScen (Id_obj, Id, Name, Opis, Risk) VALUES (?, ?, ?, ?, ?)"),
               {*id, r.value(QStringLiteral("Id")), r.value(QStringLiteral("Name")), opis,
                r.value(QStringLiteral("Risk"))});
    }
    for (const QSqlRecord& r : c.select(QStringLiteral("select * from  tabRisk where Id_obj=") + src)) {
        c.exec(QStringLiteral("INSERT INTO tabRisk (Id_obj, Id_scen, Id_por, Number) VALUES (?, ?, ?, ?)"),
               {*id, r.value(QStringLiteral("Id_scen")), r.value(QStringLiteral("Id_por")),
                r.value(QStringLiteral("Number"))});
    }
    EnsureCriteriaTables(c);
    CopyCriteriaChoices(c, source, *id);
    t.commit();
    return id;
}

} // namespace

std::optional<qint16> CopyObject(Connection& c, qint16 source, const QString& name, qint16 people)
{
    return RetryOnKeyTaken([&] { return copyObjectOnce(c, source, name, people); });
}

void DeleteObject(Connection& c, qint16 id)
{
    Transaction t(c);
    c.exec(QStringLiteral("DELETE FROM tabObjekt WHERE Id = ?"), {id});
    c.exec(QStringLiteral("DELETE FROM tabScen WHERE Id_obj = ?"), {id});
    c.exec(QStringLiteral("DELETE FROM tabRisk WHERE Id_obj = ?"), {id});
    // The object's choice of criterion lines goes with it: a new object under this key starts without one.
    EnsureCriteriaTables(c);
    DeleteCriteriaChoices(c, id);
    t.commit();
}

QString ObjectNameText(const QString& typed)
{
    return typed.trimmed();
}

std::optional<qint16> ParsePeopleCount(const QString& typed)
{
    const QString s = typed.trimmed();
    if (s.isEmpty())
        return std::nullopt;
    int n = 0;
    for (const QChar ch : s) {
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return std::nullopt;
        n = n * 10 + (ch.unicode() - '0');
        if (n > 32767)
            return std::nullopt;
    }
    return static_cast<qint16>(n);
}

} // namespace zarnel

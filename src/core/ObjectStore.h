#pragma once
// The objects of the risk database (tabObjekt) with everything they own: listing, finding by name,
// creating, changing, copying and deleting. Multi-step changes run in one transaction.

#include "core/Database.h"

#include <QString>
#include <QVector>
#include <optional>

namespace zarnel {

struct StoredObject {
    qint16 id = 0;
    QString name;
    qint16 people = 0; // 0 when not given (0, empty or unreadable in the database)

    friend bool operator==(const StoredObject&, const StoredObject&) = default;
};

// The object row, or nothing.
std::optional<StoredObject> FindObject(const Connection& c, qint16 id);

// Throws DbError (ObjectGone) when no object has this key: nothing may be stored under a deleted object.
void RequireObject(const Connection& c, qint16 id);

// All objects, names ascending.
QVector<StoredObject> ListObjects(const Connection& c);

// The key of the first object with this name, compared the way the database compares names
// (letter case ignored, Cyrillic too); nothing when there is none.
std::optional<qint16> FindObjectByName(const Connection& c, const QString& name);

// The smallest key from 1 that no object uses; nothing when every 16-bit key is taken.
std::optional<qint16> FreeObjectId(const Connection& c);

// Appends an object under the smallest free key and returns the key; nothing when no key is left.
std::optional<qint16> CreateObject(Connection& c, const QString& name, qint16 people);

// Sets name and people of the object asRead names, in one transaction. Refused with DbError (ObjectChanged,
// ObjectGone) when the stored row is no longer the one asRead holds: someone else changed or deleted it.
void ChangeObject(Connection& c, const StoredObject& asRead, const QString& name, qint16 people);

// Appends a new object (smallest free key) with the scenarios and indicators of source, which keep
// their scenario keys; all or nothing. Returns the new key; nothing when no key is left. Throws DbError
// (ObjectGone) when source no longer exists.
std::optional<qint16> CopyObject(Connection& c, qint16 source, const QString& name, qint16 people);

// Removes the object, its scenarios and their indicators; all or nothing.
void DeleteObject(Connection& c, qint16 id);

// The name as it is stored and compared: blanks around it removed.
QString ObjectNameText(const QString& typed);

// A typed number of people at risk: a whole number 0..32767 (blanks around allowed), nothing otherwise.
std::optional<qint16> ParsePeopleCount(const QString& typed);

} // namespace zarnel

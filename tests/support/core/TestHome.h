#pragma once
// A temporary program folder with a fresh embedded database, and a builder of database fixtures.

#include "core/Database.h"

#include <QTemporaryDir>
#include <cmath>

namespace testing {

// Points the program folder at a new temporary folder, resets the shared variables and sets
// ConnectionString to the default form (the database is created on first use). With ZARNEL_TEST_BACKEND=server
// the tests run on the PostgreSQL data source ZARNEL_TEST_PG_DSN instead: a database of this test process,
// emptied for every TestHome.
class TestHome {
public:
    TestHome();
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

// object("Склад", 100).scenario("С1", 1e-4).kills(3).severe(2) ... writes rows at once.
class ObjectBuilder {
public:
    ObjectBuilder(qint16 id) : m_id(id) {}
    qint16 id() const { return m_id; }
    qint16 lastScenario() const { return m_scen; }
    ObjectBuilder& scenario(const QString& name, double risk, const QVariant& opis = QVariant());
    ObjectBuilder& indicator(int kind, double number);
    ObjectBuilder& kills(double n) { return indicator(0, n); }
    ObjectBuilder& severe(double n) { return indicator(1, n); }
    ObjectBuilder& light(double n) { return indicator(2, n); }
    ObjectBuilder& damage(double g) { return indicator(3, g); }
    ObjectBuilder& sanitary(double n) { return indicator(4, n); }

private:
    qint16 m_id;
    qint16 m_scen = 0;
};

// True when the tests of this process run on the server.
bool onServer();
// The data source name field for this process's own server database (the test server's data source otherwise
// empty).
QString serverDataSource();

// Adds an object with the smallest free key.
ObjectBuilder object(const QString& name, const QVariant& people = 0);

// Rows of a table as text, in a fixed order, for before/after comparisons.
QStringList dumpTable(const QString& table);
int countRows(const QString& sql);
// A scenario's indicators as "kind=value" pairs in kind order, e.g. "0=3 1=2 4=2".
QString indicatorsOf(qint16 obj, qint16 scen);

inline bool fuzzyEqual(double a, double b, double rel = 1e-12)
{
    return a == b || std::fabs(a - b) <= rel * std::max(std::fabs(a), std::fabs(b));
}

} // namespace testing

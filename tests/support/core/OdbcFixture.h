#pragma once
// A private unixODBC set-up for one test process: a data source over the SQLite ODBC driver.
// unixODBC reads its configuration once per process, so call this before any ODBC use.

#include <QString>

namespace testing {

// Writes odbcinst.ini and odbc.ini into dir, points ODBCSYSINI/ODBCINI at them and defines the data
// source dsn on the database file dbFile. Returns false when the driver is not installed.
bool setUpOdbcDataSource(const QString& dir, const QString& dsn, const QString& dbFile);

} // namespace testing

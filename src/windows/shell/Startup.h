#pragma once
// Start-up: proves the database connection and opens the title window, or asks for an ODBC data source.

namespace zarnel {

// Tries the default connection string, then the read-write form with the name saved in "Data Source.txt";
// shows frmMain1 when one works, otherwise the start-up message and frmDataSourse.
void Main();

} // namespace zarnel

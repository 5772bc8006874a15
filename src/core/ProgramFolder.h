#pragma once
// The program folder holds the database, "Data Source.txt" and the help documents.

#include <QString>

namespace zarnel {

// The folder in force: the one set by SetProgramFolder, else $ZARNEL_HOME, else the executable's folder.
QString ProgramFolder();
// Sets (and creates when missing) the program folder; returns false when it cannot be created.
bool SetProgramFolder(const QString& folder);
// A file of the program folder: folder + separator + name.
QString ProgramFile(const QString& name);

} // namespace zarnel

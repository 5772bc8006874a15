#pragma once
// The program folder holds the database, "Data Source.txt", the log and the user's own help documents.

#include <QString>
#include <QStringList>

namespace zarnel {

enum class FolderSource { HomeOption, Environment, Executable, UserData };

// What the choice of the program folder depends on.
struct FolderFacts {
    QString homeOption;  // --home DIR, empty when not given
    QString environment; // $ZARNEL_HOME, empty when not set
    QString executableFolder;
    bool executableFolderWritable = false;
    bool installed = false; // the executable sits in an installation (its shared folder is beside it)
    QString userDataFolder; // QStandardPaths::AppDataLocation
};

struct FolderChoice {
    QString folder;
    FolderSource source;
};

// --home, else $ZARNEL_HOME, else the executable's folder when it is a writable build or portable copy,
// else the user's data folder. An installed program never writes beside its executable, even as root.
FolderChoice ChooseProgramFolder(const FolderFacts& facts);
// The facts of this process.
FolderFacts CurrentFolderFacts(const QString& homeOption = QString());

// Decides the program folder for this run, creates it and puts it in force; false when it cannot be created.
bool InitProgramFolder(const QString& homeOption, QString* failedFolder = nullptr);
// The folder in force: the one set by InitProgramFolder or SetProgramFolder, else the one the rule chooses now.
QString ProgramFolder();
// Sets (and creates when missing) the program folder; returns false when it cannot be created.
bool SetProgramFolder(const QString& folder);
// A file of the program folder: folder + separator + name.
QString ProgramFile(const QString& name);

// Folders searched for a help document, in order: the program folder (a user's own copy wins), the installation's
// shared folder, and the executable's folder (a build keeps its copies there).
QStringList DocumentFolders();

} // namespace zarnel

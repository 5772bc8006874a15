#include "core/ProgramFolder.h"

#include "core/InstallPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zarnel {

namespace {

QString& folderOverride()
{
    static QString folder;
    return folder;
}

QString cleanAbsolute(const QString& folder)
{
    return QDir::cleanPath(QDir(folder).absolutePath());
}

QString installedSharedFolder()
{
    return cleanAbsolute(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                         QLatin1String(kSharedFolderFromExecutable));
}

} // namespace

FolderChoice ChooseProgramFolder(const FolderFacts& facts)
{
    if (!facts.homeOption.isEmpty())
        return {cleanAbsolute(facts.homeOption), FolderSource::HomeOption};
    if (!facts.environment.isEmpty())
        return {cleanAbsolute(facts.environment), FolderSource::Environment};
    if (facts.executableFolderWritable && !facts.installed)
        return {facts.executableFolder, FolderSource::Executable};
    return {facts.userDataFolder, FolderSource::UserData};
}

FolderFacts CurrentFolderFacts(const QString& homeOption)
{
    FolderFacts facts;
    facts.homeOption = homeOption;
    facts.environment = qEnvironmentVariable("ZARNEL_HOME");
    facts.executableFolder = QCoreApplication::applicationDirPath();
    facts.executableFolderWritable = QFileInfo(facts.executableFolder).isWritable();
    facts.installed = QFileInfo(installedSharedFolder()).isDir();
    facts.userDataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return facts;
}

bool InitProgramFolder(const QString& homeOption, QString* failedFolder)
{
    const FolderChoice choice = ChooseProgramFolder(CurrentFolderFacts(homeOption));
    if (SetProgramFolder(choice.folder))
        return true;
    if (failedFolder)
        *failedFolder = choice.folder;
    return false;
}

QString ProgramFolder()
{
    if (!folderOverride().isEmpty())
        return folderOverride();
    return ChooseProgramFolder(CurrentFolderFacts()).folder;
}

bool SetProgramFolder(const QString& folder)
{
    const QString clean = cleanAbsolute(folder);
    if (!QDir().mkpath(clean))
        return false;
    folderOverride() = clean;
    return true;
}

QString ProgramFile(const QString& name)
{
    return QDir::toNativeSeparators(ProgramFolder() + QLatin1Char('/') + name);
}

QStringList DocumentFolders()
{
    QStringList folders{ProgramFolder(), installedSharedFolder(), QCoreApplication::applicationDirPath()};
    folders.removeDuplicates();
    return folders;
}

} // namespace zarnel

#include "core/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace zarnel {

namespace {
QString& folderOverride()
{
    static QString folder;
    return folder;
}
} // namespace

QString ProgramFolder()
{
    if (!folderOverride().isEmpty())
        return folderOverride();
    const QString env = qEnvironmentVariable("ZARNEL_HOME");
    if (!env.isEmpty())
        return QDir::cleanPath(QDir(env).absolutePath());
    return QCoreApplication::applicationDirPath();
}

bool SetProgramFolder(const QString& folder)
{
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    if (!QDir().mkpath(clean))
        return false;
    folderOverride() = clean;
    return true;
}

QString ProgramFile(const QString& name)
{
    return QDir::toNativeSeparators(ProgramFolder() + QLatin1Char('/') + name);
}

} // namespace zarnel

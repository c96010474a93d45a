#include "app/ProgramFolder.h"

#include <QDir>

namespace tarmel {

namespace {

QString cleaned(const QString &folder)
{
    return folder.isEmpty() ? folder : QDir::cleanPath(folder);
}

// The data folder as seen from the binary folder, e.g. "../share".
QString dataFromBin(const InstallLayout &layout)
{
    return QDir(cleaned(layout.binFolder)).relativeFilePath(cleaned(layout.dataFolder));
}

} // namespace

QString desktopEntryInData()
{
    return QStringLiteral("applications/tarmel.desktop");
}

bool runsInstalled(const QString &executableFolder, const InstallLayout &layout,
                   const std::function<bool(const QString &)> &fileExists)
{
    const QString folder = cleaned(executableFolder);
    if (folder.isEmpty() || layout.binFolder.isEmpty() || layout.dataFolder.isEmpty())
        return false;
    if (folder == cleaned(layout.binFolder))
        return true;
    const QString entry =
        QDir::cleanPath(folder + QLatin1Char('/') + dataFromBin(layout) + QLatin1Char('/') + desktopEntryInData());
    return fileExists(entry);
}

QString installedProgramFilesFolder(const QString &executableFolder, const InstallLayout &layout)
{
    const QString folder = cleaned(executableFolder);
    const QString bin = cleaned(layout.binFolder);
    if (folder == bin || folder.isEmpty() || bin.isEmpty())
        return cleaned(layout.programFilesFolder);
    return QDir::cleanPath(folder + QLatin1Char('/') + QDir(bin).relativeFilePath(cleaned(layout.programFilesFolder)));
}

ProgramFolderChoice chooseProgramFolder(bool forced, bool installed,
                                        const std::function<bool()> &executableFolderWritable)
{
    if (forced)
        return ProgramFolderChoice::Forced;
    if (installed)
        return ProgramFolderChoice::User;
    return executableFolderWritable() ? ProgramFolderChoice::Executable : ProgramFolderChoice::User;
}

} // namespace tarmel

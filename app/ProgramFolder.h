#pragma once
#include <QString>
#include <functional>

namespace tarmel {

// Where an installation puts the program, as the build was configured: absolute folders.
struct InstallLayout {
    QString binFolder;          // the program, e.g. /usr/bin
    QString dataFolder;         // shared data, e.g. /usr/share
    QString programFilesFolder; // the read-only files of the program (help), e.g. /usr/share/tarmel
};

// The desktop entry every installation holds, relative to the data folder.
QString desktopEntryInData();

// True when an executable in executableFolder runs from an installation: the folder is the
// binary folder the build was configured for, or the binary folder of a tree laid out the
// same way under another prefix, recognised by its desktop entry where the layout puts it
// (fileExists is asked about that one path). Folders are compared cleaned, without a
// trailing separator; both are expected absolute with their links resolved.
bool runsInstalled(const QString &executableFolder, const InstallLayout &layout,
                   const std::function<bool(const QString &)> &fileExists);

// The folder of the program's read-only files for an executable in executableFolder that
// runs installed: the layout's own folder, moved along with the tree when it was installed
// under another prefix.
QString installedProgramFilesFolder(const QString &executableFolder, const InstallLayout &layout);

// Which folder holds Tarmel.cfg, the hand-off files and the help file.
enum class ProgramFolderChoice {
    Forced,     // the folder the environment names
    Executable, // the executable's own folder (a build folder)
    User,       // the per-user configuration folder
};

// A folder named by the environment wins; an installed program never writes beside itself,
// even when it could (run by root); otherwise the executable's folder is used when files can
// be created in it. executableFolderWritable is asked only in that last case, since asking
// creates a file there.
ProgramFolderChoice chooseProgramFolder(bool forced, bool installed,
                                        const std::function<bool()> &executableFolderWritable);

} // namespace tarmel

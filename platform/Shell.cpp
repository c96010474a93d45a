#include "platform/Shell.h"

#include "app/ProgramFolder.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

namespace {

bool canCreateFilesIn(const QString &folder)
{
    if (folder.isEmpty())
        return false;
    QFile probe(QDir(folder).filePath(
        QStringLiteral(".tarmel-probe-%1").arg(QCoreApplication::applicationPid())));
    if (!probe.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    probe.close();
    probe.remove();
    return true;
}

QString userConfigFolder()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString folder = QDir(base.isEmpty() ? QDir::homePath() + QStringLiteral("/.config") : base)
                               .filePath(QStringLiteral("Tarmel"));
    QDir().mkpath(folder);
    return folder;
}

// A folder with its links resolved when it exists, else only cleaned.
QString resolvedFolder(const QString &folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(folder) : canonical;
}

// Where the build was configured to be installed (cmake --install, the Debian package).
tarmel::InstallLayout resolvedLayout()
{
    return {resolvedFolder(QStringLiteral(TARMEL_INSTALL_BINDIR)), resolvedFolder(QStringLiteral(TARMEL_INSTALL_DATADIR)),
            resolvedFolder(QStringLiteral(TARMEL_INSTALL_PROGRAM_FILES_DIR))};
}

} // namespace

QtShell::QtShell() = default;

QtShell::~QtShell()
{
    if (lockFd_ >= 0)
        ::close(lockFd_);
}

QString QtShell::programFolder() const
{
    const QString forced = qEnvironmentVariable("TARMEL_PROGRAM_FOLDER");
    if (forced.isEmpty() && !ownFolder_.isEmpty())
        return ownFolder_;
    const QString exeFolder = QCoreApplication::applicationDirPath();
    switch (tarmel::chooseProgramFolder(!forced.isEmpty(), runsInstalled(),
                                        [&] { return canCreateFilesIn(exeFolder); })) {
    case tarmel::ProgramFolderChoice::Forced:
        QDir().mkpath(forced);
        return QDir::cleanPath(QDir(forced).absolutePath());
    case tarmel::ProgramFolderChoice::Executable:
        ownFolder_ = exeFolder;
        break;
    case tarmel::ProgramFolderChoice::User:
        ownFolder_ = userConfigFolder();
        break;
    }
    return ownFolder_;
}

bool QtShell::runsInstalled()
{
    return tarmel::runsInstalled(resolvedFolder(QCoreApplication::applicationDirPath()), resolvedLayout(),
                                 [](const QString &path) { return QFileInfo(path).isFile(); });
}

QString QtShell::installedProgramFilesFolder()
{
    return tarmel::installedProgramFilesFolder(resolvedFolder(QCoreApplication::applicationDirPath()),
                                               resolvedLayout());
}

QString QtShell::currentFolder() const
{
    return QDir::currentPath();
}

QString QtShell::lockFilePath() const
{
    // One lock per user and program folder: the instance that holds it is the one that
    // polls that folder for hand-offs.
    const QByteArray folderHash =
        QCryptographicHash::hash(QFile::encodeName(programFolder()), QCryptographicHash::Sha1).toHex().left(12);
    const QString name = QStringLiteral("tarmel-%1-%2.lock").arg(::getuid()).arg(QString::fromLatin1(folderHash));
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return QDir(runtime).filePath(name);
    return QStringLiteral("/tmp/") + name;
}

bool QtShell::previousInstanceRunning()
{
    if (lockState_ == 0)
        return false;
    // Close-on-exec, so that programs started from here do not keep the lock alive.
    const QByteArray path = QFile::encodeName(lockFilePath());
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        // Nothing to lock against: rather run a second instance than none.
        lockState_ = 0;
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        lockFd_ = fd;
        lockState_ = 0;
        return false;
    }
    ::close(fd);
    lockState_ = 1; // asked again next time: that instance may have ended meanwhile
    return true;
}

QList<QtShell::Command> QtShell::desktopEquivalents(const QString &name, const QString &folder)
{
    const auto each = [](std::initializer_list<const char *> programs, const QStringList &args) {
        QList<Command> list;
        for (const char *p : programs)
            list.append({QString::fromLatin1(p), args});
        return list;
    };
    const QString key = name.trimmed().toLower();
    if (key == QLatin1String("calc.exe") || key == QLatin1String("calc"))
        return each({"gnome-calculator", "kcalc", "galculator", "mate-calc", "xcalc", "qalculate-gtk"}, {});
    if (key == QLatin1String("explorer.exe") || key == QLatin1String("explorer"))
        return each({"xdg-open", "nautilus", "dolphin", "thunar", "pcmanfm"},
                    {folder.isEmpty() ? QDir::homePath() : folder});
    if (key == QLatin1String("charmap.exe") || key == QLatin1String("charmap"))
        return each({"gucharmap", "kcharselect", "gnome-characters"}, {});
    QList<Command> list{{name.trimmed(), {}}};
    if (key.endsWith(QLatin1String(".exe")))
        list.append({name.trimmed().chopped(4), {}});
    return list;
}

bool QtShell::startProgram(const QString &name, const QString &folder)
{
    for (const Command &command : desktopEquivalents(name, folder)) {
        if (command.program.isEmpty())
            continue;
        const QString path = QStandardPaths::findExecutable(command.program);
        if (path.isEmpty())
            continue;
        if (QProcess::startDetached(path, command.arguments))
            return true;
    }
    return false;
}

} // namespace platform

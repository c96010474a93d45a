#pragma once
#include <QString>
#include <QStringList>
#include <memory>

namespace platform {

// The process and its desktop: where the program keeps its files, the current
// folder, whether another instance of the same user runs, and external programs.
class Shell {
public:
    virtual ~Shell() = default;
    // Folder of Tarmel.cfg, the hand-off files and the help file: the program's own
    // folder when it is writable, else the per-user configuration folder.
    virtual QString programFolder() const = 0;
    virtual QString currentFolder() const = 0;
    // True when another instance of this program runs for the same user. The first
    // instance to ask holds the answer "no" for its whole life; a crashed instance
    // never blocks the next start.
    virtual bool previousInstanceRunning() = 0;
    // Starts a program by the name the rules give ("Calc.exe", "explorer.exe",
    // "Charmap.exe") through its desktop equivalent; false when none can be started.
    // The file manager opens folder (the home folder when it is empty).
    virtual bool startProgram(const QString &name, const QString &folder = QString()) = 0;
};

// The environment variable TARMEL_PROGRAM_FOLDER, when set and not empty, names the
// program folder outright (created when missing): tests and end-to-end runs use it to
// get a private folder. An installed program (see runsInstalled) uses ~/.config/Tarmel
// (XDG_CONFIG_HOME respected). Otherwise the folder of the running executable is used
// when a probe file can be created in it, else ~/.config/Tarmel.
// The running-instance lock is tarmel-<uid>.lock in XDG_RUNTIME_DIR (or /tmp), held
// with flock() for the life of the first instance; the kernel drops it when that
// process ends in any way, so a crash leaves no stale lock.
class QtShell final : public Shell {
public:
    QtShell();
    ~QtShell() override;
    QString programFolder() const override;
    QString currentFolder() const override;
    bool previousInstanceRunning() override;
    bool startProgram(const QString &name, const QString &folder = QString()) override;

    QString lockFilePath() const; // per user and program folder
    // True when the running executable lies where the build was configured to install it,
    // or in a tree installed the same way under another prefix.
    static bool runsInstalled();
    // Where an installation keeps the program's read-only files (the help file).
    static QString installedProgramFilesFolder();
    // The programs tried, in order, for a name the rules give; the first one found on
    // PATH is started. "explorer.exe" opens folder, or the home folder when it is empty.
    struct Command {
        QString program;
        QStringList arguments;
    };
    static QList<Command> desktopEquivalents(const QString &name, const QString &folder = QString());

private:
    mutable QString ownFolder_; // probed once
    int lockFd_ = -1;
    int lockState_ = -1; // -1 not asked, 0 we are first, 1 another runs
};

} // namespace platform

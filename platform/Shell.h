#pragma once
#include <QString>
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
    virtual bool startProgram(const QString &name) = 0;
};

class QtShell final : public Shell {
public:
    QtShell();
    ~QtShell() override;
    QString programFolder() const override;
    QString currentFolder() const override;
    bool previousInstanceRunning() override;
    bool startProgram(const QString &name) override;

private:
    int lockFd_ = -1;
    int lockState_ = -1; // -1 not asked, 0 we are first, 1 another runs
};

} // namespace platform

#pragma once
#include "platform/Shell.h"

namespace testsupport {

// A shell whose folders and previous-instance answer the test sets; programs are not
// started, only recorded, and startProgram() answers startResult.
class FakeShell final : public platform::Shell {
public:
    QString programFolder() const override { return programFolderPath; }
    QString currentFolder() const override { return currentFolderPath; }
    bool previousInstanceRunning() override { return previousInstance; }
    bool startProgram(const QString &name, const QString &folder = QString()) override
    {
        started << name;
        startedFolders << folder;
        return startResult;
    }

    QString programFolderPath;
    QString currentFolderPath;
    bool previousInstance = false;
    bool startResult = true;
    QStringList started;
    QStringList startedFolders;
};

} // namespace testsupport

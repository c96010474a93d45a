#pragma once
// A main window on fake desktop services, with its program and work folders in a
// temporary folder, started without a command line.
#include "app/MDIForm1.h"
#include "tests/support/FakeServices.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>

namespace testsupport {

struct TestApp {
    FakeServices fakes;
    QTemporaryDir programDir;
    QTemporaryDir workDir;
    std::unique_ptr<tarmel::MDIForm1> main;

    explicit TestApp(bool start = true)
    {
        fakes.shell.programFolderPath = programDir.path();
        fakes.shell.currentFolderPath = workDir.path();
        main = std::make_unique<tarmel::MDIForm1>(fakes.services());
        if (start)
            main->startUp({});
    }
    QAction *item(const QString &name) const { return main->action(name); }
    bool enabled(const char *name) const { return item(QString::fromUtf8(name))->isEnabled(); }
    void trigger(const char *name) { item(QString::fromUtf8(name))->trigger(); }
    QString path(const QString &name) const { return workDir.filePath(name); }
    // Writes a file in the work folder; returns its canonical path.
    QString write(const QString &name, const QByteArray &bytes) const
    {
        QFile f(path(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        f.close();
        return QFileInfo(f).canonicalFilePath();
    }
    static QByteArray read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
};

} // namespace testsupport

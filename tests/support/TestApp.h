#pragma once
// A main window on fake desktop services, with its program and work folders in a
// temporary folder, started without a command line.
#include "app/MDIForm1.h"
#include "tests/support/FakeServices.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

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
    // Shows the main window, for tests that click, type or look at geometry and focus.
    bool showWindow()
    {
        main->resize(1000, 700);
        main->show();
        return QTest::qWaitForWindowExposed(main.get());
    }
    QAction *item(const QString &name) const { return main->action(name); }
    bool enabled(const QString &name) const { return item(name)->isEnabled(); }
    // A menu item as the user chooses it: nothing happens while it is disabled.
    void trigger(const QString &name) { item(name)->trigger(); }
    // A menu item's command run whatever its state, as a shortcut or a button may.
    void run(const QString &name) { main->runCommand(name); }
    tarmel::Form1 *doc() const { return main->activeDocument(); }
    QString path(const QString &name) const { return workDir.filePath(name); }
    // Checks enabled states written as "Mnu_Enregistrer -Mnu_Fusionner #3 -#8": a menu item by
    // name, a toolbar button by "#index", "-" for disabled. Returns the tokens that differ.
    QString mismatches(const QString &spec) const
    {
        QStringList wrong;
        for (const QString &token : spec.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const bool off = token.startsWith(QLatin1Char('-'));
            const QString name = off ? token.mid(1) : token;
            QAction *a = name.startsWith(QLatin1Char('#')) ? main->button(name.mid(1).toInt()) : item(name);
            if (!a || a->isEnabled() == off)
                wrong << token;
        }
        return wrong.join(QLatin1Char(' '));
    }
    // Opens a file written in the work folder through "&Ouvrir"; returns its path.
    QString openFile(const QByteArray &bytes, const QString &name = QStringLiteral("p.iso"))
    {
        const QString file = write(name, bytes);
        open(file);
        return file;
    }
    // Opens a file through "&Ouvrir"; returns the active document afterwards.
    tarmel::Form1 *open(const QString &file)
    {
        fakes.commonDialog.expectOpen(file);
        trigger("Mnu_Ouvrir");
        return doc();
    }
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

#pragma once
// The main window on fake services, shown, with a program of the benchmark's own opened in it.
#include "app/MDIForm1.h"
#include "document/Form1.h"
#include "tests/support/FakeServices.h"

#include <QString>

#include <cstdio>

namespace bench {

struct BenchApp {
    testsupport::FakeServices fakes;
    tarmel::MDIForm1 main;

    // Message boxes answer OK when okBoxes, else each one is reported on stderr.
    BenchApp(const QString &folder, bool okBoxes) : main(servicesIn(fakes, folder, okBoxes))
    {
        main.startUp({});
        main.resize(1000, 800);
        main.show();
    }
    // The document the file opened in; null when it could not be opened.
    tarmel::Form1 *open(const QString &path)
    {
        main.OpenFile(path);
        return main.activeDocument();
    }

private:
    static platform::Services servicesIn(testsupport::FakeServices &fakes, const QString &folder, bool okBoxes)
    {
        fakes.shell.programFolderPath = folder;
        fakes.shell.currentFolderPath = folder;
        if (okBoxes)
            fakes.messageBox.autoOk = true;
        else
            fakes.messageBox.onFailure = [](const QString &m) { std::fprintf(stderr, "unexpected box: %s\n", qPrintable(m)); };
        return fakes.services();
    }
};

} // namespace bench

// Helper process of the journal tests: a main window on fake services keeping its journals in
// <folder>; it opens <file> (or "-": a new document), types <text> at the start, says "typed"
// on its standard output and runs until it is killed.
#include "app/MDIForm1.h"
#include "document/Form1.h"
#include "platform/RichTextBox.h"
#include "tests/support/FakeServices.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <Qsci/qsciscintilla.h>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication qapp(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4)
        return 2;
    testsupport::FakeServices fakes;
    QTemporaryDir programDir;
    fakes.shell.programFolderPath = fakes.shell.currentFolderPath = programDir.path();
    fakes.shell.previousInstance = true; // the test decides who recovers: never this process
    fakes.messageBox.autoOk = true;
    fakes.messageBox.onFailure = [](const QString &) {};
    fakes.recovery.folder = args[1];
    std::tie(fakes.recovery.pause, fakes.recovery.longestWait) = std::pair(100, 1000);
    tarmel::MDIForm1 window(fakes.services());
    window.startUp({});
    if (args[2] != QLatin1String("-"))
        fakes.commonDialog.expectOpen(args[2]);
    window.runCommand(args[2] == QLatin1String("-") ? QStringLiteral("Mnu_Nouveau") : QStringLiteral("Mnu_Ouvrir"));
    tarmel::Form1 *doc = window.activeDocument();
    if (!doc)
        return 3;
    doc->Text1->setSelStart(0);
    QTest::keyClicks(doc->Text1->engine(), args[3]);
    std::puts("typed");
    std::fflush(stdout);
    return qapp.exec();
}

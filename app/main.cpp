#include "app/MDIForm1.h"
#include "batch/CommandLine.h"
#include "help/QtHelpViewer.h"
#include "platform/Services.h"
#include "platform/XdgRegistry.h"
#include "settings/ModAssoc.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>
#include <QScreen>

int main(int argc, char *argv[])
{
    // The arguments decide before any application object exists: an option runs the batch
    // path, which needs no display.
    const tarmel::batch::CommandLineOutcome commandLine =
        tarmel::batch::parseCommandLine(tarmel::batch::argumentsOf(argc, argv));
    if (commandLine.kind != tarmel::batch::CommandLineOutcome::Kind::Window)
        return tarmel::batch::batchMain(argc, argv, commandLine);

    // The window's arguments are a file name, not Qt options: Qt sees the program's name only.
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarmel"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tarmel.svg")));
    QGuiApplication::setDesktopFileName(QStringLiteral("tarmel"));
    // The program speaks French: so do Qt's own dialogs and buttons.
    QTranslator qtTranslator;
    if (qtTranslator.load(QStringLiteral("qtbase_fr"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));

    platform::QtMessageBox messageBox;
    platform::QtCommonDialog commonDialog;
    platform::QtClipboard clipboard;
    platform::SystemClock clock;
    platform::QtSettingsStore settings;
    platform::QtShell shell;
    platform::QtPrinter printer;
    commonDialog.setPrinter(printer.device()); // the dialogs' choices are the printer's for the session
    platform::QtRecovery recovery;
    tarmel::help::QtHelpViewer helpViewer(messageBox, tarmel::help::defaultHelpFolders());
    commonDialog.setHelpViewer(&helpViewer);
    platform::XdgRegistry registry(QCoreApplication::applicationFilePath(),
                                   tarmel::classNameOf(tarmel::registeredProgramPath(shell.programFolder())));

    platform::Services services;
    services.messageBox = &messageBox;
    services.commonDialog = &commonDialog;
    services.clipboard = &clipboard;
    services.clock = &clock;
    services.settings = &settings;
    services.shell = &shell;
    services.registry = &registry;
    services.printer = &printer;
    services.recovery = &recovery;

    tarmel::MDIForm1 window(services);
    messageBox.setParent(&window);
    commonDialog.setParent(&window);
    printer.setParent(&window);
    helpViewer.setParent(&window);
    recovery.setParent(&window);
    if (!window.startUp(commandLine.arguments))
        return 0; // the file went to the instance already running
    // Maximised; without a window manager (a bare X server) the size is set as well.
    if (const QScreen *screen = window.screen())
        window.setGeometry(screen->availableGeometry());
    window.showMaximized();
    return app.exec();
}

#include "app/MDIForm1.h"
#include "platform/Services.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>
#include <QScreen>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarmel"));
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

    platform::Services services;
    services.messageBox = &messageBox;
    services.commonDialog = &commonDialog;
    services.clipboard = &clipboard;
    services.clock = &clock;
    services.settings = &settings;
    services.shell = &shell;

    tarmel::MDIForm1 window(services);
    messageBox.setParent(&window);
    commonDialog.setParent(&window);
    if (!window.startUp(QCoreApplication::arguments().mid(1)))
        return 0; // the file went to the instance already running
    // Maximised; without a window manager (a bare X server) the size is set as well.
    if (const QScreen *screen = window.screen())
        window.setGeometry(screen->availableGeometry());
    window.showMaximized();
    return app.exec();
}

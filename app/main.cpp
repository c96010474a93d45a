#include "app/MDIForm1.h"
#include "platform/Services.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarmel"));
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
    window.show();
    return app.exec();
}

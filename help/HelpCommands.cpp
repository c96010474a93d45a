#include "help/HelpCommands.h"

#include "app/AppContext.h"
#include "help/HelpFiles.h"
#include "platform/Services.h"

namespace tarmel {

HelpCommands::HelpCommands(AppContext &app) : app_(app)
{
    app.registerCommand(QStringLiteral("Mnu_SommAide"), [this] { Mnu_SommAide_Click(); });
    app.registerCommand(QStringLiteral("Mnu_IndexAide"), [this] { Mnu_IndexAide_Click(); });
}

void HelpCommands::Mnu_SommAide_Click() { showHelp(platform::cdl::HelpContents); }

void HelpCommands::Mnu_IndexAide_Click() { showHelp(platform::cdl::HelpPartialKey); }

// Neither command checks that the file exists: the viewer says so when it is missing.
void HelpCommands::showHelp(int command)
{
    const platform::Services &services = app_.services();
    platform::DialogProperties &props = services.commonDialog->props();
    props.HelpFile = help::helpFilePath(services.shell->programFolder());
    props.HelpCommand = command;
    services.commonDialog->showHelp();
}

} // namespace tarmel

#include "commands/ToolbarCommands.h"

#include "app/AppContext.h"
#include "app/CommandState.h"

#include <QAction>

namespace tarmel {

ToolbarCommands::ToolbarCommands(AppContext &app) : app_(app)
{
    app.registerCommand(QStringLiteral("Mnu_AfficherBarre"), [this] { Mnu_AfficherBarre_Click(); });
    app.registerCommand(QStringLiteral("Mnu_MasquerBarre"), [this] { Mnu_MasquerBarre_Click(); });
}

void ToolbarCommands::Mnu_AfficherBarre_Click()
{
    show(true);
}

void ToolbarCommands::Mnu_MasquerBarre_Click()
{
    show(false);
}

void ToolbarCommands::show(bool visible)
{
    app_.setToolbarVisible(visible);
    app_.commands().item(QStringLiteral("Mnu_MasquerBarre"))->setEnabled(visible);
    app_.commands().item(QStringLiteral("Mnu_AfficherBarre"))->setEnabled(!visible);
}

} // namespace tarmel

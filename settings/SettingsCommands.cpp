#include "settings/SettingsCommands.h"

#include "app/AppContext.h"
#include "settings/FrmPref.h"

namespace tarmel {

SettingsCommands::SettingsCommands(AppContext &app) : app_(app)
{
    app.registerCommand(QStringLiteral("Mnu_Preferences"), [this] { Mnu_Preferences_Click(); });
}

// The dialog is made each time, blocks the other windows while it is open and goes when it
// closes; the command returns at once (the dialog's buttons do the rest).
void SettingsCommands::Mnu_Preferences_Click()
{
    auto *dialog = new FrmPref(app_, app_.dialogParent());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->show();
}

} // namespace tarmel

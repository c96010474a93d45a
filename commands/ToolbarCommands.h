#pragma once
// "Barre d'outils": show and hide the toolbar, customise its arrangement, save and
// restore it in the settings store; the buttons' pictures.

#include "commands/ToolbarArrangement.h"

class QIcon;
class QObject;

namespace tarmel {

class AppContext;

class ToolbarCommands {
public:
    explicit ToolbarCommands(AppContext &app);

    void Mnu_AfficherBarre_Click();
    void Mnu_MasquerBarre_Click();
    void Mnu_ModifierBarre_Click();
    void Mnu_SauverBarre_Click();
    void Mnu_RestaurerBarre_Click();

    // The toolbar control's own save and restore, under "Tarmel", "UserDef", "1". Restoring
    // with nothing (readable) saved puts the table's arrangement back. Start-up restores
    // through the same call.
    void SaveToolbar();
    void RestoreToolbar();

    // The buttons on the toolbar, by table index, in on-screen order.
    toolbar::Arrangement arrangement() const;
    void apply(const toolbar::Arrangement &shown);

    // The picture of a button: the desktop theme's icon of that name, else the program's own.
    static QIcon buttonIcon(const char *themeName);

private:
    void show(bool visible);

    AppContext &app_;
    QObject *moveWatch_; // owned by the toolbar
};

} // namespace tarmel

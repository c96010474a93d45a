#pragma once
// "Barre d'outils": show and hide the toolbar.

namespace tarmel {

class AppContext;

class ToolbarCommands {
public:
    explicit ToolbarCommands(AppContext &app);

    void Mnu_AfficherBarre_Click();
    void Mnu_MasquerBarre_Click();

private:
    void show(bool visible);

    AppContext &app_;
};

} // namespace tarmel

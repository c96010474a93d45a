#pragma once
// "&Sommaire de l'aide" and "Rechercher dans l'aide": the program's help file, through the
// common dialog's help operation.

namespace tarmel {

class AppContext;

class HelpCommands {
public:
    explicit HelpCommands(AppContext &app);

    void Mnu_SommAide_Click();
    void Mnu_IndexAide_Click();

private:
    void showHelp(int command);

    AppContext &app_;
};

} // namespace tarmel

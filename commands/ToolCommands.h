#pragma once
// "Police...", the three programs of the "&Outils" menu and "&A propos".

#include <QString>

namespace tarmel {

class AppContext;
class Form1;

class ToolCommands {
public:
    explicit ToolCommands(AppContext &app);

    void Mnu_Texte_Click();
    void Mnu_Calculatrice_Click();
    void Mnu_Explore_Click();
    void Mnu_tableCar_Click();
    void Mnu_Apropos_Click();

private:
    bool chooseFont(Form1 *doc);
    void startTool(const QString &program, const QString &notFound, const QString &folder = QString());

    AppContext &app_;
};

} // namespace tarmel

#pragma once
// "Coloration syntaxique" (a check item of "&Affichage", remembered per user),
// "Vérifier le programme" and "Informations programme" (in "&Outils").
#include <QString>

namespace tarmel {

class AppContext;
class CheckList;
class Form1;

class CheckCommands {
public:
    explicit CheckCommands(AppContext &app);

    void Mnu_Coloration_Click();
    void Mnu_VerifierProgramme_Click();
    void Mnu_InfosProgramme_Click();

    bool colouring() const { return colouring_; }
    // The check list of a document window, null until its first check.
    static CheckList *checkList(const Form1 *doc);

private:
    void applyColouring(Form1 *doc) const;
    void check(Form1 *doc);
    CheckList *makeCheckList(Form1 *doc);
    void goToFinding(Form1 *doc, int line, int column);
    void removeAccents(Form1 *doc);

    AppContext &app_;
    bool colouring_ = true;
};

} // namespace tarmel

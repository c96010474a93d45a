#pragma once
// The "&Fichier" commands: new, open, close, save, save as, merge, quit, and the question a
// modified document asks as it closes.

#include <QString>

namespace tarmel {

class AppContext;
class Form1;

class FileCommands {
public:
    explicit FileCommands(AppContext &app);

    void NouveauFichier();
    void OpenFile(const QString &path);
    bool SaveFile(const QString &path);
    bool Mnu_EnregistrerSous_Click();
    bool documentCloseRequest(Form1 *doc); // false keeps the window open

    void Mnu_Nouveau_Click();
    void Mnu_Ouvrir_Click();
    void Mnu_Close_Click();
    void Mnu_Enregistrer_Click();
    void Mnu_Quitter_Click();
    void Mnu_Fusionner_Click();

private:
    enum class SaveOutcome { Saved, Failed, Declined };
    bool saveDocument(Form1 *doc, const QString &path);
    SaveOutcome savePlain(Form1 *doc, const QString &path);
    bool saveDocumentAs(Form1 *doc);
    bool askSaveAsName(QString &path, bool &rich);
    void showError(const QString &text);

    AppContext &app_;
};

} // namespace tarmel

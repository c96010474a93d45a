#pragma once
// The "&Fichier" commands: new, open, close, save, save as, merge, quit, and the question a
// modified document asks as it closes.

#include <QString>

#include <functional>

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

    // Asked before a file that cannot be replaced (its folder is read-only) is rewritten in place:
    // secures the document's text (the recovery journal) and returns false when it could not,
    // which stops the save. Empty by default: nothing is secured.
    using SecureText = std::function<bool(Form1 *doc, const QString &path)>;
    void setSecureBeforeRewrite(SecureText secure) { secureBeforeRewrite_ = std::move(secure); }

private:
    enum class SaveOutcome { Saved, Failed, Declined };
    bool saveDocument(Form1 *doc, const QString &path);
    SaveOutcome savePlain(Form1 *doc, const QString &path, QString *reason);
    bool saveDocumentAs(Form1 *doc);
    bool askSaveAsName(QString &path, bool &rich);
    void showError(const QString &text);
    std::function<bool(const QString &)> secureFor(Form1 *doc) const;

    AppContext &app_;
    SecureText secureBeforeRewrite_;
};

} // namespace tarmel

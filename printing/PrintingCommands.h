#pragma once
// "&Imprimer" (and the toolbar's "Imprimer"), "Aperçu avant impression" and
// "&Configurer l'imprimante".

#include <QString>

namespace platform {
struct PrintDocument;
}

namespace tarmel {

class AppContext;
class Form1;

class PrintingCommands {
public:
    explicit PrintingCommands(AppContext &app);

    void Mnu_Imprimer_Click();
    void Mnu_Apercu_Click();
    void Mnu_ConfigImp_Click();

private:
    // The document as printed: the text given, in the font at the caret, copies as asked.
    platform::PrintDocument document(Form1 *doc, const QString &text, int copies);
    void reportFailure(const QString &reason);

    AppContext &app_;
};

} // namespace tarmel

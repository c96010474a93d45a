#pragma once
// "Rechercher" and "Remplacer": their panels in every document window, the searches FindIt and
// Remplace on the shared search state, and the replacements.

#include "search/SearchRules.h"

#include <QPointer>

namespace platform {
struct KeyEventArgs;
}

namespace tarmel {

class AppContext;
class Form1;

class SearchCommands {
public:
    explicit SearchCommands(AppContext &app);

    void Mnu_Rechercher_Click();
    void Mnu_Remplacer_Click();

    // One search on the active document with the shared state; Remplace offers the hit.
    void FindIt();
    void Remplace();

    // "Remp&lacer": the offered occurrence, and only while the selection still covers it.
    void replaceOffered(Form1 *doc);
    // "&Tout remplacer": every occurrence from the caret on, in the search's direction.
    void replaceAll(Form1 *doc);

private:
    void watch(Form1 *doc);
    void Text1_KeyDown(Form1 *doc, platform::KeyEventArgs &e);
    bool runSearch(Form1 *doc);
    search::LastSearch lastSearchIn(const Form1 *doc) const;
    search::SearchOptions options() const;
    void showError();

    AppContext &app_;
    // What the last search or replacement left, in the document it ran on; forgotten when
    // that document's text changes.
    QPointer<Form1> lastDocument_;
    search::LastSearch last_;
};

} // namespace tarmel

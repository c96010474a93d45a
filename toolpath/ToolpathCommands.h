#pragma once
// "Parcours d'outil" in "&Affichage": the toolpath view of each document window, shown or
// hidden per window; the last choice is remembered and given to new windows.

namespace tarmel {

class AppContext;
class Form1;

namespace toolpath {
class ToolpathDocument;
}

class ToolpathCommands {
public:
    explicit ToolpathCommands(AppContext &app);

    void Mnu_ParcoursOutil_Click();

    // The document's toolpath view, nullptr before the window was created.
    static toolpath::ToolpathDocument *of(Form1 *doc);

private:
    void created(Form1 *doc);
    void activated(Form1 *doc);
    bool remembered() const;

    AppContext &app_;
};

} // namespace tarmel

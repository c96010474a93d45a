#pragma once
// Undo, the clipboard and selection commands, and what the editing area's notifications do
// to the command state.

namespace platform {
struct KeyEventArgs;
struct MouseEventArgs;
}

namespace tarmel {

class AppContext;
class Form1;

class EditCommands {
public:
    explicit EditCommands(AppContext &app);

    void RecordUndoSnapshot(Form1 *doc);
    void Mnu_Annuler_Click();
    void Mnu_Edit_Click();
    void Toolbar1_Click();

    void Mnu_Edition_Click(int index); // 4 cut, 5 copy, 6 paste
    void Mnu_Supprimer_Click();
    void Mnu_VidePresPap_Click();
    void Mnu_ToutSelect_Click();
    void Mnu_Desel_Click();

private:
    void watch(Form1 *doc);
    void Text1_Change(Form1 *doc);
    void Text1_Click(Form1 *doc);
    void Text1_DblClick(Form1 *doc);
    void Text1_KeyPress(Form1 *doc);
    void Text1_MouseDown(const platform::MouseEventArgs &e);
    void markTyped(Form1 *doc);

    AppContext &app_;
};

} // namespace tarmel

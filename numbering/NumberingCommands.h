#pragma once
// "&Renuméroter" and "&Numérotation automatique": their panels in every document window,
// and the Enter key of automatic numbering.

namespace platform {
struct KeyEventArgs;
}

namespace tarmel {

class AppContext;
class Form1;

class NumberingCommands {
public:
    explicit NumberingCommands(AppContext &app);

    void Mnu_Renumeroter_Click();
    void Mnu_NumAuto_Click();
    void Text1_KeyDown(Form1 *doc, platform::KeyEventArgs &e);

private:
    void watch(Form1 *doc);

    AppContext &app_;
};

} // namespace tarmel

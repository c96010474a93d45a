#pragma once
// "Insérer Date / Heure": its five entries insert the date or time, and show what they insert
// as their captions.

namespace tarmel {

class AppContext;

class DateCommands {
public:
    explicit DateCommands(AppContext &app);

    void Mnu_D_Click(int format);
    void refreshDateCaptions();

private:
    AppContext &app_;
};

} // namespace tarmel

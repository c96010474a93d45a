#pragma once
// "Préférences": the preferences dialog, opened modally.

namespace tarmel {

class AppContext;

class SettingsCommands {
public:
    explicit SettingsCommands(AppContext &app);

    void Mnu_Preferences_Click();

private:
    AppContext &app_;
};

} // namespace tarmel

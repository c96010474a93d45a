#pragma once
#include <QString>

namespace platform {

// Per-user settings: application, section, key -> text value.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual QString get(const QString &app, const QString &section, const QString &key,
                        const QString &defaultValue = QString()) const = 0;
    virtual void set(const QString &app, const QString &section, const QString &key,
                     const QString &value) = 0;
    virtual void remove(const QString &app, const QString &section, const QString &key) = 0;
};

// QSettings in INI format under the user's configuration folder (one file per application).
class QtSettingsStore final : public SettingsStore {
public:
    QString get(const QString &app, const QString &section, const QString &key,
                const QString &defaultValue = QString()) const override;
    void set(const QString &app, const QString &section, const QString &key,
             const QString &value) override;
    void remove(const QString &app, const QString &section, const QString &key) override;
};

} // namespace platform

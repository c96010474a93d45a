#pragma once
#include "platform/SettingsStore.h"

#include <QMap>

namespace testsupport {

// The per-user settings store in memory, keyed "app/section/key".
class FakeSettingsStore final : public platform::SettingsStore {
public:
    QString get(const QString &app, const QString &section, const QString &key,
                const QString &defaultValue = QString()) const override
    {
        return values.value(path(app, section, key), defaultValue);
    }
    void set(const QString &app, const QString &section, const QString &key,
             const QString &value) override
    {
        values.insert(path(app, section, key), value);
    }
    void remove(const QString &app, const QString &section, const QString &key) override
    {
        values.remove(path(app, section, key));
    }

    static QString path(const QString &app, const QString &section, const QString &key)
    {
        return app + QLatin1Char('/') + section + QLatin1Char('/') + key;
    }

    QMap<QString, QString> values;
};

} // namespace testsupport

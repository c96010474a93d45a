#include "platform/SettingsStore.h"

#include <QSettings>

namespace platform {

// Each application's values live in <user configuration folder>/Tarmel/<app>.ini, one
// INI group per section. The user configuration folder follows XDG_CONFIG_HOME, which
// QSettings reads once per process.

QString QtSettingsStore::get(const QString &app, const QString &section, const QString &key,
                             const QString &defaultValue) const
{
    QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tarmel"), app);
    store.beginGroup(section);
    const QVariant value = store.value(key);
    return value.isValid() ? value.toString() : defaultValue;
}

void QtSettingsStore::set(const QString &app, const QString &section, const QString &key,
                          const QString &value)
{
    QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tarmel"), app);
    store.beginGroup(section);
    store.setValue(key, value);
}

void QtSettingsStore::remove(const QString &app, const QString &section, const QString &key)
{
    QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tarmel"), app);
    store.beginGroup(section);
    store.remove(key);
}

} // namespace platform

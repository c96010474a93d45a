#pragma once
#include <QString>
#include <QStringList>

#include <optional>

namespace platform {

// A per-user class root of file-type associations: keys named by paths of names joined by
// a backslash ("Tarmel.exe\shell\open\command"), each holding string values by name, the
// empty name being the key's default value.
class Registry {
public:
    virtual ~Registry() = default;
    // Sets a string value, creating the key and the keys above it as needed; false when the
    // value cannot be stored.
    virtual bool setValue(const QString &key, const QString &name, const QString &value) = 0;
    // The value, or nothing when the key or the value does not exist.
    virtual std::optional<QString> value(const QString &key, const QString &name) const = 0;
    // Deletes one value; false when there was none.
    virtual bool deleteValue(const QString &key, const QString &name) = 0;
    // Deletes a key with everything under it; false when there was none.
    virtual bool deleteKey(const QString &key) = 0;
    // The names of the keys directly under a key ("" for the class root), and of its values.
    virtual QStringList subKeys(const QString &key) const = 0;
    virtual QStringList valueNames(const QString &key) const = 0;
    // Makes the changes made so far effective for the desktop and stores them; false when
    // some of it could not be done.
    virtual bool commit() = 0;
};

} // namespace platform

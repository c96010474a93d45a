#pragma once
#include "platform/Registry.h"

#include <QByteArray>
#include <QMap>

namespace tarmel {

// A class root kept in memory; it can be stored as JSON and read back. Key and value
// names are compared exactly as written.
class MemoryRegistry : public platform::Registry {
public:
    bool setValue(const QString &key, const QString &name, const QString &value) override;
    std::optional<QString> value(const QString &key, const QString &name) const override;
    bool deleteValue(const QString &key, const QString &name) override;
    bool deleteKey(const QString &key) override;
    QStringList subKeys(const QString &key) const override;
    QStringList valueNames(const QString &key) const override;
    bool commit() override { return true; }

    bool isEmpty() const { return keys_.isEmpty(); }
    // {"key": {"name": "value", ...}, ...}; a key without values is kept as an empty object.
    QByteArray toJson() const;
    // Replaces the content by the one stored; false (content left empty) when the bytes
    // are not such a document.
    bool loadJson(const QByteArray &json);

    // For tests: the number of writes that still succeed (-1: all of them).
    int writesLeft = -1;

private:
    QMap<QString, QMap<QString, QString>> keys_; // every key, its parents included
};

} // namespace tarmel

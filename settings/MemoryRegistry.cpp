#include "settings/MemoryRegistry.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace tarmel {

namespace {

const QChar separator = u'\\';

bool isUnder(const QString &key, const QString &parent)
{
    return key.size() > parent.size() && key.startsWith(parent) && key[parent.size()] == separator;
}

} // namespace

bool MemoryRegistry::setValue(const QString &key, const QString &name, const QString &value)
{
    if (key.isEmpty() || writesLeft == 0)
        return false;
    if (writesLeft > 0)
        --writesLeft;
    for (qsizetype at = key.indexOf(separator); at > 0; at = key.indexOf(separator, at + 1))
        keys_[key.left(at)];
    keys_[key].insert(name, value);
    return true;
}

std::optional<QString> MemoryRegistry::value(const QString &key, const QString &name) const
{
    const auto k = keys_.constFind(key);
    if (k == keys_.cend() || !k->contains(name))
        return std::nullopt;
    return k->value(name);
}

bool MemoryRegistry::deleteValue(const QString &key, const QString &name)
{
    const auto k = keys_.find(key);
    return k != keys_.end() && k->remove(name) > 0;
}

bool MemoryRegistry::deleteKey(const QString &key)
{
    if (!keys_.remove(key))
        return false;
    for (auto k = keys_.begin(); k != keys_.end();)
        k = isUnder(k.key(), key) ? keys_.erase(k) : std::next(k);
    return true;
}

QStringList MemoryRegistry::subKeys(const QString &key) const
{
    QStringList names;
    for (auto k = keys_.cbegin(); k != keys_.cend(); ++k) {
        if (key.isEmpty() ? !k.key().contains(separator)
                          : isUnder(k.key(), key) && !k.key().mid(key.size() + 1).contains(separator))
            names << (key.isEmpty() ? k.key() : k.key().mid(key.size() + 1));
    }
    return names;
}

QStringList MemoryRegistry::valueNames(const QString &key) const
{
    return keys_.value(key).keys();
}

QByteArray MemoryRegistry::toJson() const
{
    QJsonObject root;
    for (auto k = keys_.cbegin(); k != keys_.cend(); ++k) {
        QJsonObject values;
        for (auto v = k->cbegin(); v != k->cend(); ++v)
            values.insert(v.key(), v.value());
        root.insert(k.key(), values);
    }
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool MemoryRegistry::loadJson(const QByteArray &json)
{
    keys_.clear();
    const QJsonDocument doc = QJsonDocument::fromJson(json);
    if (!doc.isObject())
        return false;
    const QJsonObject root = doc.object();
    for (auto k = root.begin(); k != root.end(); ++k) {
        if (k.key().isEmpty() || !k.value().isObject()) {
            keys_.clear();
            return false;
        }
        QMap<QString, QString> &values = keys_[k.key()];
        const QJsonObject stored = k.value().toObject();
        for (auto v = stored.begin(); v != stored.end(); ++v)
            values.insert(v.key(), v.value().toString());
    }
    return true;
}

} // namespace tarmel

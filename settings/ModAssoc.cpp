#include "settings/ModAssoc.h"

#include "app/Paths.h"

#include <algorithm>

namespace tarmel {

namespace {

const QString openCommandKey = QStringLiteral("\\shell\\open\\command");
const QString iconKey = QStringLiteral("\\DefaultIcon");

QString withPeriod(const QString &extension)
{
    return extension.contains(u'.') ? extension : u'.' + extension;
}

bool classStillUsed(const platform::Registry &registry, const QString &className)
{
    for (const QString &key : registry.subKeys(QString())) {
        if (key.startsWith(u'.') && registry.value(key, QString()) == className)
            return true;
    }
    return false;
}

} // namespace

const QList<AssociationGroup> &associationGroups()
{
    static const QList<AssociationGroup> groups{
        {QStringLiteral("AssociateTXT"), {QStringLiteral(".txt"), QStringLiteral(".asc")}},
        {QStringLiteral("AssociateISO"),
         {QStringLiteral(".iso"), QStringLiteral(".rub"), QStringLiteral(".xcn"), QStringLiteral(".cn"),
          QStringLiteral(".xpi")}},
        {QStringLiteral("AssociateJAU"), {QStringLiteral(".jau"), QStringLiteral(".cor")}},
        {QStringLiteral("AssociateRTF"), {QStringLiteral(".rtf")}},
        {QStringLiteral("AssociateH"), {QStringLiteral(".h")}},
        {QStringLiteral("AssociateCNC"), {QStringLiteral(".cnc")}},
    };
    return groups;
}

QString registeredProgramPath(const QString &programFolder)
{
    return AddBackslash(programFolder) + QStringLiteral("Tarmel.exe");
}

QString classNameOf(const QString &programPath)
{
    const qsizetype slash = std::max(programPath.lastIndexOf(u'/'), programPath.lastIndexOf(u'\\'));
    QString name = programPath.mid(slash + 1);
    if (name.endsWith(QChar(0)))
        name.chop(1);
    return name.trimmed();
}

QString openCommandOf(const QString &programPath)
{
    return u'"' + programPath + QStringLiteral("\" \"%1\"");
}

bool RegisterExtension(platform::Registry &registry, const QString &programPath, const QString &extension)
{
    const QString className = classNameOf(programPath);
    return registry.setValue(withPeriod(extension), QString(), className)
           && registry.setValue(className + openCommandKey, QString(), openCommandOf(programPath))
           && registry.setValue(className + iconKey, QString(), programPath);
}

QString ReadRegistryString(const platform::Registry &registry, const QString &key, const QString &name,
                           const QString &fallback)
{
    const std::optional<QString> value = registry.value(key, name);
    if (!value)
        return fallback;
    const qsizetype nul = value->indexOf(QChar(0));
    return nul < 0 ? *value : value->left(nul);
}

void DeleteRegistryValue(platform::Registry &registry, const QString &key, const QString &name)
{
    registry.deleteValue(key, name);
}

void ReleaseExtension(platform::Registry &registry, const QString &programPath, const QString &extension)
{
    const QString className = classNameOf(programPath);
    const QString key = withPeriod(extension);
    if (className.isEmpty() || ReadRegistryString(registry, key, QString()) != className)
        return;
    DeleteRegistryValue(registry, key, QString());
    if (registry.valueNames(key).isEmpty() && registry.subKeys(key).isEmpty())
        registry.deleteKey(key);
    if (!classStillUsed(registry, className))
        registry.deleteKey(className);
}

void ApplyAssociationGroup(platform::Registry &registry, const QString &programPath, const AssociationGroup &group,
                           bool checked)
{
    for (const QString &extension : group.extensions) {
        if (checked)
            RegisterExtension(registry, programPath, extension);
        else
            ReleaseExtension(registry, programPath, extension);
    }
}

} // namespace tarmel

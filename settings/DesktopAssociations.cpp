#include "settings/DesktopAssociations.h"

#include "settings/ModAssoc.h"

#include <QList>

#include <algorithm>

namespace tarmel {

namespace {

const QString defaultSection = QStringLiteral("[Default Applications]");

struct OwnType {
    const char16_t *mimeType;
    const char16_t *comment;
};

const OwnType ownTypes[] = {
    {u"text/x-tarmel-iso", u"Programme CN ISO"},
    {u"text/x-tarmel-jau", u"Fichier de jauges"},
    {u"text/x-tarmel-cnc", u"Programme CN"},
};

bool isSection(const QString &line) { return line.trimmed().startsWith(u'['); }

// The lines of a key=list entry of the default section, with the desktop id put first or
// taken out; an empty string when the list is left empty.
QString editedEntry(const QString &line, const QStringList &mimeTypes, const QString &desktopId)
{
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0 || line.trimmed().startsWith(u'#'))
        return line;
    const QString type = line.left(eq).trimmed();
    QStringList ids = line.mid(eq + 1).trimmed().split(u';', Qt::SkipEmptyParts);
    ids.removeAll(desktopId);
    if (mimeTypes.contains(type))
        ids.prepend(desktopId);
    return ids.isEmpty() ? QString() : type + u'=' + ids.join(u';') + u';';
}

} // namespace

DesktopType desktopTypeOf(const QString &extension)
{
    const QString e = extension.toLower();
    if (e == u".txt" || e == u".asc")
        return {QStringLiteral("text/plain"), false};
    if (e == u".h")
        return {QStringLiteral("text/x-chdr"), false};
    if (e == u".rtf")
        return {QStringLiteral("application/rtf"), false};
    if (e == u".iso")
        return {QStringLiteral("application/x-cd-image"), false};
    if (e == u".xpi")
        return {QStringLiteral("application/x-xpinstall"), false};
    if (e == u".rub" || e == u".xcn" || e == u".cn")
        return {QString::fromUtf16(ownTypes[0].mimeType), true};
    if (e == u".jau" || e == u".cor")
        return {QString::fromUtf16(ownTypes[1].mimeType), true};
    if (e == u".cnc")
        return {QString::fromUtf16(ownTypes[2].mimeType), true};
    return {};
}

QStringList ownedExtensions(const platform::Registry &registry, const QString &className)
{
    QStringList extensions;
    if (ReadRegistryString(registry, className + QStringLiteral("\\shell\\open\\command"), QString()).isEmpty())
        return extensions;
    for (const QString &key : registry.subKeys(QString())) {
        if (key.startsWith(u'.') && ReadRegistryString(registry, key, QString()) == className)
            extensions << key;
    }
    return extensions;
}

QStringList mimeTypesOf(const QStringList &extensions)
{
    QStringList types;
    for (const QString &extension : extensions) {
        const QString type = desktopTypeOf(extension).mimeType;
        if (!type.isEmpty() && !types.contains(type))
            types << type;
    }
    return types;
}

QByteArray mimePackage(const QStringList &extensions)
{
    QString types;
    for (const OwnType &own : ownTypes) {
        const QString name = QString::fromUtf16(own.mimeType);
        QString globs;
        for (const QString &extension : extensions) {
            if (desktopTypeOf(extension).mimeType == name)
                globs += QStringLiteral("    <glob pattern=\"*%1\"/>\n").arg(extension.toLower());
        }
        if (!globs.isEmpty())
            types += QStringLiteral("  <mime-type type=\"%1\">\n    <comment>%2</comment>\n"
                                    "    <sub-class-of type=\"text/plain\"/>\n%3  </mime-type>\n")
                         .arg(name, QString::fromUtf16(own.comment), globs);
    }
    if (types.isEmpty())
        return {};
    return (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n")
            + types + QStringLiteral("</mime-info>\n"))
        .toUtf8();
}

QString desktopExecProgram(const QString &executable)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString text = executable;
    text.replace(u'%', QStringLiteral("%%"));
    if (std::none_of(text.cbegin(), text.cend(), [](QChar c) { return reserved.contains(c); }))
        return text;
    QString quoted;
    for (const QChar c : text) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    // As a string value, every backslash is written twice.
    quoted.replace(u'\\', QStringLiteral("\\\\"));
    return u'"' + quoted + u'"';
}

QByteArray desktopEntry(const QString &executable, const QStringList &mimeTypes)
{
    return (QStringLiteral("[Desktop Entry]\n"
                           "Type=Application\n"
                           "Name=Tarmel\n"
                           "Comment=Éditeur de programmes CN\n"
                           "Exec=%1 %f\n"
                           "Terminal=false\n"
                           "Categories=Development;TextEditor;\n"
                           "MimeType=%2;\n")
                .arg(desktopExecProgram(executable), mimeTypes.join(u';')))
        .toUtf8();
}

QByteArray mimeAppsWithDefaults(const QByteArray &current, const QStringList &mimeTypes, const QString &desktopId)
{
    QStringList lines = QString::fromUtf8(current).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    qsizetype section = lines.indexOf(defaultSection);
    if (section < 0 && !mimeTypes.isEmpty()) {
        lines << defaultSection;
        section = lines.size() - 1;
    }
    QStringList missing = mimeTypes;
    QStringList result;
    bool inDefaults = false;
    qsizetype sectionEnd = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (isSection(lines[i]))
            inDefaults = i == section;
        if (inDefaults && !isSection(lines[i])) {
            missing.removeAll(lines[i].section(u'=', 0, 0).trimmed());
            const QString edited = editedEntry(lines[i], mimeTypes, desktopId);
            if (!edited.isEmpty() || lines[i].isEmpty())
                result << edited;
        } else {
            result << lines[i];
        }
        if (inDefaults && !result.isEmpty() && !result.last().trimmed().isEmpty())
            sectionEnd = result.size();
    }
    for (const QString &type : missing)
        result.insert(sectionEnd++, type + u'=' + desktopId + u';');
    bool anyEntry = false;
    for (const QString &line : result)
        anyEntry = anyEntry || (!isSection(line) && !line.trimmed().isEmpty());
    return anyEntry ? (result.join(u'\n') + u'\n').toUtf8() : QByteArray();
}

} // namespace tarmel

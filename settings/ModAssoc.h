#pragma once
// File-type associations in the class root: registering an extension for the program,
// reading an extension's owner, releasing what registration wrote.

#include "platform/Registry.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace tarmel {

// One check box of the preferences: its settings key and its extensions, in the order
// they are processed.
struct AssociationGroup {
    QString settingsKey;
    QStringList extensions;
};

// TXT, ISO, JAU, RTF, H, CNC, in that order.
const QList<AssociationGroup> &associationGroups();

// The program path that registration writes: the folder, one separator, "Tarmel.exe".
QString registeredProgramPath(const QString &programFolder);

// The class name of a program path: the part after its last separator, one trailing NUL
// removed, then the blanks around it.
QString classNameOf(const QString &programPath);

// The open command written for a program path: the path and the file argument, each quoted,
// so that a folder with blanks works ("P" "%1").
QString openCommandOf(const QString &programPath);

// Makes the extension (a period is put in front when it has none) open with the program:
// the extension's default value names the class, whose "shell\open\command" holds the open
// command and "DefaultIcon" the path. False as soon as one write fails; the later ones are
// then not attempted.
bool RegisterExtension(platform::Registry &registry, const QString &programPath, const QString &extension);

// The named value of a key (the empty name: its default value), or the fallback when the key
// or the value does not exist.
QString ReadRegistryString(const platform::Registry &registry, const QString &key, const QString &name,
                           const QString &fallback = QString());

// Deletes the named value of a key; a missing key or value is no failure.
void DeleteRegistryValue(platform::Registry &registry, const QString &key, const QString &name);

// Releases the extension when the program's class owns it: its default value goes (the key
// too when nothing else is left in it), and the class key once no extension names it any
// more. An extension owned by another program, or by nobody, is left as it is.
void ReleaseExtension(platform::Registry &registry, const QString &programPath, const QString &extension);

// A checked group registers each of its extensions, a cleared one releases each of them.
void ApplyAssociationGroup(platform::Registry &registry, const QString &programPath, const AssociationGroup &group,
                           bool checked);

} // namespace tarmel

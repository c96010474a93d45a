#pragma once
// What the desktop needs to open the registered extensions with the program: the MIME type
// of each extension, the program's own MIME package, its desktop entry and its default
// applications. Text only; the platform writes the files.

#include "platform/Registry.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tarmel {

struct DesktopType {
    QString mimeType;  // empty: an extension the desktop side does not handle
    bool own = false;  // a type of the program's own, defined by its MIME package
};

// Extensions the shared MIME database already types keep that type (.txt and .asc
// text/plain, .h text/x-chdr, .rtf application/rtf, .iso application/x-cd-image, .xpi
// application/x-xpinstall); the others get the program's own type of their group
// (text/x-tarmel-iso, text/x-tarmel-jau, text/x-tarmel-cnc). Case is ignored.
DesktopType desktopTypeOf(const QString &extension);

// The extensions whose default value names the class and whose class has an open command,
// in the class root's order.
QStringList ownedExtensions(const platform::Registry &registry, const QString &className);

// The MIME types of those extensions, each once, in the order of the extensions.
QStringList mimeTypesOf(const QStringList &extensions);

// The MIME package defining the program's own types for those extensions: one type per group
// with a glob for each of its extensions, and none for an extension the database knows.
// Empty when none of the extensions needs a type of its own.
QByteArray mimePackage(const QStringList &extensions);

// The program path as the desktop entry's Exec line needs it ("%" doubled): as it is, or, when
// it holds a blank or another reserved character, in double quotes with the characters that
// quoting reserves escaped, then escaped again as a string value.
QString desktopExecProgram(const QString &executable);

// The desktop entry "tarmel.desktop" that opens files of those types with the executable.
QByteArray desktopEntry(const QString &executable, const QStringList &mimeTypes);

// The desktop's list of default applications ("mimeapps.list") once the program is the
// first default of each of those types and of no other: the program is put first in the
// list of each type and taken out of the other lists (a list left empty goes); every other
// line stays as it was. Empty when no entry of any application is left.
QByteArray mimeAppsWithDefaults(const QByteArray &current, const QStringList &mimeTypes,
                                const QString &desktopId);

} // namespace tarmel

#pragma once
// Where the program's help lives: the help file the commands name, the compiled collection
// that stands for it, and the folders the viewer looks in.

#include <QString>
#include <QStringList>

namespace tarmel::help {

// The namespace and folder of the topics inside the collection, and its contents page.
inline QString helpNamespace() { return QStringLiteral("tarmel.aide"); }
inline QString contentsPage() { return QStringLiteral("qthelp://tarmel.aide/aide/html/index.html"); }

// "Tarmel.HLP" in the program folder, with a single separator between them.
QString helpFilePath(const QString &programFolder);

// The collection that stands for a help file: the same folder and base name, suffix ".qhc"
// in place of the file's own suffix. Empty for an empty path.
QString collectionFor(const QString &helpFile);

// The collections the viewer tries, in order: beside the help file, then under the same name
// in each fallback folder (the executable's folder, the installed data folder). Empty folders
// and paths already listed are left out.
QStringList collectionCandidates(const QString &helpFile, const QStringList &fallbackFolders);

} // namespace tarmel::help

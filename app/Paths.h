#pragma once
#include <QString>
#include <QStringList>

namespace tarmel {

// Path functions. The separator is the platform's, "/".
QString AddBackslash(const QString &path);   // appends the separator unless the path ends with one
QString FileNameOnly(const QString &path);   // the part after the last separator
bool FileExists(const QString &path);        // an entry exists under exactly that path
QString LongPathOf(const QString &path);     // absolute, cleaned, links kept; empty when it leads to nothing

// The command line as one raw text: the arguments joined by single blanks, one pair of
// surrounding double quotes removed, a relative path made absolute against currentFolder.
// Empty when there are no arguments.
QString commandLinePath(const QStringList &arguments, const QString &currentFolder);

} // namespace tarmel

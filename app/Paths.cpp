#include "app/Paths.h"

#include "files/FilePaths.h"

#include <QDir>

#include <cstdlib>
#include <sys/stat.h>

namespace tarmel {

QString AddBackslash(const QString &path)
{
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

QString FileNameOnly(const QString &path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

// Paths go to the system with their own bytes (see FilePaths.h), names that are not UTF-8 included.
namespace {

QString canonicalPath(const QString &path)
{
    char *resolved = ::realpath(pathToBytes(path).constData(), nullptr);
    if (!resolved)
        return QString();
    const QString result = pathFromBytes(QByteArray(resolved));
    std::free(resolved);
    return result;
}

} // namespace

bool FileExists(const QString &path)
{
    struct stat st;
    return !path.isEmpty() && ::lstat(pathToBytes(path).constData(), &st) == 0;
}

QString LongPathOf(const QString &path)
{
    struct stat st;
    if (path.isEmpty() || ::stat(pathToBytes(path).constData(), &st) != 0)
        return QString();
    // Links are kept: a file opened through a link is captioned with the link, as the open
    // dialog shows it. Only a ".." after a folder link, taken by name, would lead elsewhere
    // than the system goes: that path is given with its links resolved.
    const QString absolute = QDir::isRelativePath(path) ? AddBackslash(QDir::currentPath()) + path : path;
    const QString cleaned = QDir::cleanPath(absolute);
    const QString target = canonicalPath(path);
    return canonicalPath(cleaned) == target ? cleaned : target;
}

QString commandLinePath(const QStringList &arguments, const QString &currentFolder)
{
    QString raw = arguments.join(QLatin1Char(' '));
    if (raw.isEmpty())
        return raw;
    if (raw.size() >= 2 && raw.startsWith(QLatin1Char('"')) && raw.endsWith(QLatin1Char('"')))
        raw = raw.mid(1, raw.size() - 2);
    if (raw.isEmpty())
        return raw;
    if (QDir::isRelativePath(raw))
        raw = AddBackslash(currentFolder) + raw;
    return raw;
}

} // namespace tarmel

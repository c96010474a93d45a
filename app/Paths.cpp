#include "app/Paths.h"

#include <QDir>
#include <QFileInfo>

namespace tarmel {

QString AddBackslash(const QString &path)
{
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

QString FileNameOnly(const QString &path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

bool FileExists(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QString LongPathOf(const QString &path)
{
    if (path.isEmpty())
        return QString();
    const QFileInfo info(path);
    if (!info.exists())
        return QString();
    // Links are kept: a file opened through a link is captioned with the link, as the open
    // dialog shows it. Only a ".." after a folder link, taken by name, would lead elsewhere
    // than the system goes: that path is given with its links resolved.
    const QString cleaned = QDir::cleanPath(info.absoluteFilePath());
    const QString target = info.canonicalFilePath();
    return QFileInfo(cleaned).canonicalFilePath() == target ? cleaned : target;
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

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
    return QFileInfo(path).canonicalFilePath();
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

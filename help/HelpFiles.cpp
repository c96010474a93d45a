#include "help/HelpFiles.h"

#include "app/Paths.h"

#include <QDir>

namespace tarmel::help {

QString helpFilePath(const QString &programFolder)
{
    return AddBackslash(programFolder) + QStringLiteral("Tarmel.HLP");
}

QString collectionFor(const QString &helpFile)
{
    if (helpFile.isEmpty())
        return QString();
    const qsizetype nameStart = helpFile.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype dot = helpFile.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > nameStart ? helpFile.left(dot) : helpFile;
    return base + QStringLiteral(".qhc");
}

QStringList collectionCandidates(const QString &helpFile, const QStringList &fallbackFolders)
{
    QStringList candidates;
    const QString beside = collectionFor(helpFile);
    if (beside.isEmpty())
        return candidates;
    candidates << QDir::cleanPath(beside);
    const QString name = FileNameOnly(beside);
    for (const QString &folder : fallbackFolders) {
        if (folder.isEmpty())
            continue;
        const QString path = QDir::cleanPath(AddBackslash(folder) + name);
        if (!candidates.contains(path))
            candidates << path;
    }
    return candidates;
}

} // namespace tarmel::help

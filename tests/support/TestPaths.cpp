#include "tests/support/TestPaths.h"

#include <QDir>

namespace testsupport {

QString corpusPath(const QString &relative) { return QDir(qEnvironmentVariable("TARMEL_CORPUS")).filePath(relative); }

QString sourcePath(const QString &relative) { return QDir(qEnvironmentVariable("TARMEL_SOURCE_DIR")).filePath(relative); }

QString missingCorpus(const QString &relative)
{
    const QString folder = corpusPath(relative);
    return QDir(folder).exists() ? QString() : "corpus folder " + folder + " not found: set TARMEL_CORPUS to the shared corpus folder";
}

} // namespace testsupport

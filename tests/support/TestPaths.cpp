#include "tests/support/TestPaths.h"

#include <QDir>

namespace testsupport {

QString corpusPath(const QString &relative)
{
    return QDir(qEnvironmentVariable("TARMEL_CORPUS")).filePath(relative);
}

QString sourcePath(const QString &relative)
{
    return QDir(qEnvironmentVariable("TARMEL_SOURCE_DIR")).filePath(relative);
}

} // namespace testsupport

#pragma once
#include <QString>

namespace testsupport {

// A file of the shared corpus of real programs, by its path below the corpus folder.
QString corpusPath(const QString &relative);
// The project's source folder (for committed samples).
QString sourcePath(const QString &relative);

} // namespace testsupport

#pragma once
#include <QString>

namespace testsupport {

// A file or folder of the shared corpus of real programs, by its path below the corpus folder.
QString corpusPath(const QString &relative);
// The project's source folder (for committed samples).
QString sourcePath(const QString &relative);
// Empty when the corpus folder `relative` exists; else one line naming the missing folder.
QString missingCorpus(const QString &relative);

} // namespace testsupport

// Skips the calling test (from a _data function: the whole test function) when the corpus folder
// `relative` is missing, so that a clone without the shared corpus runs every other test.
#define SKIP_WITHOUT_CORPUS(relative) \
    do { if (const QString why_ = testsupport::missingCorpus(relative); !why_.isEmpty()) QSKIP(qPrintable(why_)); } while (false)

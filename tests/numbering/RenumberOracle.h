#pragma once
// An independent reading of what a renumbering run must produce, used by the corpus and the
// generated-program tests: it splits with its own loop, recognises numbered lines with regular
// expressions and rebuilds every line from its parts.

#include "numbering/Renumber.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace oracle {

struct Line {
    QByteArray content;
    QByteArray end; // "\r\n", "\n", "\r" or empty for the last line
    qint64 begin = 0; // byte offset of the line in the text
};

QList<Line> splitLines(const QByteArray &text);

struct Expectation {
    numbering::NumberForm form = numbering::NumberForm::WithN;
    qint64 step = 10;
    qint64 start = 10;
    bool selectionOnly = false;
    qint64 from = 0;
    qint64 to = 0;
};

// Compares a run's output with the original line by line; returns an empty string when the output is
// right, else a description of the first difference.
QString compare(const QByteArray &original, const QByteArray &output, const Expectation &e,
                qint64 *numberedLines = nullptr);

} // namespace oracle

#pragma once
// Lines too long to edit. Laying out a line costs time in proportion to its length, on every paint
// and every caret move: a line of megabytes (a binary file, a minified export) would freeze the
// editing area. Such a file opens with its long lines cut into pieces of at most longLineLimit bytes,
// and read-only, since saving the cut text would change the file.
#include <QByteArray>
#include <QByteArrayView>

#include <vector>

namespace tarmel {

inline constexpr qsizetype longLineLimit = 1000;

// Length in bytes of the longest line (line ends are CR LF, LF or CR, not counted).
qsizetype longestLine(QByteArrayView text);

// The text (UTF-8) with every line longer than `limit` bytes cut into pieces of at most `limit`
// bytes, each cut made at a character boundary and marked by `lineEnd`. Shorter lines are unchanged.
QByteArray cutLongLines(QByteArrayView text, qsizetype limit, QByteArrayView lineEnd);

// Where cutLongLines puts its line ends: offsets in `text`, in increasing order (a line end goes
// before the byte at each offset).
std::vector<qsizetype> longLineCuts(QByteArrayView text, qsizetype limit);

} // namespace tarmel

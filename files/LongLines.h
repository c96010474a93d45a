#pragma once
// Lines too long to edit. Laying out a line costs time in proportion to its length, on every paint
// and every caret move: a line of megabytes (a binary file, a minified export) would freeze the
// editing area. Such a file opens with its long lines cut into pieces of at most longLineLimit bytes,
// and read-only, since saving the cut text would change the file.
#include "files/TextCodec.h"

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

// The same cuts for an ASCII text read piece by piece (a file loaded a slice at a time), so that
// the cut text goes into the editing area without a second pass.
class StreamLineCutter {
public:
    explicit StreamLineCutter(qsizetype limit) : limit_(std::max<qsizetype>(limit, 4)) {}
    // Offsets in `piece` before which a line end goes.
    const std::vector<qsizetype> &cutsIn(QByteArrayView piece);
    bool anyCut() const { return anyCut_; }

private:
    qsizetype limit_;
    qsizetype run_ = 0;   // length of the line so far
    bool anyCut_ = false;
    std::vector<qsizetype> cuts_;
};

// detectLineEnds over a text read piece by piece (a CR LF may straddle two pieces).
class StreamLineEnds {
public:
    void feed(QByteArrayView piece);
    LineEndStyle result() const;

private:
    void add(LineEndStyle style);
    LineEndStyle style_ = LineEndStyle::None;
    bool heldCr_ = false;   // the last piece ended with a CR whose pair is not known yet
};

} // namespace tarmel

#pragma once
#include "files/LongLines.h"
#include "files/TextCodec.h"

#include <QByteArray>
#include <QByteArrayView>

namespace tarmel {

// decodeToUtf8 a piece at a time, for a file too large to be held whole beside its text: every
// piece goes through check() until it returns false or the file ends (then endCheck()), which
// decides the encoding; then every piece again from the start through decode().
class StreamDecoder {
public:
    bool check(QByteArrayView piece); // false once the rest cannot change the encoding
    void endCheck();
    void decode(QByteArrayView piece, QByteArray &utf8); // appends the piece's text
    FileFormat format() const;                           // once every piece is decoded
    Encoding encoding() const { return format_.encoding; } // once decided
    bool bom() const { return format_.bom; }

private:
    bool decide(bool validUtf8);
    QByteArray head_;  // the file's first three bytes
    QByteArray carry_; // a sequence cut by the end of the last piece
    bool high_ = false, decided_ = false;
    FileFormat format_;
    StreamLineEnds lineEnds_;
    qsizetype skip_ = 0, decoded_ = 0;
    char last_ = 0;
};

} // namespace tarmel

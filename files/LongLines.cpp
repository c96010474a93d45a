#include "files/LongLines.h"

#include <algorithm>
#include <cstring>

namespace tarmel {

namespace {

// The next CR or LF at or after `from`, or `size`.
qsizetype nextBreak(const char *data, qsizetype from, qsizetype size)
{
    if (from >= size)
        return size;
    const char *end = data + size;
    const char *lf = static_cast<const char *>(std::memchr(data + from, '\n', size_t(size - from)));
    const char *limit = lf ? lf : end;
    const char *cr = static_cast<const char *>(std::memchr(data + from, '\r', size_t(limit - (data + from))));
    return (cr ? cr : limit) - data;
}

qsizetype breakLength(const char *data, qsizetype at, qsizetype size)
{
    if (at >= size)
        return 0;
    return data[at] == '\r' && at + 1 < size && data[at + 1] == '\n' ? 2 : 1;
}

} // namespace

qsizetype longestLine(QByteArrayView text)
{
    const char *data = text.data();
    const qsizetype size = text.size();
    qsizetype longest = 0;
    for (qsizetype start = 0; start <= size;) {
        const qsizetype end = nextBreak(data, start, size);
        longest = std::max(longest, end - start);
        if (end >= size)
            break;
        start = end + breakLength(data, end, size);
    }
    return longest;
}

std::vector<qsizetype> longLineCuts(QByteArrayView text, qsizetype limit)
{
    const char *data = text.data();
    const qsizetype size = text.size();
    limit = std::max<qsizetype>(limit, 4);   // room for the longest UTF-8 character
    std::vector<qsizetype> cuts;
    for (qsizetype start = 0; start < size;) {
        const qsizetype end = nextBreak(data, start, size);
        qsizetype from = start;
        while (end - from > limit) {
            qsizetype cut = from + limit;
            while (cut > from && (static_cast<unsigned char>(data[cut]) & 0xC0) == 0x80)
                --cut;   // never inside a UTF-8 character
            if (cut == from)
                cut = from + limit;   // not UTF-8 at all: cut where the limit falls
            cuts.push_back(cut);
            from = cut;
        }
        start = end + breakLength(data, end, size);
    }
    return cuts;
}

QByteArray cutLongLines(QByteArrayView text, qsizetype limit, QByteArrayView lineEnd)
{
    const std::vector<qsizetype> cuts = longLineCuts(text, limit);
    QByteArray result;
    result.reserve(text.size() + qsizetype(cuts.size()) * lineEnd.size());
    qsizetype from = 0;
    for (const qsizetype cut : cuts) {
        result.append(text.data() + from, cut - from);
        result.append(lineEnd);
        from = cut;
    }
    result.append(text.data() + from, text.size() - from);
    return result;
}

const std::vector<qsizetype> &StreamLineCutter::cutsIn(QByteArrayView piece)
{
    cuts_.clear();
    const char *data = piece.data();
    const qsizetype size = piece.size();
    for (qsizetype at = 0; at < size;) {
        const qsizetype end = nextBreak(data, at, size);
        // Bytes [at, end) continue the current line.
        qsizetype from = at;
        while (run_ + (end - from) > limit_) {
            const qsizetype room = limit_ - run_;   // < end - from: a byte of the line follows the cut
            cuts_.push_back(from + room);
            from += room;
            run_ = 0;
        }
        run_ += end - from;
        if (end >= size)
            break;
        run_ = 0;
        at = end + 1;
    }
    anyCut_ = anyCut_ || !cuts_.empty();
    return cuts_;
}

void StreamLineEnds::add(LineEndStyle style)
{
    if (style == LineEndStyle::None || style == style_)
        return;
    style_ = style_ == LineEndStyle::None ? style : LineEndStyle::Mixed;
}

void StreamLineEnds::feed(QByteArrayView piece)
{
    if (piece.isEmpty())
        return;
    if (heldCr_) {
        heldCr_ = false;
        if (piece.front() == '\n') {
            add(LineEndStyle::CrLf);
            piece = piece.sliced(1);
        } else {
            add(LineEndStyle::Cr);
        }
    }
    if (!piece.isEmpty() && piece.back() == '\r') {
        heldCr_ = true;
        piece.chop(1);
    }
    add(detectLineEnds(piece));
}

LineEndStyle StreamLineEnds::result() const
{
    if (!heldCr_ || style_ == LineEndStyle::Mixed)
        return style_;
    if (style_ == LineEndStyle::None || style_ == LineEndStyle::Cr)
        return LineEndStyle::Cr;
    return LineEndStyle::Mixed;
}

} // namespace tarmel

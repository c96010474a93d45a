#include "search/Matcher.h"

#include "transform/CaseMap.h"

#include <cstring>
#include <string.h> // memmem, memrchr

namespace tarmel::search {

namespace {

constexpr char32_t kInvalidCode = 0xFFFFFFFF; // what readUtf8 answers for a byte that begins no character
constexpr char32_t kRawByte = 0x80000000;     // an invalid byte compares as itself, in no case
constexpr quint64 kOnes = 0x0101010101010101ULL;
constexpr quint64 kHighs = 0x8080808080808080ULL;

bool isDelimiter(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

char32_t upper(char32_t c)
{
    return caseOf(c, Case::Upper, false);
}

// The character at text[i], in upper case, and its length in bytes.
Utf8Char foldedAt(QByteArrayView text, qsizetype i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80)
        return {lead >= 'a' && lead <= 'z' ? char32_t(lead - 32) : char32_t(lead), 1};
    const Utf8Char c = readUtf8(text, i);
    if (c.code == kInvalidCode)
        return {kRawByte | lead, 1};
    return {upper(c.code), c.length};
}

// Non-zero when one of the eight bytes of v is zero.
quint64 anyZeroByte(quint64 v)
{
    return (v - kOnes) & ~v & kHighs;
}

quint64 loadWord(const char *p)
{
    quint64 w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

} // namespace

Matcher::Matcher(QByteArrayView needle, bool matchCase, bool wholeWord)
    : needle_(needle.toByteArray()), matchCase_(matchCase), wholeWord_(wholeWord)
{
    if (matchCase_ || needle_.isEmpty())
        return;
    for (qsizetype i = 0; i < needle_.size();) {
        const Utf8Char c = foldedAt(needle_, i);
        folded_.push_back(c.code);
        i += c.length;
    }
    // The bytes that may begin an occurrence: the ASCII ones whose upper case is the first
    // character's, and every lead byte when a non-ASCII character has that upper case too
    // (ı and ſ give I and S). A character beyond the first plane never maps into it.
    const char32_t first = folded_.front();
    if (first & kRawByte) { // an invalid byte, always 0x80 or above
        firstBytes_[first & 0xFF] = true;
        highByteMayBegin_ = true;
        return;
    }
    int ascii = 0; // an ASCII letter has two ASCII forms, any other ASCII character one
    for (char32_t b = 0; b < 0x80; ++b)
        if (upper(b) == first) {
            firstBytes_[b] = true;
            (ascii++ == 0 ? wordA_ : wordB_) = kOnes * b;
        }
    if (ascii == 1)
        wordB_ = wordA_;
    highByteMayBegin_ = first >= 0x80;
    for (char32_t c = 0x80; c < 0x10000 && !highByteMayBegin_; ++c)
        highByteMayBegin_ = upper(c) == first;
    if (highByteMayBegin_)
        for (int b = 0xC2; b <= 0xF4; ++b)
            firstBytes_[b] = true;
}

bool Matcher::standsAlone(QByteArrayView text, Span span) const
{
    return (span.start == 0 || isDelimiter(text[span.start - 1]))
           && (span.end() == text.size() || isDelimiter(text[span.end()]));
}

qint64 Matcher::matchedBytes(QByteArrayView text, qint64 at) const
{
    const qint64 size = text.size();
    if (matchCase_) {
        const qint64 n = needle_.size();
        return at + n <= size && std::memcmp(text.data() + at, needle_.constData(), n) == 0 ? n : -1;
    }
    qint64 i = at;
    for (const char32_t want : folded_) {
        if (i >= size)
            return -1;
        const Utf8Char got = foldedAt(text, i);
        if (got.code != want)
            return -1;
        i += got.length;
    }
    return i - at;
}

qint64 Matcher::lengthAt(QByteArrayView text, qint64 at) const
{
    if (needle_.isEmpty() || at < 0 || at >= text.size())
        return -1;
    const qint64 length = matchedBytes(text, at);
    return length >= 0 && (!wholeWord_ || standsAlone(text, {at, length})) ? length : -1;
}

// Eight bytes at a time while none of them can begin an occurrence.
qint64 Matcher::nextCandidate(QByteArrayView text, qint64 from) const
{
    const char *p = text.data();
    const qint64 size = text.size();
    qint64 i = std::max<qint64>(from, 0);
    for (; i + 8 <= size; i += 8) {
        const quint64 w = loadWord(p + i);
        if (!(anyZeroByte(w ^ wordA_) | anyZeroByte(w ^ wordB_) | (highByteMayBegin_ ? w & kHighs : 0)))
            continue;
        for (int k = 0; k < 8; ++k)
            if (firstBytes_[static_cast<unsigned char>(p[i + k])])
                return i + k;
    }
    for (; i < size; ++i)
        if (firstBytes_[static_cast<unsigned char>(p[i])])
            return i;
    return -1;
}

qint64 Matcher::previousCandidate(QByteArrayView text, qint64 at) const
{
    const char *p = text.data();
    qint64 i = std::min<qint64>(at, text.size() - 1);
    for (; i >= 7; i -= 8) {
        const quint64 w = loadWord(p + i - 7);
        if (!(anyZeroByte(w ^ wordA_) | anyZeroByte(w ^ wordB_) | (highByteMayBegin_ ? w & kHighs : 0)))
            continue;
        for (int k = 0; k < 8; ++k)
            if (firstBytes_[static_cast<unsigned char>(p[i - k])])
                return i - k;
    }
    for (; i >= 0; --i)
        if (firstBytes_[static_cast<unsigned char>(p[i])])
            return i;
    return -1;
}

std::optional<Span> Matcher::next(QByteArrayView text, qint64 from) const
{
    const qint64 size = text.size(), n = needle_.size();
    if (n == 0)
        return std::nullopt;
    if (matchCase_) {
        for (qint64 at = std::max<qint64>(from, 0); at + n <= size;) {
            const void *found = memmem(text.data() + at, size_t(size - at), needle_.constData(), size_t(n));
            if (!found)
                return std::nullopt;
            const qint64 hit = static_cast<const char *>(found) - text.data();
            if (!wholeWord_ || standsAlone(text, {hit, n}))
                return Span{hit, n};
            at = hit + 1;
        }
        return std::nullopt;
    }
    for (qint64 at = nextCandidate(text, from); at >= 0; at = nextCandidate(text, at + 1))
        if (const qint64 length = lengthAt(text, at); length >= 0)
            return Span{at, length};
    return std::nullopt;
}

std::optional<Span> Matcher::previous(QByteArrayView text, qint64 before, qint64 endLimit) const
{
    const qint64 n = needle_.size();
    endLimit = std::min<qint64>(endLimit, text.size());
    if (n == 0)
        return std::nullopt;
    if (matchCase_) {
        const auto first = static_cast<unsigned char>(needle_[0]);
        for (qint64 at = std::min(before - 1, endLimit - n); at >= 0;) {
            const void *found = memrchr(text.data(), first, size_t(at + 1));
            if (!found)
                return std::nullopt;
            const qint64 hit = static_cast<const char *>(found) - text.data();
            if (lengthAt(text, hit) >= 0)
                return Span{hit, n};
            at = hit - 1;
        }
        return std::nullopt;
    }
    for (qint64 at = previousCandidate(text, std::min(before, endLimit) - 1); at >= 0;
         at = previousCandidate(text, at - 1)) {
        const qint64 length = lengthAt(text, at);
        if (length >= 0 && at + length <= endLimit)
            return Span{at, length};
    }
    return std::nullopt;
}

std::optional<Span> findUtf8(QByteArrayView text, QByteArrayView needle, qint64 from, const SearchOptions &options,
                             qint64 endLimit)
{
    const Matcher matcher(needle, options.matchCase, options.wholeWord);
    if (options.direction == Direction::Down)
        return matcher.next(text, from);
    return matcher.previous(text, from, endLimit < 0 ? text.size() : endLimit);
}

} // namespace tarmel::search

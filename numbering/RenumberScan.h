#pragma once
// Character-level pieces of the renumbering pass, shared by the UTF-8 and the UTF-16 instantiations.
// Internal to numbering/: the rules they implement are described in Renumber.h.

#include "numbering/Renumber.h"

#include <QSysInfo>
#include <QVarLengthArray>
#include <QtGlobal>

#include <QtAlgorithms>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <type_traits>

namespace numbering::scan {

template <typename Ch>
inline bool isDigit(Ch c)
{
    return c >= Ch('0') && c <= Ch('9');
}

// ASCII letters only: line structure and every keyword are ASCII.
template <typename Ch>
inline bool isLetter(Ch c)
{
    const auto u = static_cast<std::make_unsigned_t<Ch>>(c) | 0x20u;
    return u >= 'a' && u <= 'z';
}

template <typename Ch>
inline bool isWordChar(Ch c)
{
    return isLetter(c) || c == Ch('_');
}

template <typename Ch>
inline bool isLetterOf(Ch c, char lower)
{
    return (static_cast<std::make_unsigned_t<Ch>>(c) | 0x20u) == static_cast<unsigned>(lower);
}

// First line end (CR or LF) at or after pos, or n. Eight bytes at a time: a lane below 14 (CR, LF, but
// also tab and other controls) stops the fast loop; the lowest such lane is exact, higher ones may be
// false alarms from the borrow, so only the lowest is looked at.
template <typename Ch>
inline qsizetype findLineEnd(const Ch *s, qsizetype pos, qsizetype n)
{
    using U = std::make_unsigned_t<Ch>;
    constexpr quint64 ones = sizeof(Ch) == 1 ? 0x0101010101010101ull : 0x0001000100010001ull;
    constexpr quint64 highs = ones << (8 * sizeof(Ch) - 1);
    constexpr qsizetype lanes = 8 / sizeof(Ch);
    const bool littleEndian = QSysInfo::ByteOrder == QSysInfo::LittleEndian; // lowest lane = first unit
    while (littleEndian && pos + lanes <= n) {
        quint64 v;
        std::memcpy(&v, s + pos, 8);
        const quint64 below14 = (v - ones * 14) & ~v & highs;
        if (below14 == 0) {
            pos += lanes;
            continue;
        }
        pos += qCountTrailingZeroBits(below14) / (8 * sizeof(Ch));
        const U c = static_cast<U>(s[pos]);
        if (c == U('\n') || c == U('\r'))
            return pos;
        ++pos;
    }
    while (pos < n) {
        const U c = static_cast<U>(s[pos]);
        if (c <= U('\r') && (c == U('\n') || c == U('\r')))
            return pos;
        ++pos;
    }
    return n;
}

// Length of the line end that starts at pos (pos < n and s[pos] is CR or LF).
template <typename Ch>
inline qsizetype lineEndLength(const Ch *s, qsizetype pos, qsizetype n)
{
    return (s[pos] == Ch('\r') && pos + 1 < n && s[pos + 1] == Ch('\n')) ? 2 : 1;
}

template <typename Ch>
inline qsizetype digitRunEnd(const Ch *s, qsizetype pos, qsizetype end)
{
    while (pos < end && isDigit(s[pos]))
        ++pos;
    return pos;
}

// Writes v (>= 0) as decimal digits; returns the count written (at most 19).
template <typename Ch>
inline int formatDecimal(qint64 v, Ch *out)
{
    Ch tmp[20];
    int n = 0;
    do {
        tmp[n++] = Ch('0' + v % 10);
        v /= 10;
    } while (v != 0);
    for (int i = 0; i < n; ++i)
        out[i] = tmp[n - 1 - i];
    return n;
}

// The block number at the start of a line, in the chosen form.
struct BlockNumber {
    bool numbered = false;
    bool slash = false;          // "/N": no blank is ever inserted
    qsizetype digitsBegin = 0;   // old number: [digitsBegin, digitsEnd), possibly empty
    qsizetype digitsEnd = 0;
};

template <typename Ch>
inline BlockNumber readBlockNumber(const Ch *s, qsizetype begin, qsizetype end, NumberForm form)
{
    BlockNumber b;
    if (begin >= end)
        return b;
    if (form == NumberForm::DigitsOnly) {
        if (!isDigit(s[begin]))
            return b;
        b.numbered = true;
        b.digitsBegin = begin;
        b.digitsEnd = digitRunEnd(s, begin, end);
        return b;
    }
    qsizetype p = begin;
    if (s[p] == Ch('/')) {
        if (p + 1 >= end || !isLetterOf(s[p + 1], 'n'))
            return b;
        b.slash = true;
        p += 2;
    } else if (isLetterOf(s[p], 'n')) {
        p += 1;
    } else {
        return b;
    }
    if (p < end && isWordChar(s[p]))
        return b; // a word or a label ("NINE:", "NOT"), not a block number
    b.numbered = true;
    b.digitsBegin = p;
    b.digitsEnd = digitRunEnd(s, p, end);
    return b;
}

// A jump target found in a line: the digits to rewrite.
struct TargetSpan {
    qsizetype begin = 0;
    qsizetype end = 0;
};

using TargetSpans = QVarLengthArray<TargetSpan, 16>;

// Collects into out, in text order, the jump targets of the line part [begin, end), the line itself
// starting at lineBegin (begin may lie after the block number). Instantiated for char and char16_t.
template <typename Ch>
void findJumpTargets(const Ch *s, qsizetype lineBegin, qsizetype begin, qsizetype end, TargetSpans &out);

} // namespace numbering::scan

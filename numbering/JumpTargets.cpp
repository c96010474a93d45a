// Finding the block numbers that a line uses as jump targets (rules in Renumber.h).

#include "numbering/RenumberScan.h"

namespace numbering::scan {
namespace {

template <typename Ch>
bool followsWord(const Ch *s, qsizetype lineBegin, qsizetype pos)
{
    return pos > lineBegin && isWordChar(s[pos - 1]);
}

template <typename Ch>
bool isBlankOrTab(Ch c)
{
    return c == Ch(' ') || c == Ch('\t');
}

// "GOTO", "GOTOB", "GOTOF" or "GOTOC" at pos; returns the position after the keyword, or -1.
template <typename Ch>
qsizetype matchGotoKeyword(const Ch *s, qsizetype pos, qsizetype end)
{
    static constexpr char word[] = "goto";
    if (end - pos < 4)
        return -1;
    for (int i = 0; i < 4; ++i) {
        if (!isLetterOf(s[pos + i], word[i]))
            return -1;
    }
    qsizetype p = pos + 4;
    if (p < end && (isLetterOf(s[p], 'b') || isLetterOf(s[p], 'f') || isLetterOf(s[p], 'c')))
        ++p;
    if (p < end && isWordChar(s[p]))
        return -1; // GOTOS, GOTO_X, ...: another word
    return p;
}

// The target after a GOTO keyword: blanks, optional N, digits that do not run on into a word or a
// decimal point. Sets *resume to where scanning goes on.
template <typename Ch>
bool readGotoTarget(const Ch *s, qsizetype pos, qsizetype end, TargetSpan *span, qsizetype *resume)
{
    while (pos < end && isBlankOrTab(s[pos]))
        ++pos;
    if (pos + 1 < end && isLetterOf(s[pos], 'n') && isDigit(s[pos + 1]))
        ++pos;
    const qsizetype digitsEnd = digitRunEnd(s, pos, end);
    *resume = digitsEnd;
    if (digitsEnd == pos)
        return false;
    if (digitsEnd < end && (isWordChar(s[digitsEnd]) || isDigit(s[digitsEnd]) || s[digitsEnd] == Ch('.')))
        return false;
    span->begin = pos;
    span->end = digitsEnd;
    return true;
}

// Value 97 or 98 of the M word whose digits are [begin, end), leading zeros allowed; else 0.
template <typename Ch>
int mCodeValue(const Ch *s, qsizetype begin, qsizetype end)
{
    while (begin < end && s[begin] == Ch('0'))
        ++begin;
    if (end - begin != 2 || s[begin] != Ch('9'))
        return 0;
    if (s[begin + 1] == Ch('7'))
        return 97;
    if (s[begin + 1] == Ch('8'))
        return 98;
    return 0;
}

struct AddressWord {
    bool seen = false;   // the address letter was used as a word in this line
    bool valid = false;  // its first use is letter + digits without a decimal point
    TargetSpan span;
};

template <typename Ch>
void noteAddressWord(const Ch *s, qsizetype digitsBegin, qsizetype digitsEnd, qsizetype end, AddressWord *w)
{
    if (w->seen)
        return;
    w->seen = true;
    if (digitsEnd == digitsBegin || (digitsEnd < end && s[digitsEnd] == Ch('.')))
        return;
    w->valid = true;
    w->span = {digitsBegin, digitsEnd};
}

template <typename Ch>
void insertInOrder(TargetSpans &out, TargetSpan span)
{
    qsizetype i = out.size();
    out.append(span);
    while (i > 0 && out[i - 1].begin > span.begin) {
        out[i] = out[i - 1];
        --i;
    }
    out[i] = span;
}

} // namespace

template <typename Ch>
void findJumpTargets(const Ch *s, qsizetype lineBegin, qsizetype begin, qsizetype end, TargetSpans &out)
{
    out.clear();
    bool m97 = false;
    bool m98 = false;
    AddressWord p;
    AddressWord h;
    qsizetype i = begin;
    while (i < end) {
        const Ch c = s[i];
        if (c == Ch(';'))
            break;
        if (c == Ch('(') || c == Ch('"')) {
            const Ch close = c == Ch('(') ? Ch(')') : Ch('"');
            ++i;
            while (i < end && s[i] != close)
                ++i;
            ++i;
            continue;
        }
        if (!isLetter(c) || followsWord(s, lineBegin, i)) {
            ++i;
            continue;
        }
        if (isLetterOf(c, 'g')) {
            const qsizetype afterKeyword = matchGotoKeyword(s, i, end);
            if (afterKeyword >= 0) {
                TargetSpan span;
                if (readGotoTarget(s, afterKeyword, end, &span, &i))
                    out.append(span);
                continue;
            }
        } else if (isLetterOf(c, 'm') || isLetterOf(c, 'p') || isLetterOf(c, 'h')) {
            const qsizetype digitsEnd = digitRunEnd(s, i + 1, end);
            if (isLetterOf(c, 'm')) {
                const int value = mCodeValue(s, i + 1, digitsEnd);
                const bool whole = digitsEnd == end || s[digitsEnd] != Ch('.');
                m97 = m97 || (value == 97 && whole);
                m98 = m98 || (value == 98 && whole);
            } else if (i + 1 < end && !isWordChar(s[i + 1])) {
                noteAddressWord(s, i + 1, digitsEnd, end, isLetterOf(c, 'p') ? &p : &h);
            }
            i = std::max(digitsEnd, i + 1);
            continue;
        }
        ++i;
    }
    if (m97 && p.valid)
        insertInOrder<Ch>(out, p.span);
    if (m98 && !p.seen && h.valid)
        insertInOrder<Ch>(out, h.span);
}

template void findJumpTargets<char>(const char *, qsizetype, qsizetype, qsizetype, TargetSpans &);
template void findJumpTargets<char16_t>(const char16_t *, qsizetype, qsizetype, qsizetype, TargetSpans &);

} // namespace numbering::scan

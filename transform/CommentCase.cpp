#include "transform/CommentCase.h"

#include "transform/CaseMap.h"

#include <cstring>

namespace tarmel {

namespace {

// Where a text stands: depth of open parentheses, and whether a ";" comment runs to the line end.
struct CommentState {
    int depth = 0;
    bool toLineEnd = false;

    bool inComment() const { return depth > 0 || toLineEnd; }
};

constexpr quint64 kOnes = 0x0101010101010101ull;
constexpr quint64 kHighBits = kOnes * 0x80;

// First "(" or ";" at or after i, or n. Eight bytes at a time: a lane equal to either character
// makes its xor zero, which the zero-byte test finds (it gives no false alarm for the whole word).
qsizetype nextOpening(const char *s, qsizetype i, qsizetype n)
{
    for (; i + 8 <= n; i += 8) {
        quint64 v;
        std::memcpy(&v, s + i, 8);
        const quint64 paren = v ^ (kOnes * '('), semicolon = v ^ (kOnes * ';');
        if ((((paren - kOnes) & ~paren) | ((semicolon - kOnes) & ~semicolon)) & kHighBits)
            break;
    }
    while (i < n && s[i] != '(' && s[i] != ';')
        ++i;
    return i;
}

// Reads the text from state, handing each stretch of it to code() or comment() in order; returns the
// state at its end. Every character that opens, closes or ends a comment is ASCII, so a byte scan
// never cuts a UTF-8 character.
template <typename Code, typename Comment>
CommentState walk(QByteArrayView utf8, CommentState state, Code code, Comment comment)
{
    const char *s = utf8.data();
    const qsizetype n = utf8.size();
    qsizetype from = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (!state.inComment()) {
            i = nextOpening(s, i, n);
            if (i == n)
                break;
            code(utf8.sliced(from, i - from));
            from = i;
            if (s[i] == '(')
                state.depth = 1;
            else
                state.toLineEnd = true;
            continue;
        }
        const char c = s[i];
        if (c == '\r' || c == '\n') {
            comment(utf8.sliced(from, i - from));
            from = i;
            state = {};
        } else if (!state.toLineEnd && (c == '(' || c == ')')) {
            state.depth += c == '(' ? 1 : -1;
            if (state.depth == 0) {
                comment(utf8.sliced(from, i + 1 - from));
                from = i + 1;
            }
        }
    }
    if (state.inComment())
        comment(utf8.sliced(from));
    else
        code(utf8.sliced(from));
    return state;
}

} // namespace

QByteArray upperOutsideCommentsUtf8(QByteArrayView utf8, bool inWindows1252, QByteArrayView linePrefix)
{
    const auto ignore = [](QByteArrayView) {};
    const CommentState start = walk(linePrefix, CommentState{}, ignore, ignore);
    QByteArray out;
    out.reserve(utf8.size());
    walk(
        utf8, start, [&](QByteArrayView code) { appendCaseUtf8(out, code, Case::Upper, inWindows1252); },
        [&](QByteArrayView comment) { out.append(comment); });
    return out;
}

} // namespace tarmel

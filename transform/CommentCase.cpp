#include "transform/CommentCase.h"

#include "transform/CaseMap.h"

namespace tarmel {

namespace {

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
        const char c = s[i];
        if (!state.inComment()) {
            if (c != '(' && c != ';')
                continue;
            code(utf8.sliced(from, i - from));
            from = i;
            if (c == '(')
                state.depth = 1;
            else
                state.toLineEnd = true;
        } else if (c == '\r' || c == '\n') {
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

CommentState commentStateAfter(QByteArrayView utf8, CommentState from)
{
    const auto ignore = [](QByteArrayView) {};
    return walk(utf8, from, ignore, ignore);
}

QByteArray upperOutsideCommentsUtf8(QByteArrayView utf8, bool inWindows1252, CommentState from)
{
    QByteArray out;
    out.reserve(utf8.size());
    walk(
        utf8, from, [&](QByteArrayView code) { appendCaseUtf8(out, code, Case::Upper, inWindows1252); },
        [&](QByteArrayView comment) { out.append(comment); });
    return out;
}

} // namespace tarmel

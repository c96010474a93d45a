#pragma once
// Upper case outside comments: controllers want their words in capitals, while comments keep the
// writing of whoever wrote them.
//
// Comments, on one line (a line ends at CR or LF; the next line starts outside any comment):
//   - "(" up to the ")" that closes it. Parentheses nest: "(a (b) c)" is one comment, ending at the
//     last ")". An unclosed "(" runs to the end of its line. A ")" with no "(" open is ordinary text.
//   - ";" outside parentheses, up to the end of the line. A ";" inside parentheses is part of that
//     comment and ends with it: in "(a;b) g1" the "g1" is upper-cased.
// The parentheses and the ";" themselves are characters without case. Outside comments the case
// mapping is the program's one (caseOf): one character for one character.

#include <QByteArray>
#include <QByteArrayView>

namespace tarmel {

// The UTF-8 text upper-cased outside its comments, in one pass. linePrefix is what comes before the
// text on its first line (for a selection: the start of its line), read only to know whether the
// text starts inside a comment.
QByteArray upperOutsideCommentsUtf8(QByteArrayView utf8, bool inWindows1252, QByteArrayView linePrefix = {});

} // namespace tarmel

#pragma once
// The program's case mapping: one character for one character, so that a conversion never
// changes the length of a text nor makes a program unsavable in its own encoding.

#include <QByteArray>
#include <QByteArrayView>

namespace tarmel {

enum class Case { Upper, Lower };

// c's simple Unicode upper- or lower-case form; c itself when there is none, when that form
// needs another number of UTF-16 units, or (inWindows1252) when Windows-1252 cannot hold it
// while it holds c. So é <-> É, ÿ -> Ÿ, ß stays ß, and µ stays µ in a Windows-1252 program.
char32_t caseOf(char32_t c, Case target, bool inWindows1252);

// The same for a whole UTF-8 text, in one pass; invalid bytes are kept as they are.
QByteArray convertCaseUtf8(QByteArrayView utf8, Case target, bool inWindows1252);
// The same, appended to out (for texts converted piece by piece).
void appendCaseUtf8(QByteArray &out, QByteArrayView utf8, Case target, bool inWindows1252);

// One UTF-8 character at utf8[i]: its code point and its length in bytes; an invalid or
// truncated sequence reads as its first byte alone (code point 0xFFFFFFFF).
struct Utf8Char {
    char32_t code;
    int length;
};
Utf8Char readUtf8(QByteArrayView utf8, qsizetype i);
void appendUtf8(QByteArray &out, char32_t c);

} // namespace tarmel

#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace tarmel {

enum class Encoding { Windows1252, Utf8 };

// Line-end style of a text: the one kind it holds, Mixed when it holds several,
// None when it holds no line end at all.
enum class LineEndStyle { None, CrLf, Lf, Cr, Mixed };

// How a document's text is read and written: rich text (RTF) or a plain program file.
enum class FileType { Rich = 0, Plain = 1 };

// How a program file was stored, so that saving gives back the same bytes.
struct FileFormat {
    Encoding encoding = Encoding::Windows1252;
    bool bom = false;                              // UTF-8 byte-order mark
    LineEndStyle lineEnds = LineEndStyle::None;    // as found in the file
    bool finalLineEnd = true;                      // the file ended with a line end (new documents: true)
};

// The line end that Enter and whole-text rebuilds use for a document of this style:
// the file's own when it has one kind, CR LF otherwise.
QByteArray lineEndBytes(LineEndStyle style);

// File bytes -> text. A UTF-8 byte-order mark, or valid UTF-8 holding non-ASCII bytes,
// means UTF-8; anything else is Windows-1252 in which every byte maps to one character
// (the five unassigned bytes to the C1 control of the same value).
struct DecodedUtf8 {
    QByteArray utf8;     // the text as UTF-8 (without the byte-order mark)
    FileFormat format;
};
DecodedUtf8 decodeToUtf8(const QByteArray &fileBytes);
QString decodeToString(const QByteArray &fileBytes, FileFormat *format = nullptr);
// UTF-8 -> QString keeping every character, a leading U+FEFF included.
QString utf8ToString(QByteArrayView utf8);
// Decodes the UTF-8 sequence at s[0] (remaining bytes available) into *cp; returns its length, or 0
// when it is not valid (overlong forms, surrogates and values above U+10FFFF are not valid).
int utf8Sequence(const unsigned char *s, qsizetype remaining, char32_t *cp);

// Text (UTF-8) -> file bytes in the given format. Fails when a character cannot be
// stored in Windows-1252; badOffset is then the UTF-8 offset of the first such character.
struct Encoded {
    bool ok = true;
    QByteArray bytes;
    qsizetype badOffset = -1;
    char32_t badChar = 0;
};
Encoded encodeFromUtf8(const QByteArray &utf8, Encoding encoding, bool bom);

// Windows-1252 byte <-> Unicode code point (total and one-to-one on all 256 bytes).
char16_t windows1252ToUnicode(unsigned char byte);
int unicodeToWindows1252(char32_t codePoint); // -1 when the code page lacks it

LineEndStyle detectLineEnds(QByteArrayView bytes);
QString encodingName(Encoding encoding);          // "Windows-1252" / "UTF-8"
QString lineEndName(LineEndStyle style);          // "CR LF" / "LF" / "CR" / "mixte"

} // namespace tarmel

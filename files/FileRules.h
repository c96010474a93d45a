#pragma once
#include "files/TextCodec.h"

#include <QByteArray>
#include <QString>

namespace tarmel {

// A name read as rich text: its last three characters, upper-cased, are "RTF".
bool isRichTextName(const QString &fileName);

// The name a Save As with the rich-text filter writes to: a name ending in ".rtf"
// (any case) stays as typed; any other name gets ".rtf" added.
QString richTextSaveName(const QString &fileName);

// The bytes a plain-text document is saved as: its text (UTF-8) with one final line end
// added when its file ended with one (or it is new) and the text lacks it (an empty text
// stays empty: there is no line to end); then encoded
// as its file was. Fails when the encoding cannot hold a character.
Encoded plainFileBytes(const QByteArray &utf8, const FileFormat &format);

// Text to insert into a document: every line end (CR LF, LF, CR) becomes lineEnd.
QByteArray withLineEnds(const QByteArray &utf8, const QByteArray &lineEnd);

// 1-based line number of a UTF-8 offset (counting CR LF, LF and CR as line ends).
qsizetype lineOfOffset(const QByteArray &utf8, qsizetype offset);

} // namespace tarmel

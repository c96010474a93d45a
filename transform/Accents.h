#pragma once
// Accent removal through the program's fixed table. Each listed character becomes the single
// letter of its row, lower case also for the upper-case forms:
//   e: è é ê ë Ê Ë É È     a: â à ä Â Ä À     u: ù ü û Û Ü     i: î ï Ï Î
//   o: ö ô Ô Ö             c: Ç ç             D: ø Ø
// Every other character, accented or not (Ù ñ á ò ÿ œ æ), stays as it is. One character for one
// character: the text keeps its length in characters and every character its position.

#include "transform/Progress.h"

#include <QByteArray>
#include <QByteArrayView>

namespace tarmel {

// The whole UTF-8 text with the table applied, in one pass; bytes that are not valid UTF-8 stay.
QByteArray removeAccentsUtf8(QByteArrayView utf8, const Progress &progress = {});

} // namespace tarmel

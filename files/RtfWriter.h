#pragma once
#include "files/FormattedText.h"

#include <QByteArray>

namespace tarmel {

// Writes a formatted text as an RTF 1.x document:
//   {\rtf1\ansi\ansicpg<codePage>\deff0\uc1 {\fonttbl...}{\colortbl;...}{\stylesheet{Normal}}
// then one group per run of the normalized() text with \f, \fs, \b, \i, \ul, \strike, \cf.
// Font 0 and style 0 ("Normal") carry the base font and size.
//
// - Every line end of the text, CR LF, a lone CR or a lone LF, is written as \par (and a
//   line break in the file for readability); reading back gives CR LF for each of them.
//   Nothing else is added, so a text ending with a line end ends with \par.
// - TAB is \tab; \ { } are escaped; other characters below 0x20 and DEL are \'hh.
// - With code page 1252, characters it holds are \'hh; everything else, and every non-ASCII
//   character for any other code page, is \uN? (signed 16-bit N, one per UTF-16 unit, so a
//   character outside the BMP is two \u), with "?" as the fallback for older readers.
// - Sizes are written in half points: a size that is not a multiple of 0.5 reads back
//   rounded. Font names are trimmed when read back.
QByteArray writeRtf(const FormattedText &document, int codePage = 1252);

} // namespace tarmel

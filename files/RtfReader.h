#pragma once
#include "files/FormattedText.h"

#include <QByteArrayView>

#include <optional>

namespace tarmel {

// Groups nested deeper than this (the document's own group counts as one) make the
// reading fail. Real documents stay below ten; the limit keeps memory bounded.
inline constexpr int kRtfMaxGroupDepth = 1000;

enum class RtfReadError {
    None,
    NotRtf,     // the input does not begin with "{\rtf"
    TooDeep,    // groups nested deeper than kRtfMaxGroupDepth
};

struct RtfReadResult {
    RtfReadError error = RtfReadError::None;
    FormattedText document;   // in normalized() form; empty on failure
    bool complete = false;    // the document's group was closed (false: truncated input)

    bool ok() const { return error == RtfReadError::None; }
};

// Reads an RTF document into text and character formats, in one pass, in time linear in
// the input and memory linear in the text.
//
// - Paragraph and line breaks (\par, \line, a table's \row) become CR LF, one per break;
//   nothing is added at the end, so a document ending with \par ends with CR LF. \tab and a
//   table's \cell become TAB, \~ U+00A0, \_ U+2011; \- is dropped; page and section
//   breaks add nothing.
// - \'hh and 8-bit bytes are decoded in the document's code page (\ansicpg, else \ansi 1252,
//   \mac 10000, \pc 437, \pca 850): 1252 by the reader's own table, others through Qt's
//   converters (ICU); a code page Qt does not know, or any beyond the 16th one a document
//   names, is read as 1252. Per-font charsets (\fcharset)
//   are not looked at. \uN (N < 0 means N + 65536; N above 0xFFFF is taken as a code point)
//   is followed by \ucN skipped fallback characters, a \'hh or a control word counting as one.
// - Character formats: \f, \fs, \b, \i, \ul and its variants, \ulnone, \strike, \striked,
//   \cf and \plain, resolved through \fonttbl and \colortbl (an empty colour entry is the
//   automatic colour). The base font is the \deff font; the base size is that of the
//   stylesheet's style 0 when it gives one, else 12 points.
// - Destinations that hold no body text are skipped: any group opened by \*, pictures,
//   objects, headers, footers, footnotes, field instructions (field results are kept),
//   the stylesheet's and information group's text, list tables and the like. Unknown control
//   words are ignored. \bin N skips N raw bytes (at most what is left of the input).
// - The document ends at the brace that closes its first group; anything after it is
//   ignored. Input that ends early gives the text read so far, with complete == false.
RtfReadResult readRtfDocument(QByteArrayView rtf);

// The same, with no value for input that is not RTF or nested too deeply.
std::optional<FormattedText> readRtf(QByteArrayView rtf);

} // namespace tarmel


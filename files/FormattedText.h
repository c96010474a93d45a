#pragma once
#include <QList>
#include <QString>

#include <optional>

namespace tarmel {

// Character format of a run of text. Colour is 0xRRGGBB; no value means the automatic
// colour (the window text colour).
struct CharFormat {
    QString fontName;
    double fontSize = 12.0;   // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeThrough = false;
    std::optional<quint32> color;

    bool operator==(const CharFormat &) const = default;
};

// A range of the text in UTF-16 units with one format.
struct TextRun {
    qsizetype start = 0;
    qsizetype length = 0;
    CharFormat format;

    bool operator==(const TextRun &) const = default;
};

} // namespace tarmel

// Moved in memory as plain bytes: a long run list grows in place.
Q_DECLARE_TYPEINFO(tarmel::CharFormat, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(tarmel::TextRun, Q_RELOCATABLE_TYPE);

namespace tarmel {

// Text with character formats: what the rich-text reader produces, the writer consumes and
// the editing area shows. Line breaks in the text are CR LF. Runs are ordered and do not
// overlap; text not covered by a run is in the base font, without attributes.
struct FormattedText {
    QString text;
    QList<TextRun> runs;
    QString baseFontName;
    double baseFontSize = 12.0;

    bool operator==(const FormattedText &) const = default;

    // The format of text outside every run.
    CharFormat baseFormat() const;
    // Plain text in the base font (one run over all of it, none when empty).
    static FormattedText plain(const QString &text, const QString &fontName, double fontSize);
};

// The canonical form of a formatted text: runs clipped to the text, sorted, overlaps cut
// (a later run loses the part an earlier one covers), gaps filled with the base format,
// an empty font name or a size <= 0 replaced by the base font's, empty runs dropped and
// adjacent runs with equal formats merged. After it the runs cover the whole text exactly
// once. The reader returns this form, and readRtf(writeRtf(t)) gives normalized(t) back.
FormattedText normalized(FormattedText source);

} // namespace tarmel

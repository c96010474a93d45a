#include "files/FormattedText.h"

#include <algorithm>
#include <utility>

namespace tarmel {

CharFormat FormattedText::baseFormat() const
{
    CharFormat format;
    format.fontName = baseFontName;
    format.fontSize = baseFontSize;
    return format;
}

FormattedText FormattedText::plain(const QString &text, const QString &fontName, double fontSize)
{
    FormattedText result;
    result.text = text;
    result.baseFontName = fontName;
    result.baseFontSize = fontSize;
    return normalized(result);
}

namespace {

void append(QList<TextRun> &runs, qsizetype start, qsizetype length, const CharFormat &format)
{
    if (length <= 0)
        return;
    if (!runs.isEmpty()) {
        TextRun &last = runs.last();
        if (last.start + last.length == start && last.format == format) {
            last.length += length;
            return;
        }
    }
    runs.append(TextRun{start, length, format});
}

// True when the runs already cover the text once, in order, without empty runs.
bool coversTextInOrder(const FormattedText &document)
{
    qsizetype end = 0;
    for (const TextRun &run : document.runs) {
        if (run.start != end || run.length <= 0 || run.length > document.text.size() - end)
            return false;
        end += run.length;
    }
    return end == document.text.size();
}

// True when every run has a font name (or the base has none) and a size, and no two adjacent runs
// share their format.
bool isCanonical(const FormattedText &document)
{
    const QList<TextRun> &runs = document.runs;
    for (qsizetype i = 0; i < runs.size(); ++i) {
        const CharFormat &format = runs.at(i).format;
        if ((format.fontName.isEmpty() && !document.baseFontName.isEmpty()) || !(format.fontSize > 0)
            || (i > 0 && runs.at(i - 1).format == format))
            return false;
    }
    return true;
}

// An empty font name or a size <= 0 becomes the base font's.
void takeBaseWhereMissing(CharFormat &format, const FormattedText &document)
{
    if (format.fontName.isEmpty())
        format.fontName = document.baseFontName;
    if (!(format.fontSize > 0))
        format.fontSize = document.baseFontSize;
}

// Runs that already cover the text in order: missing names and sizes filled and adjacent equal formats
// merged in place, so that the reader's output and long documents need no second copy of their runs.
void completeAndMergeInPlace(FormattedText &document)
{
    QList<TextRun> &runs = document.runs;
    qsizetype kept = 0;
    for (TextRun &run : runs) {
        takeBaseWhereMissing(run.format, document);
        if (kept > 0 && runs[kept - 1].format == run.format)
            runs[kept - 1].length += run.length;
        else if (kept++ != &run - runs.data())
            runs[kept - 1] = std::move(run);
    }
    runs.resize(kept);
}

// The part [start, end) of a text of `size` that a run gives its format to, the text before `covered`
// having one already; empty (end <= start) when it gives none.
std::pair<qsizetype, qsizetype> clippedRange(const TextRun &run, qsizetype size, qsizetype covered)
{
    qsizetype start = run.start;
    qsizetype length = run.length;
    if (length <= 0 || start >= size)
        return {0, 0};
    if (start < 0) {           // no overflow: start < 0 < length
        length += start;
        start = 0;
    }
    const qsizetype end = start + std::min(length, size - start);
    return {std::max(start, covered), end};
}

// Any runs: sorted by start, clipped to the text and to what earlier runs left, gaps given the base
// format, adjacent equal formats merged.
FormattedText rebuiltRuns(FormattedText source)
{
    FormattedText result;
    result.text = source.text;
    result.baseFontName = source.baseFontName;
    result.baseFontSize = source.baseFontSize;
    const CharFormat base = result.baseFormat();
    QList<TextRun> sorted = std::move(source.runs);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const TextRun &a, const TextRun &b) { return a.start < b.start; });
    qsizetype covered = 0;   // text before this offset has its format
    for (TextRun run : sorted) {
        const auto [start, end] = clippedRange(run, result.text.size(), covered);
        if (end <= start)
            continue;
        takeBaseWhereMissing(run.format, result);
        append(result.runs, covered, start - covered, base);
        append(result.runs, start, end - start, run.format);
        covered = end;
    }
    append(result.runs, covered, result.text.size() - covered, base);
    return result;
}

} // namespace

FormattedText normalized(FormattedText source)
{
    if (!(source.baseFontSize > 0))
        source.baseFontSize = 12.0;
    if (!coversTextInOrder(source))
        return rebuiltRuns(std::move(source));
    if (!isCanonical(source))
        completeAndMergeInPlace(source);
    return source;   // when already canonical, still sharing its runs with the caller's copy
}

} // namespace tarmel

#include "files/FormattedText.h"

#include <algorithm>

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

} // namespace

namespace {

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

bool isCanonical(const FormattedText &document)
{
    const QList<TextRun> &runs = document.runs;
    for (qsizetype i = 0; i < runs.size(); ++i) {
        const CharFormat &format = runs.at(i).format;
        if ((format.fontName.isEmpty() && !document.baseFontName.isEmpty()) || !(format.fontSize > 0) || (i > 0 && runs.at(i - 1).format == format))
            return false;
    }
    return true;
}

} // namespace

FormattedText normalized(FormattedText source)
{
    if (!(source.baseFontSize > 0))
        source.baseFontSize = 12.0;
    if (coversTextInOrder(source) && isCanonical(source))
        return source;   // still sharing its runs with the caller's copy
    if (coversTextInOrder(source)) {
        // In place: the reader's output and long documents need no second copy of their runs.
        qsizetype kept = 0;
        for (TextRun &run : source.runs) {
            if (run.format.fontName.isEmpty())
                run.format.fontName = source.baseFontName;
            if (!(run.format.fontSize > 0))
                run.format.fontSize = source.baseFontSize;
            if (kept > 0 && source.runs[kept - 1].format == run.format)
                source.runs[kept - 1].length += run.length;
            else if (kept++ != &run - source.runs.data())
                source.runs[kept - 1] = std::move(run);
        }
        source.runs.resize(kept);
        return source;
    }

    FormattedText result;
    result.text = source.text;
    result.baseFontName = source.baseFontName;
    result.baseFontSize = source.baseFontSize > 0 ? source.baseFontSize : 12.0;
    const qsizetype size = source.text.size();
    const CharFormat base = result.baseFormat();

    QList<TextRun> sorted = std::move(source.runs);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const TextRun &a, const TextRun &b) { return a.start < b.start; });

    qsizetype covered = 0;   // text before this offset has its format
    for (TextRun run : sorted) {
        qsizetype start = run.start;
        qsizetype length = run.length;
        if (length <= 0 || start >= size)
            continue;
        if (start < 0) {           // no overflow: start < 0 < length
            length += start;
            start = 0;
        }
        const qsizetype end = start + std::min(length, size - start);
        start = std::max(start, covered);
        if (end <= start)
            continue;
        if (run.format.fontName.isEmpty())
            run.format.fontName = base.fontName;
        if (!(run.format.fontSize > 0))
            run.format.fontSize = base.fontSize;
        append(result.runs, covered, start - covered, base);
        append(result.runs, start, end - start, run.format);
        covered = end;
    }
    append(result.runs, covered, size - covered, base);
    return result;
}

} // namespace tarmel

#include "printing/PageComposer.h"

#include "app/Paths.h"

#include <algorithm>
#include <cmath>

namespace tarmel::printing {

namespace {

const QString kHeaderPrefix = QStringLiteral("Programme : ");

// One character: a surrogate pair is two units, anything else one.
qsizetype characterLength(QStringView text, qsizetype at)
{
    if (text.at(at).isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate())
        return 2;
    return 1;
}

// The text's lines, split at CR LF, LF or CR; the piece after the last line end included.
QStringList textLines(QStringView text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines << text.mid(start, i - start).toString();
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    lines << text.mid(start).toString();
    return lines;
}

QStringList leadingLines(const std::optional<QString> &header, bool startsDocument)
{
    QStringList lines;
    if (startsDocument)
        lines << QString();
    lines << QString();
    if (header)
        lines << *header;
    lines << QStringLiteral("\r");
    return lines;
}

} // namespace

std::optional<QString> headerLine(int headerOption, const QString &caption)
{
    switch (headerOption) {
    case 1: return kHeaderPrefix + FileNameOnly(caption);
    case 2: return std::nullopt;
    default: return kHeaderPrefix + caption;
    }
}

// The text is split once; every copy shares its lines.
QList<QStringList> printedCopies(QStringView text, int headerOption, const QString &caption, int copies)
{
    QList<QStringList> out;
    if (copies < 1)
        return out;
    const std::optional<QString> header = headerLine(headerOption, caption);
    const QStringList lines = textLines(text);
    for (int copy = 1; copy <= copies; ++copy)
        out << leadingLines(header, copy == 1) + lines;
    return out;
}

int linesPerPage(const PageMetrics &metrics)
{
    if (!(metrics.lineHeight > 0) || !(metrics.height > 0))
        return 1;
    return int(std::clamp(std::floor(metrics.height / metrics.lineHeight), 1.0, 1e6));
}

namespace {

// Tabs become blanks up to the next multiple of tabWidth columns (a width below 1 counts as 1).
QString expandTabs(QStringView line, int tabWidth)
{
    const int width = std::max(1, tabWidth);
    QString out;
    out.reserve(line.size() + width);
    for (const QChar c : line) {
        if (c == QLatin1Char('\t'))
            out.append(QString(width - out.size() % width, QLatin1Char(' ')));
        else
            out.append(c);
    }
    return out;
}

// Hands each row of the line to takeRow, in order.
template <typename TakeRow>
void forEachRow(const QString &line, const PageMetrics &metrics, const CharAdvance &advance, TakeRow takeRow)
{
    // Most lines hold neither: they print as they are, shared, not copied.
    QString printable = line;
    if (line.contains(QLatin1Char('\t')))
        printable = expandTabs(line, metrics.tabWidth);
    if (printable.contains(QLatin1Char('\r')))
        printable.remove(QLatin1Char('\r'));
    qsizetype rowStart = 0;
    double used = 0;
    for (qsizetype i = 0; i < printable.size();) {
        const qsizetype n = characterLength(printable, i);
        const double w = advance(QStringView(printable).mid(i, n));
        if (i > rowStart && used + w > metrics.width) {
            takeRow(printable.mid(rowStart, i - rowStart));
            if (metrics.longLines == LongLines::Cut)
                return;
            rowStart = i;
            used = 0;
        }
        used += w;
        i += n;
    }
    takeRow(rowStart == 0 ? printable : printable.mid(rowStart));
}

} // namespace

QList<QStringList> composePages(const QStringList &lines, const PageMetrics &metrics, const CharAdvance &advance)
{
    const int perPage = linesPerPage(metrics);
    const qsizetype pageRows = std::min<qsizetype>(perPage, lines.size());
    QList<QStringList> pages(1);
    pages.last().reserve(pageRows);
    for (const QString &line : lines) {
        forEachRow(line, metrics, advance, [&](QString row) {
            if (pages.constLast().size() == perPage) {
                pages.append(QStringList());
                pages.last().reserve(pageRows);
            }
            pages.last().append(std::move(row));
        });
    }
    return pages;
}

} // namespace tarmel::printing

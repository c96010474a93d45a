#include "files/RtfWriter.h"

#include "files/RtfReader.h"
#include "files/TextCodec.h"

#include <QHash>

#include <charconv>
#include <cmath>

namespace tarmel {

namespace {

void appendHexByte(QByteArray &out, int byte)
{
    static constexpr char kHex[] = "0123456789abcdef";
    out.append("\\'");
    out.append(kHex[(byte >> 4) & 0xF]);
    out.append(kHex[byte & 0xF]);
}

void appendWord(QByteArray &out, const char *word, int parameter)
{
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, parameter).ptr;
    out.append(word);
    out.append(digits, end - digits);
}

// One UTF-16 unit that is not a line end.
void appendUnit(QByteArray &out, char16_t unit, bool holds1252, bool inFontName)
{
    if (unit == u'\\' || unit == u'{' || unit == u'}') {
        out.append('\\');
        out.append(char(unit));
    } else if (unit == u'\t' && !inFontName) {
        out.append("\\tab ");
    } else if (unit < 0x20 || unit == 0x7F || (unit == u';' && inFontName)) {
        appendHexByte(out, unit);
    } else if (unit < 0x80) {
        out.append(char(unit));
    } else if (const int byte = holds1252 ? unicodeToWindows1252(unit) : -1; byte >= 0) {
        appendHexByte(out, byte);
    } else {
        out.append("\\u");
        out.append(QByteArray::number(int(static_cast<qint16>(unit))));
        out.append('?');
    }
}

void appendText(QByteArray &out, QStringView text, bool holds1252)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit == u'\r' || unit == u'\n') {
            if (unit == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out.append("\\par\r\n");
        } else {
            appendUnit(out, unit, holds1252, false);
        }
    }
}

int halfPoints(double points)
{
    if (!(points > 0))
        return 24;
    return int(std::clamp(std::lround(points * 2), 1L, 3276L));
}

struct Tables {
    QList<QString> fonts;          // font 0 is the base font
    QHash<QString, int> fontIndex;
    QList<quint32> colors;         // colour table entry i + 1
    QHash<quint32, int> colorIndex;

    QString lastFontName;          // runs in a row mostly share their font
    int lastFont = -1;

    int font(const QString &name)
    {
        if (lastFont >= 0 && name == lastFontName)
            return lastFont;
        lastFontName = name;
        lastFont = fontIndex.value(name, -1);
        if (lastFont < 0) {
            fonts.append(name);
            lastFont = int(fonts.size()) - 1;
            fontIndex.insert(name, lastFont);
        }
        return lastFont;
    }
    int color(quint32 rgb)
    {
        const auto it = colorIndex.constFind(rgb);
        if (it != colorIndex.cend())
            return *it;
        colors.append(rgb);
        return colorIndex.insert(rgb, int(colors.size())).value();
    }
};

void appendHeader(QByteArray &out, const Tables &tables, int codePage, int baseHalfPoints)
{
    const bool holds1252 = codePage == 1252;
    out.append("{\\rtf1\\ansi\\ansicpg" + QByteArray::number(codePage) + "\\deff0\\uc1\r\n{\\fonttbl");
    for (qsizetype i = 0; i < tables.fonts.size(); ++i) {
        out.append("{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 ");
        for (QChar ch : tables.fonts.at(i))
            appendUnit(out, ch.unicode(), holds1252, true);
        out.append(";}");
    }
    out.append("}\r\n{\\colortbl;");
    for (quint32 rgb : tables.colors) {
        out.append("\\red" + QByteArray::number((rgb >> 16) & 0xFF) + "\\green"
                   + QByteArray::number((rgb >> 8) & 0xFF) + "\\blue" + QByteArray::number(rgb & 0xFF)
                   + ';');
    }
    out.append("}\r\n{\\stylesheet{\\f0\\fs" + QByteArray::number(baseHalfPoints) + " Normal;}}\r\n");
    out.append("\\pard\\plain\\f0\\fs" + QByteArray::number(baseHalfPoints) + "\r\n");
}

} // namespace

QByteArray writeRtf(const FormattedText &document, int codePage)
{
    const FormattedText doc = normalized(document);
    const bool holds1252 = codePage == 1252;
    Tables tables;
    tables.font(doc.baseFontName);
    for (const TextRun &run : doc.runs) {
        tables.font(run.format.fontName);
        if (run.format.color)
            tables.color(*run.format.color & 0xFFFFFF);
    }

    QByteArray body;
    body.reserve(doc.text.size() + doc.text.size() / 8 + 64 * doc.runs.size());
    for (const TextRun &run : doc.runs) {
        const CharFormat &f = run.format;
        body.append('{');
        appendWord(body, "\\f", tables.font(f.fontName));
        appendWord(body, "\\fs", halfPoints(f.fontSize));
        if (f.bold)
            body.append("\\b");
        if (f.italic)
            body.append("\\i");
        if (f.underline)
            body.append("\\ul");
        if (f.strikeThrough)
            body.append("\\strike");
        if (f.color)
            appendWord(body, "\\cf", tables.color(*f.color & 0xFFFFFF));
        body.append(' ');
        // A CR LF split between two runs is one line end, written with the first run.
        qsizetype from = run.start;
        if (from > 0 && doc.text.at(from - 1) == u'\r' && doc.text.at(from) == u'\n')
            ++from;
        appendText(body, QStringView(doc.text).mid(from, run.start + run.length - from), holds1252);
        body.append('}');
    }

    QByteArray out;
    out.reserve(body.size() + 256 + 48 * (tables.fonts.size() + tables.colors.size()));
    appendHeader(out, tables, codePage, halfPoints(doc.baseFontSize));
    out.append(body);
    out.append("}\r\n");
    return out;
}

} // namespace tarmel

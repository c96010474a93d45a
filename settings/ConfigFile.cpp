#include "settings/ConfigFile.h"

#include "app/Paths.h"
#include "files/AtomicWriter.h"
#include "files/TextCodec.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <cmath>
#include <limits>
#include <optional>

namespace tarmel {

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

QStringView trimBlanks(QStringView s)
{
    while (!s.isEmpty() && isBlank(s.front()))
        s = s.mid(1);
    while (!s.isEmpty() && isBlank(s.back()))
        s.chop(1);
    return s;
}

// The first `count` lines of the text; CR LF, LF and CR each end a line.
QList<QStringView> firstLines(QStringView text, int count)
{
    QList<QStringView> lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start < n && lines.size() < count) {
        qsizetype end = start;
        while (end < n && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        lines.append(text.mid(start, end - start));
        if (end < n && text[end] == u'\r' && end + 1 < n && text[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

// The longest leading part of s that reads as a number.
std::optional<double> leadingNumber(QStringView s)
{
    QString number;
    qsizetype i = 0;
    const qsizetype n = s.size();
    if (i < n && (s[i] == u'+' || s[i] == u'-'))
        number += s[i++];
    int mantissaDigits = 0;
    while (i < n && isDigit(s[i])) {
        number += s[i++];
        ++mantissaDigits;
    }
    if (i < n && (s[i] == u'.' || s[i] == u',')) {
        qsizetype j = i + 1;
        QString fraction;
        while (j < n && isDigit(s[j]))
            fraction += s[j++];
        if (mantissaDigits > 0 || !fraction.isEmpty()) {
            number += u'.' + fraction;
            mantissaDigits += int(fraction.size());
            i = j;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < n && (s[i] == u'e' || s[i] == u'E')) {
        qsizetype j = i + 1;
        QString exponent = QStringLiteral("e");
        if (j < n && (s[j] == u'+' || s[j] == u'-'))
            exponent += s[j++];
        const qsizetype firstDigit = j;
        while (j < n && isDigit(s[j]))
            exponent += s[j++];
        if (j > firstDigit)
            number += exponent;
    }
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

void readInteger(QStringView line, int &field)
{
    const std::optional<double> value = leadingNumber(trimBlanks(line));
    if (!value)
        return;
    const double rounded = std::nearbyint(*value); // halves go to the even neighbour
    if (rounded < std::numeric_limits<qint16>::min() || rounded > std::numeric_limits<qint16>::max())
        return;
    field = int(rounded);
}

void readNumber(QStringView line, double &field)
{
    if (const std::optional<double> value = leadingNumber(trimBlanks(line)))
        field = *value;
}

// The font name is the whole line, blanks around it ignored: a name with a comma reads
// back as it was written.
QString fontNameOf(QStringView line) { return trimBlanks(line).toString(); }

QString numberText(double value, QChar decimalSeparator)
{
    if (!std::isfinite(value))
        value = 0;
    QString digits = QString::number(std::fabs(value), 'g', QLocale::FloatingPointShortest);
    digits.replace(u'.', decimalSeparator);
    return (std::signbit(value) && value != 0 ? QStringLiteral("-") : QStringLiteral(" ")) + digits
           + u' ';
}

} // namespace

bool operator==(const Config &a, const Config &b)
{
    return a.MaximizeDocuments == b.MaximizeDocuments && a.EditorFontName == b.EditorFontName
           && a.EditorFontSize == b.EditorFontSize && a.ToolbarVisible == b.ToolbarVisible
           && a.HeaderOption == b.HeaderOption;
}

Config defaultConfig()
{
    return Config{0, QStringLiteral("Courier New"), 10, 1, 0};
}

Config parseConfig(QByteArrayView fileBytes)
{
    Config config; // zero state
    const QString text = decodeToString(fileBytes.toByteArray());
    const QList<QStringView> lines = firstLines(text, 5);
    if (lines.size() > 0)
        readInteger(lines[0], config.MaximizeDocuments);
    if (lines.size() > 1)
        config.EditorFontName = fontNameOf(lines[1]);
    if (lines.size() > 2)
        readNumber(lines[2], config.EditorFontSize);
    if (lines.size() > 3)
        readInteger(lines[3], config.ToolbarVisible);
    if (lines.size() > 4)
        readInteger(lines[4], config.HeaderOption);
    return config;
}

Config readConfig(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return defaultConfig();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Config{};
    return parseConfig(file.readAll());
}

QByteArray formatConfig(const Config &config, QChar decimalSeparator)
{
    const QString crlf = QStringLiteral("\r\n");
    const QString text = numberText(config.MaximizeDocuments, decimalSeparator) + crlf
                         + config.EditorFontName + crlf
                         + numberText(config.EditorFontSize, decimalSeparator) + crlf
                         + numberText(config.ToolbarVisible, decimalSeparator) + crlf
                         + numberText(config.HeaderOption, decimalSeparator) + crlf;
    const QByteArray utf8 = text.toUtf8();
    // Windows-1252 unless the name needs another code page, or its bytes would happen to
    // read back as UTF-8; the file is then written in UTF-8, which the reader recognises.
    const Encoded windows1252 = encodeFromUtf8(utf8, Encoding::Windows1252, false);
    if (windows1252.ok && decodeToString(windows1252.bytes) == text)
        return windows1252.bytes;
    return utf8;
}

QString configFilePath(const QString &programFolder)
{
    return AddBackslash(programFolder) + QStringLiteral("Tarmel.cfg");
}

double numberFromText(QStringView text)
{
    return leadingNumber(trimBlanks(text)).value_or(0);
}

WriteResult writeConfig(const QString &path, const Config &config, QChar decimalSeparator)
{
    return writeFileAtomically(path, formatConfig(config, decimalSeparator));
}

} // namespace tarmel

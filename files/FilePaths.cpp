#include "files/FilePaths.h"

namespace tarmel {

namespace {

constexpr char16_t EscapeBase = 0xDC00;

bool isEscapedByte(char16_t unit) { return unit >= EscapeBase + 0x80 && unit <= EscapeBase + 0xFF; }

// Length of the valid UTF-8 sequence at s[0] (remaining bytes available), 0 when not valid.
int sequenceLength(const unsigned char *s, qsizetype remaining)
{
    const unsigned char b0 = s[0];
    int len;
    char32_t value;
    char32_t min;
    if (b0 < 0x80)
        return 1;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2; value = b0 & 0x1F; min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3; value = b0 & 0x0F; min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4; value = b0 & 0x07; min = 0x10000;
    } else {
        return 0;
    }
    if (remaining < len)
        return 0;
    for (int k = 1; k < len; ++k) {
        if ((s[k] & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (s[k] & 0x3F);
    }
    if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    return len;
}

} // namespace

QString pathFromBytes(const QByteArray &bytes)
{
    QString path;
    path.reserve(bytes.size());
    const auto *s = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size) {
        const qsizetype start = i;
        int len;
        while (i < size && (len = sequenceLength(s + i, size - i)) > 0)
            i += len;
        if (i > start)
            path += QString::fromUtf8(bytes.constData() + start, i - start);
        if (i < size)
            path += QChar(char16_t(EscapeBase + s[i++]));
    }
    return path;
}

QByteArray pathToBytes(const QString &path)
{
    QByteArray bytes;
    bytes.reserve(path.size());
    qsizetype start = 0;
    for (qsizetype i = 0; i <= path.size(); ++i) {
        const bool escaped = i < path.size() && isEscapedByte(path.at(i).unicode())
                             && !(i > 0 && path.at(i - 1).isHighSurrogate());
        if (i < path.size() && !escaped)
            continue;
        bytes += QStringView(path).mid(start, i - start).toUtf8();
        if (escaped)
            bytes += char(path.at(i).unicode() - EscapeBase);
        start = i + 1;
    }
    return bytes;
}

QString displayPath(const QString &path)
{
    QString shown = path;
    for (qsizetype i = 0; i < shown.size(); ++i)
        if (isEscapedByte(shown.at(i).unicode()) && !(i > 0 && shown.at(i - 1).isHighSurrogate()))
            shown[i] = QChar::ReplacementCharacter;
    return shown;
}

} // namespace tarmel

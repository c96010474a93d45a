#include "files/FilePaths.h"
#include "files/TextCodec.h"

namespace tarmel {

namespace {

constexpr char16_t EscapeBase = 0xDC00;

bool isEscapedByte(char16_t unit) { return unit >= EscapeBase + 0x80 && unit <= EscapeBase + 0xFF; }

// Length of the valid UTF-8 sequence at s[0] (remaining bytes available), 0 when not valid.
int sequenceLength(const unsigned char *s, qsizetype remaining)
{
    char32_t unused;
    return utf8Sequence(s, remaining, &unused);
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

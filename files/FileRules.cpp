#include "files/FileRules.h"

namespace tarmel {

bool isRichTextName(const QString &fileName)
{
    return fileName.right(3).toUpper() == QLatin1String("RTF");
}

QString richTextSaveName(const QString &fileName)
{
    if (fileName.endsWith(QLatin1String(".rtf"), Qt::CaseInsensitive))
        return fileName;
    return fileName + QStringLiteral(".rtf");
}

Encoded plainFileBytes(const QByteArray &utf8, const FileFormat &format)
{
    const bool endsWithLineEnd = !utf8.isEmpty() && (utf8.back() == '\n' || utf8.back() == '\r');
    if (format.finalLineEnd && !endsWithLineEnd && !utf8.isEmpty()) {
        QByteArray text = utf8;
        text.append(lineEndBytes(format.lineEnds));
        return encodeFromUtf8(text, format.encoding, format.bom);
    }
    return encodeFromUtf8(utf8, format.encoding, format.bom);
}

QByteArray withLineEnds(const QByteArray &utf8, const QByteArray &lineEnd)
{
    QByteArray out;
    out.reserve(utf8.size() + utf8.size() / 16);
    const char *p = utf8.constData();
    const char *end = p + utf8.size();
    while (p < end) {
        const char c = *p++;
        if (c == '\r') {
            if (p < end && *p == '\n')
                ++p;
            out.append(lineEnd);
        } else if (c == '\n') {
            out.append(lineEnd);
        } else {
            out.append(c);
        }
    }
    return out;
}

qsizetype lineOfOffset(const QByteArray &utf8, qsizetype offset)
{
    qsizetype line = 1;
    const qsizetype limit = qMin(offset, utf8.size());
    for (qsizetype i = 0; i < limit; ++i) {
        if (utf8[i] == '\n' || (utf8[i] == '\r' && (i + 1 >= utf8.size() || utf8[i + 1] != '\n')))
            ++line;
    }
    return line;
}

} // namespace tarmel

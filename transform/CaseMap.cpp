#include "transform/CaseMap.h"

#include "files/TextCodec.h"

#include <QChar>

namespace tarmel {

namespace {

constexpr char32_t kInvalid = 0xFFFFFFFF;

bool sameUnits(char32_t a, char32_t b)
{
    return QChar::requiresSurrogates(a) == QChar::requiresSurrogates(b);
}

} // namespace

char32_t caseOf(char32_t c, Case target, bool inWindows1252)
{
    if (c < 0x80) {
        if (target == Case::Upper && c >= 'a' && c <= 'z')
            return c - 32;
        if (target == Case::Lower && c >= 'A' && c <= 'Z')
            return c + 32;
        return c;
    }
    const char32_t mapped = target == Case::Upper ? QChar::toUpper(c) : QChar::toLower(c);
    if (mapped == c || !sameUnits(c, mapped))
        return c;
    if (inWindows1252 && unicodeToWindows1252(mapped) < 0 && unicodeToWindows1252(c) >= 0)
        return c;
    return mapped;
}

Utf8Char readUtf8(QByteArrayView utf8, qsizetype i)
{
    const auto byte = [&](qsizetype k) { return static_cast<unsigned char>(utf8[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80)
        return {lead, 1};
    const int length = lead >= 0xF0 && lead < 0xF5 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || i + length > utf8.size())
        return {kInvalid, 1};
    char32_t code = lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return {kInvalid, 1};
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    return {code, length};
}

void appendUtf8(QByteArray &out, char32_t c)
{
    if (c < 0x80) {
        out.append(char(c));
    } else if (c < 0x800) {
        out.append(char(0xC0 | (c >> 6)));
        out.append(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.append(char(0xE0 | (c >> 12)));
        out.append(char(0x80 | ((c >> 6) & 0x3F)));
        out.append(char(0x80 | (c & 0x3F)));
    } else {
        out.append(char(0xF0 | (c >> 18)));
        out.append(char(0x80 | ((c >> 12) & 0x3F)));
        out.append(char(0x80 | ((c >> 6) & 0x3F)));
        out.append(char(0x80 | (c & 0x3F)));
    }
}

QByteArray convertCaseUtf8(QByteArrayView utf8, Case target, bool inWindows1252)
{
    QByteArray out;
    out.reserve(utf8.size() + utf8.size() / 8);
    for (qsizetype i = 0; i < utf8.size();) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) { // ASCII runs stay on the fast path
            out.append(char(caseOf(lead, target, inWindows1252)));
            ++i;
            continue;
        }
        const Utf8Char ch = readUtf8(utf8, i);
        if (ch.code == kInvalid)
            out.append(char(lead));
        else
            appendUtf8(out, caseOf(ch.code, target, inWindows1252));
        i += ch.length;
    }
    return out;
}

} // namespace tarmel

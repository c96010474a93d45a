#include "transform/CaseMap.h"

#include "files/TextCodec.h"

#include <QChar>

#include <cstring>

namespace tarmel {

namespace {

constexpr char32_t kInvalid = 0xFFFFFFFF;

constexpr quint64 kOnes = 0x0101010101010101ull;
constexpr quint64 kHighBits = kOnes * 0x80;

// Eight ASCII bytes at once: the letters of the other case get or lose their 0x20 bit. No lane can
// carry into the next, since every byte is below 0x80 and at most 0x3F is added.
quint64 asciiCase8(quint64 v, Case target)
{
    const quint64 first = target == Case::Upper ? 'a' : 'A';
    const quint64 atOrAboveFirst = v + kOnes * (0x80 - first);
    const quint64 aboveLast = v + kOnes * (0x80 - (first + 26));
    const quint64 letters = atOrAboveFirst & ~aboveLast & kHighBits;
    return v ^ (letters >> 2);
}

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

namespace {

// Writes c as UTF-8 at out; returns the number of bytes (1 to 4).
int encodeUtf8(char *out, char32_t c)
{
    if (c < 0x80) {
        out[0] = char(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = char(0xC0 | (c >> 6));
        out[1] = char(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = char(0xE0 | (c >> 12));
        out[1] = char(0x80 | ((c >> 6) & 0x3F));
        out[2] = char(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = char(0xF0 | (c >> 18));
    out[1] = char(0x80 | ((c >> 12) & 0x3F));
    out[2] = char(0x80 | ((c >> 6) & 0x3F));
    out[3] = char(0x80 | (c & 0x3F));
    return 4;
}

} // namespace

void appendUtf8(QByteArray &out, char32_t c)
{
    char bytes[4];
    out.append(bytes, encodeUtf8(bytes, c));
}

void appendCaseUtf8(QByteArray &out, QByteArrayView utf8, Case target, bool inWindows1252)
{
    const char *s = utf8.data();
    const qsizetype n = utf8.size();
    qsizetype w = out.size();
    // Room for the text as it is; a character whose other case is longer in UTF-8 adds its difference,
    // so out always has room for the rest of the text converted byte for byte.
    out.resize(w + n);
    char *o = out.data();
    for (qsizetype i = 0; i < n;) {
        if (i + 8 <= n) {
            quint64 v;
            std::memcpy(&v, s + i, 8);
            if ((v & kHighBits) == 0) {
                v = asciiCase8(v, target);
                std::memcpy(o + w, &v, 8);
                i += 8;
                w += 8;
                continue;
            }
        }
        const auto lead = static_cast<unsigned char>(s[i]);
        if (lead < 0x80) {
            o[w++] = char(caseOf(lead, target, inWindows1252));
            ++i;
            continue;
        }
        const Utf8Char ch = readUtf8(utf8, i);
        char bytes[4] = {char(lead)};
        const int length = ch.code == kInvalid ? 1 : encodeUtf8(bytes, caseOf(ch.code, target, inWindows1252));
        if (length > ch.length) {
            out.resize(out.size() + length - ch.length);
            o = out.data();
        }
        std::memcpy(o + w, bytes, length);
        w += length;
        i += ch.length;
    }
    out.resize(w);
}

QByteArray convertCaseUtf8(QByteArrayView utf8, Case target, bool inWindows1252)
{
    QByteArray out;
    appendCaseUtf8(out, utf8, target, inWindows1252);
    return out;
}

} // namespace tarmel

#include "files/TextCodec.h"
#include "files/StreamDecoder.h"

#include <QStringDecoder>

#include <cstring>

namespace tarmel {

namespace {

// 0x80..0x9F of Windows-1252; the five unassigned bytes map to the C1 control of the same value.
constexpr char16_t kHigh1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

const char kBom[] = "\xEF\xBB\xBF";

// Index of the first byte >= 0x80, or size when there is none.
qsizetype firstNonAscii(const char *data, qsizetype size)
{
    qsizetype i = 0;
    constexpr quint64 mask = 0x8080808080808080ULL;
    for (; i + 8 <= size; i += 8) {
        quint64 word;
        std::memcpy(&word, data + i, 8);
        if (word & mask)
            break;
    }
    for (; i < size; ++i) {
        if (static_cast<unsigned char>(data[i]) & 0x80)
            return i;
    }
    return size;
}

} // namespace

// Decodes one UTF-8 sequence at data[i]; returns its length, or 0 when it is not valid
// (overlong forms, surrogates and values above U+10FFFF are not valid).
int utf8Sequence(const unsigned char *s, qsizetype remaining, char32_t *cp)
{
    const unsigned char b0 = s[0];
    if (b0 < 0x80) {
        *cp = b0;
        return 1;
    }
    int len;
    char32_t value;
    char32_t min;
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
    *cp = value;
    return len;
}

namespace {

// The UTF-8 form of each Windows-1252 byte from 0x80 up.
struct Utf8Of1252 {
    char bytes[4];
    int length;
};
struct Utf8Of1252Table {
    Utf8Of1252 bytes[128];
    constexpr Utf8Of1252Table() : bytes{}
    {
        for (int b = 0x80; b <= 0xFF; ++b) {
            const char16_t u = b <= 0x9F ? kHigh1252[b - 0x80] : char16_t(b);
            Utf8Of1252 &e = bytes[b - 0x80];
            if (u < 0x800) {
                e.bytes[0] = char(0xC0 | (u >> 6));
                e.bytes[1] = char(0x80 | (u & 0x3F));
                e.length = 2;
            } else {
                e.bytes[0] = char(0xE0 | (u >> 12));
                e.bytes[1] = char(0x80 | ((u >> 6) & 0x3F));
                e.bytes[2] = char(0x80 | (u & 0x3F));
                e.length = 3;
            }
        }
    }
};
constexpr Utf8Of1252Table kUtf8Of1252;

QByteArray windows1252ToUtf8(QByteArrayView bytes, qsizetype firstHigh)
{
    const char *data = bytes.constData();
    const qsizetype size = bytes.size();
    // Exact size first, so the second pass writes through a plain pointer.
    qsizetype outSize = size;
    for (qsizetype i = firstHigh; i < size;) {
        i += firstNonAscii(data + i, size - i);
        if (i < size)
            outSize += kUtf8Of1252.bytes[static_cast<unsigned char>(data[i++]) - 0x80].length - 1;
    }
    QByteArray out(outSize + 4, Qt::Uninitialized); // padding for the 4-byte copies
    char *o = out.data();
    std::memcpy(o, data, firstHigh);
    o += firstHigh;
    for (qsizetype i = firstHigh; i < size;) {
        const qsizetype run = firstNonAscii(data + i, size - i);
        std::memcpy(o, data + i, run);
        o += run;
        i += run;
        if (i >= size)
            break;
        const Utf8Of1252 &enc = kUtf8Of1252.bytes[static_cast<unsigned char>(data[i++]) - 0x80];
        std::memcpy(o, enc.bytes, 4); // the buffer always has room for 4: see the padding below
        o += enc.length;
    }
    out.truncate(o - out.constData());
    return out;
}

} // namespace

char16_t windows1252ToUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kHigh1252[byte - 0x80];
    return byte;
}

int unicodeToWindows1252(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return int(codePoint);
    for (int k = 0; k < 32; ++k) {
        if (kHigh1252[k] == codePoint)
            return 0x80 + k;
    }
    return -1;
}

QByteArray lineEndBytes(LineEndStyle style)
{
    switch (style) {
    case LineEndStyle::Lf:
        return QByteArrayLiteral("\n");
    case LineEndStyle::Cr:
        return QByteArrayLiteral("\r");
    default:
        return QByteArrayLiteral("\r\n");
    }
}

LineEndStyle detectLineEnds(QByteArrayView bytes)
{
    bool crlf = false, lf = false, cr = false;
    const char *data = bytes.data();
    const char *end = data + bytes.size();
    // Next CR and next LF, each searched again only once passed, so the scan stays linear.
    auto find = [end](const char *from, char c) {
        const void *hit = from < end ? std::memchr(from, c, end - from) : nullptr;
        return hit ? static_cast<const char *>(hit) : end;
    };
    const char *nextCr = find(data, '\r');
    const char *nextLf = find(data, '\n');
    const char *p = data;
    while (p < end) {
        if (nextCr < p)
            nextCr = find(p, '\r');
        if (nextLf < p)
            nextLf = find(p, '\n');
        const char *next = std::min(nextCr, nextLf);
        if (next == end)
            break;
        if (*next == '\r') {
            if (next + 1 < end && next[1] == '\n') {
                crlf = true;
                p = next + 2;
            } else {
                cr = true;
                p = next + 1;
            }
        } else {
            lf = true;
            p = next + 1;
        }
        if (int(crlf) + int(lf) + int(cr) > 1)
            return LineEndStyle::Mixed;
    }
    if (crlf)
        return LineEndStyle::CrLf;
    if (lf)
        return LineEndStyle::Lf;
    if (cr)
        return LineEndStyle::Cr;
    return LineEndStyle::None;
}

DecodedUtf8 decodeToUtf8(const QByteArray &fileBytes)
{
    DecodedUtf8 result;
    FileFormat &format = result.format;
    const qsizetype size = fileBytes.size();
    StreamDecoder decoder; // the encoding is decided by one rule, whole file or pieces
    decoder.check(fileBytes);
    decoder.endCheck();
    format.encoding = decoder.encoding();
    format.bom = decoder.bom();
    format.lineEnds = detectLineEnds(fileBytes);
    // An empty file gets the usual final line end once typed in.
    format.finalLineEnd = size == 0 || fileBytes.back() == '\n' || fileBytes.back() == '\r';
    const qsizetype firstHigh = firstNonAscii(fileBytes.constData(), size);
    if (format.bom)
        result.utf8 = fileBytes.mid(3);
    else if (format.encoding == Encoding::Utf8 || firstHigh == size) // ASCII is the same bytes
        result.utf8 = fileBytes;
    else
        result.utf8 = windows1252ToUtf8(fileBytes, firstHigh);
    return result;
}

namespace {

// The bytes s[0..n) are the start of a longer sequence: a lead byte and continuation bytes.
bool cutSequence(const unsigned char *s, qsizetype n)
{
    const int need = s[0] >= 0xF0 ? 4 : s[0] >= 0xE0 ? 3 : s[0] >= 0xC0 ? 2 : 0;
    if (n >= need)
        return false;
    for (qsizetype k = 1; k < n; ++k)
        if ((s[k] & 0xC0) != 0x80)
            return false;
    return true;
}

const unsigned char *bytesOf(const QByteArray &b) { return reinterpret_cast<const unsigned char *>(b.constData()); }

} // namespace

bool StreamDecoder::check(QByteArrayView piece)
{
    if (decided_)
        return false;
    const auto *s = reinterpret_cast<const unsigned char *>(piece.data());
    const qsizetype size = piece.size();
    for (qsizetype k = 0; k < size && head_.size() < 3; ++k)
        head_.append(piece[k]);
    qsizetype i = 0;
    if (!carry_.isEmpty()) {
        // A sequence cut by the end of the last piece, completed from this one.
        while (i < size && cutSequence(bytesOf(carry_), carry_.size()))
            carry_.append(piece[i++]);
        if (cutSequence(bytesOf(carry_), carry_.size()))
            return true;
        char32_t cp;
        if (utf8Sequence(bytesOf(carry_), carry_.size(), &cp) != carry_.size())
            return decide(false);
        high_ = true;
        carry_.clear();
    }
    while (i < size) {
        if (s[i] < 0x80) {
            i += firstNonAscii(piece.data() + i, size - i);
            continue;
        }
        char32_t cp;
        const int len = utf8Sequence(s + i, size - i, &cp);
        if (len == 0) {
            if (!cutSequence(s + i, size - i))
                return decide(false);
            carry_ = QByteArray(piece.data() + i, size - i);
            return true;
        }
        high_ = true;
        i += len;
    }
    return true;
}

void StreamDecoder::endCheck()
{
    if (!decided_)
        decide(carry_.isEmpty()); // a sequence cut by the end of the file is not UTF-8
}

// A byte-order mark or non-ASCII bytes, in valid UTF-8, mean UTF-8; anything else is Windows-1252.
bool StreamDecoder::decide(bool validUtf8)
{
    decided_ = true;
    format_.bom = validUtf8 && head_ == QByteArrayView(kBom, 3);
    format_.encoding = validUtf8 && (format_.bom || high_) ? Encoding::Utf8 : Encoding::Windows1252;
    skip_ = format_.bom ? 3 : 0;
    return false;
}

void StreamDecoder::decode(QByteArrayView piece, QByteArray &utf8)
{
    if (piece.isEmpty())
        return;
    lineEnds_.feed(piece);
    last_ = piece.back();
    decoded_ += piece.size();
    const qsizetype skip = std::min(skip_, piece.size());
    skip_ -= skip;
    piece = piece.sliced(skip);
    if (format_.encoding == Encoding::Utf8)
        utf8.append(piece.data(), piece.size());
    else
        utf8.append(windows1252ToUtf8(piece, firstNonAscii(piece.data(), piece.size())));
}

FileFormat StreamDecoder::format() const
{
    FileFormat format = format_;
    format.lineEnds = lineEnds_.result();
    format.finalLineEnd = decoded_ == 0 || last_ == '\n' || last_ == '\r';
    return format;
}

QString decodeToString(const QByteArray &fileBytes, FileFormat *format)
{
    DecodedUtf8 decoded = decodeToUtf8(fileBytes);
    if (format)
        *format = decoded.format;
    return utf8ToString(decoded.utf8);
}

QString utf8ToString(QByteArrayView utf8)
{
    // Unlike QString::fromUtf8, keeps a byte-order mark that is part of the text.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(utf8);
}

Encoded encodeFromUtf8(const QByteArray &utf8, Encoding encoding, bool bom)
{
    Encoded result;
    if (encoding == Encoding::Utf8) {
        if (bom) {
            result.bytes.reserve(utf8.size() + 3);
            result.bytes.append(kBom, 3);
            result.bytes.append(utf8);
        } else {
            result.bytes = utf8;
        }
        return result;
    }
    const char *data = utf8.constData();
    const qsizetype size = utf8.size();
    qsizetype i = firstNonAscii(data, size);
    if (i == size) {
        result.bytes = utf8;
        return result;
    }
    // Windows-1252 never needs more bytes than UTF-8.
    QByteArray out(size, Qt::Uninitialized);
    char *o = out.data();
    std::memcpy(o, data, i);
    o += i;
    const auto *s = reinterpret_cast<const unsigned char *>(data);
    while (i < size) {
        const qsizetype run = firstNonAscii(data + i, size - i);
        std::memcpy(o, data + i, run);
        o += run;
        i += run;
        if (i >= size)
            break;
        // Latin-1 letters (two bytes, C2 or C3 first) are the common case.
        if ((s[i] == 0xC3 || (s[i] == 0xC2 && i + 1 < size && s[i + 1] >= 0xA0)) && i + 1 < size
            && (s[i + 1] & 0xC0) == 0x80) {
            *o++ = char(((s[i] & 0x1F) << 6) | (s[i + 1] & 0x3F));
            i += 2;
            continue;
        }
        char32_t cp = 0;
        const int len = utf8Sequence(s + i, size - i, &cp);
        const int byte = len ? unicodeToWindows1252(cp) : -1;
        if (byte < 0) {
            result.ok = false;
            result.badOffset = i;
            result.badChar = len ? cp : char32_t(0xFFFD);
            result.bytes.clear();
            return result;
        }
        *o++ = char(byte);
        i += len;
    }
    out.truncate(o - out.constData());
    result.bytes = std::move(out);
    return result;
}

QString encodingName(Encoding encoding)
{
    return encoding == Encoding::Utf8 ? QStringLiteral("UTF-8") : QStringLiteral("Windows-1252");
}

QString lineEndName(LineEndStyle style)
{
    switch (style) {
    case LineEndStyle::Lf:
        return QStringLiteral("LF");
    case LineEndStyle::Cr:
        return QStringLiteral("CR");
    case LineEndStyle::Mixed:
        return QStringLiteral("mixte");
    default:
        return QStringLiteral("CR LF"); // also the style of a text without any line end
    }
}

} // namespace tarmel

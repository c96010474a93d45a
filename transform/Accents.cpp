#include "transform/Accents.h"

#include <array>
#include <cstring>
#include <string_view>

namespace tarmel {

namespace {

// Every character of the table lies in U+00C0..U+00FF, written in UTF-8 as 0xC3 and one byte
// 0x80..0xBF: the table is indexed by that second byte.
constexpr std::array<char, 64> kLetters = [] {
    struct Row {
        char letter;
        std::u16string_view characters;
    };
    constexpr Row rows[] = {
        {'e', u"èéêëÊËÉÈ"}, {'a', u"âàäÂÄÀ"}, {'u', u"ùüûÛÜ"}, {'i', u"îïÏÎ"},
        {'o', u"öôÔÖ"},     {'c', u"Çç"},     {'D', u"øØ"},
    };
    std::array<char, 64> letters{};
    for (const Row &row : rows)
        for (const char16_t c : row.characters)
            letters[c - 0xC0] = row.letter;
    return letters;
}();

constexpr char kLead = char(0xC3);

} // namespace

QByteArray removeAccentsUtf8(QByteArrayView utf8, const Progress &progress)
{
    const char *s = utf8.data();
    const qsizetype n = utf8.size();
    QByteArray out(n, Qt::Uninitialized); // never longer: a replaced character goes from two bytes to one
    char *w = out.data();
    ProgressThrottle throttle(progress, n);
    qsizetype i = 0;
    while (i < n) {
        const qsizetype blockEnd = std::min(n, i + kProgressBlock);
        while (i < blockEnd) {
            const void *hit = std::memchr(s + i, kLead, blockEnd - i);
            const qsizetype lead = hit ? static_cast<const char *>(hit) - s : blockEnd;
            std::memcpy(w, s + i, lead - i);
            w += lead - i;
            i = lead;
            if (i == blockEnd)
                break;
            const auto next = i + 1 < n ? static_cast<unsigned char>(s[i + 1]) : 0;
            const char letter = (next & 0xC0) == 0x80 ? kLetters[next - 0x80] : 0;
            if (letter) {
                *w++ = letter;
                i += 2;
            } else {
                *w++ = s[i++];
            }
        }
        throttle.reached(i);
    }
    throttle.finish();
    out.truncate(w - out.data());
    return out;
}

} // namespace tarmel

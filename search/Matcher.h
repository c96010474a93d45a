#pragma once
// Finding a string in a UTF-8 text, exactly or ignoring case (the program's one-for-one case
// mapping, so é finds É), anywhere or as a whole word, downwards or upwards. The text is read
// where it stands, in one pass, never copied nor converted.

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

#include <array>
#include <optional>
#include <vector>

namespace tarmel::search {

enum class Direction { Down, Up };

struct SearchOptions {
    bool matchCase = false;
    // Whole word: the string stands between blanks, tabs, line ends or the ends of the text;
    // those delimiters are not part of the occurrence.
    bool wholeWord = false;
    Direction direction = Direction::Down;
};

// A piece of a text: where it begins and how long it is. Ignoring case, an occurrence may hold
// another number of bytes than the string searched (ı is two bytes, I one).
struct Span {
    qint64 start = 0;
    qint64 length = 0;
    qint64 end() const { return start + length; }
    bool operator==(const Span &) const = default;
};

class Matcher {
public:
    Matcher(QByteArrayView needle, bool matchCase, bool wholeWord);

    // The first occurrence that begins at `from` or after it.
    std::optional<Span> next(QByteArrayView text, qint64 from) const;
    // The nearest occurrence that begins before `before` and ends at `endLimit` or before it.
    std::optional<Span> previous(QByteArrayView text, qint64 before, qint64 endLimit) const;
    // The length of the occurrence that begins at `at`, or -1 (word boundaries included).
    qint64 lengthAt(QByteArrayView text, qint64 at) const;

private:
    qint64 matchedBytes(QByteArrayView text, qint64 at) const;
    bool standsAlone(QByteArrayView text, Span span) const;
    qint64 nextCandidate(QByteArrayView text, qint64 from) const;
    qint64 previousCandidate(QByteArrayView text, qint64 at) const;

    QByteArray needle_;
    bool matchCase_;
    bool wholeWord_;
    std::vector<char32_t> folded_;        // the needle's characters in upper case
    std::array<bool, 256> firstBytes_{};  // bytes that may begin an occurrence (ignoring case)
    // The (at most two) ASCII bytes that may begin an occurrence, repeated over a word; 0x80, a
    // byte that begins no character, while there is none.
    quint64 wordA_ = 0x8080808080808080ULL, wordB_ = 0x8080808080808080ULL;
    bool highByteMayBegin_ = false;       // a byte 0x80 or above may begin an occurrence
};

// Downward: the first occurrence beginning at `from` or after; upward: the nearest one beginning
// before `from`. An empty needle is found nowhere.
// Upwards, endLimit (when not negative) is where an occurrence must end by.
std::optional<Span> findUtf8(QByteArrayView text, QByteArrayView needle, qint64 from, const SearchOptions &options,
                             qint64 endLimit = -1);

} // namespace tarmel::search

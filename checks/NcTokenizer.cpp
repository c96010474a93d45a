#include "checks/NcTokenizer.h"

#include <charconv>

namespace tarmel {

namespace {

bool isLetter(unsigned char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }
bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool isBlank(unsigned char c) { return c == ' ' || c == '\t'; }
char upper(unsigned char c) { return static_cast<char>(c & ~0x20); }

NcTokenKind wordKind(char letter)
{
    switch (letter) {
    case 'G': return NcTokenKind::GCode;
    case 'M': return NcTokenKind::MCode;
    case 'X': case 'Y': case 'Z': case 'A': case 'B': case 'C': case 'U': case 'V': case 'W':
    case 'I': case 'J': case 'K': case 'R':
        return NcTokenKind::Axis;
    case 'F': case 'S': return NcTokenKind::FeedSpeed;
    case 'T': case 'D': case 'H': return NcTokenKind::Tool;
    default: return NcTokenKind::OtherWord;
    }
}

// The end of a number starting at `i`: an optional sign, digits, at most one point.
std::size_t numberEnd(std::string_view line, std::size_t i)
{
    const std::size_t n = line.size();
    if (i < n && (line[i] == '-' || line[i] == '+'))
        ++i;
    bool point = false;
    while (i < n && (isDigit(static_cast<unsigned char>(line[i])) || (line[i] == '.' && !point))) {
        point = point || line[i] == '.';
        ++i;
    }
    return i;
}

// Where the number of a word whose letter ends at `i` starts: blanks may stand between the letter and
// a number ("I -20"), not between the letter and anything else.
std::size_t blankNumberStart(std::string_view line, std::size_t i)
{
    std::size_t j = i;
    while (j < line.size() && isBlank(static_cast<unsigned char>(line[j])))
        ++j;
    if (j == i)
        return i;
    const std::size_t end = numberEnd(line, j);
    for (std::size_t k = j; k < end; ++k)
        if (isDigit(static_cast<unsigned char>(line[k])))
            return j;
    return i;
}

// One line read from left to right; each read* method consumes one token from `i`.
class LineTokenizer {
public:
    LineTokenizer(std::string_view line, std::vector<NcToken> &out) : line_(line), n_(line.size()), out_(out) {}

    void run()
    {
        while (i_ < n_) {
            const unsigned char c = byte(i_);
            if (isBlank(c)) {
                ++i_;
                continue;
            }
            const std::size_t start = i_;
            if (afterPercent_ && c != '(' && c != ';')
                readNameAfterPercent(start);
            else if (c == '(')
                add(NcTokenKind::Comment, 0, start, closing(start, '(', ')'));
            else if (c == ';')
                add(NcTokenKind::Comment, 0, start, n_);
            else if (c == '"')
                readMessage(start);
            else if (c == '%')
                readPercent(start);
            else if (c == '/' && blockStart_)
                readBlockDelete(start);
            else if (c == ':' && lineStart_ && i_ + 1 < n_ && isDigit(byte(i_ + 1)))
                add(NcTokenKind::ProgramName, 0, start, numberEnd(line_, i_ + 1));
            else if (isLetter(c))
                readLetter(start, c);
            else
                readOther(start, c);
            // A comment leaves the block start where it is: "(op 1) N10" is numbered.
            if (c != '/' && c != '%' && c != '(')
                lineStart_ = blockStart_ = false;
        }
    }

private:
    std::string_view line_;
    std::size_t n_;
    std::vector<NcToken> &out_;
    std::size_t i_ = 0;
    bool blockStart_ = true; // nothing but blanks and "/" so far in this block
    bool lineStart_ = true;  // nothing but blanks so far on this line
    bool afterPercent_ = false;

    unsigned char byte(std::size_t k) const { return static_cast<unsigned char>(line_[k]); }

    // Adds a token ending at `end` and moves past it. Neighbouring Default bytes make one token.
    void add(NcTokenKind kind, char letter, std::size_t start, std::size_t end)
    {
        i_ = end;
        if (kind == NcTokenKind::Default && !out_.empty() && out_.back().kind == NcTokenKind::Default
            && static_cast<std::size_t>(out_.back().start + out_.back().length) == start) {
            out_.back().length += static_cast<int>(end - start);
            return;
        }
        out_.push_back({kind, letter, static_cast<int>(start), static_cast<int>(end - start)});
    }

    // The end of a bracketed run opened at `start`, nested ones included, or the line end.
    std::size_t closing(std::size_t start, char open, char close) const
    {
        int depth = 0;
        std::size_t k = start;
        do {
            depth += line_[k] == open ? 1 : line_[k] == close ? -1 : 0;
            ++k;
        } while (k < n_ && depth > 0);
        return k;
    }

    // A name after "%": up to the line end or a comment, trailing blanks left out.
    void readNameAfterPercent(std::size_t start)
    {
        std::size_t end = start;
        std::size_t k = start;
        for (; k < n_ && line_[k] != '(' && line_[k] != ';'; ++k)
            if (!isBlank(byte(k)))
                end = k + 1;
        add(NcTokenKind::ProgramName, 0, start, end);
        i_ = k;
    }

    // A message in double quotes: read as a comment, no words inside.
    void readMessage(std::size_t start)
    {
        const std::size_t close = line_.find('"', start + 1);
        add(NcTokenKind::Comment, 0, start, close == std::string_view::npos ? n_ : close + 1);
    }

    void readPercent(std::size_t start)
    {
        add(NcTokenKind::Percent, 0, start, start + 1);
        afterPercent_ = lineStart_;
        lineStart_ = blockStart_ = false;
    }

    void readBlockDelete(std::size_t start)
    {
        const std::size_t end = start + 1 < n_ && isDigit(byte(start + 1)) ? start + 2 : start + 1;
        add(NcTokenKind::BlockDelete, 0, start, end);
        lineStart_ = false;
    }

    void readLetter(std::size_t start, unsigned char c)
    {
        const unsigned char next = start + 1 < n_ ? byte(start + 1) : 0;
        if (next == '<') {
            // A named o-word ("O<cone> sub"): the name of a subroutine at the line start.
            const std::size_t close = line_.find('>', start + 2);
            add(lineStart_ && upper(c) == 'O' ? NcTokenKind::ProgramName : NcTokenKind::Default, 0, start,
                close == std::string_view::npos ? n_ : close + 1);
        } else if (isLetter(next) || next == '_') {
            std::size_t k = start;
            while (k < n_ && (isLetter(byte(k)) || line_[k] == '_' || (k > start + 1 && isDigit(byte(k)))))
                ++k;
            add(NcTokenKind::Default, 0, start, k);
        } else {
            const char letter = upper(c);
            const std::size_t end = numberEnd(line_, blankNumberStart(line_, start + 1));
            NcTokenKind kind = wordKind(letter);
            if (letter == 'N' && blockStart_)
                kind = NcTokenKind::BlockNumber;
            else if (letter == 'O' && lineStart_ && end > start + 1)
                kind = NcTokenKind::ProgramName;
            add(kind, kind == NcTokenKind::ProgramName ? 0 : letter, start, end);
        }
    }

    // Variables, expressions and assignments; anything else is Default.
    void readOther(std::size_t start, unsigned char c)
    {
        if (c == '#') {
            std::size_t k = start + 1;
            if (k < n_ && line_[k] == '<') {
                const std::size_t close = line_.find('>', k);
                k = close == std::string_view::npos ? n_ : close + 1;
            } else {
                while (k < n_ && isDigit(byte(k)))
                    ++k;
            }
            add(NcTokenKind::Variable, 0, start, k);
        } else if (c == '[') {
            add(NcTokenKind::Variable, 0, start, closing(start, '[', ']'));
        } else {
            add(c == '=' ? NcTokenKind::Variable : NcTokenKind::Default, 0, start, start + 1);
        }
    }
};

} // namespace

void tokenizeNcLine(std::string_view line, std::vector<NcToken> &out)
{
    out.clear();
    LineTokenizer(line, out).run();
}

std::optional<double> parseNcNumber(std::string_view text)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    const std::size_t unsignedStart = i;
    unsigned long long mantissa = 0;
    int significant = 0;
    int decimals = 0;
    bool point = false;
    bool digit = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !point) {
            point = true;
        } else if (isDigit(static_cast<unsigned char>(c))) {
            digit = true;
            mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
            significant += mantissa != 0;
            decimals += point;
            if (significant > 15 || decimals > 18)
                break;
        } else {
            return std::nullopt;
        }
    }
    if (!digit)
        return std::nullopt;
    double value = 0;
    if (i < text.size()) {
        // More digits than a double holds exactly: the library rounds them.
        for (std::size_t j = i; j < text.size(); ++j)
            if (!isDigit(static_cast<unsigned char>(text[j])) && (text[j] != '.' || point))
                return std::nullopt;
        const auto result = std::from_chars(text.data() + unsignedStart, text.data() + text.size(), value);
        if (result.ec != std::errc() || result.ptr != text.data() + text.size())
            return std::nullopt;
    } else {
        static constexpr double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8, 1e9,
                                            1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18};
        // Both operands are exact doubles, so the one division rounds correctly.
        value = static_cast<double>(mantissa) / powers[decimals];
    }
    return negative ? -value : value;
}

std::optional<double> ncWordValue(std::string_view line, const NcToken &word)
{
    if (word.length <= 1 || word.start < 0 || static_cast<std::size_t>(word.start + word.length) > line.size())
        return std::nullopt;
    std::string_view number = line.substr(static_cast<std::size_t>(word.start) + 1, static_cast<std::size_t>(word.length) - 1);
    while (!number.empty() && isBlank(static_cast<unsigned char>(number.front())))
        number.remove_prefix(1);
    return parseNcNumber(number);
}

} // namespace tarmel

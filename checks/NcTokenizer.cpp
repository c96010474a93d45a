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

struct Emitter {
    std::vector<NcToken> &out;
    void add(NcTokenKind kind, char letter, std::size_t start, std::size_t end)
    {
        // Neighbouring Default bytes make one token.
        if (kind == NcTokenKind::Default && !out.empty() && out.back().kind == NcTokenKind::Default
            && static_cast<std::size_t>(out.back().start + out.back().length) == start) {
            out.back().length += static_cast<int>(end - start);
            return;
        }
        out.push_back({kind, letter, static_cast<int>(start), static_cast<int>(end - start)});
    }
};

} // namespace

void tokenizeNcLine(std::string_view line, std::vector<NcToken> &out)
{
    out.clear();
    Emitter emit{out};
    const std::size_t n = line.size();
    std::size_t i = 0;
    bool blockStart = true;   // nothing but blanks and "/" so far in this block
    bool lineStart = true;    // nothing but blanks so far on this line
    bool afterPercent = false;
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(line[i]);
        if (isBlank(c)) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        if (afterPercent && c != '(' && c != ';') {
            // A name after "%": up to the line end or a comment, trailing blanks left out.
            std::size_t end = i;
            while (i < n && line[i] != '(' && line[i] != ';') {
                if (!isBlank(static_cast<unsigned char>(line[i])))
                    end = i + 1;
                ++i;
            }
            emit.add(NcTokenKind::ProgramName, 0, start, end);
            continue;
        }
        if (c == '(') {
            int depth = 0;
            do {
                if (line[i] == '(')
                    ++depth;
                else if (line[i] == ')')
                    --depth;
                ++i;
            } while (i < n && depth > 0);
            emit.add(NcTokenKind::Comment, 0, start, i);
            continue;
        }
        if (c == ';') {
            emit.add(NcTokenKind::Comment, 0, start, n);
            break;
        }
        if (c == '%') {
            emit.add(NcTokenKind::Percent, 0, start, ++i);
            afterPercent = lineStart;
            lineStart = blockStart = false;
            continue;
        }
        if (c == '/' && blockStart) {
            ++i;
            if (i < n && isDigit(static_cast<unsigned char>(line[i])))
                ++i;
            emit.add(NcTokenKind::BlockDelete, 0, start, i);
            lineStart = false;
            continue;
        }
        if (c == ':' && lineStart && i + 1 < n && isDigit(static_cast<unsigned char>(line[i + 1]))) {
            i = numberEnd(line, i + 1);
            emit.add(NcTokenKind::ProgramName, 0, start, i);
            lineStart = blockStart = false;
            continue;
        }
        if (isLetter(c)) {
            if (i + 1 < n && isLetter(static_cast<unsigned char>(line[i + 1]))) {
                while (i < n && (isLetter(static_cast<unsigned char>(line[i])) || line[i] == '_'))
                    ++i;
                emit.add(NcTokenKind::Default, 0, start, i);
            } else {
                const char letter = upper(c);
                i = numberEnd(line, i + 1);
                NcTokenKind kind = wordKind(letter);
                if (letter == 'N' && blockStart)
                    kind = NcTokenKind::BlockNumber;
                else if (letter == 'O' && lineStart && i > start + 1)
                    kind = NcTokenKind::ProgramName;
                emit.add(kind, kind == NcTokenKind::ProgramName ? 0 : letter, start, i);
            }
            lineStart = blockStart = false;
            continue;
        }
        if (c == '#') {
            ++i;
            if (i < n && line[i] == '<') {
                while (i < n && line[i] != '>')
                    ++i;
                if (i < n)
                    ++i;
            } else {
                while (i < n && isDigit(static_cast<unsigned char>(line[i])))
                    ++i;
            }
            emit.add(NcTokenKind::Variable, 0, start, i);
        } else if (c == '[') {
            int depth = 0;
            do {
                if (line[i] == '[')
                    ++depth;
                else if (line[i] == ']')
                    --depth;
                ++i;
            } while (i < n && depth > 0);
            emit.add(NcTokenKind::Variable, 0, start, i);
        } else if (c == '=') {
            emit.add(NcTokenKind::Variable, 0, start, ++i);
        } else {
            emit.add(NcTokenKind::Default, 0, start, ++i);
        }
        lineStart = blockStart = false;
    }
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
    return parseNcNumber(line.substr(static_cast<std::size_t>(word.start) + 1, static_cast<std::size_t>(word.length) - 1));
}

} // namespace tarmel

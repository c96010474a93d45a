#pragma once
// The words of one line of an NC program, for colouring, checks and interpreters. Line-local: a line
// is read on its own, nothing is carried from one line to the next, so a view can read only the
// lines it shows.

#include <optional>
#include <string_view>
#include <vector>

namespace tarmel {

enum class NcTokenKind : unsigned char {
    Default,     // whatever is none of the below (blanks between tokens are no token at all)
    BlockDelete, // "/" at the start of a block, with its level digit ("/2") when it has one
    BlockNumber, // N123 at the start of a block (after an optional "/")
    GCode,       // G with its value
    MCode,       // M with its value
    Axis,        // X Y Z A B C U V W I J K R with value
    FeedSpeed,   // F S with value
    Tool,        // T D H with value
    OtherWord,   // any other address letter with its value (P Q L O E …), and N past the block start
    Comment,     // "(" to its ")" (nested ones included) or to the line end; ";" to the line end
    Percent,     // "%"
    ProgramName, // O1234 / :1234 at the start of a line, or a name after "%"
    Variable,    // "#1", "#<name>", "[...]" expressions, "=" assignments
};

struct NcToken {
    NcTokenKind kind;
    char letter; // upper-cased address letter for words, 0 otherwise
    int start;   // byte offset in the line
    int length;  // bytes
};

// `line`: one line's bytes without its line end (UTF-8 or a single-byte encoding; bytes >= 0x80 are
// Default). Clears `out` and fills it; tokens are in order and do not overlap; lower-case letters are
// words too. A word is one address letter followed by an optional sign, digits and a decimal point; a
// letter followed by nothing numeric is still a word, one whose value is missing. Two letters or more in
// a row (GOTO, IF, EQ, a name) are Default: they are no address words.
void tokenizeNcLine(std::string_view line, std::vector<NcToken> &out);

// The numeric value of a word token ("X-12.5" -> -12.5, "X.5", "X5." ); nullopt when the letter has no number.
std::optional<double> ncWordValue(std::string_view line, const NcToken &word);

// True for the kinds that are address words (a letter and its value).
constexpr bool isNcWord(NcTokenKind kind)
{
    return kind >= NcTokenKind::BlockNumber && kind <= NcTokenKind::OtherWord;
}

// Parses an optional sign, digits and at most one decimal point from `text`, the whole of it; nullopt
// when there is no digit or anything else is left. Exact for the digits NC programs hold.
std::optional<double> parseNcNumber(std::string_view text);

} // namespace tarmel

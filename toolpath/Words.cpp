#include "toolpath/Words.h"

namespace tarmel::toolpath {

namespace {
bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A run of two letters or more that the tokenizer left as plain text: a name, no address word.
bool isName(std::string_view text)
{
    return text.size() >= 2 && isLetter(text[0]) && isLetter(text[1]);
}
} // namespace

void readLineWords(std::string_view line, LineWords &out, std::vector<NcToken> &tokens)
{
    out.words.clear();
    out.blockDelete = false;
    out.variable = false;
    out.keyword = {};
    tokenizeNcLine(line, tokens);
    for (const NcToken &t : tokens) {
        switch (t.kind) {
        case NcTokenKind::BlockDelete:
            out.blockDelete = true;
            break;
        case NcTokenKind::Variable:
            out.variable = true;
            break;
        case NcTokenKind::Default:
            if (out.keyword.empty()) {
                const std::string_view text = line.substr(std::size_t(t.start), std::size_t(t.length));
                std::size_t begin = 0;
                while (begin < text.size() && !isLetter(text[begin]))
                    ++begin;
                std::size_t end = begin;
                while (end < text.size() && (isLetter(text[end]) || text[end] == '_'))
                    ++end;
                if (isName(text.substr(begin, end - begin)))
                    out.keyword = text.substr(begin, end - begin);
            }
            break;
        case NcTokenKind::GCode:
        case NcTokenKind::MCode:
        case NcTokenKind::Axis:
        case NcTokenKind::FeedSpeed:
        case NcTokenKind::Tool:
        case NcTokenKind::OtherWord:
            out.words.push_back({t.letter, ncWordValue(line, t)});
            break;
        default:
            break; // block numbers, comments, "%", program names
        }
    }
}

} // namespace tarmel::toolpath

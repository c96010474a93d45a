#include "toolpath/Words.h"

#include <cstdlib>
#include <string>

namespace tarmel::toolpath {

namespace {
bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isNumberChar(char c)
{
    return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+';
}
} // namespace

void readLineWords(std::string_view line, LineWords &out)
{
    out.words.clear();
    out.blockDelete = false;
    out.variable = false;
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (i < n && (line[i] == ' ' || line[i] == '\t'))
        ++i;
    if (i < n && line[i] == '/') {
        out.blockDelete = true;
        ++i;
    }
    bool first = true;
    while (i < n) {
        const char c = line[i];
        if (c == ';')
            return;
        if (c == '(') {
            const std::size_t close = line.find(')', i);
            if (close == std::string_view::npos)
                return;
            i = close + 1;
            continue;
        }
        if (c == '#' || c == '[' || c == '=') {
            out.variable = true;
            ++i;
            continue;
        }
        if (c == '%' || (c == ':' && first)) {
            return;
        }
        if (!isLetter(c)) {
            ++i;
            continue;
        }
        const char letter = char(c & ~0x20);
        std::size_t j = i + 1;
        while (j < n && (line[j] == ' ' || line[j] == '\t'))
            ++j;
        std::size_t k = j;
        while (k < n && isNumberChar(line[k]))
            ++k;
        std::optional<double> value;
        if (k > j) {
            const std::string number(line.substr(j, k - j));
            char *endp = nullptr;
            const double v = std::strtod(number.c_str(), &endp);
            if (endp != number.c_str())
                value = v;
        }
        if (letter == 'O' && first)
            return; // a program name line
        if (letter != 'N')
            out.words.push_back({letter, value});
        first = false;
        i = k > j ? k : i + 1;
    }
}

} // namespace tarmel::toolpath

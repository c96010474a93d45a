#pragma once
// Splitting a whole program into lines without copying: CR LF, LF and a lone CR each end a line.
// A text that ends with a line end has no empty last line after it; an empty text has no line.

#include <cstring>
#include <string_view>

namespace tarmel {

// Calls f(lineIndex /*0-based*/, std::string_view line /*without CR/LF*/) for each line.
template <class F> void forEachNcLine(std::string_view text, F &&f)
{
    const char *p = text.data();
    const char *const end = p + text.size();
    long long index = 0;
    while (p < end) {
        const char *q = p;
        while (q < end && *q != '\n' && *q != '\r')
            ++q;
        f(static_cast<int>(index++), std::string_view(p, static_cast<std::size_t>(q - p)));
        if (q == end)
            break;
        if (*q == '\r' && q + 1 < end && q[1] == '\n')
            ++q;
        p = q + 1;
    }
}

} // namespace tarmel

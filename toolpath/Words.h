#pragma once
// The words of one program line, as the interpreter reads them.

#include <optional>
#include <string_view>
#include <vector>

namespace tarmel::toolpath {

struct Word {
    char letter;                  // upper-case address letter
    std::optional<double> value;  // nothing when no number follows the letter
};

struct LineWords {
    std::vector<Word> words;      // comments, block numbers and the program name left out
    bool blockDelete = false;     // "/" at the start of the block
    bool variable = false;        // "#1", "[...]" or "=": a macro line whose values are not known
};

// Fills `out` with the words of `line` (without its line end).
void readLineWords(std::string_view line, LineWords &out);

} // namespace tarmel::toolpath

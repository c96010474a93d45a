#pragma once
// The words of one program line, as the interpreter reads them.

#include "checks/NcTokenizer.h"

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
    std::string_view keyword;     // the first name on the line (GOTO, IF, a label…), empty when none
};

// Fills `out` with the words of `line` (without its line end), read by the shared NC tokenizer;
// `tokens` is its scratch space, kept by the caller so that no line allocates.
void readLineWords(std::string_view line, LineWords &out, std::vector<NcToken> &tokens);

} // namespace tarmel::toolpath

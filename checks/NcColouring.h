#pragma once
// The colours of NC programs in the editing area, one per kind of token.
#include "checks/NcTokenizer.h"
#include "platform/LineColouring.h"

namespace tarmel {

// The colour of a kind of token; Default has none (the text keeps its own colour).
std::optional<QRgb> ncTokenColour(NcTokenKind kind);

// A colourer for the editing area: each line through the NC tokenizer, one run per
// coloured token.
platform::LineColourer ncLineColourer();

} // namespace tarmel

#pragma once
// Colouring of the editing area, line by line: a colourer gives the coloured runs of one
// line and the editing area draws them over the character formats.
#include <QRgb>

#include <functional>
#include <string_view>
#include <vector>

namespace platform {

struct ColourRun {
    int start = 0;  // byte offset in the line
    int length = 0; // bytes
    QRgb colour = 0;
};

// `line` holds one line's bytes (UTF-8) without its line end; `runs` comes in empty.
using LineColourer = std::function<void(std::string_view line, std::vector<ColourRun> &runs)>;

// The runs of one line made ready for drawing: in order, inside the line, each taking the blanks
// after it, neighbours of one colour joined.
void widenColourRuns(std::string_view line, std::vector<ColourRun> &runs);

} // namespace platform

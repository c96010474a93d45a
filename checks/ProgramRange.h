#pragma once
// The range of a program, what shop users check before running it: blocks, the extent of the
// absolute X Y Z moves, the tools, the feeds and the spindle speeds.

#include <QString>

#include <string_view>
#include <vector>

namespace tarmel {

struct AxisExtent {
    bool seen = false; // at least one absolute move on this axis
    double min = 0;
    double max = 0;
};

struct ProgramRange {
    long long blocks = 0;          // lines holding words (not only a comment, "%" or a name)
    AxisExtent x, y, z;            // under G90 only (the start-up mode), not in G04/G10/G52/G92 blocks
    long long incrementalMoves = 0; // blocks with X, Y or Z under G91, which the extent leaves out
    std::vector<int> tools;        // T numbers, ascending, each once
    AxisExtent feed;               // F values
    AxisExtent speed;              // S values
};

ProgramRange computeProgramRange(std::string_view utf8Text);

// French text, one item a line: shown by "Informations programme", printed by --range.
QString describeProgramRange(const ProgramRange &range);

} // namespace tarmel

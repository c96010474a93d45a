#pragma once
// Coarser copies of a toolpath for drawing: at each level, consecutive moves closer than the
// level's tolerance to the last kept point are left out, so that a drawing at any zoom visits
// about as many points as it has pixels; and the bounds of each run of moves, so that a drawing
// zoomed in skips the runs out of sight.

#include "toolpath/Toolpath.h"

namespace tarmel::toolpath {


// Builds the levels of `path` (every move's end is kept at a level where it lies `tolerance` or
// more from the last kept point, or where the kind of move changes, or where an arc is larger
// than the tolerance).
DrawLevels buildDrawLevels(const Toolpath &path);

} // namespace tarmel::toolpath

#pragma once
// What an NC program does with the tool: its moves, each tied to its source line, the
// words the interpreter could not follow, and the figures shown in the view's header.

#include <QString>

#include <cstdint>
#include <vector>

namespace tarmel::toolpath {

struct Point3 {
    double x = 0, y = 0, z = 0;
};

enum class Plane : std::uint8_t { XY, ZX, YZ }; // G17, G18, G19

enum class MoveKind : std::uint8_t {
    Rapid,   // G00
    Feed,    // G01, and an arc that could not be drawn as one (flag BadArc)
    Arc,     // G02/G03: its geometry in Toolpath::arcs[arc]
    Hole,    // a drilling cycle's hole, reached by a rapid move
};

namespace moveflag {
inline constexpr std::uint8_t BlockDelete = 1; // the line starts with "/"
inline constexpr std::uint8_t BadArc = 2;      // its radius does not fit its end point
}

// A move runs from the previous move's end (or Toolpath::origin) to `end`.
struct Move {
    Point3 end;
    std::int32_t line = 0; // 0-based source line
    MoveKind kind = MoveKind::Feed;
    std::uint8_t flags = 0;
    std::uint32_t arc = 0; // index into Toolpath::arcs for MoveKind::Arc
};

// An arc in its plane: (a, b) are the plane's axes in right-handed order (X,Y / Z,X / Y,Z);
// the third axis moves linearly along the arc (a helix).
struct ArcGeometry {
    double centreA = 0, centreB = 0;
    double radius = 0;
    double startAngle = 0; // radians, in the plane's (a, b) frame
    double sweep = 0;      // radians: positive counter-clockwise (G03), negative clockwise (G02)
    Plane plane = Plane::XY;
};

// A word the interpreter does not follow ("G81", "M98", "#", "A"…), reported once per kind,
// or an arc it could not draw ("arc"): its first line and how many lines held it.
struct Report {
    QString word;
    int firstLine = 0; // 0-based
    int count = 0;
};

struct Bounds {
    Point3 min, max;
    bool empty = true;
    void add(const Point3 &p);
};

struct Figures {
    Bounds bounds;               // every point the tool passes, arcs' extremes included
    double rapidLength = 0;      // mm
    double feedLength = 0;       // mm
    double feedMinutes = 0;      // feed moves at their programmed feed
    int feedMovesWithoutFeed = 0; // feed moves before any F word: not in feedMinutes

    // Run time: feed moves at their feed, rapids at `rapidRate` mm/min.
    double minutes(double rapidRate) const { return feedMinutes + (rapidRate > 0 ? rapidLength / rapidRate : 0); }
};

// Coarser copies of the moves for drawing, built by buildDrawLevels (toolpath/DrawLevels.h); empty
// until then, when a drawing visits every move.
struct DrawLevels {
    static constexpr std::size_t kChunk = 256; // moves per run with its bounds

    std::vector<double> tolerances;                // mm, level 1 upwards (level 0 keeps every move)
    std::vector<std::vector<std::uint32_t>> kept;  // kept[k - 1]: the moves kept at level k, in order
    std::vector<Bounds> chunks;                    // bounds of moves [c * kChunk, (c + 1) * kChunk), their starts included

    // The coarsest level whose tolerance stays within `tolerance` mm (0: every move).
    int levelFor(double tolerance) const;
};

struct Toolpath {
    Point3 origin;
    std::vector<Move> moves;   // in source order: `line` never decreases
    std::vector<ArcGeometry> arcs;
    std::vector<Report> reports; // in order of first appearance
    Figures figures;
    int lineCount = 0;
    bool complete = true;      // false: abandoned before the end
    DrawLevels levels;

    Point3 startOf(std::size_t move) const { return move == 0 ? origin : moves[move - 1].end; }
};

} // namespace tarmel::toolpath

#include "toolpath/DrawLevels.h"

#include "toolpath/Geometry.h"

#include <cmath>

namespace tarmel::toolpath {

namespace {

constexpr double kFinestTolerance = 0.002; // mm
constexpr std::size_t kStopBelow = 2048;   // no coarser level once a level holds this few moves
constexpr int kMaxSteps = 40;               // tolerances tried, each twice the one before

// Moves drawn alike: a kept point ends each run of one class.
int drawClass(const Move &m)
{
    const bool rapid = m.kind == MoveKind::Rapid || m.kind == MoveKind::Hole;
    return (rapid ? 1 : 0) | (m.flags << 1) | (m.kind == MoveKind::Hole ? 16 : 0);
}

double distance(const Point3 &a, const Point3 &b)
{
    const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

template <class Index>
std::vector<std::uint32_t> coarser(const Toolpath &path, std::size_t count, Index at, double tolerance)
{
    std::vector<std::uint32_t> kept;
    Point3 last = path.origin;
    for (std::size_t n = 0; n < count; ++n) {
        const std::uint32_t i = at(n);
        const Move &m = path.moves[i];
        bool keep = n + 1 == count || m.kind == MoveKind::Hole || distance(m.end, last) >= tolerance;
        if (!keep) {
            const Move &next = path.moves[at(n + 1)];
            const bool bigArc = next.kind == MoveKind::Arc && !(next.flags & moveflag::BadArc) &&
                                arcLength(path.arcs[next.arc], m.end, next.end) >= tolerance;
            keep = bigArc || drawClass(next) != drawClass(m) ||
                   (m.kind == MoveKind::Arc && arcLength(path.arcs[m.arc], path.startOf(i), m.end) >= tolerance);
        }
        if (keep) {
            kept.push_back(i);
            last = m.end;
        }
    }
    return kept;
}

} // namespace

int DrawLevels::levelFor(double tolerance) const
{
    int level = 0;
    while (level < int(tolerances.size()) && tolerances[std::size_t(level)] <= tolerance)
        ++level;
    return level;
}

DrawLevels buildDrawLevels(const Toolpath &path)
{
    DrawLevels levels;
    const std::size_t n = path.moves.size();
    levels.chunks.resize((n + DrawLevels::kChunk - 1) / DrawLevels::kChunk);
    for (std::size_t i = 0; i < n; ++i) {
        Bounds &b = levels.chunks[i / DrawLevels::kChunk];
        const Move &m = path.moves[i];
        if (m.kind == MoveKind::Arc && !(m.flags & moveflag::BadArc)) {
            addArcBounds(b, path.arcs[m.arc], path.startOf(i), m.end);
        } else {
            b.add(path.startOf(i));
            b.add(m.end);
        }
    }
    if (n <= kStopBelow)
        return levels;
    double tolerance = kFinestTolerance;
    std::size_t finerCount = n;
    for (int step = 0; step < kMaxSteps && finerCount > kStopBelow; ++step, tolerance *= 2) {
        std::vector<std::uint32_t> level =
            levels.kept.empty()
                ? coarser(path, n, [](std::size_t k) { return std::uint32_t(k); }, tolerance)
                : coarser(path, finerCount, [&finer = levels.kept.back()](std::size_t k) { return finer[k]; },
                          tolerance);
        if (level.size() * 4 > finerCount * 3)
            continue; // hardly coarser: not worth its memory; a larger tolerance may be
        finerCount = level.size();
        levels.tolerances.push_back(tolerance);
        levels.kept.push_back(std::move(level));
    }
    return levels;
}

} // namespace tarmel::toolpath

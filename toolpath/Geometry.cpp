#include "toolpath/Geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tarmel::toolpath {

namespace {
constexpr double kTwoPi = 2 * std::numbers::pi;

// The sweep from angle a0 to a1 in the arc's direction; a full turn when they meet.
double sweepBetween(double a0, double a1, bool counterClockwise, bool full)
{
    if (full)
        return counterClockwise ? kTwoPi : -kTwoPi;
    double s = a1 - a0;
    if (counterClockwise) {
        while (s <= 0)
            s += kTwoPi;
        while (s > kTwoPi)
            s -= kTwoPi;
    } else {
        while (s >= 0)
            s -= kTwoPi;
        while (s < -kTwoPi)
            s += kTwoPi;
    }
    return s;
}
} // namespace

void Bounds::add(const Point3 &p)
{
    if (empty) {
        min = max = p;
        empty = false;
        return;
    }
    min = {std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z)};
    max = {std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z)};
}

double planeA(Plane plane, const Point3 &p)
{
    return plane == Plane::XY ? p.x : plane == Plane::ZX ? p.z : p.y;
}

double planeB(Plane plane, const Point3 &p)
{
    return plane == Plane::XY ? p.y : plane == Plane::ZX ? p.x : p.z;
}

double planeC(Plane plane, const Point3 &p)
{
    return plane == Plane::XY ? p.z : plane == Plane::ZX ? p.y : p.x;
}

Point3 fromPlane(Plane plane, double a, double b, double c)
{
    switch (plane) {
    case Plane::XY:
        return {a, b, c};
    case Plane::ZX:
        return {b, c, a};
    case Plane::YZ:
        break;
    }
    return {c, a, b};
}

std::optional<ArcGeometry> arcFromOffsets(Plane plane, const Point3 &start, const Point3 &end, double i, double j,
                                          double k, bool counterClockwise, double tolerance)
{
    const Point3 offset{i, j, k};
    const double sa = planeA(plane, start), sb = planeB(plane, start);
    const double ea = planeA(plane, end), eb = planeB(plane, end);
    ArcGeometry arc;
    arc.plane = plane;
    arc.centreA = sa + planeA(plane, offset);
    arc.centreB = sb + planeB(plane, offset);
    arc.radius = std::hypot(sa - arc.centreA, sb - arc.centreB);
    const double endRadius = std::hypot(ea - arc.centreA, eb - arc.centreB);
    if (std::abs(arc.radius - endRadius) > tolerance || arc.radius <= 0)
        return std::nullopt;
    const bool full = std::hypot(ea - sa, eb - sb) <= 1e-9;
    arc.startAngle = std::atan2(sb - arc.centreB, sa - arc.centreA);
    const double endAngle = std::atan2(eb - arc.centreB, ea - arc.centreA);
    arc.sweep = sweepBetween(arc.startAngle, endAngle, counterClockwise, full);
    return arc;
}

std::optional<ArcGeometry> arcFromRadius(Plane plane, const Point3 &start, const Point3 &end, double r,
                                         bool counterClockwise, double tolerance)
{
    const double sa = planeA(plane, start), sb = planeB(plane, start);
    const double ea = planeA(plane, end), eb = planeB(plane, end);
    const double da = ea - sa, db = eb - sb;
    const double chord = std::hypot(da, db);
    const double radius = std::abs(r);
    if (chord <= 1e-9 || radius <= 0 || chord > 2 * radius + tolerance)
        return std::nullopt;
    const double half = chord / 2;
    const double h = half >= radius ? 0.0 : std::sqrt(radius * radius - half * half);
    // For a counter-clockwise short arc the centre lies left of the chord; the long arc and the
    // clockwise direction each put it on the other side.
    const double side = (counterClockwise ? 1.0 : -1.0) * (r > 0 ? 1.0 : -1.0);
    ArcGeometry arc;
    arc.plane = plane;
    arc.radius = radius;
    arc.centreA = sa + da / 2 - side * h * db / chord;
    arc.centreB = sb + db / 2 + side * h * da / chord;
    arc.startAngle = std::atan2(sb - arc.centreB, sa - arc.centreA);
    arc.sweep = sweepBetween(arc.startAngle, std::atan2(eb - arc.centreB, ea - arc.centreA), counterClockwise, false);
    return arc;
}

Point3 arcPoint(const ArcGeometry &arc, const Point3 &start, const Point3 &end, double t)
{
    if (t >= 1)
        return end;
    const double angle = arc.startAngle + arc.sweep * t;
    const double c0 = planeC(arc.plane, start);
    return fromPlane(arc.plane, arc.centreA + arc.radius * std::cos(angle), arc.centreB + arc.radius * std::sin(angle),
                     c0 + (planeC(arc.plane, end) - c0) * t);
}

double arcLength(const ArcGeometry &arc, const Point3 &start, const Point3 &end)
{
    return std::hypot(arc.radius * arc.sweep, planeC(arc.plane, end) - planeC(arc.plane, start));
}

void addArcBounds(Bounds &bounds, const ArcGeometry &arc, const Point3 &start, const Point3 &end)
{
    bounds.add(start);
    bounds.add(end);
    // The arc reaches an axis extreme at each multiple of a quarter turn it passes.
    const double lo = std::min(arc.startAngle, arc.startAngle + arc.sweep);
    const double hi = std::max(arc.startAngle, arc.startAngle + arc.sweep);
    const double quarter = std::numbers::pi / 2;
    for (double q = std::ceil(lo / quarter) * quarter; q < hi; q += quarter) {
        const double t = (q - arc.startAngle) / arc.sweep;
        bounds.add(arcPoint(arc, start, end, t));
    }
}

ViewAngles topView()
{
    return {0, std::numbers::pi / 2};
}

ViewAngles frontView()
{
    return {0, 0};
}

ViewAngles sideView()
{
    return {std::numbers::pi / 2, 0};
}

ViewAngles isometricView()
{
    return {std::numbers::pi / 4, std::atan(1 / std::numbers::sqrt2)};
}

Projection::Projection(ViewAngles a)
{
    const double cy = std::cos(a.yaw), sy = std::sin(a.yaw);
    const double ct = std::cos(a.tilt), st = std::sin(a.tilt);
    rx = cy;
    ry = sy;
    rz = 0;
    ux = -sy * st;
    uy = cy * st;
    uz = ct;
}

} // namespace tarmel::toolpath

#pragma once
// Arcs of the three planes and the projections of the view, as plain geometry.

#include "toolpath/Toolpath.h"

#include <optional>

namespace tarmel::toolpath {

// A point's coordinates in a plane's (a, b) frame and along its third axis.
double planeA(Plane plane, const Point3 &p);
double planeB(Plane plane, const Point3 &p);
double planeC(Plane plane, const Point3 &p);
Point3 fromPlane(Plane plane, double a, double b, double c);

// The arc from `start` to `end` around the centre start + (i, j, k) (only the two offsets of
// the plane count). Start equal to end is a full circle. Nothing when the distances from the
// centre to start and to end differ by more than `tolerance`.
std::optional<ArcGeometry> arcFromOffsets(Plane plane, const Point3 &start, const Point3 &end, double i, double j,
                                          double k, bool counterClockwise, double tolerance);
// The arc of radius |r| from `start` to `end`: the short one for r > 0, the long one for r < 0.
// Nothing when the end point is further than the diameter (beyond `tolerance`) or equal to start.
std::optional<ArcGeometry> arcFromRadius(Plane plane, const Point3 &start, const Point3 &end, double r,
                                         bool counterClockwise, double tolerance);

// The point at fraction t (0..1) of the arc; the third axis goes linearly from start to end.
Point3 arcPoint(const ArcGeometry &arc, const Point3 &start, const Point3 &end, double t);
double arcLength(const ArcGeometry &arc, const Point3 &start, const Point3 &end);
// Adds the arc's end points and the extremes it passes on each axis.
void addArcBounds(Bounds &bounds, const ArcGeometry &arc, const Point3 &start, const Point3 &end);

// A view direction: `yaw` turns around Z (radians), `tilt` lifts the eye from the front
// (0: looking along +Y at the XZ plane) to the top (pi/2: looking down at the XY plane).
struct ViewAngles {
    double yaw = 0;
    double tilt = 0;
};
ViewAngles topView();       // XY
ViewAngles frontView();     // XZ
ViewAngles sideView();      // YZ
ViewAngles isometricView();

// Orthographic projection: u grows to the right of the screen, v grows upwards.
struct Projection {
    double rx, ry, rz; // screen right
    double ux, uy, uz; // screen up
    explicit Projection(ViewAngles angles);
    double u(const Point3 &p) const { return rx * p.x + ry * p.y + rz * p.z; }
    double v(const Point3 &p) const { return ux * p.x + uy * p.y + uz * p.z; }
};

} // namespace tarmel::toolpath

#pragma once
// Drawing a toolpath with QPainter, at any zoom, in time bounded by the pixels it covers:
// consecutive moves that fall within one pixel are merged, moves out of sight are skipped.

#include "toolpath/Geometry.h"
#include "toolpath/Toolpath.h"

#include <QPointF>
#include <QRectF>
#include <QSize>

class QPainter;

namespace tarmel::toolpath {

// Where the drawing sits: the view direction, pixels per millimetre and the projected point
// (u, v in mm) at the centre of the image.
struct ViewTransform {
    ViewAngles angles = topView();
    double scale = 1;
    double centreU = 0, centreV = 0;

    QPointF map(const Projection &p, const Point3 &point, QSizeF size) const
    {
        return {size.width() / 2 + (p.u(point) - centreU) * scale,
                size.height() / 2 - (p.v(point) - centreV) * scale};
    }
    // Zooms by `factor` keeping the point under `pixel` where it is.
    void zoomAt(QPointF pixel, QSizeF size, double factor);
    void pan(QPointF pixels);
};

// The transform that shows the whole path (its bounds seen from `angles`) in `size` with a margin.
ViewTransform fitTransform(const Toolpath &path, ViewAngles angles, QSizeF size, double margin = 12);

// What the drawing marks: the moves of the caret's line, and those before it brighter.
struct CaretMark {
    int line = -1; // 0-based; -1: none, everything drawn as "before"
};

void renderToolpath(QPainter &painter, QSizeF size, const Toolpath &path, const ViewTransform &view,
                    CaretMark caret);

// The move drawn nearest to `pixel`, within `tolerance` pixels; -1 when none.
long long moveAt(const Toolpath &path, const ViewTransform &view, QSizeF size, QPointF pixel,
                 double tolerance = 5);

// The moves of `line`: [first, last) in Toolpath::moves, empty when the line has none; and the
// first move after the line.
struct LineMoves {
    std::size_t first = 0, last = 0;
};
LineMoves movesOfLine(const Toolpath &path, int line);

} // namespace tarmel::toolpath

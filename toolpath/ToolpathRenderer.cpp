#include "toolpath/ToolpathRenderer.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace tarmel::toolpath {

namespace {

// Moves closer than this on the screen (pixels) are merged.
constexpr double kMergeWithin = 0.5; // a level strays up to twice its tolerance: under one pixel

enum Style { RapidBefore, RapidAfter, FeedBefore, FeedAfter, Skipped, BadArc, Highlight, StyleCount };

// Hairlines (width 0) go through the painter's fast line path; only the caret's move is wide.
QPen stylePen(int style)
{
    switch (style) {
    case RapidBefore: return QPen(QColor(214, 96, 0), 0, Qt::DashLine);
    case RapidAfter: return QPen(QColor(236, 200, 170), 0, Qt::DashLine);
    case FeedBefore: return QPen(QColor(0, 70, 190), 0);
    case FeedAfter: return QPen(QColor(170, 190, 225), 0);
    case Skipped: return QPen(QColor(140, 140, 140), 0, Qt::DotLine);
    case BadArc: return QPen(QColor(210, 0, 0), 0, Qt::DashDotLine);
    default: break;
    }
    QPen pen(QColor(255, 0, 160), 3.5);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

// A polyline per style, cut where the path leaves the style or the sight, with the points that
// fall in the pixel of the previous one left out.
struct Polylines {
    std::vector<QPointF> points;
    std::vector<int> starts; // index of each polyline's first point
    QPoint lastPixel{INT_MIN, INT_MIN};

    void begin(QPointF p)
    {
        starts.push_back(int(points.size()));
        points.push_back(p);
        lastPixel = p.toPoint();
    }
    void add(QPointF p)
    {
        const QPoint pixel = p.toPoint();
        if (pixel == lastPixel)
            return;
        points.push_back(p);
        lastPixel = pixel;
    }
    void draw(QPainter &painter) const
    {
        if (QImage *image = directTarget(painter)) {
            drawDirect(*image, painter.pen().color().rgba());
            return;
        }
        for (std::size_t i = 0; i < starts.size(); ++i) {
            const int from = starts[i];
            const int to = i + 1 < starts.size() ? starts[i + 1] : int(points.size());
            if (to - from >= 2)
                painter.drawPolyline(points.data() + from, to - from);
            else
                painter.drawPoint(points[std::size_t(from)]);
        }
    }

private:
    // A solid hairline without antialiasing on a plain image is written pixel by pixel: the
    // painter's own path costs several times more per segment on large programs.
    static QImage *directTarget(QPainter &painter)
    {
        const QPen pen = painter.pen();
        if (pen.style() != Qt::SolidLine || pen.widthF() != 0 || painter.testRenderHint(QPainter::Antialiasing) ||
            !painter.transform().isIdentity() || painter.device()->devType() != QInternal::Image)
            return nullptr;
        auto *image = static_cast<QImage *>(painter.device());
        const QImage::Format f = image->format();
        const bool plain = f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 ||
                           f == QImage::Format_ARGB32_Premultiplied;
        return plain && image->devicePixelRatio() == 1 ? image : nullptr;
    }

    void drawDirect(QImage &image, QRgb colour) const
    {
        // Every point that rounds to a pixel of the image: the edges hold half a pixel.
        const QRectF area(-0.49, -0.49, image.width() - 0.02, image.height() - 0.02);
        for (std::size_t i = 0; i < starts.size(); ++i) {
            const int from = starts[i];
            const int to = i + 1 < starts.size() ? starts[i + 1] : int(points.size());
            if (to - from == 1)
                plotSegment(image, area, points[std::size_t(from)], points[std::size_t(from)], colour);
            for (int k = from + 1; k < to; ++k)
                plotSegment(image, area, points[std::size_t(k - 1)], points[std::size_t(k)], colour);
        }
    }

    // Clips the segment to `area` (Liang-Barsky), then steps along it (Bresenham).
    static void plotSegment(QImage &image, const QRectF &area, QPointF a, QPointF b, QRgb colour)
    {
        double t0 = 0, t1 = 1;
        const double dx = b.x() - a.x(), dy = b.y() - a.y();
        const double p[4] = {-dx, dx, -dy, dy};
        const double q[4] = {a.x() - area.left(), area.right() - a.x(), a.y() - area.top(), area.bottom() - a.y()};
        for (int k = 0; k < 4; ++k) {
            if (p[k] == 0) {
                if (q[k] < 0)
                    return;
                continue;
            }
            const double r = q[k] / p[k];
            if (p[k] < 0)
                t0 = std::max(t0, r);
            else
                t1 = std::min(t1, r);
            if (t0 > t1)
                return;
        }
        int x0 = int(std::lround(a.x() + t0 * dx)), y0 = int(std::lround(a.y() + t0 * dy));
        const int x1 = int(std::lround(a.x() + t1 * dx)), y1 = int(std::lround(a.y() + t1 * dy));
        const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
        const int ex = std::abs(x1 - x0), ey = -std::abs(y1 - y0);
        int err = ex + ey;
        const int w = image.width(), h = image.height();
        while (true) {
            if (x0 >= 0 && x0 < w && y0 >= 0 && y0 < h)
                reinterpret_cast<QRgb *>(image.scanLine(y0))[x0] = colour;
            if (x0 == x1 && y0 == y1)
                break;
            const int e2 = 2 * err;
            if (e2 >= ey) {
                err += ey;
                x0 += sx;
            }
            if (e2 <= ex) {
                err += ex;
                y0 += sy;
            }
        }
    }
};

// Which sides of the visible area a point lies beyond (0: inside).
int outcode(QPointF p, const QRectF &r)
{
    return (p.x() < r.left() ? 1 : 0) | (p.x() > r.right() ? 2 : 0) | (p.y() < r.top() ? 4 : 0) |
           (p.y() > r.bottom() ? 8 : 0);
}

int arcSegments(const ArcGeometry &arc, double scale)
{
    const double pixels = std::abs(arc.sweep) * arc.radius * scale;
    return std::clamp(int(pixels / 4) + 1, 1, 256);
}

class Renderer {
public:
    Renderer(QSizeF size, const Toolpath &path, const ViewTransform &view)
        : size_(size), path_(path), view_(view), proj_(view.angles),
          sight_(QRectF(QPointF(0, 0), size).adjusted(-4, -4, 4, 4))
    {
    }

    // Adds move i, from the end of the move added before it; `contiguous`: that is move i - 1
    // (a coarser level draws an arc whose start was left out as a line).
    void addMove(std::size_t i, int style, bool contiguous = true)
    {
        const Move &m = path_.moves[i];
        const QPointF to = view_.map(proj_, m.end, size_);
        const int code = outcode(to, sight_);
        if (contiguous && m.kind == MoveKind::Arc && !(m.flags & moveflag::BadArc)) {
            addArc(i, style, to, code);
        } else if ((code & lastCode_) == 0 || style == Highlight) {
            segment(style, last_, to);
        } else {
            lastStyle_ = -1; // out of sight: the next visible move starts a new polyline
        }
        if (m.kind == MoveKind::Hole && code == 0)
            holes_.push_back(to);
        last_ = to;
        lastCode_ = code;
    }

    void draw(QPainter &painter)
    {
        for (int s = 0; s < StyleCount; ++s) {
            painter.setPen(stylePen(s));
            lines_[std::size_t(s)].draw(painter);
        }
        painter.setPen(QPen(QColor(120, 0, 120), 1));
        painter.setBrush(Qt::NoBrush);
        for (const QPointF &h : holes_)
            painter.drawEllipse(h, 3, 3);
    }

    // Whether any of the moves of run c may be in sight.
    bool chunkInSight(std::size_t c) const
    {
        const Bounds &b = path_.levels.chunks[c];
        double left = 1e300, right = -1e300, top = 1e300, bottom = -1e300;
        for (int corner = 0; corner < 8; ++corner) {
            const QPointF p = view_.map(proj_,
                                        {corner & 1 ? b.max.x : b.min.x, corner & 2 ? b.max.y : b.min.y,
                                         corner & 4 ? b.max.z : b.min.z},
                                        size_);
            left = std::min(left, p.x());
            right = std::max(right, p.x());
            top = std::min(top, p.y());
            bottom = std::max(bottom, p.y());
        }
        return right >= sight_.left() && left <= sight_.right() && bottom >= sight_.top() && top <= sight_.bottom();
    }

    void startAt(const Point3 &p)
    {
        last_ = view_.map(proj_, p, size_);
        lastCode_ = outcode(last_, sight_);
        lastStyle_ = -1;
    }

private:
    void segment(int style, QPointF from, QPointF to)
    {
        Polylines &lines = lines_[std::size_t(style)];
        if (style != lastStyle_)
            lines.begin(from);
        lines.add(to);
        lastStyle_ = style;
    }

    void addArc(std::size_t i, int style, QPointF to, int code)
    {
        const Move &m = path_.moves[i];
        const ArcGeometry &arc = path_.arcs[m.arc];
        // An arc whose whole circle is out of sight is skipped like a line.
        const Point3 centre = fromPlane(arc.plane, arc.centreA, arc.centreB, planeC(arc.plane, m.end));
        const QPointF c = view_.map(proj_, centre, size_);
        const double r = arc.radius * view_.scale;
        if (style != Highlight && !QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r).intersects(sight_)) {
            lastStyle_ = -1;
            return;
        }
        const int n = arcSegments(arc, view_.scale);
        const Point3 start = path_.startOf(i);
        QPointF from = last_;
        for (int k = 1; k < n; ++k) {
            const QPointF p = view_.map(proj_, arcPoint(arc, start, m.end, double(k) / n), size_);
            segment(style, from, p);
            from = p;
        }
        segment(style, from, to);
        (void)code;
    }

    QSizeF size_;
    const Toolpath &path_;
    const ViewTransform &view_;
    Projection proj_;
    QRectF sight_;
    std::array<Polylines, StyleCount> lines_;
    std::vector<QPointF> holes_;
    QPointF last_;
    int lastCode_ = 0;
    int lastStyle_ = -1;
};

int styleOf(const Move &m, bool before)
{
    if (m.flags & moveflag::BadArc)
        return BadArc;
    if (m.flags & moveflag::BlockDelete)
        return Skipped;
    const bool rapid = m.kind == MoveKind::Rapid || m.kind == MoveKind::Hole;
    if (rapid)
        return before ? RapidBefore : RapidAfter;
    return before ? FeedBefore : FeedAfter;
}

double distanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double len2 = QPointF::dotProduct(ab, ab);
    const double t = len2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / len2, 0.0, 1.0) : 0.0;
    const QPointF d = p - (a + t * ab);
    return std::hypot(d.x(), d.y());
}

} // namespace

void ViewTransform::zoomAt(QPointF pixel, QSizeF size, double factor)
{
    const double u = centreU + (pixel.x() - size.width() / 2) / scale;
    const double v = centreV - (pixel.y() - size.height() / 2) / scale;
    scale = std::clamp(scale * factor, 1e-6, 1e7);
    centreU = u - (pixel.x() - size.width() / 2) / scale;
    centreV = v + (pixel.y() - size.height() / 2) / scale;
}

void ViewTransform::pan(QPointF pixels)
{
    centreU -= pixels.x() / scale;
    centreV += pixels.y() / scale;
}

ViewTransform fitTransform(const Toolpath &path, ViewAngles angles, QSizeF size, double margin)
{
    ViewTransform t;
    t.angles = angles;
    const Bounds &b = path.figures.bounds;
    if (b.empty)
        return t;
    const Projection p(angles);
    double uMin = 1e300, uMax = -1e300, vMin = 1e300, vMax = -1e300;
    for (int corner = 0; corner < 8; ++corner) {
        const Point3 c{corner & 1 ? b.max.x : b.min.x, corner & 2 ? b.max.y : b.min.y,
                       corner & 4 ? b.max.z : b.min.z};
        uMin = std::min(uMin, p.u(c));
        uMax = std::max(uMax, p.u(c));
        vMin = std::min(vMin, p.v(c));
        vMax = std::max(vMax, p.v(c));
    }
    const double w = std::max(size.width() - 2 * margin, 1.0);
    const double h = std::max(size.height() - 2 * margin, 1.0);
    const double spanU = std::max(uMax - uMin, 1e-9), spanV = std::max(vMax - vMin, 1e-9);
    t.scale = std::min(w / spanU, h / spanV);
    if (uMax - uMin < 1e-9 && vMax - vMin < 1e-9)
        t.scale = 1;
    t.centreU = (uMin + uMax) / 2;
    t.centreV = (vMin + vMax) / 2;
    return t;
}

LineMoves movesOfLine(const Toolpath &path, int line)
{
    const auto byLine = [](const Move &m, int l) { return m.line < l; };
    const auto first = std::lower_bound(path.moves.begin(), path.moves.end(), line, byLine);
    auto last = first;
    while (last != path.moves.end() && last->line == line)
        ++last;
    return {std::size_t(first - path.moves.begin()), std::size_t(last - path.moves.begin())};
}

void renderToolpath(QPainter &painter, QSizeF size, const Toolpath &path, const ViewTransform &view,
                    CaretMark caret)
{
    if (path.moves.empty())
        return;
    const LineMoves mark = caret.line >= 0 ? movesOfLine(path, caret.line) : LineMoves{};
    // Without a move on the caret's line, the tool stands at the end of the last move before it.
    const std::size_t split = caret.line >= 0 ? mark.last : path.moves.size();
    Renderer r(size, path, view);
    r.startAt(path.origin);
    const DrawLevels &levels = path.levels;
    std::vector<char> inSight(levels.chunks.size());
    for (std::size_t c = 0; c < inSight.size(); ++c)
        inSight[c] = r.chunkInSight(c);
    const auto visible = [&](std::size_t i) {
        return inSight.empty() || inSight[i / DrawLevels::kChunk];
    };
    const std::size_t n = path.moves.size();
    const int level = levels.levelFor(kMergeWithin / view.scale);
    if (level == 0) {
        for (std::size_t i = 0; i < n;) {
            if (!visible(i)) {
                const std::size_t next = std::min(n, (i / DrawLevels::kChunk + 1) * DrawLevels::kChunk);
                r.startAt(path.moves[next - 1].end);
                i = next;
                continue;
            }
            r.addMove(i, styleOf(path.moves[i], i < split));
            ++i;
        }
    } else {
        const std::vector<std::uint32_t> &kept = levels.kept[std::size_t(level - 1)];
        std::size_t previous = std::size_t(-1);
        for (std::size_t k = 0; k < kept.size();) {
            const std::size_t i = kept[k];
            if (!visible(i)) {
                const std::size_t next = (i / DrawLevels::kChunk + 1) * DrawLevels::kChunk;
                const std::size_t after = std::size_t(
                    std::lower_bound(kept.begin() + std::ptrdiff_t(k), kept.end(), next) - kept.begin());
                previous = kept[after - 1];
                r.startAt(path.moves[previous].end);
                k = after;
                continue;
            }
            r.addMove(i, styleOf(path.moves[i], i < split), i == previous + 1);
            previous = i;
            ++k;
        }
    }
    if (mark.last > mark.first) {
        r.startAt(path.startOf(mark.first));
        for (std::size_t i = mark.first; i < mark.last; ++i)
            r.addMove(i, Highlight);
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, path.moves.size() < 200000);
    r.draw(painter);
    painter.restore();
}

long long moveAt(const Toolpath &path, const ViewTransform &view, QSizeF size, QPointF pixel, double tolerance)
{
    const Projection proj(view.angles);
    long long best = -1;
    double bestDistance = tolerance;
    QPointF from = view.map(proj, path.origin, size);
    for (std::size_t i = 0; i < path.moves.size(); ++i) {
        const Move &m = path.moves[i];
        const QPointF to = view.map(proj, m.end, size);
        double d;
        if (m.kind == MoveKind::Arc && !(m.flags & moveflag::BadArc)) {
            const ArcGeometry &arc = path.arcs[m.arc];
            const int n = arcSegments(arc, view.scale);
            const Point3 start = path.startOf(i);
            d = 1e300;
            QPointF a = from;
            for (int k = 1; k <= n; ++k) {
                const QPointF b = k == n ? to : view.map(proj, arcPoint(arc, start, m.end, double(k) / n), size);
                d = std::min(d, distanceToSegment(pixel, a, b));
                a = b;
            }
        } else {
            d = distanceToSegment(pixel, from, to);
        }
        if (d <= bestDistance) { // the later move wins a tie: it is drawn on top
            bestDistance = d;
            best = (long long)i;
        }
        from = to;
    }
    return best;
}

} // namespace tarmel::toolpath

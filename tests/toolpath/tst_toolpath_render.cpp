// The drawing: a rectangle and a circle fitted in the XY view, the caret's move, picking a move.
#include "toolpath/DrawLevels.h"
#include "toolpath/Interpreter.h"
#include "toolpath/ToolpathRenderer.h"

#include <QImage>
#include <QPainter>
#include <QTest>

#include <cmath>
#include <numbers>

using namespace tarmel::toolpath;

namespace {

// Lines 1-5: a 20 x 10 mm rectangle from the origin; 6-7: rapids staying outside the circle of
// line 8, of radius 5 around (35, 5).
const QByteArray kProgram = "G21 G90 G17\nG0 X0 Y0\nG1 X20 F300\nY10\nX0\nY0\nG0 X40 Y-5\nY5\nG2 X40 Y5 I-5 J0 F200\n";
constexpr int kCircleLine = 8;
const QSize kImage(400, 400);

Toolpath interpret(const QByteArray &text) { return interpretProgram(std::string_view(text.constData(), std::size_t(text.size()))); }

QImage render(const Toolpath &path, const ViewTransform &view, int caretLine, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(kImage, format);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderToolpath(painter, QSizeF(kImage), path, view, {caretLine});
    return image;
}

QPointF at(const ViewTransform &view, double x, double y) { return view.map(Projection(view.angles), {x, y, 0}, QSizeF(kImage)); }

// The darkest pixel within one pixel of `p`.
QColor drawnNear(const QImage &image, QPointF p)
{
    QColor best(Qt::white);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint q(int(std::lround(p.x())) + dx, int(std::lround(p.y())) + dy);
            if (image.rect().contains(q) && image.pixelColor(q).lightness() < best.lightness())
                best = image.pixelColor(q);
        }
    return best;
}

bool isDrawn(const QColor &c) { return c.lightness() < 245; }

// A spiral of feed moves from radius 2; going down in Z with a rapid every 5000 moves when `deep`.
Toolpath spiral(int moves, double step, double growth, bool deep)
{
    QByteArray text = "G1 F500\n";
    for (int i = 0; i < moves; ++i) {
        const double a = i * step, r = 2 + i * growth;
        text += "X" + QByteArray::number(r * std::cos(a), 'f', 4) + " Y" + QByteArray::number(r * std::sin(a), 'f', 4);
        text += deep ? " Z" + QByteArray::number(-i * 0.0001, 'f', 4) + (i % 5000 == 0 ? " G0\nG1\n" : "\n") : "\n";
    }
    return interpret(text);
}

// The pixels drawn in `a` and `b`, `border` pixels in from the edges, are the same to within one; the count drawn.
int sameWithinOne(const QImage &a, const QImage &b, int border = 0)
{
    int drawn = 0;
    for (int y = border; y < kImage.height() - border; ++y)
        for (int x = border; x < kImage.width() - border; ++x) {
            const bool inA = isDrawn(a.pixelColor(x, y)), inB = isDrawn(b.pixelColor(x, y));
            drawn += inA;
            if ((inA && !isDrawn(drawnNear(b, QPointF(x, y)))) || (inB && !isDrawn(drawnNear(a, QPointF(x, y))))) {
                qWarning("pixel %d,%d differs", x, y);
                return -1;
            }
        }
    return drawn;
}

} // namespace

class TestToolpathRender : public QObject {
    Q_OBJECT
private slots:
    void outlineAndEmptyCircle()
    {
        const Toolpath path = interpret(kProgram);
        QVERIFY(path.reports.empty());
        const ViewTransform view = fitTransform(path, topView(), QSizeF(kImage));
        const QImage image = render(path, view, -1);
        // The fitted drawing fills the width: 40 mm across 400 pixels less the margins.
        QVERIFY(at(view, 0, 0).x() >= 0 && at(view, 0, 0).x() < 20);
        QVERIFY(at(view, 40, 0).x() > 380 && at(view, 40, 0).x() <= 400);
        for (double t = 0; t <= 1.0001; t += 0.05) {
            const double a = 2 * std::numbers::pi * t;
            for (const QPointF p : {at(view, 20 * t, 0), at(view, 20, 10 * t), at(view, 20 * t, 10), at(view, 0, 10 * t),
                                    at(view, 35 + 5 * std::cos(a), 5 + 5 * std::sin(a))})
                QVERIFY2(isDrawn(drawnNear(image, p)), qPrintable(QStringLiteral("at %1").arg(t)));
        }
        // Nothing inside the circle, nor inside the rectangle, away from their lines by 2 pixels.
        const double margin = 2 / view.scale;
        for (int y = 0; y < kImage.height(); ++y)
            for (int x = 0; x < kImage.width(); ++x) {
                const double mmX = view.centreU + (x - 200) / view.scale, mmY = view.centreV - (y - 200) / view.scale;
                if (std::hypot(mmX - 35, mmY - 5) < 5 - margin || (mmX > margin && mmX < 20 - margin && mmY > margin && mmY < 10 - margin))
                    QVERIFY2(!isDrawn(image.pixelColor(x, y)), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            }
    }

    void caretMoveHighlighted()
    {
        const Toolpath path = interpret(kProgram);
        const ViewTransform view = fitTransform(path, topView(), QSizeF(kImage));
        const QPointF onCircle = at(view, 30, 5), onTopEdge = at(view, 10, 10);
        // Caret on the circle's line: the circle is highlighted, the rectangle drawn before it.
        const QImage atCircle = render(path, view, kCircleLine);
        const QColor highlight = drawnNear(atCircle, onCircle), before = drawnNear(atCircle, onTopEdge);
        QVERIFY2(highlight.red() > 200 && highlight.green() < 80, qPrintable(highlight.name()));
        QVERIFY2(before.blue() > 150 && before.red() < 80, qPrintable(before.name()));
        // Caret on the first line: nothing highlighted, everything after it pale.
        const QImage atStart = render(path, view, 0);
        QVERIFY2(drawnNear(atStart, onTopEdge).lightness() > before.lightness() + 40, qPrintable(drawnNear(atStart, onTopEdge).name()));
        QVERIFY2(drawnNear(atStart, onCircle).green() > 150, qPrintable(drawnNear(atStart, onCircle).name()));
    }

    void zoomKeepsPointUnderPointer()
    {
        ViewTransform view = fitTransform(interpret(kProgram), isometricView(), QSizeF(kImage));
        const Projection proj(view.angles);
        const QPointF before = view.map(proj, {20, 10, 0}, QSizeF(kImage));
        view.zoomAt(before, QSizeF(kImage), 8);
        QVERIFY(QLineF(before, view.map(proj, {20, 10, 0}, QSizeF(kImage))).length() < 1e-6);
        view.pan({10, -5});
        QVERIFY(QLineF(view.map(proj, {20, 10, 0}, QSizeF(kImage)), before + QPointF(10, -5)).length() < 1e-6);
    }

    // A drawing through the drawing levels and its runs out of sight shows the same pixels, to
    // within one, as a drawing of every move.
    void coarseDrawingMatchesTheFullOne_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<bool>("isometric");
        QTest::newRow("fitted") << 1.0 << false;
        QTest::newRow("isometric, zoomed in") << 6.0 << true;
    }

    void coarseDrawingMatchesTheFullOne()
    {
        QFETCH(double, zoom);
        QFETCH(bool, isometric);
        Toolpath coarse = spiral(60000, 0.003, 0.0007, true);
        const Toolpath full = coarse;
        coarse.levels = buildDrawLevels(coarse);
        QVERIFY(!coarse.levels.kept.empty());
        ViewTransform view = fitTransform(full, isometric ? isometricView() : topView(), QSizeF(kImage));
        view.zoomAt({200, 200}, QSizeF(kImage), zoom);
        QVERIFY(sameWithinOne(render(full, view, 30000), render(coarse, view, 30000)) > 2000);
    }

    // A large program's hairlines are written straight into an RGB32 image; an RGB888 image takes
    // the painter's own path. Both show the same pixels to within one, the border left out: where a
    // line merely grazes the image, the two may round half a pixel differently.
    void directPixelsMatchThePainter()
    {
        const Toolpath path = spiral(210000, 0.002, 0.0002, false);
        ViewTransform view = fitTransform(path, topView(), QSizeF(kImage));
        view.zoomAt({260, 200}, QSizeF(kImage), 3); // lines leaving the image are clipped
        QVERIFY(sameWithinOne(render(path, view, -1), render(path, view, -1, QImage::Format_RGB888), 1) > 5000);
    }

    void pickMoveAndMovesOfLine()
    {
        const Toolpath path = interpret(kProgram);
        const ViewTransform view = fitTransform(path, topView(), QSizeF(kImage));
        // The right edge, the circle's left, the rapid to the circle, the circle's centre (nothing).
        for (const auto &[x, y, line] : {std::tuple{20.0, 5.0, 3}, {30.0, 5.0, kCircleLine}, {40.0, 0.0, 7}, {35.0, 5.0, -1}}) {
            const long long move = moveAt(path, view, QSizeF(kImage), at(view, x, y) + QPointF(1, 1));
            QCOMPARE(move < 0 ? -1 : path.moves[std::size_t(move)].line, line);
        }
        // No move before all, the first move, the circle, past the end.
        for (const auto &[line, first, last] : {std::tuple{0, 0, 0}, {1, 0, 1}, {kCircleLine, 7, 8}, {50, 8, 8}}) {
            const LineMoves m = movesOfLine(path, line);
            QCOMPARE(QPoint(int(m.first), int(m.last)), QPoint(first, last));
        }
    }
};

QTEST_MAIN(TestToolpathRender)
#include "tst_toolpath_render.moc"

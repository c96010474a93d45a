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

// A 20 x 10 mm rectangle from the origin, then a circle of radius 5 around (35, 5), reached by
// rapids that stay outside it.
const QByteArray kProgram = "G21 G90 G17\n"             // 0
                            "G0 X0 Y0\n"                // 1
                            "G1 X20 F300\n"             // 2
                            "Y10\n"                     // 3
                            "X0\n"                      // 4
                            "Y0\n"                      // 5
                            "G0 X40 Y-5\n"              // 6
                            "Y5\n"                      // 7
                            "G2 X40 Y5 I-5 J0 F200\n";  // 8
constexpr int kCircleLine = 8;
const QSize kImage(400, 400);

Toolpath interpret(const QByteArray &text);
Toolpath program() { return interpret(kProgram); }

QImage render(const Toolpath &path, const ViewTransform &view, int caretLine)
{
    QImage image(kImage, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderToolpath(painter, QSizeF(kImage), path, view, {caretLine});
    return image;
}

// A drawn pixel within one pixel of `p`; its colour, or white.
QColor drawnNear(const QImage &image, QPointF p)
{
    QColor best(Qt::white);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint q(int(std::lround(p.x())) + dx, int(std::lround(p.y())) + dy);
            if (!image.rect().contains(q))
                continue;
            const QColor c = image.pixelColor(q);
            if (c.lightness() < best.lightness())
                best = c;
        }
    return best;
}

bool isDrawn(const QColor &c)
{
    return c.lightness() < 245;
}

Toolpath interpret(const QByteArray &text)
{
    return interpretProgram(std::string_view(text.constData(), std::size_t(text.size())));
}

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
        const Toolpath path = program();
        QVERIFY(path.reports.empty());
        const ViewTransform view = fitTransform(path, topView(), QSizeF(kImage));
        const QImage image = render(path, view, -1);
        const Projection proj(view.angles);
        const auto at = [&](double x, double y) { return view.map(proj, {x, y, 0}, QSizeF(kImage)); };

        // The fitted drawing fills the width: 40 mm across 400 pixels less the margins.
        QVERIFY(at(0, 0).x() >= 0 && at(0, 0).x() < 20);
        QVERIFY(at(40, 0).x() > 380 && at(40, 0).x() <= 400);

        for (double t = 0; t <= 1.0001; t += 0.05) {
            for (const QPointF p : {at(20 * t, 0), at(20, 10 * t), at(20 * t, 10), at(0, 10 * t)})
                QVERIFY2(isDrawn(drawnNear(image, p)), qPrintable(QStringLiteral("rectangle at %1").arg(t)));
            const double a = 2 * std::numbers::pi * t;
            QVERIFY2(isDrawn(drawnNear(image, at(35 + 5 * std::cos(a), 5 + 5 * std::sin(a)))),
                     qPrintable(QStringLiteral("circle at %1").arg(a)));
        }

        // Nothing inside the circle, nor inside the rectangle, away from their lines by 2 pixels.
        const double margin = 2 / view.scale;
        for (int y = 0; y < kImage.height(); ++y)
            for (int x = 0; x < kImage.width(); ++x) {
                const double mmX = view.centreU + (x - 200) / view.scale;
                const double mmY = view.centreV - (y - 200) / view.scale;
                const bool inCircle = std::hypot(mmX - 35, mmY - 5) < 5 - margin;
                const bool inRectangle = mmX > margin && mmX < 20 - margin && mmY > margin && mmY < 10 - margin;
                if (inCircle || inRectangle)
                    QVERIFY2(!isDrawn(image.pixelColor(x, y)), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            }
    }

    void caretMoveHighlighted()
    {
        const Toolpath path = program();
        const ViewTransform view = fitTransform(path, topView(), QSizeF(kImage));
        const Projection proj(view.angles);
        const QPointF onCircle = view.map(proj, {30, 5, 0}, QSizeF(kImage));
        const QPointF onTopEdge = view.map(proj, {10, 10, 0}, QSizeF(kImage));

        // Caret on the circle's line: the circle is highlighted, the rectangle drawn before it.
        const QImage atCircle = render(path, view, kCircleLine);
        const QColor highlight = drawnNear(atCircle, onCircle);
        QVERIFY2(highlight.red() > 200 && highlight.green() < 80, qPrintable(highlight.name()));
        const QColor before = drawnNear(atCircle, onTopEdge);
        QVERIFY2(before.blue() > 150 && before.red() < 80, qPrintable(before.name()));

        // Caret on the first line: nothing highlighted, everything after it pale.
        const QImage atStart = render(path, view, 0);
        const QColor after = drawnNear(atStart, onTopEdge);
        QVERIFY2(after.lightness() > before.lightness() + 40, qPrintable(after.name()));
        QVERIFY2(drawnNear(atStart, onCircle).green() > 150, qPrintable(drawnNear(atStart, onCircle).name()));
    }

    void zoomKeepsPointUnderPointer()
    {
        const Toolpath path = program();
        ViewTransform view = fitTransform(path, isometricView(), QSizeF(kImage));
        const Projection proj(view.angles);
        const Point3 corner{20, 10, 0};
        const QPointF before = view.map(proj, corner, QSizeF(kImage));
        view.zoomAt(before, QSizeF(kImage), 8);
        const QPointF after = view.map(proj, corner, QSizeF(kImage));
        QVERIFY(QLineF(before, after).length() < 1e-6);
        view.pan({10, -5});
        const QPointF panned = view.map(proj, corner, QSizeF(kImage));
        QVERIFY(QLineF(panned, after + QPointF(10, -5)).length() < 1e-6);
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
    // the painter's own path. Both show the same pixels to within one.
    void directPixelsMatchThePainter()
    {
        const Toolpath path = spiral(210000, 0.002, 0.0002, false);
        ViewTransform view = fitTransform(path, topView(), QSizeF(kImage));
        view.zoomAt({260, 200}, QSizeF(kImage), 3); // lines leaving the image are clipped
        QImage direct(kImage, QImage::Format_RGB32), painted(kImage, QImage::Format_RGB888);
        for (QImage *image : {&direct, &painted}) {
            image->fill(Qt::white);
            QPainter painter(image);
            renderToolpath(painter, QSizeF(kImage), path, view, {-1});
        }
        // The border pixels are left out: where a line merely grazes the image, the painter and the
        // direct path may round half a pixel differently.
        QVERIFY(sameWithinOne(direct, painted, 1) > 5000);
    }

    void pickMove_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<int>("line"); // -1: nothing there
        QTest::newRow("right edge") << 20.0 << 5.0 << 3;
        QTest::newRow("circle, left") << 30.0 << 5.0 << kCircleLine;
        QTest::newRow("rapid to the circle") << 40.0 << 0.0 << 7;
        QTest::newRow("centre of the circle") << 35.0 << 5.0 << -1;
    }

    void pickMove()
    {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(int, line);
        const Toolpath path = program();
        const ViewTransform view = fitTransform(path, topView(), QSizeF(kImage));
        const QPointF pixel = view.map(Projection(view.angles), {x, y, 0}, QSizeF(kImage));
        const long long move = moveAt(path, view, QSizeF(kImage), pixel + QPointF(1, 1));
        QCOMPARE(move < 0 ? -1 : path.moves[std::size_t(move)].line, line);
    }

    void movesOfLine_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::newRow("no move, before all") << 0 << 0 << 0;
        QTest::newRow("first move") << 1 << 0 << 1;
        QTest::newRow("the circle") << kCircleLine << 7 << 8;
        QTest::newRow("past the end") << 50 << 8 << 8;
    }

    void movesOfLine()
    {
        QFETCH(int, line);
        QFETCH(int, first);
        QFETCH(int, last);
        const LineMoves m = tarmel::toolpath::movesOfLine(program(), line);
        QCOMPARE(int(m.first), first);
        QCOMPARE(int(m.last), last);
    }
};


QTEST_MAIN(TestToolpathRender)
#include "tst_toolpath_render.moc"

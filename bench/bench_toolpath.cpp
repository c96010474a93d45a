// The toolpath of a long program: its interpretation against a plain pass over the same
// bytes (splitting the lines and summing their bytes), and its redraw at full view, zoomed in and
// in the isometric view against a fill of the same image, in processor time of this thread.
// Special content, not the shared generated program: a raster finish whose moves make a surface,
// so that the drawing levels and the redraw see what a real finishing program gives them.
//
//   bench_toolpath [lines]

#include "bench/BenchSupport.h"
#include "checks/NcLines.h"
#include "toolpath/DrawLevels.h"
#include "toolpath/Interpreter.h"
#include "toolpath/ToolpathRenderer.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <ctime>
#include <cstdio>
#include <functional>

using namespace tarmel::toolpath;

namespace {

// A 3D surface finished in raster passes of 0.1 mm feed moves along X, each pass joined to the
// next by a half circle, every 50 passes a rapid retract and return: what a CAM program of this
// size looks like.
QByteArray generateProgram(qint64 lines)
{
    QByteArray text;
    text.reserve(lines * 40);
    text += "%\r\nO1000 (BENCH)\r\nG21 G90 G17\r\nG0 X0 Y0 Z5\r\n";
    qint64 n = 4;
    int pass = 0, step = 0;
    char line[96];
    while (n < lines) {
        int len;
        const double y = pass * 0.2;
        if (step == 1000) { // end of a pass: half circle to the next one
            const bool right = pass % 2 == 0;
            len = std::snprintf(line, sizeof line, "%s X%.3f Y%.3f R0.15\r\n", right ? "G3" : "G2",
                                right ? 100.0 : 0.0, y + 0.2); // R0.15: the pass ends 0.1 mm short
            ++pass;
            step = 0;
        } else if (step == 0 && pass % 50 == 0) {
            len = std::snprintf(line, sizeof line, "G0 Z5\r\nG0 X%.3f Y%.3f\r\n", pass % 2 ? 100.0 : 0.0, y);
            ++n;
            step = 1;
        } else {
            const double x = pass % 2 ? 100 - step * 0.1 : step * 0.1;
            len = std::snprintf(line, sizeof line, "N%lld G1 X%.3f Y%.3f Z%.4f F1200\r\n", n, x, y,
                                std::sin(x / 7) * std::cos(y / 11) * 3 - 5);
            ++step;
        }
        text.append(line, len);
        ++n;
    }
    return text;
}

double lastWallMs = 0;
double bestOfThree(const std::function<void()> &work)
{
    const bench::Timing t = bench::measure(work);
    lastWallMs = t.wallMs;
    return t.cpuMs;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const qint64 lines = bench::linesFromArgs(argc, argv, bench::allSizes);
    const QByteArray program = generateProgram(lines);
    const std::string_view text(program.constData(), std::size_t(program.size()));

    unsigned long long sink = 0;
    const double plain = bestOfThree([&] {
        tarmel::forEachNcLine(text, [&](int, std::string_view line) {
            for (char c : line)
                sink += static_cast<unsigned char>(c);
        });
    });
    Toolpath path;
    const double interpret = bestOfThree([&] { path = interpretProgram(text); });
    const double levels = bestOfThree([&] { path.levels = buildDrawLevels(path); });
    bench::note("%lld lines, %.1f MB, moves %zu, arcs %zu, %zu drawing levels", static_cast<long long>(lines),
                program.size() / 1e6, path.moves.size(), path.arcs.size(), path.levels.kept.size());
    bench::timeRow("toolpath interpretation (cpu)", lines, interpret, "plain pass (cpu)", plain, bench::atMost(1500));
    bench::timeRow("toolpath drawing levels (cpu)", lines, levels, "plain pass (cpu)", plain);

    QImage image(800, 600, QImage::Format_ARGB32_Premultiplied);
    const QSizeF size(image.size());
    const double fill = bestOfThree([&] { image.fill(Qt::white); });
    const auto redraw = [&](const ViewTransform &view, int caretLine) {
        return bestOfThree([&] {
            image.fill(Qt::white);
            QPainter painter(&image);
            renderToolpath(painter, size, path, view, {caretLine});
        });
    };
    const ViewTransform full = fitTransform(path, topView(), size);
    ViewTransform zoomed = full;
    zoomed.zoomAt({400, 300}, size, 50);
    const ViewTransform iso = fitTransform(path, isometricView(), size);
    const int middle = int(lines / 2);
    const double fullMs = redraw(full, middle);
    const double fullWall = lastWallMs;
    const double zoomedMs = redraw(zoomed, middle), isoMs = redraw(iso, middle);
    bench::timeRow("toolpath redraw, full view (cpu)", lines, fullMs, "image fill (cpu)", fill, bench::atMost(50));
    bench::timeRow("toolpath redraw, zoomed x50 (cpu)", lines, zoomedMs, "image fill (cpu)", fill, bench::atMost(50));
    bench::timeRow("toolpath redraw, isometric (cpu)", lines, isoMs, "image fill (cpu)", fill, bench::atMost(50));
    bench::note("full redraw in wall-clock time %.1f ms; checksum %llu", fullWall, sink % 10);
    return 0;
}

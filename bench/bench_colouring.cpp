// Syntax colouring in a large program: opening the generated program, going to
// its end, and typing there, with colouring off and on, in an editing area shown in a window.
// Floor: the same journey with colouring off, measured in the same run (each journey twice, in
// the order off, on, off, on, the better of each kept).
#include "checks/NcColouring.h"
#include "platform/RichTextBox.h"
#include "bench/BenchSupport.h"
#include "bench/BenchTyping.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>

namespace {

struct Journey {
    double openMs = 1e300;    // load and first drawing
    double toEndMs = 1e300;   // caret to the end and its drawing
    double keyMeanMs = 1e300; // a key at the end, with the drawing the engine asks for (median)
    double keyScreenMs = 1e300; // a key at the end, then the whole screen drawn again
    bool coloured = false;    // the last line was coloured
};

Journey run(platform::RichTextBox *box, const QString &path, bool colouring)
{
    Journey j;
    box->setLineColourer(colouring ? tarmel::ncLineColourer() : platform::LineColourer());
    QElapsedTimer timer;
    timer.start();
    if (!box->loadFile(path, tarmel::FileType::Plain))
        return j;
    box->engine()->viewport()->repaint();
    j.openMs = bench::msSince(timer);
    timer.start();
    box->setSelStart(box->textLength());
    box->engine()->viewport()->repaint();
    j.toEndMs = bench::msSince(timer);
    j.keyMeanMs = bench::typeKeys(box->engine(), 300, false).medianMs;
    j.keyScreenMs = bench::typeKeys(box->engine(), 100).medianMs;
    // The last block ("N… M30", before "%" and the empty line after it) is coloured when colouring is on.
    const qsizetype lastLine = box->byteOfPosition(box->lineStartPosition(box->lineCount() - 3));
    j.coloured = box->engine()->SendScintilla(QsciScintillaBase::SCI_INDICATORVALUEAT, 9UL, long(lastLine + 1)) != 0;
    return j;
}

void keepBest(Journey &best, const Journey &j)
{
    best.openMs = std::min(best.openMs, j.openMs);
    best.toEndMs = std::min(best.toEndMs, j.toEndMs);
    best.keyMeanMs = std::min(best.keyMeanMs, j.keyMeanMs);
    best.keyScreenMs = std::min(best.keyScreenMs, j.keyScreenMs);
    best.coloured = j.coloured;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const qint64 lines = bench::linesFromArgs(argc, argv, bench::allSizes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.nc"));
    if (!bench::camProgramAt(path, lines))
        return 1;
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *box = new platform::RichTextBox(&window);
    layout->addWidget(box);
    window.resize(800, 600);
    window.show();
    QApplication::setActiveWindow(&window);
    box->engine()->setFocus();
    QApplication::processEvents();

    Journey off, on;
    for (int round = 0; round < 2; ++round) {
        keepBest(off, run(box, path, false));
        keepBest(on, run(box, path, true));
    }
    bench::timeRow("colouring on: open + paint", lines, on.openMs, "colouring off", off.openMs, bench::atMostTimesFloor(1.10));
    bench::timeRow("colouring on: caret to the end + paint", lines, on.toEndMs, "colouring off", off.toEndMs,
                   bench::atMostTimesFloor(1.10));
    bench::timeRow("colouring on: keystroke at the end (median)", lines, on.keyMeanMs, "colouring off", off.keyMeanMs,
                   bench::atMostTimesFloor(1.10));
    // Drawing every line on screen in its colours costs more than in one colour, whatever the size
    // of the program: shown beside, without a target.
    bench::timeRow("colouring on: keystroke at the end + whole screen (median)", lines, on.keyScreenMs, "colouring off",
                   off.keyScreenMs);
    if (!on.coloured || off.coloured)
        bench::note("THE LAST BLOCK IS %s with colouring on, %s with colouring off", on.coloured ? "coloured" : "NOT coloured",
                    off.coloured ? "COLOURED" : "not coloured");
    return on.coloured && !off.coloured ? 0 : 1;
}

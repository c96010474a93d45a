// Typing cost in a large program: loads the generated program into
// an editing area shown and focused in a window, with an accessible object made as a
// desktop session would, then times keys at the end and at the start of the text.
// Floor: a memcpy of the same bytes, taken after the editor figures so that its
// buffers do not count in the peak memory.
#include "platform/AccessibleEditor.h"
#include "platform/RichTextBox.h"
#include "bench/BenchSupport.h"
#include "bench/BenchTyping.h"

#include <Qsci/qsciscintilla.h>

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

using bench::peakRssKb;
using bench::typeKeys;
using bench::KeyTimes;

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const qint64 lines = bench::linesFromArgs(argc, argv, bench::allSizes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.nc"));
    if (!bench::camProgramAt(path, lines))
        return 1;
    const qint64 fileSize = QFileInfo(path).size();

    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *box = new platform::RichTextBox(&window);
    layout->addWidget(box);
    window.resize(800, 600);
    window.show();
    QApplication::setActiveWindow(&window);
    box->engine()->setFocus();
    QAccessible::setActive(true);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(box->engine());
    const bool ours = dynamic_cast<platform::AccessibleEditor *>(iface) != nullptr;
    QApplication::processEvents();

    QElapsedTimer timer;
    timer.start();
    if (!box->loadFile(path, tarmel::FileType::Plain)) {
        std::fprintf(stderr, "load failed\n");
        return 1;
    }
    box->engine()->viewport()->repaint();
    const double loadMs = timer.nsecsElapsed() / 1e6;

    box->setSelStart(box->textLength());
    const KeyTimes atEnd = typeKeys(box->engine(), 100);
    box->setSelStart(0);
    const KeyTimes atStart = typeKeys(box->engine(), 100);
    const long rssKb = peakRssKb();
    const qsizetype finalLength = box->textLength();

    // Floor: the same bytes copied once in memory.
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    QByteArray copy(bytes.size(), Qt::Uninitialized);
    timer.start();
    std::memcpy(copy.data(), bytes.constData(), bytes.size());
    const double floorMs = timer.nsecsElapsed() / 1e6;

    bench::note("%lld lines, file %.1f MB, accessible interface %s", static_cast<long long>(lines), fileSize / 1e6,
                ours ? "ours" : "NOT ours");
    bench::timeRow("open: editing area load + paint", lines, loadMs, "memcpy", floorMs, bench::atMost(1000));
    bench::timeRow("keystroke at the end (mean)", lines, atEnd.meanMs, "", 0, bench::atMost(5));
    bench::timeRow("keystroke at the end (max)", lines, atEnd.maxMs);
    bench::timeRow("keystroke at the start (mean)", lines, atStart.meanMs, "", 0, bench::atMost(5));
    bench::row("peak RSS: editing area after load", lines, rssKb / 1024.0, "MB", "file size", fileSize / 1048576.0,
               bench::atMostTimesFloor(3));
    if (finalLength != fileSize + 200)
        bench::note("TEXT LENGTH after typing %lld, expected %lld", qlonglong(finalLength), qlonglong(fileSize + 200));
    return finalLength == fileSize + 200 ? 0 : 1;
}

// Typing cost in a large program: loads a generated 5,000,000-line CR LF program into
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
using bench::writeProgram;
using bench::typeKeys;
using bench::KeyTimes;

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 5000000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.nc"));
    if (!writeProgram(path, lines)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
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

    std::printf("lines %d, file %.1f MB, accessible interface %s\n", lines, fileSize / 1e6,
                ours ? "ours" : "NOT ours");
    std::printf("floor memcpy       %8.1f ms\n", floorMs);
    std::printf("load               %8.1f ms  (target <= 1000)\n", loadMs);
    std::printf("key at end         %8.3f ms mean, %.3f median, %.3f max  (target <= 5)\n", atEnd.meanMs,
                atEnd.medianMs, atEnd.maxMs);
    std::printf("key at start       %8.3f ms mean, %.3f median, %.3f max\n", atStart.meanMs, atStart.medianMs,
                atStart.maxMs);
    std::printf("peak RSS           %8.1f MB = %.2f x file  (target <= 3)\n", rssKb / 1024.0,
                rssKb * 1024.0 / fileSize);
    std::printf("text length after typing: %lld (expected %lld)\n", qlonglong(finalLength),
                qlonglong(fileSize + 200));
    return finalLength == fileSize + 200 ? 0 : 1;
}

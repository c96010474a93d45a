// The renumbering command as the panel runs it, on the generated program held by the editing area:
// read the text as UTF-8, renumber it with step 5, write it back (target: 1 s in all). Floor from the
// same run: one copy of the same bytes.
#include "bench/BenchSupport.h"
#include "numbering/Renumber.h"
#include "platform/RichTextBox.h"

#include <QApplication>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qint64 lines = bench::linesFromArgs(argc, argv, bench::allSizes);
    const QByteArray text = QString::fromLatin1(bench::camProgram(lines)).toUtf8();

    platform::RichTextBox box;
    box.resize(800, 600);
    box.show();
    box.setUtf8(text);
    app.processEvents();

    const double floorMs = bench::measure([&] {
        QByteArray copy = text;
        copy.detach();
    }).wallMs;

    numbering::RenumberOptions options;
    options.step = 5;
    options.progress = [](qint64, qint64) {};
    double readMs = 0, renumberMs = 0, writeMs = 0;
    numbering::RenumberBytesResult result;
    const double totalMs = bench::once([&] {
        QElapsedTimer t;
        t.start();
        const QByteArray before = box.utf8();
        readMs = bench::msSince(t);
        t.restart();
        result = numbering::renumberUtf8(before, options);
        renumberMs = bench::msSince(t);
        t.restart();
        box.setUtf8(result.text);
        writeMs = bench::msSince(t);
    });

    bench::note("%lld lines, %lld bytes, %lld renumbered", static_cast<long long>(result.counts.lines),
                static_cast<long long>(text.size()), static_cast<long long>(result.counts.linesRenumbered));
    bench::timeRow("renumber command: read text", lines, readMs, "copy of the bytes", floorMs);
    bench::timeRow("renumber command: renumber", lines, renumberMs, "copy of the bytes", floorMs);
    bench::timeRow("renumber command: write text", lines, writeMs, "copy of the bytes", floorMs);
    bench::timeRow("renumber command: whole", lines, totalMs, "copy of the bytes", floorMs, bench::atMost(1000));
    const bool ok = result.status == numbering::RenumberStatus::Done && box.utf8() == result.text
                    && result.text != text;
    if (!ok)
        bench::note("THE RENUMBERED TEXT IS NOT THE ONE IN THE EDITING AREA");
    return ok ? 0 : 1;
}

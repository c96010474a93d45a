// The renumbering command as the panel runs it, on a program held by the editing area: read the text
// as UTF-8, renumber it, write it back. Figures are printed beside a floor taken in the same run: one
// copy of the same bytes. Usage: bench_renumber_editor [lines] (default 5,000,000).
#include "numbering/Renumber.h"
#include "platform/RichTextBox.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {

QByteArray program(qint64 lines)
{
    QByteArray text;
    text.reserve(lines * 30);
    text += "%\r\nO1000 (BENCH)\r\n";
    for (qint64 i = 1; i <= lines; ++i) {
        text += 'N';
        text += QByteArray::number(i * 5);
        text += " G01 X";
        text += QByteArray::number(i % 997);
        text += ".125 Y-";
        text += QByteArray::number(i % 331);
        text += ".5\r\n";
    }
    text += "M30\r\n%";
    return text;
}

double ms(const QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e6; }

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qint64 lines = argc > 1 ? QByteArray(argv[1]).toLongLong() : 5'000'000;
    const QByteArray text = program(lines);

    platform::RichTextBox box;
    box.resize(800, 600);
    box.show();
    box.setUtf8(text);
    app.processEvents();

    QElapsedTimer t;
    t.start();
    QByteArray copy = text;
    copy.detach();
    const double floorMs = ms(t);

    numbering::RenumberOptions options;
    options.progress = [](qint64, qint64) {};
    QElapsedTimer total;
    total.start();
    t.start();
    const QByteArray before = box.utf8();
    const double readMs = ms(t);
    t.restart();
    const numbering::RenumberBytesResult result = numbering::renumberUtf8(before, options);
    const double renumberMs = ms(t);
    t.restart();
    box.setUtf8(result.text);
    const double writeMs = ms(t);
    const double totalMs = ms(total);

    std::printf("lines %lld, %lld bytes, %lld renumbered\n", static_cast<long long>(result.counts.lines),
                static_cast<long long>(text.size()), static_cast<long long>(result.counts.linesRenumbered));
    std::printf("floor (copy of the bytes) %8.1f ms\n", floorMs);
    std::printf("read text                 %8.1f ms\n", readMs);
    std::printf("renumber                  %8.1f ms\n", renumberMs);
    std::printf("write text                %8.1f ms\n", writeMs);
    std::printf("whole command             %8.1f ms (target 1000 ms)\n", totalMs);
    return result.status == numbering::RenumberStatus::Done && box.utf8().size() >= text.size() ? 0 : 1;
}

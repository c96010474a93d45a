// Printing a long program. The page composition of a CAM-like program (default 1,000,000 lines)
// against splitting the same text into lines; and printing 20,000 of those lines into a PDF file
// through the real printer against drawing the same lines straight onto the same pages.
// Best-of-three times, with the ratio to the floor.
//
//   bench_print [lines] [pdf lines]

#include "bench/BenchSupport.h"
#include "platform/Printer.h"
#include "printing/PageComposer.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

QString program(int lines)
{
    QString text;
    text.reserve(qsizetype(lines) * 40);
    char line[96];
    for (int n = 1; n <= lines; ++n) {
        bench::camLine(line, sizeof line, n);
        text += QLatin1String(line);
    }
    return text;
}

double bestOfThree(const std::function<void()> &work)
{
    double best = 1e300;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        best = std::min(best, bench::msSince(t));
    }
    return best;
}

void report(const char *what, double ms, const char *floorName, double floorMs)
{
    std::printf("%-34s %9.1f ms   floor (%s) %9.1f ms   ratio %.2f\n", what, ms, floorName, floorMs, ms / floorMs);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int lines = argc > 1 ? QByteArray(argv[1]).toInt() : 1000000;
    const int pdfLines = argc > 2 ? QByteArray(argv[2]).toInt() : 20000;

    const QString text = program(lines);
    tarmel::printing::PageMetrics page;
    page.width = 80;
    page.height = 66;
    const auto advance = [](QStringView) { return 1.0; };
    qsizetype pages = 0;
    const double floorSplit = bestOfThree([&] { pages = text.split(QStringLiteral("\r\n")).size(); });
    const double compose = bestOfThree([&] {
        const QList<QStringList> copies = tarmel::printing::printedCopies(text, 0, QStringLiteral("/p.iso"), 1);
        pages = tarmel::printing::composePages(copies.first(), page, advance).size();
    });
    std::printf("%d lines, %lld pages of 66 lines\n", lines, static_cast<long long>(pages));
    report("page composition", compose, "split into lines", floorSplit);

    QTemporaryDir dir;
    platform::QtPrinter printer;
    QPrinter &device = *printer.device();
    device.setOutputFormat(QPrinter::PdfFormat);
    device.setOutputFileName(dir.filePath(QStringLiteral("p.pdf")));
    platform::PrintDocument document;
    document.font.name = QStringLiteral("Courier New");
    document.font.size = 10;
    const QString pdfText = program(pdfLines);
    document.copies = tarmel::printing::printedCopies(pdfText, 0, QStringLiteral("/p.iso"), 1);
    bool ok = true;
    const double printed = bestOfThree([&] { ok = printer.print(document).ok && ok; });

    // The floor: the same lines drawn one under the other, a new page when one is full.
    const QStringList plain = document.copies.first();
    const double drawn = bestOfThree([&] {
        QPainter painter(&device);
        QFont font(document.font.name);
        font.setPointSizeF(document.font.size);
        font.setStyleHint(QFont::TypeWriter);
        painter.setFont(font);
        const QFontMetricsF metrics(font, &device);
        double y = metrics.ascent();
        for (const QString &line : plain) {
            if (y > device.height()) {
                device.newPage();
                y = metrics.ascent();
            }
            painter.drawText(QPointF(0, y), line);
            y += metrics.lineSpacing();
        }
    });
    std::printf("%d lines into a PDF file%s\n", pdfLines, ok ? "" : " (FAILED)");
    report("print into PDF", printed, "lines drawn as they come", drawn);
    std::printf("peak memory %ld MB\n", bench::peakRssKb() / 1024);
    return ok ? 0 : 1;
}

// Printing a long program: the page composition of the generated program against splitting the same
// text into lines; and printing 20,000 of those lines into a PDF file through the real printer against
// drawing the same lines straight onto the same pages. Runs at 100,000 and 1,000,000 lines; the PDF
// part, which does not depend on the size, only at the smaller.
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

QString program(qint64 lines)
{
    return QString::fromLatin1(bench::camProgram(lines));
}

double bestOfThree(const std::function<void()> &work)
{
    return bench::measure(work).wallMs;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qint64 lines = bench::linesFromArgs(argc, argv, {100000, 1000000});
    const int pdfLines = 20000;

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
    bench::note("%lld lines, %lld pages of 66 lines", static_cast<long long>(lines), static_cast<long long>(pages));
    bench::timeRow("print: page composition", lines, compose, "split into lines", floorSplit);

    if (lines >= 1000000)
        return 0;
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
    bench::timeRow("print 20,000 lines into PDF", lines, printed, "lines drawn as they come", drawn);
    if (!ok)
        bench::note("PRINTING INTO PDF FAILED");
    return ok ? 0 : 1;
}

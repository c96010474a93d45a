#include "platform/Printer.h"

#include "printing/PageComposer.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <array>

namespace platform {

namespace {

QFont fontOf(const PrintFont &f)
{
    QFont font(f.name.isEmpty() ? QStringLiteral("Courier New") : f.name);
    font.setPointSizeF(f.size > 0 ? f.size : 10);
    font.setBold(f.bold);
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeOut);
    // A family missing here falls back on a fixed-pitch one, as program texts are meant to be read.
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

bool printsToFile(const QPrinter &printer)
{
    return printer.outputFormat() == QPrinter::PdfFormat;
}

QString destination(const QPrinter &printer)
{
    return printsToFile(printer) ? printer.outputFileName() : printer.printerName();
}

QString cannotStart(const QPrinter &printer)
{
    if (printsToFile(printer))
        return QStringLiteral("Le fichier « %1 » ne peut pas être écrit.").arg(printer.outputFileName());
    return QStringLiteral("L'impression ne peut pas commencer sur l'imprimante « %1 ».").arg(printer.printerName());
}

PrintOutcome failure(const QString &reason)
{
    return {false, reason};
}

} // namespace

QtPrinter::QtPrinter() : printer_(new QPrinter(QPrinter::HighResolution))
{
    printer_->setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
}

QtPrinter::~QtPrinter()
{
    delete printer_;
}

bool QtPrinter::drawCopies(QPainter &painter, QPrinter &printer, const PrintDocument &document,
                           const QList<QStringList> &copies)
{
    const QFont font = fontOf(document.font);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &printer);
    tarmel::printing::PageMetrics page;
    page.width = printer.width();
    page.height = printer.height();
    page.lineHeight = metrics.lineSpacing();
    page.tabWidth = document.tabWidth;
    // The advances of the first 256 characters are asked once.
    std::array<double, 256> latin1;
    latin1.fill(-1);
    const auto advance = [&](QStringView c) {
        if (c.size() == 1 && c.at(0).unicode() < 256) {
            double &w = latin1[c.at(0).unicode()];
            if (w < 0)
                w = metrics.horizontalAdvance(c.at(0));
            return w;
        }
        return metrics.horizontalAdvance(c.toString());
    };
    bool firstPage = true;
    for (const QStringList &copy : copies) {
        for (const QStringList &rows : tarmel::printing::composePages(copy, page, advance)) {
            if (!firstPage && !printer.newPage())
                return false;
            firstPage = false;
            double y = metrics.ascent();
            for (const QString &row : rows) {
                painter.drawText(QPointF(0, y), row);
                y += page.lineHeight;
            }
        }
    }
    return true;
}

PrintOutcome QtPrinter::printCopies(const PrintDocument &document, const QList<QStringList> &copies)
{
    QPrinter &printer = *printer_;
    if (printsToFile(printer) && printer.outputFileName().isEmpty())
        return failure(QStringLiteral("Aucun fichier PDF n'est choisi."));
    if (!printsToFile(printer) && !printer.isValid())
        return failure(QStringLiteral("Aucune imprimante n'est disponible."));
    printer.setDocName(document.title);
    printer.setCopyCount(1);
    QPainter painter;
    if (!painter.begin(&printer))
        return failure(cannotStart(printer));
    const bool drawn = drawCopies(painter, printer, document, copies);
    const bool ended = painter.end();
    if (!drawn)
        return failure(QStringLiteral("Une nouvelle page ne peut pas être commencée sur « %1 ».").arg(destination(printer)));
    if (!ended || printer.printerState() == QPrinter::Error)
        return failure(QStringLiteral("L'impression sur « %1 » a échoué.").arg(destination(printer)));
    if (printsToFile(printer)) {
        const QFileInfo written(printer.outputFileName());
        if (!written.isFile() || written.size() == 0)
            return failure(QStringLiteral("Le fichier « %1 » n'a pas pu être écrit.").arg(printer.outputFileName()));
    }
    return {};
}

// A file holds every copy, each from a new page; a printer gets one job per copy.
PrintOutcome QtPrinter::print(const PrintDocument &document)
{
    if (document.copies.isEmpty())
        return {};
    if (printsToFile(*printer_))
        return printCopies(document, document.copies);
    for (const QStringList &copy : document.copies) {
        const PrintOutcome outcome = printCopies(document, {copy});
        if (!outcome.ok)
            return outcome;
    }
    return {};
}

PrintOutcome QtPrinter::preview(const PrintDocument &document)
{
    PrintOutcome outcome;
    QPrintPreviewDialog dialog(printer_, parent_);
    dialog.setWindowTitle(QStringLiteral("Aperçu avant impression"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter *printer) {
        QPainter painter;
        if (!painter.begin(printer)) {
            outcome = failure(cannotStart(*printer));
            return;
        }
        if (!drawCopies(painter, *printer, document, document.copies))
            outcome = failure(QStringLiteral("Une nouvelle page ne peut pas être commencée sur « %1 ».")
                                  .arg(destination(*printer)));
        painter.end();
    });
    dialog.exec();
    printer_->setCopyCount(1);
    return outcome;
}

} // namespace platform

// The real printer. Into a PDF file, read back with pdftotext and pdfinfo: a three-page program in
// two copies, each from a new page under its header, every line in order, tabs expanded,
// Windows-1252 characters, a long line wrapped whole; the failures it reports; the same pages in
// the preview. The set-up dialog's choices stay on the printer for the print dialog.
#include "platform/CommonDialog.h"
#include "platform/Printer.h"
#include "platform/PrinterSetupDialog.h"
#include "printing/PageComposer.h"
#include "tests/platform/ModalDriver.h"

#include <QComboBox>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

using namespace platform;
using testsupport::OnModal;

namespace {

QString run(const QString &program, const QStringList &arguments)
{
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

PrintDocument documentOf(const QStringList &lines, int copies)
{
    PrintDocument d;
    d.copies = tarmel::printing::printedCopies(lines.join(QStringLiteral("\r\n")), 0, "/ateliers/bride.iso", copies);
    d.font = {QStringLiteral("Courier New"), 10};
    return d;
}

// A program filling two pages and a half: tabs and Windows-1252 characters, a line three times
// as wide as the page, then numbered blocks.
QStringList threePageProgram(QPrinter &printer)
{
    QFont font(QStringLiteral("Courier New"), 10);
    font.setStyleHint(QFont::TypeWriter);
    const int perPage = int(printer.height() / QFontMetricsF(font, &printer).lineSpacing());
    QStringList program{"%", "N10\tG90\tG17 (ÉBAUCHE Ø8 à 1500 tr/min, 5 € ‰ œ Ÿ)", "N20 (" + QString(300, 'x') + "FIN)"};
    for (int n = 30; program.size() < 2 * perPage + perPage / 2; n += 10)
        program << QStringLiteral("N%1 G1 X%2 Y-%2").arg(n).arg(n / 10);
    return program;
}

} // namespace

class TestPrintPdf : public QObject {
    Q_OBJECT
private slots:
    void copiesOfAThreePageProgram()
    {
        QTemporaryDir dir;
        QtPrinter printer;
        const QString pdf = dir.filePath(QStringLiteral("bride.pdf"));
        printer.device()->setOutputFormat(QPrinter::PdfFormat);
        printer.device()->setOutputFileName(pdf);
        const QStringList program = threePageProgram(*printer.device());
        const PrintOutcome outcome = printer.print(documentOf(program, 2));
        QVERIFY2(outcome.ok, qPrintable(outcome.reason));
        QVERIFY(run("pdfinfo", {pdf}).contains(QRegularExpression("\nPages: +6\n")));
        // Each copy: three pages, the header first, then the text; tabs as blanks, the long line in rows.
        QStringList expected{"Programme : /ateliers/bride.iso", "%", "N10 G90 G17 (ÉBAUCHE Ø8 à 1500 tr/min, 5 € ‰ œ Ÿ)"};
        expected += program.mid(3);
        const QStringList pages = run("pdftotext", {"-layout", pdf, "-"}).split('\f');
        QCOMPARE(pages.size(), 7); // a form feed ends every page
        for (int copy = 0; copy < 2; ++copy) {
            QStringList lines;
            for (const QString &line : pages.mid(3 * copy, 3).join('\n').split('\n'))
                if (!line.simplified().isEmpty())
                    lines << line.simplified();
            QString longLine;
            while (longLine.size() < program.at(2).size() && lines.size() > 3)
                longLine += lines.takeAt(3);
            QCOMPARE(longLine, program.at(2));
            QCOMPARE(lines, expected);
        }
        // The preview shows the same pages.
        int previewPages = -1;
        OnModal<QPrintPreviewDialog> look([&](QPrintPreviewDialog *d) {
            previewPages = d->findChild<QPrintPreviewWidget *>()->pageCount();
            d->reject();
        });
        QVERIFY(printer.preview(documentOf(program, 1)).ok);
        QCOMPARE(previewPages, 3);
    }

    void failuresAreReported()
    {
        for (const auto &[file, reason] : {std::pair{"/nonexistent-tarmel/p.pdf", "Le fichier « /nonexistent-tarmel/p.pdf » ne peut pas être écrit."},
                                           {"/dev/full", "Le fichier « /dev/full » n'a pas pu être écrit."},
                                           {"", "Aucun fichier PDF n'est choisi."}}) {
            QtPrinter printer;
            printer.device()->setOutputFormat(QPrinter::PdfFormat);
            printer.device()->setOutputFileName(QString::fromUtf8(file));
            const PrintOutcome outcome = printer.print(documentOf({"N10"}, 1));
            QVERIFY(!outcome.ok);
            QCOMPARE(outcome.reason, QString::fromUtf8(reason));
        }
    }

    // The set-up's choices (a PDF file, the paper, the orientation) go to the printer, and the print
    // dialog then shows them. It offers "Imprimer dans un fichier PDF", opens on the selection range,
    // and leaves a copy count of 1 with the copies in Copies.
    void setupChoicesStayForThePrintDialog()
    {
        QPrinter printer;
        QtCommonDialog dialog;
        dialog.setPrinter(&printer);
        const QString file = QDir::temp().filePath(QStringLiteral("tarmel-setup.pdf"));
        OnModal<PrinterSetupDialog> setup([&](PrinterSetupDialog *d) {
            auto *printers = d->findChild<QComboBox *>("printers");
            printers->setCurrentIndex(printers->findText(PrinterSetupDialog::pdfEntry()));
            d->findChild<QLineEdit *>("file")->setText(file);
            auto *paper = d->findChild<QComboBox *>("paper");
            paper->setCurrentIndex(paper->findText(QPageSize(QPageSize::A5).name()));
            d->findChild<QRadioButton *>("landscape")->setChecked(true);
            d->accept();
        });
        dialog.props().Flags = cdl::PrintSetup;
        QVERIFY(dialog.showPrinter());
        QStringList seen;
        OnModal<QPrintDialog> print([&](QPrintDialog *d) {
            seen << d->findChild<QComboBox *>("printers")->currentText();
            seen << (d->findChild<QRadioButton *>("printSelection")->isChecked() ? "selection" : "all");
            d->findChild<QSpinBox *>("copies")->setValue(3);
            d->accept();
        });
        dialog.props().Flags = cdl::PrintHidePrintToFile + cdl::PrintSelection;
        QVERIFY(dialog.showPrinter());
        QCOMPARE(seen, QStringList({PrinterSetupDialog::pdfEntry(), "selection"}));
        QCOMPARE(QList<int>({dialog.props().Copies, printer.copyCount()}), QList<int>({3, 1}));
        QCOMPARE(printer.outputFileName(), file);
        QVERIFY(printer.pageLayout().pageSize().isEquivalentTo(QPageSize(QPageSize::A5)));
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
    }
};

QTEST_MAIN(TestPrintPdf)
#include "tst_print_pdf.moc"

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
    void copiesOfAThreePageProgram();
    void failuresAreReported_data();
    void failuresAreReported();
    void previewShowsTheComposedPages();
    void setupChoicesStayForThePrintDialog();
};

void TestPrintPdf::copiesOfAThreePageProgram()
{
    QTemporaryDir dir;
    QtPrinter printer;
    printer.device()->setOutputFormat(QPrinter::PdfFormat);
    printer.device()->setOutputFileName(dir.filePath(QStringLiteral("bride.pdf")));
    const QStringList program = threePageProgram(*printer.device());
    const PrintOutcome outcome = printer.print(documentOf(program, 2));
    QVERIFY2(outcome.ok, qPrintable(outcome.reason));
    const QString pdf = printer.device()->outputFileName();
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
}

void TestPrintPdf::failuresAreReported_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("reason");
    QTest::newRow("folder missing") << "/nonexistent-tarmel/p.pdf"
                                    << "Le fichier « /nonexistent-tarmel/p.pdf » ne peut pas être écrit.";
    QTest::newRow("a device that keeps nothing") << "/dev/full" << "Le fichier « /dev/full » n'a pas pu être écrit.";
    QTest::newRow("no file chosen") << "" << "Aucun fichier PDF n'est choisi.";
}

void TestPrintPdf::failuresAreReported()
{
    QFETCH(QString, file);
    QFETCH(QString, reason);
    QtPrinter printer;
    printer.device()->setOutputFormat(QPrinter::PdfFormat);
    printer.device()->setOutputFileName(file);
    const PrintOutcome outcome = printer.print(documentOf({"N10"}, 1));
    QCOMPARE(outcome.ok, false);
    QCOMPARE(outcome.reason, reason);
}

void TestPrintPdf::previewShowsTheComposedPages()
{
    QtPrinter printer;
    int pages = -1;
    OnModal<QPrintPreviewDialog> look([&](QPrintPreviewDialog *dialog) {
        pages = dialog->findChild<QPrintPreviewWidget *>()->pageCount();
        dialog->reject();
    });
    QVERIFY(printer.preview(documentOf(threePageProgram(*printer.device()), 1)).ok);
    QCOMPARE(pages, 3);
}

// The set-up's choices (a PDF file, the paper, the orientation) go to the printer, and the print
// dialog then shows them. It offers "Imprimer dans un fichier PDF", opens on the selection range,
// and leaves a copy count of 1 with the copies in Copies.
void TestPrintPdf::setupChoicesStayForThePrintDialog()
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
    QVERIFY(printer.pageLayout().pageSize().isEquivalentTo(QPageSize(QPageSize::A5)));

    QString chosen;
    bool selection = false;
    OnModal<QPrintDialog> print([&](QPrintDialog *d) {
        chosen = d->findChild<QComboBox *>("printers")->currentText();
        selection = d->findChild<QRadioButton *>("printSelection")->isChecked();
        d->findChild<QSpinBox *>("copies")->setValue(3);
        d->accept();
    });
    dialog.props().Flags = cdl::PrintHidePrintToFile + cdl::PrintSelection;
    QVERIFY(dialog.showPrinter());
    QCOMPARE(chosen, PrinterSetupDialog::pdfEntry());
    QVERIFY(selection);
    QCOMPARE(dialog.props().Copies, 3);
    QCOMPARE(printer.copyCount(), 1);
    QCOMPARE(printer.outputFileName(), file);
    QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
}

QTEST_MAIN(TestPrintPdf)
#include "tst_print_pdf.moc"

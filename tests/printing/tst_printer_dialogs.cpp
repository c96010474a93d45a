// The common dialog's printer set-up and print dialogs on the session's printer: the set-up's
// choices (a PDF file, the paper, the orientation) stay on the printer for the print dialog,
// which offers "Imprimer dans un fichier PDF", opens on the selection range when asked, and
// leaves a copy count of 1 on the printer with the copies in Copies; cancel changes nothing.
#include "platform/CommonDialog.h"
#include "platform/PrinterSetupDialog.h"
#include "tests/platform/ModalDriver.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

using namespace platform;
using testsupport::OnModal;

class TestPrinterDialogs : public QObject {
    Q_OBJECT
private slots:
    void setupChoicesStayForThePrintDialog();
    void setupCancelChangesNothing();
};

void TestPrinterDialogs::setupChoicesStayForThePrintDialog()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("sortie.pdf"));
    QPrinter printer;
    QtCommonDialog dialog;
    dialog.setPrinter(&printer);

    QStringList offered;
    OnModal<PrinterSetupDialog> setup([&](PrinterSetupDialog *d) {
        auto *printers = d->findChild<QComboBox *>(QStringLiteral("printers"));
        for (int i = 0; i < printers->count(); ++i)
            offered << printers->itemText(i);
        printers->setCurrentIndex(printers->count() - 1);
        d->findChild<QLineEdit *>(QStringLiteral("file"))->setText(file);
        auto *paper = d->findChild<QComboBox *>(QStringLiteral("paper"));
        paper->setCurrentIndex(paper->findText(QPageSize(QPageSize::A5).name()));
        d->findChild<QRadioButton *>(QStringLiteral("landscape"))->setChecked(true);
        d->accept();
    });
    dialog.props().Flags = cdl::PrintSetup;
    QVERIFY(dialog.showPrinter());
    QVERIFY(setup.ran);
    QCOMPARE(offered.constLast(), PrinterSetupDialog::pdfEntry());
    QCOMPARE(printer.outputFormat(), QPrinter::PdfFormat);
    QCOMPARE(printer.outputFileName(), file);
    QVERIFY(printer.pageLayout().pageSize().isEquivalentTo(QPageSize(QPageSize::A5)));
    QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);

    QString chosenPrinter;
    bool selectionChecked = false;
    OnModal<QPrintDialog> print([&](QPrintDialog *d) {
        if (auto *printers = d->findChild<QComboBox *>(QStringLiteral("printers")))
            chosenPrinter = printers->currentText();
        if (auto *selection = d->findChild<QRadioButton *>(QStringLiteral("printSelection")))
            selectionChecked = selection->isChecked();
        d->findChild<QSpinBox *>(QStringLiteral("copies"))->setValue(3);
        d->accept();
    });
    dialog.props().CancelError = true;
    dialog.props().Flags = cdl::PrintHidePrintToFile + cdl::PrintSelection;
    QVERIFY(dialog.showPrinter());
    QVERIFY(print.ran);
    QCOMPARE(chosenPrinter, PrinterSetupDialog::pdfEntry());
    QVERIFY(selectionChecked);
    QCOMPARE(dialog.props().Copies, 3);
    QVERIFY(dialog.props().Flags & cdl::PrintSelection);
    QCOMPARE(printer.copyCount(), 1);
    QCOMPARE(printer.outputFileName(), file);
    QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
}

void TestPrinterDialogs::setupCancelChangesNothing()
{
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QStringLiteral("/tmp/avant.pdf"));
    QtCommonDialog dialog;
    dialog.setPrinter(&printer);
    OnModal<PrinterSetupDialog> setup([&](PrinterSetupDialog *d) {
        d->findChild<QRadioButton *>(QStringLiteral("landscape"))->setChecked(true);
        d->findChild<QLineEdit *>(QStringLiteral("file"))->setText(QStringLiteral("/tmp/apres.pdf"));
        d->reject();
    });
    dialog.props().CancelError = true;
    dialog.props().Flags = cdl::PrintSetup;
    QVERIFY(!dialog.showPrinter());
    QVERIFY(setup.ran);
    QCOMPARE(printer.outputFileName(), QStringLiteral("/tmp/avant.pdf"));
    QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Portrait);
}

QTEST_MAIN(TestPrinterDialogs)
#include "tst_printer_dialogs.moc"

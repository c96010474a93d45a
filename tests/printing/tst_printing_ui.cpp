// "&Imprimer", its toolbar button, "Aperçu avant impression" and "&Configurer l'imprimante" on the
// fakes: what the print dialog is opened with, the lines and font of every job, the selection
// afterwards, cancel, a printer failure, and the enabled state of the preview.
#include "document/Form1.h"
#include "files/FormattedText.h"
#include "platform/RichTextBox.h"
#include "tests/support/TestApp.h"

#include <QMenu>
#include <QtTest>

using namespace tarmel;
using testsupport::FakePrinter;

namespace {

// Lines shown as "a|b|<CR>", copies separated by " # ".
QString shown(const QList<QStringList> &copies)
{
    QStringList out;
    for (QStringList lines : copies) {
        lines.replaceInStrings(QStringLiteral("\r"), QStringLiteral("<CR>"));
        out << lines.join(QLatin1Char('|'));
    }
    return out.join(QStringLiteral(" # "));
}

// A new document holding text, its first character bold, with a selection.
Form1 *newDocument(testsupport::TestApp &app, const QString &text, QPoint selection)
{
    app.trigger("Mnu_Nouveau");
    platform::RichTextBox *box = app.doc()->Text1;
    FormattedText rich = FormattedText::plain(text, box->baseFontName(), box->baseFontSize());
    rich.runs.prepend(TextRun{0, qMin<qsizetype>(1, text.size()), rich.baseFormat()});
    rich.runs.first().format.bold = true;
    box->setFormattedText(normalized(rich));
    box->setSelStart(selection.x());
    box->setSelLength(selection.y());
    return app.doc();
}

} // namespace

class TestPrintingUi : public QObject {
    Q_OBJECT
private slots:
    void print_data();
    void print();
    void headerNamesTheOpenedFile_data();
    void headerNamesTheOpenedFile();
    void cancelPrintsNothing();
    void failureIsReported();
    void toolbarButtonPrints();
    void previewShowsOneCopyAndKeepsTheSelection();
    void previewFollowsThePrintItem();
    void setupIsSilent();
};

void TestPrintingUi::print_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPoint>("selection");   // start, length before the command
    QTest::addColumn<int>("headerOption");
    QTest::addColumn<int>("copies");         // answered in the dialog
    QTest::addColumn<bool>("selectionRange"); // confirmed in the dialog
    QTest::addColumn<int>("flagsShown");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<int>("caretAfter");
    const int hide = 1048576;
    QTest::newRow("whole text, one copy") << "N10\r\nN20" << QPoint(5, 0) << 0 << 1 << false << hide
                                          << "||Programme : Nouveau.iso|<CR>|N10|N20" << false << 5;
    QTest::newRow("three copies, three jobs") << "N10" << QPoint(0, 0) << 2 << 3 << false << hide
                                              << "||<CR>|N10 # |<CR>|N10 # |<CR>|N10" << true << 0;
    QTest::newRow("no header, the CR line stays") << "N10" << QPoint(2, 0) << 2 << 1 << false << hide
                                                  << "||<CR>|N10" << false << 2;
    QTest::newRow("selection offered, whole text chosen") << "N10\r\nN20" << QPoint(5, 3) << 1 << 1 << false
                                                          << hide + 1 << "||Programme : Nouveau.iso|<CR>|N10|N20"
                                                          << false << 5;
    QTest::newRow("selection confirmed: the selection printed") << "N10\r\nN20 X1\r\nN30" << QPoint(5, 8) << 1 << 2
                                                                << true << hide + 1
                                                                << "||Programme : Nouveau.iso|<CR>|N20 X1| # "
                                                                   "|Programme : Nouveau.iso|<CR>|N20 X1|"
                                                                << false << 5;
    QTest::newRow("font of the selection's start: bold") << "N10\r\nN20" << QPoint(0, 5) << 2 << 1 << false
                                                         << hide + 1 << "||<CR>|N10|N20" << true << 0;
    QTest::newRow("header value out of range acts as 0") << "a" << QPoint(0, 0) << 9 << 1 << false << hide
                                                         << "||Programme : Nouveau.iso|<CR>|a" << true << 0;
}

void TestPrintingUi::print()
{
    QFETCH(QString, text);
    QFETCH(QPoint, selection);
    QFETCH(int, headerOption);
    QFETCH(int, copies);
    QFETCH(bool, selectionRange);
    QFETCH(int, flagsShown);
    QFETCH(QString, expected);
    QFETCH(bool, bold);
    QFETCH(int, caretAfter);
    testsupport::TestApp app;
    app.main->state().HeaderOption = qint16(headerOption);
    Form1 *doc = newDocument(app, text, selection);
    app.fakes.commonDialog.expectPrint(copies, selectionRange);
    app.trigger("Mnu_Imprimer");

    const auto &dialog = app.fakes.commonDialog.lastShown();
    QCOMPARE(dialog.kind, testsupport::FakeCommonDialog::Kind::Printer);
    QCOMPARE(dialog.props.Flags, flagsShown);
    QVERIFY(dialog.props.CancelError);
    QCOMPARE(app.fakes.printer.calls().size(), 1);
    QCOMPARE(app.fakes.printer.calls().first().kind, FakePrinter::Kind::Print);
    const platform::PrintDocument &job = app.fakes.printer.last();
    QCOMPARE(shown(job.copies), expected);
    QCOMPARE(job.font.bold, bold);
    QCOMPARE(job.font.name, doc->Text1->baseFontName());
    QCOMPARE(job.font.size, doc->Text1->baseFontSize());
    QCOMPARE(job.tabWidth, doc->Text1->tabWidth());
    QCOMPARE(job.title, QStringLiteral("Nouveau.iso"));
    QCOMPARE(app.main->state().FileName, QStringLiteral("Nouveau.iso"));
    QCOMPARE(doc->Text1->selStart(), caretAfter);
    QCOMPARE(doc->Text1->selLength(), 0);
    QCOMPARE(doc->Text1->text(), text);
    QVERIFY(app.fakes.messageBox.boxes().isEmpty());
}

void TestPrintingUi::headerNamesTheOpenedFile_data()
{
    QTest::addColumn<int>("headerOption");
    QTest::addColumn<bool>("wholePath");
    QTest::newRow("0: folder and file") << 0 << true;
    QTest::newRow("1: file only") << 1 << false;
}

void TestPrintingUi::headerNamesTheOpenedFile()
{
    QFETCH(int, headerOption);
    QFETCH(bool, wholePath);
    testsupport::TestApp app;
    app.main->state().HeaderOption = qint16(headerOption);
    const QString file = app.openFile("N10 G0 X0\r\n", QStringLiteral("bride été.iso"));
    app.fakes.commonDialog.expectPrint();
    app.trigger("Mnu_Imprimer");
    const QStringList lines = app.fakes.printer.last().copies.value(0);
    QCOMPARE(lines.value(2), "Programme : " + (wholePath ? file : QStringLiteral("bride été.iso")));
    QCOMPARE(lines.value(4), QStringLiteral("N10 G0 X0"));
    QCOMPARE(app.main->state().FileName, file);
}

void TestPrintingUi::cancelPrintsNothing()
{
    testsupport::TestApp app;
    Form1 *doc = newDocument(app, QStringLiteral("N10\r\nN20"), QPoint(2, 5));
    app.fakes.commonDialog.expectCancel();
    app.trigger("Mnu_Imprimer");
    QVERIFY(app.fakes.printer.calls().isEmpty());
    QVERIFY(app.fakes.messageBox.boxes().isEmpty());
    QCOMPARE(doc->Text1->selStart(), 2);
    QCOMPARE(doc->Text1->selLength(), 5);
}

// A printer that cannot print is said so; the selection has collapsed as for any print.
void TestPrintingUi::failureIsReported()
{
    testsupport::TestApp app;
    Form1 *doc = newDocument(app, QStringLiteral("N10"), QPoint(1, 2));
    app.fakes.printer.failWith = QStringLiteral("Le fichier « /x/y.pdf » ne peut pas être écrit.");
    app.fakes.commonDialog.expectPrint();
    app.fakes.messageBox.answerOk();
    app.trigger("Mnu_Imprimer");
    QCOMPARE(app.fakes.messageBox.boxes().size(), 1);
    QCOMPARE(app.fakes.messageBox.last().text,
             QStringLiteral("Erreur d'impression\rLe fichier « /x/y.pdf » ne peut pas être écrit."));
    QCOMPARE(app.fakes.messageBox.last().flags, 16);
    QCOMPARE(app.fakes.messageBox.last().title, QStringLiteral("Erreur"));
    QCOMPARE(doc->Text1->selLength(), 0);

    // The preview's failure (printing from it) is said the same way.
    app.fakes.messageBox.answerOk();
    app.trigger("Mnu_Apercu");
    QCOMPARE(app.fakes.messageBox.boxes().size(), 2);
    QCOMPARE(app.fakes.messageBox.last().text, app.fakes.messageBox.boxes().first().text);
}

void TestPrintingUi::toolbarButtonPrints()
{
    testsupport::TestApp app;
    newDocument(app, QStringLiteral("N10"), QPoint());
    app.fakes.commonDialog.expectPrint(2);
    app.main->button(5)->trigger();
    QCOMPARE(app.fakes.printer.calls().size(), 1);
    QCOMPARE(app.fakes.printer.last().copies.size(), 2);
}

void TestPrintingUi::previewShowsOneCopyAndKeepsTheSelection()
{
    testsupport::TestApp app;
    app.main->state().HeaderOption = 1;
    Form1 *doc = newDocument(app, QStringLiteral("N10\r\nN20"), QPoint(0, 4));
    app.fakes.commonDialog.props().Copies = 3; // left by an earlier print
    app.trigger("Mnu_Apercu");
    QCOMPARE(app.fakes.commonDialog.shown().size(), 0);
    QCOMPARE(app.fakes.printer.calls().size(), 1);
    QCOMPARE(app.fakes.printer.calls().first().kind, FakePrinter::Kind::Preview);
    QCOMPARE(shown(app.fakes.printer.last().copies), QStringLiteral("||Programme : Nouveau.iso|<CR>|N10|N20"));
    QVERIFY(app.fakes.printer.last().font.bold);
    QCOMPARE(doc->Text1->selStart(), 0);
    QCOMPARE(doc->Text1->selLength(), 4);
}

void TestPrintingUi::previewFollowsThePrintItem()
{
    testsupport::TestApp app;
    QCOMPARE(app.mismatches("-Mnu_Imprimer -Mnu_Apercu -#5 Mnu_ConfigImp"), QString());
    app.trigger("Mnu_Nouveau");
    app.doc()->Text1->setText(QStringLiteral("N10"));
    QCOMPARE(app.mismatches("Mnu_Imprimer Mnu_Apercu #5"), QString());
    app.doc()->Text1->setText(QString());
    QCOMPARE(app.mismatches("-Mnu_Imprimer -Mnu_Apercu"), QString());
    app.doc()->Text1->setText(QStringLiteral("N10"));
    app.doc()->Change = false;
    app.trigger("Mnu_Close");
    QCOMPARE(app.mismatches("-Mnu_Imprimer -Mnu_Apercu -#5"), QString());
    // The menu order: the preview right after "&Imprimer".
    const QList<QAction *> file = app.main->findChild<QMenu *>("Mnu_fichier")->actions();
    const qsizetype print = file.indexOf(app.item("Mnu_Imprimer"));
    QCOMPARE(file.value(print + 1)->text(), QStringLiteral("Aperçu avant impression"));
}

// The set-up dialog is the one shown with flag 64; its cancel says nothing, even with the
// cancel-raises-error switch left on by a print.
void TestPrintingUi::setupIsSilent()
{
    testsupport::TestApp app;
    newDocument(app, QStringLiteral("N10"), QPoint());
    app.fakes.commonDialog.expectPrint();
    app.trigger("Mnu_Imprimer");
    app.fakes.commonDialog.expectCancel();
    app.trigger("Mnu_ConfigImp");
    QCOMPARE(app.fakes.commonDialog.lastShown().kind, testsupport::FakeCommonDialog::Kind::PrinterSetup);
    QCOMPARE(app.fakes.commonDialog.lastShown().props.Flags, 64);
    app.fakes.commonDialog.expectPrinterSetup();
    app.trigger("Mnu_ConfigImp");
    QCOMPARE(app.fakes.printer.calls().size(), 1);
    QVERIFY(app.fakes.messageBox.boxes().isEmpty());
}

QTEST_MAIN(TestPrintingUi)
#include "tst_printing_ui.moc"

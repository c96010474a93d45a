// "&Imprimer" from the toolbar, "Aperçu avant impression" and "&Configurer l'imprimante" on the
// fakes: the print dialog's flags, each job's lines and font, the selection afterwards, cancel,
// a printer failure, the preview's place and state.
#include "document/Form1.h"
#include "files/FormattedText.h"
#include "platform/RichTextBox.h"
#include "tests/support/TestApp.h"

#include <QMenu>
#include <Qsci/qsciscintilla.h>
#include <QtTest>

using namespace tarmel;
using Kind = testsupport::FakePrinter::Kind;

namespace {

// The last job's kind and lines ("|" between lines, " # " between copies, CR as "<CR>").
QString lastJob(const testsupport::FakePrinter &printer)
{
    if (printer.calls.isEmpty())
        return QString();
    QStringList out;
    for (QStringList lines : printer.calls.constLast().document.copies)
        out << lines.replaceInStrings(QStringLiteral("\r"), QStringLiteral("<CR>")).join(QLatin1Char('|'));
    return (printer.calls.constLast().kind == Kind::Print ? "print " : "preview ") + out.join(QStringLiteral(" # "));
}

} // namespace

class TestPrintingUi : public QObject {
    Q_OBJECT
private slots:
    void print_data();
    void print();
    void previewAndSetup();
};

void TestPrintingUi::print_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPoint>("selection"); // start, length
    QTest::addColumn<int>("headerOption");
    QTest::addColumn<QString>("answer");   // "N", "N selection", "cancel", "failure"
    QTest::addColumn<int>("flags");        // as the dialog saw them
    QTest::addColumn<QString>("expected"); // the job, "bold" when its font is
    QTest::addColumn<QPoint>("selectionAfter");
    const int hide = 1048576;
    QTest::newRow("whole text") << "N10\r\nN20" << QPoint(5, 0) << 0 << "1" << hide
                                << "print ||Programme : Nouveau.iso|<CR>|N10|N20" << QPoint(5, 0);
    QTest::newRow("three copies, three jobs") << "N10" << QPoint() << 2 << "3" << hide
                                              << "print ||<CR>|N10 # |<CR>|N10 # |<CR>|N10 bold" << QPoint();
    QTest::newRow("selection offered, whole text chosen") << "N10\r\nN20" << QPoint(5, 3) << 1 << "1" << hide + 1
                                                          << "print ||Programme : Nouveau.iso|<CR>|N10|N20"
                                                          << QPoint(5, 0);
    QTest::newRow("selection confirmed and printed") << "N10\r\nN20 X1\r\nN30" << QPoint(5, 8) << 2 << "2 selection"
                                                     << hide + 1 << "print ||<CR>|N20 X1| # |<CR>|N20 X1|"
                                                     << QPoint(5, 0);
    QTest::newRow("font of the selection's start") << "N10\r\nN20" << QPoint(0, 5) << 2 << "1" << hide + 1
                                                   << "print ||<CR>|N10|N20 bold" << QPoint();
    QTest::newRow("cancel: nothing") << "N10" << QPoint(1, 2) << 0 << "cancel" << hide + 1 << "" << QPoint(1, 2);
    QTest::newRow("failure: said") << "N10" << QPoint(1, 2) << 2 << "failure" << hide + 1
                                   << "print ||<CR>|N10 bold" << QPoint(1, 0);
}

void TestPrintingUi::print()
{
    QFETCH(QString, text);
    QFETCH(QPoint, selection);
    QFETCH(int, headerOption);
    QFETCH(QString, answer);
    QFETCH(int, flags);
    QFETCH(QString, expected);
    QFETCH(QPoint, selectionAfter);
    testsupport::TestApp app;
    testsupport::FakeServices &fakes = app.fakes;
    app.main->state().HeaderOption = qint16(headerOption);
    app.trigger("Mnu_Nouveau");
    platform::RichTextBox *box = app.doc()->Text1;
    FormattedText rich = FormattedText::plain(text, box->baseFontName(), box->baseFontSize());
    rich.runs.prepend(TextRun{0, 1, rich.baseFormat()});
    rich.runs.first().format.bold = true; // the first character
    box->setFormattedText(normalized(rich));
    box->engine()->setTabWidth(3);
    box->setSelStart(selection.x());
    box->setSelLength(selection.y());
    if (answer == QLatin1String("cancel"))
        fakes.commonDialog.expectCancel();
    else
        fakes.commonDialog.expectPrint(qMax(1, answer.section(' ', 0, 0).toInt()), answer.endsWith("selection"));
    if (answer == QLatin1String("failure")) {
        fakes.printer.failWith = QStringLiteral("Le fichier « /x.pdf » ne peut pas être écrit.");
        fakes.messageBox.answerOk();
    }
    app.main->button(5)->trigger(); // "Imprimer" on the toolbar runs the menu's command

    QCOMPARE(fakes.commonDialog.lastShown().props.Flags, flags);
    QVERIFY(fakes.commonDialog.lastShown().props.CancelError);
    const auto job = fakes.printer.calls.value(0).document;
    QCOMPARE(lastJob(fakes.printer) + (job.font.bold ? " bold" : ""), expected);
    QCOMPARE(QPoint(box->selStart(), box->selLength()), selectionAfter);
    if (!expected.isEmpty()) {
        QCOMPARE(QStringList({job.font.name, QString::number(job.font.size), QString::number(job.tabWidth)}),
                 QStringList({box->baseFontName(), QString::number(box->baseFontSize()), "3"}));
        QCOMPARE(app.main->state().FileName, "Nouveau.iso");
    }
    QCOMPARE(fakes.messageBox.boxes().size(), answer == QLatin1String("failure") ? 1 : 0);
    if (answer == QLatin1String("failure"))
        QCOMPARE(QStringLiteral("%1 / %2 / %3").arg(fakes.messageBox.last().text).arg(fakes.messageBox.last().flags)
                     .arg(fakes.messageBox.last().title),
                 "Erreur d'impression\rLe fichier « /x.pdf » ne peut pas être écrit. / 16 / Erreur");
}

// The preview, after "&Imprimer" and enabled with it, shows one copy of the whole text and keeps
// the selection; the set-up's cancel says nothing, even with the cancel-raises-error switch on.
void TestPrintingUi::previewAndSetup()
{
    testsupport::TestApp app;
    const QList<QAction *> file = app.main->findChild<QMenu *>("Mnu_fichier")->actions();
    QCOMPARE(file.value(file.indexOf(app.item("Mnu_Imprimer")) + 1), app.item("Mnu_Apercu"));
    QCOMPARE(app.mismatches("-Mnu_Imprimer -Mnu_Apercu -#5 Mnu_ConfigImp"), QString());
    app.trigger("Mnu_Nouveau");
    app.doc()->Text1->setText(QStringLiteral("N10"));
    app.doc()->Text1->setText(QString());
    QCOMPARE(app.mismatches("-Mnu_Imprimer -Mnu_Apercu"), QString());
    app.doc()->Text1->setText(QStringLiteral("N10\r\nN20"));
    app.doc()->Text1->setSelLength(4);
    QCOMPARE(app.mismatches("Mnu_Imprimer Mnu_Apercu #5"), QString());
    app.fakes.commonDialog.props().Copies = 3;
    app.trigger("Mnu_Apercu");
    QCOMPARE(lastJob(app.fakes.printer), "preview ||Programme : Nouveau.iso|<CR>|N10|N20");
    QCOMPARE(app.doc()->Text1->selLength(), 4);

    app.fakes.commonDialog.props().CancelError = true;
    app.fakes.commonDialog.expectCancel();
    app.trigger("Mnu_ConfigImp");
    QCOMPARE(app.fakes.commonDialog.lastShown().kind, testsupport::FakeCommonDialog::Kind::PrinterSetup);
    QCOMPARE(app.fakes.printer.calls.size() + app.fakes.messageBox.boxes().size(), 1);
}

QTEST_MAIN(TestPrintingUi)
#include "tst_printing_ui.moc"

// "&Imprimer" from the toolbar, "Aperçu avant impression" and "&Configurer l'imprimante" on the
// fakes: the print dialog's flags, each job's lines and font, the selection afterwards, cancel,
// a printer failure, the preview's place and state.
#include "document/Form1.h"
#include "platform/RichTextBox.h"
#include "tests/support/TestApp.h"

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
    void print_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QPoint>("selection"); // start, length
        QTest::addColumn<int>("headerOption");
        QTest::addColumn<QString>("answer");   // "N", "N selection", "cancel", "failure"
        QTest::addColumn<QString>("expected"); // the job, "bold" when its font is (that of the selection's start)
        QTest::addColumn<QPoint>("selectionAfter");
        const auto row = [](const char *name, const char *text, QPoint sel, int header, const char *answer, const char *job, QPoint after) {
            QTest::newRow(name) << QString(text) << sel << header << QString(answer) << QString(job) << after;
        };
        row("whole text", "N10\r\nN20", {5, 0}, 0, "1", "print ||Programme : Nouveau.iso|<CR>|N10|N20", {5, 0});
        row("three copies", "N10", {}, 2, "3", "print ||<CR>|N10 # |<CR>|N10 # |<CR>|N10 bold", {});
        row("selection confirmed and printed", "N10\r\nN20 X1\r\nN30", {5, 8}, 2, "2 selection",
            "print ||<CR>|N20 X1| # |<CR>|N20 X1|", {5, 0});
        row("cancel: nothing", "N10", {1, 2}, 0, "cancel", "", {1, 2});
        row("failure: said", "N10", {1, 2}, 2, "failure", "print ||<CR>|N10 bold", {1, 0});
    }
    void print()
    {
        QFETCH(QString, text);
        QFETCH(QPoint, selection);
        QFETCH(QString, answer);
        testsupport::TestApp app;
        testsupport::FakeServices &fakes = app.fakes;
        QFETCH(int, headerOption);
        app.main->state().HeaderOption = qint16(headerOption);
        app.trigger("Mnu_Nouveau");
        platform::RichTextBox *box = app.doc()->Text1;
        box->setText(text);
        box->setSelLength(1);
        box->setSelBold(true); // the first character
        box->engine()->setTabWidth(3);
        box->setSelStart(selection.x());
        box->setSelLength(selection.y());
        const bool failure = answer == QLatin1String("failure");
        if (answer == QLatin1String("cancel"))
            fakes.commonDialog.expectCancel();
        else
            fakes.commonDialog.expectPrint(qMax(1, answer.section(' ', 0, 0).toInt()), answer.endsWith("selection"));
        if (failure) {
            fakes.printer.failWith = QStringLiteral("Le fichier « /x.pdf » ne peut pas être écrit.");
            fakes.messageBox.answerOk();
        }
        app.main->button(5)->trigger(); // "Imprimer" on the toolbar runs the menu's command
        // The selection option is offered only with a selection; print to file is hidden.
        QCOMPARE(fakes.commonDialog.lastShown().props.Flags, 1048576 + (selection.y() ? 1 : 0));
        QVERIFY(fakes.commonDialog.lastShown().props.CancelError);
        const auto job = fakes.printer.calls.value(0).document;
        QTEST(lastJob(fakes.printer) + (job.font.bold ? " bold" : ""), "expected");
        QTEST(QPoint(box->selStart(), box->selLength()), "selectionAfter");
        if (!fakes.printer.calls.isEmpty())
            QCOMPARE(QStringList({job.font.name, QString::number(job.font.size), QString::number(job.tabWidth)}),
                     QStringList({box->baseFontName(), QString::number(box->baseFontSize()), "3"}));
        QCOMPARE(fakes.messageBox.boxes().size(), failure ? 1 : 0);
        if (failure)
            QCOMPARE(QStringList({fakes.messageBox.last().text, QString::number(fakes.messageBox.last().flags), fakes.messageBox.last().title}),
                     QStringList({"Erreur d'impression\rLe fichier « /x.pdf » ne peut pas être écrit.", "16", "Erreur"}));
    }

    // The preview, enabled with "&Imprimer", shows one copy of the whole text and keeps the
    // selection; the set-up's cancel says nothing, even with the cancel-raises-error switch on.
    void previewAndSetup()
    {
        testsupport::TestApp app;
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
};

QTEST_MAIN(TestPrintingUi)
#include "tst_printing_ui.moc"

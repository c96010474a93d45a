// Syntax colouring, "Vérifier le programme" and "Informations programme" through their menu items:
// which bytes take which colour and only on the lines drawn, the character formats kept under the
// colours, rich text left alone, the choice remembered; the check list docked below the text, its
// rows, the caret going to a finding, the accent hint, and the range shown in a message box.
#include "checks/CheckCommands.h"
#include "checks/CheckList.h"
#include "checks/NcColouring.h"
#include "checks/ProgramRange.h"
#include "document/Form1.h"
#include "platform/RichTextBox.h"
#include "tests/support/TestApp.h"

#include <Qsci/qsciscintilla.h>

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

using namespace tarmel;

namespace {

constexpr int kColourIndicator = 9;

// The colour drawn over the byte at pos, 0 where none is.
QRgb colourAt(platform::RichTextBox *box, qsizetype byte)
{
    const long value = box->engine()->SendScintilla(QsciScintillaBase::SCI_INDICATORVALUEAT,
                                                    static_cast<unsigned long>(kColourIndicator), long(byte));
    if (!(value & QsciScintillaBase::SC_INDICVALUEBIT))
        return 0;
    return qRgb(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

QRgb expectedColour(NcTokenKind kind) { return ncTokenColour(kind).value_or(0); }

void paint(Form1 *doc) { doc->Text1->engine()->viewport()->repaint(); }

QString settingKey() { return testsupport::FakeSettingsStore::path("Tarmel", "Affichage", "ColorationSyntaxique"); }

} // namespace

class TestChecksUi : public QObject {
    Q_OBJECT
private slots:
    void colours()
    {
        testsupport::TestApp app;
        QVERIFY(app.showWindow());
        const QByteArray text = "%\r\nO1234\r\nN10 G01 X-12.5 (outil 3)\r\n(é) M30\r\n";
        Form1 *doc = app.open(app.write("p.iso", text));
        paint(doc);
        const int n = text.indexOf("N10");
        const std::pair<int, NcTokenKind> expected[] = {
            {0, NcTokenKind::Percent}, {4, NcTokenKind::ProgramName}, {n + 1, NcTokenKind::BlockNumber},
            {n + 3, NcTokenKind::BlockNumber}, {n + 5, NcTokenKind::GCode}, {n + 9, NcTokenKind::Axis}, // blank, sign
            {int(text.indexOf("3)")) + 1, NcTokenKind::Comment}, {n - 1, NcTokenKind::Default}, // line end
            {int(text.indexOf("M30")), NcTokenKind::MCode}}; // after a two-byte letter
        for (const auto &[byte, kind] : expected)
            QVERIFY2(colourAt(doc->Text1, byte) == expectedColour(kind), qPrintable(QString::number(byte)));

        // The colours lie over the formats: the text with its formats reads the same with colouring off, still bold.
        platform::RichTextBox *box = doc->Text1;
        box->setSelStart(0);
        box->setSelLength(box->textLength());
        box->setSelBold(true);
        box->setSelLength(0);
        paint(doc);
        QCOMPARE(colourAt(box, n + 5), expectedColour(NcTokenKind::GCode));
        const FormattedText coloured = box->formattedText();
        app.trigger("Mnu_Coloration");
        paint(doc);
        QCOMPARE(colourAt(box, n + 5), QRgb(0));
        QCOMPARE(box->formattedText(), coloured);
        QVERIFY(coloured.runs.size() == 1 && coloured.runs.first().format.bold);
    }

    // Lines are coloured when drawn: a line never on screen has no colour until it is.
    void onlyLinesDrawn()
    {
        testsupport::TestApp app;
        QVERIFY(app.showWindow());
        QByteArray text;
        for (int i = 1; i <= 5000; ++i)
            text += "N" + QByteArray::number(i * 10) + " G01 X" + QByteArray::number(i) + "\r\n";
        Form1 *doc = app.open(app.write("long.iso", text));
        paint(doc);
        const qsizetype far = text.indexOf("N40000 G01");
        QCOMPARE(colourAt(doc->Text1, 0), expectedColour(NcTokenKind::BlockNumber));
        QCOMPARE(colourAt(doc->Text1, far + 11), QRgb(0));
        doc->Text1->setSelStart(far);
        paint(doc);
        QCOMPARE(colourAt(doc->Text1, far + 11), expectedColour(NcTokenKind::Axis));
        // Typed text is coloured at the next drawing.
        doc->Text1->setSelStart(doc->Text1->textLength());
        QTest::keyClicks(doc->Text1->engine(), "M30");
        paint(doc);
        QCOMPARE(colourAt(doc->Text1, text.size() + 1), expectedColour(NcTokenKind::MCode));
    }

    void choiceRemembered_data()
    {
        QTest::addColumn<QString>("stored");  // empty: never chosen
        QTest::addColumn<bool>("onAtStart");
        QTest::newRow("never chosen: on") << QString() << true;
        QTest::newRow("on") << "1" << true;
        QTest::newRow("off") << "0" << false;
    }

    void choiceRemembered()
    {
        QFETCH(QString, stored);
        QFETCH(bool, onAtStart);
        testsupport::TestApp app(false);
        if (!stored.isEmpty())
            app.fakes.settings.values.insert(settingKey(), stored);
        app.main = std::make_unique<MDIForm1>(app.fakes.services());
        app.main->startUp({});
        QAction *item = app.item("Mnu_Coloration");
        QCOMPARE(item->isChecked(), onAtStart);
        app.trigger("Mnu_Nouveau");
        QCOMPARE(app.doc()->Text1->hasLineColourer(), onAtStart);

        app.trigger("Mnu_Coloration");
        QCOMPARE(item->isChecked(), !onAtStart);
        QCOMPARE(app.fakes.settings.values.value(settingKey()), onAtStart ? "0" : "1");
        QCOMPARE(app.doc()->Text1->hasLineColourer(), !onAtStart);
        app.trigger("Mnu_Nouveau"); // a later document follows the choice too
        QCOMPARE(app.doc()->Text1->hasLineColourer(), !onAtStart);
    }

    // Rich text keeps its own colours; saving it as a program file colours it.
    void richTextNotColoured()
    {
        testsupport::TestApp app;
        Form1 *doc = app.open(app.write("p.rtf", "{\\rtf1\\ansi N10 G01 X1\\par}"));
        QCOMPARE(doc->fileType, FileType::Rich);
        QVERIFY(!doc->Text1->hasLineColourer());
        app.fakes.commonDialog.expectSave(app.path("p.iso"), 1);
        app.trigger("Mnu_EnregistrerSous");
        QCOMPARE(doc->fileType, FileType::Plain);
        QVERIFY(doc->Text1->hasLineColourer());
    }

    void checkList()
    {
        testsupport::TestApp app;
        QVERIFY(app.showWindow());
        Form1 *doc = app.open(app.write("p.iso", "%\r\nN10 G01 X1\r\nN10 G00 G01 Y\r\nN5 M30\r\n%\r\n"));
        QVERIFY(!CheckCommands::checkList(doc));
        const int fullHeight = doc->Text1->height();
        app.trigger("Mnu_VerifierProgramme");
        CheckList *list = CheckCommands::checkList(doc);
        QVERIFY(list && list->isVisible());
        QCOMPARE(doc->dockedBelowText(), list);
        QCOMPARE(doc->Text1->geometry().bottom() + 1, list->geometry().top());
        QCOMPARE(doc->Text1->height() + list->height(), fullHeight);

        QStringList rows;
        for (int r = 0; r < list->model().rowCount(); ++r) {
            const NcFinding *f = list->model().finding(r);
            rows << QStringLiteral("%1:%2 %3").arg(f->line).arg(f->column).arg(f->ruleId);
        }
        QVERIFY2(rows.size() >= 3, qPrintable(rows.join(", ")));
        QVERIFY2(rows.filter(QRegularExpression("^3:\\d+ ")).size() >= 2, qPrintable(rows.join(", ")));
        QCOMPARE(list->summary()->text(), QStringLiteral(" — %1 anomalies trouvées.").arg(rows.size()));
        QVERIFY(list->accentsButton()->isHidden());

        // A double click puts the caret on the finding's line and column.
        const int row = rows.indexOf(rows.filter(QRegularExpression("^3:")).first());
        const NcFinding chosen = *list->model().finding(row);
        QTreeView *view = list->view();
        view->scrollTo(list->model().index(row, 0));
        const QRect cell = view->visualRect(list->model().index(row, 3));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(doc->Text1->selStart(), doc->Text1->lineStartPosition(chosen.line - 1) + chosen.column - 1);

        // An open tool panel stays at the bottom: the list sits between the text and the panel.
        app.trigger("Mnu_Rechercher");
        QVERIFY(doc->Frame1->isVisible());
        QCOMPARE(doc->Text1->geometry().bottom() + 1, list->geometry().top());
        QCOMPARE(list->geometry().bottom() + 1, doc->Frame1->geometry().top());

        // Typing makes the list stale; closing it gives the text its height back.
        QTest::keyClicks(doc->Text1->engine(), "X");
        QVERIFY(list->isStale() && list->summary()->text().endsWith("anomalies trouvées. Texte modifié depuis la vérification."));
        QTest::mouseClick(list->closeButton(), Qt::LeftButton);
        QVERIFY(list->isHidden());
        QCOMPARE(doc->Text1->geometry().bottom() + 1, doc->Frame1->geometry().top());
    }

    void cleanProgramAndAccentHint()
    {
        testsupport::TestApp app;
        QVERIFY(app.showWindow());
        Form1 *doc = app.open(app.write("p.iso", "N10 G01 X1\r\nN20 M30\r\n"));
        app.trigger("Mnu_VerifierProgramme");
        CheckList *list = CheckCommands::checkList(doc);
        QCOMPARE(list->model().rowCount(), 0);
        QCOMPARE(list->summary()->text(), QStringLiteral(" — Aucune anomalie trouvée."));

        doc->Text1->setSelStart(0);
        doc->Text1->setSelText(QStringLiteral("(Pièce ébauchée)\r\n"));
        app.trigger("Mnu_VerifierProgramme");
        QVERIFY(list->model().rowCount() > 0);
        QVERIFY(list->accentsButton()->isVisible());
        QCOMPARE(list->accentsButton()->text(), QStringLiteral("&Supprimer les accents"));
        QTest::mouseClick(list->accentsButton(), Qt::LeftButton);
        QCOMPARE(doc->Text1->text(), QStringLiteral("(Piece ebauchee)\r\nN10 G01 X1\r\nN20 M30\r\n"));
        QCOMPARE(list->model().rowCount(), 0);
        QVERIFY(list->accentsButton()->isHidden() && !list->isStale());
    }

    void programInformation()
    {
        testsupport::TestApp app;
        app.fakes.messageBox.autoOk = true;
        const QByteArray text = "G90\r\nN10 T2 G01 X-12.5 Y4 Z0 F150\r\nN20 X30 Y-2 F300\r\nN30 M30\r\n";
        app.open(app.write("p.iso", text));
        app.trigger("Mnu_InfosProgramme");
        QCOMPARE(app.fakes.messageBox.boxes().size(), 1);
        const auto &box = app.fakes.messageBox.last();
        QCOMPARE(box.title, QStringLiteral("Informations programme"));
        QCOMPARE(box.flags, platform::mb::Information);
        QCOMPARE(box.text, describeProgramRange(computeProgramRange(std::string_view(text.data(), text.size()))));
    }
};

QTEST_MAIN(TestChecksUi)
#include "tst_checks_ui.moc"

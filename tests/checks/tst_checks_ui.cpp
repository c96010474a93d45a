// Syntax colouring, "Vérifier le programme" and "Informations programme" through their menu items:
// colours on the lines drawn over the formats kept, the choice remembered; the check list docked
// below the text, the caret going to a finding, the accent hint; the range in a message box.
#include "checks/CheckCommands.h"
#include "checks/CheckList.h"
#include "checks/NcColouring.h"
#include "checks/ProgramRange.h"
#include "document/Form1.h"
#include "platform/RichTextBox.h"
#include "tests/support/TestApp.h"

#include <Qsci/qsciscintilla.h>

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

using namespace tarmel;

namespace {

// The colour drawn over the byte (indicator 9), 0 where none is.
QRgb colourAt(platform::RichTextBox *box, qsizetype byte)
{
    const long v = box->engine()->SendScintilla(QsciScintillaBase::SCI_INDICATORVALUEAT, 9ul, long(byte));
    return v & QsciScintillaBase::SC_INDICVALUEBIT ? qRgb(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF) : 0;
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
        // Each token's colour over its bytes: the blank after a word takes its colour, a line end has none;
        // bytes count after a two-byte letter.
        const std::pair<int, NcTokenKind> expected[] = {{0, NcTokenKind::Percent}, {n + 3, NcTokenKind::BlockNumber},
            {n + 9, NcTokenKind::Axis}, {n - 1, NcTokenKind::Default}, {int(text.indexOf("M30")), NcTokenKind::MCode}};
        for (const auto &[byte, kind] : expected)
            QVERIFY2(colourAt(doc->Text1, byte) == expectedColour(kind), qPrintable(QString::number(byte)));
        // The colours lie over the formats: the text with its formats reads the same with colouring off, still bold.
        platform::RichTextBox *box = doc->Text1;
        box->setSelLength(box->textLength());
        box->setSelBold(true);
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
        app.main = std::make_unique<MDIForm1>(app.fakes.services()); // reads the choice as it is made
        app.main->startUp({});
        app.trigger("Mnu_Nouveau");
        const auto state = [&] { return QList<bool>({app.item("Mnu_Coloration")->isChecked(), app.doc()->Text1->hasLineColourer()}); };
        QCOMPARE(state(), QList<bool>({onAtStart, onAtStart}));
        app.trigger("Mnu_Coloration");
        QCOMPARE(state(), QList<bool>({!onAtStart, !onAtStart}));
        QCOMPARE(app.fakes.settings.values.value(settingKey()), onAtStart ? "0" : "1");
        app.trigger("Mnu_Nouveau"); // a later document follows the choice too
        QCOMPARE(state(), QList<bool>({!onAtStart, !onAtStart}));
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
        QCOMPARE(QList<int>({doc->Text1->geometry().bottom() + 1, doc->Text1->height() + list->height()}),
                 QList<int>({list->geometry().top(), fullHeight}));

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
        QCOMPARE(QList<int>({doc->Text1->geometry().bottom() + 1, list->geometry().bottom() + 1}),
                 QList<int>({list->geometry().top(), doc->Frame1->geometry().top()}));
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
        QVERIFY(list->model().rowCount() > 0 && list->accentsButton()->isVisible());
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
        QCOMPARE(QStringList({box.title, QString::number(box.flags), box.text}),
                 QStringList({"Informations programme", QString::number(platform::mb::Information),
                              describeProgramRange(computeProgramRange(std::string_view(text.data(), text.size())))}));
    }
};

QTEST_MAIN(TestChecksUi)
#include "tst_checks_ui.moc"

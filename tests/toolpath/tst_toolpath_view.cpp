// "Parcours d'outil": shown per document window and remembered, read in the background, and
// tied to the caret both ways.
#include "app/MDIForm1.h"
#include "document/Form1.h"
#include "platform/RichTextBox.h"
#include "tests/support/TestApp.h"
#include "toolpath/ToolpathCommands.h"
#include "toolpath/ToolpathDocument.h"
#include "toolpath/ToolpathView.h"

#include <Qsci/qsciscintilla.h>

#include <QAccessible>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QtTest>

using namespace tarmel;
using namespace tarmel::toolpath;

namespace {

const QString kItem = QStringLiteral("Mnu_ParcoursOutil");
const QByteArray kProgram = "%\r\nO1000\r\nN10 G0 X0 Y0\r\nN20 G1 X20 F100\r\nN30 Y10\r\nN40 X0\r\nN50 Y0\r\nM30\r\n";

ToolpathDocument *viewOf(Form1 *doc) { return ToolpathCommands::of(doc); }

// The document's view once its reading is over.
const Toolpath *readPath(Form1 *doc)
{
    ToolpathDocument *view = viewOf(doc);
    return QTest::qWaitFor([view] { return !view->reading() && view->view()->toolpath(); }) ? view->view()->toolpath() : nullptr;
}

// Whether the active window shows its view, and whether the menu item says so, as "shown/checked".
QString state(testsupport::TestApp &app) { return QStringLiteral("%1/%2").arg(viewOf(app.doc())->shown()).arg(app.item(kItem)->isChecked()); }

} // namespace

class TestToolpathView : public QObject {
    Q_OBJECT
private slots:
    void itemShowsAndRemembers_data()
    {
        QTest::addColumn<QString>("stored"); // before the program starts
        QTest::addColumn<bool>("shown");
        QTest::newRow("never chosen") << "" << false;
        QTest::newRow("last shown") << "1" << true;
        QTest::newRow("last hidden") << "0" << false;
    }

    void itemShowsAndRemembers()
    {
        QFETCH(QString, stored);
        QFETCH(bool, shown);
        testsupport::TestApp app(false);
        if (!stored.isEmpty())
            app.fakes.settings.values.insert("Tarmel/Affichage/ParcoursOutil", stored);
        app.main->startUp({});
        QVERIFY(app.item(kItem)->isCheckable());
        const QString on = QStringLiteral("%1/%1").arg(shown), off = QStringLiteral("%1/%1").arg(!shown);
        app.trigger("Mnu_Nouveau");
        QCOMPARE(state(app), on);
        app.trigger(kItem);
        QCOMPARE(state(app), off);
        QCOMPARE(app.fakes.settings.values.value("Tarmel/Affichage/ParcoursOutil"), shown ? "0" : "1");
        app.trigger("Mnu_Nouveau"); // a new window follows the last choice
        QCOMPARE(state(app), off);
    }

    void itemFollowsTheActiveWindow()
    {
        testsupport::TestApp app;
        QVERIFY(app.showWindow());
        app.trigger("Mnu_Nouveau");
        Form1 *first = app.doc();
        app.trigger(kItem);
        app.trigger("Mnu_Nouveau");
        Form1 *second = app.doc();
        app.trigger(kItem); // hidden again in the second window only
        QCOMPARE(state(app), "0/0");
        app.main->activateDocument(first);
        QCOMPARE(state(app), "1/1");
        app.main->activateDocument(second);
        QCOMPARE(state(app), "0/0");
    }

    void figuresInTheHeaderAndForScreenReaders()
    {
        testsupport::TestApp app;
        app.openFile(kProgram + "G81 X5 Y5 Z-1 R1\r\n");
        app.trigger(kItem);
        const Toolpath *path = readPath(app.doc());
        QVERIFY(path && path->moves.size() == 6);
        ToolpathView *view = viewOf(app.doc())->view();
        const QString figures = view->figuresLabel()->text();
        QVERIFY2(figures.contains("Travail : 60,0 mm") && figures.contains("Durée estimée : 36 s"), qPrintable(figures));
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(view->figuresLabel());
        QVERIFY(a && a->text(QAccessible::Name) == figures);
        QCOMPARE(view->reportsLabel()->text(), QStringLiteral("Non suivis : G81 (ligne 9)"));
        view->setRapidRate(1); // the rapid rate is the view's
        QVERIFY2(view->figuresLabel()->text().contains("Durée estimée : 7 min 40 s"), qPrintable(view->figuresLabel()->text()));
    }

    void editingReadsAgainAfterAPause()
    {
        testsupport::TestApp app;
        app.openFile(kProgram);
        app.trigger(kItem);
        QVERIFY(readPath(app.doc()));
        ToolpathDocument *view = viewOf(app.doc());
        QSignalSpy ready(view, &ToolpathDocument::toolpathReady);
        platform::RichTextBox &text = *app.doc()->Text1;
        text.setSelStart(text.textLength());
        for (const char *typed : {"G1 ", "X5 ", "Y5\r\n"})
            text.setSelText(QString::fromLatin1(typed)); // each change restarts the pause
        QVERIFY(!view->reading());
        QVERIFY(ready.wait());
        QCOMPARE(ready.count(), 1);
        QCOMPARE(int(view->view()->toolpath()->moves.size()), 6);
        QCOMPARE(view->view()->toolpath()->moves.back().line, 8);
    }

    // The view sits beside the text; the caret's line is the canvas's; a click on a move puts the caret on its
    // line, a click on nothing leaves it.
    void besideTheTextAndTiedToTheCaret()
    {
        testsupport::TestApp app;
        QVERIFY(app.showWindow());
        app.openFile(kProgram);
        Form1 *doc = app.doc();
        const int fullWidth = doc->Text1->width();
        app.trigger(kItem);
        ToolpathView *view = viewOf(doc)->view();
        QVERIFY(view->isVisible() && readPath(doc));
        QCOMPARE(view->accessibleName(), QStringLiteral("Parcours d'outil"));
        const QRect textArea = doc->Text1->geometry(), drawing = view->geometry();
        QVERIFY(textArea.width() < fullWidth);
        QCOMPARE(QList<int>({drawing.left(), drawing.right(), drawing.height()}),
                 QList<int>({textArea.right() + 1, doc->width() - 1, textArea.height()}));
        platform::RichTextBox &text = *doc->Text1;
        ToolpathCanvas *canvas = view->canvas();
        const auto lineStart = [&](int line, int index) { return text.positionOfByte(text.engine()->positionFromLineIndex(line, index)); };
        for (int line : {4, 0, 6}) {
            text.setSelStart(lineStart(line, 1));
            QTRY_COMPARE(canvas->caretLine(), line); // the editor tells where its caret went once it repaints
        }
        const Projection proj(canvas->transform().angles);
        const auto click = [&](Point3 p) {
            QTest::mouseClick(canvas, Qt::LeftButton, {}, canvas->transform().map(proj, p, QSizeF(canvas->size())).toPoint());
        };
        click({20, 5, 0}); // the right edge, "N30 Y10" on line 4
        QCOMPARE(text.selStart(), lineStart(4, 0));
        QCOMPARE(canvas->caretLine(), 4);
        click({10, 5, 0});
        QCOMPARE(canvas->caretLine(), 4);
        app.trigger(kItem);
        QVERIFY(!view->isVisible());
        QCOMPARE(doc->Text1->width(), fullWidth);
    }

    void closingTheViewAbandonsALongReading()
    {
        testsupport::TestApp app;
        QByteArray big;
        big.reserve(3'000'000 * 16);
        for (int i = 0; i < 3'000'000; ++i)
            big += i % 2 ? "G1 X10 Y10\n" : "G1 X0 Y0\n";
        app.openFile(big);
        app.trigger(kItem);
        ToolpathDocument *view = viewOf(app.doc());
        QVERIFY(view->reading());
        QVERIFY(QTest::qWaitFor([view] { return !view->view()->progressBar()->isHidden(); }));
        app.trigger(kItem);
        QVERIFY(!view->reading() && view->view()->progressBar()->isHidden() && !view->view()->toolpath());
        app.trigger(kItem); // closing the window abandons the reading too
        QVERIFY(view->reading());
        QPointer<ToolpathDocument> watched(view);
        app.trigger("Mnu_Close");
        QVERIFY(app.fakes.messageBox.boxes().isEmpty());
        QVERIFY(!watched || !watched->reading());
    }
};

QTEST_MAIN(TestToolpathView)
#include "tst_toolpath_view.moc"

// What each event does to the enabled state of the menu items and toolbar buttons, and the edit commands
// themselves, driven as a user would: actions, keys and clicks.
#include "app/MDIForm1.h"
#include "document/Form1.h"
#include "document/StatusBar1Widget.h"
#include "platform/RichTextBox.h"
#include "tests/support/TestApp.h"

#include <Qsci/qsciscintilla.h>
#include <QLocale>
#include <QMenu>
#include <QToolBar>
#include <QtTest>

#include <functional>
#include <map>

using namespace tarmel;

namespace {

struct App : testsupport::TestApp {
    App() { QVERIFY(showWindow()); }
    QWidget *editor() const { return doc()->Text1->engine(); }
    QWidget *viewport() const { return doc()->Text1->engine()->viewport(); }
    // Plays steps separated by "|": "new:TEXT" a new window holding TEXT, "open" a program file, "activate:N" the Nth
    // window, "text:TEXT", "from:N" the caret's place, "select:N" characters from it, "run:ITEM" a menu item's
    // command, "edit-menu" the Edit menu's refresh, "snapshot", "saved" (the document counts as unmodified),
    // "click:X" / "shift-click:X" / "double-click:X" on the first line, "toolbar-click", "key:KEYS" typed ("A"
    // without KEYS), "clip:TEXT" the clipboard's text, "unreadable" the clipboard.
    void play(const QString &steps)
    {
        const auto click = [this](Qt::KeyboardModifier modifier) {
            return [=, this](const QString &x) { QTest::mouseClick(viewport(), Qt::LeftButton, modifier, QPoint(x.toInt(), 6)); };
        };
        const std::map<QString, std::function<void(const QString &)>> verbs{
            {"clip", [this](const QString &arg) { fakes.clipboard.setText(arg); }},
            {"unreadable", [this](const QString &) { fakes.clipboard.readable = false; }},
            {"new", [this](const QString &arg) { play(QStringLiteral("run:Mnu_Nouveau|text:%1|from:0").arg(arg)); }},
            {"open", [this](const QString &) { openFile("N10 G00\r\n"); }},
            {"activate", [this](const QString &arg) { main->activateDocument(main->documents().at(arg.toInt() - 1)); }},
            {"text", [this](const QString &arg) { doc()->Text1->setText(arg); }},
            {"from", [this](const QString &arg) { doc()->Text1->setSelStart(arg.toInt()); }},
            {"select", [this](const QString &arg) { doc()->Text1->setSelLength(arg.toInt()); }},
            {"run", [this](const QString &arg) { run(arg); }},
            {"edit-menu", [this](const QString &) { main->Mnu_Edit_Click(); }},
            {"snapshot", [this](const QString &) { main->RecordUndoSnapshot(doc()); }},
            {"saved", [this](const QString &) { doc()->Change = false; }},
            {"click", click(Qt::NoModifier)},
            {"shift-click", click(Qt::ShiftModifier)},
            // taken as a double click right after a press at the same place
            {"double-click", [this](const QString &x) { QTest::mouseDClick(viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(x.toInt(), 6)); }},
            {"toolbar-click", [this](const QString &) { QTest::mouseClick(main->toolbar(), Qt::LeftButton, Qt::NoModifier, QPoint(2, 2)); }},
            {"key", [this](const QString &keys) {
                 editor()->setFocus();
                 QTest::keySequence(editor(), QKeySequence(keys.isEmpty() ? QStringLiteral("A") : keys));
             }},
        };
        for (const QString &step : steps.split(u'|', Qt::SkipEmptyParts)) {
            const auto verb = verbs.find(step.section(u':', 0, 0));
            QVERIFY2(verb != verbs.end(), qPrintable(QStringLiteral("unknown step ") + step));
            verb->second(step.section(u':', 1));
        }
    }
};

} // namespace

class TestCommandState : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }

    // The enabled states after each event, the clipboard holding "X" at first.
    void events_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("expected");
        const QString noDocumentButtons = QStringLiteral("#1 #2 -#3 -#4 -#5 -#6 -#8 -#9 -#10 -#11 -#12 -#14 -#15 #16 #17 #18");
        auto row = [](const char *name, const char *steps, const QString &expected) {
            QTest::newRow(name) << QString::fromUtf8(steps) << expected;
        };
        row("start-up", "", noDocumentButtons + " -Mnu_Close -Mnu_Enregistrer -Mnu_Imprimer -Mnu_Edit Mnu_Ouvrir");
        row("new", "clip:|run:Mnu_Nouveau",
            "Mnu_Enregistrer #3 #4 #5 #6 -Mnu_Fusionner -Mnu_Annuler -#8 -#9 -#10 -#11 -#12 #14 #15");
        row("open", "open", "Mnu_Enregistrer Mnu_EnregistrerSous Mnu_Imprimer Mnu_Fusionner -Mnu_Annuler #3 -#8");
        row("save", "open|snapshot|text:N20|run:Mnu_Enregistrer", "-Mnu_Enregistrer -#3 -Mnu_Annuler -#8 Mnu_EnregistrerSous");
        row("last window closed", "new:N10|select:2|edit-menu|saved|run:Mnu_Close", noDocumentButtons + " -Mnu_Edit");
        row("text emptied", "new:N10|text:", "-Mnu_Enregistrer -Mnu_EnregistrerSous -Mnu_Imprimer -Mnu_Fusionner -#3 -#4 -#5");
        row("text filled", "new:|text:N10", "Mnu_Enregistrer Mnu_EnregistrerSous Mnu_Imprimer Mnu_Fusionner #3 #4 #5");
        row("click with selection", "new:N10 G00 X0|shift-click:40", // Shift+click extends from the caret
            "#9 #10 #11 #12 Mnu_Edition(4) Mnu_Edition(5) Mnu_Supprimer Mnu_Edition(6)");
        row("click without selection", "new:N10 G00 X0|select:5|edit-menu|click:12",
            "-#9 -#10 -#12 #11 -Mnu_Edition(4) -Mnu_Edition(5) -Mnu_Supprimer Mnu_VidePresPap");
        row("double click", "new:N10 G00 X0|click:12|double-click:12", "#9 #10 #12");
        row("toolbar click, no selection", "new:N10|run:Mnu_ToutSelect|select:0|toolbar-click", "-#9 -#10 -#12");
        row("character key", "open|run:Mnu_Enregistrer|key", "Mnu_Enregistrer #3");
        row("select all on empty", "new:|run:Mnu_ToutSelect", "#9 #10 #12");
        row("edit menu, no document", "edit-menu", noDocumentButtons);
        row("cut", "clip:|new:N10|select:2|run:Mnu_Edition(4)", "Mnu_Edition(6) #11 Mnu_VidePresPap Mnu_Annuler #8");
        row("copy", "clip:|new:N10|select:2|run:Mnu_Edition(5)", "Mnu_Edition(6) #11 Mnu_VidePresPap -Mnu_Annuler -#8");
        row("clear clipboard", "new:N10|run:Mnu_VidePresPap", "-Mnu_Edition(6) -#11 -Mnu_VidePresPap");
        row("undo follows the active window", "open|run:Mnu_Supprimer|run:Mnu_Nouveau|activate:1", "Mnu_Annuler #8");
        row("panel open", "new:N10|run:Mnu_NumAuto", "-Mnu_Rechercher -Mnu_Remplacer -Mnu_Renumeroter -Mnu_NumAuto -#14 -#15");
    }
    void events()
    {
        QFETCH(QString, steps);
        QFETCH(QString, expected);
        App app;
        app.fakes.clipboard.setText(QStringLiteral("X"));
        app.play(steps);
        QCOMPARE(app.mismatches(expected), QString());
    }

    // Each command on "N10 G00", caret after "N10", the clipboard holding "elsewhere"; then undone
    // when it recorded a snapshot. A shortcut is ordinary typing while its menu item is disabled.
    void editCommands_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<bool>("snapshot");
        QTest::newRow("cut") << "select:4|run:Mnu_Edition(4)" << "N10" << " G00" << true;
        QTest::newRow("copy") << "select:4|run:Mnu_Edition(5)" << "N10 G00" << " G00" << false;
        // With nothing selected the clipboard keeps what the user copied elsewhere; cut still records.
        QTest::newRow("cut, no selection") << "run:Mnu_Edition(4)" << "N10 G00" << "elsewhere" << true;
        QTest::newRow("paste") << "select:4|run:Mnu_Edition(6)" << "N10elsewhere" << "elsewhere" << true;
        QTest::newRow("paste, unreadable clipboard") << "unreadable|select:4|run:Mnu_Edition(6)" << "N10"
                                                     << "elsewhere" << true;
        QTest::newRow("delete") << "select:4|run:Mnu_Supprimer" << "N10" << "elsewhere" << true;
        QTest::newRow("date") << "select:4|run:Mnu_D1" << "N1005/01/2026 09:07:03" << "elsewhere" << true;
        QTest::newRow("Ctrl+X, item enabled") << "select:4|edit-menu|key:Ctrl+X" << "N10" << " G00" << true;
        QTest::newRow("Del, item disabled") << "edit-menu|key:Del" << "N10G00" << "elsewhere" << false;
    }
    void editCommands()
    {
        QFETCH(QString, steps);
        QFETCH(QString, text);
        QFETCH(QString, clipboard);
        QFETCH(bool, snapshot);
        App app;
        app.fakes.clock.setNow(QDateTime(QDate(2026, 1, 5), QTime(9, 7, 3)));
        app.play(QStringLiteral("clip:elsewhere|new:N10 G00|saved|from:3"));
        app.play(steps);
        Form1 *doc = app.doc();
        QCOMPARE(doc->Text1->text(), text);
        QCOMPARE(doc->Change, text != QStringLiteral("N10 G00"));
        QCOMPARE(doc->StatusBar1->panelText(2), QStringLiteral(" %1 Octets").arg(text.size()));
        QCOMPARE(app.fakes.clipboard.stored(), clipboard);
        QCOMPARE(app.mismatches(snapshot ? "Mnu_Annuler #8" : "-Mnu_Annuler -#8"), QString());
        if (snapshot) {
            app.trigger("Mnu_Annuler");
            QCOMPARE(doc->Text1->text(), QStringLiteral("N10 G00"));
            QVERIFY(!doc->AnnulRedo);
        }
    }

    void pasteTakesTheDocumentsLineEnds_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("text");
        QTest::newRow("mixed into CR LF") << QByteArray("N10\r\n") << "A\rB\r\nC\n" << "A\r\nB\r\nC\r\nN10\r\n";
        QTest::newRow("CR LF into LF") << QByteArray("N10\n") << "A\r\nB" << "A\nBN10\n";
        QTest::newRow("LF into CR") << QByteArray("N10\r") << "A\nB" << "A\rBN10\r";
    }
    void pasteTakesTheDocumentsLineEnds()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, clipboard);
        QFETCH(QString, text);
        App app;
        app.fakes.clipboard.setText(clipboard);
        app.openFile(file);
        app.doc()->Text1->setSelStart(0);
        app.main->button(11)->trigger(); // the toolbar's Coller
        QCOMPARE(app.doc()->Text1->text(), text);
    }

    void commandsWithoutDocumentDoNothing()
    {
        App app;
        app.play(QStringLiteral("clip:X|run:Mnu_Edition(4)|run:Mnu_Edition(5)|run:Mnu_Edition(6)|run:Mnu_Supprimer|run:Mnu_ToutSelect|"
                                "run:Mnu_Desel|run:Mnu_Annuler|run:Mnu_D1|run:Mnu_Fusionner|run:Mnu_Renumeroter|run:Mnu_NumAuto|"
                                "run:Mnu_Enregistrer|run:Mnu_EnregistrerSous|run:Mnu_Close|run:Mnu_Texte"));
        app.main->Toolbar1_Click();
        QCOMPARE(app.fakes.clipboard.stored(), QStringLiteral("X"));
        QVERIFY(app.main->documents().isEmpty() && app.fakes.commonDialog.shown().isEmpty());
    }

    // The right button pops up the Edit menu, refreshed on opening: its items and the date captions.
    void rightButtonPopsUpEditMenu()
    {
        App app;
        app.fakes.clock.setNow(QDateTime(QDate(2026, 1, 5), QTime(9, 7, 3)));
        app.play(QStringLiteral("new:N10"));
        auto *menu = app.main->findChild<QMenu *>(QStringLiteral("Mnu_Edit"));
        app.item(QStringLiteral("Mnu_Edition(4)"))->setEnabled(true); // stale state
        QTest::mousePress(app.viewport(), Qt::RightButton, Qt::NoModifier, QPoint(10, 5));
        QVERIFY(menu->isVisible());
        QVERIFY(!app.enabled("Mnu_Edition(4)"));
        QCOMPARE(app.item(QStringLiteral("Mnu_D4"))->text(), QStringLiteral("lundi 5 janvier 2026"));
        menu->hide();
        QTest::mouseRelease(app.viewport(), Qt::RightButton, Qt::NoModifier, QPoint(10, 5));
    }
};

QTEST_MAIN(TestCommandState)
#include "tst_command_state.moc"

// What each event does to the enabled state of the menu items and toolbar buttons, and
// the edit commands themselves, driven as a user would: actions, keys and clicks.
#include "app/MDIForm1.h"
#include "document/Form1.h"
#include "document/StatusBar1Widget.h"
#include "platform/RichTextBox.h"
#include "tests/support/TestApp.h"

#include <Qsci/qsciscintilla.h>
#include <QLocale>
#include <QMdiSubWindow>
#include <QMenu>
#include <QToolBar>
#include <QtTest>

using namespace tarmel;

namespace {

enum class Event {
    StartUp, New, Open, Save, LastWindowClosed, TextEmptied, TextFilled, ClickWithSelection,
    ClickWithoutSelection, DoubleClickOnWord, ToolbarClickWithoutSelection, CharacterKey, SelectAllOnEmpty,
    EditMenuWithoutDocument, EditMenuWithSelection, Cut, Copy, ClearClipboard, PanelOpen,
};

struct App : testsupport::TestApp {
    App()
    {
        main->resize(900, 700);
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    }
    Form1 *doc() const { return main->activeDocument(); }
    QWidget *editor() const { return doc()->Text1->engine(); }
    QWidget *viewport() const { return doc()->Text1->engine()->viewport(); }
    Form1 *newDocument(const QString &text)
    {
        trigger("Mnu_Nouveau");
        doc()->Text1->setText(text);
        doc()->Text1->setFocus();
        return doc();
    }
    void run(const QString &name) { main->runCommand(name); }
};

} // namespace

class TestCommandState : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }
    void events_data();
    void events();
    void cutCopyPasteAndUndo();
    void editCommands_data();
    void editCommands();
    void pasteTakesTheDocumentsLineEnds_data();
    void pasteTakesTheDocumentsLineEnds();
    void commandsWithoutDocumentDoNothing();
    void shortcutsFollowTheirItem_data();
    void shortcutsFollowTheirItem();
    void undoFollowsTheActiveWindow();
    void dateEntries();
    void rightButtonPopsUpEditMenu();
};

void TestCommandState::events_data()
{
    QTest::addColumn<int>("event");
    QTest::addColumn<QString>("expected");
    const QString noDocumentButtons = QStringLiteral("#1 #2 -#3 -#4 -#5 -#6 -#8 -#9 -#10 -#11 -#12 -#14 -#15 #16 #17 #18");
    QTest::newRow("start-up") << int(Event::StartUp)
                              << noDocumentButtons + " -Mnu_Close -Mnu_Enregistrer -Mnu_Imprimer -Mnu_Edit Mnu_Ouvrir";
    QTest::newRow("new") << int(Event::New)
                         << "Mnu_Enregistrer #3 #4 #5 #6 -Mnu_Fusionner -Mnu_Annuler -#8 -#9 -#10 -#11 -#12 #14 #15";
    QTest::newRow("open") << int(Event::Open)
                          << "Mnu_Enregistrer Mnu_EnregistrerSous Mnu_Imprimer Mnu_Fusionner -Mnu_Annuler #3 -#8";
    QTest::newRow("save") << int(Event::Save) << "-Mnu_Enregistrer -#3 -Mnu_Annuler -#8 Mnu_EnregistrerSous";
    QTest::newRow("last window closed") << int(Event::LastWindowClosed) << noDocumentButtons + " -Mnu_Edit";
    QTest::newRow("text emptied") << int(Event::TextEmptied)
                                  << "-Mnu_Enregistrer -Mnu_EnregistrerSous -Mnu_Imprimer -Mnu_Fusionner -#3 -#4 -#5";
    QTest::newRow("text filled") << int(Event::TextFilled)
                                 << "Mnu_Enregistrer Mnu_EnregistrerSous Mnu_Imprimer Mnu_Fusionner #3 #4 #5";
    QTest::newRow("click with selection")
        << int(Event::ClickWithSelection)
        << "#9 #10 #11 #12 Mnu_Edition(4) Mnu_Edition(5) Mnu_Supprimer Mnu_Edition(6)";
    QTest::newRow("click without selection")
        << int(Event::ClickWithoutSelection)
        << "-#9 -#10 -#12 #11 -Mnu_Edition(4) -Mnu_Edition(5) -Mnu_Supprimer Mnu_VidePresPap";
    QTest::newRow("double click") << int(Event::DoubleClickOnWord) << "#9 #10 #12";
    QTest::newRow("toolbar click, no selection") << int(Event::ToolbarClickWithoutSelection) << "-#9 -#10 -#12";
    QTest::newRow("character key") << int(Event::CharacterKey) << "Mnu_Enregistrer #3";
    QTest::newRow("select all on empty") << int(Event::SelectAllOnEmpty) << "#9 #10 #12";
    QTest::newRow("edit menu, no document") << int(Event::EditMenuWithoutDocument) << noDocumentButtons;
    QTest::newRow("edit menu, selection")
        << int(Event::EditMenuWithSelection)
        << "Mnu_Edition(4) Mnu_Edition(5) Mnu_Supprimer #9 #10 #12 Mnu_Edition(6) #11";
    QTest::newRow("cut") << int(Event::Cut) << "Mnu_Edition(6) #11 Mnu_VidePresPap Mnu_Annuler #8";
    QTest::newRow("copy") << int(Event::Copy) << "Mnu_Edition(6) #11 Mnu_VidePresPap -Mnu_Annuler -#8";
    QTest::newRow("clear clipboard") << int(Event::ClearClipboard) << "-Mnu_Edition(6) -#11 -Mnu_VidePresPap";
    QTest::newRow("panel open") << int(Event::PanelOpen)
                                << "-Mnu_Rechercher -Mnu_Remplacer -Mnu_Renumeroter -Mnu_NumAuto -#14 -#15";
}

void TestCommandState::events()
{
    QFETCH(int, event);
    QFETCH(QString, expected);
    App app;
    app.fakes.clipboard.setText(QStringLiteral("X"));
    switch (Event(event)) {
    case Event::StartUp:
        break;
    case Event::New:
        app.fakes.clipboard.setText(QString());
        app.trigger("Mnu_Nouveau");
        break;
    case Event::Open:
        app.openFile("N10 G00\r\n");
        break;
    case Event::Save:
        app.openFile("N10\r\n");
        app.main->RecordUndoSnapshot(app.doc());
        app.doc()->Text1->setText(QStringLiteral("N20\r\n"));
        app.trigger("Mnu_Enregistrer");
        QVERIFY(!app.doc()->Change);
        break;
    case Event::LastWindowClosed:
        app.newDocument(QStringLiteral("N10"));
        app.doc()->Text1->setSelLength(2);
        app.main->Mnu_Edit_Click();
        app.doc()->Change = false;
        app.trigger("Mnu_Close");
        QVERIFY(app.main->documents().isEmpty());
        break;
    case Event::TextEmptied:
        app.newDocument(QStringLiteral("N10"));
        app.doc()->Text1->setText(QString());
        QVERIFY(app.doc()->Change); // modified, although nothing can be saved
        break;
    case Event::TextFilled:
        app.newDocument(QString());
        app.doc()->Text1->setText(QStringLiteral("N10"));
        break;
    case Event::ClickWithSelection:
        app.newDocument(QStringLiteral("N10 G00 X0\r\nN20\r\n"));
        app.doc()->Text1->setSelStart(0); // Shift+click extends the selection from the caret
        QTest::mouseClick(app.viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(40, 6));
        QVERIFY(app.doc()->Text1->selLength() > 0);
        break;
    case Event::ClickWithoutSelection:
        app.newDocument(QStringLiteral("N10 G00 X0\r\n"));
        app.run(QStringLiteral("Mnu_ToutSelect"));
        QTest::mouseClick(app.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(12, 6));
        QCOMPARE(app.doc()->Text1->selLength(), 0);
        break;
    case Event::DoubleClickOnWord:
        app.newDocument(QStringLiteral("N10 G00 X0\r\n"));
        // The engine takes a double click as such right after a press at the same place.
        QTest::mouseClick(app.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(12, 6));
        QTest::mouseDClick(app.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(12, 6));
        QVERIFY(app.doc()->Text1->selLength() > 0);
        break;
    case Event::ToolbarClickWithoutSelection:
        app.newDocument(QStringLiteral("N10"));
        app.run(QStringLiteral("Mnu_ToutSelect"));
        app.doc()->Text1->setSelLength(0);
        QTest::mouseClick(static_cast<QWidget *>(app.main->toolbar()), Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
        break;
    case Event::CharacterKey:
        app.openFile("N10\r\n");
        app.trigger("Mnu_Enregistrer");
        QVERIFY(!app.enabled("Mnu_Enregistrer"));
        app.doc()->Text1->setFocus();
        QTest::keyClick(app.editor(), Qt::Key_A);
        QVERIFY(app.doc()->Change);
        break;
    case Event::SelectAllOnEmpty:
        app.newDocument(QString());
        app.trigger("Mnu_ToutSelect");
        QCOMPARE(app.doc()->Text1->selLength(), 0);
        break;
    case Event::EditMenuWithoutDocument:
        app.main->Mnu_Edit_Click();
        break;
    case Event::EditMenuWithSelection:
        app.newDocument(QStringLiteral("N10"));
        app.doc()->Text1->setSelLength(1);
        app.main->Mnu_Edit_Click();
        break;
    case Event::Cut:
    case Event::Copy:
        app.fakes.clipboard.setText(QString());
        app.newDocument(QStringLiteral("N10"));
        app.doc()->Text1->setSelLength(2);
        app.run(Event(event) == Event::Cut ? QStringLiteral("Mnu_Edition(4)") : QStringLiteral("Mnu_Edition(5)"));
        break;
    case Event::ClearClipboard:
        app.newDocument(QStringLiteral("N10"));
        app.trigger("Mnu_VidePresPap");
        QVERIFY(app.fakes.clipboard.stored().isEmpty());
        break;
    case Event::PanelOpen:
        app.newDocument(QStringLiteral("N10"));
        app.trigger("Mnu_NumAuto");
        break;
    }
    QCOMPARE(app.mismatches(expected), QString());
}

void TestCommandState::cutCopyPasteAndUndo()
{
    App app;
    Form1 *doc = app.newDocument(QStringLiteral("N10 G00\r\n"));
    doc->Change = false;
    doc->Text1->setSelStart(4);
    doc->Text1->setSelLength(3);
    app.main->Mnu_Edit_Click(); // the menu opens on the selection
    app.trigger("Mnu_Edition(5)"); // copy
    QCOMPARE(app.fakes.clipboard.text(), QStringLiteral("G00"));
    QVERIFY(!doc->Change);
    app.trigger("Mnu_Edition(4)"); // cut
    QCOMPARE(doc->Text1->text(), QStringLiteral("N10 \r\n"));
    QCOMPARE(doc->StatusBar1->panelText(2), QStringLiteral(" 6 Octets"));
    doc->Text1->setSelStart(0);
    app.main->button(11)->trigger(); // the toolbar's Coller
    QCOMPARE(doc->Text1->text(), QStringLiteral("G00N10 \r\n"));
    app.trigger("Mnu_Annuler");
    QCOMPARE(doc->Text1->text(), QStringLiteral("N10 \r\n"));
    QVERIFY(doc->Change);
    QCOMPARE(app.mismatches(QStringLiteral("-Mnu_Annuler -#8")), QString());
    QVERIFY(!doc->AnnulRedo);
}

// Each command run with the document and clipboard of the row (selection "start,length").
void TestCommandState::editCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<bool>("clipboardReadable");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<bool>("snapshot");
    // With nothing selected the clipboard keeps what the user copied elsewhere; cut still records.
    QTest::newRow("cut, no selection") << "Mnu_Edition(4)" << 0 << true << "N10 G00" << "elsewhere" << true;
    QTest::newRow("copy, no selection") << "Mnu_Edition(5)" << 0 << true << "N10 G00" << "elsewhere" << false;
    QTest::newRow("paste, empty clipboard") << "Mnu_Edition(6)" << 4 << false << "N10" << "elsewhere" << true;
    QTest::newRow("delete, no selection") << "Mnu_Supprimer" << 0 << true << "N10 G00" << "elsewhere" << true;
    QTest::newRow("delete") << "Mnu_Supprimer" << 4 << true << "N10" << "elsewhere" << true;
}

void TestCommandState::editCommands()
{
    QFETCH(QString, command);
    QFETCH(int, selLength);
    QFETCH(bool, clipboardReadable);
    QFETCH(QString, text);
    QFETCH(QString, clipboard);
    QFETCH(bool, snapshot);
    App app;
    app.fakes.clipboard.setText(QStringLiteral("elsewhere"));
    app.fakes.clipboard.readable = clipboardReadable;
    Form1 *doc = app.newDocument(QStringLiteral("N10 G00"));
    doc->Text1->setSelStart(3);
    doc->Text1->setSelLength(selLength);
    app.run(command);
    QCOMPARE(doc->Text1->text(), text);
    QCOMPARE(app.fakes.clipboard.stored(), clipboard);
    QCOMPARE(doc->AnnulRedo, snapshot);
    if (snapshot) {
        app.trigger("Mnu_Annuler");
        QCOMPARE(doc->Text1->text(), QStringLiteral("N10 G00"));
    }
}

void TestCommandState::pasteTakesTheDocumentsLineEnds_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("text");
    QTest::newRow("LF into CR LF") << QByteArray("N10\r\n") << "A\nB\n" << "A\r\nB\r\nN10\r\n";
    QTest::newRow("mixed into CR LF") << QByteArray("N10\r\n") << "A\rB\r\nC\n" << "A\r\nB\r\nC\r\nN10\r\n";
    QTest::newRow("CR LF into LF") << QByteArray("N10\n") << "A\r\nB" << "A\nBN10\n";
    QTest::newRow("LF into CR") << QByteArray("N10\r") << "A\nB" << "A\rBN10\r";
}

void TestCommandState::pasteTakesTheDocumentsLineEnds()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, clipboard);
    QFETCH(QString, text);
    App app;
    app.openFile(file);
    app.fakes.clipboard.setText(clipboard);
    app.doc()->Text1->setSelStart(0);
    app.run(QStringLiteral("Mnu_Edition(6)"));
    QCOMPARE(app.doc()->Text1->text(), text);
    QCOMPARE(app.doc()->StatusBar1->panelText(2), QStringLiteral(" %1 Octets").arg(text.size()));
}

void TestCommandState::commandsWithoutDocumentDoNothing()
{
    App app;
    app.fakes.clipboard.setText(QStringLiteral("X"));
    for (const char *name : {"Mnu_Edition(4)", "Mnu_Edition(5)", "Mnu_Edition(6)", "Mnu_Supprimer", "Mnu_ToutSelect",
                             "Mnu_Desel", "Mnu_Annuler", "Mnu_D1", "Mnu_Fusionner", "Mnu_Renumeroter", "Mnu_NumAuto",
                             "Mnu_Enregistrer", "Mnu_EnregistrerSous", "Mnu_Close"})
        app.run(QString::fromLatin1(name));
    app.main->Toolbar1_Click();
    QCOMPARE(app.fakes.clipboard.stored(), QStringLiteral("X"));
    QVERIFY(app.main->documents().isEmpty());
    QCOMPARE(app.fakes.commonDialog.shown().size(), 0);
}

void TestCommandState::shortcutsFollowTheirItem_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("withSelection");
    QTest::addColumn<QString>("expectedText");
    QTest::addColumn<bool>("snapshot");
    // With a selection the items are enabled (after an Edit menu refresh): the menu command runs.
    QTest::newRow("Ctrl+X enabled") << int(Qt::Key_X) << int(Qt::ControlModifier) << true << "0 G00" << true;
    QTest::newRow("Ctrl+V enabled") << int(Qt::Key_V) << int(Qt::ControlModifier) << true << "clip0 G00" << true;
    QTest::newRow("Ctrl+C enabled") << int(Qt::Key_C) << int(Qt::ControlModifier) << true << "N10 G00" << false;
    // Without a selection: Del is ordinary typing (one character, no snapshot).
    QTest::newRow("Del disabled") << int(Qt::Key_Delete) << 0 << false << "10 G00" << false;
}

void TestCommandState::shortcutsFollowTheirItem()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, withSelection);
    QFETCH(QString, expectedText);
    QFETCH(bool, snapshot);
    App app;
    app.fakes.clipboard.setText(QStringLiteral("clip"));
    Form1 *doc = app.newDocument(QStringLiteral("N10 G00"));
    doc->Text1->setSelStart(0);
    if (withSelection)
        doc->Text1->setSelLength(2);
    app.main->Mnu_Edit_Click();
    app.editor()->setFocus();
    QTest::keyClick(app.editor(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(doc->Text1->text(), expectedText);
    QCOMPARE(doc->AnnulRedo, snapshot);
    if (key == Qt::Key_C)
        QCOMPARE(app.fakes.clipboard.stored(), QStringLiteral("N1"));
}

void TestCommandState::undoFollowsTheActiveWindow()
{
    App app;
    app.openFile("N10\r\n");
    Form1 *first = app.doc();
    app.fakes.clipboard.setText(QStringLiteral("N5\r\n"));
    first->Text1->setSelStart(0);
    app.run(QStringLiteral("Mnu_Edition(6)"));
    app.trigger("Mnu_Enregistrer");
    QVERIFY(!app.enabled("Mnu_Annuler"));
    app.trigger("Mnu_Nouveau");
    app.run(QStringLiteral("Mnu_Supprimer"));
    QCOMPARE(app.mismatches(QStringLiteral("Mnu_Annuler #8")), QString());
    app.main->activateDocument(first); // the snapshot taken before the save is offered again
    QCOMPARE(app.mismatches(QStringLiteral("Mnu_Annuler #8")), QString());
    app.fakes.clock.setNow(QDateTime(QDate(2026, 1, 5), QTime(9, 7, 3)));
    first->Text1->setSelStart(0);
    app.run(QStringLiteral("Mnu_D3"));
    app.run(QStringLiteral("Mnu_D3")); // two commands: undo goes back one
    app.trigger("Mnu_Annuler");
    QVERIFY(!first->AnnulRedo);
    QCOMPARE(first->Text1->text(), QStringLiteral("09:07:03N5\r\nN10\r\n"));
}

void TestCommandState::dateEntries()
{
    App app;
    app.fakes.clock.setNow(QDateTime(QDate(2026, 1, 5), QTime(9, 7, 3)));
    const QStringList captions{"05/01/2026 09:07:03", "05/01/2026", "09:07:03", "lundi 5 janvier 2026", "5.janv. 2026"};
    Form1 *doc = app.newDocument(QStringLiteral("X"));
    emit app.main->findChild<QMenu *>(QStringLiteral("Mnu_Edit"))->aboutToShow();
    for (int i = 1; i <= 5; ++i)
        QCOMPARE(app.item(QStringLiteral("Mnu_D%1").arg(i))->text(), captions[i - 1]);
    // A selected word is replaced by the value; undo brings it back.
    doc->Text1->setSelStart(0);
    doc->Text1->setSelLength(1);
    app.trigger("Mnu_D1");
    QCOMPARE(doc->Text1->text(), captions[0]);
    app.trigger("Mnu_Annuler");
    QCOMPARE(doc->Text1->text(), QStringLiteral("X"));
}

void TestCommandState::rightButtonPopsUpEditMenu()
{
    App app;
    Form1 *doc = app.newDocument(QStringLiteral("N10"));
    doc->Text1->setSelLength(0);
    auto *menu = app.main->findChild<QMenu *>(QStringLiteral("Mnu_Edit"));
    app.item(QStringLiteral("Mnu_Edition(4)"))->setEnabled(true); // stale state
    QTest::mousePress(app.viewport(), Qt::RightButton, Qt::NoModifier, QPoint(10, 5));
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(!app.enabled("Mnu_Edition(4)")); // refreshed on opening
    menu->hide();
    QTest::mouseRelease(app.viewport(), Qt::RightButton, Qt::NoModifier, QPoint(10, 5));
}

QTEST_MAIN(TestCommandState)
#include "tst_command_state.moc"

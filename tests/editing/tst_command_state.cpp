// What each event does to the enabled state of the menu items and toolbar buttons, and
// the edit commands themselves, driven as a user would: actions, keys and clicks.
#include "app/MDIForm1.h"
#include "document/Form1.h"
#include "document/StatusBar1Widget.h"
#include "platform/RichTextBox.h"
#include "tests/support/TestApp.h"

#include <Qsci/qsciscintilla.h>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

using namespace tarmel;

namespace {

enum class Event {
    New,
    Open,
    Save,
    TextEmptied,
    TextFilled,
    ClickWithSelection,
    ClickWithoutSelection,
    DoubleClickOnWord,
    CharacterKey,
    Escape,
    SelectAllOnEmpty,
    Deselect,
    EditMenuWithoutDocument,
    EditMenuWithSelection,
    EditMenuWithoutSelection,
    Cut,
    Copy,
    ClearClipboard,
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
    QString openFile(const QByteArray &bytes)
    {
        const QString path = write(QStringLiteral("p.iso"), bytes);
        fakes.commonDialog.expectOpen(path);
        trigger("Mnu_Ouvrir");
        return path;
    }
    // A click in the text where the caret can go (the first line, after its first char).
    void clickText()
    {
        const QPoint p = doc()->Text1->engine()->viewport()->rect().topLeft() + QPoint(12, 6);
        QTest::mouseClick(viewport(), Qt::LeftButton, Qt::NoModifier, p);
    }
};

// Expected states: "Mnu_Enregistrer" for a menu item, "#3" for toolbar button 3.
using States = QMap<QString, bool>;

bool stateOf(const App &app, const QString &key)
{
    if (key.startsWith(QLatin1Char('#')))
        return app.main->button(key.mid(1).toInt())->isEnabled();
    return app.item(key)->isEnabled();
}

} // namespace

class TestCommandState : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }
    void events_data();
    void events();
    void cutCopyPasteAndUndo();
    void cutOrCopyWithoutSelectionKeepsClipboard_data();
    void cutOrCopyWithoutSelectionKeepsClipboard();
    void pasteWithEmptyClipboardRemovesSelection();
    void deleteWithoutSelectionRecordsSnapshot();
    void unreadableClipboardCountsAsEmpty();
    void commandsWithoutDocumentDoNothing();
    void shortcutsFollowTheirItem_data();
    void shortcutsFollowTheirItem();
    void pasteSaveSwitchBackUndo();
    void undoOfTwoCommandsGoesBackOne();
    void dateEntries_data();
    void dateEntries();
    void sizePanel();
    void rightButtonPopsUpEditMenu();
};

void TestCommandState::events_data()
{
    QTest::addColumn<int>("event");
    QTest::addColumn<States>("expected");
    using S = States;
    QTest::newRow("new") << int(Event::New)
                         << S{{"Mnu_Enregistrer", true}, {"#3", true}, {"#4", true}, {"#5", true}, {"#6", true},
                              {"Mnu_Fusionner", false}, {"Mnu_Annuler", false}, {"#8", false}, {"#9", false},
                              {"#10", false}, {"#11", false}, {"#12", false}, {"#14", true}, {"#15", true}};
    QTest::newRow("open") << int(Event::Open)
                          << S{{"Mnu_Enregistrer", true}, {"Mnu_EnregistrerSous", true}, {"Mnu_Imprimer", true},
                               {"Mnu_Fusionner", true}, {"Mnu_Annuler", false}, {"#3", true}, {"#8", false}};
    QTest::newRow("save") << int(Event::Save)
                          << S{{"Mnu_Enregistrer", false}, {"#3", false}, {"Mnu_Annuler", false}, {"#8", false},
                               {"Mnu_EnregistrerSous", true}};
    QTest::newRow("text emptied") << int(Event::TextEmptied)
                                  << S{{"Mnu_Enregistrer", false}, {"Mnu_EnregistrerSous", false},
                                       {"Mnu_Imprimer", false}, {"Mnu_Fusionner", false},
                                       {"#3", false}, {"#4", false}, {"#5", false}};
    QTest::newRow("text filled") << int(Event::TextFilled)
                                 << S{{"Mnu_Enregistrer", true}, {"Mnu_EnregistrerSous", true},
                                      {"Mnu_Imprimer", true}, {"Mnu_Fusionner", true},
                                      {"#3", true}, {"#4", true}, {"#5", true}};
    QTest::newRow("click with selection") << int(Event::ClickWithSelection)
                                          << S{{"#9", true}, {"#10", true}, {"#11", true}, {"#12", true},
                                               {"Mnu_Edition(4)", true}, {"Mnu_Edition(5)", true},
                                               {"Mnu_Supprimer", true}, {"Mnu_Edition(6)", true}};
    QTest::newRow("click without selection")
        << int(Event::ClickWithoutSelection)
        << S{{"#9", false}, {"#10", false}, {"#12", false}, {"#11", true}, {"Mnu_Edition(4)", false},
             {"Mnu_Edition(5)", false}, {"Mnu_Supprimer", false}, {"Mnu_VidePresPap", true}};
    QTest::newRow("double click") << int(Event::DoubleClickOnWord)
                                  << S{{"#9", true}, {"#10", true}, {"#12", true}};
    QTest::newRow("character key") << int(Event::CharacterKey) << S{{"Mnu_Enregistrer", true}, {"#3", true}};
    QTest::newRow("escape") << int(Event::Escape) << S{{"Mnu_Enregistrer", true}, {"#3", true}};
    QTest::newRow("select all on empty") << int(Event::SelectAllOnEmpty)
                                         << S{{"#9", true}, {"#10", true}, {"#12", true}};
    QTest::newRow("deselect") << int(Event::Deselect) << S{{"#9", true}, {"#10", true}, {"#12", true}};
    QTest::newRow("edit menu, no document")
        << int(Event::EditMenuWithoutDocument)
        << S{{"#1", true}, {"#2", true}, {"#3", false}, {"#4", false}, {"#5", false}, {"#6", false},
             {"#8", false}, {"#9", false}, {"#10", false}, {"#11", false}, {"#12", false}, {"#14", false},
             {"#15", false}, {"#16", true}, {"#17", true}, {"#18", true}};
    QTest::newRow("edit menu, selection")
        << int(Event::EditMenuWithSelection)
        << S{{"Mnu_Edition(4)", true}, {"Mnu_Edition(5)", true}, {"Mnu_Supprimer", true},
             {"#9", true}, {"#10", true}, {"#12", true}, {"Mnu_Edition(6)", true}, {"#11", true}};
    QTest::newRow("edit menu, no selection")
        << int(Event::EditMenuWithoutSelection)
        << S{{"Mnu_Edition(4)", false}, {"Mnu_Edition(5)", false}, {"Mnu_Supprimer", false},
             {"#9", false}, {"#10", false}, {"#12", false}};
    QTest::newRow("cut") << int(Event::Cut)
                         << S{{"Mnu_Edition(6)", true}, {"#11", true}, {"Mnu_VidePresPap", true},
                              {"Mnu_Annuler", true}, {"#8", true}};
    QTest::newRow("copy") << int(Event::Copy)
                          << S{{"Mnu_Edition(6)", true}, {"#11", true}, {"Mnu_VidePresPap", true},
                               {"Mnu_Annuler", false}, {"#8", false}};
    QTest::newRow("clear clipboard") << int(Event::ClearClipboard)
                                     << S{{"Mnu_Edition(6)", false}, {"#11", false}, {"Mnu_VidePresPap", false}};
}

void TestCommandState::events()
{
    QFETCH(int, event);
    QFETCH(States, expected);
    App app;
    app.fakes.clipboard.setText(QString());
    switch (Event(event)) {
    case Event::New:
        app.trigger("Mnu_Nouveau");
        break;
    case Event::Open:
        app.openFile("N10 G00\r\n");
        break;
    case Event::Save: {
        const QString path = app.openFile("N10\r\n");
        app.main->RecordUndoSnapshot(app.doc());
        app.doc()->Text1->setText(QStringLiteral("N20\r\n"));
        app.trigger("Mnu_Enregistrer");
        QVERIFY(!app.doc()->Change);
        break;
    }
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
        app.fakes.clipboard.setText(QStringLiteral("X"));
        app.newDocument(QStringLiteral("N10 G00 X0\r\nN20\r\n"));
        // Shift+click extends the selection from the caret at the start.
        app.doc()->Text1->setSelStart(0);
        QTest::mouseClick(app.viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(40, 6));
        QVERIFY(app.doc()->Text1->selLength() > 0);
        break;
    case Event::ClickWithoutSelection:
        app.fakes.clipboard.setText(QStringLiteral("X"));
        app.newDocument(QStringLiteral("N10 G00 X0\r\n"));
        app.main->runCommand(QStringLiteral("Mnu_ToutSelect"));
        app.clickText();
        QCOMPARE(app.doc()->Text1->selLength(), 0);
        break;
    case Event::DoubleClickOnWord:
        app.newDocument(QStringLiteral("N10 G00 X0\r\n"));
        // The engine takes a double click as such right after a press at the same place.
        QTest::mouseClick(app.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(12, 6));
        QTest::mouseDClick(app.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(12, 6));
        QVERIFY(app.doc()->Text1->selLength() > 0);
        break;
    case Event::CharacterKey:
    case Event::Escape: {
        const QString path = app.openFile("N10\r\n");
        app.trigger("Mnu_Enregistrer");
        QVERIFY(!app.item(QStringLiteral("Mnu_Enregistrer"))->isEnabled());
        app.doc()->Text1->setFocus();
        if (Event(event) == Event::Escape)
            QTest::keyClick(app.editor(), Qt::Key_Escape);
        else
            QTest::keyClick(app.editor(), Qt::Key_A);
        QVERIFY(app.doc()->Change);
        break;
    }
    case Event::SelectAllOnEmpty:
        app.newDocument(QString());
        app.trigger("Mnu_ToutSelect");
        QCOMPARE(app.doc()->Text1->selLength(), 0);
        break;
    case Event::Deselect:
        app.newDocument(QStringLiteral("N10"));
        app.trigger("Mnu_ToutSelect");
        app.trigger("Mnu_Desel");
        QCOMPARE(app.doc()->Text1->selLength(), 0);
        QCOMPARE(app.doc()->Text1->selStart(), 0);
        break;
    case Event::EditMenuWithoutDocument:
        app.fakes.clipboard.setText(QStringLiteral("X"));
        app.main->Mnu_Edit_Click();
        break;
    case Event::EditMenuWithSelection:
        app.fakes.clipboard.setText(QStringLiteral("X"));
        app.newDocument(QStringLiteral("N10"));
        app.doc()->Text1->setSelLength(1);
        app.main->Mnu_Edit_Click();
        break;
    case Event::EditMenuWithoutSelection:
        app.newDocument(QStringLiteral("N10"));
        app.main->Mnu_Edit_Click();
        break;
    case Event::Cut:
    case Event::Copy:
        app.newDocument(QStringLiteral("N10"));
        app.doc()->Text1->setSelLength(2);
        app.main->runCommand(QStringLiteral("Mnu_Edition(%1)").arg(Event(event) == Event::Cut ? 4 : 5));
        break;
    case Event::ClearClipboard:
        app.fakes.clipboard.setText(QStringLiteral("X"));
        app.newDocument(QStringLiteral("N10"));
        app.trigger("Mnu_VidePresPap");
        QVERIFY(app.fakes.clipboard.stored().isEmpty());
        break;
    }
    for (auto it = expected.begin(); it != expected.end(); ++it)
        QVERIFY2(stateOf(app, it.key()) == it.value(), qPrintable(it.key()));
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
    QVERIFY(!app.item(QStringLiteral("Mnu_Annuler"))->isEnabled());
    QVERIFY(!doc->AnnulRedo);
}

void TestCommandState::cutOrCopyWithoutSelectionKeepsClipboard_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("cut") << 4;
    QTest::newRow("copy") << 5;
}

void TestCommandState::cutOrCopyWithoutSelectionKeepsClipboard()
{
    QFETCH(int, index);
    App app;
    app.fakes.clipboard.setText(QStringLiteral("copied elsewhere"));
    Form1 *doc = app.newDocument(QString());
    app.trigger("Mnu_VidePresPap"); // paste state off, clipboard empty
    app.fakes.clipboard.setText(QStringLiteral("copied elsewhere"));
    app.trigger("Mnu_ToutSelect"); // buttons on although nothing is selected
    app.main->runCommand(QStringLiteral("Mnu_Edition(%1)").arg(index));
    QCOMPARE(app.fakes.clipboard.stored(), QStringLiteral("copied elsewhere"));
    QVERIFY(!app.item(QStringLiteral("Mnu_Edition(6)"))->isEnabled());
    QCOMPARE(doc->AnnulRedo, index == 4); // cut still records its snapshot
}

void TestCommandState::pasteWithEmptyClipboardRemovesSelection()
{
    App app;
    Form1 *doc = app.newDocument(QStringLiteral("N10 G00"));
    doc->Text1->setSelStart(3);
    doc->Text1->setSelLength(4);
    app.fakes.clipboard.setText(QString());
    app.main->runCommand(QStringLiteral("Mnu_Edition(%1)").arg(6));
    QCOMPARE(doc->Text1->text(), QStringLiteral("N10"));
    app.trigger("Mnu_Annuler");
    QCOMPARE(doc->Text1->text(), QStringLiteral("N10 G00"));
}

void TestCommandState::deleteWithoutSelectionRecordsSnapshot()
{
    App app;
    Form1 *doc = app.newDocument(QStringLiteral("N10"));
    app.main->runCommand(QStringLiteral("Mnu_Supprimer"));
    QCOMPARE(doc->Text1->text(), QStringLiteral("N10"));
    QVERIFY(doc->AnnulRedo);
    QVERIFY(app.item(QStringLiteral("Mnu_Annuler"))->isEnabled());
}

void TestCommandState::unreadableClipboardCountsAsEmpty()
{
    App app;
    app.fakes.clipboard.setText(QStringLiteral("X"));
    app.fakes.clipboard.readable = false;
    Form1 *doc = app.newDocument(QStringLiteral("N10"));
    app.main->Mnu_Edit_Click();
    QVERIFY(!app.item(QStringLiteral("Mnu_Edition(6)"))->isEnabled());
    app.main->runCommand(QStringLiteral("Mnu_Edition(%1)").arg(6));
    QCOMPARE(doc->Text1->text(), QStringLiteral("N10"));
}

void TestCommandState::commandsWithoutDocumentDoNothing()
{
    App app;
    app.fakes.clipboard.setText(QStringLiteral("X"));
    // Invoked directly: every handler finds no document and leaves everything alone.
    for (int i : {4, 5, 6})
        app.main->runCommand(QStringLiteral("Mnu_Edition(%1)").arg(i));
    app.main->runCommand(QStringLiteral("Mnu_Supprimer"));
    app.main->runCommand(QStringLiteral("Mnu_ToutSelect"));
    app.main->runCommand(QStringLiteral("Mnu_Desel"));
    app.main->Mnu_Annuler_Click();
    app.main->Toolbar1_Click();
    for (int d = 1; d <= 5; ++d)
        app.main->runCommand(QStringLiteral("Mnu_D%1").arg(d));
    app.main->runCommand(QStringLiteral("Mnu_Fusionner"));
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
    QTest::newRow("Del enabled") << int(Qt::Key_Delete) << 0 << true << "0 G00" << true;
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

void TestCommandState::pasteSaveSwitchBackUndo()
{
    App app;
    app.openFile("N10\r\n");
    Form1 *first = app.doc();
    app.fakes.clipboard.setText(QStringLiteral("N5\r\n"));
    first->Text1->setSelStart(0);
    app.main->Mnu_Edit_Click();
    app.trigger("Mnu_Edition(6)");
    app.trigger("Mnu_Enregistrer");
    QVERIFY(!app.item(QStringLiteral("Mnu_Annuler"))->isEnabled());
    app.trigger("Mnu_Nouveau");
    QVERIFY(!app.item(QStringLiteral("Mnu_Annuler"))->isEnabled()); // the new window has no undo
    app.main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(first->parentWidget()));
    QVERIFY(app.item(QStringLiteral("Mnu_Annuler"))->isEnabled());
    QVERIFY(app.main->button(8)->isEnabled());
    app.trigger("Mnu_Annuler");
    QCOMPARE(first->Text1->text(), QStringLiteral("N10\r\n"));
}

void TestCommandState::undoOfTwoCommandsGoesBackOne()
{
    App app;
    app.fakes.clock.setNow(QDateTime(QDate(2026, 1, 5), QTime(9, 7, 3)));
    Form1 *doc = app.newDocument(QStringLiteral("N10"));
    doc->Text1->setSelStart(3);
    app.trigger("Mnu_D3");
    app.trigger("Mnu_D3");
    QCOMPARE(doc->Text1->text(), QStringLiteral("N1009:07:0309:07:03"));
    app.trigger("Mnu_Annuler");
    QCOMPARE(doc->Text1->text(), QStringLiteral("N1009:07:03"));
    QVERIFY(!app.item(QStringLiteral("Mnu_Annuler"))->isEnabled());
}

void TestCommandState::dateEntries_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("morning") << QDateTime(QDate(2026, 1, 5), QTime(9, 7, 3))
                             << QStringList{"05/01/2026 09:07:03", "05/01/2026", "09:07:03", "lundi 5 janvier 2026",
                                            "5.janv. 2026"};
}

void TestCommandState::dateEntries()
{
    QFETCH(QDateTime, now);
    QFETCH(QStringList, captions);
    App app;
    app.fakes.clock.setNow(now);
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

void TestCommandState::sizePanel()
{
    App app;
    Form1 *doc = app.newDocument(QStringLiteral("1234"));
    QCOMPARE(doc->StatusBar1->panelText(2), QStringLiteral(" 4 Octets"));
    doc->Text1->setText(QString());
    QCOMPARE(doc->StatusBar1->panelText(2), QStringLiteral(" 0 Octets"));
    doc->Text1->setText(QStringLiteral("A\r\nB"));
    QCOMPARE(doc->StatusBar1->panelText(2), QStringLiteral(" 4 Octets"));
}

void TestCommandState::rightButtonPopsUpEditMenu()
{
    App app;
    app.fakes.clipboard.setText(QStringLiteral("X"));
    Form1 *doc = app.newDocument(QStringLiteral("N10"));
    doc->Text1->setSelLength(0);
    auto *menu = app.main->findChild<QMenu *>(QStringLiteral("Mnu_Edit"));
    app.main->action(QStringLiteral("Mnu_Edition(4)"))->setEnabled(true); // stale state
    QTest::mousePress(app.viewport(), Qt::RightButton, Qt::NoModifier, QPoint(10, 5));
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(!app.item(QStringLiteral("Mnu_Edition(4)"))->isEnabled()); // refreshed on opening
    menu->hide();
    QTest::mouseRelease(app.viewport(), Qt::RightButton, Qt::NoModifier, QPoint(10, 5));
}

QTEST_MAIN(TestCommandState)
#include "tst_command_state.moc"

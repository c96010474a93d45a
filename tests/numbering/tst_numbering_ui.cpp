// The renumbering and automatic-numbering panels, driven as a user would: menu actions, keys typed
// into the fields and the editing area, buttons clicked, message boxes answered by the fake.
#include "app/MDIForm1.h"
#include "document/Form1.h"
#include "document/StatusBar1Widget.h"
#include "numbering/AutoNumberPanel.h"
#include "numbering/DigitField.h"
#include "numbering/NumberingTexts.h"
#include "numbering/RenumberPanel.h"
#include "platform/RichTextBox.h"
#include "tests/support/FakeServices.h"

#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <memory>

using namespace tarmel;

namespace {

const QStringList kPanelItems = {QStringLiteral("Mnu_Rechercher"), QStringLiteral("Mnu_Remplacer"),
                                 QStringLiteral("Mnu_Renumeroter"), QStringLiteral("Mnu_NumAuto")};

QWidget *editorOf(Form1 *doc)
{
    return doc->Text1->engine();
}

// Keys typed into a widget; "\n" stands for Enter, "\b" for Backspace.
void type(QWidget *target, const QString &keys)
{
    for (QChar c : keys) {
        if (c == u'\n')
            QTest::keyClick(target, Qt::Key_Return);
        else if (c == u'\b')
            QTest::keyClick(target, Qt::Key_Backspace);
        else
            QTest::keyClicks(target, QString(c));
    }
}

} // namespace

class TestNumberingUi : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testsupport::FakeServices> fakes;
    std::unique_ptr<MDIForm1> main;

    Form1 *newDocument(const QString &text = QString())
    {
        main->NouveauFichier();
        Form1 *doc = main->activeDocument();
        if (!text.isEmpty())
            doc->Text1->setText(text);
        doc->Change = false;
        return doc;
    }
    bool panelItemsEnabled(bool enabled) const
    {
        for (const QString &name : kPanelItems)
            if (main->action(name)->isEnabled() != enabled)
                return false;
        return main->button(14)->isEnabled() == enabled && main->button(15)->isEnabled() == enabled;
    }
    void openRenumbering() { main->action(QStringLiteral("Mnu_Renumeroter"))->trigger(); }
    void openAutoNumbering() { main->action(QStringLiteral("Mnu_NumAuto"))->trigger(); }

private slots:
    void init()
    {
        fakes = std::make_unique<testsupport::FakeServices>();
        main = std::make_unique<MDIForm1>(fakes->services());
        main->resize(1000, 700);
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    }
    void cleanup()
    {
        for (Form1 *doc : main->documents())
            doc->Change = false; // no save question while the window goes
        main.reset();
        fakes.reset();
    }

    // Typing into a number field: only digits and Backspace get through, never beyond the limit.
    void numberFieldsTakeDigitsOnly_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("letters and signs dropped") << "Text6" << "1a-2 .3" << "123";
        QTest::newRow("five digits at most") << "Text6" << "1234567" << "12345";
        QTest::newRow("backspace kept") << "Text6" << "129\b8" << "128";
        QTest::newRow("first number, pasted sign") << "startNumber" << "paste -5" << "";
    }
    void numberFieldsTakeDigitsOnly()
    {
        QFETCH(QString, name);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        Form1 *doc = newDocument();
        auto *field = doc->findChild<QLineEdit *>(name);
        field->clear();
        if (typed.startsWith(QStringLiteral("paste "))) {
            QGuiApplication::clipboard()->setText(typed.mid(6));
            field->paste();
        } else {
            type(field, typed);
        }
        QCOMPARE(field->text(), expected);
    }

    // The step field's rule on what the user types: the field, the button, the step and the message.
    void stepFieldTyping_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("startEnabled");
        QTest::addColumn<QString>("message");
        QTest::newRow("emptied") << "\b\b" << "0" << false << "";
        QTest::newRow("51") << "\b\b51" << "50" << true << "Pas de renumérotation maximum =50 !";
        QTest::newRow("pasted -5") << "paste -5" << "1" << true << "Pas de renumérotation minimum =1 !";
    }
    void stepFieldTyping()
    {
        QFETCH(QString, typed);
        QFETCH(QString, field);
        QFETCH(bool, startEnabled);
        QFETCH(QString, message);
        Form1 *doc = newDocument(QStringLiteral("N5 X1"));
        openRenumbering();
        RenumberPanel *panel = tarmel::RenumberPanel::of(doc);
        QCOMPARE(panel->Text5->text(), QStringLiteral("10"));
        if (!message.isEmpty())
            fakes->messageBox.answerOk();
        if (typed.startsWith(QStringLiteral("paste "))) { // the only way a sign gets in
            QGuiApplication::clipboard()->setText(typed.mid(6));
            panel->Text5->selectAll();
            panel->Text5->paste();
        } else {
            panel->Text5->setCursorPosition(2);
            type(panel->Text5, typed);
        }
        QCOMPARE(panel->Text5->text(), field);
        QCOMPARE(panel->Command6->isEnabled(), startEnabled);
        QCOMPARE(main->state().PasRenum, field.toInt());
        if (message.isEmpty()) {
            QVERIFY(fakes->messageBox.boxes().isEmpty());
        } else {
            QCOMPARE(fakes->messageBox.boxes().size(), 1);
            QCOMPARE(fakes->messageBox.last().text, message);
            QCOMPARE(fakes->messageBox.last().flags, 16);
            QCOMPARE(fakes->messageBox.last().title, QStringLiteral("Erreur"));
        }
    }

    void openingAndClosingRenumbering()
    {
        const QString text = QStringLiteral("N1 G00\r\nN2 G01");
        Form1 *doc = newDocument(text);
        QVERIFY(panelItemsEnabled(true));
        QVERIFY(!main->action(QStringLiteral("Mnu_Annuler"))->isEnabled());
        const int fullHeight = doc->Text1->height();

        openRenumbering();
        RenumberPanel *panel = tarmel::RenumberPanel::of(doc);
        QVERIFY(doc->Frame3->isVisible());
        QVERIFY(panelItemsEnabled(false));
        QVERIFY(!panel->ProgressBar1->isVisible());
        QCOMPARE(main->state().PasRenum, 10);
        QVERIFY(panel->Option5->isChecked());
        QVERIFY(!panel->selectionOnly->isChecked());
        QVERIFY(!panel->updateJumps->isChecked());
        QVERIFY(panel->startNumber->text().isEmpty());
        // Opening records a snapshot.
        QVERIFY(doc->AnnulRedo);
        QCOMPARE(QString::fromUtf8(doc->RedoText), text);
        QVERIFY(main->action(QStringLiteral("Mnu_Annuler"))->isEnabled());
        QVERIFY(main->button(8)->isEnabled());
        QCOMPARE(QApplication::focusWidget(), panel->Text5);
        // The panel lies between the text and the status bar, and every control fits inside it.
        QCOMPARE(doc->Frame3->geometry().bottom() + 1, doc->StatusBar1->geometry().top());
        QCOMPARE(doc->Text1->height(), doc->Frame3->y());
        for (QWidget *w : panel->findChildren<QWidget *>())
            if (w->isVisible())
                QVERIFY2(doc->Frame3->rect().contains(QRect(w->mapTo(doc->Frame3, QPoint()), w->size())),
                         qPrintable(w->objectName()));

        QTest::mouseClick(panel->Command7, Qt::LeftButton);
        QVERIFY(!doc->Frame3->isVisible());
        QVERIFY(panelItemsEnabled(true));
        QCOMPARE(doc->Text1->height(), fullHeight);
        QCOMPARE(doc->Text1->text(), text);
        QVERIFY(doc->AnnulRedo); // closing leaves the snapshot alone
    }

    // A run through the panel, then the Edit menu's undo.
    void renumberRunAndUndo_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("digitsOnly");
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("after");
        QTest::newRow("N form, step 10")
            << "N5 G00 X0\r\nN7G01\r\n%\r\n/N33 M01\r\n(PROGRAMME)\r\nN" << false << "10" << ""
            << "N10 G00 X0\r\nN20 G01\r\n%\r\n/N30 M01\r\n(PROGRAMME)\r\nN40 ";
        QTest::newRow("digits, step 5") << "3 G00\r\n17G01\r\n\r\nG04" << true << "5" << ""
                                        << "5 G00\r\n10 G01\r\n\r\nG04";
        QTest::newRow("LF lines, first number 100") << "N1 X1\nN2 X2\nN3 X3\n" << false << "10" << "100"
                                                    << "N100 X1\nN110 X2\nN120 X3\n";
        QTest::newRow("empty text") << "" << false << "10" << "" << "";
    }
    void renumberRunAndUndo()
    {
        QFETCH(QString, before);
        QFETCH(bool, digitsOnly);
        QFETCH(QString, step);
        QFETCH(QString, first);
        QFETCH(QString, after);
        // The text changes after the opening: the run takes a snapshot of its own.
        Form1 *doc = newDocument(QStringLiteral("at opening"));
        openRenumbering();
        RenumberPanel *panel = tarmel::RenumberPanel::of(doc);
        panel->Text5->selectAll();
        type(panel->Text5, step);
        panel->Option6->setChecked(digitsOnly);
        panel->Option5->setChecked(!digitsOnly);
        type(panel->startNumber, first);
        doc->Text1->setText(before);
        doc->Change = false;

        QTest::mouseClick(panel->Command6, Qt::LeftButton);
        QCOMPARE(doc->Text1->text(), after);
        QVERIFY(doc->Change);
        QVERIFY(doc->AnnulRedo);
        QCOMPARE(QString::fromUtf8(doc->RedoText), before);
        QVERIFY(main->action(QStringLiteral("Mnu_Annuler"))->isEnabled());
        QVERIFY(!panel->ProgressBar1->isVisible());
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(fakes->messageBox.boxes().isEmpty());

        main->action(QStringLiteral("Mnu_Annuler"))->trigger();
        QCOMPARE(doc->Text1->text(), before);
        QVERIFY(!main->action(QStringLiteral("Mnu_Annuler"))->isEnabled());
    }

    // Selection-only runs: the selection counts UTF-16 units of a text holding accents and a
    // character beyond the BMP, so its conversion to the renumbering's byte offsets must be exact.
    void selectionOnlyRun_data()
    {
        QTest::addColumn<bool>("checked");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QString>("after");
        const QString head = QStringLiteral("(é \U0001F600)\r\n");
        const QString all = head + "N100 X\r\nN110 Y\r\nN120 Z\r\nN130 W";
        QTest::newRow("checked") << true << true << head + "N1 X\r\nN100 Y\r\nN110 Z\r\nN4 W";
        QTest::newRow("unchecked") << false << true << all;
        QTest::newRow("checked, nothing selected") << true << false << all;
    }
    void selectionOnlyRun()
    {
        QFETCH(bool, checked);
        QFETCH(bool, selected);
        QFETCH(QString, after);
        const QString head = QStringLiteral("(é \U0001F600)\r\n");
        const QString before = head + QStringLiteral("N1 X\r\nN2 Y\r\nN3 Z\r\nN4 W");
        Form1 *doc = newDocument(before);
        openRenumbering();
        RenumberPanel *panel = tarmel::RenumberPanel::of(doc);
        panel->selectionOnly->setChecked(checked);
        type(panel->startNumber, QStringLiteral("100"));
        // From inside the second numbered line to inside the third.
        doc->Text1->setSelStart(before.indexOf(QStringLiteral("N2")) + 2);
        doc->Text1->setSelLength(selected ? QStringLiteral(" Y\r\nN").size() : 0);
        QTest::mouseClick(panel->Command6, Qt::LeftButton);
        QCOMPARE(doc->Text1->text(), after);
    }

    void jumpTargetsReported_data()
    {
        QTest::addColumn<bool>("updateJumps");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("report");
        const QString before = QStringLiteral("N1 G00\r\nN2 GOTO 1\r\nN3 GOTOF 9\r\nN4 M97 P2");
        QTest::newRow("updated") << true << "N10 G00\r\nN20 GOTO 10\r\nN30 GOTOF 9\r\nN40 M97 P20"
                                 << "2 sauts mis à jour, 1 cibles introuvables";
        QTest::newRow("off") << false << "N10 G00\r\nN20 GOTO 1\r\nN30 GOTOF 9\r\nN40 M97 P2" << "";
    }
    void jumpTargetsReported()
    {
        QFETCH(bool, updateJumps);
        QFETCH(QString, after);
        QFETCH(QString, report);
        Form1 *doc = newDocument(QStringLiteral("N1 G00\r\nN2 GOTO 1\r\nN3 GOTOF 9\r\nN4 M97 P2"));
        openRenumbering();
        tarmel::RenumberPanel::of(doc)->updateJumps->setChecked(updateJumps);
        if (updateJumps)
            fakes->messageBox.answerOk();
        QTest::mouseClick(tarmel::RenumberPanel::of(doc)->Command6, Qt::LeftButton);
        QCOMPARE(doc->Text1->text(), after);
        if (report.isEmpty()) {
            QVERIFY(fakes->messageBox.boxes().isEmpty());
        } else {
            QCOMPARE(fakes->messageBox.boxes().size(), 1);
            QCOMPARE(fakes->messageBox.last().text, report);
            QCOMPARE(fakes->messageBox.last().flags, 0);
            // The box comes once the run is over.
            QVERIFY(!QApplication::overrideCursor());
        }
    }

    void openingAutoNumbering()
    {
        Form1 *doc = newDocument(QStringLiteral("G00"));
        openAutoNumbering();
        AutoNumberPanel *panel = tarmel::AutoNumberPanel::of(doc);
        QVERIFY(doc->Frame6->isVisible());
        QVERIFY(panelItemsEnabled(false));
        QCOMPARE(main->state().NumAutoActif, 1);
        QVERIFY(panel->Command9->isEnabled());
        QVERIFY(!panel->Command10->isEnabled());
        QCOMPARE(panel->Text6->text(), QStringLiteral("10"));
        QCOMPARE(panel->Text7->text(), QStringLiteral("10"));
        QVERIFY(panel->Option7->isChecked());
        QCOMPARE(QApplication::focusWidget(), panel->Text6);
        QVERIFY(!doc->AnnulRedo); // no snapshot
        QCOMPARE(doc->Frame6->geometry().bottom() + 1, doc->StatusBar1->geometry().top());
        QCOMPARE(doc->Text1->height(), doc->Frame6->y());
        for (QWidget *w : panel->findChildren<QWidget *>())
            if (w->isVisible())
                QVERIFY2(doc->Frame6->rect().contains(QRect(w->mapTo(doc->Frame6, QPoint()), w->size())),
                         qPrintable(w->objectName()));

        QTest::mouseClick(panel->Command11, Qt::LeftButton);
        QVERIFY(!doc->Frame6->isVisible());
        QVERIFY(panelItemsEnabled(true));
        QCOMPARE(main->state().NumAutoActif, 0);
    }

    // Typing with the panel's defaults: the number opens each new line.
    void typingNumbersNewLines_data()
    {
        QTest::addColumn<bool>("digitsOnly");
        QTest::addColumn<QString>("text"); // "[...]" selected, "|" the caret
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("N form") << false << "|" << "G00 X0\nG01\nG02" << "G00 X0\r\nN10 G01\r\nN20 G02";
        QTest::newRow("digits") << true << "|" << "G00 X0\nG01\nG02" << "G00 X0\r\n10 G01\r\n20 G02";
        QTest::newRow("empty lines") << false << "|" << "\n\n" << "\r\nN10 \r\nN20 ";
        QTest::newRow("selection replaced") << false << "G00 X0[ Y0]" << "\nG01" << "G00 X0\r\nN10 G01";
    }
    void typingNumbersNewLines()
    {
        QFETCH(bool, digitsOnly);
        QFETCH(QString, text);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        const qsizetype from = std::max(text.indexOf(u'['), text.indexOf(u'|'));
        const qsizetype to = text.indexOf(u']');
        Form1 *doc = newDocument(QString(text).remove(u'[').remove(u']').remove(u'|'));
        openAutoNumbering();
        tarmel::AutoNumberPanel::of(doc)->Option8->setChecked(digitsOnly);
        doc->Text1->setSelStart(from);
        doc->Text1->setSelLength(to < 0 ? 0 : to - from - 1);
        type(editorOf(doc), typed);
        QCOMPARE(doc->Text1->text(), expected);
        QVERIFY(doc->Change);
        QVERIFY(main->action(QStringLiteral("Mnu_Enregistrer"))->isEnabled());
    }

    void engineUndoTakesBackLineEndAndNumber()
    {
        Form1 *doc = newDocument(); // a document of LF lines: Enter writes LF
        doc->Text1->setFileFormat({Encoding::Windows1252, false, LineEndStyle::Lf, true});
        openAutoNumbering();
        type(editorOf(doc), QStringLiteral("G00"));
        type(editorOf(doc), QStringLiteral("\n"));
        QCOMPARE(doc->Text1->text(), QStringLiteral("G00\nN10 "));
        QVERIFY(!main->action(QStringLiteral("Mnu_Annuler"))->isEnabled()); // Ctrl+Z is the editor's own undo
        QTest::keyClick(editorOf(doc), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(doc->Text1->text(), QStringLiteral("G00"));
    }

    void twoWindowsTwoForms()
    {
        Form1 *first = newDocument();
        openAutoNumbering();
        tarmel::AutoNumberPanel::of(first)->Option8->setChecked(true);
        Form1 *second = newDocument(); // its panel stays closed: form "Nxxxx"
        type(editorOf(first), QStringLiteral("A\nB"));
        type(editorOf(second), QStringLiteral("C\nD"));
        type(editorOf(first), QStringLiteral("\nE"));
        QCOMPARE(first->Text1->text(), QStringLiteral("A\r\n10 B\r\n30 E"));
        QCOMPARE(second->Text1->text(), QStringLiteral("C\r\nN20 D"));
    }

    void suspendAndResume()
    {
        Form1 *doc = newDocument();
        openAutoNumbering();
        AutoNumberPanel *panel = tarmel::AutoNumberPanel::of(doc);
        type(editorOf(doc), QStringLiteral("A\nB"));
        QTest::mouseClick(panel->Command9, Qt::LeftButton);
        QCOMPARE(main->state().NumAutoActif, 0);
        QVERIFY(!panel->Command9->isEnabled());
        QVERIFY(panel->Command10->isEnabled());
        type(editorOf(doc), QStringLiteral("\nC"));
        QTest::mouseClick(panel->Command10, Qt::LeftButton);
        QCOMPARE(main->state().NumAutoActif, 1);
        QVERIFY(panel->Command9->isEnabled());
        QVERIFY(!panel->Command10->isEnabled());
        type(editorOf(doc), QStringLiteral("\nD"));
        QCOMPARE(doc->Text1->text(), QStringLiteral("A\r\nN10 B\r\nC\r\nN20 D"));
    }

    void fieldsSetNumberAndIncrement_data()
    {
        QTest::addColumn<QString>("startTyped");
        QTest::addColumn<QString>("incrementTyped");
        QTest::addColumn<QString>("expected");
        QTest::newRow("start 100") << "\b\b100" << "" << "\r\nN100 \r\nN110 \r\nN120 ";
        QTest::newRow("increment emptied") << "" << "\b\b" << "\r\nN10 \r\nN10 \r\nN10 ";

    }
    void fieldsSetNumberAndIncrement()
    {
        QFETCH(QString, startTyped);
        QFETCH(QString, incrementTyped);
        QFETCH(QString, expected);
        Form1 *doc = newDocument();
        openAutoNumbering();
        AutoNumberPanel *panel = tarmel::AutoNumberPanel::of(doc);
        panel->Text6->setCursorPosition(panel->Text6->text().size());
        type(panel->Text6, startTyped);
        panel->Text7->setCursorPosition(panel->Text7->text().size());
        type(panel->Text7, incrementTyped);
        type(editorOf(doc), QStringLiteral("\n\n\n"));
        QCOMPARE(doc->Text1->text(), expected);
    }

    void reopeningShowsNextNumberInFull()
    {
        Form1 *doc = newDocument();
        main->state().NumAutoSuivant = 99990;
        openAutoNumbering();
        type(editorOf(doc), QStringLiteral("\n\n"));
        QTest::mouseClick(tarmel::AutoNumberPanel::of(doc)->Command11, Qt::LeftButton);
        openAutoNumbering();
        // Six digits in a five-character field: shown and kept whole.
        QCOMPARE(tarmel::AutoNumberPanel::of(doc)->Text6->text(), QStringLiteral("100010"));
        QCOMPARE(tarmel::AutoNumberPanel::of(doc)->Text7->text(), QStringLiteral("10"));
        type(editorOf(doc), QStringLiteral("\n"));
        QCOMPARE(doc->Text1->text(), QStringLiteral("\r\nN99990 \r\nN100000 \r\nN100010 "));
    }

    void closingWindowWithAutoNumberingOpen()
    {
        Form1 *other = newDocument();
        Form1 *doc = newDocument();
        openAutoNumbering();
        QVERIFY(panelItemsEnabled(false));
        main->action(QStringLiteral("Mnu_Close"))->trigger();
        QVERIFY(!main->documents().contains(doc));
        QCOMPARE(main->state().NumAutoActif, 0);
        QVERIFY(panelItemsEnabled(true));
        type(editorOf(other), QStringLiteral("A\nB"));
        QCOMPARE(other->Text1->text(), QStringLiteral("A\r\nB"));
    }

    void closingWindowWithRenumberingOpen()
    {
        newDocument();
        newDocument();
        openRenumbering();
        main->action(QStringLiteral("Mnu_Close"))->trigger();
        QVERIFY(panelItemsEnabled(true));
    }
};

QTEST_MAIN(TestNumberingUi)
#include "tst_numbering_ui.moc"

// The renumbering and automatic-numbering panels, driven as a user would: menu actions, keys typed
// into the fields and the editing area, buttons clicked, message boxes answered by the fake.
#include "app/MDIForm1.h"
#include "document/Form1.h"
#include "document/StatusBar1Widget.h"
#include "platform/RichTextBox.h"
#include "tests/support/TestApp.h"

#include <Qsci/qsciscintilla.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using namespace tarmel;

namespace {

// Keys typed into a widget; "\n" stands for Enter, "\b" for Backspace.
void type(QWidget *target, const QString &keys)
{
    for (QChar c : keys)
        c == u'\n' ? QTest::keyClick(target, Qt::Key_Return) : c == u'\b' ? QTest::keyClick(target, Qt::Key_Backspace)
                                                                        : QTest::keyClicks(target, QString(c));
}

struct App : testsupport::TestApp {
    App() { QVERIFY(showWindow()); }
    ~App()
    {
        for (Form1 *doc : main->documents())
            doc->Change = false; // no save question while the window goes
    }
    // Plays steps separated by "|": "new:TEXT" a new window holding TEXT, "lf" its lines ending in
    // LF, "run:ITEM" a menu item, "win:N" the Nth window activated, "type:KEYS" keys typed into the
    // editing area, "NAME:KEYS" into a panel's field (at its end), "check:NAME" an option,
    // "click:NAME" a panel button, "select:FROM,LENGTH", "text:TEXT" the text set, "undo-key" Ctrl+Z.
    void play(const QString &steps)
    {
        for (const QString &step : steps.split(u'|')) {
            const QString verb = step.section(u':', 0, 0), arg = step.section(u':', 1);
            platform::RichTextBox *text = doc() ? doc()->Text1 : nullptr;
            QLineEdit *field = doc() ? doc()->findChild<QLineEdit *>(verb) : nullptr;
            if (verb == u"new") {
                trigger("Mnu_Nouveau");
                doc()->Text1->setText(arg);
                doc()->Change = false;
            } else if (verb == u"select") {
                text->setSelStart(arg.section(u',', 0, 0).toInt());
                text->setSelLength(arg.section(u',', 1).toInt());
            } else if (field) {
                field->end(false);
                type(field, arg);
            } else if (verb == u"lf") text->setFileFormat({Encoding::Windows1252, false, LineEndStyle::Lf, true});
            else if (verb == u"run") trigger(arg);
            else if (verb == u"win") main->activateDocument(main->documents().at(arg.toInt() - 1));
            else if (verb == u"type") type(text->engine(), arg);
            else if (verb == u"check") doc()->findChild<QAbstractButton *>(arg)->setChecked(true);
            else if (verb == u"click") QTest::mouseClick(doc()->findChild<QPushButton *>(arg), Qt::LeftButton);
            else if (verb == u"text") text->setText(arg);
            else if (verb == u"undo-key") QTest::keyClick(text->engine(), Qt::Key_Z, Qt::ControlModifier);
            else QFAIL(qPrintable("unknown step " + step));
        }
    }
};

} // namespace

class TestNumberingUi : public QObject {
    Q_OBJECT

private slots:
    // The texts of the windows (joined by "|") after the steps, and the message box shown.
    void numbering_data()
    {
        QTest::addColumn<QString>("steps"); QTest::addColumn<QString>("expected"); QTest::addColumn<QString>("box");
        auto row = [](const char *name, const QByteArray &steps, const char *expected, const char *box = "") {
            QTest::newRow(name) << QString::fromUtf8(steps) << QString::fromUtf8(expected) << QString::fromUtf8(box);
        };
        const char *renumber = "new:at opening|run:Mnu_Renumeroter|";
        const QByteArray jumps = QByteArray(renumber) + "text:N1 G00\r\nN2 GOTO 1\r\nN3 GOTOF 9\r\nN4 M97 P2|";
        // Renumbering: the step field, the number form, the first number and the jump option.
        row("step 51 taken as 50", "new:N5 X1|run:Mnu_Renumeroter|Text5:\b\b51|click:Command6", "N50 X1",
            "Pas de renumérotation maximum =50 !");
        row("step emptied: no run", "new:N5 X1|run:Mnu_Renumeroter|Text5:\b\b|click:Command6", "N5 X1");
        row("N form, step 10, jumps left", jumps + "click:Command6",
            "N10 G00\r\nN20 GOTO 1\r\nN30 GOTOF 9\r\nN40 M97 P2");
        row("digits, step 5, first 100",
            "new:|run:Mnu_Renumeroter|Text5:\b\b5|check:Option6|startNumber:100|text:3 G00\r\n17G01\r\n\r\nG04|click:Command6",
            "100 G00\r\n105 G01\r\n\r\nG04");
        row("jumps updated", jumps + "check:updateJumps|click:Command6",
            "N10 G00\r\nN20 GOTO 10\r\nN30 GOTOF 9\r\nN40 M97 P20", "2 sauts mis à jour, 1 cibles introuvables");
        // The text changed after the opening: the run took a snapshot of its own.
        row("run undone", QByteArray(renumber) + "text:N1 X|click:Command6|run:Mnu_Annuler", "N1 X");
        // The selection from inside "N2 Y" to inside "N3 Z" counts UTF-16 units of a text holding an
        // accent and a character beyond the BMP: its conversion to byte offsets must be exact.
        const QByteArray utf16 = "new:(é \xF0\x9F\x98\x80)\r\nN1 X\r\nN2 Y\r\nN3 Z\r\nN4 W|run:Mnu_Renumeroter|"
                                 "startNumber:100|select:16,";
        row("selection only", utf16 + "5|check:selectionOnly|click:Command6",
            "(é \xF0\x9F\x98\x80)\r\nN1 X\r\nN100 Y\r\nN110 Z\r\nN4 W");
        row("option on, nothing selected", utf16 + "0|check:selectionOnly|click:Command6",
            "(é \xF0\x9F\x98\x80)\r\nN100 X\r\nN110 Y\r\nN120 Z\r\nN130 W");
        // Automatic numbering: Enter opens each new line with the next number, in the window's form.
        row("N form", "new:|run:Mnu_NumAuto|type:G00 X0\nG01\nG02", "G00 X0\r\nN10 G01\r\nN20 G02");
        row("digits", "new:|run:Mnu_NumAuto|check:Option8|type:G00 X0\nG01\nG02", "G00 X0\r\n10 G01\r\n20 G02");
        row("selection replaced", "new:G00 X0 Y0|run:Mnu_NumAuto|select:6,3|type:\nG01", "G00 X0\r\nN10 G01");
        row("LF lines", "new:|lf|run:Mnu_NumAuto|type:G00\n", "G00\nN10 ");
        // The editor's own undo takes back line end and number together.
        row("LF lines, editor undo", "new:|lf|run:Mnu_NumAuto|type:G00\n|undo-key", "G00");
        // The form belongs to each window; the number counts on across windows.
        row("two windows, two forms",
            "new:|run:Mnu_NumAuto|check:Option8|new:|win:1|type:A\nB|win:2|type:C\nD|win:1|type:\nE",
            "A\r\n10 B\r\n30 E|C\r\nN20 D");
        row("suspended and resumed", "new:|run:Mnu_NumAuto|type:A\nB|click:Command9|type:\nC|click:Command10|type:\nD",
            "A\r\nN10 B\r\nC\r\nN20 D");
        // Reopened, the next number is shown whole although it is longer than its field.
        row("next number typed, then reopened",
            "new:|run:Mnu_NumAuto|Text6:\b\b99990|type:\n\n|click:Command11|run:Mnu_NumAuto|type:\n",
            "\r\nN99990 \r\nN100000 \r\nN100010 ");
        row("increment emptied", "new:|run:Mnu_NumAuto|Text7:\b\b|type:\n\n\n", "\r\nN10 \r\nN10 \r\nN10 ");
        row("field takes digits and Backspace", "new:|run:Mnu_NumAuto|Text6:\b\b1a-2 .39\b|type:\n", "\r\nN123 ");
        row("field takes five digits", "new:|run:Mnu_NumAuto|Text6:\b\b1234567|type:\n", "\r\nN12345 ");
        row("window closed: numbering stops", "new:|new:|run:Mnu_NumAuto|run:Mnu_Close|type:A\nB", "A\r\nB");
    }
    void numbering()
    {
        QFETCH(QString, steps); QFETCH(QString, expected); QFETCH(QString, box);
        App app;
        if (!box.isEmpty())
            app.fakes.messageBox.answerOk();
        app.play(steps);
        QStringList texts;
        for (Form1 *doc : app.main->documents())
            texts << doc->Text1->text();
        QCOMPARE(texts.join(u'|'), expected);
        QCOMPARE(app.fakes.messageBox.boxes().isEmpty() ? QString() : app.fakes.messageBox.last().text, box);
        QVERIFY(!QApplication::overrideCursor()); // the run is over, box included
        for (QProgressBar *bar : app.main->findChildren<QProgressBar *>())
            QVERIFY(!bar->isVisible());
    }

    // Each panel opens between the text and the status bar, whatever the window's size, with every
    // control inside it and the focus in its first field; its closing button gives the room back.
    void panels_data()
    {
        QTest::addColumn<QString>("item"); QTest::addColumn<int>("frame");
        QTest::addColumn<bool>("snapshot"); // the opening records one
        QTest::addColumn<QString>("focus"); QTest::addColumn<QString>("closeButton");
        QTest::newRow("renumbering") << "Mnu_Renumeroter" << 3 << true << "Text5" << "Command7";
        QTest::newRow("automatic numbering") << "Mnu_NumAuto" << 6 << false << "Text6" << "Command11";
    }
    void panels()
    {
        QFETCH(QString, item); QFETCH(int, frame); QFETCH(bool, snapshot); QFETCH(QString, focus);
        QFETCH(QString, closeButton);
        App app;
        app.play("new:N1 G00\r\nN2 G01|run:" + item);
        Form1 *doc = app.doc();
        QGroupBox *panel = frame == 3 ? doc->Frame3 : doc->Frame6;
        doc->resize(600, 380);
        QVERIFY(panel->isVisible());
        QCOMPARE(doc->AnnulRedo, snapshot);
        QCOMPARE(QApplication::focusWidget(), panel->findChild<QWidget *>(focus));
        QCOMPARE(panel->geometry().bottom() + 1, doc->StatusBar1->geometry().top());
        QCOMPARE(doc->Text1->geometry(), QRect(0, 0, 600, panel->y()));
        for (QWidget *w : panel->findChildren<QWidget *>())
            if (w->isVisible())
                QVERIFY2(panel->rect().contains(QRect(w->mapTo(panel, QPoint()), w->size())), qPrintable(w->objectName()));
        // The first number of a renumbering takes no pasted sign (typing is tried above).
        if (auto *start = panel->findChild<QLineEdit *>("startNumber")) {
            QGuiApplication::clipboard()->setText("-5");
            start->paste();
            QCOMPARE(start->text(), QString());
        }
        QTest::mouseClick(panel->findChild<QPushButton *>(closeButton), Qt::LeftButton);
        QVERIFY(!panel->isVisible());
        QCOMPARE(app.mismatches("Mnu_Rechercher Mnu_Remplacer Mnu_Renumeroter Mnu_NumAuto #14 #15"), QString());
        QCOMPARE(doc->Text1->height(), doc->StatusBar1->geometry().top());
        QCOMPARE(app.main->state().NumAutoActif, 0);
        QCOMPARE(doc->AnnulRedo, snapshot); // closing leaves the snapshot alone
    }
};

QTEST_MAIN(TestNumberingUi)
#include "tst_numbering_ui.moc"

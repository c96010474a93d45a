// The find and replace panels, driven as a user would: menu actions, text typed into the boxes,
// buttons clicked, keys pressed; message boxes answered by the fake. A scenario is a line of steps
// named after the controls: "Text2=G01 Command1" types G01 into the search box and clicks "&Suivant".
#include "app/MDIForm1.h"
#include "document/Form1.h"
#include "document/StatusBar1Widget.h"
#include "platform/RichTextBox.h"
#include "search/ReplacePanel.h"
#include "tests/support/FakeServices.h"

#include <Qsci/qsciscintilla.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <sys/resource.h>
#include <unistd.h>

#include <fstream>
#include <memory>

using namespace tarmel;

namespace {

// While it lives, the process may grow its address space by `headroom` bytes only.
class AddressSpaceLimit {
public:
    explicit AddressSpaceLimit(rlim_t headroom)
    {
        getrlimit(RLIMIT_AS, &old_);
        rlim_t pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        rlimit limited = old_;
        limited.rlim_cur = pages * rlim_t(sysconf(_SC_PAGESIZE)) + headroom;
        active_ = pages > 0 && setrlimit(RLIMIT_AS, &limited) == 0;
    }
    ~AddressSpaceLimit() { setrlimit(RLIMIT_AS, &old_); }
    bool active() const { return active_; }

private:
    rlimit old_{};
    bool active_ = false;
};

// Typed as keys; a character beyond ASCII comes as the text of a key without a key code.
void typeInto(QWidget *target, const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClicks(target, QString(c));
        else
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

const QString kTwoLines = QStringLiteral("G01 X10\r\nG01 Y20");

} // namespace

class TestSearchUi : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testsupport::FakeServices> fakes;
    std::unique_ptr<MDIForm1> main;
    QList<Form1 *> docs;

    Form1 *doc() const { return main->activeDocument(); }
    void newDocument(const QString &text)
    {
        main->NouveauFichier();
        doc()->Text1->setText(text);
        docs << doc();
    }
    QString selection() const
    {
        return QStringLiteral("%1,%2").arg(doc()->Text1->selStart()).arg(doc()->Text1->selLength());
    }
    QString messages() const
    {
        QStringList shown;
        for (const auto &box : fakes->messageBox.boxes())
            shown << QStringLiteral("%1 [%2] %3").arg(box.title).arg(box.flags).arg(box.text);
        return shown.join(QStringLiteral(" | "));
    }
    QString replaceState() const
    {
        const ReplacePanel *p = ReplacePanel::of(doc());
        const bool searching = p->Command4->isVisible() && p->Command5->isVisible();
        const bool offering = p->Command2->isVisible() && p->Command8->isVisible();
        return doc()->Frame2->isHidden() ? QStringLiteral("Hidden")
               : searching == offering   ? QStringLiteral("both pairs or none")
               : searching               ? QStringLiteral("Searching")
                                         : QStringLiteral("Offering");
    }

    // Steps separated by blanks: a menu item; "Name=text" typed into an emptied box; "Enter:Name" or
    // "Escape:Name" pressed in a control (Text1: the editing area); "sel:S,L" selects in the text;
    // "type:text" types into the text; "new" opens a window with the first one's text; "doc:N"
    // activates the N-th window; any other name clicks that button, check box or option.
    void run(const QString &steps)
    {
        for (const QString &step : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString kind = step.section(QLatin1Char(':'), 0, 0), arg = step.section(QLatin1Char(':'), 1);
            const auto widget = [this](const QString &name) {
                return name == QStringLiteral("Text1") ? doc()->Text1->engine() : doc()->findChild<QWidget *>(name);
            };
            if (step.startsWith(QStringLiteral("Mnu_"))) {
                main->action(step)->trigger();
            } else if (const int eq = step.indexOf(QLatin1Char('=')); eq > 0) {
                auto *box = doc()->findChild<QLineEdit *>(step.left(eq));
                box->clear();
                typeInto(box, step.mid(eq + 1));
            } else if (kind == QStringLiteral("sel")) {
                doc()->Text1->setSelStart(arg.section(QLatin1Char(','), 0, 0).toLongLong());
                doc()->Text1->setSelLength(arg.section(QLatin1Char(','), 1).toLongLong());
            } else if (kind == QStringLiteral("type")) {
                typeInto(widget(QStringLiteral("Text1")), arg);
            } else if (step == QStringLiteral("new")) {
                newDocument(docs.first()->Text1->text());
            } else if (kind == QStringLiteral("doc")) {
                main->activateDocument(docs.at(arg.toInt() - 1));
            } else if (kind == QStringLiteral("Enter") || kind == QStringLiteral("Escape")) {
                QTest::keyClick(widget(arg), kind == QStringLiteral("Enter") ? Qt::Key_Return : Qt::Key_Escape);
            } else {
                doc()->findChild<QAbstractButton *>(step)->click();
            }
        }
    }

private slots:
    void init()
    {
        fakes = std::make_unique<testsupport::FakeServices>();
        fakes->messageBox.autoOk = true;
        main = std::make_unique<MDIForm1>(fakes->services());
        main->startUp({});
        main->resize(1000, 700);
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
        docs.clear();
    }
    void cleanup()
    {
        for (Form1 *d : main->documents())
            d->Change = false; // no save question while the window goes
        main.reset();
        fakes.reset();
    }

    // Captions, defaults, colours, accessible names, tab order, and every control inside its frame.
    void panelControls_data()
    {
        QTest::addColumn<QString>("open");
        QTest::addColumn<QString>("captions"); // name=caption, one checked control marked with *
        QTest::addColumn<QString>("boxes");    // name=background=accessible name
        QTest::addColumn<QString>("tabOrder");
        QTest::newRow("find") << "Mnu_Rechercher"
                              << "Frame1= Rechercher chaîne |Label1=Rechercher :|Label8=Différencier|Check1=Mot entier"
                                 "|chkCase=Majuscule / Minuscule|Frame4= Direction |Option1=&Haut|*Option2=&Bas"
                                 "|Command1=&Suivant|Command3=&Annuler"
                              << "Text2=#c0ffc0=Rechercher :"
                              << "Text2 Check1 chkCase Option1 Option2 Command1 Command3";
        QTest::newRow("replace") << "Mnu_Remplacer"
                                 << "Frame2= Remplacer chaîne |Label2=Rechercher :|Label3=Remplacer par :"
                                    "|Label7=Différencier|Check3=Mot entier|Check2=Majuscule / Minuscule"
                                    "|Frame5= Direction|Option3=&Haut|*Option4=&Bas|Command4=&Suivant"
                                    "|Command5=&Annuler|Command2=Remp&lacer|Command8=&Sauter"
                                    "|replaceAllButton=&Tout remplacer"
                                 << "Text3=#c0ffc0=Rechercher :|Text4=#c0ffff=Remplacer par :"
                                 << "Text3 Text4 Check3 Check2 Option3 Option4 Command4 Command5 Command2 Command8 "
                                    "replaceAllButton";
    }
    void panelControls()
    {
        QFETCH(QString, open);
        QFETCH(QString, captions);
        QFETCH(QString, boxes);
        QFETCH(QString, tabOrder);
        newDocument(QStringLiteral("N10 G01 X10"));
        run(open);
        for (QString pair : captions.split(QLatin1Char('|'))) {
            const bool checked = pair.startsWith(QLatin1Char('*'));
            pair.remove(QLatin1Char('*'));
            QWidget *w = doc()->findChild<QWidget *>(pair.section(QLatin1Char('='), 0, 0));
            QCOMPARE(w->property(w->inherits("QGroupBox") ? "title" : "text").toString(), pair.section(u'=', 1));
            QCOMPARE(w->property("checked").toBool(), checked);
        }
        for (const QString &spec : boxes.split(QLatin1Char('|'))) {
            const QStringList part = spec.split(QLatin1Char('='));
            auto *box = doc()->findChild<QLineEdit *>(part.at(0));
            QCOMPARE(box->palette().color(QPalette::Base).name(), part.at(1));
            QCOMPARE(box->accessibleName(), part.at(2));
        }
        const QStringList order = tabOrder.split(QLatin1Char(' '));
        for (qsizetype i = 1; i < order.size(); ++i) { // the next control that Tab reaches
            QWidget *next = doc()->findChild<QWidget *>(order.at(i - 1))->nextInFocusChain();
            while (!(next->focusPolicy() & Qt::TabFocus))
                next = next->nextInFocusChain();
            QCOMPARE(next->objectName(), order.at(i));
        }
        QGroupBox *frame = open == QStringLiteral("Mnu_Rechercher") ? doc()->Frame1 : doc()->Frame2;
        for (QWidget *c : frame->findChildren<QWidget *>())
            if (c->isVisible())
                QVERIFY2(frame->rect().contains(QRect(c->mapTo(frame, QPoint()), c->size())), qPrintable(c->objectName()));
        QCOMPARE(doc()->Text1->height(), frame->y());
        QCOMPARE(frame->geometry().bottom() + 1, doc()->StatusBar1->geometry().top());
    }

    // Openings, searches and replacements. Expected: the text (empty: unchanged), the message boxes,
    // and checks: "sel=S,L", "state=" of the replace panel, "pos=" PosTrouvee, "focus=Name",
    // "Name=text" of a box, "+Name" / "-Name" enabled or not (a control or a menu item), "doc=N".
    void scenarios_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("checks");
        QTest::addColumn<QString>("messages");
        const auto row = [](const char *name, const QString &text, const char *steps, const char *result,
                            const char *checks, const char *messages = "") {
            const QString notFound = QStringLiteral("Chaîne non trouvée ! [0] Impossible de trouver la chaîne ");
            QTest::newRow(name) << text << QString::fromUtf8(steps) << QString::fromUtf8(result)
                                << QString::fromUtf8(checks)
                                << QString::fromUtf8(messages).replace(QStringLiteral("NF "), notFound);
        };
        const QString line = QStringLiteral("G01 X10 Y5"), three = QStringLiteral("G0 G0 G0");
        const char *two = "Remplacer [0] 2 remplacement(s) effectué(s)";
        // Opening
        row("find, X10 selected", line, "sel:4,3 Mnu_Rechercher", "", "Text2=X10 +Command1 sel=4,0 focus=Text2 -Mnu_NumAuto");
        row("replace, nothing selected", line, "Mnu_Remplacer", "", "Text3= -Command4 -replaceAllButton focus=Text3");
        row("replace, both boxes kept", line, "Mnu_Remplacer Text3=X10 Text4=X20 Command5 Mnu_Remplacer", "",
            "Text3=X10 Text4=X20 -Command4 +Mnu_Annuler");
        row("replace, boxes kept, one edited", line, "Mnu_Remplacer Text3=X10 Text4=X2 Command5 Mnu_Remplacer Text4=X3",
            "", "+Command4 +replaceAllButton");
        row("replace, the same string selected", line,
            "Mnu_Remplacer Text3=X10 Text4=X20 Command5 sel:4,3 Mnu_Remplacer", "", "Text3=X10 +Command4 sel=4,0");
        row("replace, selection, replacement used before", line,
            "Mnu_Remplacer Text3=G01 Text4=X20 Command4 Command8 Text4= Command5 sel:4,3 Mnu_Remplacer", "",
            "Text3=X10 Text4= +Command4 sel=4,0");
        // Find
        row("first search finds G01 at the caret", kTwoLines, "Mnu_Rechercher Text2=G01 Command1", "",
            "sel=0,3 pos=0 focus=Text1");
        row("repeated search steps over the hit", kTwoLines, "Mnu_Rechercher Text2=G01 Command1 Command1", "",
            "sel=9,3 pos=9");
        row("caret placed before an occurrence", kTwoLines, "sel:9,0 Mnu_Rechercher Text2=g01 Command1", "", "sel=9,3");
        row("upward from the start", kTwoLines, "Mnu_Rechercher Text2=G01 Option1 Command1", "",
            "sel=0,0 pos=0 focus=Text2", "NF \"G01\"");
        row("é finds É, positions in characters", "N1 (ÉTÉ) N2", "Mnu_Rechercher Text2=été Command1", "", "sel=4,3");
        row("two-unit character before the hit", "😀é G01", "Mnu_Rechercher Text2=G01 Command1", "", "sel=4,3 pos=4");
        row("whole word at the end of a line", "G01 X10\r\nY5", "Mnu_Rechercher Text2=X10 Check1 Command1", "", "sel=4,3");
        row("whole word, never inside X100", "G01 X100 X10.5", "Mnu_Rechercher Text2=X10 Check1 Command1", "",
            "sel=0,0", "NF \"X10\"");
        row("Enter in the search box", kTwoLines, "Mnu_Rechercher Text2=Y20 Enter:Text2", "", "sel=13,3");
        // Replace
        row("whole word replaced, blanks kept", line, "Mnu_Remplacer Text3=X10 Text4=X20 Check3 Command4 Command2",
            "G01 X20 Y5", "sel=7,0 state=Searching");
        row("every occurrence, then not found", "G0 G0",
            "Mnu_Remplacer Text3=G0 Text4=G1 Command4 Command2 Command4 Command2 Command4", "G1 G1",
            "sel=5,0 state=Searching", "NF \"G0\"");
        row("upward G0 to G00, each once", three,
            "sel:8,0 Mnu_Remplacer Text3=G0 Text4=G00 Option3 Command4 Command2 Command4 Command2 Command4 Command2 "
            "Command4",
            "G00 G00 G00", "sel=3,0", "NF \"G0\"");
        row("skip, then the next one", three, "Mnu_Remplacer Text3=G0 Text4=G1 Command4 Command8 Command4", "",
            "sel=3,2 state=Offering");
        row("caret moved: nothing replaced", three, "Mnu_Remplacer Text3=G0 Text4=G1 Command4 sel:4,0 Command2 Command4",
            "", "sel=6,2 state=Offering");
        row("other occurrence selected: nothing replaced", three,
            "Mnu_Remplacer Text3=G0 Text4=G1 Command4 sel:3,2 Command2", "", "sel=3,2 state=Searching");
        row("typed in the text, occurrence selected again", three,
            "Mnu_Remplacer Text3=G0 Text4=G1 Command4 sel:5,0 type:M sel:0,2 Command2", "G0 G0M G0", "sel=0,2");
        row("replacement as it was at Suivant", "G0 X1", "Mnu_Remplacer Text3=G0 Text4=G1 Command4 Text4=G2 Command2",
            "G1 X1", "sel=2,0");
        row("Escape in the text while offering skips", three, "Mnu_Remplacer Text3=G0 Text4=G1 Command4 Escape:Text1",
            "", "sel=0,2 state=Searching");
        row("replace all, downwards from the caret", "G0 X1\r\nG0 X2\r\nG0",
            "sel:7,0 Mnu_Remplacer Text3=g0 Text4=G1 replaceAllButton", "G0 X1\r\nG1 X2\r\nG1", "sel=7,0", two);
        row("replace all, upwards from the caret", "G0 X1\r\nG0 X2\r\nG0",
            "sel:7,0 Mnu_Remplacer Text3=G0 Text4=G01 Option3 replaceAllButton", "G01 X1\r\nG0 X2\r\nG0", "sel=8,0",
            "Remplacer [0] 1 remplacement(s) effectué(s)");
        row("replace all from an offered one", three,
            "Mnu_Remplacer Text3=G0 Text4=G1 Command4 Command8 Command4 replaceAllButton", "G0 G1 G1",
            "sel=3,0 state=Searching", two);
        row("replace all, none", three, "Mnu_Remplacer Text3=M3 Text4=M4 replaceAllButton", "", "state=Searching",
            "Remplacer [0] 0 remplacement(s) effectué(s)");
        row("replace three, then Edit Annuler", three,
            "Mnu_Remplacer Text3=G0 Text4=G1 Command4 Command2 Command4 Command2 Command4 Command2 Command5 Mnu_Annuler",
            "", "state=Hidden -Mnu_Annuler");
        row("replace all, then Edit Annuler", three,
            "Mnu_Remplacer Text3=G0 Text4=G1 replaceAllButton Command5 Mnu_Annuler", "", "state=Hidden", "Remplacer [0] 3 remplacement(s) effectué(s)");
        // One search state for both windows and both panels
        row("up in one window, search in another showing down", kTwoLines,
            "new Mnu_Rechercher Option1 Command3 doc:1 sel:16,0 Mnu_Rechercher Text2=G01 Command1", "", "doc=1 sel=9,3");
        row("case box of the replace panel, find panel unchecked", kTwoLines,
            "new Mnu_Remplacer Check2 Command5 doc:1 sel:2,0 Mnu_Rechercher Text2=g01 Command1", "", "doc=1 sel=2,0",
            "NF \"g01\"");
        row("another window's hit is not stepped over", kTwoLines,
            "new Mnu_Rechercher Text2=G01 Command1 Command3 doc:1 Mnu_Rechercher Text2=G01 sel:0,3 Command1", "",
            "doc=1 sel=0,3");
        row("replacement taken in another window, empty here", kTwoLines,
            "new Mnu_Remplacer Text3=G01 Text4=X20 Command4 Command8 Command5 doc:1 sel:9,3 Mnu_Remplacer Command4 "
            "Command2",
            "G01 X10\r\n Y20", "doc=1 sel=9,0 pos=9");
    }
    void scenarios()
    {
        QFETCH(QString, text);
        QFETCH(QString, steps);
        QFETCH(QString, result);
        QFETCH(QString, checks);
        QFETCH(QString, messages);
        newDocument(text);
        run(steps);
        QCOMPARE(docs.first()->Text1->text(), result.isEmpty() ? text : result);
        QCOMPARE(this->messages(), messages);
        for (const QString &check : checks.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString name = check.section(QLatin1Char('='), 0, 0), value = check.section(QLatin1Char('='), 1);
            if (check.startsWith(QLatin1Char('+')) || check.startsWith(QLatin1Char('-'))) {
                QObject *o = check.contains(QStringLiteral("Mnu_")) ? static_cast<QObject *>(main->action(check.mid(1)))
                                                                     : doc()->findChild<QWidget *>(check.mid(1));
                QVERIFY2(o && o->property("enabled").toBool() == check.startsWith(QLatin1Char('+')), qPrintable(check));
            } else if (name == QStringLiteral("sel")) {
                QCOMPARE(selection(), value);
            } else if (name == QStringLiteral("state")) {
                QCOMPARE(replaceState(), value);
            } else if (name == QStringLiteral("pos")) {
                QCOMPARE(main->state().PosTrouvee, value.toLongLong());
            } else if (name == QStringLiteral("doc")) {
                QCOMPARE(doc(), docs.at(value.toInt() - 1));
            } else if (name == QStringLiteral("focus")) {
                QCOMPARE(QApplication::focusWidget(), value == QStringLiteral("Text1") ? doc()->Text1->engine()
                                                                                       : doc()->findChild<QWidget *>(value));
            } else {
                QCOMPARE(doc()->findChild<QLineEdit *>(name)->text(), value);
            }
        }
    }

    // The replace panel between Hidden, Searching and Offering; the panel commands come back
    // exactly when it is hidden.
    void replacePanelStates_data()
    {
        QTest::addColumn<QString>("reach");
        QTest::addColumn<QString>("event");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        const QString searching = QStringLiteral("Mnu_Remplacer Text3=G0 Text4=G1 ");
        const QString offering = searching + QStringLiteral("Command4");
        QTest::newRow("open") << "" << "Mnu_Remplacer" << "Hidden" << "Searching";
        QTest::newRow("next, found") << searching << "Command4" << "Searching" << "Offering";
        QTest::newRow("next, not found") << searching + "Text3=M3" << "Command4" << "Searching" << "Searching";
        QTest::newRow("replace") << offering << "Command2" << "Offering" << "Searching";
        QTest::newRow("replace, occurrence left") << offering + " sel:1,0" << "Command2" << "Offering" << "Searching";
        QTest::newRow("skip") << offering << "Command8" << "Offering" << "Searching";
        QTest::newRow("Escape, offering") << offering << "Escape:Text3" << "Offering" << "Searching";
        QTest::newRow("replace all, offering") << offering << "replaceAllButton" << "Offering" << "Searching";
        QTest::newRow("close") << searching << "Command5" << "Searching" << "Hidden";
        QTest::newRow("Escape, searching") << searching << "Escape:Command4" << "Searching" << "Hidden";
    }
    void replacePanelStates()
    {
        QFETCH(QString, reach);
        QFETCH(QString, event);
        QFETCH(QString, from);
        QFETCH(QString, to);
        newDocument(QStringLiteral("G0 G0 G0"));
        run(reach);
        QCOMPARE(replaceState(), from);
        run(event);
        QCOMPARE(replaceState(), to);
        QCOMPARE(main->action(QStringLiteral("Mnu_Remplacer"))->isEnabled(), to == QStringLiteral("Hidden"));
        QCOMPARE(main->button(14)->isEnabled(), to == QStringLiteral("Hidden"));
    }

    // A search or a replacement that runs out of memory says so and changes nothing.
    void failureShowsTheErrorMessage_data()
    {
        QTest::addColumn<bool>("replaceAll");
        QTest::newRow("find: the string is too large to prepare") << false;
    }
    void failureShowsTheErrorMessage()
    {
        QFETCH(bool, replaceAll);
        const QString text = QStringLiteral("G0 X1\r\n").repeated(1 << 20);
        newDocument(text);
        run(QStringLiteral("sel:5,0 Mnu_Remplacer Text3=G0 Text4=G00"));
        main->state().PosTrouvee = 3;
        if (!replaceAll)
            main->state().ChaineCherchee = QString(64 << 20, QLatin1Char('G'));
        {
            AddressSpaceLimit limit(4 << 20);
            if (!limit.active())
                QSKIP("the address space cannot be limited here");
            if (replaceAll)
                run(QStringLiteral("replaceAllButton"));
            else
                main->FindIt();
        }
        QCOMPARE(messages(), QStringLiteral("Erreur [48] Erreur lors de la recherche ou programme trop voluimineux !"));
        QCOMPARE(main->state().PosTrouvee, qint64(3));
        QCOMPARE(doc()->Text1->textLength(), text.size());
        QCOMPARE(selection(), QStringLiteral("5,0"));
    }
};

QTEST_MAIN(TestSearchUi)
#include "tst_search_ui.moc"

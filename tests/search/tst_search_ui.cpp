// The find and replace panels, driven as a user would: menu actions, text written into the boxes,
// buttons clicked, keys pressed; message boxes answered by the fake. A scenario is a line of steps
// named after the controls: "Text2=G01 Command1" writes G01 into the search box and clicks "&Suivant".
#include "app/MDIForm1.h"
#include "document/Form1.h"
#include "document/StatusBar1Widget.h"
#include "platform/RichTextBox.h"
#include "search/ReplacePanel.h"
#include "tests/support/TestApp.h"

#include <Qsci/qsciscintilla.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <fstream>
#include <memory>

using namespace tarmel;

// While it lives, the process may grow its address space by `headroom` bytes only.
struct AddressSpaceLimit {
    rlimit old{};
    bool active = false;
    explicit AddressSpaceLimit(rlim_t headroom)
    {
        getrlimit(RLIMIT_AS, &old);
        rlim_t pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        rlimit limited{pages * rlim_t(sysconf(_SC_PAGESIZE)) + headroom, old.rlim_max};
        active = pages > 0 && setrlimit(RLIMIT_AS, &limited) == 0;
    }
    ~AddressSpaceLimit() { setrlimit(RLIMIT_AS, &old); }
};

class TestSearchUi : public QObject {
    Q_OBJECT
    std::unique_ptr<testsupport::TestApp> app;
    MDIForm1 *main = nullptr;

    Form1 *doc() const { return main->activeDocument(); }
    QWidget *widget(const QString &n) const { return n == u"Text1" ? doc()->Text1->engine() : doc()->findChild<QWidget *>(n); }
    Form1 *window(int n) const { return main->documents().at(n - 1); }
    void newDocument(const QString &text) { main->NouveauFichier(), doc()->Text1->setText(text); }
    QString replaceState() const
    {
        const ReplacePanel *p = ReplacePanel::of(doc());
        const bool searching = p->Command4->isVisible() && p->Command5->isVisible();
        if (doc()->Frame2->isHidden() || searching == (p->Command2->isVisible() && p->Command8->isVisible()))
            return doc()->Frame2->isHidden() ? "Hidden" : "both pairs or none";
        return searching ? "Searching" : "Offering";
    }

    // Steps separated by blanks: a menu item; "Name=text" written into a box; "Enter:Name" or
    // "Escape:Name" pressed in a control (Text1: the editing area); "sel:S,L" selects in the text;
    // "new" opens a window with the first one's text; "doc:N" activates the N-th window; "oom:X" runs
    // the step X (FindIt: with a string too large to prepare) with hardly any memory left, false when
    // the memory cannot be limited here; any other name clicks that button, check box or option.
    bool run(const QString &steps)
    {
        for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts)) {
            const QString kind = step.section(u':', 0, 0), arg = step.section(u':', 1);
            if (step.startsWith("Mnu_")) main->action(step)->trigger();
            else if (const int eq = step.indexOf(u'='); eq > 0) doc()->findChild<QLineEdit *>(step.left(eq))->setText(step.mid(eq + 1));
            else if (kind == u"sel")
                doc()->Text1->setSelStart(arg.section(u',', 0, 0).toLongLong()), doc()->Text1->setSelLength(arg.section(u',', 1).toLongLong());
            else if (step == u"new") newDocument(window(1)->Text1->text());
            else if (kind == u"doc") main->activateDocument(window(arg.toInt()));
            else if (kind == u"Enter" || kind == u"Escape") QTest::keyClick(widget(arg), kind == u"Enter" ? Qt::Key_Return : Qt::Key_Escape);
            else if (kind != u"oom") doc()->findChild<QAbstractButton *>(step)->click();
            else {
                if (arg == u"FindIt")
                    main->state().ChaineCherchee = QString(64 << 20, u'G');
                AddressSpaceLimit limit(4 << 20);
                if (!limit.active)
                    return false;
                arg == u"FindIt" ? main->FindIt() : void(run(arg));
            }
        }
        return true;
    }

    // The open panel's visible controls lie inside its frame, which lies between the text and the status bar.
    void checkFrame(QGroupBox *frame)
    {
        for (QWidget *c : frame->findChildren<QWidget *>())
            if (c->isVisible())
                QVERIFY2(frame->rect().contains(QRect(c->mapTo(frame, QPoint()), c->size())), qPrintable(c->objectName()));
        QCOMPARE(doc()->Text1->height(), frame->y());
        QCOMPARE(frame->geometry().bottom() + 1, doc()->StatusBar1->geometry().top());
    }

private slots:
    void init()
    {
        mallopt(M_MMAP_THRESHOLD, 1 << 20); // a large block freed leaves no room behind: memory limits stay exact
        app = std::make_unique<testsupport::TestApp>();
        app->fakes.messageBox.autoOk = true;
        main = app->main.get();
        QVERIFY(app->showWindow());
    }
    void cleanup()
    {
        for (Form1 *d : main->documents())
            d->Change = false; // no save question while the window goes
        app.reset();
    }

    // Openings, searches and replacements. Expected: the text (empty: unchanged), the message boxes,
    // and checks: "sel=S,L", "state=" of the replace panel, "focus=Name", "frame=N" (FrameN's layout),
    // "Name=text" of a box, "+Name" / "-Name" enabled or not (a control or a menu item), "doc=N".
    void scenarios_data()
    {
        QTest::addColumn<QString>("text"); QTest::addColumn<QString>("steps"); QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("checks"); QTest::addColumn<QString>("messages");
        const auto row = [](const char *name, const QString &text, const QString &steps, const QString &result,
                            const QString &checks, QString messages = {}) {
            messages.replace("NF ", "Chaîne non trouvée ! [0] Impossible de trouver la chaîne ");
            if (messages.startsWith("R:"))
                messages = QString("Remplacer [0] %1 remplacement(s) effectué(s)").arg(messages.mid(2));
            QTest::newRow(name) << text << steps << result << checks << messages;
        };
        const QString line = "G01 X10 Y5", three = "G0 G0 G0", twoLines = "G01 X10\r\nG01 Y20";
        const QString kept = "Mnu_Remplacer Text3=X10 Text4=X20 Command5 ", offer = "Mnu_Remplacer Text3=G0 Text4=G1 Command4 ";
        // Opening
        row("find, X10 selected", line, "sel:4,3 Mnu_Rechercher", "",
            "Text2=X10 +Command1 sel=4,0 focus=Text2 -Mnu_NumAuto frame=1");
        row("replace, boxes kept, Suivant disabled", line, kept + "Mnu_Remplacer", "",
            "Text3=X10 Text4=X20 -Command4 -replaceAllButton +Mnu_Annuler focus=Text3 state=Searching frame=2");
        row("replace, the same string selected", line, kept + "sel:4,3 Mnu_Remplacer", "", "Text3=X10 +Command4 sel=4,0");
        row("replace, selection, replacement used before", line,
            "Mnu_Remplacer Text3=G01 Text4=X20 Command4 Command8 Text4= Command5 sel:4,3 Mnu_Remplacer", "",
            "Text3=X10 Text4= +Command4 sel=4,0");
        // Find
        row("first search finds G01 at the caret", twoLines, "Mnu_Rechercher Text2=G01 Command1", "", "sel=0,3 focus=Text1");
        row("repeated search steps over the hit", twoLines, "Mnu_Rechercher Text2=G01 Command1 Command1", "", "sel=9,3");
        row("upward from the start", twoLines, "Mnu_Rechercher Text2=G01 Option1 Command1", "", "sel=0,0 focus=Text2",
            "NF \"G01\"");
        row("positions in characters", "😀é (ÉTÉ) N2", "Mnu_Rechercher Text2=été Command1", "", "sel=5,3");
        row("whole word, never inside X100", "G01 X100 X10.5", "Mnu_Rechercher Text2=X10 Check1 Command1", "", "sel=0,0",
            "NF \"X10\"");
        row("Enter in the search box", twoLines, "Mnu_Rechercher Text2=Y20 Enter:Text2", "", "sel=13,3");
        // Replace, and the panel between Hidden, Searching and Offering
        row("next found: offered", three, offer, "", "sel=0,2 state=Offering -Mnu_Remplacer");
        row("whole word replaced", line, "Mnu_Remplacer Text3=X10 Text4=X20 Check3 Command4 Command2", "G01 X20 Y5",
            "sel=7,0 state=Searching");
        row("upward GG0, G0 to 0: never into the 0 put in", "GG0",
            "sel:3,0 Mnu_Remplacer Text3=G0 Text4=0 Option3 Command4 Command2 Command4", "G0", "sel=2,0 state=Searching",
            "NF \"G0\"");
        row("upward G0 to G00, each once, then not found twice: never into a replacement", three,
            "sel:8,0 Mnu_Remplacer Text3=G0 Text4=G00 Option3 " + QString("Command4 Command2 ").repeated(3) + "Command4 Command4",
            "G00 G00 G00", "sel=3,0 state=Searching", "NF \"G0\" | NF \"G0\"");
        row("skipped", three, offer + "Command8", "", "sel=0,2 state=Searching");
        row("other occurrence selected: nothing replaced", three, offer + "sel:3,2 Command2", "", "sel=3,2 state=Searching");
        row("text changed, occurrence selected again", three, offer + "sel:5,0 Enter:Text1 sel:0,2 Command2",
            "G0 G0\r\n G0", "sel=0,2");
        row("replacement as it was at Suivant", "G0 X1", offer + "Text4=G2 Command2", "G1 X1", "sel=2,0");
        row("Escape in the text while offering skips", three, offer + "Escape:Text1", "", "sel=0,2 state=Searching");
        row("Escape in the panel while offering skips", three, offer + "Escape:Text3", "", "sel=0,2 state=Searching");
        row("Escape in the panel while searching closes", three, "Mnu_Remplacer Escape:Command4", "",
            "state=Hidden +Mnu_Remplacer");
        row("replace all from an offered one", three, offer + "Command8 Command4 replaceAllButton", "G0 G1 G1",
            "sel=3,0 state=Searching", "R:2");
        row("replace all, upwards from the caret", "G0 X1\r\nG0 X2\r\nG0",
            "sel:7,0 Mnu_Remplacer Text3=G0 Text4=G01 Option3 replaceAllButton", "G01 X1\r\nG0 X2\r\nG0", "sel=8,0", "R:1");
        row("replace all, closed, then Edit Annuler", three, "Mnu_Remplacer Text3=G0 Text4=G1 replaceAllButton Command5 "
            "Mnu_Annuler", "", "state=Hidden -Mnu_Annuler +Mnu_Remplacer", "R:3");
        // Out of memory: the error message, nothing changed
        const QString large = QString("G0 X1\r\n").repeated(1 << 20), error = "Erreur [48] Erreur lors de la recherche ou "
                                                                                "programme trop voluimineux !";
        row("find: the string is too large to prepare", large, "sel:5,0 Mnu_Remplacer Text3=G0 Text4=G00 oom:FindIt", "",
            "sel=5,0", error);
        row("replace all: the new text is too large", large,
            "sel:5,0 Mnu_Remplacer Text3=G0 Text4=G00 oom:replaceAllButton", "", "sel=5,0", error);
        // One search state for both windows and both panels
        row("up in one window, search in another showing down", twoLines,
            "new Mnu_Rechercher Option1 Command3 doc:1 sel:16,0 Mnu_Rechercher Text2=G01 Command1", "", "doc=1 sel=9,3");
        row("another window's hit is not stepped over", twoLines,
            "new Mnu_Rechercher Text2=G01 Command1 Command3 doc:1 Mnu_Rechercher Text2=G01 sel:0,3 Command1", "",
            "doc=1 sel=0,3");
    }
    void scenarios()
    {
        QFETCH(QString, text); QFETCH(QString, steps); QFETCH(QString, result); QFETCH(QString, checks);
        QFETCH(QString, messages);
        newDocument(text);
        if (!run(steps))
            QSKIP("the address space cannot be limited here");
        QCOMPARE(window(1)->Text1->text(), result.isEmpty() ? text : result);
        QStringList shown;
        for (const auto &box : app->fakes.messageBox.boxes())
            shown << QString("%1 [%2] %3").arg(box.title).arg(box.flags).arg(box.text);
        QCOMPARE(shown.join(" | "), messages);
        for (const QString &check : checks.split(u' ', Qt::SkipEmptyParts)) {
            const QString name = check.section(u'=', 0, 0), value = check.section(u'=', 1);
            const bool on = check.startsWith(u'+');
            if (on || check.startsWith(u'-')) {
                const QString item = check.mid(1);
                QObject *o = item.startsWith("Mnu_") ? static_cast<QObject *>(main->action(item)) : widget(item);
                QVERIFY2(o && o->property("enabled").toBool() == on, qPrintable(check));
            } else if (name == u"sel") QCOMPARE(QString("%1,%2").arg(doc()->Text1->selStart()).arg(doc()->Text1->selLength()), value);
            else if (name == u"state") QCOMPARE(replaceState(), value);
            else if (name == u"doc") QCOMPARE(doc(), window(value.toInt()));
            else if (name == u"focus") QCOMPARE(QApplication::focusWidget(), widget(value));
            else if (name == u"frame") checkFrame(value == u"1" ? doc()->Frame1 : doc()->Frame2);
            else QCOMPARE(doc()->findChild<QLineEdit *>(name)->text(), value);
        }
    }
};

QTEST_MAIN(TestSearchUi)
#include "tst_search_ui.moc"

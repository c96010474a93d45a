// The main window and its document windows, driven through the menu actions with fake
// desktop services.
#include "app/DocumentEvents.h"
#include "app/HandOff.h"
#include "app/MDIForm1.h"
#include "document/Form1.h"
#include "document/StatusBar1Widget.h"
#include "platform/RichTextBox.h"
#include "tests/files/FileTestTools.h"
#include "tests/support/TestApp.h"

#include <Qsci/qsciscintilla.h>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

using namespace tarmel;
using testsupport::TestApp;

static QMdiSubWindow *frameOf(Form1 *doc) { return qobject_cast<QMdiSubWindow *>(doc->parentWidget()); }

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    // New windows, the Window menu's list of them, tiling, and the clock of the status bar.
    void documentWindows()
    {
        TestApp app;
        app.main->show();
        app.fakes.clock.setNow(QDateTime(QDate(2026, 3, 4), QTime(7, 5, 9)));
        const QString a = app.openFile("N10\r\n", "a.iso");
        app.trigger("Mnu_Nouveau");
        app.main->button(1)->trigger(); // the toolbar's Nouveau
        QCOMPARE(app.doc(), app.main->documents().at(2));
        QCOMPARE(app.doc()->StatusBar1->panelText(1), "Nouveau.iso");
        QVERIFY(!app.doc()->Change && !app.doc()->anyPanelVisible() && app.doc()->Timer1->isActive());
        app.doc()->Timer1_Timer();
        QCOMPARE(app.doc()->StatusBar1->panelText(4), "07:05:09");
        auto *menu = app.main->findChild<QMenu *>("Mnu_Fenêtre");
        emit menu->aboutToShow();
        QStringList entries;
        for (QAction *action : menu->actions())
            if (action->isCheckable())
                entries << (action->isChecked() ? "* " : "") + action->text();
        QCOMPARE(entries, (QStringList{"&1 " + a, "&2 Nouveau.iso", "* &3 Nouveau.iso"}));
        const QSize area = app.main->mdiArea()->viewport()->size();
        app.trigger("Mnu_MosaHor");
        QList<int> tops;
        for (QMdiSubWindow *sub : app.main->mdiArea()->subWindowList())
            tops << (sub->width() == area.width() ? sub->y() : -1);
        std::sort(tops.begin(), tops.end());
        QCOMPARE(tops, (QList<int>{0, area.height() / 3, 2 * (area.height() / 3)}));
        app.trigger("Mnu_MosaVert");
        for (QMdiSubWindow *sub : app.main->mdiArea()->subWindowList())
            QCOMPARE(sub->height(), area.height());
        menu->actions().at(menu->actions().size() - 3)->trigger(); // choosing an entry activates its window
        QCOMPARE(app.doc()->caption(), a);
    }

    // The question when a modified window closes ("answer" 0: none asked), and what each answer
    // does. "file" empty: a new document, saved through Save As ("save": the name, or "cancel").
    void closeRequest_data()
    {
        QTest::addColumn<QByteArray>("file"); QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("save"); // "fails": the file's place is taken by a folder
        QTest::addColumn<bool>("closed"); QTest::addColumn<QByteArray>("written");
        const int yes = platform::mb::AnswerYes, no = platform::mb::AnswerNo;
        QTest::newRow("unmodified") << QByteArray("N10\r\n") << 0 << "" << true << QByteArray("N10\r\n");
        QTest::newRow("no") << QByteArray("N10\r\n") << no << "" << true << QByteArray("N10\r\n");
        QTest::newRow("yes") << QByteArray("N10\r\n") << yes << "" << true << QByteArray("N20\r\n");
        QTest::newRow("yes, save fails") << QByteArray("N10\r\n") << yes << "fails" << false << QByteArray();
        QTest::newRow("new, yes, saved as") << QByteArray() << yes << "n.iso" << true << QByteArray("N20\r\n");
        QTest::newRow("new, yes, cancelled") << QByteArray() << yes << "cancel" << false << QByteArray();
    }
    void closeRequest()
    {
        QFETCH(QByteArray, file); QFETCH(int, answer); QFETCH(QString, save); QFETCH(bool, closed);
        QFETCH(QByteArray, written);
        TestApp app;
        const QString path = file.isEmpty() ? app.path(save) : app.openFile(file);
        if (file.isEmpty())
            app.trigger("Mnu_Nouveau");
        if (answer) {
            app.doc()->Text1->setText("N20\r\n");
            app.fakes.messageBox.answer(answer);
        }
        if (save == u"fails") {
            QVERIFY(QFile::remove(path) && QDir().mkdir(path));
            app.fakes.messageBox.answerOk();
        }
        if (save == u"cancel")
            app.fakes.commonDialog.expectCancel();
        else if (file.isEmpty())
            app.fakes.commonDialog.expectSave(path, 1);
        const QString caption = app.doc()->caption();
        QCOMPARE(frameOf(app.doc())->close(), closed); // the close box: the same request as "&Fermer"
        QCOMPARE(app.main->documents().isEmpty(), closed);
        QCOMPARE(app.fakes.messageBox.boxes().size(), qsizetype(answer != 0) + qsizetype(save == "fails"));
        if (answer)
            QCOMPARE(app.fakes.messageBox.boxes().first().text,
                     QStringLiteral("Fichier %1 modifié !\r\n            Enregistrer le fichier ? ").arg(caption));
        if (!closed)
            QVERIFY(app.doc()->caption() == caption && app.doc()->Text1->text() == "N20\r\n" && app.doc()->Change);
        if (!written.isEmpty())
            QCOMPARE(TestApp::read(path), written);
    }

    void quit_data()
    {
        QTest::addColumn<QList<int>>("answers"); // the quit question, then one per modified window
        QTest::addColumn<bool>("saveAsCancelled"); QTest::addColumn<bool>("quits");
        const int yes = platform::mb::AnswerYes, no = platform::mb::AnswerNo;
        QTest::newRow("no") << QList<int>{no} << false << false;
        QTest::newRow("yes") << QList<int>{yes, no, no} << false << true;
        QTest::newRow("yes, a save cancelled") << QList<int>{yes, yes} << true << false;
    }
    void quit()
    {
        QFETCH(QList<int>, answers); QFETCH(bool, saveAsCancelled); QFETCH(bool, quits);
        TestApp app;
        app.main->show();
        for (int i = 0; i < 3; ++i)
            app.trigger("Mnu_Nouveau");
        app.main->documents().at(0)->Text1->setText("A");
        app.main->documents().at(2)->Text1->setText("C");
        for (int answer : answers)
            app.fakes.messageBox.answer(answer);
        if (saveAsCancelled)
            app.fakes.commonDialog.expectCancel();
        app.trigger("Mnu_Quitter");
        QCOMPARE(app.fakes.messageBox.boxes().size(), answers.size());
        QCOMPARE(app.fakes.messageBox.boxes().at(0).text, "Quitter Tarmel\r  Confirmez ?");
        QVERIFY(app.main->documents().size() == (quits ? 0 : 3) && app.main->isVisible() == !quits);
    }

    void configuration_data()
    {
        QTest::addColumn<QByteArray>("cfg"); QTest::addColumn<bool>("maximized");
        QTest::addColumn<double>("fontSize"); // 0: the editor keeps a font of its own
        QTest::newRow("maximized, toolbar hidden") << QByteArray(" 1 \r\nCourier New\r\n 12 \r\n 0 \r\n 0 \r\n") << true << 12.0;
        QTest::newRow("short file, no font lines") << QByteArray(" 0 \r\n") << false << 0.0;
        QTest::newRow("no file: defaults") << QByteArray() << false << 10.0;
    }
    void configuration()
    {
        QFETCH(QByteArray, cfg); QFETCH(bool, maximized); QFETCH(double, fontSize);
        TestApp app(false);
        if (!cfg.isEmpty())
            QVERIFY(filetest::writePlain(app.programDir.filePath("Tarmel.cfg"), cfg));
        app.main->startUp({});
        QCOMPARE(app.main->toolbar()->isHidden(), !cfg.isEmpty());
        QCOMPARE(app.main->state().SensRecherche, 1.0f);
        app.main->show();
        app.trigger("Mnu_Nouveau");
        QCOMPARE(frameOf(app.doc())->isMaximized(), maximized);
        const double size = app.doc()->Text1->baseFontSize();
        QVERIFY(fontSize > 0 ? size == fontSize : size > 0);
    }

    // The command line: the file opens here, or goes to the instance already running.
    void startUp_data()
    {
        QTest::addColumn<QStringList>("arguments"); QTest::addColumn<bool>("previousInstance");
        QTest::addColumn<bool>("handOffWritable"); QTest::addColumn<bool>("runs"); QTest::addColumn<bool>("opens");
        const QStringList file{"my", "prog,1.iso"}; // blanks between the arguments
        QTest::newRow("opens") << file << false << true << true << true;
        QTest::newRow("missing: error box") << QStringList{"none.iso"} << false << true << true << false;
        QTest::newRow("second instance hands over") << file << true << true << false << false;
        QTest::newRow("hand-off unwritable: opens here") << file << true << false << true << true;
    }
    void startUp()
    {
        QFETCH(QStringList, arguments); QFETCH(bool, previousInstance); QFETCH(bool, handOffWritable); QFETCH(bool, runs);
        QFETCH(bool, opens);
        TestApp app(false);
        const QString file = app.write("my prog,1.iso", "N20\r\n");
        app.fakes.shell.previousInstance = previousInstance;
        if (!handOffWritable)
            app.fakes.shell.programFolderPath = file + "/inside-a-file";
        const bool errorBox = runs && !opens;
        if (errorBox)
            app.fakes.messageBox.answerOk();
        QCOMPARE(app.main->startUp(arguments), runs);
        QCOMPARE(app.fakes.messageBox.boxes().size(), qsizetype(errorBox));
        QCOMPARE(app.doc() ? app.doc()->caption() : QString(), opens ? file : QString());
        QCOMPARE(takePendingHandOffs(app.programDir.path()).size(), runs ? 0 : 1);
    }

    // The hand-offs of later instances open here, each once, but never under a dialog the user answers.
    void pollOpensHandOffs()
    {
        TestApp app;
        const QString a = app.write("a, b.iso", "N10\r\n"), b = app.write("\"q\".iso", "N20\r\n");
        QVERIFY(writeHandOff(app.programDir.path(), a) && writeHandOff(app.programDir.path(), b));
        QDialog dialog(app.main.get());
        QTimer::singleShot(0, &dialog, [&] {
            app.main->Timer1_Timer();
            dialog.done(int(app.main->documents().size()));
        });
        QCOMPARE(dialog.exec(), 0);
        app.main->Timer1_Timer(), app.main->Timer1_Timer();
        QStringList captions;
        for (Form1 *doc : app.main->documents())
            captions << doc->caption();
        QCOMPARE(captions, (QStringList{a, b}));
    }

    void closingOneOfTwoPanelsKeepsCommandsOff()
    {
        TestApp app;
        app.trigger("Mnu_Nouveau"); // stays open, no panel
        app.trigger("Mnu_Nouveau");
        Form1 *withRenumbering = app.doc();
        app.trigger("Mnu_Nouveau");
        withRenumbering->showPanel(withRenumbering->Frame3);
        app.doc()->showPanel(app.doc()->Frame1);
        app.trigger("Mnu_Close"); // the window with the find panel
        QVERIFY(!app.enabled("Mnu_Renumeroter"));
        app.main->activateDocument(withRenumbering);
        app.trigger("Mnu_Close"); // now no panel is open anywhere
        QCOMPARE(app.main->documents().size(), 1);
        QCOMPARE(app.mismatches("Mnu_Renumeroter #14"), QString());
    }

    // A button runs its menu item's command by its own enabled state; the key is exact.
    void toolbarDispatchesByKey()
    {
        TestApp app;
        app.item("Mnu_Nouveau")->setEnabled(false);
        for (const char *key : {"Nouveau", "nouveau", "Ailleurs"})
            app.main->Toolbar1_ButtonClick(QString::fromLatin1(key));
        QCOMPARE(app.main->documents().size(), 1);
        app.main->Toolbar1_ButtonClick("Fermer");
        QVERIFY(app.main->documents().isEmpty());
    }

    // What watching features see: one change event per modification after a load or a save.
    void documentEvents()
    {
        TestApp app;
        QStringList seen;
        using Signal = void (DocumentEvents::*)(Form1 *);
        for (auto [signal, what] : {std::pair<Signal, const char *>{&DocumentEvents::created, "created"},
                                    {&DocumentEvents::loaded, "loaded"}, {&DocumentEvents::changed, "changed"},
                                    {&DocumentEvents::saved, "saved"}, {&DocumentEvents::closed, "closed"}})
            connect(&app.main->events(), signal, this, [&seen, what] { seen << QString::fromLatin1(what); });
        app.openFile("N10\r\n");
        QWidget *editor = app.doc()->Text1->engine();
        QTest::keyClicks(editor, "AB");
        app.trigger("Mnu_Enregistrer");
        QTest::keyClicks(editor, "C");
        app.fakes.messageBox.answerNo();
        app.trigger("Mnu_Close");
        QCOMPARE(seen, (QStringList{"created", "loaded", "changed", "saved", "changed", "closed"}));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

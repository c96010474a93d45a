// The main window and its document windows, driven through the menu actions with fake
// desktop services.
#include "app/HandOff.h"
#include "app/DocumentEvents.h"
#include "app/MDIForm1.h"
#include "document/Form1.h"
#include "document/StatusBar1Widget.h"
#include "platform/RichTextBox.h"
#include "tests/support/TestApp.h"

#include <Qsci/qsciscintilla.h>
#include <QDialog>
#include <QGroupBox>
#include <QTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

using namespace tarmel;

namespace {

struct App : testsupport::TestApp {
    explicit App(bool start = true) : TestApp(start) {}
    QString file(const QString &name, const QByteArray &bytes) const
    {
        write(name, bytes);
        return path(name);
    }
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void newTwice();
    void closePrompt();
    void closeUnmodifiedAsksNothing();
    void closeYesOnNewDocumentRunsSaveAs();
    void closeKeepsWindowWhenSaveFails();
    void quit_data();
    void quit();
    void quitStopsAtFailedSave();
    void maximizedDocuments_data();
    void maximizedDocuments();
    void clock();
    void panelLayout();
    void commandLine_data();
    void commandLine();
    void secondInstanceHandsOver();
    void pollOpensHandOffs();
    void pollWaitsForModalDialog();
    void unwritableHandOffOpensHere();
    void closingOneOfTwoPanelsKeepsCommandsOff();
    void tiling();
    void windowMenuListsDocuments();
    void toolbarDispatchesByKey_data();
    void toolbarDispatchesByKey();
    void documentEvents();
};



void TestMainWindow::newTwice()
{
    App app;
    app.trigger("Mnu_Nouveau");
    app.main->button(1)->trigger(); // the toolbar's Nouveau
    const QList<Form1 *> docs = app.main->documents();
    QCOMPARE(docs.size(), 2);
    for (Form1 *doc : docs) {
        QCOMPARE(doc->caption(), QStringLiteral("Nouveau.iso"));
        QCOMPARE(doc->StatusBar1->panelText(1), QStringLiteral("Nouveau.iso"));
        QVERIFY(!doc->Change);
        QVERIFY(doc->Frame1->isHidden() && doc->Frame2->isHidden() && doc->Frame3->isHidden() && doc->Frame6->isHidden());
    }
    QCOMPARE(app.main->activeDocument(), docs.last());
}



void TestMainWindow::closePrompt()
{
    App app;
    app.trigger("Mnu_Nouveau");
    app.main->activeDocument()->Text1->setText(QStringLiteral("N10 G00"));
    app.fakes.messageBox.answerNo();
    app.trigger("Mnu_Close");
    QCOMPARE(app.fakes.messageBox.boxes().size(), 1);
    const auto &box = app.fakes.messageBox.last();
    QCOMPARE(box.text, QStringLiteral("Fichier Nouveau.iso modifié !\r\n            Enregistrer le fichier ? "));
    QCOMPARE(box.flags, 52);
    QCOMPARE(box.title, QStringLiteral("Fermer le programmes CN"));
    QVERIFY(app.main->documents().isEmpty());
}

void TestMainWindow::closeUnmodifiedAsksNothing()
{
    App app;
    app.trigger("Mnu_Nouveau");
    app.trigger("Mnu_Nouveau");
    // Closed by its own close box: the same request, then the menus follow.
    auto *sub = qobject_cast<QMdiSubWindow *>(app.main->activeDocument()->parentWidget());
    QVERIFY(sub->close());
    QCOMPARE(app.fakes.messageBox.boxes().size(), 0);
    QCOMPARE(app.main->documents().size(), 1);
    app.trigger("Mnu_Close");
    QVERIFY(app.main->documents().isEmpty());
    QVERIFY(!app.enabled("Mnu_Close"));
}

void TestMainWindow::closeYesOnNewDocumentRunsSaveAs()
{
    App app;
    app.trigger("Mnu_Nouveau");
    app.main->activeDocument()->Text1->setText(QStringLiteral("N10 G00"));
    // Cancelled Save As: the window and its text stay.
    app.fakes.messageBox.answerYes();
    app.fakes.commonDialog.expectCancel();
    app.trigger("Mnu_Close");
    QCOMPARE(app.main->documents().size(), 1);
    QCOMPARE(app.fakes.commonDialog.lastShown().kind, testsupport::FakeCommonDialog::Kind::Save);
    QCOMPARE(app.main->activeDocument()->caption(), QStringLiteral("Nouveau.iso"));
    // Saved through Save As: written, then closed.
    const QString target = app.workDir.filePath(QStringLiteral("Nouveau.iso"));
    app.fakes.messageBox.answerYes();
    app.fakes.commonDialog.expectSave(target, 1);
    app.trigger("Mnu_Close");
    QVERIFY(app.main->documents().isEmpty());
    QCOMPARE(App::read(target), QByteArray("N10 G00\r\n"));
}

void TestMainWindow::closeKeepsWindowWhenSaveFails()
{
    App app;
    const QString path = app.file(QStringLiteral("p.iso"), "N10\r\n");
    app.main->OpenFile(path);
    Form1 *doc = app.main->activeDocument();
    QVERIFY(doc);
    doc->Text1->setText(QStringLiteral("N20\r\n"));
    // The file's place is taken by a folder: the save fails, the text stays on screen.
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir().mkdir(path));
    app.fakes.messageBox.answerYes();
    app.fakes.messageBox.answerOk();
    app.trigger("Mnu_Close");
    QCOMPARE(app.fakes.messageBox.last().text, QStringLiteral("Erreur lors de l'enregistrement du fichier"));
    QCOMPARE(app.fakes.messageBox.last().flags, 16);
    QCOMPARE(app.main->documents().size(), 1);
    QVERIFY(doc->Change);
    QCOMPARE(doc->Text1->text(), QStringLiteral("N20\r\n"));
}

void TestMainWindow::quit_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("yes") << int(platform::mb::AnswerYes);
    QTest::newRow("no") << int(platform::mb::AnswerNo);
}

void TestMainWindow::quit()
{
    QFETCH(int, answer);
    App app;
    app.main->show();
    for (int i = 0; i < 3; ++i)
        app.trigger("Mnu_Nouveau");
    app.main->documents().at(0)->Text1->setText(QStringLiteral("A"));
    app.main->documents().at(2)->Text1->setText(QStringLiteral("C"));
    app.fakes.messageBox.answer(answer);
    if (answer == platform::mb::AnswerYes) {
        app.fakes.messageBox.answerNo(); // two modified documents ask
        app.fakes.messageBox.answerNo();
    }
    app.trigger("Mnu_Quitter");
    const auto &quitBox = app.fakes.messageBox.boxes().at(0);
    QCOMPARE(quitBox.text, QStringLiteral("Quitter Tarmel\r  Confirmez ?"));
    QCOMPARE(quitBox.title, QStringLiteral("Quitter le programme"));
    QCOMPARE(quitBox.flags, 292);
    if (answer == platform::mb::AnswerYes) {
        QCOMPARE(app.fakes.messageBox.boxes().size(), 3);
        QVERIFY(app.main->documents().isEmpty());
        QVERIFY(!app.main->isVisible());
    } else {
        QCOMPARE(app.fakes.messageBox.boxes().size(), 1);
        QCOMPARE(app.main->documents().size(), 3);
        QVERIFY(app.main->isVisible());
    }
}

void TestMainWindow::quitStopsAtFailedSave()
{
    App app;
    app.main->show();
    app.trigger("Mnu_Nouveau");
    app.trigger("Mnu_Nouveau");
    app.main->activeDocument()->Text1->setText(QStringLiteral("X"));
    app.fakes.messageBox.answerYes(); // quit
    app.fakes.messageBox.answerYes(); // save the modified one
    app.fakes.commonDialog.expectCancel();
    app.trigger("Mnu_Quitter");
    QCOMPARE(app.main->documents().size(), 2);
    QVERIFY(app.main->isVisible());
}

void TestMainWindow::maximizedDocuments_data()
{
    QTest::addColumn<QByteArray>("cfg");
    QTest::addColumn<bool>("maximized");
    QTest::addColumn<double>("fontSize"); // as read; 0: the editor keeps a font of its own
    QTest::newRow("1") << QByteArray(" 1 \r\nCourier New\r\n 12 \r\n 0 \r\n 0 \r\n") << true << 12.0;
    QTest::newRow("0") << QByteArray(" 0 \r\nCourier New\r\n 12 \r\n 0 \r\n 0 \r\n") << false << 12.0;
    QTest::newRow("short file, no font lines") << QByteArray(" 0 \r\n") << false << 0.0;
    QTest::newRow("no file: defaults") << QByteArray() << false << 10.0;
}

void TestMainWindow::maximizedDocuments()
{
    QFETCH(QByteArray, cfg);
    QFETCH(bool, maximized);
    QFETCH(double, fontSize);
    App app(false);
    if (!cfg.isEmpty()) {
        QFile file(app.programDir.filePath(QStringLiteral("Tarmel.cfg")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(cfg) == cfg.size());
    }
    app.main->startUp({});
    QCOMPARE(app.main->toolbar()->isHidden(), !cfg.isEmpty());
    QCOMPARE(app.main->state().SensRecherche, 1.0f);
    QCOMPARE(app.main->state().EditorFontSize, fontSize);
    app.main->show();
    app.trigger("Mnu_Nouveau");
    auto *sub = qobject_cast<QMdiSubWindow *>(app.main->activeDocument()->parentWidget());
    QCOMPARE(sub->isMaximized(), maximized);
    platform::RichTextBox *text = app.main->activeDocument()->Text1;
    QVERIFY(!text->baseFontName().isEmpty());
    if (fontSize > 0)
        QCOMPARE(text->baseFontSize(), fontSize);
    else
        QVERIFY(text->baseFontSize() > 0);
}

void TestMainWindow::clock()
{
    App app;
    app.fakes.clock.setNow(QDateTime(QDate(2026, 3, 4), QTime(7, 5, 9)));
    app.trigger("Mnu_Nouveau");
    Form1 *doc = app.main->activeDocument();
    doc->Timer1_Timer();
    QCOMPARE(doc->StatusBar1->panelText(4), QStringLiteral("07:05:09"));
    QCOMPARE(doc->Timer1->interval(), 1000);
    QVERIFY(doc->Timer1->isActive());
}

void TestMainWindow::panelLayout()
{
    App app;
    app.main->show();
    app.trigger("Mnu_Nouveau");
    Form1 *doc = app.main->activeDocument();
    doc->resize(700, 400);
    const int statusTop = doc->height() - doc->StatusBar1->height();
    QCOMPARE(doc->Text1->geometry(), QRect(0, 0, 700, statusTop));
    app.trigger("Mnu_Renumeroter");
    QCOMPARE(doc->Frame3->geometry().bottom() + 1, statusTop);
    QCOMPARE(doc->Text1->height(), doc->Frame3->y());
    doc->resize(500, 300); // the layout follows a resize
    QCOMPARE(doc->Frame3->geometry().bottom() + 1, doc->height() - doc->StatusBar1->height());
    QCOMPARE(doc->Text1->width(), 500);
}

void TestMainWindow::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expectedFile"); // relative to the work folder; empty: error box
    QTest::newRow("relative") << QStringList{"a.iso"} << "a.iso";
    QTest::newRow("quoted") << QStringList{"\"a.iso\""} << "a.iso";
    QTest::newRow("blanks") << QStringList{"my", "prog,1.iso"} << "my prog,1.iso";
    QTest::newRow("missing") << QStringList{"none.iso"} << "";
}

void TestMainWindow::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, expectedFile);
    App app(false);
    app.file(QStringLiteral("a.iso"), "N10\r\n");
    app.file(QStringLiteral("my prog,1.iso"), "N20\r\n");
    if (expectedFile.isEmpty())
        app.fakes.messageBox.answerOk();
    QVERIFY(app.main->startUp(arguments));
    if (expectedFile.isEmpty()) {
        QCOMPARE(app.fakes.messageBox.last().text, QStringLiteral("Erreur d'ouverture de fichier\rou fichier trop volumineux !"));
        QCOMPARE(app.fakes.messageBox.last().title, QStringLiteral("Erreur"));
        QVERIFY(app.main->documents().isEmpty());
        return;
    }
    QCOMPARE(app.main->documents().size(), 1);
    QCOMPARE(app.main->activeDocument()->caption(), QFileInfo(app.workDir.filePath(expectedFile)).canonicalFilePath());
}

void TestMainWindow::secondInstanceHandsOver()
{
    App app(false);
    const QString path = app.file(QStringLiteral("b,c.iso"), "N10\r\n");
    app.fakes.shell.previousInstance = true;
    QVERIFY(!app.main->startUp({path}));
    QVERIFY(app.main->documents().isEmpty());
    QCOMPARE(takePendingHandOffs(app.programDir.path()), QStringList{path});
}

void TestMainWindow::pollWaitsForModalDialog()
{
    App app;
    const QString a = app.file(QStringLiteral("a.iso"), "N10\r\n");
    QVERIFY(writeHandOff(app.programDir.path(), a));
    // While the user answers a dialog, no window appears under it.
    QDialog dialog(app.main.get());
    qsizetype openedDuringDialog = -1;
    QTimer::singleShot(0, &dialog, [&] {
        app.main->Timer1_Timer();
        openedDuringDialog = app.main->documents().size();
        dialog.accept();
    });
    dialog.exec();
    QCOMPARE(openedDuringDialog, 0);
    app.main->Timer1_Timer();
    QCOMPARE(app.main->documents().size(), 1);
}

void TestMainWindow::unwritableHandOffOpensHere()
{
    App app(false);
    const QString path = app.file(QStringLiteral("p.iso"), "N10\r\n");
    app.fakes.shell.previousInstance = true;
    app.fakes.shell.programFolderPath = path + QStringLiteral("/inside-a-file"); // cannot be created
    QVERIFY(app.main->startUp({path}));
    QCOMPARE(app.main->documents().size(), 1);
    QCOMPARE(app.main->activeDocument()->caption(), QFileInfo(path).canonicalFilePath());
}

void TestMainWindow::closingOneOfTwoPanelsKeepsCommandsOff()
{
    App app;
    app.trigger("Mnu_Nouveau"); // stays open, no panel
    app.trigger("Mnu_Nouveau");
    Form1 *withRenumbering = app.main->activeDocument();
    app.trigger("Mnu_Nouveau");
    Form1 *withFind = app.main->activeDocument();
    withRenumbering->showPanel(withRenumbering->Frame3);
    withFind->showPanel(withFind->Frame1);
    app.trigger("Mnu_Close"); // the window with the find panel
    QVERIFY(!app.enabled("Mnu_Renumeroter"));
    app.main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(withRenumbering->parentWidget()));
    app.trigger("Mnu_Close"); // now no panel is open anywhere
    QCOMPARE(app.main->documents().size(), 1);
    QVERIFY(app.enabled("Mnu_Renumeroter"));
    QVERIFY(app.main->button(14)->isEnabled());
}

void TestMainWindow::pollOpensHandOffs()
{
    App app;
    const QString a = app.file(QStringLiteral("a, b.iso"), "N10\r\n");
    const QString b = app.file(QStringLiteral("\"q\".iso"), "N20\r\n");
    QVERIFY(writeHandOff(app.programDir.path(), a));
    QVERIFY(writeHandOff(app.programDir.path(), b));
    app.main->Timer1_Timer();
    QStringList captions;
    for (Form1 *doc : app.main->documents())
        captions << doc->caption();
    QCOMPARE(captions, (QStringList{QFileInfo(a).canonicalFilePath(), QFileInfo(b).canonicalFilePath()}));
    app.main->Timer1_Timer(); // each hand-off opens once
    QCOMPARE(app.main->documents().size(), 2);
    QVERIFY(QDir(app.programDir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

void TestMainWindow::tiling()
{
    App app;
    app.main->resize(900, 700);
    app.main->show();
    for (int i = 0; i < 3; ++i)
        app.trigger("Mnu_Nouveau");
    const QSize area = app.main->mdiArea()->viewport()->size();
    app.trigger("Mnu_MosaHor");
    QList<int> tops;
    for (QMdiSubWindow *sub : app.main->mdiArea()->subWindowList()) {
        QCOMPARE(sub->width(), area.width());
        tops << sub->y();
    }
    std::sort(tops.begin(), tops.end());
    QCOMPARE(tops, (QList<int>{0, area.height() / 3, 2 * (area.height() / 3)}));
    app.trigger("Mnu_MosaVert");
    for (QMdiSubWindow *sub : app.main->mdiArea()->subWindowList())
        QCOMPARE(sub->height(), area.height());
}

void TestMainWindow::windowMenuListsDocuments()
{
    App app;
    const QString a = app.file(QStringLiteral("a.iso"), "N10\r\n");
    app.main->OpenFile(a);
    app.trigger("Mnu_Nouveau");
    auto *menu = app.main->findChild<QMenu *>(QStringLiteral("Mnu_Fenêtre"));
    emit menu->aboutToShow();
    QStringList entries;
    QAction *checked = nullptr;
    for (QAction *action : menu->actions()) {
        if (action->isCheckable()) {
            entries << action->text();
            if (action->isChecked())
                checked = action;
        }
    }
    QCOMPARE(entries, (QStringList{QStringLiteral("&1 ") + QFileInfo(a).canonicalFilePath(), "&2 Nouveau.iso"}));
    QVERIFY(checked && checked->text().endsWith(QStringLiteral("Nouveau.iso")));
    // Choosing an entry activates its window.
    menu->actions().at(menu->actions().size() - 2)->trigger();
    QCOMPARE(app.main->activeDocument()->caption(), QFileInfo(a).canonicalFilePath());
}

void TestMainWindow::toolbarDispatchesByKey_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("itemOff"); // its menu item disabled: the button runs all the same
    QTest::addColumn<int>("documentsAfter");
    QTest::addColumn<int>("boxes");
    QTest::addColumn<int>("dialogs");
    QTest::newRow("Nouveau") << "Nouveau" << false << 2 << 0 << 0;
    QTest::newRow("Fermer") << "Fermer" << false << 0 << 0 << 0;
    QTest::newRow("Ouvrir") << "Ouvrir" << false << 1 << 0 << 1;
    QTest::newRow("Enregistrer") << "Enregistrer" << false << 1 << 0 << 1;
    QTest::newRow("EnregistrerSous") << "EnregistrerSous" << false << 1 << 0 << 1;
    QTest::newRow("Quitter") << "Quitter" << false << 1 << 1 << 0;
    QTest::newRow("Nouveau, item disabled") << "Nouveau" << true << 2 << 0 << 0;
    QTest::newRow("case matters") << "nouveau" << false << 1 << 0 << 0;
    QTest::newRow("unknown") << "Ailleurs" << false << 1 << 0 << 0;
}

void TestMainWindow::toolbarDispatchesByKey()
{
    QFETCH(QString, key);
    QFETCH(bool, itemOff);
    QFETCH(int, documentsAfter);
    QFETCH(int, boxes);
    QFETCH(int, dialogs);
    App app;
    app.trigger("Mnu_Nouveau");
    for (int i = 0; i < dialogs; ++i)
        app.fakes.commonDialog.expectCancel();
    for (int i = 0; i < boxes; ++i)
        app.fakes.messageBox.answerNo();
    app.item(QStringLiteral("Mnu_Nouveau"))->setEnabled(!itemOff);
    app.main->Toolbar1_ButtonClick(key);
    QCOMPARE(int(app.main->documents().size()), documentsAfter);
    QCOMPARE(int(app.fakes.messageBox.boxes().size()), boxes);
    QCOMPARE(int(app.fakes.commonDialog.shown().size()), dialogs);
}

// What watching features see: one change event per modification after a load or a save.
void TestMainWindow::documentEvents()
{
    App app;
    QStringList seen;
    DocumentEvents &events = app.main->events();
    auto record = [&seen](const char *what) { return [&seen, what](Form1 *) { seen << QString::fromLatin1(what); }; };
    connect(&events, &DocumentEvents::created, record("created"));
    connect(&events, &DocumentEvents::loaded, record("loaded"));
    connect(&events, &DocumentEvents::changed, record("changed"));
    connect(&events, &DocumentEvents::saved, record("saved"));
    connect(&events, &DocumentEvents::closed, record("closed"));
    app.openFile("N10\r\n");
    Form1 *doc = app.main->activeDocument();
    doc->Text1->setSelStart(0);
    for (const char *key : {"A", "B"})
        QTest::keyClicks(doc->Text1->engine(), QString::fromLatin1(key));
    app.trigger("Mnu_Enregistrer");
    QTest::keyClicks(doc->Text1->engine(), QStringLiteral("C"));
    app.fakes.messageBox.answerNo();
    app.trigger("Mnu_Close");
    QCOMPARE(seen, (QStringList{"created", "loaded", "changed", "saved", "changed", "closed"}));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

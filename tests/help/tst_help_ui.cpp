// The help commands and the viewer: each command names the help file of the program folder with
// its help command; the viewer opens on the contents page or on the keyword index with its box
// focused; without a collection it says so and opens no window; its index, search and links
// lead to the topics.
#include "help/HelpFiles.h"
#include "help/HelpTexts.h"
#include "help/HelpWindow.h"
#include "help/QtHelpViewer.h"
#include "tests/help/HelpTestTools.h"
#include "tests/support/TestApp.h"

#include <QDir>
#include <QHelpEngine>
#include <QHelpIndexModel>
#include <QHelpSearchEngine>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

using tarmel::help::HelpWindow;
using helptest::topicUrl;

namespace {

// A main window whose common dialog shows help in the real viewer; the collection is looked for
// in the program folder, then in fallback.
struct HelpApp : testsupport::TestApp {
    explicit HelpApp(const QString &fallback = QString()) : viewer(fakes.messageBox, {fallback})
    {
        fakes.commonDialog.setHelpViewer(&viewer);
    }
    HelpWindow *open(const QString &command)
    {
        run(command);
        return viewer.window();
    }
    tarmel::help::QtHelpViewer viewer;
};

// Waits until the engine has filled its keyword index.
bool indexReady(HelpWindow *window)
{
    QHelpIndexModel *model = window->engine()->indexModel();
    QSignalSpy created(model, &QHelpIndexModel::indexCreated);
    return model->rowCount() > 0 || created.wait(60000);
}

} // namespace

class TestHelpUi : public QObject {
    Q_OBJECT
private slots:
    void commandOpensTheViewer_data();
    void commandOpensTheViewer();
    void missingCollectionSaysSo_data();
    void missingCollectionSaysSo();
    void indexSearchAndLinksLeadToTopics();
    void cachedCopyOfAnInstalledCollection_data();
    void cachedCopyOfAnInstalledCollection();
};

// Each command names the help file of the program folder with its help command; the real viewer
// opens on its page, with the collection in the program folder or else in a fallback folder.
void TestHelpUi::commandOpensTheViewer_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("search");
    QTest::addColumn<int>("helpCommand");
    QTest::addColumn<bool>("fallback");
    QTest::newRow("contents") << "Mnu_SommAide" << false << 3 << false;
    QTest::newRow("keyword index") << "Mnu_IndexAide" << true << 261 << false;
    QTest::newRow("contents, collection in a fallback folder") << "Mnu_SommAide" << false << 3 << true;
}

void TestHelpUi::commandOpensTheViewer()
{
    QFETCH(QString, command);
    QFETCH(bool, search);
    QFETCH(int, helpCommand);
    QFETCH(bool, fallback);
    {
        testsupport::TestApp app;
        app.run(command);
        QCOMPARE(app.fakes.helpViewer.calls.size(), 1);
        const auto &call = app.fakes.helpViewer.calls.constFirst();
        QCOMPARE(call.search, search);
        QCOMPARE(call.helpFile, app.programDir.path() + "/Tarmel.HLP");
        QCOMPARE(call.keyword, QString());
        QCOMPARE(app.fakes.commonDialog.props().HelpCommand, helpCommand);
    }
    QTemporaryDir installed;
    HelpApp app(installed.path());
    QVERIFY(helptest::copyCollection(fallback ? installed.path() : app.programDir.path()));
    HelpWindow *window = app.open(command);
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->windowTitle(), QString("Aide de Tarmel"));
    QCOMPARE(window->collectionPath(), (fallback ? installed.path() : app.programDir.path()) + "/Tarmel.qhc");
    if (!search) {
        QCOMPARE(window->tabs()->currentIndex(), int(HelpWindow::Contents));
        QCOMPARE(window->page()->source(), QUrl(tarmel::help::contentsPage()));
        QVERIFY(window->page()->toPlainText().startsWith("Sommaire de l'aide de Tarmel"));
    } else {
        QCOMPARE(window->tabs()->currentIndex(), int(HelpWindow::Index));
        QCOMPARE(window->focusWidget(), window->indexBox());
        QCOMPARE(window->indexBox()->text(), QString());
    }
    // The other command turns the same window to its own page.
    app.run(search ? "Mnu_SommAide" : "Mnu_IndexAide");
    QCOMPARE(app.viewer.window(), window);
    QCOMPARE(window->tabs()->currentIndex(), int(search ? HelpWindow::Contents : HelpWindow::Index));
    QCOMPARE(app.fakes.messageBox.boxes().size(), 0);
}

void TestHelpUi::missingCollectionSaysSo_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("file"); // what the program folder holds as Tarmel.qhc; empty: nothing
    QTest::newRow("contents, no collection") << "Mnu_SommAide" << QByteArray();
    QTest::newRow("search, no collection") << "Mnu_IndexAide" << QByteArray();
    QTest::newRow("contents, not a collection") << "Mnu_SommAide" << QByteArray("pas une aide");
}

void TestHelpUi::missingCollectionSaysSo()
{
    QFETCH(QString, command);
    QFETCH(QByteArray, file);
    QTemporaryDir emptyFallback;
    HelpApp app(emptyFallback.path());
    const QString collection = app.programDir.filePath("Tarmel.qhc");
    if (!file.isEmpty()) {
        QFile f(collection);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(file);
    }
    app.fakes.messageBox.answerOk();
    QVERIFY(!app.open(command));
    QCOMPARE(app.fakes.messageBox.boxes().size(), 1);
    QCOMPARE(app.fakes.messageBox.last().text, "Le fichier d'aide est introuvable :\r" + collection);
    QCOMPARE(app.fakes.messageBox.last().flags, 48);
    QCOMPARE(app.fakes.messageBox.last().title, QString("Aide"));
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY(!(w->isVisible() && w->windowTitle() == tarmel::help::texts::windowTitle()));
}

// The keyword box, the full-text search and the links between topics lead to the topics, in the viewer.
void TestHelpUi::indexSearchAndLinksLeadToTopics()
{
    HelpApp app;
    QVERIFY(helptest::copyCollection(app.programDir.path()));
    HelpWindow *window = app.open("Mnu_IndexAide");
    QVERIFY(window && indexReady(window));
    QTest::keyClicks(window->indexBox(), QString("Suspendre"));
    QTest::keyClick(window->indexBox(), Qt::Key_Return);
    QCOMPARE(window->page()->source(), QUrl(topicUrl("html/numerotation-automatique.html")));

    emit window->page()->anchorClicked(QUrl("renumeroter.html"));
    QCOMPARE(window->page()->source(), QUrl(topicUrl("html/renumeroter.html")));
    emit window->page()->anchorClicked(QUrl("regles-renumerotation.html#sauts"));
    QCOMPARE(window->page()->source(), QUrl(topicUrl("html/regles-renumerotation.html#sauts")));
    QVERIFY(window->page()->toPlainText().contains("GOTO"));

    QSignalSpy searched(window->engine()->searchEngine(), &QHelpSearchEngine::searchingFinished);
    window->search("renuméroter");
    QVERIFY(searched.wait(60000));
    QListWidget *results = window->results();
    QListWidgetItem *renumbering = nullptr;
    for (int i = 0; i < results->count(); ++i) {
        if (results->item(i)->data(Qt::UserRole).toUrl() == QUrl(topicUrl("html/renumeroter.html")))
            renumbering = results->item(i);
    }
    QVERIFY(renumbering);
    QCOMPARE(window->searchStatus()->text(), QString("%1 page(s) trouvée(s)").arg(results->count()));
    results->setCurrentItem(renumbering);
    QTest::keyClick(results, Qt::Key_Return);
    QCOMPARE(window->page()->source(), QUrl(topicUrl("html/renumeroter.html")));
}

void TestHelpUi::cachedCopyOfAnInstalledCollection_data()
{
    QTest::addColumn<int>("copyAge");  // seconds the copy already there is older than the collection
    QTest::addColumn<bool>("blocked"); // the cache folder cannot be made
    QTest::addColumn<QString>("expected"); // "copy", "old copy" (kept as it is) or "collection"
    QTest::newRow("first use: copied") << 0 << false << "copy";
    QTest::newRow("copy up to date: kept") << -60 << false << "old copy";
    QTest::newRow("copy older than the collection: made again") << 60 << false << "copy";
    QTest::newRow("no cache folder: the collection itself") << 0 << true << "collection";
}

void TestHelpUi::cachedCopyOfAnInstalledCollection()
{
    QFETCH(int, copyAge);
    QFETCH(bool, blocked);
    QFETCH(QString, expected);
    QTemporaryDir installed, cache;
    QVERIFY(helptest::copyCollection(installed.path()));
    const QString collection = installed.filePath("Tarmel.qhc");
    QString folder = cache.filePath("aide");
    if (blocked) {
        QFile file(cache.filePath("file"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        folder = file.fileName() + "/aide";
    }
    if (copyAge != 0) {
        QVERIFY(QDir().mkpath(folder));
        QFile old(folder + "/Tarmel.qhc");
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("ancienne copie") > 0 && old.flush());
        old.setFileTime(QFileInfo(collection).lastModified().addSecs(-copyAge), QFileDevice::FileModificationTime);
    }
    const QString used = tarmel::help::cachedCollection(collection, folder);
    QCOMPARE(used, expected == "collection" ? collection : folder + "/Tarmel.qhc");
    if (expected == "old copy") {
        QCOMPARE(testsupport::TestApp::read(used), QByteArray("ancienne copie"));
        return;
    }
    QHelpEngineCore engine(used);
    QVERIFY(engine.setupData());
    QVERIFY(!engine.fileData(QUrl(tarmel::help::contentsPage())).isEmpty());
}

QTEST_MAIN(TestHelpUi)
#include "tst_help_ui.moc"

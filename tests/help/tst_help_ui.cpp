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
    // Each command names the help file of the program folder with its help command; the real viewer
    // opens on its page, with the collection in the program folder or else in a fallback folder.
    void commandOpensTheViewer_data()
    {
        QTest::addColumn<bool>("search"); // the keyword index, else the contents
        QTest::addColumn<bool>("fallback");
        QTest::newRow("contents") << false << false;
        QTest::newRow("keyword index") << true << false;
        QTest::newRow("contents, collection in a fallback folder") << false << true;
    }

    void commandOpensTheViewer()
    {
        QFETCH(bool, search);
        QFETCH(bool, fallback);
        const QString command = search ? "Mnu_IndexAide" : "Mnu_SommAide";
        {
            testsupport::TestApp app;
            app.run(command);
            QCOMPARE(app.fakes.helpViewer.calls.size(), 1);
            const auto &call = app.fakes.helpViewer.calls.constFirst();
            QCOMPARE(QList<QVariant>({call.search, call.helpFile, call.keyword, app.fakes.commonDialog.props().HelpCommand}),
                     QList<QVariant>({search, app.programDir.path() + "/Tarmel.HLP", QString(), search ? 261 : 3}));
        }
        QTemporaryDir installed;
        HelpApp app(installed.path());
        const QString folder = fallback ? installed.path() : app.programDir.path();
        QVERIFY(helptest::copyCollection(folder));
        HelpWindow *window = app.open(command);
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->windowTitle(), QString("Aide de Tarmel"));
        QCOMPARE(window->collectionPath(), folder + "/Tarmel.qhc");
        QCOMPARE(window->tabs()->currentIndex(), int(search ? HelpWindow::Index : HelpWindow::Contents));
        if (!search) {
            QCOMPARE(window->page()->source(), QUrl(tarmel::help::contentsPage()));
            QVERIFY(window->page()->toPlainText().startsWith("Sommaire de l'aide de Tarmel"));
        } else {
            QCOMPARE(window->focusWidget(), window->indexBox());
        }
        // The other command turns the same window to its own page.
        app.run(search ? "Mnu_SommAide" : "Mnu_IndexAide");
        QCOMPARE(app.viewer.window(), window);
        QCOMPARE(window->tabs()->currentIndex(), int(search ? HelpWindow::Contents : HelpWindow::Index));
        QCOMPARE(app.fakes.messageBox.boxes().size(), 0);
    }

    void missingCollectionSaysSo_data()
    {
        QTest::addColumn<QByteArray>("file"); // what the program folder holds as Tarmel.qhc; empty: nothing
        QTest::newRow("no collection") << QByteArray();
        QTest::newRow("not a collection") << QByteArray("pas une aide");
    }

    void missingCollectionSaysSo()
    {
        QFETCH(QByteArray, file);
        QTemporaryDir emptyFallback;
        HelpApp app(emptyFallback.path());
        const QString collection = app.programDir.filePath("Tarmel.qhc");
        QFile f(collection);
        QVERIFY(file.isEmpty() || (f.open(QIODevice::WriteOnly) && f.write(file) > 0 && f.flush()));
        app.fakes.messageBox.answerOk();
        QVERIFY(!app.open("Mnu_SommAide"));
        QCOMPARE(app.fakes.messageBox.boxes().size(), 1);
        const auto &box = app.fakes.messageBox.last();
        QCOMPARE(QList<QVariant>({box.text, box.flags, box.title}),
                 QList<QVariant>({"Le fichier d'aide est introuvable :\r" + collection, 48, QString("Aide")}));
        for (QWidget *w : QApplication::topLevelWidgets())
            QVERIFY(!(w->isVisible() && w->windowTitle() == tarmel::help::texts::windowTitle()));
    }

    // The keyword box, the full-text search and the links between topics lead to the topics, in the viewer.
    void indexSearchAndLinksLeadToTopics()
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
        QCOMPARE(window->searchStatus()->text(), QString("%1 page(s) trouvée(s)").arg(results->count()));
        for (int i = 0; i < results->count(); ++i) {
            if (results->item(i)->data(Qt::UserRole).toUrl() == QUrl(topicUrl("html/renumeroter.html")))
                results->setCurrentItem(results->item(i));
        }
        QVERIFY(results->currentItem());
        QTest::keyClick(results, Qt::Key_Return);
        QCOMPARE(window->page()->source(), QUrl(topicUrl("html/renumeroter.html")));
    }

    void cachedCopyOfAnInstalledCollection_data()
    {
        QTest::addColumn<int>("copyAge");  // seconds the copy already there is older than the collection
        QTest::addColumn<bool>("blocked"); // the cache folder cannot be made
        QTest::addColumn<QString>("expected"); // "copy", "old copy" (kept as it is) or "collection"
        QTest::newRow("first use: copied") << 0 << false << "copy";
        QTest::newRow("copy up to date: kept") << -60 << false << "old copy";
        QTest::newRow("copy older than the collection: made again") << 60 << false << "copy";
        QTest::newRow("no cache folder: the collection itself") << 0 << true << "collection";
    }

    void cachedCopyOfAnInstalledCollection()
    {
        QFETCH(int, copyAge);
        QFETCH(bool, blocked);
        QFETCH(QString, expected);
        QTemporaryDir installed, cache;
        QVERIFY(helptest::copyCollection(installed.path()));
        const QString collection = installed.filePath("Tarmel.qhc");
        QFile file(cache.filePath("file")); // a folder cannot be made under a file
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QString folder = cache.filePath(blocked ? "file/aide" : "aide");
        if (copyAge != 0) {
            QVERIFY(QDir().mkpath(folder));
            QFile old(folder + "/Tarmel.qhc");
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write("ancienne copie") > 0 && old.flush());
            old.setFileTime(QFileInfo(collection).lastModified().addSecs(-copyAge), QFileDevice::FileModificationTime);
        }
        const QString used = tarmel::help::cachedCollection(collection, folder);
        QCOMPARE(used, expected == "collection" ? collection : folder + "/Tarmel.qhc");
        QHelpEngineCore engine(expected == "old copy" ? QString() : used);
        QVERIFY(expected == "old copy" ? testsupport::TestApp::read(used) == "ancienne copie"
                                       : engine.setupData() && !engine.fileData(QUrl(tarmel::help::contentsPage())).isEmpty());
    }
};

QTEST_MAIN(TestHelpUi)
#include "tst_help_ui.moc"

// The help collection as the build makes it (every menu command has its topic, every keyword of
// the help project leads to its topic, every link between topics to a page and the anchor it
// names); the help commands and the viewer: each command names the help file of the program
// folder with its help command; the viewer opens on the contents page or on the keyword index with
// its box focused; without a collection it says so and opens no window; its index, search and
// links lead to the topics.
#include "app/Menus.h"
#include "help/HelpFiles.h"
#include "help/HelpTexts.h"
#include "help/HelpWindow.h"
#include "help/QtHelpViewer.h"
#include "tests/support/TestApp.h"

#include <QDir>
#include <QHelpEngine>
#include <QHelpIndexModel>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QXmlStreamReader>

using tarmel::help::HelpWindow;

namespace {

QString topicUrl(const QString &ref) { return QStringLiteral("qthelp://tarmel.aide/aide/") + ref; }

// Copies the collection the build compiled and its documentation into folder.
bool copyCollection(const QString &folder)
{
    for (const QString suffix : {"qhc", "qch"})
        if (QFile::remove(folder + "/Tarmel." + suffix); !QFile::copy(TARMEL_HELP_BUILD_DIR "/Tarmel." + suffix, folder + "/Tarmel." + suffix))
            return false;
    return true;
}

// The attributes of every <element> of the help project in the sources (its text when none are asked).
QList<QStringList> projectElements(const char *element, const QStringList &attributes)
{
    QFile file(qEnvironmentVariable("TARMEL_SOURCE_DIR") + QStringLiteral("/help/Tarmel.qhp"));
    QXmlStreamReader xml(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    QList<QStringList> found;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String(element)) {
            QStringList values;
            for (const QString &a : attributes)
                values << xml.attributes().value(a).toString();
            found << (attributes.isEmpty() ? QStringList{xml.readElementText()} : values);
        }
    return found;
}

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

} // namespace

class TestHelpUi : public QObject {
    Q_OBJECT
    QTemporaryDir dir_; // a copy of the collection, opened as the viewer opens it
    QHelpEngineCore *engine_ = nullptr;
    QStringList wrong_;

    // Notes what is missing: the page, or the anchor the address names.
    void check(const QString &what, const QUrl &url)
    {
        const QByteArray data = engine_->fileData(url.adjusted(QUrl::RemoveFragment)), anchor = url.fragment().toUtf8();
        if (data.isEmpty())
            wrong_ << what + QStringLiteral(": no page");
        else if (!anchor.isEmpty() && !data.contains("name=\"" + anchor + '"') && !data.contains("id=\"" + anchor + '"'))
            wrong_ << what + QStringLiteral(": no anchor");
    }
    static bool has(const QList<QHelpLink> &links, const QUrl &url)
    {
        return std::any_of(links.begin(), links.end(), [&](const QHelpLink &l) { return l.url == url; });
    }

private slots:
    void initTestCase()
    {
        QVERIFY(copyCollection(dir_.path()));
        engine_ = new QHelpEngineCore(dir_.filePath("Tarmel.qhc"), this);
        QVERIFY(engine_->setupData());
        QCOMPARE(engine_->registeredDocumentations(), QStringList{"tarmel.aide"});
    }
    void init() { wrong_.clear(); }
    void cleanup() { QVERIFY2(wrong_.isEmpty(), qPrintable(wrong_.join(", "))); }

    // The identifier of a topic is the name of its menu item, menus and submenus included.
    void everyMenuCommandHasATopic()
    {
        for (const tarmel::menus::MenuItem &item : tarmel::menus::kMenuBar) {
            const QString name = item.name ? QString::fromUtf16(item.name) : QString();
            const QList<QHelpLink> topics = name.isEmpty() ? QList<QHelpLink>{} : engine_->documentsForIdentifier(name);
            if (!name.isEmpty() && topics.isEmpty())
                wrong_ << name + QStringLiteral(": no topic");
            for (const QHelpLink &topic : topics)
                check(name, topic.url);
        }
    }

    void everyKeywordLeadsToItsTopic()
    {
        const QList<QStringList> keywords = projectElements("keyword", {"name", "id", "ref"});
        QVERIFY(keywords.size() > 100);
        for (const QStringList &k : keywords) {
            if (!has(engine_->documentsForKeyword(k[0]), QUrl(topicUrl(k[2]))))
                wrong_ << k[0] + QStringLiteral(": not in the index");
            if (!k[1].isEmpty() && !has(engine_->documentsForIdentifier(k[1]), QUrl(topicUrl(k[2]))))
                wrong_ << k[1] + QStringLiteral(": identifier not in the index");
        }
    }

    void everyLinkBetweenTopicsResolves()
    {
        static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
        int links = 0;
        for (const QStringList &file : projectElements("file", {})) {
            const QUrl page(topicUrl(file[0]));
            const QString html = QString::fromUtf8(engine_->fileData(page));
            QVERIFY2(!html.isEmpty(), qPrintable(file[0]));
            for (const QRegularExpressionMatch &m : href.globalMatch(file[0].endsWith(".html") ? html : QString())) {
                ++links;
                check(file[0] + QStringLiteral(" -> ") + m.captured(1), page.resolved(QUrl(m.captured(1))));
            }
        }
        QVERIFY(links > 200);
    }

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
        QFETCH(bool, search); QFETCH(bool, fallback);
        const QString command = search ? "Mnu_IndexAide" : "Mnu_SommAide", other = search ? "Mnu_SommAide" : "Mnu_IndexAide";
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
        QVERIFY(copyCollection(folder));
        HelpWindow *window = app.open(command);
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->collectionPath(), folder + "/Tarmel.qhc");
        QCOMPARE(window->tabs()->currentIndex(), int(search ? HelpWindow::Index : HelpWindow::Contents));
        QVERIFY(search ? window->focusWidget() == window->indexBox()
                       : window->page()->source() == QUrl(tarmel::help::contentsPage())
                             && window->page()->toPlainText().startsWith("Sommaire de l'aide de Tarmel"));
        // The other command turns the same window to its own page.
        QCOMPARE(app.open(other), window);
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
        QVERIFY(copyCollection(app.programDir.path()));
        HelpWindow *window = app.open("Mnu_IndexAide");
        QHelpIndexModel *model = window ? window->engine()->indexModel() : nullptr;
        QVERIFY(model && (model->rowCount() > 0 || QSignalSpy(model, &QHelpIndexModel::indexCreated).wait(60000)));
        QTest::keyClicks(window->indexBox(), QString("Suspendre"));
        QTest::keyClick(window->indexBox(), Qt::Key_Return);
        QCOMPARE(window->page()->source(), QUrl(topicUrl("html/numerotation-automatique.html")));
        for (const char *link : {"renumeroter.html", "regles-renumerotation.html#sauts"}) {
            emit window->page()->anchorClicked(QUrl(link));
            QCOMPARE(window->page()->source(), QUrl(topicUrl(QStringLiteral("html/") + link)));
        }
        QVERIFY(window->page()->toPlainText().contains("GOTO"));
        QSignalSpy searched(window->engine()->searchEngine(), &QHelpSearchEngine::searchingFinished);
        window->search("renuméroter");
        QVERIFY(searched.wait(60000));
        QListWidget *results = window->results();
        QCOMPARE(window->searchStatus()->text(), QString("%1 page(s) trouvée(s)").arg(results->count()));
        for (int i = 0; i < results->count(); ++i)
            if (results->item(i)->data(Qt::UserRole).toUrl() == QUrl(topicUrl("html/renumeroter.html")))
                results->setCurrentItem(results->item(i));
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
        QFETCH(int, copyAge); QFETCH(bool, blocked); QFETCH(QString, expected);
        QTemporaryDir installed, cache;
        QVERIFY(copyCollection(installed.path()));
        const QString collection = installed.filePath("Tarmel.qhc");
        QFile file(cache.filePath("file")); // a folder cannot be made under a file
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QString folder = cache.filePath(blocked ? "file/aide" : "aide");
        QFile old(folder + "/Tarmel.qhc");
        if (copyAge != 0) {
            QVERIFY(QDir().mkpath(folder) && old.open(QIODevice::WriteOnly) && old.write("ancienne copie") > 0 && old.flush());
            old.setFileTime(QFileInfo(collection).lastModified().addSecs(-copyAge), QFileDevice::FileModificationTime);
            old.close();
        }
        const QString used = tarmel::help::cachedCollection(collection, folder);
        QCOMPARE(used, expected == "collection" ? collection : old.fileName());
        QHelpEngineCore engine(expected == "old copy" ? QString() : used);
        QVERIFY(expected == "old copy" ? testsupport::TestApp::read(used) == "ancienne copie"
                                       : engine.setupData() && !engine.fileData(QUrl(tarmel::help::contentsPage())).isEmpty());
    }
};

QTEST_MAIN(TestHelpUi)
#include "tst_help_ui.moc"

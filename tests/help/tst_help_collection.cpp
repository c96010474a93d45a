// The help collection as the build makes it: every menu command has its topic, every keyword of
// the help project leads to its topic, and every link between topics leads to a page and to the
// anchor it names. (The full-text search is driven through the viewer, in tst_help_ui.)
#include "app/Menus.h"
#include "tests/help/HelpTestTools.h"

#include <QHelpEngineCore>
#include <QHelpLink>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using helptest::topicUrl;

class TestHelpCollection : public QObject {
    Q_OBJECT
    QTemporaryDir dir_; // a copy of the collection, opened as the viewer opens it
    QHelpEngineCore *engine_ = nullptr;
    QStringList wrong_;

    // Notes what is missing: the page, or the anchor the address names.
    void check(const QString &what, const QUrl &url)
    {
        const QByteArray data = engine_->fileData(url.adjusted(QUrl::RemoveFragment));
        const QByteArray anchor = url.fragment().toUtf8();
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
        QVERIFY(helptest::copyCollection(dir_.path()));
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
        const QList<QStringList> keywords = helptest::projectElements("keyword", {"name", "id", "ref"});
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
        for (const QStringList &file : helptest::projectElements("file", {})) {
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
};

QTEST_MAIN(TestHelpCollection)
#include "tst_help_collection.moc"

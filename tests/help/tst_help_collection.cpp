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

#include <memory>

using helptest::topicUrl;

class TestHelpCollection : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void everyMenuCommandHasATopic();
    void everyKeywordLeadsToItsTopic();
    void everyLinkBetweenTopicsResolves();

private:
    // Empty when the page exists and holds the anchor the address names; else what is missing.
    QString missingTarget(const QUrl &url) const;
    static bool contains(const QList<QHelpLink> &links, const QUrl &url);

    QTemporaryDir dir_; // a copy of the collection, opened as the viewer opens it
    std::unique_ptr<QHelpEngineCore> engine_;
};

void TestHelpCollection::initTestCase()
{
    QVERIFY(helptest::copyCollection(dir_.path()));
    engine_ = std::make_unique<QHelpEngineCore>(dir_.filePath("Tarmel.qhc"));
    QVERIFY(engine_->setupData());
    QCOMPARE(engine_->registeredDocumentations(), QStringList{"tarmel.aide"});
}

QString TestHelpCollection::missingTarget(const QUrl &url) const
{
    QUrl page = url;
    page.setFragment(QString());
    const QByteArray data = engine_->fileData(page);
    if (data.isEmpty())
        return QStringLiteral("no page");
    const QByteArray anchor = url.fragment().toUtf8();
    if (!anchor.isEmpty() && !data.contains("name=\"" + anchor + '"') && !data.contains("id=\"" + anchor + '"'))
        return QStringLiteral("no anchor");
    return QString();
}

bool TestHelpCollection::contains(const QList<QHelpLink> &links, const QUrl &url)
{
    return std::any_of(links.begin(), links.end(), [&](const QHelpLink &l) { return l.url == url; });
}

// The identifier of a topic is the name of its menu item, menus and submenus included.
void TestHelpCollection::everyMenuCommandHasATopic()
{
    QStringList missing;
    int items = 0;
    for (const tarmel::menus::MenuItem &item : tarmel::menus::kMenuBar) {
        if (!item.name)
            continue;
        ++items;
        const QString name = QString::fromUtf16(item.name);
        const QList<QHelpLink> topics = engine_->documentsForIdentifier(name);
        if (topics.isEmpty())
            missing << name + QStringLiteral(": no topic");
        for (const QHelpLink &topic : topics) {
            if (const QString reason = missingTarget(topic.url); !reason.isEmpty())
                missing << name + QStringLiteral(": ") + reason;
        }
    }
    QVERIFY(items > 0);
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
}

void TestHelpCollection::everyKeywordLeadsToItsTopic()
{
    const QList<helptest::Keyword> keywords = helptest::projectKeywords();
    QVERIFY(keywords.size() > 100);
    QStringList wrong;
    for (const helptest::Keyword &k : keywords) {
        const QUrl url(topicUrl(k.ref));
        if (!contains(engine_->documentsForKeyword(k.name), url))
            wrong << k.name + QStringLiteral(": not in the index");
        if (!k.id.isEmpty() && !contains(engine_->documentsForIdentifier(k.id), url))
            wrong << k.id + QStringLiteral(": identifier not in the index");
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral(", "))));
}

void TestHelpCollection::everyLinkBetweenTopicsResolves()
{
    static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
    QStringList broken;
    int links = 0;
    for (const QString &file : helptest::projectFiles()) {
        if (!file.endsWith(QLatin1String(".html")))
            continue;
        const QUrl page(topicUrl(file));
        const QString html = QString::fromUtf8(engine_->fileData(page));
        QVERIFY2(!html.isEmpty(), qPrintable(file));
        for (const QRegularExpressionMatch &m : href.globalMatch(html)) {
            ++links;
            if (const QString reason = missingTarget(page.resolved(QUrl(m.captured(1)))); !reason.isEmpty())
                broken << file + QStringLiteral(" -> ") + m.captured(1) + QStringLiteral(": ") + reason;
        }
    }
    QVERIFY(links > 200);
    QVERIFY2(broken.isEmpty(), qPrintable(broken.join(QStringLiteral(", "))));
}

QTEST_MAIN(TestHelpCollection)
#include "tst_help_collection.moc"

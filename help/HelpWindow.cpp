#include "help/HelpWindow.h"

#include "help/HelpFiles.h"
#include "help/HelpTexts.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

#include <utility>

namespace tarmel::help {

HelpBrowser::HelpBrowser(QHelpEngine *engine, QWidget *parent) : QTextBrowser(parent), engine_(engine)
{
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl &link) { follow(link); });
}

QVariant HelpBrowser::loadResource(int type, const QUrl &name)
{
    if (name.scheme() != QLatin1String("qthelp"))
        return QTextBrowser::loadResource(type, name);
    const QByteArray data = engine_->fileData(name);
    if (type == QTextDocument::HtmlResource || type == QTextDocument::StyleSheetResource)
        return QString::fromUtf8(data);
    return data;
}

// Links between topics stay in the viewer; a web or mail address goes to the desktop.
void HelpBrowser::follow(const QUrl &link)
{
    const QUrl target = source().resolved(link);
    if (target.scheme() == QLatin1String("qthelp"))
        setSource(target);
    else
        QDesktopServices::openUrl(target);
}

HelpWindow::HelpWindow(QHelpEngine *engine, const QString &collectionPath, QWidget *parent)
    : QWidget(parent, Qt::Window), engine_(engine), collectionPath_(collectionPath),
      tabs_(new QTabWidget), page_(new HelpBrowser(engine, this))
{
    engine->setParent(this);
    setWindowTitle(texts::windowTitle());

    QHelpContentWidget *contents = engine->contentWidget();
    connect(contents, &QHelpContentWidget::linkActivated, page_, [this](const QUrl &url) { page_->setSource(url); });
    connect(engine->contentModel(), &QHelpContentModel::contentsCreated, contents,
            [contents] { contents->expandToDepth(0); });
    tabs_->addTab(contents, texts::contentsTab());
    tabs_->addTab(buildIndexTab(), texts::indexTab());
    tabs_->addTab(buildSearchTab(), texts::searchTab());

    auto *back = new QPushButton(texts::backButton());
    auto *forward = new QPushButton(texts::forwardButton());
    auto *home = new QPushButton(texts::homeButton());
    connect(back, &QPushButton::clicked, page_, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, page_, &QTextBrowser::forward);
    connect(home, &QPushButton::clicked, this, &HelpWindow::showContentsPage);
    connect(page_, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    connect(page_, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);
    back->setEnabled(false);
    forward->setEnabled(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addWidget(home);
    buttons->addStretch();

    auto *splitter = new QSplitter;
    splitter->addWidget(tabs_);
    splitter->addWidget(page_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 640});
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter);
    resize(960, 680);
}

QWidget *HelpWindow::buildIndexTab()
{
    auto *tab = new QWidget;
    indexBox_ = new QLineEdit;
    QHelpIndexWidget *index = engine_->indexWidget();
    auto *label = new QLabel(texts::indexLabel());
    label->setBuddy(indexBox_);
    connect(indexBox_, &QLineEdit::textChanged, index, [index](const QString &text) { index->filterIndices(text); });
    connect(indexBox_, &QLineEdit::returnPressed, index, &QHelpIndexWidget::activateCurrentItem);
    // The index fills after the collection is read: the box's filter applies again then.
    connect(engine_->indexModel(), &QHelpIndexModel::indexCreated, index,
            [this, index] { index->filterIndices(indexBox_->text()); });
    connect(index, &QHelpIndexWidget::documentActivated, page_,
            [this](const QHelpLink &document) { page_->setSource(document.url); });
    connect(index, &QHelpIndexWidget::documentsActivated, page_, [this](const QList<QHelpLink> &documents) {
        if (!documents.isEmpty())
            page_->setSource(documents.constFirst().url);
    });
    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(label);
    layout->addWidget(indexBox_);
    layout->addWidget(index);
    return tab;
}

QWidget *HelpWindow::buildSearchTab()
{
    auto *tab = new QWidget;
    searchBox_ = new QLineEdit;
    auto *label = new QLabel(texts::searchLabel());
    label->setBuddy(searchBox_);
    auto *start = new QPushButton(texts::searchButton());
    searchStatus_ = new QLabel;
    results_ = new QListWidget;
    connect(searchBox_, &QLineEdit::returnPressed, this, &HelpWindow::runSearch);
    connect(start, &QPushButton::clicked, this, &HelpWindow::runSearch);
    connect(results_, &QListWidget::itemActivated, page_,
            [this](QListWidgetItem *item) { page_->setSource(item->data(Qt::UserRole).toUrl()); });

    QHelpSearchEngine *engine = engine_->searchEngine();
    connect(engine, &QHelpSearchEngine::indexingStarted, this, [this] { indexing_ = true; });
    connect(engine, &QHelpSearchEngine::indexingFinished, this, [this] {
        indexing_ = false;
        if (!pendingSearch_.isEmpty())
            search(std::exchange(pendingSearch_, QString()));
    });
    connect(engine, &QHelpSearchEngine::searchingFinished, this, &HelpWindow::showResults);

    auto *row = new QHBoxLayout;
    row->addWidget(searchBox_);
    row->addWidget(start);
    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(label);
    layout->addLayout(row);
    layout->addWidget(searchStatus_);
    layout->addWidget(results_);
    return tab;
}

void HelpWindow::bringUp()
{
    show();
    raise();
    activateWindow();
}

void HelpWindow::showContentsPage()
{
    tabs_->setCurrentIndex(Contents);
    page_->setSource(QUrl(contentsPage()));
    bringUp();
}

void HelpWindow::showKeywordIndex(const QString &keyword)
{
    tabs_->setCurrentIndex(Index);
    indexBox_->setText(keyword);
    bringUp();
    indexBox_->setFocus();
}

void HelpWindow::runSearch() { search(searchBox_->text()); }

// A search asked for while the pages are still being indexed runs once the index is ready.
void HelpWindow::search(const QString &words)
{
    searchBox_->setText(words);
    results_->clear();
    if (words.trimmed().isEmpty())
        return;
    if (indexing_) {
        pendingSearch_ = words;
        searchStatus_->setText(texts::indexing());
        return;
    }
    engine_->searchEngine()->search(words);
}

void HelpWindow::showResults(int count)
{
    results_->clear();
    const QList<QHelpSearchResult> found = engine_->searchEngine()->searchResults(0, count);
    for (const QHelpSearchResult &result : found) {
        auto *item = new QListWidgetItem(result.title(), results_);
        item->setData(Qt::UserRole, result.url());
    }
    searchStatus_->setText(found.isEmpty() ? texts::noResult() : texts::resultCount(int(found.size())));
}

} // namespace tarmel::help

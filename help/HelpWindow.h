#pragma once
// The help viewer's window: contents, keyword index and full-text search on the left, the
// page on the right, with back, forward and contents buttons.

#include <QTextBrowser>
#include <QWidget>

class QHelpEngine;
class QLabel;
class QLineEdit;
class QListWidget;
class QTabWidget;

namespace tarmel::help {

// Shows the collection's pages: qthelp: links from the collection, other links on the desktop.
class HelpBrowser final : public QTextBrowser {
public:
    HelpBrowser(QHelpEngine *engine, QWidget *parent);
    QVariant loadResource(int type, const QUrl &name) override;

private:
    void follow(const QUrl &link);
    QHelpEngine *engine_;
};

class HelpWindow final : public QWidget {
public:
    enum Tab { Contents, Index, Search };

    // Takes the engine, set up on the collection at collectionPath.
    HelpWindow(QHelpEngine *engine, const QString &collectionPath, QWidget *parent = nullptr);

    QString collectionPath() const { return collectionPath_; }
    // The contents tab and the contents page.
    void showContentsPage();
    // The keyword index with its box focused, holding keyword.
    void showKeywordIndex(const QString &keyword);
    // Full-text search; the results list is filled once the search has run.
    void search(const QString &words);

    QTabWidget *tabs() const { return tabs_; }
    QLineEdit *indexBox() const { return indexBox_; }
    QLineEdit *searchBox() const { return searchBox_; }
    QListWidget *results() const { return results_; }
    QLabel *searchStatus() const { return searchStatus_; }
    HelpBrowser *page() const { return page_; }
    QHelpEngine *engine() const { return engine_; }

private:
    QWidget *buildIndexTab();
    QWidget *buildSearchTab();
    void runSearch();
    void showResults(int count);
    void bringUp();

    QHelpEngine *engine_;
    QString collectionPath_;
    QTabWidget *tabs_;
    QLineEdit *indexBox_ = nullptr;
    QLineEdit *searchBox_ = nullptr;
    QListWidget *results_ = nullptr;
    QLabel *searchStatus_ = nullptr;
    HelpBrowser *page_;
    bool indexing_ = true; // the collection is indexed once it is set up
    QString pendingSearch_;
};

} // namespace tarmel::help

#include "help/QtHelpViewer.h"

#include "help/HelpFiles.h"
#include "help/HelpTexts.h"
#include "help/HelpWindow.h"
#include "platform/MessageBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHelpEngine>
#include <QStandardPaths>

#include <memory>

namespace tarmel::help {

QtHelpViewer::QtHelpViewer(platform::MessageBox &messages, QStringList fallbackFolders, QWidget *parent)
    : messages_(messages), fallbackFolders_(std::move(fallbackFolders)), parent_(parent)
{
}

QtHelpViewer::~QtHelpViewer() { delete window_; }

bool QtHelpViewer::showContents(const QString &helpFile)
{
    HelpWindow *window = open(helpFile);
    if (window)
        window->showContentsPage();
    return window;
}

bool QtHelpViewer::showSearch(const QString &helpFile, const QString &keyword)
{
    HelpWindow *window = open(helpFile);
    if (window)
        window->showKeywordIndex(keyword);
    return window;
}

HelpWindow *QtHelpViewer::open(const QString &helpFile)
{
    const QStringList candidates = collectionCandidates(helpFile, fallbackFolders_);
    for (const QString &collection : candidates) {
        if (!QFileInfo(collection).isFile())
            continue;
        if (window_ && window_->collectionPath() == collection)
            return window_;
        if (HelpWindow *window = openCollection(collection))
            return window;
        break;
    }
    messages_.show(texts::missingText(candidates.value(0, helpFile)), platform::mb::Exclamation,
                   texts::missingTitle());
    return nullptr;
}

HelpWindow *QtHelpViewer::openCollection(const QString &collection)
{
    auto *engine = new QHelpEngine(usableCollection(collection));
    auto window = std::make_unique<HelpWindow>(engine, collection, parent_);
    if (!engine->setupData() || engine->registeredDocumentations().isEmpty())
        return nullptr;
    delete window_;
    window_ = window.release();
    return window_;
}

QStringList defaultHelpFolders()
{
    return {QCoreApplication::applicationDirPath(), QStringLiteral(TARMEL_HELP_DATA_DIR)};
}

QString usableCollection(const QString &collection)
{
    if (QFileInfo(QFileInfo(collection).absolutePath()).isWritable())
        return collection;
    return cachedCollection(collection,
                            QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/aide"));
}

// The collection and its documentation files are copied side by side: the collection names
// them relative to its own folder.
QString cachedCollection(const QString &collection, const QString &folder)
{
    const QFileInfo source(collection);
    const QString copy = folder + QLatin1Char('/') + source.fileName();
    const QFileInfo existing(copy);
    if (existing.exists() && existing.lastModified() >= source.lastModified())
        return copy;
    QHelpEngineCore original(collection);
    original.setReadOnly(true);
    if (!QDir().mkpath(folder) || !original.setupData())
        return collection;
    QStringList files{collection};
    for (const QString &name : original.registeredDocumentations())
        files << original.documentationFileName(name);
    for (const QString &file : files) {
        const QString target = folder + QLatin1Char('/') + QFileInfo(file).fileName();
        QFile::remove(target);
        if (!QFile::copy(file, target))
            return collection;
    }
    return copy;
}

} // namespace tarmel::help

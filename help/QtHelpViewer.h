#pragma once
// The help viewer of the desktop: a window of the program's own on Qt's help engine, opened on
// the compiled collection that stands for the help file.

#include "help/HelpWindow.h"
#include "platform/HelpViewer.h"

#include <QPointer>
#include <QStringList>

class QWidget;

namespace platform {
class MessageBox;
}

namespace tarmel::help {

// The collection is looked for beside the help file, then in fallbackFolders. When none is
// found, or it holds no documentation, a message says so and no window opens. The window is
// one for the program's life, a window of its own above parent.
class QtHelpViewer final : public platform::HelpViewer {
public:
    QtHelpViewer(platform::MessageBox &messages, QStringList fallbackFolders, QWidget *parent = nullptr);
    ~QtHelpViewer() override;
    void setParent(QWidget *parent) { parent_ = parent; }

    bool showContents(const QString &helpFile) override;
    bool showSearch(const QString &helpFile, const QString &keyword) override;

    HelpWindow *window() const { return window_; }

private:
    HelpWindow *open(const QString &helpFile);
    HelpWindow *openCollection(const QString &collection);

    platform::MessageBox &messages_;
    QStringList fallbackFolders_;
    QWidget *parent_;
    QPointer<HelpWindow> window_;
};

// Where the program's own collection is, after the program folder: the executable's folder,
// then the installed data folder.
QStringList defaultHelpFolders();

// A collection in a folder the user cannot write (an installed program) is used through a copy
// in the user's cache folder, where the search index can be written; others are used in place.
QString usableCollection(const QString &collection);
// The copy of a collection and its documentation in folder, made again when the collection is
// newer. The collection itself when it cannot be copied.
QString cachedCollection(const QString &collection, const QString &folder);

} // namespace tarmel::help

#pragma once
// What a feature receives from the main window: the application state, the services, the
// documents, the command table and state, and the routines the program's rules share.

#include "app/AppState.h"

#include <QList>
#include <QString>

#include <functional>

class QToolBar;
class QWidget;

namespace platform {
struct Services;
}

namespace tarmel {

class CommandState;
class DocumentEvents;
class Form1;

class AppContext {
public:
    virtual ~AppContext() = default;

    virtual AppState &state() = 0;
    virtual const platform::Services &services() const = 0;
    virtual QWidget *dialogParent() = 0;
    virtual DocumentEvents &events() = 0;
    virtual CommandState &commands() = 0;

    // A menu item's command, run by the item and by the toolbar button that names it.
    virtual void registerCommand(const QString &itemName, std::function<void()> handler) = 0;

    // Documents
    virtual Form1 *activeDocument() const = 0;
    virtual QList<Form1 *> documents() const = 0;
    virtual int loadedWindowCount() const = 0; // the main window counts as one
    virtual Form1 *createDocument() = 0;       // a new, empty, active document window
    virtual void activateDocument(Form1 *doc) = 0;
    virtual bool closeDocument(Form1 *doc) = 0; // false: the window stays open
    virtual void closeMainWindow() = 0;
    virtual void setToolbarVisible(bool visible) = 0;
    virtual QToolBar *toolbar() const = 0; // Toolbar1

    // Routines shared by the features
    virtual void NouveauFichier() = 0;
    virtual void InitMenu() = 0;
    virtual void OpenFile(const QString &path) = 0;
    virtual bool SaveFile(const QString &path) = 0;
    virtual bool Mnu_EnregistrerSous_Click() = 0;
    virtual void Mnu_Annuler_Click() = 0;
    virtual void Mnu_Edit_Click() = 0;
    virtual void RecordUndoSnapshot(Form1 *doc) = 0;
    virtual void SupprimAccents() = 0;
    virtual void FindIt() = 0;
    virtual void Remplace() = 0;
};

} // namespace tarmel

#pragma once
#include "app/AppContext.h"
#include "app/AppState.h"
#include "document/DocumentHost.h"
#include "platform/Services.h"

#include <QHash>
#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <memory>

class QAction;
class QMdiArea;
class QMenu;
class QTimer;
class QToolBar;

namespace tarmel {

class CommandState;
class DocumentEvents;
struct Features;

// The main window: menus, toolbar, the document windows, and the table that maps a command
// name to its handler. The features own the handlers; this window only wires them.
class MDIForm1 : public QMainWindow, public AppContext, public DocumentHost {
    Q_OBJECT
public:
    explicit MDIForm1(const platform::Services &services, QWidget *parent = nullptr);
    ~MDIForm1() override;

    // Start-up: configuration, toolbar, command line. Returns false when the file of the
    // command line was handed over to an instance already running: the process then ends.
    bool startUp(const QStringList &arguments);

    // AppContext
    AppState &state() override { return state_; }
    const platform::Services &services() const override { return services_; }
    QWidget *dialogParent() override { return this; }
    DocumentEvents &events() override { return *events_; }
    CommandState &commands() override { return *commands_; }
    void registerCommand(const QString &itemName, std::function<void()> handler) override;
    Form1 *activeDocument() const override;
    QList<Form1 *> documents() const override;
    int loadedWindowCount() const override;
    Form1 *createDocument() override;
    void activateDocument(Form1 *doc) override;
    bool closeDocument(Form1 *doc) override;
    void closeMainWindow() override { close(); }
    void setToolbarVisible(bool visible) override;
    void NouveauFichier() override;
    void InitMenu() override;
    void OpenFile(const QString &path) override;
    bool SaveFile(const QString &path) override;
    bool Mnu_EnregistrerSous_Click() override;
    void Mnu_Annuler_Click() override;
    void Mnu_Edit_Click() override;
    void RecordUndoSnapshot(Form1 *doc) override;
    void SupprimAccents() override;
    void FindIt() override;
    void Remplace() override;

    // DocumentHost
    bool documentCloseRequest(Form1 *doc) override;
    void documentClosed(Form1 *doc) override;
    void panelShown(Form1 *doc) override;
    void panelClosed(Form1 *doc) override;
    QDateTime now() const override;
    QString shortDate(const QDateTime &moment) const override;

    // Menu items by name ("Mnu_Ouvrir", "Mnu_Edition(4)", menus too: "Mnu_Edit").
    QAction *action(const QString &name) const;
    // Toolbar buttons by 1-based index (separators counted).
    QAction *button(int index) const;
    QToolBar *toolbar() const override { return toolbar_; }
    QMdiArea *mdiArea() const { return mdi_; }

    // Runs the command registered under a menu item's name, whatever the item's state.
    void runCommand(const QString &name);
    void Toolbar1_ButtonClick(const QString &key);
    void Toolbar1_Click();
    void Toolbar1_MouseMove();

    // The hand-off poll (every 30 ms)
    void Timer1_Timer();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildToolbar();
    void applyConfiguration();

    platform::Services services_;
    AppState state_;
    QMdiArea *mdi_;
    QToolBar *toolbar_ = nullptr;
    QTimer *timer1_ = nullptr;
    QHash<QString, QAction *> actions_;
    QHash<QString, QMenu *> menus_;
    QList<QAction *> buttons_; // index 0 is button 1
    QHash<QString, std::function<void()>> handlers_;
    DocumentEvents *events_;
    CommandState *commands_ = nullptr;
    std::unique_ptr<Features> features_;
    bool inHandOff_ = false;
};

} // namespace tarmel

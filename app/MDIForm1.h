#pragma once
#include "app/AppState.h"
#include "platform/Services.h"

#include <QHash>
#include <QMainWindow>
#include <QStringList>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QToolBar;

namespace platform {
struct KeyEventArgs;
struct MouseEventArgs;
}

namespace tarmel {

class Form1;

// The main window: menus, toolbar, the document windows and the routines they share.
class MDIForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit MDIForm1(const platform::Services &services, QWidget *parent = nullptr);
    ~MDIForm1() override;

    // Start-up: configuration, toolbar, command line. Returns false when the file of the
    // command line was handed over to an instance already running: the process then ends.
    bool startUp(const QStringList &arguments);

    AppState &state() { return state_; }
    const platform::Services &services() const { return services_; }
    QMdiArea *mdiArea() const { return mdi_; }

    // Menu items by name ("Mnu_Ouvrir", "Mnu_Edition(4)", menus too: "Mnu_Edit").
    QAction *action(const QString &name) const;
    // Toolbar buttons by 1-based index (separators counted) or by key.
    QAction *button(int index) const;
    void setButtonEnabled(int index, bool enabled);
    QToolBar *toolbar() const { return toolbar_; }

    // Documents
    Form1 *activeDocument() const;
    QList<Form1 *> documents() const;
    int loadedWindowCount() const; // the main window counts as one
    Form1 *createDocument();       // a new, empty, active document window

    // Shared routines
    void NouveauFichier();
    void InitMenu();
    void OpenFile(const QString &path);
    bool SaveFile(const QString &path);
    bool Mnu_EnregistrerSous_Click();
    void Mnu_Annuler_Click();
    void Mnu_Edit_Click();
    void Toolbar1_ButtonClick(const QString &key);
    void Toolbar1_Click();
    void Toolbar1_MouseMove();
    void RecordUndoSnapshot(Form1 *doc);

    // Called by a document window
    bool documentCloseRequest(Form1 *doc);   // false keeps the window open
    void documentClosed(Form1 *doc);
    void documentActivated(Form1 *doc);
    void setPanelCommandsEnabled(bool enabled);

    // Notifications of a document's editing area
    void Text1_Change(Form1 *doc);
    void Text1_Click(Form1 *doc);
    void Text1_DblClick(Form1 *doc);
    void Text1_KeyPress(Form1 *doc, platform::KeyEventArgs &e);
    void Text1_KeyDown(Form1 *doc, platform::KeyEventArgs &e); // automatic numbering on Enter
    void Text1_MouseDown(Form1 *doc, const platform::MouseEventArgs &e);
    void Text1_OLEDragDrop(Form1 *doc);

    // Commands
    void Mnu_Nouveau_Click();
    void Mnu_Ouvrir_Click();
    void Mnu_Close_Click();
    void Mnu_Enregistrer_Click();
    void Mnu_Quitter_Click();
    void Mnu_Fusionner_Click();
    void Mnu_Edition_Click(int index);
    void Mnu_Supprimer_Click();
    void Mnu_VidePresPap_Click();
    void Mnu_ToutSelect_Click();
    void Mnu_Desel_Click();
    void Mnu_D_Click(int format);
    void Mnu_Cascade_Click();
    void Mnu_MosaHor_Click();
    void Mnu_MosaVert_Click();
    void Mnu_Renumeroter_Click();
    void Mnu_NumAuto_Click();

    // The hand-off poll (every 30 ms)
    void Timer1_Timer();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QHash<QObject *, bool> commandState() const;             // enabled state of every item and button
    void restoreCommandState(const QHash<QObject *, bool> &state);
    void refreshDateCaptions();
    void buildMenus();
    void buildToolbar();
    void connectCommands();
    void refreshWindowMenu();
    void setEditPasteState(bool clipboardHasText);
    bool closeDocument(Form1 *doc);
    bool saveDocument(Form1 *doc, const QString &path);
    bool saveDocumentAs(Form1 *doc);
    void arrange(int code);

    platform::Services services_;
    AppState state_;
    QMdiArea *mdi_;
    QToolBar *toolbar_ = nullptr;
    QTimer *timer1_ = nullptr;
    QMenu *windowMenu_ = nullptr;
    QHash<QString, QAction *> actions_;
    QList<QAction *> buttons_; // index 0 is button 1
    QList<QAction *> windowListActions_;
    bool inHandOff_ = false;
};

} // namespace tarmel

#pragma once
// The enabled state of the menu items and toolbar buttons, set by meaning.

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <initializer_list>

class QAction;
class QMenu;

namespace tarmel {

// Commands whose menu item and toolbar button the program's rules switch.
enum class Command {
    Close, Save, SaveAs, Print, Merge,
    Undo, Cut, Copy, Paste, Delete, ClearClipboard,
    Find, Replace, Renumber, AutoNumber,
};

// Which of a command's controls a rule switches: most switch both; some switch one.
enum class Surface { Both, Item, Button };

class CommandState : public QObject {
    Q_OBJECT
public:
    CommandState(QHash<QString, QAction *> items, QList<QAction *> buttons, QHash<QString, QMenu *> menus,
                 QObject *parent = nullptr);

    QAction *item(const QString &name) const { return items_.value(name); }
    QAction *button(int index) const;           // 1-based, separators counted
    QMenu *menu(const QString &name) const { return menus_.value(name); }

    void set(Command command, bool enabled, Surface where = Surface::Both);
    void set(std::initializer_list<Command> commands, bool enabled, Surface where = Surface::Both);

    void setUndoAvailable(bool on) { set(Command::Undo, on); }
    void setSaveAvailable(bool on) { set(Command::Save, on); }
    // "Co&ller", "&Vider le presse papier" and the paste button follow the clipboard.
    void setPasteAvailable(bool on) { set({Command::Paste, Command::ClearClipboard}, on); }
    // Cut, copy and delete follow the selection; their items and buttons are set by different events.
    void setSelectionItems(bool on) { set({Command::Cut, Command::Copy, Command::Delete}, on, Surface::Item); }
    void setSelectionButtons(bool on) { set({Command::Cut, Command::Copy, Command::Delete}, on, Surface::Button); }
    // The commands that open a panel: off while one is open.
    void setPanelCommands(bool on)
    {
        set({Command::Find, Command::Replace, Command::Renumber, Command::AutoNumber}, on);
    }
    // The menus that act on a document.
    void setDocumentMenus(bool on);

    // Every item and button with its state, to put back when a command gives up.
    QHash<QAction *, bool> snapshot() const;
    void restore(const QHash<QAction *, bool> &state);

signals:
    // The edit commands' state was brought up to date (the Edit menu opens, a click, a toolbar move).
    void editStateRefreshed();

private:
    QHash<QString, QAction *> items_;
    QList<QAction *> buttons_;
    QHash<QString, QMenu *> menus_;
};

} // namespace tarmel

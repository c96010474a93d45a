#include "app/CommandState.h"

#include "app/Menus.h"

#include <QAction>
#include <QMenu>

namespace tarmel {

namespace {

struct Controls {
    const char16_t *item;
    int button; // 0: no button
};

Controls controlsOf(Command command)
{
    namespace b = menus::button;
    switch (command) {
    case Command::Close: return {u"Mnu_Close", b::Fermer};
    case Command::Save: return {u"Mnu_Enregistrer", b::Enregistrer};
    case Command::SaveAs: return {u"Mnu_EnregistrerSous", b::EnregistrerSous};
    case Command::Print: return {u"Mnu_Imprimer", b::Imprimer};
    case Command::Merge: return {u"Mnu_Fusionner", 0};
    case Command::Undo: return {u"Mnu_Annuler", b::Annuler};
    case Command::Cut: return {u"Mnu_Edition(4)", b::Couper};
    case Command::Copy: return {u"Mnu_Edition(5)", b::Copier};
    case Command::Paste: return {u"Mnu_Edition(6)", b::Coller};
    case Command::Delete: return {u"Mnu_Supprimer", b::Supprimer};
    case Command::ClearClipboard: return {u"Mnu_VidePresPap", 0};
    case Command::Find: return {u"Mnu_Rechercher", b::Rechercher};
    case Command::Replace: return {u"Mnu_Remplacer", b::Remplacer};
    case Command::Renumber: return {u"Mnu_Renumeroter", 0};
    case Command::AutoNumber: return {u"Mnu_NumAuto", 0};
    }
    return {nullptr, 0};
}

} // namespace

CommandState::CommandState(QHash<QString, QAction *> items, QList<QAction *> buttons,
                           QHash<QString, QMenu *> menus, QObject *parent)
    : QObject(parent), items_(std::move(items)), buttons_(std::move(buttons)), menus_(std::move(menus))
{
}

QAction *CommandState::button(int index) const
{
    return index >= 1 && index <= buttons_.size() ? buttons_.at(index - 1) : nullptr;
}

void CommandState::set(Command command, bool enabled, Surface where)
{
    const Controls c = controlsOf(command);
    if (where != Surface::Button) {
        if (QAction *a = item(QString::fromUtf16(c.item)))
            a->setEnabled(enabled);
        // The print preview goes with the print item.
        if (QAction *a = item(QStringLiteral("Mnu_Apercu")); a && command == Command::Print)
            a->setEnabled(enabled);
    }
    if (where != Surface::Item) {
        if (QAction *b = button(c.button); b && !b->isSeparator())
            b->setEnabled(enabled);
    }
}

void CommandState::set(std::initializer_list<Command> commands, bool enabled, Surface where)
{
    for (Command c : commands)
        set(c, enabled, where);
}

void CommandState::setDocumentMenus(bool on)
{
    for (const char16_t *name : {u"Mnu_Edit", u"Mnu_Outils", u"Mnu_Fenêtre", u"Mnu_Affichage"})
        item(QString::fromUtf16(name))->setEnabled(on);
}

QHash<QAction *, bool> CommandState::snapshot() const
{
    QHash<QAction *, bool> state;
    for (QAction *a : items_)
        state.insert(a, a->isEnabled());
    for (QAction *b : buttons_)
        state.insert(b, b->isEnabled());
    return state;
}

void CommandState::restore(const QHash<QAction *, bool> &state)
{
    for (auto it = state.begin(); it != state.end(); ++it)
        it.key()->setEnabled(it.value());
}

} // namespace tarmel

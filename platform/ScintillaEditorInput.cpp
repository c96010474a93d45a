// The keys and the mouse of the editing area: who gets each key (a menu command, the
// program's key notifications or the engine), and the mouse notifications.
#include "platform/RichTextBox.h"
#include "platform/ScintillaEditor.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>

#include <QAction>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

namespace platform {

namespace {

using Cmd = QsciCommand::Command;

// Caret movement, selection and ordinary editing. Every other engine binding (line cut,
// copy, delete, transpose and duplicate, case changes, word and line deletions, zoom,
// rectangular selection, the second keys of cut, copy, paste and undo) would change the
// text or the clipboard behind the menu commands, without their undo snapshot and
// command state, or select what the selection model cannot hold.
constexpr Cmd OrdinaryCommands[] = {
    Cmd::LineDown, Cmd::LineDownExtend, Cmd::LineUp, Cmd::LineUpExtend, Cmd::LineScrollDown,
    Cmd::LineScrollUp, Cmd::ParaDown, Cmd::ParaDownExtend, Cmd::ParaUp, Cmd::ParaUpExtend,
    Cmd::CharLeft, Cmd::CharLeftExtend, Cmd::CharRight, Cmd::CharRightExtend, Cmd::WordLeft,
    Cmd::WordLeftExtend, Cmd::WordRight, Cmd::WordRightExtend, Cmd::WordPartLeft,
    Cmd::WordPartLeftExtend, Cmd::WordPartRight, Cmd::WordPartRightExtend, Cmd::HomeDisplay,
    Cmd::VCHome, Cmd::VCHomeExtend, Cmd::LineEnd, Cmd::LineEndExtend, Cmd::LineEndDisplay,
    Cmd::DocumentStart, Cmd::DocumentStartExtend, Cmd::DocumentEnd, Cmd::DocumentEndExtend,
    Cmd::PageUp, Cmd::PageUpExtend, Cmd::PageDown, Cmd::PageDownExtend, Cmd::Delete,
    Cmd::DeleteBack, Cmd::Newline, Cmd::Tab, Cmd::Cancel, Cmd::EditToggleOvertype, Cmd::Undo,
    Cmd::Redo, Cmd::SelectAll, Cmd::SelectionCut, Cmd::SelectionCopy, Cmd::Paste};
// Second keys that stay: Shift+Backspace and Shift+Enter.
constexpr Cmd OrdinarySecondKeys[] = {Cmd::DeleteBack, Cmd::Newline};

template <std::size_t N>
bool listed(const Cmd (&list)[N], Cmd command)
{
    return std::find(std::begin(list), std::end(list), command) != std::end(list);
}

} // namespace

void ScintillaEditor::keepOrdinaryKeys()
{
    for (QsciCommand *command : standardCommands()->commands()) {
        if (!listed(OrdinaryCommands, command->command()))
            command->setKey(0);
        if (!listed(OrdinarySecondKeys, command->command()))
            command->setAlternateKey(0);
    }
}

bool ScintillaEditor::event(QEvent *e)
{
    if (e->type() == QEvent::ShortcutOverride && commandFor(static_cast<QKeyEvent *>(e))) {
        e->accept(); // the key comes here; keyPressEvent decides who handles it
        return true;
    }
    const bool handled = QsciScintilla::event(e);
    flushChange();
    return handled;
}

bool ScintillaEditor::viewportEvent(QEvent *e)
{
    if (e->type() == QEvent::Paint)
        colourVisibleLines();
    const bool handled = QsciScintilla::viewportEvent(e);
    flushChange();
    return handled;
}

void ScintillaEditor::addCommandKey(QAction *action) { commandKeys_.append(action); }

QAction *ScintillaEditor::commandFor(const QKeyEvent *e) const
{
    if (e->key() == 0 || e->key() == Qt::Key_unknown)
        return nullptr;
    const QKeySequence pressed(QKeyCombination(e->modifiers() & ~Qt::KeypadModifier, Qt::Key(e->key())));
    for (const QPointer<QAction> &action : commandKeys_)
        if (action && action->shortcuts().contains(pressed))
            return action;
    return nullptr;
}

void ScintillaEditor::keyPressEvent(QKeyEvent *e)
{
    if (QAction *action = commandFor(e); action && action->isEnabled()) {
        e->accept();
        action->trigger();
        return;
    }
    if (!owner_) {
        QsciScintilla::keyPressEvent(e);
        return;
    }
    KeyEventArgs down{e->key(), e->modifiers(), e->text(), false};
    emit owner_->keyDown(down);
    if (down.cancel) {
        e->accept();
        return;
    }
    const int key = e->key();
    const QString text = e->text();
    const bool produces = !text.isEmpty() && (text.at(0) >= QChar(0x20) || text.at(0) == QChar('\t'))
                          && text.at(0) != QChar(0x7f)
                          && !(e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
    if (produces || key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Backspace
        || key == Qt::Key_Escape) {
        KeyEventArgs press{key, e->modifiers(), text, false};
        emit owner_->keyPress(press);
        if (press.cancel || !owner_) {
            e->accept();
            return;
        }
    }
    QsciScintilla::keyPressEvent(e);
}

void ScintillaEditor::mousePressEvent(QMouseEvent *e)
{
    if (owner_)
        emit owner_->mouseDown({e->button(), e->modifiers(), e->position().toPoint()});
    QsciScintilla::mousePressEvent(e);
}

void ScintillaEditor::mouseReleaseEvent(QMouseEvent *e)
{
    QsciScintilla::mouseReleaseEvent(e);
    // A press and release is a click, also when it dragged a selection; the release that
    // ends a double click is not.
    const bool click = e->button() == Qt::LeftButton && !afterDoubleClick_;
    afterDoubleClick_ = false;
    if (!owner_)
        return;
    emit owner_->mouseUp({e->button(), e->modifiers(), e->position().toPoint()});
    if (click && owner_)
        emit owner_->click();
}

void ScintillaEditor::mouseDoubleClickEvent(QMouseEvent *e)
{
    QsciScintilla::mouseDoubleClickEvent(e);
    afterDoubleClick_ = true;
    if (owner_)
        emit owner_->dblClick();
}

void ScintillaEditor::dropEvent(QDropEvent *e)
{
    QsciScintilla::dropEvent(e);
    flushChange();
    if (owner_)
        emit owner_->dropped();
}

void ScintillaEditor::contextMenuEvent(QContextMenuEvent *e)
{
    // The document window opens its own Edit menu on the right button.
    e->accept();
}

} // namespace platform

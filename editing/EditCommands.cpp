#include "editing/EditCommands.h"

#include "app/AppContext.h"
#include "app/CommandState.h"
#include "app/DocumentEvents.h"
#include "document/Form1.h"
#include "files/FileRules.h"
#include "platform/RichTextBox.h"
#include "platform/Services.h"

#include <QAction>
#include <QCursor>
#include <QMenu>

namespace tarmel {

EditCommands::EditCommands(AppContext &app) : app_(app)
{
    app.registerCommand(QStringLiteral("Mnu_Annuler"), [this] { Mnu_Annuler_Click(); });
    app.registerCommand(QStringLiteral("Mnu_Edition(4)"), [this] { Mnu_Edition_Click(4); });
    app.registerCommand(QStringLiteral("Mnu_Edition(5)"), [this] { Mnu_Edition_Click(5); });
    app.registerCommand(QStringLiteral("Mnu_Edition(6)"), [this] { Mnu_Edition_Click(6); });
    app.registerCommand(QStringLiteral("Mnu_Supprimer"), [this] { Mnu_Supprimer_Click(); });
    app.registerCommand(QStringLiteral("Mnu_VidePresPap"), [this] { Mnu_VidePresPap_Click(); });
    app.registerCommand(QStringLiteral("Mnu_ToutSelect"), [this] { Mnu_ToutSelect_Click(); });
    app.registerCommand(QStringLiteral("Mnu_Desel"), [this] { Mnu_Desel_Click(); });

    DocumentEvents &events = app.events();
    QObject::connect(&events, &DocumentEvents::created, &events, [this](Form1 *doc) { watch(doc); });
    QObject::connect(&events, &DocumentEvents::activated, &events,
                     [this](Form1 *doc) { app_.commands().setUndoAvailable(doc->AnnulRedo); });
    QObject::connect(app.commands().menu(QStringLiteral("Mnu_Edit")), &QMenu::aboutToShow, &events,
                     [this] { Mnu_Edit_Click(); });
}

void EditCommands::watch(Form1 *doc)
{
    using platform::RichTextBox;
    RichTextBox *text = doc->Text1;
    for (const char16_t *name : {u"Mnu_Edition(4)", u"Mnu_Edition(5)", u"Mnu_Edition(6)", u"Mnu_Supprimer"})
        text->addCommandKey(app_.commands().item(QString::fromUtf16(name)));
    QObject::connect(text, &RichTextBox::textChanged, doc, [this, doc] { Text1_Change(doc); });
    QObject::connect(text, &RichTextBox::click, doc, [this, doc] { Text1_Click(doc); });
    QObject::connect(text, &RichTextBox::dblClick, doc, [this, doc] { Text1_DblClick(doc); });
    QObject::connect(text, &RichTextBox::keyPress, doc, [this, doc](platform::KeyEventArgs &) { Text1_KeyPress(doc); });
    QObject::connect(text, &RichTextBox::mouseDown, doc, [this](const platform::MouseEventArgs &e) { Text1_MouseDown(e); });
    QObject::connect(text, &RichTextBox::mouseUp, doc, [this](const platform::MouseEventArgs &) { Toolbar1_Click(); });
    QObject::connect(text, &RichTextBox::dropped, doc, [this, doc] { markTyped(doc); });
}

void EditCommands::RecordUndoSnapshot(Form1 *doc)
{
    doc->RedoText = doc->Text1->utf8();
    doc->AnnulRedo = true;
    app_.commands().setUndoAvailable(doc->AnnulRedo);
}

void EditCommands::Mnu_Annuler_Click()
{
    if (Form1 *doc = app_.activeDocument()) {
        doc->Text1->setUtf8(doc->RedoText);
        doc->AnnulRedo = false;
    }
    app_.commands().setUndoAvailable(false);
}

void EditCommands::Mnu_Edition_Click(int index)
{
    Form1 *doc = app_.activeDocument();
    if (!doc || index < 4 || index > 6)
        return;
    platform::RichTextBox *text = doc->Text1;
    platform::Clipboard &clipboard = *app_.services().clipboard;
    if (index == 6) {
        // Pasted line ends become the document's, as a merge or the engine's own paste does.
        RecordUndoSnapshot(doc);
        const QByteArray lineEnd = lineEndBytes(text->fileFormat().lineEnds);
        text->setSelText(utf8ToString(withLineEnds(clipboard.text().toUtf8(), lineEnd)));
        return;
    }
    // With nothing selected the clipboard keeps what the user copied elsewhere.
    const bool hasSelection = text->selLength() > 0;
    if (hasSelection) {
        clipboard.clear();
        clipboard.setText(text->selText());
    }
    if (index == 4) {
        RecordUndoSnapshot(doc);
        text->setSelText(QString());
    }
    if (hasSelection)
        app_.commands().setPasteAvailable(true);
}

void EditCommands::Mnu_Supprimer_Click()
{
    Form1 *doc = app_.activeDocument();
    if (!doc)
        return;
    RecordUndoSnapshot(doc);
    doc->Text1->setSelText(QString());
}

void EditCommands::Mnu_VidePresPap_Click()
{
    app_.services().clipboard->clear();
    app_.commands().setPasteAvailable(false);
}

void EditCommands::Mnu_ToutSelect_Click()
{
    Form1 *doc = app_.activeDocument();
    if (!doc)
        return;
    doc->Text1->setSelStart(0);
    doc->Text1->setSelLength(doc->Text1->textLength());
    app_.commands().setSelectionButtons(true);
}

void EditCommands::Mnu_Desel_Click()
{
    if (Form1 *doc = app_.activeDocument())
        doc->Text1->setSelLength(0);
}

void EditCommands::Text1_Change(Form1 *doc)
{
    const bool firstChange = !doc->Change && !doc->Loading;
    doc->Change = true;
    const bool notEmpty = !doc->Text1->isEmpty();
    CommandState &commands = app_.commands();
    commands.set({Command::Save, Command::SaveAs, Command::Print}, notEmpty);
    commands.set(Command::Merge, notEmpty);
    doc->showSize(doc->Text1->textLength());
    if (firstChange)
        emit app_.events().changed(doc);
}

void EditCommands::Text1_Click(Form1 *doc)
{
    const bool selected = doc->Text1->selLength() >= 1;
    CommandState &commands = app_.commands();
    commands.setSelectionButtons(selected);
    commands.set(Command::Paste, selected, Surface::Button);
    commands.setPasteAvailable(!app_.services().clipboard->text().isEmpty());
    Mnu_Edit_Click();
}

void EditCommands::Text1_DblClick(Form1 *doc)
{
    app_.commands().setSelectionButtons(doc->Text1->selLength() >= 1);
}

void EditCommands::Text1_KeyPress(Form1 *doc)
{
    markTyped(doc);
}

// A key or a drop: the document is modified and can be saved.
void EditCommands::markTyped(Form1 *doc)
{
    const bool firstChange = !doc->Change;
    doc->Change = true;
    app_.commands().setSaveAvailable(true);
    if (firstChange)
        emit app_.events().changed(doc);
}

void EditCommands::Text1_MouseDown(const platform::MouseEventArgs &e)
{
    if (e.button != Qt::RightButton)
        return;
    if (QMenu *menu = app_.commands().menu(QStringLiteral("Mnu_Edit")); menu && menu->menuAction()->isEnabled())
        menu->popup(QCursor::pos());
}

void EditCommands::Toolbar1_Click()
{
    if (Form1 *doc = app_.activeDocument())
        app_.commands().setSelectionButtons(doc->Text1->selLength() > 0);
}

void EditCommands::Mnu_Edit_Click()
{
    CommandState &commands = app_.commands();
    commands.setPasteAvailable(!app_.services().clipboard->text().isEmpty());
    Form1 *doc = app_.activeDocument();
    if (app_.loadedWindowCount() + 1 < 3 || !doc) {
        // No document: nothing on the toolbar acts on one.
        commands.set({Command::Save, Command::SaveAs, Command::Print, Command::Close, Command::Undo, Command::Cut,
                      Command::Copy, Command::Paste, Command::Delete, Command::Find, Command::Replace},
                     false, Surface::Button);
    } else {
        const bool selected = doc->Text1->selLength() > 0;
        commands.setSelectionItems(selected);
        commands.setSelectionButtons(selected);
    }
    emit commands.editStateRefreshed();
}

} // namespace tarmel

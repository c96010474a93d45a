// Undo, the clipboard and selection commands, and what the editing area's notifications
// do to the command state.
#include "app/MDIForm1.h"
#include "document/Form1.h"
#include "platform/RichTextBox.h"

#include <QCursor>
#include <QMenu>

namespace tarmel {

namespace {
const QString kCut = QStringLiteral("Mnu_Edition(4)");
const QString kCopy = QStringLiteral("Mnu_Edition(5)");
const QString kPaste = QStringLiteral("Mnu_Edition(6)");
}

void MDIForm1::RecordUndoSnapshot(Form1 *doc)
{
    doc->RedoText = doc->Text1->text();
    doc->AnnulRedo = true;
    action(QStringLiteral("Mnu_Annuler"))->setEnabled(doc->AnnulRedo);
    setButtonEnabled(8, doc->AnnulRedo);
}

void MDIForm1::Mnu_Annuler_Click()
{
    Form1 *doc = activeDocument();
    if (doc) {
        doc->Text1->setText(doc->RedoText);
        doc->AnnulRedo = false;
    }
    action(QStringLiteral("Mnu_Annuler"))->setEnabled(false);
    setButtonEnabled(8, false);
}

void MDIForm1::Mnu_Edition_Click(int index)
{
    Form1 *doc = activeDocument();
    if (!doc || index < 4 || index > 6)
        return;
    platform::RichTextBox *text = doc->Text1;
    switch (index) {
    case 4:
    case 5: {
        // With nothing selected the clipboard keeps what the user copied elsewhere.
        const bool hasSelection = text->selLength() > 0;
        if (hasSelection) {
            services_.clipboard->clear();
            services_.clipboard->setText(text->selText());
        }
        if (index == 4) {
            RecordUndoSnapshot(doc);
            text->setSelText(QString());
        }
        if (hasSelection)
            setEditPasteState(true);
        break;
    }
    case 6:
        RecordUndoSnapshot(doc);
        text->setSelText(services_.clipboard->text());
        break;
    }
}

void MDIForm1::Mnu_Supprimer_Click()
{
    Form1 *doc = activeDocument();
    if (!doc)
        return;
    RecordUndoSnapshot(doc);
    doc->Text1->setSelText(QString());
}

void MDIForm1::Mnu_VidePresPap_Click()
{
    services_.clipboard->clear();
    setEditPasteState(false);
}

void MDIForm1::Mnu_ToutSelect_Click()
{
    Form1 *doc = activeDocument();
    if (!doc)
        return;
    doc->Text1->setSelStart(0);
    doc->Text1->setSelLength(doc->Text1->textLength());
    for (int b : {9, 10, 12})
        setButtonEnabled(b, true);
}

void MDIForm1::Mnu_Desel_Click()
{
    if (Form1 *doc = activeDocument())
        doc->Text1->setSelLength(0);
}

void MDIForm1::Text1_Change(Form1 *doc)
{
    doc->Change = true;
    const bool notEmpty = !doc->Text1->isEmpty();
    for (const char16_t *name : {u"Mnu_Enregistrer", u"Mnu_EnregistrerSous", u"Mnu_Imprimer", u"Mnu_Fusionner"})
        action(QString::fromUtf16(name))->setEnabled(notEmpty);
    for (int b : {3, 4, 5})
        setButtonEnabled(b, notEmpty);
    doc->showSize(doc->Text1->textLength());
}

void MDIForm1::Text1_Click(Form1 *doc)
{
    const bool selected = doc->Text1->selLength() >= 1;
    for (int b : {9, 10, 11, 12})
        setButtonEnabled(b, selected);
    setEditPasteState(!services_.clipboard->text().isEmpty());
    Mnu_Edit_Click();
}

void MDIForm1::Text1_DblClick(Form1 *doc)
{
    const bool selected = doc->Text1->selLength() >= 1;
    for (int b : {9, 10, 12})
        setButtonEnabled(b, selected);
}

void MDIForm1::Text1_KeyPress(Form1 *doc, platform::KeyEventArgs &)
{
    doc->Change = true;
    action(QStringLiteral("Mnu_Enregistrer"))->setEnabled(true);
    setButtonEnabled(3, true);
}

void MDIForm1::Text1_OLEDragDrop(Form1 *doc)
{
    doc->Change = true;
    action(QStringLiteral("Mnu_Enregistrer"))->setEnabled(true);
    setButtonEnabled(3, true);
}

void MDIForm1::Text1_MouseDown(Form1 *, const platform::MouseEventArgs &e)
{
    if (e.button != Qt::RightButton)
        return;
    if (QMenu *menu = findChild<QMenu *>(QStringLiteral("Mnu_Edit"))) {
        if (menu->menuAction()->isEnabled())
            menu->popup(QCursor::pos());
    }
}

void MDIForm1::Toolbar1_Click()
{
    Form1 *doc = activeDocument();
    if (!doc)
        return;
    const bool selected = doc->Text1->selLength() > 0;
    for (int b : {9, 10, 12})
        setButtonEnabled(b, selected);
}

void MDIForm1::Mnu_Edit_Click()
{
    setEditPasteState(!services_.clipboard->text().isEmpty());
    Form1 *doc = activeDocument();
    if (loadedWindowCount() + 1 < 3 || !doc) {
        for (int b : {3, 4, 5, 6, 8, 9, 10, 11, 12, 14, 15})
            setButtonEnabled(b, false);
    } else {
        const bool selected = doc->Text1->selLength() > 0;
        for (const QString &name : {kCut, kCopy, QStringLiteral("Mnu_Supprimer")})
            action(name)->setEnabled(selected);
        for (int b : {9, 10, 12})
            setButtonEnabled(b, selected);
    }
    refreshDateCaptions();
}

} // namespace tarmel

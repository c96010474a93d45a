// The main window's numbering commands, the Enter key of automatic numbering, and the document
// window's renumbering routines.
#include "app/MDIForm1.h"
#include "document/Form1.h"
#include "files/TextCodec.h"
#include "numbering/AutoNumberPanel.h"
#include "numbering/AutoNumbering.h"
#include "numbering/RenumberPanel.h"
#include "platform/RichTextBox.h"

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>

namespace tarmel {

void MDIForm1::Mnu_Renumeroter_Click()
{
    Form1 *doc = activeDocument();
    if (!doc)
        return;
    setPanelCommandsEnabled(false);
    doc->Frame3->show();
    doc->Form_Resize();
    doc->renumberPanel->showStep();
    RecordUndoSnapshot(doc);
    doc->renumberPanel->Text5->setFocus();
    action(QStringLiteral("Mnu_Annuler"))->setEnabled(doc->AnnulRedo);
    setButtonEnabled(8, doc->AnnulRedo);
}

void MDIForm1::Mnu_NumAuto_Click()
{
    Form1 *doc = activeDocument();
    if (!doc)
        return;
    setPanelCommandsEnabled(false);
    doc->Frame6->show();
    doc->Form_Resize();
    doc->autoNumberPanel->start();
}

// Enter with automatic numbering on: one line end and the next number at the start of the new line,
// in the form chosen in this window. The key itself is replaced by that one insertion, so the
// engine's undo takes back line end and number together.
void MDIForm1::Text1_KeyDown(Form1 *doc, platform::KeyEventArgs &e)
{
    if ((e.keyCode != Qt::Key_Return && e.keyCode != Qt::Key_Enter) || state_.NumAutoActif != 1)
        return;
    e.cancel = true;
    const QString lineEnd = QString::fromLatin1(lineEndBytes(doc->Text1->fileFormat().lineEnds));
    const QString number = numbering::autoNumberText(state_.NumAutoSuivant, doc->autoNumberPanel->form());
    doc->Text1->setSelText(lineEnd + number);
    state_.NumAutoSuivant = numbering::nextAutoNumber(state_.NumAutoSuivant, state_.NumAutoPas);
    Text1_KeyPress(doc, e); // still a typed key for the modified state
}

void Form1::renumerote2()
{
    renumberPanel->renumerote2();
}

void Form1::CalculeLigne2()
{
    renumberPanel->CalculeLigne2();
}

} // namespace tarmel

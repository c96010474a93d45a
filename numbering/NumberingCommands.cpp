#include "numbering/NumberingCommands.h"

#include "app/AppContext.h"
#include "app/DocumentEvents.h"
#include "document/Form1.h"
#include "files/TextCodec.h"
#include "numbering/AutoNumberPanel.h"
#include "numbering/AutoNumbering.h"
#include "numbering/RenumberPanel.h"
#include "platform/RichTextBox.h"

#include <QGroupBox>
#include <QLineEdit>

namespace tarmel {

NumberingCommands::NumberingCommands(AppContext &app) : app_(app)
{
    app.registerCommand(QStringLiteral("Mnu_Renumeroter"), [this] { Mnu_Renumeroter_Click(); });
    app.registerCommand(QStringLiteral("Mnu_NumAuto"), [this] { Mnu_NumAuto_Click(); });
    DocumentEvents &events = app.events();
    QObject::connect(&events, &DocumentEvents::created, &events, [this](Form1 *doc) { watch(doc); });
    // Numbering as you type stops with the window that showed its panel.
    QObject::connect(&events, &DocumentEvents::closed, &events, [this](Form1 *doc) {
        if (!doc->Frame6->isHidden())
            app_.state().NumAutoActif = 0;
    });
}

void NumberingCommands::watch(Form1 *doc)
{
    new RenumberPanel(app_, *doc, doc->Frame3);
    new AutoNumberPanel(app_, *doc, doc->Frame6);
    QObject::connect(doc->Text1, &platform::RichTextBox::keyDown, doc,
                     [this, doc](platform::KeyEventArgs &e) { Text1_KeyDown(doc, e); });
}

void NumberingCommands::Mnu_Renumeroter_Click()
{
    Form1 *doc = app_.activeDocument();
    if (!doc)
        return;
    doc->showPanel(doc->Frame3);
    RenumberPanel *panel = RenumberPanel::of(doc);
    panel->showStep();
    app_.RecordUndoSnapshot(doc);
    panel->Text5->setFocus();
}

void NumberingCommands::Mnu_NumAuto_Click()
{
    Form1 *doc = app_.activeDocument();
    if (!doc)
        return;
    doc->showPanel(doc->Frame6);
    AutoNumberPanel::of(doc)->start();
}

// Enter with automatic numbering on: one line end and the next number at the start of the new line,
// in the form chosen in this window. The key itself is replaced by that one insertion, so the
// engine's undo takes back line end and number together.
void NumberingCommands::Text1_KeyDown(Form1 *doc, platform::KeyEventArgs &e)
{
    AppState &state = app_.state();
    if ((e.keyCode != Qt::Key_Return && e.keyCode != Qt::Key_Enter) || state.NumAutoActif != 1)
        return;
    e.cancel = true;
    const QString lineEnd = QString::fromLatin1(lineEndBytes(doc->Text1->fileFormat().lineEnds));
    const QString number = numbering::autoNumberText(state.NumAutoSuivant, AutoNumberPanel::of(doc)->form());
    doc->Text1->setSelText(lineEnd + number);
    state.NumAutoSuivant = numbering::nextAutoNumber(state.NumAutoSuivant, state.NumAutoPas);
    emit doc->Text1->keyPress(e); // still a typed key for the modified state
}

} // namespace tarmel

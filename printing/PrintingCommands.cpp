#include "printing/PrintingCommands.h"

#include "app/AppContext.h"
#include "document/Form1.h"
#include "platform/RichTextBox.h"
#include "platform/Services.h"
#include "printing/PageComposer.h"
#include "printing/PrintingTexts.h"

namespace tarmel {

PrintingCommands::PrintingCommands(AppContext &app) : app_(app)
{
    app.registerCommand(QStringLiteral("Mnu_Imprimer"), [this] { Mnu_Imprimer_Click(); });
    app.registerCommand(QStringLiteral("Mnu_Apercu"), [this] { Mnu_Apercu_Click(); });
    app.registerCommand(QStringLiteral("Mnu_ConfigImp"), [this] { Mnu_ConfigImp_Click(); });
}

// The print dialog opens on the selection range when text is selected. A confirmed selection
// range prints the selected text, anything else the whole text; either way the selection then
// collapses to its start, whose font is the print's. Cancel ends silently; a failure to print
// is reported.
void PrintingCommands::Mnu_Imprimer_Click()
{
    Form1 *doc = app_.activeDocument();
    if (!doc)
        return;
    platform::CommonDialog &dialog = *app_.services().commonDialog;
    platform::DialogProperties &props = dialog.props();
    platform::RichTextBox &text = *doc->Text1;
    props.CancelError = true;
    props.Flags = platform::cdl::PrintHidePrintToFile + (text.selLength() > 0 ? platform::cdl::PrintSelection : 0);
    if (!dialog.showPrinter())
        return;
    const bool selectionOnly = (props.Flags & platform::cdl::PrintSelection) && text.selLength() > 0;
    const QString printed = selectionOnly ? text.selText() : text.text();
    if (props.Flags != 0)
        text.setSelLength(0);
    const platform::PrintDocument job = document(doc, printed, props.Copies);
    const platform::PrintOutcome outcome = app_.services().printer->print(job);
    if (!outcome.ok)
        reportFailure(outcome.reason);
}

// The whole text, one copy, as "&Imprimer" would print it; the selection is left as it is.
void PrintingCommands::Mnu_Apercu_Click()
{
    Form1 *doc = app_.activeDocument();
    if (!doc)
        return;
    platform::RichTextBox &text = *doc->Text1;
    const qsizetype start = text.selStart();
    const qsizetype length = text.selLength();
    text.setSelLength(0);
    const platform::PrintDocument job = document(doc, text.text(), 1);
    text.setSelStart(start);
    text.setSelLength(length);
    const platform::PrintOutcome outcome = app_.services().printer->preview(job);
    if (!outcome.ok)
        reportFailure(outcome.reason);
}

// The choices go to the printer the next print uses. Cancel or a failure: nothing said.
void PrintingCommands::Mnu_ConfigImp_Click()
{
    platform::CommonDialog &dialog = *app_.services().commonDialog;
    dialog.props().Flags = platform::cdl::PrintSetup;
    dialog.showPrinter();
}

platform::PrintDocument PrintingCommands::document(Form1 *doc, const QString &text, int copies)
{
    const platform::RichTextBox &area = *doc->Text1;
    platform::PrintDocument job;
    job.font.name = area.selFontName().value_or(area.baseFontName());
    job.font.bold = area.selBold();
    job.font.italic = area.selItalic();
    job.font.size = area.selFontSize() > 0 ? area.selFontSize() : area.baseFontSize();
    job.font.strikeOut = area.selStrikeThru();
    job.font.underline = area.selUnderline();
    job.tabWidth = area.tabWidth();
    AppState &state = app_.state();
    state.FileName = doc->caption();
    job.title = state.FileName;
    job.copies = printing::printedCopies(text, state.HeaderOption, state.FileName, copies);
    return job;
}

void PrintingCommands::reportFailure(const QString &reason)
{
    app_.services().messageBox->show(printing::texts::printError(reason), platform::mb::Critical,
                                     printing::texts::errorTitle());
}

} // namespace tarmel

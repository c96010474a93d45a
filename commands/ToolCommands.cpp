#include "commands/ToolCommands.h"

#include "app/AppContext.h"
#include "app/CommandState.h"
#include "app/DocumentEvents.h"
#include "commands/ToolTexts.h"
#include "commands/frmAbout.h"
#include "document/Form1.h"
#include "platform/RichTextBox.h"
#include "platform/Services.h"

#include <QFileInfo>

namespace tarmel {

namespace {
constexpr qint32 kFontFlags = 259; // screen and printer fonts, with the effects
}

ToolCommands::ToolCommands(AppContext &app) : app_(app)
{
    app.registerCommand(QStringLiteral("Mnu_Texte"), [this] { Mnu_Texte_Click(); });
    app.registerCommand(QStringLiteral("Mnu_Calculatrice"), [this] { Mnu_Calculatrice_Click(); });
    app.registerCommand(QStringLiteral("Mnu_Explore"), [this] { Mnu_Explore_Click(); });
    app.registerCommand(QStringLiteral("Mnu_tableCar"), [this] { Mnu_tableCar_Click(); });
    app.registerCommand(QStringLiteral("Mnu_Apropos"), [this] { Mnu_Apropos_Click(); });
}

// The font of the whole text. Cancel, or a text holding more than one font, ends silently
// with the whole text selected and the undo snapshot kept. On a plain-text document the font
// is only how the text is shown; on a rich-text one it is content: the document is modified.
void ToolCommands::Mnu_Texte_Click()
{
    Form1 *doc = app_.activeDocument();
    if (!doc)
        return;
    platform::DialogProperties &props = app_.services().commonDialog->props();
    props.CancelError = true;
    const bool chosen = chooseFont(doc);
    props.CancelError = false;
    if (!chosen || doc->fileType != FileType::Rich)
        return;
    const bool firstChange = !doc->Change;
    doc->Change = true;
    app_.commands().setSaveAvailable(true);
    if (firstChange)
        emit app_.events().changed(doc);
}

bool ToolCommands::chooseFont(Form1 *doc)
{
    platform::CommonDialog &dialog = *app_.services().commonDialog;
    platform::DialogProperties &props = dialog.props();
    platform::RichTextBox &text = *doc->Text1;
    app_.RecordUndoSnapshot(doc);
    text.setSelStart(0);
    text.setSelLength(text.textLength());
    const std::optional<QString> name = text.selFontName();
    if (!name)
        return false;
    props.FontName = *name;
    props.Flags = kFontFlags;
    if (!dialog.showFont())
        return false;
    text.setSelFontName(props.FontName);
    text.setSelFontSize(float(props.FontSize));
    text.setSelBold(props.FontBold);
    text.setSelItalic(props.FontItalic);
    text.setSelStrikeThru(props.FontStrikethru);
    text.setSelUnderline(props.FontUnderline);
    text.setSelColor(props.Color.isValid() ? props.Color : QColor(Qt::black));
    text.setSelLength(0);
    return true;
}

void ToolCommands::Mnu_Calculatrice_Click()
{
    startTool(QStringLiteral("Calc.exe"), texts::calculatorNotFound());
}

// The file manager opens on the active document's folder, or on the home folder.
void ToolCommands::Mnu_Explore_Click()
{
    QString folder;
    if (Form1 *doc = app_.activeDocument()) {
        const QFileInfo file(doc->caption());
        if (file.isAbsolute())
            folder = file.absolutePath();
    }
    startTool(QStringLiteral("explorer.exe"), texts::explorerNotFound(), folder);
}

void ToolCommands::Mnu_tableCar_Click()
{
    startTool(QStringLiteral("Charmap.exe"), texts::characterMapNotFound());
}

void ToolCommands::startTool(const QString &program, const QString &notFound, const QString &folder)
{
    const platform::Services &services = app_.services();
    if (!services.shell->startProgram(program, folder))
        services.messageBox->show(notFound, platform::mb::Critical, texts::errorTitle());
}

// Modal to the main window; discarded when closed.
void ToolCommands::Mnu_Apropos_Click()
{
    auto *about = new frmAbout(app_.dialogParent());
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->open();
}

} // namespace tarmel

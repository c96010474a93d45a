#include "files/FileCommands.h"

#include "app/AppContext.h"
#include "app/CommandState.h"
#include "app/DocumentEvents.h"
#include "app/Paths.h"
#include "document/DocumentTexts.h"
#include "document/Form1.h"
#include "document/StatusBar1Widget.h"
#include "files/AtomicWriter.h"
#include "files/FilePaths.h"
#include "files/FileReading.h"
#include "files/FileRules.h"
#include "files/LongLines.h"
#include "files/FileTexts.h"
#include "platform/RichTextBox.h"
#include "platform/Services.h"

#include <QFileInfo>

namespace tarmel {

FileCommands::FileCommands(AppContext &app) : app_(app)
{
    app.registerCommand(QStringLiteral("Mnu_Nouveau"), [this] { Mnu_Nouveau_Click(); });
    app.registerCommand(QStringLiteral("Mnu_Ouvrir"), [this] { Mnu_Ouvrir_Click(); });
    app.registerCommand(QStringLiteral("Mnu_Close"), [this] { Mnu_Close_Click(); });
    app.registerCommand(QStringLiteral("Mnu_Enregistrer"), [this] { Mnu_Enregistrer_Click(); });
    app.registerCommand(QStringLiteral("Mnu_EnregistrerSous"), [this] { Mnu_EnregistrerSous_Click(); });
    app.registerCommand(QStringLiteral("Mnu_Quitter"), [this] { Mnu_Quitter_Click(); });
    app.registerCommand(QStringLiteral("Mnu_Fusionner"), [this] { Mnu_Fusionner_Click(); });
}

void FileCommands::showError(const QString &text)
{
    app_.services().messageBox->show(text, platform::mb::Critical, texts::errorTitle());
}

void FileCommands::Mnu_Nouveau_Click()
{
    NouveauFichier();
}

void FileCommands::NouveauFichier()
{
    CommandState &commands = app_.commands();
    Form1 *doc = app_.createDocument();
    doc->setCaption(texts::newDocument());
    doc->StatusBar1->setPanelText(1, texts::newDocument());
    doc->Change = false;

    commands.setPasteAvailable(!app_.services().clipboard->text().isEmpty());
    commands.setSelectionButtons(false);
    doc->hidePanels();
    commands.set(Command::Merge, false);
    commands.set(Command::Save, false, Surface::Button);
    commands.set({Command::SaveAs, Command::Print, Command::Close, Command::Find, Command::Replace}, true,
                 Surface::Button);
    app_.InitMenu();
    app_.Mnu_Edit_Click();
}

void FileCommands::OpenFile(const QString &path)
{
    CommandState &commands = app_.commands();
    const auto before = commands.snapshot();
    AppState &state = app_.state();
    state.FileName = path; // every caller names the file in both; one source of truth here
    qint64 size = 0;
    {
        // Only a regular file that opens for reading gets a window; a folder, a FIFO or a
        // device is refused here, before anything is made.
        const ReadableFile probe(path);
        if (!probe.ok()) {
            showError(texts::openError());
            return;
        }
        size = probe.size();
    }
    const FileType type = isRichTextName(state.FileName) ? FileType::Rich : FileType::Plain;

    Form1 *doc = app_.createDocument();
    doc->hidePanels();
    doc->Loading = true;
    const bool loaded = doc->Text1->loadFile(state.FileName, type);
    doc->Loading = false;
    if (!loaded) {
        // The window made for the file goes again, and the menus are as they were.
        doc->Change = false;
        app_.closeDocument(doc);
        commands.restore(before);
        showError(texts::openError());
        return;
    }
    doc->fileType = type;
    doc->Change = false;
    doc->StatusBar1->setPanelText(1, displayPath(FileNameOnly(state.FileName)));
    doc->showSize(size);
    doc->showFileFormat();
    doc->setCaption(state.FileName);
    commands.set(Command::Save, false, Surface::Item);
    commands.set({Command::SaveAs, Command::Print, Command::Merge}, true, Surface::Item);
    app_.events().loaded(doc);
    app_.InitMenu();
    app_.Mnu_Edit_Click();
    doc->Change = false;
    if (doc->Text1->longLinesCut())
        app_.services().messageBox->show(texts::longLinesText(displayPath(FileNameOnly(state.FileName))),
                                         platform::mb::Exclamation, texts::openTitle());
}

std::function<bool(const QString &)> FileCommands::secureFor(Form1 *doc) const
{
    if (!secureBeforeRewrite_)
        return {};
    return [this, doc](const QString &path) { return secureBeforeRewrite_(doc, path); };
}

bool FileCommands::SaveFile(const QString &path)
{
    return saveDocument(app_.activeDocument(), path);
}

// The document and the path are the caller's own: a message shown on the way lets other
// events run (a hand-off opening another window), which must not change what is saved where.
bool FileCommands::saveDocument(Form1 *doc, const QString &path)
{
    if (!doc)
        return false;
    QString reason;
    SaveOutcome outcome = SaveOutcome::Failed;
    if (doc->Text1->longLinesCut()) {
        reason = texts::longLinesSaveReason();   // the cut text is not the file's
    } else {
        bool proceed = true;
        emit app_.events().aboutToSave(doc, path, proceed);
        if (!proceed)
            return false; // the file and the document stay as they are
        if (doc->fileType == FileType::Rich) {
            const WriteResult written = doc->Text1->saveRichFile(path, secureFor(doc));
            outcome = written.ok ? SaveOutcome::Saved : SaveOutcome::Failed;
            reason = written.error;
        } else {
            outcome = savePlain(doc, path, &reason);
        }
    }
    if (outcome == SaveOutcome::Declined)
        return false;
    if (outcome == SaveOutcome::Failed) {
        showError(texts::saveError() + u'\r' + reason);
        return false;
    }
    doc->Change = false;
    app_.commands().setSaveAvailable(false);
    app_.commands().setUndoAvailable(false);
    app_.events().saved(doc);
    return true;
}

// Writes the program file in its own encoding and line ends. A character the encoding cannot
// hold is never replaced silently: the user chooses UTF-8 or keeps the document unsaved.
FileCommands::SaveOutcome FileCommands::savePlain(Form1 *doc, const QString &path, QString *reason)
{
    FileFormat format = doc->Text1->fileFormat();
    const QByteArray utf8 = doc->Text1->utf8();
    Encoded encoded = plainFileBytes(utf8, format);
    if (!encoded.ok) {
        const QString bad = QString::fromUcs4(&encoded.badChar, 1);
        const QString question = texts::encodingText(bad, lineOfOffset(utf8, encoded.badOffset));
        if (app_.services().messageBox->show(question, platform::mb::YesNo + platform::mb::Exclamation,
                                             texts::encodingTitle()) != platform::mb::AnswerYes)
            return SaveOutcome::Declined;
        format.encoding = Encoding::Utf8;
        format.bom = false;
        encoded = plainFileBytes(utf8, format);
    }
    if (!encoded.ok)
        return SaveOutcome::Failed;
    const WriteResult written = writeFileAtomically(path, encoded.bytes, secureFor(doc));
    if (!written.ok) {
        *reason = written.error;
        return SaveOutcome::Failed;
    }
    const QByteArray &b = encoded.bytes;
    format.finalLineEnd = !b.isEmpty() && (b.back() == '\n' || b.back() == '\r');
    doc->Text1->setFileFormat(format);
    doc->showFileFormat();
    return SaveOutcome::Saved;
}

void FileCommands::Mnu_Ouvrir_Click()
{
    AppState &state = app_.state();
    platform::DialogProperties &dlg = app_.services().commonDialog->props();
    dlg.CancelError = true;
    dlg.DialogTitle = texts::openTitle();
    dlg.Filter = texts::fileFilter();
    dlg.FilterIndex = state.LastFilterIndex;
    if (!app_.services().commonDialog->showOpen())
        return;
    state.FilterIndex = qint16(dlg.FilterIndex);
    state.LastFilterIndex = state.FilterIndex;
    state.FileName = dlg.FileName;
    if (!state.FileName.isEmpty())
        OpenFile(state.FileName);
}

void FileCommands::Mnu_Enregistrer_Click()
{
    Form1 *doc = app_.activeDocument();
    if (!doc)
        return;
    const QString path = doc->caption();
    app_.state().FileName = path;
    if (path == texts::newDocument() || path.isEmpty()) {
        saveDocumentAs(doc);
        return;
    }
    if (saveDocument(doc, path))
        doc->setCaption(path);
}

bool FileCommands::Mnu_EnregistrerSous_Click()
{
    return saveDocumentAs(app_.activeDocument());
}

// The save dialog; on OK, path is the name to write and rich says whether the rich-text
// filter was chosen (the format follows the filter, for this document only).
bool FileCommands::askSaveAsName(QString &path, bool &rich)
{
    AppState &state = app_.state();
    platform::DialogProperties &dlg = app_.services().commonDialog->props();
    dlg.FileName = state.FileName;
    dlg.CancelError = true;
    dlg.DialogTitle = texts::saveAsTitle();
    dlg.FilterIndex = state.LastFilterIndex;
    dlg.Filter = texts::fileFilter();
    dlg.Flags = platform::cdl::OverwritePrompt;
    if (!app_.services().commonDialog->showSave())
        return false;
    state.FilterIndex = qint16(dlg.FilterIndex);
    state.LastFilterIndex = state.FilterIndex;
    path = dlg.FileName;
    state.FileName = path;
    if (path.isEmpty())
        return false;
    rich = state.FilterIndex == texts::RtfFilterIndex;
    if (!rich)
        return true;
    path = richTextSaveName(path);
    state.FileName = path;
    // The dialog asked about the name typed; the name written may be another one.
    return path == dlg.FileName || !QFileInfo::exists(path)
        || app_.services().messageBox->show(texts::replaceText(path), platform::mb::YesNo + platform::mb::Exclamation,
                                            texts::saveAsTitle())
               == platform::mb::AnswerYes;
}

bool FileCommands::saveDocumentAs(Form1 *doc)
{
    if (!doc)
        return false;
    app_.state().FileName = doc->caption();
    QString path;
    bool rich = false;
    if (!askSaveAsName(path, rich))
        return false;
    const FileType previousType = doc->fileType;
    doc->fileType = rich ? FileType::Rich : FileType::Plain;
    if (!saveDocument(doc, path)) {
        doc->fileType = previousType;
        return false;
    }
    doc->setCaption(path);
    doc->StatusBar1->setPanelText(1, FileNameOnly(path).toUpper());
    return true;
}

bool FileCommands::documentCloseRequest(Form1 *doc)
{
    if (!doc->Change)
        return true;
    app_.activateDocument(doc);
    AppState &state = app_.state();
    state.FileName = doc->caption();
    const int answer = app_.services().messageBox->show(texts::closeText(displayPath(state.FileName)),
                                                        platform::mb::YesNo + platform::mb::Exclamation,
                                                        texts::closeTitle());
    if (answer != platform::mb::AnswerYes)
        return true;
    // A document never saved goes through Save As, preset to Nouveau.iso in the current
    // folder; a failed or cancelled save keeps the window open, so nothing is lost.
    const QString path = state.FileName;
    if (path.isEmpty() || path == texts::newDocument()) {
        doc->setCaption(AddBackslash(app_.services().shell->currentFolder()) + texts::newDocument());
        const bool saved = saveDocumentAs(doc);
        if (!saved)
            doc->setCaption(texts::newDocument());
        return saved;
    }
    return saveDocument(doc, path);
}

void FileCommands::Mnu_Close_Click()
{
    if (app_.loadedWindowCount() > 1) {
        if (Form1 *doc = app_.activeDocument())
            app_.closeDocument(doc);
    }
    app_.InitMenu();
}

void FileCommands::Mnu_Quitter_Click()
{
    const int answer = app_.services().messageBox->show(
        texts::quitText(), platform::mb::YesNo + platform::mb::Question + platform::mb::DefaultButton2,
        texts::quitTitle());
    if (answer != platform::mb::AnswerYes)
        return;
    const int c = app_.loadedWindowCount();
    for (int i = 1; i < c; ++i) {
        Form1 *doc = app_.activeDocument();
        if (!doc)
            break;
        if (!app_.closeDocument(doc)) {
            app_.InitMenu();
            return; // a document that could not be saved stays open, and so does the program
        }
    }
    app_.closeMainWindow();
}

void FileCommands::Mnu_Fusionner_Click()
{
    Form1 *doc = app_.activeDocument();
    if (!doc)
        return;
    AppState &state = app_.state();
    platform::DialogProperties &dlg = app_.services().commonDialog->props();
    dlg.FileName.clear();
    dlg.CancelError = true;
    dlg.DialogTitle = texts::mergeTitle();
    dlg.Filter = texts::mergeFilter();
    if (state.LastFilterIndex == texts::RtfFilterIndex)
        state.LastFilterIndex = 1;
    dlg.FilterIndex = state.LastFilterIndex;
    if (!app_.services().commonDialog->showOpen())
        return;
    state.FilterIndex = qint16(dlg.FilterIndex);
    state.LastFilterIndex = state.FilterIndex;
    state.MergeFileName = dlg.FileName;
    if (state.MergeFileName.isEmpty())
        return;
    // Read before the undo snapshot: a file that cannot be merged changes nothing. A text with a
    // line too long to edit is not merged into an editable document.
    ReadableFile file(state.MergeFileName);
    QByteArray bytes;
    if (!file.ok() || !file.readAll(&bytes) || longestLine(bytes) > longLineLimit) {
        showError(texts::openError());
        return;
    }
    app_.RecordUndoSnapshot(doc);
    const DecodedUtf8 decoded = decodeToUtf8(bytes);
    const QByteArray lineEnd = lineEndBytes(doc->Text1->fileFormat().lineEnds);
    doc->Text1->setSelText(utf8ToString(withLineEnds(decoded.utf8, lineEnd)));
}

} // namespace tarmel

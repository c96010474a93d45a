// The file commands of the main window: open, save, save as, merge.
#include "app/AppTexts.h"
#include "app/MDIForm1.h"
#include "app/Paths.h"
#include "document/Form1.h"
#include "document/StatusBar1Widget.h"
#include "files/AtomicWriter.h"
#include "files/FileRules.h"
#include "files/FileTexts.h"
#include "platform/RichTextBox.h"

#include <QFile>
#include <QFileInfo>
#include <QMdiSubWindow>

namespace tarmel {

namespace {

QString text(const char16_t *s)
{
    return QString::fromUtf16(s);
}

} // namespace

void MDIForm1::OpenFile(const QString &path)
{
    const auto before = commandState();
    state_.FileName = path; // every caller names the file in both; one source of truth here
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile() || !info.isReadable()) {
        services_.messageBox->show(text(texts::OpenError), platform::mb::Critical, text(texts::ErrorTitle));
        return;
    }
    const qint64 size = info.size();
    const int type = isRichTextName(state_.FileName) ? 0 : 1;

    Form1 *doc = createDocument();
    doc->hidePanels();
    if (!doc->Text1->loadFile(state_.FileName, type)) {
        // The window made for the file goes again, and the menus are as they were.
        doc->Change = false;
        if (auto *sub = qobject_cast<QMdiSubWindow *>(doc->parentWidget()))
            sub->close();
        restoreCommandState(before);
        services_.messageBox->show(text(texts::OpenError), platform::mb::Critical, text(texts::ErrorTitle));
        return;
    }
    doc->FileType = type;
    doc->Change = false;
    doc->StatusBar1->setPanelText(1, FileNameOnly(state_.FileName));
    doc->showSize(size);
    doc->showFileFormat();
    doc->setCaption(state_.FileName);
    action(QStringLiteral("Mnu_Enregistrer"))->setEnabled(false);
    for (const char16_t *name : {u"Mnu_EnregistrerSous", u"Mnu_Imprimer", u"Mnu_Fusionner"})
        action(text(name))->setEnabled(true);
    InitMenu();
    Mnu_Edit_Click();
    doc->Change = false;
}

bool MDIForm1::SaveFile(const QString &path)
{
    return saveDocument(activeDocument(), path);
}

// The document and the path are the caller's own: a message shown on the way lets other
// events run (a hand-off opening another window), which must not change what is saved where.
bool MDIForm1::saveDocument(Form1 *doc, const QString &path)
{
    if (!doc)
        return false;
    bool saved = false;
    if (doc->FileType == 0) {
        saved = doc->Text1->saveFile(path, 0);
    } else {
        FileFormat format = doc->Text1->fileFormat();
        const QByteArray utf8 = doc->Text1->utf8();
        Encoded encoded = plainFileBytes(utf8, format);
        if (!encoded.ok) {
            // Never a silent "?": the user chooses UTF-8 or keeps the document unsaved.
            const QString bad = QString::fromUcs4(&encoded.badChar, 1);
            const QString question = text(texts::EncodingText).arg(bad).arg(lineOfOffset(utf8, encoded.badOffset));
            if (services_.messageBox->show(question, platform::mb::YesNo + platform::mb::Exclamation,
                                           text(texts::EncodingTitle)) != platform::mb::AnswerYes)
                return false;
            format.encoding = Encoding::Utf8;
            format.bom = false;
            encoded = plainFileBytes(utf8, format);
        }
        saved = encoded.ok && writeFileAtomically(path, encoded.bytes).ok;
        if (saved) {
            const QByteArray &b = encoded.bytes;
            format.finalLineEnd = !b.isEmpty() && (b.back() == '\n' || b.back() == '\r');
            doc->Text1->setFileFormat(format);
            doc->showFileFormat();
        }
    }
    if (!saved) {
        services_.messageBox->show(text(texts::SaveError), platform::mb::Critical, text(texts::ErrorTitle));
        return false;
    }
    doc->Change = false;
    action(QStringLiteral("Mnu_Enregistrer"))->setEnabled(false);
    action(QStringLiteral("Mnu_Annuler"))->setEnabled(false);
    setButtonEnabled(3, false);
    setButtonEnabled(8, false);
    return true;
}

void MDIForm1::Mnu_Ouvrir_Click()
{
    platform::DialogProperties &dlg = services_.commonDialog->props();
    dlg.CancelError = true;
    dlg.DialogTitle = text(texts::OpenTitle);
    dlg.Filter = text(texts::FileFilter);
    dlg.FilterIndex = state_.LastFilterIndex;
    if (!services_.commonDialog->showOpen())
        return;
    state_.FilterIndex = qint16(dlg.FilterIndex);
    state_.LastFilterIndex = state_.FilterIndex;
    state_.FileName = dlg.FileName;
    if (!state_.FileName.isEmpty())
        OpenFile(state_.FileName);
}

void MDIForm1::Mnu_Enregistrer_Click()
{
    Form1 *doc = activeDocument();
    if (!doc)
        return;
    const QString path = doc->caption();
    state_.FileName = path;
    if (path == text(texts::NewDocument) || path.isEmpty()) {
        saveDocumentAs(doc);
        return;
    }
    if (saveDocument(doc, path))
        doc->setCaption(path);
}

bool MDIForm1::Mnu_EnregistrerSous_Click()
{
    return saveDocumentAs(activeDocument());
}

bool MDIForm1::saveDocumentAs(Form1 *doc)
{
    if (!doc)
        return false;
    platform::DialogProperties &dlg = services_.commonDialog->props();
    state_.FileName = doc->caption();
    dlg.FileName = state_.FileName;
    dlg.CancelError = true;
    dlg.DialogTitle = text(texts::SaveAsTitle);
    dlg.FilterIndex = state_.LastFilterIndex;
    dlg.Filter = text(texts::FileFilter);
    dlg.Flags = platform::cdl::OverwritePrompt;
    if (!services_.commonDialog->showSave())
        return false;
    state_.FilterIndex = qint16(dlg.FilterIndex);
    state_.LastFilterIndex = state_.FilterIndex;
    QString path = dlg.FileName;
    state_.FileName = path;
    if (path.isEmpty())
        return false;
    // The format follows the filter chosen in this dialog, for this document only.
    const bool rich = state_.FilterIndex == texts::RtfFilterIndex;
    if (rich) {
        path = richTextSaveName(path);
        state_.FileName = path;
        // The dialog asked about the name typed; the name written may be another one.
        if (path != dlg.FileName && QFileInfo::exists(path)
            && services_.messageBox->show(text(texts::ReplaceText).arg(path),
                                          platform::mb::YesNo + platform::mb::Exclamation,
                                          text(texts::SaveAsTitle)) != platform::mb::AnswerYes)
            return false;
    }
    const int previousType = doc->FileType;
    doc->FileType = rich ? 0 : 1;
    if (!saveDocument(doc, path)) {
        doc->FileType = previousType;
        return false;
    }
    doc->setCaption(path);
    doc->StatusBar1->setPanelText(1, FileNameOnly(path).toUpper());
    return true;
}

void MDIForm1::Mnu_Fusionner_Click()
{
    Form1 *doc = activeDocument();
    if (!doc)
        return;
    platform::DialogProperties &dlg = services_.commonDialog->props();
    dlg.FileName.clear();
    dlg.CancelError = true;
    dlg.DialogTitle = text(texts::MergeTitle);
    dlg.Filter = text(texts::MergeFilter);
    if (state_.LastFilterIndex == texts::RtfFilterIndex)
        state_.LastFilterIndex = 1;
    dlg.FilterIndex = state_.LastFilterIndex;
    if (!services_.commonDialog->showOpen())
        return;
    state_.FilterIndex = qint16(dlg.FilterIndex);
    state_.LastFilterIndex = state_.FilterIndex;
    state_.MergeFileName = dlg.FileName;
    if (state_.MergeFileName.isEmpty())
        return;
    RecordUndoSnapshot(doc);
    QFile file(state_.MergeFileName);
    if (!file.open(QIODevice::ReadOnly)) {
        services_.messageBox->show(text(texts::OpenError), platform::mb::Critical, text(texts::ErrorTitle));
        return;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        services_.messageBox->show(text(texts::OpenError), platform::mb::Critical, text(texts::ErrorTitle));
        return;
    }
    const DecodedUtf8 decoded = decodeToUtf8(bytes);
    const QByteArray lineEnd = lineEndBytes(doc->Text1->fileFormat().lineEnds);
    doc->Text1->setSelText(utf8ToString(withLineEnds(decoded.utf8, lineEnd)));
}

} // namespace tarmel

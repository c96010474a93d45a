#include "recovery/ExternalChangeCommands.h"

#include "app/AppContext.h"
#include "app/CommandState.h"
#include "app/DocumentEvents.h"
#include "document/DocumentTexts.h"
#include "document/Form1.h"
#include "document/StatusBar1Widget.h"
#include "files/FileTexts.h"
#include "platform/RichTextBox.h"
#include "platform/Services.h"
#include "recovery/RecoveryTexts.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

namespace tarmel {

namespace {

QString samePathKey(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

ExternalChangeCommands::ExternalChangeCommands(AppContext &app) : app_(app)
{
    DocumentEvents &events = app.events();
    connect(&events, &DocumentEvents::loaded, this, [this](Form1 *doc) { remember(doc, doc->caption()); });
    connect(&events, &DocumentEvents::aboutToSave, this, &ExternalChangeCommands::aboutToSave);
    connect(&events, &DocumentEvents::saved, this, &ExternalChangeCommands::saved);
    connect(&events, &DocumentEvents::closed, this, [this](Form1 *doc) { known_.remove(doc); });
    connect(&events, &DocumentEvents::activated, this, [this] { checkActiveDocument(); });
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            checkActiveDocument();
    });
}

FileStamp ExternalChangeCommands::baseOf(Form1 *doc) const
{
    return known_.value(doc).stamp;
}

void ExternalChangeCommands::setBase(Form1 *doc, const QString &path, const FileStamp &stamp)
{
    known_[doc] = Known{path, stamp, {}, {}};
    showReadOnly(doc, path);
}

void ExternalChangeCommands::remember(Form1 *doc, const QString &path)
{
    setBase(doc, path, stampOf(path));
}

void ExternalChangeCommands::showReadOnly(Form1 *doc, const QString &path)
{
    doc->StatusBar1->setPanelText(8, isReadOnlyFile(path) ? texts::readOnlyNotice() : texts::statusNotice());
}

// Only a save over the document's own file asks: another name was chosen in the save dialog,
// which asked about replacing it. A deleted file is simply written again.
void ExternalChangeCommands::aboutToSave(Form1 *doc, const QString &path, bool &proceed)
{
    const auto it = known_.find(doc);
    if (it == known_.end()) {
        known_[doc].savingTo = path;
        return;
    }
    it->savingTo = path;
    if (samePathKey(it->path) != samePathKey(path)
        || compareWithDisk(it->stamp, path) != DiskChange::Changed)
        return;
    const int answer = app_.services().messageBox->show(texts::changedOnDiskSave(path),
                                                        platform::mb::YesNo + platform::mb::Exclamation
                                                            + platform::mb::DefaultButton2,
                                                        texts::changedOnDiskTitle());
    proceed = answer == platform::mb::AnswerYes;
}

void ExternalChangeCommands::saved(Form1 *doc)
{
    const QString path = known_.value(doc).savingTo;
    if (!path.isEmpty())
        remember(doc, path);
}

void ExternalChangeCommands::checkActiveDocument()
{
    if (asking_ || QApplication::activeModalWidget())
        return;
    Form1 *doc = app_.activeDocument();
    const auto it = doc ? known_.find(doc) : known_.end();
    if (it == known_.end() || it->path.isEmpty())
        return;
    showReadOnly(doc, it->path); // its permissions may have changed meanwhile
    if (doc->Change)
        return;
    if (it->declined.exists && stampOf(it->path, -1).sameMetadata(it->declined))
        return; // this change was already declined (told by the metadata alone, without reading)
    FileStamp now;
    if (compareWithDisk(it->stamp, it->path, &now) != DiskChange::Changed)
        return;
    asking_ = true;
    const QString path = it->path;
    const int answer = app_.services().messageBox->show(texts::changedOnDiskReload(path),
                                                        platform::mb::YesNo + platform::mb::Question,
                                                        texts::changedOnDiskTitle());
    asking_ = false;
    // The answer let other events run: the document may have gone, or been modified.
    const auto again = known_.find(doc);
    if (again == known_.end() || doc->Change)
        return;
    if (answer == platform::mb::AnswerYes)
        reload(doc, path);
    else
        again->declined = now;
}

void ExternalChangeCommands::reload(Form1 *doc, const QString &path)
{
    doc->Loading = true;
    const bool loaded = doc->Text1->loadFile(path, doc->fileType);
    doc->Loading = false;
    doc->Change = false;
    if (!loaded) {
        app_.services().messageBox->show(texts::openError(), platform::mb::Critical, texts::errorTitle());
        return;
    }
    doc->AnnulRedo = false;
    doc->RedoText.clear();
    doc->showSize(QFileInfo(path).size());
    doc->showFileFormat();
    app_.commands().setSaveAvailable(false);
    app_.commands().setUndoAvailable(false);
    emit app_.events().loaded(doc);
}

} // namespace tarmel

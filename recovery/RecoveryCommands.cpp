#include "recovery/RecoveryCommands.h"

#include "app/AppContext.h"
#include "app/CommandState.h"
#include "app/DocumentEvents.h"
#include "app/Paths.h"
#include "document/DocumentTexts.h"
#include "document/Form1.h"
#include "document/StatusBar1Widget.h"
#include "files/RtfReader.h"
#include "files/RtfWriter.h"
#include "platform/Recovery.h"
#include "platform/RichTextBox.h"
#include "platform/Services.h"
#include "recovery/ExternalChangeCommands.h"
#include "recovery/RecoveryTexts.h"

#include <QFileInfo>
#include <QTimer>

namespace tarmel {

RecoveryCommands::RecoveryCommands(AppContext &app, ExternalChangeCommands &disk) : app_(app), disk_(disk)
{
    DocumentEvents &events = app.events();
    connect(&events, &DocumentEvents::created, this, &RecoveryCommands::watch);
    connect(&events, &DocumentEvents::saved, this, &RecoveryCommands::removeJournal);
    connect(&events, &DocumentEvents::closed, this, [this](Form1 *doc) {
        // Closed: saved, or left unsaved by the user's own answer. Either way its journal goes.
        removeJournal(doc);
        if (const auto it = docs_.find(doc); it != docs_.end()) {
            delete it->timer;
            docs_.erase(it);
        }
    });
}

RecoveryCommands::~RecoveryCommands() = default;

bool RecoveryCommands::session()
{
    if (session_)
        return true;
    const platform::Recovery *recovery = app_.services().recovery;
    const QString folder = recovery ? recovery->journalFolder() : QString();
    if (folder.isEmpty())
        return false;
    session_ = std::make_unique<recovery::JournalSession>(folder);
    return true;
}

void RecoveryCommands::watch(Form1 *doc)
{
    Watched w;
    w.id = nextId_++;
    w.timer = new QTimer(doc);
    w.timer->setSingleShot(true);
    connect(w.timer, &QTimer::timeout, doc, [this, doc] { writeJournal(doc); });
    connect(doc->Text1, &platform::RichTextBox::textChanged, doc, [this, doc] { textChanged(doc); });
    docs_.insert(doc, w);
}

// Typing only restarts a timer: the journal is written once the keys pause, and at least every
// longestMs while they do not.
void RecoveryCommands::textChanged(Form1 *doc)
{
    const auto it = docs_.find(doc);
    const platform::Recovery *recovery = app_.services().recovery;
    if (it == docs_.end() || doc->Loading || !recovery)
        return;
    if (!it->timer->isActive())
        it->pendingSince.start();
    const int pause = recovery->journalPause();
    const qint64 left = recovery->journalLongestWait() - it->pendingSince.elapsed();
    it->timer->start(int(qBound(qint64(0), qMin(qint64(pause), left), qint64(pause))));
}

QString RecoveryCommands::journalOf(Form1 *doc) const
{
    const auto it = docs_.constFind(doc);
    return it != docs_.constEnd() && it->journalled && session_ ? session_->journalPath(it->id) : QString();
}

void RecoveryCommands::writeJournal(Form1 *doc)
{
    const auto it = docs_.find(doc);
    if (it == docs_.end())
        return;
    if (!doc->Change) {
        removeJournal(doc);
        return;
    }
    if (!session())
        return;
    QString error;
    if (writeEntry(doc, *it, &error))
        return;
    // Said once: the journal is tried again after the next pause, and saving still works.
    if (!writeErrorShown_) {
        writeErrorShown_ = true;
        app_.services().messageBox->show(texts::journalWriteError(error), platform::mb::Exclamation,
                                         texts::recoveryTitle());
    }
}

// A file rewritten in place is neither old nor new while it is written: its text goes to the
// journal first, so a crash during the write loses nothing. Without a journal the rewrite goes
// ahead as it would have anyway.
bool RecoveryCommands::secureBeforeRewrite(Form1 *doc)
{
    const auto it = docs_.find(doc);
    if (it == docs_.end() || !session())
        return true;
    QString error;
    return writeEntry(doc, *it, &error);
}

bool RecoveryCommands::writeEntry(Form1 *doc, Watched &watched, QString *error)
{
    recovery::JournalEntry entry;
    const QString caption = doc->caption();
    entry.path = caption == texts::newDocument() ? QString() : caption;
    entry.written = app_.services().clock->now().toUTC();
    entry.type = doc->fileType;
    entry.format = doc->Text1->fileFormat();
    entry.text = doc->fileType == FileType::Rich ? writeRtf(doc->Text1->formattedText()) : doc->Text1->utf8();
    entry.base = disk_.baseOf(doc);
    if (!session_->write(watched.id, entry, error))
        return false;
    watched.journalled = true;
    return true;
}

void RecoveryCommands::removeJournal(Form1 *doc)
{
    const auto it = docs_.find(doc);
    if (it == docs_.end())
        return;
    it->timer->stop();
    if (it->journalled && session_)
        session_->remove(it->id);
    it->journalled = false;
}

// ---------------------------------------------------------------- start-up

void RecoveryCommands::reportUnreadable(const QStringList &files)
{
    for (const QString &file : files)
        app_.services().messageBox->show(texts::unreadableJournal(file), platform::mb::Exclamation,
                                         texts::recoveryTitle());
}

void RecoveryCommands::offerRecovery()
{
    platform::Recovery *recovery = app_.services().recovery;
    const QString folder = recovery ? recovery->journalFolder() : QString();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return;
    recovery::OrphanSessions orphans(folder);
    QStringList unreadable;
    for (const recovery::OrphanJournal &j : orphans.journals()) {
        if (!j.entry)
            unreadable << j.file;
    }
    reportUnreadable(unreadable);
    for (;;) {
        QList<recovery::OrphanJournal> offered;
        QList<platform::RecoveryItem> items;
        for (const recovery::OrphanJournal &j : orphans.journals()) {
            if (!j.entry)
                continue;
            offered << j;
            const QString path = j.entry->path;
            items << platform::RecoveryItem{path.isEmpty() ? texts::newDocument() : FileNameOnly(path),
                                            path.isEmpty() ? QString() : QFileInfo(path).absolutePath(),
                                            j.entry->written};
        }
        if (offered.isEmpty())
            return;
        const platform::RecoveryAnswer answer = recovery->choose(items);
        QList<recovery::OrphanJournal> chosen;
        for (int i = 0; i < offered.size(); ++i) {
            if (i < answer.chosen.size() && answer.chosen[i])
                chosen << offered[i];
        }
        if (answer.action == platform::RecoveryAnswer::Action::Later || chosen.isEmpty())
            return;
        if (answer.action == platform::RecoveryAnswer::Action::Discard) {
            if (app_.services().messageBox->show(texts::discardQuestion(int(chosen.size())),
                                                 platform::mb::YesNo + platform::mb::Exclamation
                                                     + platform::mb::DefaultButton2,
                                                 texts::recoveryTitle())
                == platform::mb::AnswerYes) {
                for (const recovery::OrphanJournal &j : chosen)
                    orphans.discard(j.file);
            }
            continue;
        }
        // The old journal goes only once the reopened document has a journal of its own here.
        QStringList failed;
        for (const recovery::OrphanJournal &j : chosen) {
            if (reopen(*j.entry))
                orphans.discard(j.file);
            else
                failed << j.file;
        }
        reportUnreadable(failed);
        if (!failed.isEmpty())
            return;
    }
}

// The document comes back modified, with its original path, so that "&Enregistrer" writes
// where the user meant; it is journalled at once by this instance.
bool RecoveryCommands::reopen(const recovery::JournalEntry &entry)
{
    std::optional<FormattedText> rich;
    if (entry.type == FileType::Rich && !(rich = readRtf(entry.text)))
        return false;
    Form1 *doc = app_.createDocument();
    doc->hidePanels();
    doc->Loading = true;
    if (rich) {
        doc->Text1->setFormattedText(*rich);
        FileFormat format;
        format.lineEnds = LineEndStyle::CrLf;
        doc->Text1->setFileFormat(format);
    } else {
        doc->Text1->setUtf8(entry.text);
        doc->Text1->setFileFormat(entry.format);
    }
    doc->Loading = false;
    doc->fileType = entry.type;
    const QString caption = entry.path.isEmpty() ? texts::newDocument() : entry.path;
    doc->setCaption(caption);
    doc->StatusBar1->setPanelText(1, entry.path.isEmpty() ? caption : FileNameOnly(caption));
    doc->showSize(doc->Text1->textLength());
    doc->showFileFormat();
    if (!entry.path.isEmpty())
        disk_.setBase(doc, entry.path, entry.base);
    doc->Change = true;
    CommandState &commands = app_.commands();
    commands.set({Command::Save, Command::SaveAs, Command::Print, Command::Merge}, true);
    emit app_.events().changed(doc);
    app_.InitMenu();
    app_.Mnu_Edit_Click();
    writeJournal(doc);
    return journalOf(doc).size() > 0;
}

} // namespace tarmel

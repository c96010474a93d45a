#pragma once
// The recovery journal of modified documents (see recovery/Journal.h for the files): written
// after typing pauses, from the event loop, through the atomic writer; removed by a save and
// by a close, whatever the user answered to the save question; offered back at the next start
// after a crash or a kill by "Récupération de documents".

#include "recovery/Journal.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>

#include <memory>

class QTimer;

namespace tarmel {

class AppContext;
class ExternalChangeCommands;
class Form1;

class RecoveryCommands : public QObject {
    Q_OBJECT
public:
    RecoveryCommands(AppContext &app, ExternalChangeCommands &disk);
    ~RecoveryCommands() override;

    // Start-up of the instance that holds the instance lock: lists the documents that ended
    // instances left in their journals, and reopens, discards or keeps them as the user chooses.
    void offerRecovery();
    // Writes the document's journal now, before its file is rewritten in place; false when that
    // fails (true when no journal is kept at all).
    bool secureBeforeRewrite(Form1 *doc);

private:
    struct Watched {
        quint64 id = 0;
        QTimer *timer = nullptr;
        QElapsedTimer pendingSince;
        bool journalled = false;
    };
    void watch(Form1 *doc);
    void textChanged(Form1 *doc);
    void writeJournal(Form1 *doc);
    bool writeEntry(Form1 *doc, Watched &watched, QString *error);
    void removeJournal(Form1 *doc);
    bool reopen(const recovery::JournalEntry &entry);
    void reportUnreadable(const QStringList &files);
    QString journalOf(Form1 *doc) const;
    bool session(); // false when no journal is kept

    AppContext &app_;
    ExternalChangeCommands &disk_;
    std::unique_ptr<recovery::JournalSession> session_;
    QHash<Form1 *, Watched> docs_;
    quint64 nextId_ = 1;
    bool writeErrorShown_ = false;
};

} // namespace tarmel

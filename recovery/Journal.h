#pragma once
// The recovery journal: while a document is modified, its whole text is kept in a file of a
// per-user folder, so that a crash or a kill loses nothing typed before the last pause.
//
// Folder layout (root: $XDG_STATE_HOME/tarmel/recovery, by default ~/.local/state/tarmel/recovery):
//   <root>/<pid>-<random>/            one folder per running instance (its session)
//   <root>/<pid>-<random>/lock        held with flock() for the life of that instance
//   <root>/<pid>-<random>/<n>.journal one per modified document of that instance
//   <root>/.<pid>-<random>.new        a session being made (hidden; never listed)
// The kernel drops the lock of an instance that ends in any way, so a session whose lock can
// be taken is the one of an instance that crashed or was killed: its journals are recoverable.
// A session is made under a hidden name and renamed once locked, so a listing never sees a
// session without its lock.

#include "files/TextCodec.h"
#include "recovery/FileStamp.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace tarmel::recovery {

// One document as its journal holds it.
struct JournalEntry {
    QString path;                 // the document's file; empty for a document never saved
    QDateTime written;            // when the journal was written (UTC)
    FileType type = FileType::Plain;
    FileFormat format;            // how the file is stored (plain documents)
    QByteArray text;              // plain: the text as UTF-8; rich: the document as RTF
    FileStamp base;               // the file as the document last read or wrote it
};

// The journal file's bytes: a header of "key=value" lines, a blank line, the text, an end mark.
QByteArray encodeJournal(const JournalEntry &entry);
// Nothing when the bytes are not a whole journal (damaged, cut short, another format).
std::optional<JournalEntry> decodeJournal(const QByteArray &bytes);

// $XDG_STATE_HOME/tarmel/recovery, or ~/.local/state/tarmel/recovery when it is unset or
// not absolute.
QString defaultJournalFolder();

inline constexpr char kJournalSuffix[] = ".journal";

// This instance's own journals. The session folder is made at the first write; it goes
// with the object when no journal is left in it (journals left are recovered next time).
class JournalSession {
public:
    explicit JournalSession(QString root);
    ~JournalSession();
    JournalSession(const JournalSession &) = delete;
    JournalSession &operator=(const JournalSession &) = delete;

    // Writes (replaces) the journal of document id; false with a reason when it fails.
    bool write(quint64 id, const JournalEntry &entry, QString *error = nullptr);
    void remove(quint64 id);
    QString journalPath(quint64 id) const; // empty before the session exists
    QString folder() const { return folder_; }

private:
    bool open(QString *error);

    QString root_;
    QString folder_;
    int lockFd_ = -1;
};

// A journal left by an instance that ended without removing it.
struct OrphanJournal {
    QString file;                       // the journal's path
    std::optional<JournalEntry> entry;  // nothing: the file cannot be read (it stays in place)
};

// The sessions of ended instances under a root, locked by this object while it lives, so
// that no other instance lists or takes them meanwhile. Sessions of running instances are
// never touched.
class OrphanSessions {
public:
    explicit OrphanSessions(const QString &root);
    ~OrphanSessions(); // removes the sessions left empty, and lets the others go
    OrphanSessions(const OrphanSessions &) = delete;
    OrphanSessions &operator=(const OrphanSessions &) = delete;

    // Oldest journal write first; unreadable journals last.
    const QList<OrphanJournal> &journals() const { return journals_; }
    // Deletes one journal (after the user discarded it, or once its document is journalled
    // again by this instance); false when it could not be deleted.
    bool discard(const QString &file);

private:
    struct Claimed {
        QString folder;
        int lockFd;
    };
    QList<Claimed> claimed_;
    QList<OrphanJournal> journals_;
};

} // namespace tarmel::recovery

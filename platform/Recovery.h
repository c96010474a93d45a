#pragma once
#include <QDateTime>
#include <QList>
#include <QString>

class QWidget;

namespace platform {

// A document that can be recovered, as the dialog lists it.
struct RecoveryItem {
    QString fileName;   // the file's name, or "Nouveau.iso" for a document never saved
    QString folder;     // its folder (empty for a document never saved)
    QDateTime written;  // the last journal write
};

struct RecoveryAnswer {
    enum class Action { Reopen, Discard, Later };
    Action action = Action::Later;
    QList<bool> chosen; // one per item, in order
};

// Where the recovery journals live, and the "Récupération de documents" dialog that asks
// which of the documents left by a crash to reopen. The dialog lists every document with its
// check box ticked; its default button (Enter) reopens the ticked ones, another discards them,
// and "later" (Escape, the close button) keeps them all for the next start.
class Recovery {
public:
    virtual ~Recovery() = default;
    // Empty: no journal is kept.
    virtual QString journalFolder() const = 0;
    // A journal is written once typing has paused this long, and at least this often while
    // it goes on (milliseconds).
    virtual int journalPause() const { return 2000; }
    virtual int journalLongestWait() const { return 10000; }
    virtual RecoveryAnswer choose(const QList<RecoveryItem> &items) = 0;
};

// $XDG_STATE_HOME/tarmel/recovery and a modal dialog.
class QtRecovery final : public Recovery {
public:
    explicit QtRecovery(QWidget *parent = nullptr) : parent_(parent) {}
    void setParent(QWidget *parent) { parent_ = parent; }
    QString journalFolder() const override;
    RecoveryAnswer choose(const QList<RecoveryItem> &items) override;

private:
    QWidget *parent_;
};

} // namespace platform

#pragma once
#include "platform/Recovery.h"

#include <QList>
#include <QQueue>

namespace testsupport {

// Keeps journals in the folder the test names (none by default: no journal is kept), at once
// after each change unless the test sets a pause, and
// answers the recovery dialog from a script, first in first out, recording what it listed.
// With no answer scripted, the dialog answers "later" (every journal kept).
class FakeRecovery final : public platform::Recovery {
public:
    QString journalFolder() const override { return folder; }
    int journalPause() const override { return pause; }
    int journalLongestWait() const override { return longestWait; }
    platform::RecoveryAnswer choose(const QList<platform::RecoveryItem> &items) override
    {
        shown.append(items);
        platform::RecoveryAnswer answer = script.isEmpty() ? platform::RecoveryAnswer{} : script.dequeue();
        if (answer.chosen.isEmpty())
            answer.chosen = QList<bool>(items.size(), true); // every document is ticked at first
        return answer;
    }
    // Answers the next dialog; chosen empty keeps every document ticked.
    void answer(platform::RecoveryAnswer::Action action, QList<bool> chosen = {})
    {
        script.enqueue({action, std::move(chosen)});
    }

    QString folder;
    int pause = 0; // written at the next turn of the event loop
    int longestWait = 0;
    QQueue<platform::RecoveryAnswer> script;
    QList<QList<platform::RecoveryItem>> shown;
};

} // namespace testsupport

#pragma once
#include "platform/MessageBox.h"
#include "tests/support/FakeFailure.h"

#include <QList>
#include <QQueue>

namespace testsupport {

// Answers message boxes from a script, first in first out, and records every box.
// A box with no scripted answer, or scripted with an answer its buttons cannot give
// (Yes to an OK box, OK to a Yes/No box), fails the running test and answers as
// Escape would on the real service: OK for an OK box, nothing sensible otherwise (No).
// With autoOk set, OK-only boxes need no script and answer OK.
class FakeMessageBox final : public platform::MessageBox {
public:
    struct Box {
        QString text;
        int flags = 0;
        QString title;
        int answer = 0;
    };

    void answer(int answer) { script_.enqueue(answer); }
    void answerYes() { answer(platform::mb::AnswerYes); }
    void answerNo() { answer(platform::mb::AnswerNo); }
    void answerOk() { answer(platform::mb::AnswerOk); }

    int show(const QString &text, int flags, const QString &title) override;

    const QList<Box> &boxes() const { return boxes_; }
    const Box &last() const { return boxes_.constLast(); }
    void clear() { boxes_.clear(); script_.clear(); }

    bool autoOk = false;
    FailureHook onFailure = failRunningTest;

private:
    QQueue<int> script_;
    QList<Box> boxes_;
};

} // namespace testsupport

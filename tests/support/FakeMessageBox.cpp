#include "tests/support/FakeMessageBox.h"

namespace testsupport {

using namespace platform;

int FakeMessageBox::show(const QString &text, int flags, const QString &title)
{
    const bool yesNo = (flags & 0x0F) == mb::YesNo;
    const auto describe = [&] {
        return QStringLiteral("message box \"%1\" (flags %2, title \"%3\")").arg(text).arg(flags).arg(title);
    };
    int answer = 0;
    if (!script_.isEmpty()) {
        answer = script_.dequeue();
        const bool fits = yesNo ? (answer == mb::AnswerYes || answer == mb::AnswerNo)
                                : answer == mb::AnswerOk;
        if (!fits) {
            onFailure(QStringLiteral("answer %1 scripted for %2").arg(answer).arg(describe()));
            answer = yesNo ? mb::AnswerNo : mb::AnswerOk;
        }
    } else if (!yesNo && autoOk) {
        answer = mb::AnswerOk;
    } else {
        onFailure(QStringLiteral("unexpected %1").arg(describe()));
        answer = yesNo ? mb::AnswerNo : mb::AnswerOk;
    }
    boxes_.append({text, flags, title, answer});
    return answer;
}

} // namespace testsupport

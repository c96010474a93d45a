#pragma once
#include "platform/Clock.h"

namespace testsupport {

// A clock that shows the time the test sets (by default Tuesday 2 January 2024, 13:05:09).
class FakeClock final : public platform::Clock {
public:
    QDateTime now() const override { return now_; }
    void setNow(const QDateTime &now) { now_ = now; }

private:
    QDateTime now_{QDate(2024, 1, 2), QTime(13, 5, 9)};
};

} // namespace testsupport

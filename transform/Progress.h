#pragma once
// Progress of a pass over a long text, reported a few times a second: the clock is read once per
// block of kProgressBlock bytes, a report goes out when kProgressIntervalMs have passed since the
// last one, and finish() always reports the end (done == total). So a progress bar never costs
// the pass more than a clock reading per megabyte.

#include <QElapsedTimer>

#include <functional>

namespace tarmel {

// done and total count bytes of the text.
using Progress = std::function<void(qint64 done, qint64 total)>;

inline constexpr qint64 kProgressBlock = qint64(1) << 20;
inline constexpr qint64 kProgressIntervalMs = 200;

class ProgressThrottle {
public:
    ProgressThrottle(const Progress &progress, qint64 total) : progress_(progress), total_(total)
    {
        if (progress_)
            timer_.start();
    }
    // One block done: reports when enough time has passed.
    void reached(qint64 done)
    {
        if (!progress_)
            return;
        const qint64 now = timer_.elapsed();
        if (now - last_ < kProgressIntervalMs)
            return;
        last_ = now;
        progress_(done, total_);
    }
    void finish()
    {
        if (progress_)
            progress_(total_, total_);
    }

private:
    const Progress &progress_;
    qint64 total_;
    QElapsedTimer timer_;
    qint64 last_ = 0;
};

} // namespace tarmel

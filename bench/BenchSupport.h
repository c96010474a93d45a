#pragma once
// What the benchmarks share: a generated program of N lines and the peak memory.
#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QString>

#include <sys/resource.h>

#include <cstdio>

namespace bench {

inline long peakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A CAM-like program: "N10 G01 X… Y… F1500" and CR LF, numbered in tens.
inline bool writeProgram(const QString &path, int lines)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray chunk;
    char line[96];
    for (int n = 1; n <= lines; ++n) {
        const int len = std::snprintf(line, sizeof line, "N%d G01 X%.3f Y%.3f F1500\r\n", n * 10,
                                      (n % 1000) * 0.125, (n % 777) * 0.25);
        chunk.append(line, len);
        if (chunk.size() > (4 << 20)) {
            if (file.write(chunk) != chunk.size())
                return false;
            chunk.clear();
        }
    }
    return file.write(chunk) == chunk.size();
}

inline double msSince(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e6;
}

} // namespace bench

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

// A CAM-like line: "N10 G01 X… Y… F1500" and CR LF, numbered in tens; returns its length.
inline int camLine(char *line, std::size_t size, int n)
{
    return std::snprintf(line, size, "N%d G01 X%.3f Y%.3f F1500\r\n", n * 10, (n % 1000) * 0.125, (n % 777) * 0.25);
}

// A program of `lines` lines written by `lineAt` (a CAM-like program by default).
inline bool writeProgram(const QString &path, int lines, int (*lineAt)(char *, std::size_t, int) = camLine)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray chunk;
    char line[96];
    for (int n = 1; n <= lines; ++n) {
        const int len = lineAt(line, sizeof line, n);
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

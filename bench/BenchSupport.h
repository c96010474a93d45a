#pragma once
// What the benchmarks share: the size from the command line, a generated CAM program, the timing of
// an operation (best of N runs) and the one way results are printed:
//
//   ROW <TAB> operation <TAB> lines <TAB> value <TAB> unit <TAB> floor name <TAB> floor value <TAB> target <TAB> holds
//
// bench/run.sh collects those rows into one table; any other line a bench prints starts with "#".
#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QString>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>

namespace bench {

// ------------------------------------------------------------------ command line

// `bench_X LINES`: the number of lines, the bench's first size when none is given.
// `bench_X --sizes`: prints the sizes this bench runs at (run.sh asks) and ends the program.
inline qint64 linesFromArgs(int argc, char **argv, std::initializer_list<qint64> sizes)
{
    if (argc > 1 && std::strcmp(argv[1], "--sizes") == 0) {
        for (qint64 s : sizes)
            std::printf("%lld\n", static_cast<long long>(s));
        std::exit(0);
    }
    if (argc > 1) {
        const long long lines = std::atoll(argv[1]);
        if (lines < 1) {
            std::fprintf(stderr, "usage: %s LINES | --sizes\n", argv[0]);
            std::exit(2);
        }
        return lines;
    }
    return *sizes.begin();
}

// The default sizes: every bench runs at these unless it says otherwise.
inline constexpr std::initializer_list<qint64> allSizes = {100000, 1000000, 5000000};

// ------------------------------------------------------------------ the generated program

// A CAM-like part program in Windows-1252 with CR LF line ends, the same bytes for the same
// seed: "%", a header comment, blocks numbered in tens (rapid and feed moves, arcs with I J,
// tool changes with speed and spindle words), about one block-delete line "/N…" in 50, one
// unnumbered comment in 20, one comment with accented letters (é à ø É) in 100, and "N… M30"
// and "%" as the last two lines. Exactly `lines` lines, each with its line end.
class CamProgram
{
public:
    explicit CamProgram(qint64 lines, quint32 seed = 1) : total(lines), state(seed * 2654435761u + 1) {}

    bool done() const { return line >= total; }

    // Appends the next line and its line end to `out`.
    void next(QByteArray &out)
    {
        const qint64 i = line++;
        if (i == 0 || i == total - 1) {
            out += "%\r\n";
            return;
        }
        if (i == 1) {
            out += "(PROGRAMME P1000 - POCHE ET CONTOUR - GENERE POUR LES MESURES)\r\n";
            return;
        }
        if (i == total - 2) {
            block(out);
            out += " M30\r\n";
            return;
        }
        const quint32 kind = random() % 100;
        if (kind == 0) {
            out += "(\xC9" "bauche poche \xD8" "8 \xE0 1500 tr/min - \xE9tape ";
            number(out, i);
            out += ")\r\n";
        } else if (kind < 5) {
            out += "(PASSE ";
            number(out, i);
            out += ")\r\n";
        } else if (kind < 7) {
            out += '/';
            block(out);
            out += " M01\r\n";
        } else {
            move(out);
        }
    }

private:
    quint32 random()
    {
        state = state * 1103515245u + 12345u;
        return state >> 8;
    }

    static void number(QByteArray &out, qint64 n)
    {
        char digits[24];
        const int len = std::snprintf(digits, sizeof digits, "%lld", static_cast<long long>(n));
        out.append(digits, len);
    }

    // A coordinate in thousandths of a millimetre, written "-12.345".
    static void coordinate(QByteArray &out, char letter, qint64 thousandths)
    {
        char text[32];
        const long long a = thousandths < 0 ? -thousandths : thousandths;
        const int len = std::snprintf(text, sizeof text, " %c%s%lld.%03lld", letter, thousandths < 0 ? "-" : "",
                                      a / 1000, a % 1000);
        out.append(text, len);
    }

    void block(QByteArray &out)
    {
        blockNumber += 10;
        out += 'N';
        number(out, blockNumber);
    }

    void move(QByteArray &out)
    {
        block(out);
        const quint32 kind = random() % 1000;
        if (kind < 3) { // tool change, speed and spindle on
            out += " T";
            number(out, 1 + random() % 12);
            out += " M06 S";
            number(out, 800 + random() % 40 * 100);
            out += " M03\r\n";
            return;
        }
        if (kind < 5) {
            out += " M05\r\n";
            return;
        }
        x = (x + qint64(random() % 2001) - 1000) % 150000; // within 150 mm of the origin
        y = (y + qint64(random() % 2001) - 1000) % 150000;
        if (kind < 150) {
            out += " G00";
            coordinate(out, 'X', x);
            coordinate(out, 'Y', y);
            coordinate(out, 'Z', 5000);
        } else if (kind < 300) {
            out += kind & 1 ? " G02" : " G03";
            coordinate(out, 'X', x);
            coordinate(out, 'Y', y);
            coordinate(out, 'I', qint64(random() % 5001) - 2500);
            coordinate(out, 'J', qint64(random() % 5001) - 2500);
            out += " F600";
        } else {
            out += " G01";
            coordinate(out, 'X', x);
            coordinate(out, 'Y', y);
            if (kind % 5 == 0)
                coordinate(out, 'Z', -qint64(random() % 3000));
            if (kind % 10 == 1) {
                out += " F";
                number(out, 800 + random() % 8 * 100);
            }
        }
        out += "\r\n";
    }

    qint64 total;
    qint64 line = 0;
    qint64 blockNumber = 0;
    qint64 x = 0, y = 0;
    quint32 state;
};

// The generated program of this size that run.sh wrote once for every bench (BENCH_PROGRAMS/cam-LINES.iso,
// seed 1), or an empty string.
inline QString sharedCamProgram(qint64 lines)
{
    const QByteArray folder = qgetenv("BENCH_PROGRAMS");
    if (folder.isEmpty())
        return {};
    const QString path = QString::fromLocal8Bit(folder) + QStringLiteral("/cam-%1.iso").arg(lines);
    return QFile::exists(path) ? path : QString();
}

// The whole generated program in memory.
inline QByteArray camProgram(qint64 lines, quint32 seed = 1)
{
    if (const QString shared = sharedCamProgram(lines); seed == 1 && !shared.isEmpty()) {
        QFile file(shared);
        if (file.open(QIODevice::ReadOnly))
            return file.readAll();
    }
    QByteArray out;
    out.reserve(lines * 34);
    for (CamProgram program(lines, seed); !program.done();)
        program.next(out);
    return out;
}

// The generated program written in chunks, so that it never sits whole in this process's memory.
inline bool writeCamProgram(const QString &path, qint64 lines, quint32 seed = 1)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray chunk;
    chunk.reserve(5 << 20);
    for (CamProgram program(lines, seed); !program.done();) {
        program.next(chunk);
        if (chunk.size() > (4 << 20) || program.done()) {
            if (file.write(chunk) != chunk.size())
                return false;
            chunk.clear();
        }
    }
    return true;
}

// The generated program (seed 1) written at `path`: a copy of run.sh's shared one when there is one.
inline bool camProgramAt(const QString &path, qint64 lines)
{
    const QString shared = sharedCamProgram(lines);
    if (shared.isEmpty() ? writeCamProgram(path, lines) : QFile::copy(shared, path))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

// A program of special content: `lineAt` writes line n (1-based) with its line end and returns its length.
inline bool writeProgram(const QString &path, qint64 lines, int (*lineAt)(char *, std::size_t, int))
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray chunk;
    char line[160];
    for (qint64 n = 1; n <= lines; ++n) {
        chunk.append(line, lineAt(line, sizeof line, int(n)));
        if (chunk.size() > (4 << 20) || n == lines) {
            if (file.write(chunk) != chunk.size())
                return false;
            chunk.clear();
        }
    }
    return true;
}

// The renumbering rule for the generated program (form Nxxxx, the given step from the step), as an awk
// program: one record per CR LF line. Run it with LC_ALL=C, the program being Windows-1252.
inline QString renumberAwkRule(int step)
{
    return QStringLiteral(R"AWK(BEGIN { RS = "\r\n"; ORS = "\r\n"; n = 0 }
/^\/[Nn]/ { n += %1; match($0, /^\/[Nn][0-9]*/); print "/N" n substr($0, RLENGTH + 1); next }
/^[Nn]/ { n += %1; match($0, /^[Nn][0-9]*/); rest = substr($0, RLENGTH + 1)
          if (substr(rest, 1, 1) != " ") rest = " " rest
          print "N" n rest; next }
{ print })AWK").arg(step);
}

// ------------------------------------------------------------------ timing and memory

inline long peakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

inline double msSince(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e6;
}

inline double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Runs per measure: BENCH_RUNS from the environment (run.sh lowers it for the largest size), 3 by default.
inline int runs()
{
    const char *value = std::getenv("BENCH_RUNS");
    const int n = value ? std::atoi(value) : 3;
    return n > 0 ? n : 3;
}

struct Timing {
    double wallMs = 1e300; // of the best run
    double cpuMs = 0;      // processor time of this thread in that run: what the machine's other work does not inflate
};

// The best of `count` runs of `work` (by wall time), each after an untimed `prepare`.
inline Timing measure(const std::function<void()> &work, int count = runs(), const std::function<void()> &prepare = {})
{
    Timing best;
    for (int i = 0; i < count; ++i) {
        if (prepare)
            prepare();
        QElapsedTimer clock;
        const double cpu = threadCpuMs();
        clock.start();
        work();
        const double wall = msSince(clock);
        if (wall < best.wallMs)
            best = {wall, threadCpuMs() - cpu};
    }
    return best;
}

// One run of `work`, in wall milliseconds.
inline double once(const std::function<void()> &work)
{
    return measure(work, 1).wallMs;
}

// ------------------------------------------------------------------ results

// What a figure must stay within: a fixed time, or a multiple of the floor.
struct Target {
    enum Kind { None, AtMost, AtMostTimesFloor } kind = None;
    double value = 0;
};
inline Target atMost(double value) { return {Target::AtMost, value}; }
inline Target atMostTimesFloor(double factor) { return {Target::AtMostTimesFloor, factor}; }

// Rows that missed their target so far: a bench's exit status does not depend on them (run.sh reads the
// table), but benches print the count in their last comment.
inline int &missedRows()
{
    static int missed = 0;
    return missed;
}

// Prints one result row. `unit` is "ms" or "MB"; a floor of 0 means no floor was measured.
inline void row(const std::string &operation, qint64 lines, double value, const char *unit, const std::string &floorName,
                double floorValue, Target target = {})
{
    std::string text = "-", holds = "-";
    char buffer[64];
    if (target.kind == Target::AtMost) {
        std::snprintf(buffer, sizeof buffer, "<=%g%s", target.value, unit);
        text = buffer;
        holds = value <= target.value ? "yes" : "no";
    } else if (target.kind == Target::AtMostTimesFloor) {
        std::snprintf(buffer, sizeof buffer, "<=%.2fx floor", target.value);
        text = buffer;
        holds = floorValue > 0 && value <= target.value * floorValue ? "yes" : "no";
    }
    if (holds == "no")
        ++missedRows();
    std::printf("ROW\t%s\t%lld\t%.3f\t%s\t%s\t%.3f\t%s\t%s\n", operation.c_str(), static_cast<long long>(lines), value,
                unit, floorName.empty() ? "-" : floorName.c_str(), floorValue, text.c_str(), holds.c_str());
    std::fflush(stdout);
}

// A time in milliseconds.
inline void timeRow(const std::string &operation, qint64 lines, double ms, const std::string &floorName = {},
                    double floorMs = 0, Target target = {})
{
    row(operation, lines, ms, "ms", floorName, floorMs, target);
}

// The peak memory of this process against the size of the file it holds (target: at most 3 times).
inline void rssRow(const std::string &operation, qint64 lines, qint64 fileBytes)
{
    row(operation, lines, peakRssKb() / 1024.0, "MB", "file size", fileBytes / 1048576.0, atMostTimesFloor(3));
}

// A human-readable line, ignored by run.sh.
template <typename... Args>
void note(const char *format, Args... args)
{
    std::printf("# ");
    std::printf(format, args...);
    std::printf("\n");
}

} // namespace bench

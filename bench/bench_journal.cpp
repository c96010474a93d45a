// The journal write of a modified document: header + text through the atomic writer, for a
// 1,000,000-line program (about 35 MB) and a 2,000-line one, against a floor measured in the
// same run (the atomic writer given the text's bytes alone). Best of five rounds each. This is
// what one pause in typing costs the event loop.
#include "bench/BenchSupport.h"
#include "files/AtomicWriter.h"
#include "recovery/Journal.h"

#include <QTemporaryDir>

using namespace tarmel;

namespace {

QByteArray program(int lines)
{
    QByteArray text;
    char line[96];
    for (int n = 1; n <= lines; ++n)
        text.append(line, bench::camLine(line, sizeof line, n));
    return text;
}

template <typename F>
double best(F &&round)
{
    double best = 1e300;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer clock;
        clock.start();
        if (!round())
            return -1;
        best = qMin(best, bench::msSince(clock));
    }
    return best;
}

} // namespace

int main()
{
    QTemporaryDir dir;
    for (int lines : {2000, 1000000}) {
        recovery::JournalEntry entry;
        entry.path = dir.filePath(QStringLiteral("prog.iso"));
        entry.written = QDateTime::currentDateTimeUtc();
        entry.text = program(lines);
        recovery::JournalSession session(dir.filePath(QStringLiteral("recovery")));
        const QString floorFile = dir.filePath(QStringLiteral("floor.bin"));
        const double floor = best([&] { return writeFileAtomically(floorFile, entry.text).ok; });
        const double journal = best([&] { return session.write(1, entry); });
        std::printf("journal write, %d lines (%.1f MB): %.2f ms; floor (atomic write of the text) %.2f ms; "
                    "ratio %.2f\n",
                    lines, entry.text.size() / 1e6, journal, floor, floor > 0 ? journal / floor : 0.0);
        session.remove(1);
    }
    return 0;
}

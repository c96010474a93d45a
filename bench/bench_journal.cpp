// The journal write of a modified document: header + text through the atomic writer, for the
// generated program, against a floor measured in the same run (the atomic writer given the text's
// bytes alone). This is what one pause in typing costs the event loop. Runs at 100,000 and
// 1,000,000 lines.
#include "bench/BenchSupport.h"
#include "files/AtomicWriter.h"
#include "recovery/Journal.h"

#include <QTemporaryDir>

using namespace tarmel;

int main(int argc, char **argv)
{
    const qint64 lines = bench::linesFromArgs(argc, argv, {100000, 1000000});
    QTemporaryDir dir;
    recovery::JournalEntry entry;
    entry.path = dir.filePath(QStringLiteral("prog.iso"));
    entry.written = QDateTime::currentDateTimeUtc();
    entry.text = QString::fromLatin1(bench::camProgram(lines)).toUtf8();
    recovery::JournalSession session(dir.filePath(QStringLiteral("recovery")));
    const QString floorFile = dir.filePath(QStringLiteral("floor.bin"));
    bool ok = true;
    const double floor = bench::measure([&] { ok = writeFileAtomically(floorFile, entry.text).ok && ok; }).wallMs;
    const double journal = bench::measure([&] { ok = session.write(1, entry) && ok; }).wallMs;
    session.remove(1);
    bench::note("%lld lines, %.1f MB", static_cast<long long>(lines), entry.text.size() / 1e6);
    bench::timeRow("journal write", lines, journal, "atomic write of the text", floor);
    if (!ok)
        bench::note("A JOURNAL OR FLOOR WRITE FAILED");
    return ok ? 0 : 1;
}

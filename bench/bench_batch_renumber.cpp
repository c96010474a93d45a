// "tarmel --renumber 10 FILE" (the real program: start-up, reading, renumbering, the atomic write with
// its sync) over a 1,000,000-line CR LF program, against awk doing the same rule on the same file in
// the same run. Target: at most awk's time. Prints best-of-three times; both outputs must be the same.
//
//   bench_batch_renumber [lines]

#include "BenchSupport.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>

namespace {

// Numbered moves, with unnumbered lines, comments and block-delete lines among them.
int benchLine(char *line, std::size_t size, int n)
{
    if (n % 20 == 0)
        return std::snprintf(line, size, "(PASSE %d)\r\n", n);
    if (n % 20 == 1)
        return std::snprintf(line, size, "/N%d M01\r\n", n * 5);
    if (n % 20 == 2)
        return std::snprintf(line, size, "G00 Z5.\r\n");
    if (n % 20 == 3)
        return std::snprintf(line, size, "N%dG01 X%d.5\r\n", n * 5, n % 1000);
    return std::snprintf(line, size, "N%d G01 X%d.125 Y%d.25 F1200\r\n", n * 5, n % 1000, n % 500);
}

// The renumbering rule for this program (form Nxxxx, step 10), one record per CR LF line.
const char *awkRule = R"AWK(BEGIN { RS = "\r\n"; ORS = "\r\n"; n = 0 }
/^\/[Nn]/ { n += 10; match($0, /^\/[Nn][0-9]*/); print "/N" n substr($0, RLENGTH + 1); next }
/^[Nn]/ { n += 10; match($0, /^[Nn][0-9]*/); rest = substr($0, RLENGTH + 1)
          if (substr(rest, 1, 1) != " ") rest = " " rest
          print "N" n rest; next }
{ print })AWK";

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Best of three timed runs of `run`, each after an untimed `prepare`.
double bestOfThree(const std::function<void()> &prepare, const std::function<bool()> &run, bool &ok)
{
    double best = 1e300;
    for (int i = 0; i < 3; ++i) {
        prepare();
        QElapsedTimer t;
        t.start();
        ok = run() && ok;
        best = std::min(best, bench::msSince(t));
    }
    return best;
}

bool runProcess(const QString &program, const QStringList &arguments, const QString &output = {})
{
    QProcess process;
    if (!output.isEmpty())
        process.setStandardOutputFile(output);
    process.start(program, arguments);
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int lines = argc > 1 ? QByteArray(argv[1]).toInt() : 1000000;
    QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("program.iso"));
    const QString target = dir.filePath(QStringLiteral("batch.iso"));
    const QString awkOutput = dir.filePath(QStringLiteral("awk.iso"));
    if (!bench::writeProgram(input, lines, benchLine)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(input));
        return 1;
    }
    const QByteArray original = bytesOf(input);
    std::printf("program: %d lines, %.1f MB, CR LF\n", lines, original.size() / 1e6);

    bool awkOk = true;
    const double awkMs = bestOfThree([] {}, [&] {
        return runProcess(QStringLiteral("/usr/bin/awk"), {QString::fromLatin1(awkRule), input}, awkOutput);
    }, awkOk);
    bool batchOk = true;
    const auto restore = [&] {
        QFile::remove(target);
        QFile::copy(input, target);
    };
    const double batchMs = bestOfThree(restore, [&] {
        return runProcess(QStringLiteral(TARMEL_BINARY), {QStringLiteral("--renumber"), QStringLiteral("10"), target});
    }, batchOk);
    bool versionOk = true;
    const double startMs = bestOfThree([] {}, [&] {
        return runProcess(QStringLiteral(TARMEL_BINARY), {QStringLiteral("--version")}, dir.filePath("version.txt"));
    }, versionOk);

    const QByteArray batchBytes = bytesOf(target);
    const bool same = awkOk && batchOk && batchBytes == bytesOf(awkOutput) && batchBytes != original;
    std::printf("/usr/bin/awk, same rule (floor) %8.1f ms%s\n", awkMs, awkOk ? "" : "  (FAILED)");
    std::printf("tarmel --version (start-up)     %8.1f ms\n", startMs);
    std::printf("tarmel --renumber 10, in place  %8.1f ms   ratio tarmel/awk %.2f%s\n", batchMs, batchMs / awkMs,
                batchOk ? "" : "  (FAILED)");
    std::printf("tarmel output %s the awk output\n", same ? "identical to" : "DIFFERS from");
    return same && batchMs <= awkMs ? 0 : 1;
}

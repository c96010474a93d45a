// Open and save of a 5,000,000-line program (about 140 MB): read + decode + encode + atomic write,
// against a floor measured in the same run (a plain read and a plain write of the same bytes).
// Three files: CR LF ASCII, Windows-1252 with accented comments, LF. Best of three rounds each.
#include "files/AtomicWriter.h"
#include "files/TextCodec.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <unistd.h>

using namespace tarmel;

namespace {

constexpr int lineCount = 5000000;

QByteArray generateProgram(const char *lineEnd, bool accents)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(lineCount) * 40);
    char line[96];
    for (int i = 1; i <= lineCount; ++i) {
        int n = std::snprintf(line, sizeof line, "N%d G01 X%.3f Y%.3f F1500", i, (i % 100000) * 0.013,
                              (i % 70000) * 0.021);
        if (accents && i % 10 == 0)
            n += std::snprintf(line + n, sizeof line - size_t(n), " (\xE9" "bauche \xE0 90\xB0)");
        bytes.append(line, n).append(lineEnd);
    }
    return bytes;
}

double msSince(const QElapsedTimer &clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

struct Times {
    double read = 0, decode = 0, encode = 0, write = 0;
    double total() const { return read + decode + encode + write; }
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The floor: QFile::readAll, then QFile::write of the same bytes to another file.
Times floorRound(const QString &source, const QString &copy)
{
    Times t;
    QElapsedTimer clock;
    clock.start();
    const QByteArray bytes = readAll(source);
    t.read = msSince(clock);
    clock.restart();
    QFile out(copy);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size())
        std::fprintf(stderr, "floor write failed\n");
    out.close();
    t.write = msSince(clock);
    return t;
}

// What opening and saving a program costs: read, decode, encode, atomic write.
Times measuredRound(const QString &source, const QString &target, bool *identical)
{
    Times t;
    QElapsedTimer clock;
    clock.start();
    const QByteArray bytes = readAll(source);
    t.read = msSince(clock);
    clock.restart();
    const DecodedUtf8 decoded = decodeToUtf8(bytes);
    t.decode = msSince(clock);
    clock.restart();
    const Encoded encoded = encodeFromUtf8(decoded.utf8, decoded.format.encoding, decoded.format.bom);
    t.encode = msSince(clock);
    clock.restart();
    const WriteResult result = writeFileAtomically(target, encoded.bytes);
    t.write = msSince(clock);
    *identical = encoded.ok && result.ok && encoded.bytes == bytes;
    if (!result.ok)
        std::fprintf(stderr, "save failed: %s\n", qPrintable(result.error));
    return t;
}

Times best(const Times &a, const Times &b)
{
    return a.total() <= b.total() ? a : b;
}

bool benchOne(const QTemporaryDir &dir, const char *name, const QByteArray &program)
{
    const QString source = dir.filePath(QString::fromLatin1(name));
    const QString copy = source + QStringLiteral(".copy");
    const QString saved = source + QStringLiteral(".saved");
    QFile out(source);
    if (!out.open(QIODevice::WriteOnly) || out.write(program) != program.size())
        return false;
    out.close();
    Times floorBest{1e18, 0, 0, 0}, measuredBest{1e18, 0, 0, 0};
    bool identical = true;
    for (int round = 0; round < 3; ++round) {
        floorBest = best(floorBest, floorRound(source, copy));
        bool same = false;
        measuredBest = best(measuredBest, measuredRound(source, saved, &same));
        identical = identical && same;
    }
    const FileFormat format = decodeToUtf8(program).format;
    std::printf("%-12s %6.1f MB  %-12s %-6s | floor %7.1f ms (read %6.1f, write %6.1f) | "
                "measured %7.1f ms (read %6.1f, decode %6.1f, encode %6.1f, atomic write %6.1f) | "
                "ratio %.2fx%s\n",
                name, double(program.size()) / 1e6, qPrintable(encodingName(format.encoding)),
                qPrintable(lineEndName(format.lineEnds)), floorBest.total(), floorBest.read,
                floorBest.write, measuredBest.total(), measuredBest.read, measuredBest.decode,
                measuredBest.encode, measuredBest.write, measuredBest.total() / floorBest.total(),
                identical ? "" : "  BYTES DIFFER");
    std::fflush(stdout);
    QFile::remove(copy);
    QFile::remove(saved);
    QFile::remove(source);
    return identical;
}

} // namespace

int main()
{
    QTemporaryDir dir;
    if (!dir.isValid())
        return 2;
    std::printf("bench_files: %d-line programs in %s; best of 3 rounds; the atomic write includes "
                "two fsyncs, the floor's write none\n", lineCount, qPrintable(dir.path()));
    bool ok = benchOne(dir, "crlf.iso", generateProgram("\r\n", false));
    ok = benchOne(dir, "cp1252.iso", generateProgram("\r\n", true)) && ok;
    ok = benchOne(dir, "lf.iso", generateProgram("\n", false)) && ok;
    return ok ? 0 : 1;
}

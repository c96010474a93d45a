// Renumbering a 5,000,000-line CR LF program: the core pass against an awk pass with the same rule on
// the same file, in the same run. Prints best-of-three times and the ratio core / awk.
//
//   bench_renumber [lines]

#include "numbering/Renumber.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

QByteArray generateProgram(qint64 lines)
{
    QByteArray text;
    text.reserve(lines * 30);
    text += "%\r\n(BENCH PROGRAM)\r\n";
    quint32 x = 12345;
    for (qint64 i = 2; i < lines; ++i) {
        x = x * 1103515245u + 12345u;
        const quint32 kind = (x >> 16) % 100;
        if (kind < 5) {
            text += "(PASSE ";
            text += QByteArray::number(i);
            text += ")\r\n";
        } else if (kind < 10) {
            text += "/N" + QByteArray::number(i * 5) + " M01\r\n";
        } else if (kind < 14) {
            text += "G00 Z5.\r\n";
        } else if (kind < 20) {
            text += "N" + QByteArray::number(i * 5) + "G01 X" + QByteArray::number((x >> 8) % 1000) + ".5\r\n";
        } else {
            text += "N" + QByteArray::number(i * 5) + " G01 X" + QByteArray::number((x >> 4) % 1000) + ".125 Y"
                + QByteArray::number((x >> 12) % 500) + ".25 F1200\r\n";
        }
    }
    return text;
}

// Same rule as the core pass for this program (form Nxxxx, step 10), one record per CR LF line.
const char *awkRule = R"AWK(BEGIN { RS = "\r\n"; ORS = "\r\n"; n = 0 }
/^\/[Nn]/ { n += 10; match($0, /^\/[Nn][0-9]*/); print "/N" n substr($0, RLENGTH + 1); next }
/^[Nn]/ { n += 10; match($0, /^[Nn][0-9]*/); rest = substr($0, RLENGTH + 1)
          if (substr(rest, 1, 1) != " ") rest = " " rest
          print "N" n rest; next }
{ print })AWK";

double bestOfThree(const std::function<void()> &work)
{
    double best = 1e300;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const qint64 lines = argc > 1 ? QByteArray(argv[1]).toLongLong() : 5000000;
    QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("program.iso"));
    const QString awkOutput = dir.filePath(QStringLiteral("awk.iso"));
    {
        QFile f(input);
        if (!f.open(QIODevice::WriteOnly) || f.write(generateProgram(lines)) < 0) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(input));
            return 1;
        }
    }

    QByteArray bytes;
    const double readMs = bestOfThree([&] {
        QFile f(input);
        f.open(QIODevice::ReadOnly);
        bytes = f.readAll();
    });
    std::printf("program: %lld lines, %.1f MB, CR LF\n", lines, bytes.size() / 1e6);

    bool awkOk = true;
    const double awkMs = bestOfThree([&] {
        QProcess awk;
        awk.setStandardOutputFile(awkOutput);
        awk.start(QStringLiteral("/usr/bin/awk"), {QString::fromLatin1(awkRule), input});
        awkOk = awkOk && awk.waitForFinished(-1) && awk.exitStatus() == QProcess::NormalExit && awk.exitCode() == 0;
    });

    QByteArray copy;
    const double copyMs = bestOfThree([&] {
        copy = QByteArray(bytes.constData(), bytes.size());
    });

    numbering::RenumberOptions options;
    options.step = 10;
    numbering::RenumberBytesResult result;
    const double coreMs = bestOfThree([&] { result = numbering::renumberUtf8(bytes, options); });

    numbering::RenumberOptions withJumps = options;
    withJumps.updateJumps = true;
    const double jumpsMs = bestOfThree([&] { numbering::renumberUtf8(bytes, withJumps); });

    const QString text = QString::fromUtf8(bytes);
    const double stringMs = bestOfThree([&] { numbering::renumberString(text, options); });

    QFile awkFile(awkOutput);
    awkFile.open(QIODevice::ReadOnly);
    const bool same = awkOk && awkFile.readAll() == result.text;

    std::printf("read file (floor)            %8.1f ms\n", readMs);
    std::printf("copy of the bytes (floor)    %8.1f ms\n", copyMs);
    std::printf("/usr/bin/awk, same rule      %8.1f ms%s\n", awkMs, awkOk ? "" : "  (FAILED)");
    std::printf("core pass, UTF-8 bytes       %8.1f ms   ratio core/awk %.2f\n", coreMs, coreMs / awkMs);
    std::printf("core pass, jump targets too  %8.1f ms   ratio core/awk %.2f\n", jumpsMs, jumpsMs / awkMs);
    std::printf("core pass, QString           %8.1f ms   ratio core/awk %.2f\n", stringMs, stringMs / awkMs);
    std::printf("lines renumbered %lld; awk output %s the core output\n", result.counts.linesRenumbered,
                same ? "identical to" : "DIFFERS from");
    return same && coreMs <= 2 * awkMs ? 0 : 1;
}

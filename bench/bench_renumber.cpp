// Renumbering the generated program with step 5: the core pass against an awk pass with the same rule on
// the same file, in the same run (target: at most twice awk's time). Both outputs must be the same.
#include "bench/BenchSupport.h"
#include "numbering/Renumber.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const qint64 lines = bench::linesFromArgs(argc, argv, bench::allSizes);
    QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("program.iso"));
    const QString awkOutput = dir.filePath(QStringLiteral("awk.iso"));
    if (!bench::camProgramAt(input, lines))
        return 1;
    QByteArray bytes;
    const double readMs = bench::measure([&] {
        QFile f(input);
        f.open(QIODevice::ReadOnly);
        bytes = f.readAll();
    }).wallMs;

    bool awkOk = true;
    const double awkMs = bench::measure([&] {
        QProcess awk;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        awk.setProcessEnvironment(environment);
        awk.setStandardOutputFile(awkOutput);
        awk.start(QStringLiteral("/usr/bin/awk"), {bench::renumberAwkRule(5), input});
        awkOk = awkOk && awk.waitForFinished(-1) && awk.exitStatus() == QProcess::NormalExit && awk.exitCode() == 0;
    }).wallMs;

    numbering::RenumberOptions options;
    options.step = 5;
    numbering::RenumberBytesResult result;
    const double coreMs = bench::measure([&] { result = numbering::renumberUtf8(bytes, options); }).wallMs;
    numbering::RenumberOptions withJumps = options;
    withJumps.updateJumps = true;
    const double jumpsMs = bench::measure([&] { numbering::renumberUtf8(bytes, withJumps); }).wallMs;
    const QString text = QString::fromLatin1(bytes);
    const double stringMs = bench::measure([&] { numbering::renumberString(text, options); }).wallMs;

    QFile awkFile(awkOutput);
    awkFile.open(QIODevice::ReadOnly);
    const bool same = awkOk && awkFile.readAll() == result.text && result.text != bytes;

    bench::note("%lld lines, %.1f MB, read %.1f ms, %lld lines renumbered", static_cast<long long>(lines),
                bytes.size() / 1e6, readMs, static_cast<long long>(result.counts.linesRenumbered));
    bench::timeRow("awk renumber (same rule)", lines, awkMs, "plain read", readMs);
    bench::timeRow("renumber core, bytes", lines, coreMs, "awk", awkMs, bench::atMostTimesFloor(2));
    bench::timeRow("renumber core, jump targets too", lines, jumpsMs, "awk", awkMs, bench::atMostTimesFloor(2));
    bench::timeRow("renumber core, QString", lines, stringMs, "awk", awkMs, {});
    if (!same)
        bench::note("THE CORE OUTPUT DIFFERS from the awk output%s", awkOk ? "" : " (awk failed)");
    return same ? 0 : 1;
}

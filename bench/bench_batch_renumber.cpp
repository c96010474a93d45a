// "tarmel --renumber 5 FILE" (the real program: start-up, reading, renumbering, the atomic write with
// its sync) over the generated program, against awk doing the same rule on the same file in the same run.
// Target: at most awk's time. Both outputs must be the same.
#include "bench/BenchSupport.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool runProcess(const QString &program, const QStringList &arguments, const QString &output = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    process.setProcessEnvironment(environment);
    if (!output.isEmpty())
        process.setStandardOutputFile(output);
    process.start(program, arguments);
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const qint64 lines = bench::linesFromArgs(argc, argv, bench::allSizes);
    QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("program.iso"));
    const QString target = dir.filePath(QStringLiteral("batch.iso"));
    const QString awkOutput = dir.filePath(QStringLiteral("awk.iso"));
    if (!bench::camProgramAt(input, lines))
        return 1;
    const QByteArray original = bytesOf(input);

    bool awkOk = true;
    const double awkMs = bench::measure([&] {
        awkOk = runProcess(QStringLiteral("/usr/bin/awk"), {bench::renumberAwkRule(5), input}, awkOutput) && awkOk;
    }).wallMs;
    bool batchOk = true;
    const auto restore = [&] {
        QFile::remove(target);
        QFile::copy(input, target);
    };
    const double batchMs = bench::measure([&] {
        batchOk = runProcess(QStringLiteral(TARMEL_BINARY), {QStringLiteral("--renumber"), QStringLiteral("5"), target})
                  && batchOk;
    }, bench::runs(), restore).wallMs;
    bool versionOk = true;
    const double startMs = bench::measure([&] {
        versionOk = runProcess(QStringLiteral(TARMEL_BINARY), {QStringLiteral("--version")}, dir.filePath("version.txt"))
                    && versionOk;
    }).wallMs;

    const QByteArray batchBytes = bytesOf(target);
    const bool same = awkOk && batchOk && batchBytes == bytesOf(awkOutput) && batchBytes != original;
    bench::note("%lld lines, %.1f MB", static_cast<long long>(lines), original.size() / 1e6);
    bench::timeRow("tarmel --version (start-up)", lines, startMs, "awk renumber", awkMs);
    bench::timeRow("batch: tarmel --renumber 5", lines, batchMs, "awk renumber", awkMs, bench::atMostTimesFloor(1));
    if (!same)
        bench::note("THE TARMEL OUTPUT DIFFERS from the awk output%s%s", awkOk ? "" : " (awk failed)",
                    batchOk ? "" : " (tarmel failed)");
    return same ? 0 : 1;
}

// The program checks and the program range (target: both together in at most 2 s of processor time),
// against a plain pass over the same bytes in the same run: the line splitter alone, counting lines.
// Special content, not the shared generated program: the checks must find nothing and every line
// must be a block, so the program is a long unnumbered post output with numbered tool changes.
#include "bench/BenchSupport.h"
#include "checks/NcChecker.h"
#include "checks/NcLines.h"
#include "checks/ProgramRange.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <ctime>
#include <functional>

namespace {

// A CAM-like program as posts write long ones: unnumbered moves, the tool changes numbered (so the
// numbers stay within five digits), feeds, speeds and comments.
int checkedLine(char *line, std::size_t size, int n)
{
    if (n % 500 == 1)
        return std::snprintf(line, size, "N%d T%d M06 (OUTIL %d)\r\n", (n / 500 + 1) * 5, n % 12 + 1, n % 12 + 1);
    if (n % 50 == 0)
        return std::snprintf(line, size, "G00 Z5. S%d\r\n", 1000 + n % 3000);
    return std::snprintf(line, size, "G01 X%.3f Y%.3f Z-%.2f F%d\r\n", (n % 1000) * 0.125, (n % 777) * 0.25,
                         (n % 13) * 0.1, 800 + n % 700);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const qint64 lines = bench::linesFromArgs(argc, argv, bench::allSizes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("program.iso"));
    if (!bench::writeProgram(path, lines, checkedLine)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    const std::string_view text(bytes.constData(), std::size_t(bytes.size()));

    long long counted = 0;
    const bench::Timing floor = bench::measure([&] {
        counted = 0;
        tarmel::forEachNcLine(text, [&](int, std::string_view line) { counted += !line.empty(); });
    });
    std::size_t findings = 0;
    const bench::Timing checks = bench::measure([&] { findings = tarmel::checkNcProgram(text).size(); });
    tarmel::ProgramRange range;
    const bench::Timing ranged = bench::measure([&] { range = tarmel::computeProgramRange(text); });
    const double totalCpu = checks.cpuMs + ranged.cpuMs;
    bench::note("%lld lines, %.1f MB; %zu findings, %lld blocks, %zu tools; processor time of this thread",
                static_cast<long long>(lines), bytes.size() / 1e6, findings, range.blocks, range.tools.size());
    bench::timeRow("checks (cpu)", lines, checks.cpuMs, "line split (cpu)", floor.cpuMs);
    bench::timeRow("program range (cpu)", lines, ranged.cpuMs, "line split (cpu)", floor.cpuMs);
    bench::timeRow("checks + range (cpu)", lines, totalCpu, "line split (cpu)", floor.cpuMs, bench::atMost(2000));
    const bool sane = counted == lines && range.blocks == lines && findings == 0;
    if (!sane)
        bench::note("UNEXPECTED: %lld lines counted, findings on a clean program", counted);
    return sane ? 0 : 1;
}

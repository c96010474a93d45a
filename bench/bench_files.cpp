// Opening and saving the generated program at the file level: read + decode, encode + atomic write,
// against floors measured in the same run (a plain read, a plain write of the same bytes). The atomic
// write includes two fsyncs, the plain write none. Saving unchanged must give back the same bytes.
#include "bench/BenchSupport.h"
#include "files/AtomicWriter.h"
#include "files/TextCodec.h"

#include <QTemporaryDir>

using namespace tarmel;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

int main(int argc, char **argv)
{
    const qint64 lines = bench::linesFromArgs(argc, argv, bench::allSizes);
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("program.iso"));
    const QString copy = dir.filePath(QStringLiteral("copy.iso"));
    const QString saved = dir.filePath(QStringLiteral("saved.iso"));
    if (!bench::camProgramAt(source, lines))
        return 1;

    QByteArray bytes;
    const double readMs = bench::measure([&] { bytes = readAll(source); }).wallMs;
    DecodedUtf8 decoded;
    const double openMs = bench::measure([&] { decoded = decodeToUtf8(readAll(source)); }).wallMs;

    const double writeMs = bench::measure([&] {
        QFile out(copy);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size())
            std::fprintf(stderr, "plain write failed\n");
    }).wallMs;
    bool ok = true;
    const double saveMs = bench::measure([&] {
        const Encoded encoded = encodeFromUtf8(decoded.utf8, decoded.format.encoding, decoded.format.bom);
        ok = encoded.ok && writeFileAtomically(saved, encoded.bytes).ok && ok;
    }).wallMs;
    const bool identical = ok && readAll(saved) == bytes;

    bench::note("%lld lines, %.1f MB, %s %s", static_cast<long long>(lines), bytes.size() / 1e6,
                qPrintable(encodingName(decoded.format.encoding)), qPrintable(lineEndName(decoded.format.lineEnds)));
    bench::timeRow("open: read + decode", lines, openMs, "plain read", readMs);
    bench::timeRow("save: encode + atomic write", lines, saveMs, "plain write", writeMs);
    if (!identical)
        bench::note("SAVED BYTES DIFFER from the file read");
    return identical ? 0 : 1;
}

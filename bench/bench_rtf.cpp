// Rich text of a 100,000-line program: writing it as RTF (one run of another colour every tenth line)
// and reading that RTF back, against a floor measured in the same run (a copy of the RTF bytes and of
// the text). The read must give back the text written.
#include "bench/BenchSupport.h"
#include "files/FormattedText.h"
#include "files/RtfReader.h"
#include "files/RtfWriter.h"

using namespace tarmel;

int main(int argc, char **argv)
{
    const qint64 lines = bench::linesFromArgs(argc, argv, {100000});
    FormattedText document;
    document.text = QString::fromLatin1(bench::camProgram(lines));
    document.baseFontName = QStringLiteral("Courier New");
    document.baseFontSize = 10;
    CharFormat red;
    red.fontName = document.baseFontName;
    red.fontSize = 10;
    red.color = 0xC00000;
    qsizetype line = 0;
    for (qsizetype at = 0; at < document.text.size(); ++line) {
        const qsizetype end = document.text.indexOf(QLatin1Char('\r'), at);
        const qsizetype stop = end < 0 ? document.text.size() : end;
        if (line % 10 == 0)
            document.runs.append({at, stop - at, red});
        at = stop + 2;
    }
    document = normalized(document);

    QByteArray rtf;
    const double writeMs = bench::measure([&] { rtf = writeRtf(document); }).wallMs;
    std::optional<FormattedText> read;
    const double readMs = bench::measure([&] { read = readRtf(rtf); }).wallMs;
    QByteArray bytesCopy;
    QString textCopy;
    const double copyMs = bench::measure([&] {
        bytesCopy = QByteArray(rtf.constData(), rtf.size());
        textCopy = QString(document.text.constData(), document.text.size());
    }).wallMs;

    bench::note("%lld lines, %lld runs, RTF %.1f MB", static_cast<long long>(lines),
                static_cast<long long>(document.runs.size()), rtf.size() / 1e6);
    bench::timeRow("RTF write", lines, writeMs, "copy of RTF + text", copyMs);
    bench::timeRow("RTF read", lines, readMs, "copy of RTF + text", copyMs);
    const bool same = read && read->text == document.text;
    if (!same)
        bench::note("THE TEXT READ BACK DIFFERS from the text written");
    return same ? 0 : 1;
}

// libFuzzer target for the RTF reader. Every input must be read without a crash, a
// sanitizer report or a hang; an input that reads successfully must also survive a
// write and a second read:
// - the text comes back, with each lone CR or LF turned into CR LF;
// - when every line end of the text is a CR LF inside one run, the whole document
//   (text, runs, base font) comes back unchanged.
#include "files/RtfReader.h"
#include "files/RtfWriter.h"

#include <cstddef>
#include <cstdint>

namespace {

QString crLfLineEnds(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch == u'\r' || ch == u'\n') {
            if (ch == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            result.append(u"\r\n");
        } else {
            result.append(ch);
        }
    }
    return result;
}

// True when each CR or LF of the text belongs to a CR LF pair that no run boundary splits.
bool onlyWholeCrLf(const tarmel::FormattedText &document)
{
    const QString &text = document.text;
    for (const tarmel::TextRun &run : document.runs) {
        const qsizetype end = run.start + run.length;
        for (qsizetype i = run.start; i < end; ++i) {
            const QChar ch = text.at(i);
            if (ch == u'\n')
                return false;   // a pair's LF is stepped over below
            if (ch == u'\r') {
                if (i + 1 >= end || text.at(i + 1) != u'\n')
                    return false;
                ++i;
            }
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    const tarmel::RtfReadResult first = tarmel::readRtfDocument(input);
    if (!first.ok())
        return 0;
    const QByteArray written = tarmel::writeRtf(first.document);
    const tarmel::RtfReadResult second = tarmel::readRtfDocument(written);
    if (!second.ok() || !second.complete)
        __builtin_trap();
    if (second.document.text != crLfLineEnds(first.document.text))
        __builtin_trap();
    if (onlyWholeCrLf(first.document) && !(second.document == first.document))
        __builtin_trap();
    return 0;
}

// libFuzzer target for the program-file codec. Every input is a file's bytes:
// - detection never crashes, never reports a sanitizer finding, and is the same when asked twice;
// - decoding then encoding in the detected format gives back the same bytes;
// - the line-end style detected over the bytes is the one the decoded text holds;
// - the UTF-8 read of the text through QString (the editing area's form) loses nothing.
#include "files/TextCodec.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const tarmel::DecodedUtf8 decoded = tarmel::decodeToUtf8(input);
    const tarmel::FileFormat &format = decoded.format;

    const tarmel::Encoded encoded = tarmel::encodeFromUtf8(decoded.utf8, format.encoding, format.bom);
    if (!encoded.ok || encoded.bytes != input)
        __builtin_trap();

    if (tarmel::detectLineEnds(decoded.utf8) != format.lineEnds)
        __builtin_trap();
    const bool endsWithBreak = !input.isEmpty() && (input.back() == '\n' || input.back() == '\r');
    if (!input.isEmpty() && format.finalLineEnd != endsWithBreak)
        __builtin_trap();

    const tarmel::DecodedUtf8 again = tarmel::decodeToUtf8(input);
    if (again.utf8 != decoded.utf8 || again.format.encoding != format.encoding || again.format.bom != format.bom)
        __builtin_trap();

    const QString text = tarmel::utf8ToString(decoded.utf8);
    if (text.toUtf8() != decoded.utf8)
        __builtin_trap();
    return 0;
}

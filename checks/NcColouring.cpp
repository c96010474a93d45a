#include "checks/NcColouring.h"

#include <memory>

namespace tarmel {

std::optional<QRgb> ncTokenColour(NcTokenKind kind)
{
    switch (kind) {
    case NcTokenKind::Default: return std::nullopt;
    case NcTokenKind::BlockDelete: return qRgb(0x80, 0x80, 0x80);
    case NcTokenKind::BlockNumber: return qRgb(0x80, 0x80, 0x80);
    case NcTokenKind::GCode: return qRgb(0x00, 0x00, 0xC8);
    case NcTokenKind::MCode: return qRgb(0xB0, 0x00, 0xB0);
    case NcTokenKind::Axis: return qRgb(0x00, 0x6E, 0x6E);
    case NcTokenKind::FeedSpeed: return qRgb(0xB4, 0x5A, 0x00);
    case NcTokenKind::Tool: return qRgb(0xC8, 0x00, 0x00);
    case NcTokenKind::OtherWord: return qRgb(0x50, 0x50, 0x96);
    case NcTokenKind::Comment: return qRgb(0x00, 0x80, 0x00);
    case NcTokenKind::Percent: return qRgb(0x78, 0x28, 0xC8);
    case NcTokenKind::ProgramName: return qRgb(0x78, 0x28, 0xC8);
    case NcTokenKind::Variable: return qRgb(0x8C, 0x64, 0x00);
    }
    return std::nullopt;
}

platform::LineColourer ncLineColourer()
{
    // One token buffer per colourer, reused from line to line.
    auto tokens = std::make_shared<std::vector<NcToken>>();
    return [tokens](std::string_view line, std::vector<platform::ColourRun> &runs) {
        tokenizeNcLine(line, *tokens);
        for (const NcToken &t : *tokens)
            if (const std::optional<QRgb> colour = ncTokenColour(t.kind))
                runs.push_back({t.start, t.length, *colour});
    };
}

} // namespace tarmel

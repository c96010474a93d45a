#include "checks/ProgramRange.h"

#include "checks/NcLines.h"
#include "checks/NcTokenizer.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <optional>

namespace tarmel {

namespace {

void extend(AxisExtent &extent, double value)
{
    if (!extent.seen) {
        extent = {true, value, value};
        return;
    }
    extent.min = std::min(extent.min, value);
    extent.max = std::max(extent.max, value);
}

bool readsValue(char letter)
{
    switch (letter) {
    case 'G': case 'X': case 'Y': case 'Z': case 'T': case 'F': case 'S': return true;
    default: return false;
    }
}

// A value as NC programs write it: a point, no trailing zeros, no "-0".
QString number(double value)
{
    QString text = QString::number(value, 'f', 6);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString extentText(const AxisExtent &extent, const QString &prefix)
{
    return prefix + number(extent.min) + QStringLiteral(" à ") + prefix + number(extent.max);
}

} // namespace

ProgramRange computeProgramRange(std::string_view utf8Text)
{
    ProgramRange range;
    std::vector<NcToken> tokens;
    bool absolute = true; // controllers start in G90
    forEachNcLine(withoutByteOrderMark(utf8Text), [&](int, std::string_view line) {
        tokenizeNcLine(line, tokens);
        bool block = false;
        bool notAMove = false;
        std::optional<double> axis[3];
        for (const NcToken &t : tokens) {
            if (t.kind == NcTokenKind::Comment || t.kind == NcTokenKind::Percent || t.kind == NcTokenKind::ProgramName)
                continue;
            block = true;
            // Only the words the range reads are read for their value.
            if (!isNcWord(t.kind) || !readsValue(t.letter))
                continue;
            const std::optional<double> value = ncWordValue(line, t);
            if (!value)
                continue;
            switch (t.letter) {
            case 'G':
                if (*value == 90 || *value == 91)
                    absolute = *value == 90;
                // Dwell, offset settings: their X Y Z are times and offsets, not positions.
                notAMove = notAMove || *value == 4 || *value == 10 || *value == 52 || *value == 92;
                break;
            case 'X': case 'Y': case 'Z':
                axis[t.letter - 'X'] = value;
                break;
            case 'T':
                if (const int tool = int(std::lround(*value)); *value == tool) {
                    const auto at = std::lower_bound(range.tools.begin(), range.tools.end(), tool);
                    if (at == range.tools.end() || *at != tool)
                        range.tools.insert(at, tool);
                }
                break;
            case 'F':
                extend(range.feed, *value);
                break;
            case 'S':
                extend(range.speed, *value);
                break;
            default:
                break;
            }
        }
        range.blocks += block;
        if (notAMove || !(axis[0] || axis[1] || axis[2]))
            return;
        if (!absolute) {
            ++range.incrementalMoves;
            return;
        }
        AxisExtent *extents[3] = {&range.x, &range.y, &range.z};
        for (int a = 0; a < 3; ++a)
            if (axis[a])
                extend(*extents[a], *axis[a]);
    });
    return range;
}

QString describeProgramRange(const ProgramRange &range)
{
    QStringList lines;
    lines << QStringLiteral("Blocs : %1").arg(range.blocks);
    const std::pair<const AxisExtent *, QString> axes[] = {
        {&range.x, QStringLiteral("X")}, {&range.y, QStringLiteral("Y")}, {&range.z, QStringLiteral("Z")}};
    for (const auto &[extent, name] : axes)
        lines << name + QStringLiteral(" : ")
                     + (extent->seen ? number(extent->min) + QStringLiteral(" à ") + number(extent->max)
                                     : QStringLiteral("aucun déplacement"))
                     + QStringLiteral(" (déplacements absolus G90 seulement)");
    if (range.incrementalMoves > 0)
        lines << QStringLiteral("Blocs en G91 non comptés : %1").arg(range.incrementalMoves);
    QStringList tools;
    for (const int tool : range.tools)
        tools << QStringLiteral("T%1").arg(tool);
    lines << QStringLiteral("Outils : ") + (tools.isEmpty() ? QStringLiteral("aucun") : tools.join(QStringLiteral(", ")));
    lines << QStringLiteral("Avances : ") + (range.feed.seen ? extentText(range.feed, QStringLiteral("F")) : QStringLiteral("aucune"));
    lines << QStringLiteral("Vitesses de broche : ")
                 + (range.speed.seen ? extentText(range.speed, QStringLiteral("S")) : QStringLiteral("aucune"));
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace tarmel

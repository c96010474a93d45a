#include "commands/ToolbarArrangement.h"

namespace tarmel::toolbar {

Arrangement defaultArrangement(int count)
{
    Arrangement all;
    for (int index = 1; index <= count; ++index)
        all.append(index);
    return all;
}

Arrangement available(const Arrangement &shown, int count)
{
    Arrangement rest;
    for (int index = 1; index <= count; ++index) {
        if (!shown.contains(index))
            rest.append(index);
    }
    return rest;
}

QString formatArrangement(const Arrangement &shown)
{
    QString text;
    for (int index : shown) {
        if (!text.isEmpty())
            text += QLatin1Char(',');
        text += QString::number(index);
    }
    return text;
}

std::optional<Arrangement> parseArrangement(QStringView text, int count)
{
    Arrangement shown;
    for (QStringView entry : text.split(QLatin1Char(','))) {
        bool ok = false;
        const int index = entry.trimmed().toInt(&ok);
        if (ok && index >= 1 && index <= count && !shown.contains(index))
            shown.append(index);
    }
    if (shown.isEmpty())
        return std::nullopt;
    return shown;
}

int addButton(Arrangement &shown, int index, int beforeRow)
{
    if (index < 1 || shown.contains(index))
        return -1;
    const int row = beforeRow < 0 || beforeRow > shown.size() ? int(shown.size()) : beforeRow;
    shown.insert(row, index);
    return row;
}

int removeButton(Arrangement &shown, int row)
{
    if (row < 0 || row >= shown.size())
        return -1;
    shown.removeAt(row);
    return shown.isEmpty() ? -1 : std::min(row, int(shown.size()) - 1);
}

int moveButton(Arrangement &shown, int row, int delta)
{
    const int to = row + delta;
    if (row < 0 || row >= shown.size() || to < 0 || to >= shown.size() || delta == 0)
        return -1;
    shown.move(row, to);
    return to;
}

} // namespace tarmel::toolbar

#include "app/Arrange.h"

namespace tarmel {

QList<QRect> tileRects(QSize area, int count, bool oneAboveAnother)
{
    QList<QRect> rects;
    if (count <= 0 || area.isEmpty())
        return rects;
    const int total = oneAboveAnother ? area.height() : area.width();
    const int step = total / count;
    for (int i = 0; i < count; ++i) {
        const int from = i * step;
        const int size = i == count - 1 ? total - from : step;
        rects.append(oneAboveAnother ? QRect(0, from, area.width(), size) : QRect(from, 0, size, area.height()));
    }
    return rects;
}

} // namespace tarmel

#pragma once
#include <QList>
#include <QRect>
#include <QSize>

namespace tarmel {

// Tiling of n document windows in an area: one above another (horizontal tiling) or
// side by side (vertical tiling), each the same size, the last one taking the pixels
// left by the division.
QList<QRect> tileRects(QSize area, int count, bool oneAboveAnother);

} // namespace tarmel

#pragma once
// The toolpath view's French texts, and the figures and reports as the header shows them.

#include "toolpath/Toolpath.h"

#include <QString>

namespace tarmel::toolpath::texts {

inline QString viewName() { return QStringLiteral("Parcours d'outil"); }
inline QString fitButton() { return QStringLiteral("Ajuster"); }
inline QString topButton() { return QStringLiteral("XY"); }
inline QString frontButton() { return QStringLiteral("XZ"); }
inline QString sideButton() { return QStringLiteral("YZ"); }
inline QString isoButton() { return QStringLiteral("Iso"); }
inline QString topTip() { return QStringLiteral("Vue de dessus (XY)"); }
inline QString frontTip() { return QStringLiteral("Vue de face (XZ)"); }
inline QString sideTip() { return QStringLiteral("Vue de côté (YZ)"); }
inline QString isoTip() { return QStringLiteral("Vue isométrique (glisser pour tourner)"); }
inline QString rapidRateLabel() { return QStringLiteral("Rapides :"); }
inline QString rapidRateSuffix() { return QStringLiteral(" mm/min"); }
inline QString progressName() { return QStringLiteral("Lecture du programme"); }
inline QString figuresName() { return QStringLiteral("Mesures du parcours"); }
inline QString reportsName() { return QStringLiteral("Mots non suivis"); }
inline QString drawingName() { return QStringLiteral("Dessin du parcours"); }

// "X : -5,000 à 20,000   Y : …", then the lengths, then the estimated run time: three lines.
QString describeFigures(const Figures &figures, double rapidRate);
// "Non suivis : G81 (ligne 11, 2 fois), arc incohérent (ligne 88)"; empty when nothing was left.
QString describeReports(const std::vector<Report> &reports);
// "1 h 02 min 05 s", "3 min 20 s", "12 s".
QString describeDuration(double minutes);

} // namespace tarmel::toolpath::texts

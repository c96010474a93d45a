#pragma once
// The main window's own texts, exactly as the user sees them.

#include <QString>

namespace tarmel::texts {

inline QString mainCaption() { return QStringLiteral("Tarmel"); }
inline QString toolbarTitle() { return QStringLiteral("Barre d'outils"); }

} // namespace tarmel::texts

#pragma once
// Every user-visible text of case conversion and accent removal, in one place.

#include <QString>

namespace transform::texts {

// Caption of the progress window Form4.
inline QString form4Caption() { return QStringLiteral("Suppression des caractères accentués"); }

// A text too large for the memory left: the command leaves it as it was (title "Erreur", flags 16).
inline QString errorTitle() { return QStringLiteral("Erreur"); }
inline QString noMemory() { return QStringLiteral("Mémoire insuffisante : le texte n'a pas été modifié."); }

} // namespace transform::texts

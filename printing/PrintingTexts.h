#pragma once
// Every user-visible text of the print commands, exactly as the user sees it.

#include <QString>

namespace tarmel::printing::texts {

// A print that could not be done (title "Erreur", critical icon, OK: flags 16).
inline QString errorTitle() { return QStringLiteral("Erreur"); }
inline QString printError(const QString &reason) { return QStringLiteral("Erreur d'impression\r") + reason; }

} // namespace tarmel::printing::texts

#pragma once
// Every user-visible text of the help viewer, exactly as the user sees it.

#include <QString>

namespace tarmel::help::texts {

inline QString windowTitle() { return QStringLiteral("Aide de Tarmel"); }
inline QString contentsTab() { return QStringLiteral("Sommaire"); }
inline QString indexTab() { return QStringLiteral("Index"); }
inline QString searchTab() { return QStringLiteral("Recherche"); }
inline QString indexLabel() { return QStringLiteral("Mot clé :"); }
inline QString searchLabel() { return QStringLiteral("Mots à rechercher :"); }
inline QString searchButton() { return QStringLiteral("&Rechercher"); }
inline QString backButton() { return QStringLiteral("Précédent"); }
inline QString forwardButton() { return QStringLiteral("Suivant"); }
inline QString homeButton() { return QStringLiteral("Sommaire"); }
inline QString indexing() { return QStringLiteral("Préparation de la recherche..."); }
inline QString noResult() { return QStringLiteral("Aucune page ne contient ces mots."); }
inline QString resultCount(int count) { return QStringLiteral("%1 page(s) trouvée(s)").arg(count); }

// The collection cannot be found or opened (title "Aide", exclamation icon, OK: flags 48).
inline QString missingTitle() { return QStringLiteral("Aide"); }
inline QString missingText(const QString &path)
{
    return QStringLiteral("Le fichier d'aide est introuvable :\r%1").arg(path);
}

} // namespace tarmel::help::texts

#pragma once
// Every user-visible text of find and replace, in one place.

#include <QString>

namespace tarmel::search::texts {

// Both panels
inline QString searchLabel() { return QStringLiteral("Rechercher :"); }
inline QString differentiateLabel() { return QStringLiteral("Différencier"); }
inline QString wholeWordBox() { return QStringLiteral("Mot entier"); }
inline QString caseBox() { return QStringLiteral("Majuscule / Minuscule"); }
inline QString upOption() { return QStringLiteral("&Haut"); }
inline QString downOption() { return QStringLiteral("&Bas"); }
inline QString nextButton() { return QStringLiteral("&Suivant"); }
inline QString closeButton() { return QStringLiteral("&Annuler"); }

// Find panel Frame1
inline QString findDirectionFrame() { return QStringLiteral(" Direction "); }

// Replace panel Frame2
inline QString replaceLabel() { return QStringLiteral("Remplacer par :"); }
inline QString replaceDirectionFrame() { return QStringLiteral(" Direction"); }
inline QString replaceButton() { return QStringLiteral("Remp&lacer"); }
inline QString skipButton() { return QStringLiteral("&Sauter"); }
inline QString replaceAllButton() { return QStringLiteral("&Tout remplacer"); }

// Message boxes
inline QString notFoundTitle() { return QStringLiteral("Chaîne non trouvée !"); }
inline QString notFound(const QString &searched)
{
    return QStringLiteral("Impossible de trouver la chaîne \"") + searched + QLatin1Char('"');
}
inline QString errorTitle() { return QStringLiteral("Erreur"); }
inline QString searchError() { return QStringLiteral("Erreur lors de la recherche ou programme trop voluimineux !"); }
inline QString replaceAllTitle() { return QStringLiteral("Remplacer"); }
inline QString replaceAllReport(qint64 count)
{
    return QStringLiteral("%1 remplacement(s) effectué(s)").arg(count);
}

} // namespace tarmel::search::texts

#pragma once
// What the toolbar's customise dialog shows.

#include <QString>

#include <iterator>

namespace tarmel::texts {

// The description the customise dialog lists for a button (1-based table index);
// the separators and the last button have none.
inline QString buttonDescription(int index)
{
    static const char *const descriptions[] = {"1", "2", "3", "4", "5", "7", "", "8", "9",
                                               "10", "11", "12", "", "16", "17", "31", "32", ""};
    if (index < 1 || index > int(std::size(descriptions)))
        return QString();
    return QString::fromLatin1(descriptions[index - 1]);
}

inline QString separatorName() { return QStringLiteral("Séparateur"); }
inline QString customizeTitle() { return QStringLiteral("Personnaliser la barre d'outils"); }
inline QString availableButtons() { return QStringLiteral("Boutons &disponibles :"); }
inline QString shownButtons() { return QStringLiteral("Boutons de la &barre d'outils :"); }
inline QString addButtonText() { return QStringLiteral("&Ajouter ->"); }
inline QString removeButtonText() { return QStringLiteral("<- &Supprimer"); }
inline QString moveUpText() { return QStringLiteral("&Monter"); }
inline QString moveDownText() { return QStringLiteral("D&escendre"); }
inline QString resetText() { return QStringLiteral("&Réinitialiser"); }
inline QString okText() { return QStringLiteral("OK"); }
inline QString cancelText() { return QStringLiteral("Annuler"); }

} // namespace tarmel::texts

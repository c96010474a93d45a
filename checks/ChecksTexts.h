#pragma once
// The texts of the program checks, the program information and the syntax colouring.
#include <QString>

namespace tarmel::texts {

inline QString checkListTitle() { return QStringLiteral("Vérification du programme"); }
inline QString checkListColumn(int column)
{
    switch (column) {
    case 0: return QStringLiteral("Ligne");
    case 1: return QStringLiteral("Colonne");
    case 2: return QStringLiteral("Règle");
    default: return QStringLiteral("Message");
    }
}
inline QString noFinding() { return QStringLiteral("Aucune anomalie trouvée."); }
inline QString findingCount(qsizetype count)
{
    return count == 1 ? QStringLiteral("1 anomalie trouvée.")
                      : QStringLiteral("%1 anomalies trouvées.").arg(count);
}
inline QString textChangedSinceCheck()
{
    return QStringLiteral(" Texte modifié depuis la vérification.");
}
inline QString removeAccentsButton() { return QStringLiteral("&Supprimer les accents"); }
inline QString removeAccentsHint()
{
    return QStringLiteral("Remplace les lettres accentuées du programme (menu Outils, « Supprimer les accents »)");
}
inline QString closeCheckList() { return QStringLiteral("Fermer la liste"); }
inline QString programInformationTitle() { return QStringLiteral("Informations programme"); }

} // namespace tarmel::texts

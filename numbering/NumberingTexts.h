#pragma once
// Every user-visible text of renumbering and automatic numbering, in one place.

#include <QString>

namespace numbering::texts {

// Message boxes of the step field (title "Erreur", critical icon, OK: flags 16).
inline QString errorTitle() { return QStringLiteral("Erreur"); }
inline QString stepMinimum() { return QStringLiteral("Pas de renumérotation minimum =1 !"); }
inline QString stepMaximum() { return QStringLiteral("Pas de renumérotation maximum =50 !"); }

// Renumbering panel Frame3.
inline QString renumberFrame() { return QStringLiteral(" Renuméroter le programme "); }
inline QString stepLabel() { return QStringLiteral("Pas de renumérotation :"); }
inline QString formFrame() { return QStringLiteral("Début de ligne "); }
inline QString formWithN() { return QStringLiteral("Nxxxx"); }
inline QString formWithNTip() { return QStringLiteral("Numéros de lignes commencant par N"); }
inline QString formDigitsOnly() { return QStringLiteral("xxxx"); }
inline QString formDigitsOnlyTip() { return QStringLiteral("Numéros de lignes seuls"); }
inline QString renumberButton() { return QStringLiteral("&Renuméroter"); }
inline QString quitButton() { return QStringLiteral("&Quitter"); }
inline QString selectionOnlyBox() { return QStringLiteral("Sélection seulement"); }
inline QString startNumberLabel() { return QStringLiteral("Premier numéro :"); }
inline QString updateJumpsBox() { return QStringLiteral("Mettre à jour les sauts"); }
// Title of the boxes that end a run: the jump report and the failures below (nothing was changed).
inline QString renumberTitle() { return QStringLiteral("Renuméroter"); }
inline QString renumberOverflow()
{
    return QStringLiteral("Les numéros dépasseraient la limite des nombres : le programme n'a pas été renuméroté.");
}
inline QString renumberNoMemory()
{
    return QStringLiteral("Mémoire insuffisante : le programme n'a pas été renuméroté.");
}

// Automatic numbering panel Frame6.
inline QString autoFrame() { return QStringLiteral("Numérotation automatique"); }
inline QString autoStartLabel() { return QStringLiteral("Numéro de ligne de départ :"); }
inline QString autoIncrementLabel() { return QStringLiteral("Incrément :"); }
inline QString autoNumberButton() { return QStringLiteral("&Numéroter"); }
inline QString autoSuspendButton() { return QStringLiteral("&Suspendre"); }

// Shown after a run that updated jump targets.
inline QString jumpReport(qint64 updated, qint64 notFound)
{
    return QStringLiteral("%1 sauts mis à jour, %2 cibles introuvables").arg(updated).arg(notFound);
}

} // namespace numbering::texts

#pragma once
// Every user-visible text of the preferences dialog, exactly as the user sees it.

#include <QString>

namespace tarmel::settings::texts {

inline QString caption() { return QStringLiteral("Préférences"); }

// Tabs, in order, and the frame each one holds (the trailing blank is part of the caption).
inline QString associationsTab() { return QStringLiteral("Associations"); }
inline QString associationsFrame() { return QStringLiteral("Associations "); }
inline QString associationsLabel() { return QStringLiteral("Associer Tarmel avec les extensions suivantes :"); }
inline QString txtGroup() { return QStringLiteral("TXT - ASC"); }
inline QString isoGroup() { return QStringLiteral("ISO - RUB - XCN - CN - XPI"); }
inline QString jauGroup() { return QStringLiteral("JAU - COR"); }
inline QString rtfGroup() { return QStringLiteral("RTF"); }
inline QString hGroup() { return QStringLiteral("H"); }
inline QString cncGroup() { return QStringLiteral("CNC"); }

inline QString toolbarTab() { return QStringLiteral("Barre d'outils"); }
inline QString toolbarFrame() { return QStringLiteral("Barre d'outils "); }
inline QString hideToolbar() { return QStringLiteral("Ne pas afficher la barre d'outils"); }

inline QString windowsTab() { return QStringLiteral("Fenêtres"); }
inline QString windowsFrame() { return QStringLiteral("Fenêtres au chargement "); }
inline QString maximizeWindows() { return QStringLiteral("Afficher les fenêtres en plein écran"); }

inline QString fontTab() { return QStringLiteral("Police"); }
inline QString fontFrame() { return QStringLiteral("Police "); }
inline QString sizeLabel() { return QStringLiteral("Taille :"); }

inline QString printTab() { return QStringLiteral("Impression"); }
inline QString headerFrame() { return QStringLiteral("Entête "); }
inline QString headerFolderAndFile() { return QStringLiteral("Nom de dossier + nom de fichier"); }
inline QString headerFileOnly() { return QStringLiteral("Nom de fichier"); }
inline QString headerNone() { return QStringLiteral("Pas d'entête"); }

inline QString applyButton() { return QStringLiteral("A&ppliquer"); }
inline QString applyTip() { return QStringLiteral("Appliquer avec les options sélectionnées"); }
inline QString cancelButton() { return QStringLiteral("&Annuler"); }
inline QString cancelTip() { return QStringLiteral("Fermer la fenêtre préférences"); }

// The font shown when the configuration holds no font name; its size is the sixth entry, "12".
inline QString defaultFont() { return QStringLiteral("Courier New"); }

// The configuration file could not be written (title "Erreur", critical icon, OK: flags 16).
// The dialog stays open; the values chosen act until the program ends.
inline QString errorTitle() { return QStringLiteral("Erreur"); }
inline QString configWriteError(const QString &reason)
{
    return QStringLiteral("Les préférences n'ont pas pu être enregistrées dans le fichier de configuration.\r")
           + reason + QStringLiteral("\rElles s'appliquent jusqu'à la fermeture du programme.");
}

} // namespace tarmel::settings::texts

#pragma once
// What the font, external-tool and about commands show.

#include <QString>

namespace tarmel::texts {

inline QString errorTitle() { return QStringLiteral("Erreur"); }
inline QString calculatorNotFound() { return QStringLiteral("Calculatrice non trouvée !"); }
inline QString explorerNotFound() { return QStringLiteral("Explorateur non trouvé !"); }
inline QString characterMapNotFound() { return QStringLiteral("Table des caractères non trouvée !"); }

// frmAbout
inline QString aboutCaption() { return QStringLiteral("A propos"); }
inline QString aboutLabel1() { return QStringLiteral("Editeur de programmes Commande Numérique"); }
inline QString aboutEtiquette1() { return QStringLiteral("Tarmel Pour Windows 95/98/NT/XP"); }
inline QString aboutVersion() { return QStringLiteral("Version 3.2.0"); }
inline QString aboutOwner() { return QStringLiteral("Logiciel libre (GPL-3) - Atelier Tarmel"); }
inline QString aboutEmailLabel() { return QStringLiteral("E-Mail :"); }
inline QString aboutEmail() { return QStringLiteral("contact@tarmel.example.org"); }
inline QString aboutUrlLabel() { return QStringLiteral("URL :"); }
inline QString aboutUrl() { return QStringLiteral("https://tarmel.example.org"); }
inline QString aboutOk() { return QStringLiteral("&OK"); }

} // namespace tarmel::texts

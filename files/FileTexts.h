#pragma once
// Texts of the file commands, exactly as the user sees them.

#include <QString>

namespace tarmel::texts {

inline QString fileFilter()
{
    return QStringLiteral(
        "Fichiers CN (*.iso)|*.iso|Fichiers CN (*.rub)|*.rub|Fichiers CN (*.xcn)|*.xcn|Fichiers CN (*.cn)|*.cn|"
        "Fichiers CN (*.txt)|*.txt|Fichiers CN (*.asc)|*.asc|Fichiers CN (*.xpi)|*.xpi|Fichiers jauges (*.jau)|*.jau|"
        "Fichiers jauges (*.cor)|*.cor|Tous les fichiers (*.*)|*.*|Fichiers RTF (*.RTF)|*.rtf");
}
// The merge dialog offers the same filters without the rich-text one.
inline QString mergeFilter()
{
    return QStringLiteral(
        "Fichiers CN (*.iso)|*.iso|Fichiers CN (*.rub)|*.rub|Fichiers CN (*.xcn)|*.xcn|Fichiers CN (*.cn)|*.cn|"
        "Fichiers CN (*.txt)|*.txt|Fichiers CN (*.asc)|*.asc|Fichiers CN (*.xpi)|*.xpi|Fichiers jauges (*.jau)|*.jau|"
        "Fichiers jauges (*.cor)|*.cor|Tous les fichiers (*.*)|*.*");
}
inline constexpr int RtfFilterIndex = 11;

inline QString openTitle() { return QStringLiteral("Ouvrir"); }
inline QString saveAsTitle() { return QStringLiteral("Enregistrer Sous"); }
inline QString mergeTitle() { return QStringLiteral("Fusionner un fichier"); }

inline QString errorTitle() { return QStringLiteral("Erreur"); }
inline QString openError() { return QStringLiteral("Erreur d'ouverture de fichier\rou fichier trop volumineux !"); }
inline QString saveError() { return QStringLiteral("Erreur lors de l'enregistrement du fichier"); }

// A program file whose lines were cut on opening (see LongLines.h).
inline QString longLinesText(const QString &fileName)
{
    return QStringLiteral("Le fichier %1 contient des lignes de plus de 1 000 caractères.\r"
                          "Elles sont coupées pour l'affichage.\r"
                          "Le document est en lecture seule : l'enregistrer changerait le fichier.")
        .arg(fileName);
}
inline QString longLinesSaveReason()
{
    return QStringLiteral("Le document est en lecture seule : ses lignes trop longues ont été coupées à l'ouverture.");
}

// The question when a modified document closes.
inline QString closeTitle() { return QStringLiteral("Fermer le programmes CN"); }
inline QString closeText(const QString &fileName)
{
    return QStringLiteral("Fichier ") + fileName + QStringLiteral(" modifié !\r\n            Enregistrer le fichier ? ");
}
inline QString quitTitle() { return QStringLiteral("Quitter le programme"); }
inline QString quitText() { return QStringLiteral("Quitter Tarmel\r  Confirmez ?"); }

// Save As with the rich-text filter when ".rtf" added to the typed name meets an existing file.
inline QString replaceText(const QString &path)
{
    return QStringLiteral("Le fichier %1 existe déjà.\rVoulez-vous le remplacer ?").arg(path);
}

// Saving a Windows-1252 document that holds a character the code page lacks.
inline QString encodingTitle() { return QStringLiteral("Enregistrer"); }
inline QString encodingText(const QString &character, qint64 line)
{
    return QStringLiteral("Le caractère « %1 » (ligne %2) ne peut pas être enregistré en Windows-1252.\r"
                          "Enregistrer le fichier en UTF-8 ?")
        .arg(character)
        .arg(line);
}

} // namespace tarmel::texts

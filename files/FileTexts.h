#pragma once
// Texts of the file commands, exactly as the user sees them.

namespace tarmel::texts {

inline constexpr char16_t FileFilter[] =
    u"Fichiers CN (*.iso)|*.iso|Fichiers CN (*.rub)|*.rub|Fichiers CN (*.xcn)|*.xcn|Fichiers CN (*.cn)|*.cn|"
    u"Fichiers CN (*.txt)|*.txt|Fichiers CN (*.asc)|*.asc|Fichiers CN (*.xpi)|*.xpi|Fichiers jauges (*.jau)|*.jau|"
    u"Fichiers jauges (*.cor)|*.cor|Tous les fichiers (*.*)|*.*|Fichiers RTF (*.RTF)|*.rtf";
// The merge dialog offers the same filters without the rich-text one.
inline constexpr char16_t MergeFilter[] =
    u"Fichiers CN (*.iso)|*.iso|Fichiers CN (*.rub)|*.rub|Fichiers CN (*.xcn)|*.xcn|Fichiers CN (*.cn)|*.cn|"
    u"Fichiers CN (*.txt)|*.txt|Fichiers CN (*.asc)|*.asc|Fichiers CN (*.xpi)|*.xpi|Fichiers jauges (*.jau)|*.jau|"
    u"Fichiers jauges (*.cor)|*.cor|Tous les fichiers (*.*)|*.*";
inline constexpr int RtfFilterIndex = 11;

inline constexpr char16_t OpenTitle[] = u"Ouvrir";
inline constexpr char16_t SaveAsTitle[] = u"Enregistrer Sous";
inline constexpr char16_t MergeTitle[] = u"Fusionner un fichier";

// Save As with the rich-text filter when ".rtf" added to the typed name meets an existing file.
inline constexpr char16_t ReplaceText[] = u"Le fichier %1 existe déjà.\rVoulez-vous le remplacer ?";

// Saving a Windows-1252 document that holds a character the code page lacks.
inline constexpr char16_t EncodingTitle[] = u"Enregistrer";
inline constexpr char16_t EncodingText[] =
    u"Le caractère « %1 » (ligne %2) ne peut pas être enregistré en Windows-1252.\r"
    u"Enregistrer le fichier en UTF-8 ?";

} // namespace tarmel::texts

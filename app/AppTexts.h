#pragma once
// The main window's own texts, exactly as the user sees them.

namespace tarmel::texts {

inline constexpr char16_t MainCaption[] = u"Tarmel";
inline constexpr char16_t NewDocument[] = u"Nouveau.iso";
inline constexpr char16_t CloseTitle[] = u"Fermer le programmes CN";
inline constexpr char16_t CloseBefore[] = u"Fichier ";
inline constexpr char16_t CloseAfter[] = u" modifié !\r\n            Enregistrer le fichier ? ";
inline constexpr char16_t QuitTitle[] = u"Quitter le programme";
inline constexpr char16_t QuitText[] = u"Quitter Tarmel\r  Confirmez ?";
inline constexpr char16_t ErrorTitle[] = u"Erreur";
inline constexpr char16_t OpenError[] = u"Erreur d'ouverture de fichier\rou fichier trop volumineux !";
inline constexpr char16_t SaveError[] = u"Erreur lors de l'enregistrement du fichier";
inline constexpr char16_t StatusNotice[] = u"Tarmel - programmes CN";
inline constexpr char16_t SizeSuffix[] = u" Octets";

} // namespace tarmel::texts

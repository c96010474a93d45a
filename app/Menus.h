#pragma once
// The menu bar and the toolbar, as tables: order, names, captions, shortcuts and the
// state at creation.

#include <string_view>

namespace tarmel::menus {

struct MenuItem {
    const char16_t *parent;   // nullptr: a menu of the menu bar
    const char16_t *name;     // nullptr: a separator
    const char16_t *caption;
    const char16_t *shortcut; // nullptr: none
    bool offAtCreation;
    bool isMenu;              // has items of its own
};

inline constexpr MenuItem kMenuBar[] = {
    {nullptr, u"Mnu_fichier", u"&Fichier", nullptr, false, true},
    {u"Mnu_fichier", u"Mnu_Nouveau", u"&Nouveau", nullptr, false, false},
    {u"Mnu_fichier", u"Mnu_Ouvrir", u"&Ouvrir", nullptr, false, false},
    {u"Mnu_fichier", nullptr, u"-", nullptr, false, false},
    {u"Mnu_fichier", u"Mnu_Close", u"&Fermer", nullptr, false, false},
    {u"Mnu_fichier", nullptr, u"-", nullptr, false, false},
    {u"Mnu_fichier", u"Mnu_Enregistrer", u"&Enregistrer", nullptr, true, false},
    {u"Mnu_fichier", u"Mnu_EnregistrerSous", u"Enregistrer &Sous", nullptr, true, false},
    {u"Mnu_fichier", nullptr, u"-", nullptr, false, false},
    {u"Mnu_fichier", u"Mnu_Imprimer", u"&Imprimer", nullptr, true, false},
    {u"Mnu_fichier", u"Mnu_Apercu", u"Aperçu avant impression", nullptr, true, false},
    {u"Mnu_fichier", u"Mnu_ConfigImp", u"&Configurer l'imprimante", nullptr, false, false},
    {u"Mnu_fichier", nullptr, u"-", nullptr, false, false},
    {u"Mnu_fichier", u"Mnu_Preferences", u"Préférences", nullptr, false, false},
    {u"Mnu_fichier", nullptr, u"-", nullptr, false, false},
    {u"Mnu_fichier", u"Mnu_Quitter", u"&Quitter", nullptr, false, false},

    {nullptr, u"Mnu_Edit", u"&Edition", nullptr, false, true},
    {u"Mnu_Edit", u"Mnu_Annuler", u"&Annuler", nullptr, true, false},
    {u"Mnu_Edit", nullptr, u"-", nullptr, false, false},
    {u"Mnu_Edit", u"Mnu_Edition(4)", u"Cou&per", u"Ctrl+X", false, false},
    {u"Mnu_Edit", u"Mnu_Edition(5)", u"&Copier", u"Ctrl+C", false, false},
    {u"Mnu_Edit", u"Mnu_Edition(6)", u"Co&ller", u"Ctrl+V", false, false},
    {u"Mnu_Edit", u"Mnu_Supprimer", u"&Supprimer", u"Del", false, false},
    {u"Mnu_Edit", u"Mnu_VidePresPap", u"&Vider le presse papier", nullptr, false, false},
    {u"Mnu_Edit", nullptr, u"-", nullptr, false, false},
    {u"Mnu_Edit", u"Mnu_ToutSelect", u"Tout sélectionner", nullptr, false, false},
    {u"Mnu_Edit", u"Mnu_Desel", u"&Désélectionner", nullptr, false, false},
    {u"Mnu_Edit", nullptr, u"-", nullptr, false, false},
    {u"Mnu_Edit", u"Mnu_Rechercher", u"Rechercher", nullptr, false, false},
    {u"Mnu_Edit", u"Mnu_Remplacer", u"Remplacer", nullptr, false, false},
    {u"Mnu_Edit", nullptr, u"-", nullptr, false, false},
    {u"Mnu_Edit", u"Mnu_Majuscule", u"Texte en &Majuscules", nullptr, false, false},
    {u"Mnu_Edit", u"Mnu_Minuscule", u"Texte en Mi&nuscules", nullptr, false, false},
    {u"Mnu_Edit", u"Mnu_MajusculeHorsCommentaires", u"Majuscules hors commentaires", nullptr, false, false},
    {u"Mnu_Edit", nullptr, u"-", nullptr, false, false},
    {u"Mnu_Edit", u"Mnu_Fusionner", u"Fusionner un fichier", nullptr, false, false},
    {u"Mnu_Edit", u"Mnu_HeureDate", u"Insérer Date / Heure", nullptr, false, true},
    {u"Mnu_HeureDate", u"Mnu_D1", u"D1", nullptr, false, false},
    {u"Mnu_HeureDate", u"Mnu_D2", u"D2", nullptr, false, false},
    {u"Mnu_HeureDate", u"Mnu_D3", u"D3", nullptr, false, false},
    {u"Mnu_HeureDate", u"Mnu_D4", u"D4", nullptr, false, false},
    {u"Mnu_HeureDate", u"Mnu_D5", u"D5", nullptr, false, false},

    {nullptr, u"Mnu_Outils", u"&Outils", nullptr, false, true},
    {u"Mnu_Outils", u"Mnu_Calculatrice", u"Calculatrice", nullptr, false, false},
    {u"Mnu_Outils", u"Mnu_Explore", u"Explorateur Windows", nullptr, false, false},
    {u"Mnu_Outils", u"Mnu_tableCar", u"Table de caractères", nullptr, false, false},
    {u"Mnu_Outils", nullptr, u"-", nullptr, false, false},
    {u"Mnu_Outils", u"Mnu_Renumeroter", u"&Renuméroter", nullptr, false, false},
    {u"Mnu_Outils", u"Mnu_NumAuto", u"&Numérotation automatique", nullptr, false, false},
    {u"Mnu_Outils", u"Mnu_SupprimAccents", u"&Supprimer les accents", nullptr, false, false},
    {u"Mnu_Outils", nullptr, u"-", nullptr, false, false},
    {u"Mnu_Outils", u"Mnu_VerifierProgramme", u"Vérifier le programme", nullptr, false, false},
    {u"Mnu_Outils", u"Mnu_InfosProgramme", u"Informations programme", nullptr, false, false},

    {nullptr, u"Mnu_Affichage", u"&Affichage", nullptr, false, true},
    {u"Mnu_Affichage", u"Mnu_Texte", u"Police...", nullptr, false, false},
    {u"Mnu_Affichage", u"Mnu_Coloration", u"Coloration syntaxique", nullptr, false, false},
    {u"Mnu_Affichage", u"Mnu_ParcoursOutil", u"Parcours d'outil", nullptr, false, false},
    {u"Mnu_Affichage", nullptr, u"-", nullptr, false, false},
    {u"Mnu_Affichage", u"Mnu_Barre", u"Barre d'outils", nullptr, false, true},
    {u"Mnu_Barre", u"Mnu_AfficherBarre", u"Afficher", nullptr, false, false},
    {u"Mnu_Barre", u"Mnu_MasquerBarre", u"Masquer", nullptr, false, false},
    {u"Mnu_Barre", nullptr, u"-", nullptr, false, false},
    {u"Mnu_Barre", u"Mnu_ModifierBarre", u"Modifier", nullptr, false, false},
    {u"Mnu_Barre", u"Mnu_SauverBarre", u"Sauver", nullptr, false, false},
    {u"Mnu_Barre", u"Mnu_RestaurerBarre", u"Restaurer", nullptr, false, false},

    {nullptr, u"Mnu_Fenêtre", u"&Fenêtre", nullptr, false, true},
    {u"Mnu_Fenêtre", u"Mnu_Cascade", u"Cascade", nullptr, false, false},
    {u"Mnu_Fenêtre", u"Mnu_MosaVert", u"Mosaïque verticale", nullptr, false, false},
    {u"Mnu_Fenêtre", u"Mnu_MosaHor", u"Mosaïque horizontale", nullptr, false, false},

    {nullptr, u"Mnu_Aide", u"?", nullptr, false, true},
    {u"Mnu_Aide", u"Mnu_SommAide", u"&Sommaire de l'aide", nullptr, false, false},
    {u"Mnu_Aide", u"Mnu_IndexAide", u"Rechercher dans l'aide", nullptr, false, false},
    {u"Mnu_Aide", nullptr, u"-", nullptr, false, false},
    {u"Mnu_Aide", u"Mnu_Apropos", u"&A propos", nullptr, false, false},
};

struct ToolbarButton {
    const char16_t *key;      // nullptr: a separator
    const char16_t *tooltip;
    const char *icon;         // theme icon name
    const char16_t *command;  // the menu item whose command the button runs
};

// 1-based index = position in this table + 1.
inline constexpr ToolbarButton kToolbar[] = {
    {u"Nouveau", u"Créer un nouveau fichier", "document-new", u"Mnu_Nouveau"},
    {u"Ouvrir", u"Ouvrir un fichier", "document-open", u"Mnu_Ouvrir"},
    {u"Enregistrer", u"Enregistrer un fichier", "document-save", u"Mnu_Enregistrer"},
    {u"EnregistrerSous", u"Enregistrer Sous", "document-save-as", u"Mnu_EnregistrerSous"},
    {u"Imprimer", u"Imprimer le fichier", "document-print", u"Mnu_Imprimer"},
    {u"Fermer", u"Fermer la fenêtre en cours", "window-close", u"Mnu_Close"},
    {nullptr, nullptr, nullptr, nullptr},
    {u"Annuler", u"Annuler", "edit-undo", u"Mnu_Annuler"},
    {u"Couper", u"Couper", "edit-cut", u"Mnu_Edition(4)"},
    {u"Copier", u"Copier", "edit-copy", u"Mnu_Edition(5)"},
    {u"Coller", u"Coller", "edit-paste", u"Mnu_Edition(6)"},
    {u"Supprimer", u"Supprimer", "edit-delete", u"Mnu_Supprimer"},
    {nullptr, nullptr, nullptr, nullptr},
    {u"Rechercher", u"Rechercher chaîne", "edit-find", u"Mnu_Rechercher"},
    {u"Remplacer", u"Remplacer chaîne", "edit-find-replace", u"Mnu_Remplacer"},
    {u"Aide", u"Aide", "help-contents", u"Mnu_SommAide"},
    {u"Apropos", u"A propos de Tarmel", "help-about", u"Mnu_Apropos"},
    {u"Quitter", u"Quitter Tarmel", "application-exit", u"Mnu_Quitter"},
};

// 1-based index of the toolbar button with this key (0: none).
constexpr int buttonIndex(std::u16string_view key)
{
    int index = 0;
    for (const ToolbarButton &b : kToolbar) {
        ++index;
        if (b.key && key == b.key)
            return index;
    }
    return 0;
}

// The buttons the command state addresses, by key.
namespace button {
inline constexpr int Enregistrer = buttonIndex(u"Enregistrer");
inline constexpr int EnregistrerSous = buttonIndex(u"EnregistrerSous");
inline constexpr int Imprimer = buttonIndex(u"Imprimer");
inline constexpr int Fermer = buttonIndex(u"Fermer");
inline constexpr int Annuler = buttonIndex(u"Annuler");
inline constexpr int Couper = buttonIndex(u"Couper");
inline constexpr int Copier = buttonIndex(u"Copier");
inline constexpr int Coller = buttonIndex(u"Coller");
inline constexpr int Supprimer = buttonIndex(u"Supprimer");
inline constexpr int Rechercher = buttonIndex(u"Rechercher");
inline constexpr int Remplacer = buttonIndex(u"Remplacer");
static_assert(Enregistrer == 3 && Annuler == 8 && Coller == 11 && Remplacer == 15);
} // namespace button

} // namespace tarmel::menus

#pragma once
// "Texte en &Majuscules", "Texte en Mi&nuscules", "Majuscules hors commentaires" and
// "&Supprimer les accents", on the active document.

#include "transform/CaseMap.h"

#include <functional>

namespace tarmel {

class AppContext;

class TransformCommands {
public:
    explicit TransformCommands(AppContext &app);

    void Mnu_Majuscule_Click();
    void Mnu_Minuscule_Click();
    void Mnu_MajusculeHorsCommentaires_Click();
    void Mnu_SupprimAccents_Click();
    // Replaces the accented letters of the whole text through the table, with Form4 showing meanwhile.
    void SupprimAccents();

private:
    // The selection, or the whole text when nothing is selected, to target case; keepComments leaves
    // comments as they are (upper case only).
    void changeCase(Case target, bool keepComments);
    // Runs work under the hourglass, restored however work ends.
    void underHourglass(const std::function<void()> &work);

    AppContext &app_;
};

} // namespace tarmel

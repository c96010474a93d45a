"""Smoke journey through the real program: the start state, a new document, typing, the
status bar read as a screen reader reads it, quitting through the boxes."""

import os

import pyatspi

import e2e_common as e

MENUS = ["Fichier", "Edition", "Outils", "Affichage", "Fenêtre", "?"]


def status_bar_panels(frame):
    """The panels of the status bar of the document window, as "read the status bar" finds them."""
    bars = [b for b in e.find_all(frame, pyatspi.ROLE_STATUS_BAR) if e.has_state(b, pyatspi.STATE_SHOWING)]
    return [e.name_of(p) for p in e.children(bars[0])] if len(bars) == 1 else None


def main():
    process = e.start_tarmel()
    try:
        app = e.find_application(process.pid)
        frame = e.find_one(app, pyatspi.ROLE_FRAME, "Tarmel", "the main window")
        bar = e.find_one(frame, pyatspi.ROLE_MENU_BAR, None, "the menu bar")
        names = [e.name_of(m) for m in e.top_menus(bar)]
        e.check(names == MENUS, "menu bar reads %r" % names)

        # With no document: Enregistrer disabled (item and button), Nouveau enabled, Edition disabled.
        save, new = e.menu_item(bar, "Fichier", "Enregistrer"), e.menu_item(bar, "Fichier", "Nouveau")
        e.require(save is not None and new is not None, "Enregistrer and Nouveau are in the Fichier menu")
        e.check(e.editing_areas(frame) == [], "no document window at start")
        e.check(not e.is_enabled(save) and e.is_enabled(new), "Enregistrer disabled, Nouveau enabled at start")
        e.check(not e.is_enabled(e.toolbar_button(frame, "Enregistrer")), "toolbar button Enregistrer disabled")
        edit_menu = [m for m in e.top_menus(bar) if e.name_of(m) == "Edition"]
        e.check(not e.is_enabled(edit_menu[0]), "the Edition menu is disabled with no document")

        # Nouveau: one empty document window; Enregistrer enabled.
        new.queryAction().doAction(0)
        area = e.wait_for(lambda: (e.editing_areas(frame) or [None])[0], "an editing area after Nouveau")
        e.check(e.text_of(area) == "", "the new document is empty")
        e.check(e.is_enabled(save), "Enregistrer is enabled once a document is open")

        # Typed with the keyboard, read back over the accessibility bus: lines end in CR LF.
        e.focus_program(process.pid)
        e.click(area)
        first, second = "N10 G00 X0 Y0", "N20 G01 X12.5 Y-3 F200"
        e.type_text(first)
        e.key("Return")
        e.type_text(second)
        typed = first + "\r\n" + second
        e.wait_for(lambda: e.text_of(area).endswith(second), "the typed text arrives")
        e.check(e.text_of(area) == typed, "the editing area holds %r" % e.text_of(area))
        e.check(e.caret_of(area) == len(typed), "the caret is after the typed text")
        panels = e.wait_for(lambda: status_bar_panels(frame), "one status bar shown")
        e.log("status bar panels: %r" % panels)
        e.check(panels[:2] == ["Nouveau.iso", " %d Octets" % len(typed)],
                "the status bar reads the file name and the size first (%r)" % panels[:2])
        e.screenshot("e2e_smoke_typed.png")

        # Quitter, Oui; the modified document asks before it closes; Non closes it unsaved.
        e.focus_program(process.pid)
        e.quit_with_keyboard(app, bar)
        e.answer_box(app, "Fermer le programmes CN", "Non", "Fichier Nouveau.iso modifié !\n            Enregistrer le fichier ? ")
        code = e.exit_code(process)
        e.check(code == 0, "the program ended with exit code 0 after Quitter/Oui/Non (%r)" % code)
        e.check("Nouveau.iso" not in os.listdir(os.environ["TARMEL_PROGRAM_FOLDER"]) + os.listdir(e.WORKDIR),
                "answering Non saved nothing")
    finally:
        e.stop(process)


if __name__ == "__main__":
    e.run(main)

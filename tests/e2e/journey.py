"""A user's journey through the real program: the start state, the about box, a new document from the
toolbar, typing read back with the status bar, a mouse selection cut with Ctrl+X, pasted with the
toolbar, undone from the Edition menu, a line copied and pasted with the buttons, then Quitter with
the save question answered Non. Every read goes through the accessibility interface."""

import os

import pyatspi

import e2e_common as e

MENUS = ["Fichier", "Edition", "Outils", "Affichage", "Fenêtre", "?"]
LINES = ["N10 G00 X0 Y0", "N20 G01 X50 Y25", "N30 M30"]


def status_bar_panels(frame):
    """The panels of the status bar of the document window, as "read the status bar" finds them."""
    bars = [b for b in e.find_all(frame, pyatspi.ROLE_STATUS_BAR) if e.has_state(b, pyatspi.STATE_SHOWING)]
    return [e.name_of(p) for p in e.children(bars[0])] if len(bars) == 1 else None


def button(frame, key):
    return e.wait_for(lambda: e.toolbar_button(frame, key), "toolbar button %s" % key)


def click_enabled(frame, key):
    """Points at a button (a move over the toolbar refreshes the edit buttons), waits until it is enabled, clicks."""
    x, y = e.centre(button(frame, key))
    e.xdotool("mousemove", "--sync", x - 2, y)
    e.xdotool("mousemove", "--sync", x, y)
    e.wait_for(lambda: e.is_enabled(button(frame, key)), "toolbar button %s enabled" % key)
    e.xdotool("click", 1)


def main():
    process = e.start_tarmel()
    try:
        app = e.find_application(process.pid)
        frame = e.find_one(app, pyatspi.ROLE_FRAME, "Tarmel", "the main window")
        bar = e.find_one(frame, pyatspi.ROLE_MENU_BAR, None, "the menu bar")
        names = [e.name_of(m) for m in e.top_menus(bar)]
        e.check(names == MENUS, "menu bar reads %r" % names)
        keys = [e.name_of(o) for tb in e.find_all(frame, pyatspi.ROLE_TOOL_BAR) for o in e.walk(tb)
                if o.getRole() == pyatspi.ROLE_PUSH_BUTTON]
        e.check(len(keys) == 16, "the toolbar holds 16 buttons (%r)" % keys)
        save, new = e.menu_item(bar, "Fichier", "Enregistrer"), e.menu_item(bar, "Fichier", "Nouveau")
        undo_item, cut_item = e.menu_item(bar, "Edition", "Annuler"), e.menu_item(bar, "Edition", "Couper")
        e.require(None not in (save, new, undo_item, cut_item), "Enregistrer, Nouveau, Annuler and Couper are in the menus")
        edit_menu = [m for m in e.top_menus(bar) if e.name_of(m) == "Edition"][0]
        e.check(e.editing_areas(frame) == [], "no document window at start")
        e.check(not e.is_enabled(save) and e.is_enabled(new), "Enregistrer disabled, Nouveau enabled at start")
        e.check(not e.is_enabled(button(frame, "Enregistrer")), "toolbar button Enregistrer disabled")
        e.check(not e.is_enabled(edit_menu), "the Edition menu is disabled with no document")

        e.focus_program(process.pid)
        e.click(button(frame, "Apropos"))
        about = e.dialog_by_title(app, "A propos")
        labels = [e.name_of(o) for o in e.walk(about) if o.getRole() in (pyatspi.ROLE_LABEL, pyatspi.ROLE_STATIC)]
        e.check("Editeur de programmes Commande Numérique" in labels, "the about box names the program (%r)" % labels)
        e.screenshot("e2e_about.png")
        e.click(e.find_one(about, pyatspi.ROLE_PUSH_BUTTON, "OK"))
        e.wait_for(lambda: not [t for t in e.children(app) if e.name_of(t) == "A propos"], "the about box closes")

        # Typed with the keyboard, read back: lines end in CR LF; the status bar gives the name and the size.
        e.click(button(frame, "Nouveau"))
        area = e.wait_for(lambda: (e.editing_areas(frame) or [None])[0], "an editing area after Nouveau")
        e.check(e.text_of(area) == "" and e.is_enabled(save), "the new document is empty, Enregistrer enabled")
        e.focus_program(process.pid)
        e.click(area)
        for i, line in enumerate(LINES):
            if i:
                e.key("Return")
            e.type_text(line)
        typed = "\r\n".join(LINES)
        e.wait_for(lambda: e.text_of(area).endswith(LINES[-1]), "the typed text arrives")
        e.check(e.text_of(area) == typed, "typed text reads back: %r" % e.text_of(area))
        e.check(e.caret_of(area) == len(typed), "the caret is after the typed text")
        panels = e.wait_for(lambda: status_bar_panels(frame), "one status bar shown")
        e.check(panels[:2] == ["Nouveau.iso", " %d Octets" % len(typed)], "the status bar reads %r" % panels[:2])
        e.check(not e.is_enabled(undo_item), "Annuler is disabled: typing records no snapshot")

        # Select "G01 X50" with the mouse: press on the left edge of its first character, drag to the next one's.
        target = "G01 X50"
        start, end = typed.index(target), typed.index(target) + len(target)
        a, b = e.character_box(area, start), e.character_box(area, end)
        e.require(a.width > 0 and a.height > 0 and b.x > a.x, "the editing area reports where its characters are")
        y = a.y + a.height // 2
        e.xdotool("mousemove", "--sync", a.x + 1, y)
        e.xdotool("mousedown", 1)
        e.xdotool("mousemove", "--sync", (a.x + b.x) // 2, y)
        e.xdotool("mousemove", "--sync", b.x + 1, y)
        e.xdotool("mouseup", 1)
        selected = e.wait_for(lambda: e.selection_of(area), "a selection after the drag")
        e.check(selected == target, "the mouse selected %r (got %r)" % (target, selected))
        e.check(e.is_enabled(button(frame, "Couper")), "toolbar button Couper enabled after the selection")
        e.check(e.is_enabled(cut_item), "Couper enabled after the selection, so Ctrl+X is the menu command")
        e.focus_program(process.pid)
        e.key("ctrl+x")
        after_cut = typed[:start] + typed[end:]
        e.wait_for(lambda: e.text_of(area) != typed, "the text changes after Ctrl+X")
        e.check(e.text_of(area) == after_cut, "after Ctrl+X the text reads %r" % e.text_of(area))
        e.check(e.is_enabled(undo_item), "Annuler is enabled after the cut")

        # Paste at the end of the first line with the toolbar button, then Annuler from the open Edition menu.
        e.wait_for(lambda: e.is_enabled(button(frame, "Coller")), "toolbar button Coller enabled once the clipboard holds text")
        e.key("ctrl+Home")
        e.key("End")
        e.wait_for(lambda: e.caret_of(area) == len(LINES[0]), "the caret at the end of the first line")
        e.click(button(frame, "Coller"))
        after_paste = LINES[0] + target + after_cut[len(LINES[0]):]
        e.wait_for(lambda: e.text_of(area) != after_cut, "the text changes after Coller")
        e.check(e.text_of(area) == after_paste, "after Coller the text reads %r" % e.text_of(area))
        e.click(edit_menu)
        e.wait_for(lambda: e.has_state(undo_item, pyatspi.STATE_SHOWING), "the Edition menu opens")
        e.screenshot("e2e_journey_edit_menu.png")
        e.click(undo_item)
        e.wait_for(lambda: e.text_of(area) != after_paste, "the text changes after Annuler")
        e.check(e.text_of(area) == after_cut, "after Annuler the text is as before the paste: %r" % e.text_of(area))
        e.wait_for(lambda: not e.is_enabled(undo_item), "Annuler disabled after the undo (one level only)")
        e.check(not e.is_enabled(button(frame, "Annuler")), "toolbar button Annuler disabled after the undo")

        # The last line copied with Copier and pasted after itself with Coller.
        e.focus_program(process.pid)
        e.key("ctrl+End")
        e.key("shift+Home")
        e.wait_for(lambda: e.selection_of(area) == LINES[-1], "the last line is selected")
        click_enabled(frame, "Copier")
        e.key("End")
        e.wait_for(lambda: e.selection_of(area) == "", "the selection is collapsed at the end")
        click_enabled(frame, "Coller")
        e.wait_for(lambda: e.text_of(area) == after_cut + LINES[-1], "the paste button pasted the line Copier copied")
        e.screenshot("e2e_journey_copied.png")

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

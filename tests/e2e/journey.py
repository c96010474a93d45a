"""Editing journey through the real program: type, select with the mouse, cut with Ctrl+X,
paste with the toolbar button, undo from the Edition menu; the text is read back after
every step through the accessibility interface."""

import pyatspi

import e2e_common as e

LINES = ["N10 G00 X0 Y0", "N20 G01 X50 Y25", "N30 M30"]


def main():
    process = e.start_tarmel()
    try:
        app = e.find_application(process.pid)
        frame = e.find_one(app, pyatspi.ROLE_FRAME, "Tarmel", "the main window")
        bar = e.find_one(frame, pyatspi.ROLE_MENU_BAR, None, "the menu bar")
        e.focus_program(process.pid)
        e.click(e.wait_for(lambda: e.toolbar_button(frame, "Nouveau"), "toolbar button Nouveau"))
        area = e.wait_for(lambda: (e.editing_areas(frame) or [None])[0], "an editing area after Nouveau")
        e.focus_program(process.pid)
        e.click(area)
        for i, line in enumerate(LINES):
            if i:
                e.key("Return")
            e.type_text(line)
        typed = "\r\n".join(LINES)
        e.wait_for(lambda: e.text_of(area).endswith(LINES[-1]), "the typed text arrives")
        e.check(e.text_of(area) == typed, "typed text reads back: %r" % e.text_of(area))
        undo_item, cut_item = e.menu_item(bar, "Edition", "Annuler"), e.menu_item(bar, "Edition", "Couper")
        e.require(undo_item is not None and cut_item is not None, "Annuler and Couper are in the Edition menu")
        e.check(not e.is_enabled(undo_item), "Annuler is disabled: typing records no snapshot")

        # Select "G01 X50" with the mouse: press on the left edge of its first character,
        # drag to the left edge of the character after it, release.
        target = "G01 X50"
        start = typed.index(target)
        end = start + len(target)
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
        # The release in the text enables the button, the click's Edit menu refresh the item.
        e.check(e.is_enabled(e.toolbar_button(frame, "Couper")), "toolbar button Couper enabled after the selection")
        e.check(e.is_enabled(cut_item), "Couper enabled after the selection, so Ctrl+X is the menu command")

        e.focus_program(process.pid)
        e.key("ctrl+x")
        after_cut = typed[:start] + typed[end:]
        e.wait_for(lambda: e.text_of(area) != typed, "the text changes after Ctrl+X")
        e.check(e.text_of(area) == after_cut, "after Ctrl+X the text reads %r" % e.text_of(area))
        e.check(e.is_enabled(undo_item), "Annuler is enabled after the cut")

        # Paste at the end of the first line with the toolbar button.
        paste_button = e.toolbar_button(frame, "Coller")
        e.wait_for(lambda: e.is_enabled(paste_button), "toolbar button Coller enabled once the clipboard holds text")
        e.key("ctrl+Home")
        e.key("End")
        e.wait_for(lambda: e.caret_of(area) == len(LINES[0]), "the caret at the end of the first line")
        e.click(paste_button)
        after_paste = LINES[0] + target + after_cut[len(LINES[0]):]
        e.wait_for(lambda: e.text_of(area) != after_cut, "the text changes after Coller")
        e.check(e.text_of(area) == after_paste, "after Coller the text reads %r" % e.text_of(area))

        # Annuler from the open Edition menu, with the pointer: back to before the paste.
        e.click([m for m in e.top_menus(bar) if e.name_of(m) == "Edition"][0])
        e.wait_for(lambda: e.has_state(undo_item, pyatspi.STATE_SHOWING), "the Edition menu opens")
        e.screenshot("e2e_journey_edit_menu.png")
        e.click(undo_item)
        e.wait_for(lambda: e.text_of(area) != after_paste, "the text changes after Annuler")
        e.check(e.text_of(area) == after_cut, "after Annuler the text is as before the paste: %r" % e.text_of(area))
        e.wait_for(lambda: not e.is_enabled(undo_item), "Annuler disabled after the undo (one level only)")
        e.check(not e.is_enabled(e.toolbar_button(frame, "Annuler")), "toolbar button Annuler disabled after the undo")
    finally:
        e.stop(process)


if __name__ == "__main__":
    e.run(main)

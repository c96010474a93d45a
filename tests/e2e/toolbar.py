"""Toolbar journey through the real program, by pointer clicks on the buttons: Nouveau, Copier
then Coller, the about box closed by OK; the main window is photographed with its pictures.
(Annuler and the quit are driven in journey.py and smoke.py.)"""

import pyatspi

import e2e_common as e

LINE = "N10 G00 X12.5"


def button(frame, key):
    return e.wait_for(lambda: e.toolbar_button(frame, key), "toolbar button %s" % key)


def click_enabled(frame, key):
    """Points at a button (a move over the toolbar refreshes the edit buttons), waits until it
    is enabled, clicks it."""
    target = button(frame, key)
    x, y = e.centre(target)
    e.xdotool("mousemove", "--sync", x - 2, y)
    e.xdotool("mousemove", "--sync", x, y)
    e.wait_for(lambda: e.is_enabled(target), "toolbar button %s enabled" % key)
    e.xdotool("click", 1)


def main():
    process = e.start_tarmel()
    try:
        app = e.find_application(process.pid)
        frame = e.find_one(app, pyatspi.ROLE_FRAME, "Tarmel", "the main window")
        e.focus_program(process.pid)
        keys = [e.name_of(o) for bar in e.find_all(frame, pyatspi.ROLE_TOOL_BAR) for o in e.walk(bar)
                if o.getRole() == pyatspi.ROLE_PUSH_BUTTON]
        e.check(len(keys) == 16, "the toolbar holds 16 buttons (%r)" % keys)

        e.click(button(frame, "Nouveau"))
        area = e.wait_for(lambda: (e.editing_areas(frame) or [None])[0], "an editing area after Nouveau")
        e.focus_program(process.pid)
        e.click(area)
        e.type_text(LINE)
        e.wait_for(lambda: e.text_of(area) == LINE, "the typed text arrives")
        e.key("shift+Home")
        e.wait_for(lambda: e.selection_of(area) == LINE, "the typed line is selected")
        click_enabled(frame, "Copier")
        e.key("End")
        e.wait_for(lambda: e.selection_of(area) == "", "the selection is collapsed at the end")
        click_enabled(frame, "Coller")
        e.wait_for(lambda: e.text_of(area) == LINE * 2, "the paste button pasted the line the copy button copied")
        e.screenshot("e2e_toolbar.png")

        e.click(button(frame, "Apropos"))
        about = e.dialog_by_title(app, "A propos")
        labels = [e.name_of(o) for o in e.walk(about) if o.getRole() in (pyatspi.ROLE_LABEL, pyatspi.ROLE_STATIC)]
        e.check("Editeur de programmes Commande Numérique" in labels, "the about box names the program (%r)" % labels)
        e.screenshot("e2e_toolbar_about.png")
        e.click(e.find_one(about, pyatspi.ROLE_PUSH_BUTTON, "OK"))
        e.wait_for(lambda: not [t for t in e.children(app) if e.name_of(t) == "A propos"], "the about box closes")
    finally:
        e.stop(process)


if __name__ == "__main__":
    e.run(main)

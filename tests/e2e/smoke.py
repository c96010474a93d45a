"""Smoke test of the real program: start, menus, a new document, typing, quitting.

Started by run_e2e.sh (private X server, accessibility bus, program folder).
"""

import os

import pyatspi

import e2e_common as e

MENUS = ["Fichier", "Edition", "Outils", "Affichage", "Fenêtre", "?"]
QUIT_TITLE = "Quitter le programme"
CLOSE_TITLE = "Fermer le programmes CN"


def label_content(obj):
    parts = [e.name_of(obj), obj.description or ""]
    try:
        parts.append(obj.queryText().getText(0, -1))
    except NotImplementedError:
        pass
    return parts


def answer(app, title, button_name, expected_texts=()):
    box = e.dialog_by_title(app, title)
    texts = e.all_texts(box)
    e.log("box %r says %r" % (title, texts))
    for wanted in expected_texts:
        e.check(any(wanted in t.replace("\r\n", "\n").replace("\r", "\n") for t in texts),
                "the box %r shows %r" % (title, wanted))
    button = e.find_one(box, pyatspi.ROLE_PUSH_BUTTON, button_name, "button %r of the box %r" % (button_name, title))
    buttons = [e.name_of(b) for b in e.find_all(box, pyatspi.ROLE_PUSH_BUTTON)]
    e.check(sorted(buttons) == ["Non", "Oui"], "the box %r has the buttons Oui and Non (it has %r)" % (title, buttons))
    return box, button


def main():
    app_process = e.start_tarmel()
    try:
        app = e.find_application(app_process.pid)
        frame = e.main_frame(app)
        bar = e.menu_bar(frame)

        # The menu bar, in order.
        names = [e.name_of(m) for m in e.top_menus(bar)]
        e.check(names == MENUS, "menu bar reads %r (expected %r)" % (names, MENUS))

        # With no document: no document window, "Enregistrer" disabled, "Nouveau" enabled.
        e.check(e.editing_areas(frame) == [], "no document window at start")
        save = e.menu_item(bar, "Fichier", "Enregistrer")
        new = e.menu_item(bar, "Fichier", "Nouveau")
        e.require(save is not None and new is not None, "the items Enregistrer and Nouveau are in the Fichier menu")
        e.check(not e.is_enabled(save), "\"Enregistrer\" is disabled at start")
        e.check(e.is_enabled(new), "\"Nouveau\" is enabled at start")
        save_button = e.toolbar_button(frame, "Enregistrer")
        new_button = e.toolbar_button(frame, "Nouveau")
        e.check(save_button is not None and not e.is_enabled(save_button), "toolbar button Enregistrer disabled at start")
        e.check(new_button is not None and e.is_enabled(new_button), "toolbar button Nouveau enabled at start")
        edit_menu = [m for m in e.top_menus(bar) if e.name_of(m) == "Edition"]
        e.check(bool(edit_menu) and not e.is_enabled(edit_menu[0]), "the Edition menu is disabled with no document")

        # "Nouveau": one document window with an empty editing area; "Enregistrer" now enabled.
        e.do_action(new)
        area = e.wait_for(lambda: (e.editing_areas(frame) or [None])[0], "an editing area after Nouveau")
        e.check(len(e.editing_areas(frame)) == 1, "one editing area after Nouveau")
        e.check(e.text_of(area) == "", "the new document is empty")
        e.wait_for(lambda: e.find_all(frame, None, "Nouveau.iso"), "a document window captioned Nouveau.iso")
        e.check(e.is_enabled(save), "\"Enregistrer\" is enabled once a document is open")

        # Type into the editing area with the keyboard, read it back over the accessibility bus.
        window = e.x_window_of(app_process.pid)
        e.focus_window(window)
        e.click(area)
        first, second = "N10 G00 X0 Y0", "N20 G01 X12.5 Y-3 F200"
        e.type_text(first)
        e.key("Return")
        e.type_text(second)
        expected = first + "\r\n" + second
        e.wait_for(lambda: e.text_of(area).endswith(second), "the typed text arrives")
        e.check(e.text_of(area) == expected, "the editing area holds the typed text, lines ended by CR LF: %r" % e.text_of(area))
        e.check(e.caret_of(area) == len(expected), "the caret is after the typed text (%d)" % e.caret_of(area))
        # What the status bar shows must reach a screen reader too, in whichever field Qt puts it.
        shown = [label_content(o) for o in e.find_all(frame, pyatspi.ROLE_LABEL) if e.is_showing(o)]
        e.log("labels shown (name, description, text): %r" % shown)
        e.check(any("Nouveau.iso" in " ".join(parts) for parts in shown),
                "the status bar's first panel (Nouveau.iso) can be read over the accessibility bus")
        e.screenshot("e2e_smoke_typed.png")

        # "Quitter" with the keyboard: Alt+F opens Fichier, Q is its access key.
        e.focus_window(window)
        e.key("alt+f")
        e.wait_for(lambda: e.is_showing(e.menu_item(bar, "Fichier", "Quitter")), "the Fichier menu opens")
        e.screenshot("e2e_smoke_menu.png")
        e.key("q")
        box, yes = answer(app, QUIT_TITLE, "Oui", ["Quitter Tarmel\n  Confirmez ?"])
        e.screenshot("e2e_smoke_quit_box.png")
        e.check(app_process.poll() is None, "the program waits for the answer")
        e.click(yes)

        # The modified document asks before it closes; "Non" closes it unsaved.
        box, no = answer(app, CLOSE_TITLE, "Non", ["Fichier Nouveau.iso modifié !\n            Enregistrer le fichier ? "])
        e.screenshot("e2e_smoke_close_box.png")
        e.click(no)

        try:
            code = app_process.wait(timeout=e.HANG_GUARD)
        except Exception:
            code = None
        e.check(code == 0, "the program ended with exit code 0 after Quitter/Oui/Non (exit code %r)" % code)
        leftovers = sorted(os.listdir(os.environ["TARMEL_PROGRAM_FOLDER"]))
        e.check("Nouveau.iso" not in leftovers and "Nouveau.iso" not in os.listdir(e.WORKDIR),
                "answering Non saved nothing")
    finally:
        e.stop(app_process)


if __name__ == "__main__":
    e.run(main)

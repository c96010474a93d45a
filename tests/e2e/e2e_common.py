"""Helpers of the end-to-end scripts, run inside run_e2e.sh. The program is driven as a user
would (xdotool) and read back through its accessibility interface (pyatspi). Every wait only
guards against a hang: nothing is asserted about how fast."""

import collections
import os
import subprocess
import sys
import time
import traceback

import pyatspi
from gi.repository import Atspi

HANG_GUARD = 30.0  # seconds
TARMEL = os.environ.get("TARMEL_BIN", "")
WORKDIR = os.environ.get("E2E_TMP", "/tmp")
SHOTS = os.environ.get("E2E_SHOTS", WORKDIR)
Box = collections.namedtuple("Box", "x y width height")
_failures = []


class Failure(Exception):
    pass


def log(*args):
    print(*args, flush=True)


def check(condition, what):
    """Records a failed check and goes on, so that every step of the journey is seen."""
    log(("ok   - " if condition else "FAIL - ") + what)
    if not condition:
        _failures.append(what)
    return condition


def require(condition, what):
    """A check whose failure makes the following steps meaningless."""
    if not check(condition, what):
        raise Failure(what)


def wait_for(predicate, what, timeout=HANG_GUARD):
    """Polls predicate until it returns a true value, and returns that value."""
    deadline, last_error = time.monotonic() + timeout, None
    while True:
        try:
            value = predicate()
            if value:
                return value
        except Exception as error:  # the tree changes while it is walked
            last_error = error
        if time.monotonic() > deadline:
            raise Failure("never happened: %s%s" % (what, " (last error: %r)" % (last_error,) if last_error else ""))
        time.sleep(0.1)


def start_tarmel(*args):
    if not os.access(TARMEL, os.X_OK):
        raise Failure("no program to test: TARMEL_BIN=%r" % TARMEL)
    process = subprocess.Popen([TARMEL, *args], cwd=WORKDIR)
    with open(os.path.join(WORKDIR, "pids"), "a") as f:  # run_e2e.sh ends every process listed
        f.write("%d\n" % process.pid)
    return process


def stop(process):
    process.kill(), process.wait()


def exit_code(process):
    try:
        return process.wait(timeout=HANG_GUARD)
    except subprocess.TimeoutExpired:
        return None


def fresh(obj):
    """Drops what libatspi cached about obj, so that the next read asks the program."""
    try:
        obj.clear_cache()
    except Exception:
        pass
    return obj


def find_application(pid):
    def look():
        desktop = pyatspi.Registry.getDesktop(0)
        for app in (desktop.getChildAtIndex(i) for i in range(desktop.childCount)):
            if app is not None and app.get_process_id() == pid:
                try:
                    app.set_cache_mask(Atspi.Cache.NONE)
                except Exception:
                    pass
                return app
    return wait_for(look, "the program (pid %d) appears on the accessibility bus" % pid)


def children(obj):
    fresh(obj)
    return [c for c in (obj.getChildAtIndex(i) for i in range(obj.childCount)) if c is not None]


def name_of(obj):
    return fresh(obj).name or ""


def walk(obj, depth=0):
    yield obj
    if depth < 40:
        for child in children(obj):
            yield from walk(child, depth + 1)


def find_all(root, role=None, name=None):
    return [o for o in walk(root) if (role is None or o.getRole() == role) and (name is None or name_of(o) == name)]


def find_one(root, role=None, name=None, what=None):
    return wait_for(lambda: (find_all(root, role, name) or [None])[0], (what or "%r %r" % (role, name)) + " is there")


def has_state(obj, state):
    return fresh(obj).getState().contains(state)


def is_enabled(obj):
    return all(has_state(obj, s) for s in (pyatspi.STATE_ENABLED, pyatspi.STATE_SENSITIVE))


def text_of(obj):
    return fresh(obj).queryText().getText(0, -1)


def caret_of(obj):
    return fresh(obj).queryText().caretOffset


def selection_of(obj):
    """The selected text, or '' when there is none."""
    text = fresh(obj).queryText()
    return text.getText(*text.getSelection(0)) if text.getNSelections() else ""


def character_box(obj, offset):
    return Box(*fresh(obj).queryText().getCharacterExtents(offset, pyatspi.DESKTOP_COORDS))


def centre(obj):
    e = fresh(obj).queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x + e.width // 2, e.y + e.height // 2


def top_menus(bar):
    return [c for c in children(bar) if c.getRole() in (pyatspi.ROLE_MENU, pyatspi.ROLE_MENU_ITEM)]


def menu_item(bar, menu_name, item_name):
    """The item of a menu of the menu bar, found without opening the menu."""
    for top in (m for m in top_menus(bar) if name_of(m) == menu_name):
        for obj in walk(top):
            if obj is not top and obj.getRole() in (pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_MENU) and name_of(obj) == item_name:
                return obj
    return None


def toolbar_button(frame, key):
    for obj in (o for bar in find_all(frame, pyatspi.ROLE_TOOL_BAR) for o in walk(bar)):
        if obj.getRole() in (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON) and name_of(obj) == key:
            return obj
    return None


def editing_areas(frame):
    return [o for o in find_all(frame, None, "Texte") if o.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_EDITBAR)]


def dialog_by_title(app, title):
    return wait_for(lambda: [t for t in children(app) if name_of(t) == title], "the box %r is shown" % title)[0]


def answer_box(app, title, button, expected_text=None):
    """Reads a Yes/No box and presses one of its buttons with the pointer."""
    box = dialog_by_title(app, title)
    texts = [name_of(o) for o in walk(box) if o.getRole() in (pyatspi.ROLE_LABEL, pyatspi.ROLE_STATIC)]
    if expected_text is not None:
        check(any(expected_text in t for t in texts), "the box %r shows %r (it shows %r)" % (title, expected_text, texts))
    buttons = sorted(name_of(b) for b in find_all(box, pyatspi.ROLE_PUSH_BUTTON))
    check(buttons == ["Non", "Oui"], "the box %r has the buttons Oui and Non (%r)" % (title, buttons))
    click(find_one(box, pyatspi.ROLE_PUSH_BUTTON, button))


def xdotool(*args):
    result = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True, timeout=HANG_GUARD)
    if result.returncode != 0:
        raise Failure("xdotool %s failed: %s" % (" ".join(map(str, args)), result.stderr.strip()))
    return result.stdout


def focus_program(pid):
    window = wait_for(lambda: xdotool("search", "--all", "--pid", pid, "--name", "^Tarmel$").split(),
                      "the X window of the program")[0]
    xdotool("windowfocus", "--sync", window)


def click(obj):
    xdotool("mousemove", "--sync", *centre(obj)), xdotool("click", 1)


def key(*keys):
    xdotool("key", "--clearmodifiers", *keys)


def type_text(text):
    xdotool("type", "--delay", "20", text)


def quit_with_keyboard(app, bar):
    """Alt+F opens Fichier, Q is the access key of Quitter, the box is answered Oui."""
    key("alt+f")
    wait_for(lambda: has_state(menu_item(bar, "Fichier", "Quitter"), pyatspi.STATE_SHOWING), "the Fichier menu opens")
    key("q")
    answer_box(app, "Quitter le programme", "Oui", "Quitter Tarmel\n  Confirmez ?")


def screenshot(name):
    subprocess.run(["import", "-window", "root", os.path.join(SHOTS, name)], timeout=HANG_GUARD, check=False)


def run(main):
    """Runs a journey; exits 0 when every check passed, 1 otherwise."""
    try:
        main()
    except Failure as failure:
        check(False, "stopped: %s" % failure)
    except Exception as error:
        traceback.print_exc()
        _failures.append("unexpected error: %r" % (error,))
    log("%d check(s) failed" % len(_failures) if _failures else "all checks passed")
    sys.exit(1 if _failures else 0)

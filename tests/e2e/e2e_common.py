"""Helpers shared by the end-to-end scripts.

The scripts run inside run_e2e.sh: a private X server (DISPLAY), a private D-Bus session
with the accessibility bus, a private XDG_RUNTIME_DIR and a private program folder
(TARMEL_PROGRAM_FOLDER). The program is driven as a user would (pointer and keyboard
through xdotool) and read back through its accessibility interface (pyatspi).

Every wait below only guards against a hang: it polls until something happened and
fails with a message when it never does; nothing is asserted about how fast.
"""

import collections
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import Atspi

HANG_GUARD = 30.0  # seconds; only there so that a broken build fails instead of hanging

TARMEL = os.environ.get("TARMEL_BIN", "")
WORKDIR = os.environ.get("E2E_TMP", "/tmp")
SHOTS = os.environ.get("E2E_SHOTS", WORKDIR)

_failures = []


Box = collections.namedtuple("Box", "x y width height")


class Failure(Exception):
    pass


def log(*args):
    print(*args, flush=True)


def check(condition, what):
    """Records a failed check and goes on (the journey continues so that every step is seen)."""
    if condition:
        log("ok   - " + what)
    else:
        log("FAIL - " + what)
        _failures.append(what)
    return condition


def require(condition, what):
    """A check whose failure makes the following steps meaningless."""
    if not check(condition, what):
        raise Failure(what)


def failures():
    return list(_failures)


def wait_for(predicate, what, timeout=HANG_GUARD, interval=0.1):
    """Polls predicate until it returns a true value; returns that value, or fails."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        try:
            value = predicate()
            if value:
                return value
        except Exception as error:  # the tree changes while it is walked
            last_error = error
        if time.monotonic() > deadline:
            raise Failure("never happened: %s%s" % (what, " (last error: %r)" % (last_error,) if last_error else ""))
        time.sleep(interval)


# ------------------------------------------------------------------ processes

def record_pid(pid):
    """run_e2e.sh ends every process listed here, whatever way the script ends."""
    with open(os.path.join(WORKDIR, "pids"), "a") as f:
        f.write("%d\n" % pid)


def start_tarmel(*args, env=None):
    if not TARMEL or not os.access(TARMEL, os.X_OK):
        raise Failure("no program to test: TARMEL_BIN=%r" % TARMEL)
    process = subprocess.Popen([TARMEL, *args], env=env or os.environ.copy(), cwd=WORKDIR)
    record_pid(process.pid)
    return process


def stop(process):
    if process is not None and process.poll() is None:
        process.kill()
        process.wait()


# ------------------------------------------------------------------ accessibility

def fresh(obj):
    """Drops what libatspi cached about obj, so that the next read asks the program."""
    try:
        obj.clear_cache()
    except Exception:
        pass
    return obj


def find_application(pid, timeout=HANG_GUARD):
    def look():
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.get_process_id() == pid:
                try:
                    app.set_cache_mask(Atspi.Cache.NONE)
                except Exception:
                    pass
                return app
        return None

    return wait_for(look, "the program (pid %d) appears on the accessibility bus" % pid, timeout)


def children(obj):
    fresh(obj)
    result = []
    for i in range(obj.childCount):
        child = obj.getChildAtIndex(i)
        if child is not None:
            result.append(child)
    return result


def name_of(obj):
    return fresh(obj).name or ""


def role_of(obj):
    return obj.getRole()


def walk(obj, depth=0, max_depth=40):
    yield obj
    if depth >= max_depth:
        return
    for child in children(obj):
        yield from walk(child, depth + 1, max_depth)


def find_all(root, role=None, name=None, showing_only=False):
    found = []
    for obj in walk(root):
        if role is not None and role_of(obj) != role:
            continue
        if name is not None and name_of(obj) != name:
            continue
        if showing_only and not is_showing(obj):
            continue
        found.append(obj)
    return found


def find_one(root, role=None, name=None, what=None, showing_only=False, timeout=HANG_GUARD):
    what = what or "%s %r" % (pyatspi.Role(role) if role is not None else "object", name)

    def look():
        hits = find_all(root, role, name, showing_only)
        return hits[0] if hits else None

    return wait_for(look, what + " is there", timeout)


def states(obj):
    return fresh(obj).getState()


def is_enabled(obj):
    s = states(obj)
    return s.contains(pyatspi.STATE_ENABLED) and s.contains(pyatspi.STATE_SENSITIVE)


def is_showing(obj):
    return states(obj).contains(pyatspi.STATE_SHOWING)


def extents(obj):
    fresh(obj)
    return obj.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)


def centre(obj):
    e = extents(obj)
    return e.x + e.width // 2, e.y + e.height // 2


def text_of(obj):
    fresh(obj)
    t = obj.queryText()
    return t.getText(0, -1)


def caret_of(obj):
    fresh(obj)
    return obj.queryText().caretOffset


def selection_of(obj):
    """The selected text, or '' when there is none."""
    fresh(obj)
    t = obj.queryText()
    if t.getNSelections() == 0:
        return ""
    start, end = t.getSelection(0)
    return t.getText(start, end)


def character_box(obj, offset):
    fresh(obj)
    x, y, width, height = obj.queryText().getCharacterExtents(offset, pyatspi.DESKTOP_COORDS)
    return Box(x, y, width, height)


def main_frame(app):
    return find_one(app, pyatspi.ROLE_FRAME, "Tarmel", "the main window \"Tarmel\"")


def menu_bar(frame):
    return find_one(frame, pyatspi.ROLE_MENU_BAR, None, "the menu bar")


def top_menus(bar):
    return [c for c in children(bar) if role_of(c) in (pyatspi.ROLE_MENU, pyatspi.ROLE_MENU_ITEM)]


def menu_item(bar, menu_name, item_name):
    """The item of a menu of the menu bar, found without opening the menu."""
    for top in top_menus(bar):
        if name_of(top) == menu_name:
            for obj in walk(top):
                if obj is not top and role_of(obj) in (pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_CHECK_MENU_ITEM,
                                                       pyatspi.ROLE_MENU) and name_of(obj) == item_name:
                    return obj
    return None


def toolbar_button(frame, key):
    for bar in find_all(frame, pyatspi.ROLE_TOOL_BAR):
        for obj in walk(bar):
            if role_of(obj) in (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON) and name_of(obj) == key:
                return obj
    return None


def editing_areas(frame):
    return [o for o in find_all(frame, None, "Texte") if role_of(o) in (pyatspi.ROLE_TEXT, pyatspi.ROLE_EDITBAR,
                                                                        pyatspi.ROLE_ENTRY, pyatspi.ROLE_PARAGRAPH,
                                                                        pyatspi.ROLE_DOCUMENT_TEXT)]


def do_action(obj, name_hint=None):
    fresh(obj)
    action = obj.queryAction()
    index = 0
    if name_hint is not None:
        for i in range(action.nActions):
            if action.getName(i) == name_hint:
                index = i
    return action.doAction(index)


def dialog_by_title(app, title, timeout=HANG_GUARD):
    def look():
        for i in range(fresh(app).childCount):
            top = app.getChildAtIndex(i)
            if top is not None and role_of(top) in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT, pyatspi.ROLE_FRAME,
                                                    pyatspi.ROLE_WINDOW) and name_of(top) == title:
                return top
        return None

    return wait_for(look, "the box titled %r is shown" % title, timeout)


def all_texts(root):
    """Names of the labels of a box: what the user reads in it."""
    return [name_of(o) for o in walk(root) if role_of(o) in (pyatspi.ROLE_LABEL, pyatspi.ROLE_STATIC)]


# ------------------------------------------------------------------ pointer and keyboard

def xdotool(*args):
    result = subprocess.run(["xdotool", *[str(a) for a in args]], capture_output=True, text=True, timeout=HANG_GUARD)
    if result.returncode != 0:
        raise Failure("xdotool %s failed: %s" % (" ".join(map(str, args)), result.stderr.strip()))
    return result.stdout


def x_window_of(pid):
    def look():
        out = subprocess.run(["xdotool", "search", "--all", "--pid", str(pid), "--name", "^Tarmel$"],
                             capture_output=True, text=True, timeout=HANG_GUARD).stdout.split()
        return out[0] if out else None

    return wait_for(look, "the X window of the program", HANG_GUARD)


def focus_window(window_id):
    xdotool("windowfocus", "--sync", window_id)


def click_at(x, y, button=1):
    xdotool("mousemove", "--sync", x, y)
    xdotool("click", button)


def click(obj):
    x, y = centre(obj)
    click_at(x, y)


def key(*keys):
    xdotool("key", "--clearmodifiers", *keys)


def type_text(text):
    xdotool("type", "--delay", "20", text)


def screenshot(name):
    path = os.path.join(SHOTS, name)
    subprocess.run(["import", "-window", "root", path], timeout=HANG_GUARD, check=False)
    log("screenshot: " + path)
    return path


def finish():
    problems = failures()
    if problems:
        log("%d check(s) failed:" % len(problems))
        for p in problems:
            log("  - " + p)
        return 1
    log("all checks passed")
    return 0


def run(main):
    """Runs a journey; returns the process exit code (0 all checks passed, 1 otherwise)."""
    try:
        main()
    except Failure as failure:
        log("FAIL - stopped: %s" % failure)
        _failures.append(str(failure))
    except Exception as error:
        import traceback
        traceback.print_exc()
        _failures.append("unexpected error: %r" % (error,))
    sys.exit(finish())

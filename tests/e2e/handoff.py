"""Hand-off between real processes: a second instance started with a file name ends and the
running instance opens that file.

Started by run_e2e.sh: the running instance's document windows are read over the
accessibility bus (their caption is the full path of the file, their editing area its text);
the single-instance lock lives in the private XDG_RUNTIME_DIR, the hand-off files in the
private program folder.
"""

import fcntl
import glob
import os

import pyatspi

import e2e_common as e

HANDOFF_PREFIXES = ("Tarmel.tmp", ".Tarmel.tmp", "Tarmel.claimed")


def write_program(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(text.encode("utf-8"))


def lock_is_held():
    """True when a lock of this user (one per program folder) in the private runtime folder is held."""
    pattern = os.path.join(os.environ["XDG_RUNTIME_DIR"], "tarmel-%d-*.lock" % os.getuid())
    for path in glob.glob(pattern):
        fd = os.open(path, os.O_RDWR)
        try:
            fcntl.flock(fd, fcntl.LOCK_EX | fcntl.LOCK_NB)
        except BlockingIOError:
            return True
        finally:
            os.close(fd)
    return False


def documents(frame):
    """Caption -> list of editing-area texts, for every document window of the main window."""
    result = {}
    for area in e.editing_areas(frame):
        caption = None
        parent = area.parent
        while parent is not None and parent != frame:
            name = e.name_of(parent)
            if name.startswith("/"):
                caption = name
                break
            parent = parent.parent
        result.setdefault(caption, []).append(e.text_of(area))
    return result


def handoff_leftovers(folder):
    return sorted(n for n in os.listdir(folder) if n.startswith(HANDOFF_PREFIXES))


def hand_over(paths):
    """Starts one second instance per path, all at once; returns their exit codes."""
    processes = [e.start_tarmel(p) for p in paths]
    codes = []
    for p in processes:
        try:
            codes.append(p.wait(timeout=e.HANG_GUARD))
        except Exception:
            codes.append(None)
            e.stop(p)
    return codes


def main():
    folder = os.environ["TARMEL_PROGRAM_FOLDER"]
    work = e.WORKDIR
    first_file = os.path.join(work, "premier.iso")
    odd_file = os.path.join(work, "mes programmes, atelier", "pièce 12, essai B.iso")
    five = [os.path.join(work, "lot", "piece%d.iso" % i) for i in range(1, 6)]
    contents = {first_file: "%\r\nO0001 (PREMIER)\r\nN10 G00 X0\r\nM30\r\n%\r\n",
                odd_file: "%\r\nO0012 (VIRGULE)\r\nN10 G01 X1,5\r\nM30\r\n%\r\n"}
    for i, path in enumerate(five, 1):
        contents[path] = "%%\r\nO010%d\r\nN10 T%d M06\r\nM30\r\n%%\r\n" % (i, i)
    for path, text in contents.items():
        write_program(path, text)

    first = e.start_tarmel()
    try:
        app = e.find_application(first.pid)
        frame = e.main_frame(app)
        e.require(lock_is_held(), "the first instance holds the single-instance lock")
        e.check(documents(frame) == {}, "the first instance starts with no document")
        before = sorted(os.listdir(folder))

        # One second instance with a file name: it ends, the first opens the file.
        codes = hand_over([first_file])
        e.check(codes == [0], "the second instance ended with exit code 0 (%r)" % codes)
        e.wait_for(lambda: first_file in documents(frame), "the first instance opens %s" % first_file)
        docs = documents(frame)
        e.check(docs.get(first_file) == [contents[first_file]],
                "one window shows %s with its text (%r)" % (first_file, docs.get(first_file)))
        e.check(len(docs) == 1, "only that document is open (%r)" % sorted(docs, key=str))
        e.check(handoff_leftovers(folder) == [], "nothing of the hand-off is left (%r)" % handoff_leftovers(folder))
        e.check(sorted(os.listdir(folder)) == before,
                "the program folder is as before (%r, was %r)" % (sorted(os.listdir(folder)), before))
        e.check(first.poll() is None, "the first instance still runs")

        # A path with commas and blanks opens whole.
        codes = hand_over([odd_file])
        e.check(codes == [0], "the second instance with %r ended with exit code 0 (%r)" % (odd_file, codes))
        e.wait_for(lambda: odd_file in documents(frame) or len(documents(frame)) > 1,
                   "the first instance opens a second document")
        docs = documents(frame)
        e.check(docs.get(odd_file) == [contents[odd_file]],
                "the path with commas and blanks opens whole: %r (open: %r)" % (odd_file, sorted(docs, key=str)))
        e.check(handoff_leftovers(folder) == [], "nothing of the hand-off is left (%r)" % handoff_leftovers(folder))

        # Five second instances started together: five files, each opened once.
        codes = hand_over(five)
        e.check(codes == [0] * 5, "the five second instances ended with exit code 0 (%r)" % codes)
        expected = {first_file, odd_file, *five}
        e.wait_for(lambda: expected <= set(documents(frame)), "the five files are open",)
        docs = documents(frame)
        for path in five:
            e.check(docs.get(path) == [contents[path]], "%s is open once with its text (%r)" % (path, docs.get(path)))
        e.check(set(docs) == expected and sum(map(len, docs.values())) == 7,
                "seven documents, each file once (%r)" % {k: len(v) for k, v in docs.items()})
        e.check(handoff_leftovers(folder) == [], "nothing of the hand-offs is left (%r)" % handoff_leftovers(folder))
        e.check(sorted(os.listdir(folder)) == before, "the program folder is as before (%r)" % sorted(os.listdir(folder)))
        e.screenshot("e2e_handoff_seven.png")

        # Quit the first instance: Quitter, Oui; nothing was modified, so nothing more is asked.
        e.focus_window(e.x_window_of(first.pid))
        e.key("alt+f")
        bar = e.menu_bar(frame)
        e.wait_for(lambda: e.is_showing(e.menu_item(bar, "Fichier", "Quitter")), "the Fichier menu opens")
        e.key("q")
        box = e.dialog_by_title(app, "Quitter le programme")
        e.click(e.find_one(box, pyatspi.ROLE_PUSH_BUTTON, "Oui"))
        try:
            code = first.wait(timeout=e.HANG_GUARD)
        except Exception:
            code = None
        e.check(code == 0, "the first instance ended with exit code 0 after Quitter/Oui (%r)" % code)
        e.check(not lock_is_held(), "the lock is free once the first instance has ended")
    finally:
        e.stop(first)


if __name__ == "__main__":
    e.run(main)

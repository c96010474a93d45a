"""Hand-off between real processes: a second instance started with a file name ends and the
running instance opens that file. Its document windows are read over the accessibility bus
(caption: the file's full path; editing area: its text); the single-instance lock lives in
the private XDG_RUNTIME_DIR, the hand-off files in the private program folder."""

import fcntl
import glob
import os

import pyatspi

import e2e_common as e


def lock_is_held():
    """True when a lock of this user (one per program folder) in the runtime folder is held."""
    for path in glob.glob(os.path.join(os.environ["XDG_RUNTIME_DIR"], "tarmel-%d-*.lock" % os.getuid())):
        fd = os.open(path, os.O_RDWR)
        try:
            fcntl.flock(fd, fcntl.LOCK_EX | fcntl.LOCK_NB)
        except BlockingIOError:
            return True
        finally:
            os.close(fd)
    return False


def documents(frame):
    """Caption -> list of editing-area texts, for every document window."""
    result = {}
    for area in e.editing_areas(frame):
        parent = area.parent
        while parent is not None and parent != frame and not e.name_of(parent).startswith("/"):
            parent = parent.parent
        caption = e.name_of(parent) if parent is not None and parent != frame else None
        result.setdefault(caption, []).append(e.text_of(area))
    return result


def hand_over(paths):
    """Starts one second instance per path, all at once; returns their exit codes."""
    return [e.exit_code(p) for p in [e.start_tarmel(path) for path in paths]]


def main():
    folder, work = os.environ["TARMEL_PROGRAM_FOLDER"], e.WORKDIR
    first_file = os.path.join(work, "premier.iso")
    odd_file = os.path.join(work, "mes programmes, atelier", "pièce 12, essai B.iso")
    five = [os.path.join(work, "lot", "piece%d.iso" % i) for i in range(1, 6)]
    contents = {first_file: "%\r\nO0001 (PREMIER)\r\nN10 G00 X0\r\nM30\r\n%\r\n",
                odd_file: "%\r\nO0012 (VIRGULE)\r\nN10 G01 X1,5\r\nM30\r\n%\r\n"}
    contents.update({path: "%%\r\nO010%d\r\nN10 T%d M06\r\nM30\r\n%%\r\n" % (i, i) for i, path in enumerate(five, 1)})
    for path, text in contents.items():
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(text.encode("utf-8"))

    first = e.start_tarmel()
    try:
        app = e.find_application(first.pid)
        frame = e.find_one(app, pyatspi.ROLE_FRAME, "Tarmel", "the main window")
        e.require(lock_is_held(), "the first instance holds the single-instance lock")
        e.check(documents(frame) == {}, "the first instance starts with no document")
        before = sorted(os.listdir(folder))
        # One at a time (a path with commas and blanks opens whole), then five together.
        for batch, expected in (([first_file], {first_file}), ([odd_file], {first_file, odd_file}),
                                (five, {first_file, odd_file, *five})):
            codes = hand_over(batch)
            e.check(codes == [0] * len(batch), "the second instances ended with exit code 0 (%r)" % codes)
            e.wait_for(lambda: expected <= set(documents(frame)), "the first instance opens %r" % batch)
            docs = documents(frame)
            for path in expected:
                e.check(docs.get(path) == [contents[path]], "%s is open once with its text (%r)" % (path, docs.get(path)))
            e.check(set(docs) == expected, "only those documents are open (%r)" % sorted(docs, key=str))
            e.check(sorted(os.listdir(folder)) == before,
                    "nothing of the hand-off is left in the program folder (%r)" % sorted(os.listdir(folder)))
            e.check(first.poll() is None, "the first instance still runs")
        e.screenshot("e2e_handoff_seven.png")

        # Quitter, Oui; nothing was modified, so nothing more is asked.
        e.focus_program(first.pid)
        e.quit_with_keyboard(app, e.find_one(frame, pyatspi.ROLE_MENU_BAR, None, "the menu bar"))
        code = e.exit_code(first)
        e.check(code == 0, "the first instance ended with exit code 0 after Quitter/Oui (%r)" % code)
        e.check(not lock_is_held(), "the lock is free once the first instance has ended")
    finally:
        e.stop(first)


if __name__ == "__main__":
    e.run(main)

#!/usr/bin/python3
"""Opening a large program as a user does, measured from outside, beside a bare window.

    e2e_open.py BUILD_FOLDER [LINES]      (LINES: 5,000,000 by default)

Generates a Windows-1252 program (bench_gen: accented comments on some lines), then for each of the
editor (BUILD_FOLDER/tarmel) and the bare QScintilla window (BUILD_FOLDER/bench/bare_qsci): starts its
own X server and, inside its own D-Bus session with the accessibility bus, launches the program with
the file as argument and measures the wall time from the launch until the window shows the file's name
and the file's size in its status bar, both read through the accessibility interface with its cache
off; then reads the peak memory (VmHWM) and kills the program. Best of BENCH_E2E_RUNS (3) each.
BENCH_E2E_SHOTS=FOLDER keeps a screenshot of each window at the moment it was seen ready.
Prints result rows like the other benches (the floor is the bare window)."""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HANG_GUARD = 120.0  # seconds: a launch that shows nothing by then is a failure


def row(operation, lines, value, unit, floor_name, floor_value, factor):
    holds = "yes" if floor_value > 0 and value <= factor * floor_value else "no"
    print("ROW\t%s\t%d\t%.3f\t%s\t%s\t%.3f\t<=%.2fx floor\t%s"
          % (operation, lines, value, unit, floor_name, floor_value, factor, holds), flush=True)


def note(text):
    print("# " + text, flush=True)


# ------------------------------------------------------------------ inside the D-Bus session

def status_texts_and_names(app, file_name):
    """(a name containing file_name was seen, the texts of the status bars' labels) of the program."""
    import pyatspi
    seen_name, texts = False, []
    skip = (pyatspi.ROLE_MENU_BAR, pyatspi.ROLE_TOOL_BAR, pyatspi.ROLE_MENU, pyatspi.ROLE_TEXT)
    stack = [(app, 0)]
    while stack:
        obj, depth = stack.pop()
        try:
            obj.clear_cache()
        except Exception:
            pass
        role, name = obj.getRole(), obj.name or ""
        if file_name in name:
            seen_name = True
        if role == pyatspi.ROLE_STATUS_BAR:
            texts += [c.name or "" for c in (obj.getChildAtIndex(i) for i in range(obj.childCount)) if c is not None]
            continue
        if role in skip or depth > 12:
            continue
        stack += [(c, depth + 1) for c in (obj.getChildAtIndex(i) for i in range(obj.childCount)) if c is not None]
    return seen_name, texts


def one_launch(program, path, size_text):
    """Milliseconds from the launch until the name and the size are shown, VmHWM in kB, and the
    milliseconds the last look at the window took (how late the figure may be)."""
    import pyatspi
    from gi.repository import Atspi
    file_name = os.path.basename(path)
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1", QT_QPA_PLATFORM="xcb")
    start = time.monotonic()
    process = subprocess.Popen([program, path], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        app = None
        while time.monotonic() - start < HANG_GUARD:
            if process.poll() is not None:
                raise RuntimeError("%s ended with status %d" % (program, process.returncode))
            try:
                if app is None:
                    desktop = pyatspi.Registry.getDesktop(0)
                    for candidate in (desktop.getChildAtIndex(i) for i in range(desktop.childCount)):
                        if candidate is not None and candidate.get_process_id() == process.pid:
                            candidate.set_cache_mask(Atspi.Cache.NONE)
                            app = candidate
                if app is not None:
                    walk_start = time.monotonic()
                    seen_name, texts = status_texts_and_names(app, file_name)
                    if seen_name and any(size_text in t for t in texts):
                        elapsed = (time.monotonic() - start) * 1000
                        walk_ms = (elapsed - (walk_start - start) * 1000)
                        peak = vm_hwm_kb(process.pid)
                        shots = os.environ.get("BENCH_E2E_SHOTS")
                        if shots:  # what the user saw at that moment
                            subprocess.run(["import", "-window", "root", os.path.join(
                                shots, "%s-%d.png" % (os.path.basename(program), process.pid))])
                        return elapsed, peak, walk_ms
            except Exception:  # the tree changes while it is walked
                pass
            time.sleep(0.02)
        raise RuntimeError("%s did not show %s and %s within %.0f s" % (program, file_name, size_text, HANG_GUARD))
    finally:
        process.kill()
        process.wait()


def vm_hwm_kb(pid):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def inner(program, path, runs):
    launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(0.5)
        size_text = str(os.path.getsize(path))
        for _ in range(runs):
            ms, kb, walk_ms = one_launch(program, path, size_text)
            print("RESULT %.3f %d %.3f" % (ms, kb, walk_ms), flush=True)
            time.sleep(0.3)
    finally:
        launcher.terminate()
        launcher.wait()


# ------------------------------------------------------------------ outside

def free_display(first):
    for n in range(first, first + 200):
        if not os.path.exists("/tmp/.X11-unix/X%d" % n) and not os.path.exists("/tmp/.X%d-lock" % n):
            yield n


def with_x_server(first_display, work):
    """Runs work(display) with an X server of its own; retried on another display if it does not start."""
    for n in free_display(first_display):
        server = subprocess.Popen(["Xvfb", ":%d" % n, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            for _ in range(100):
                if server.poll() is not None:
                    break
                if subprocess.run(["xdpyinfo", "-display", ":%d" % n], stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL).returncode == 0:
                    return work(":%d" % n)
                time.sleep(0.1)
        finally:
            server.terminate()
            server.wait()
    raise RuntimeError("no X server could be started")


def measure(program, path, runs, first_display, home):
    def work(display):
        env = dict(os.environ, DISPLAY=display, HOME=home, XDG_RUNTIME_DIR=os.path.join(home, "run"),
                   XDG_CONFIG_HOME=os.path.join(home, "config"), XDG_STATE_HOME=os.path.join(home, "state"),
                   TARMEL_PROGRAM_FOLDER=os.path.join(home, "program"), NO_AT_BRIDGE="0")
        env.pop("WAYLAND_DISPLAY", None)
        env.pop("SESSION_MANAGER", None)
        session = subprocess.Popen(["dbus-run-session", "--", "/usr/bin/python3", os.path.abspath(__file__),
                                    "--inner", program, path, str(runs)],
                                   env=env, stdout=subprocess.PIPE, text=True, start_new_session=True)
        try:
            out, _ = session.communicate(timeout=HANG_GUARD * (runs + 1))
        finally:
            try:
                os.killpg(session.pid, signal.SIGKILL)  # a stray bus daemon of the session
            except ProcessLookupError:
                pass
        results = [tuple(float(v) for v in line.split()[1:]) for line in out.splitlines() if line.startswith("RESULT ")]
        if session.returncode != 0 or len(results) != runs:
            raise RuntimeError("%s: %d of %d launches measured" % (program, len(results), runs))
        return results
    for sub in ("run", "config", "state", "program"):
        os.makedirs(os.path.join(home, sub), mode=0o700, exist_ok=True)
    return with_x_server(first_display, work)


def main():
    if len(sys.argv) > 1 and sys.argv[1] == "--inner":
        inner(sys.argv[2], sys.argv[3], int(sys.argv[4]))
        return 0
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    build = os.path.abspath(sys.argv[1])
    lines = int(sys.argv[2]) if len(sys.argv) > 2 else 5000000
    runs = int(os.environ.get("BENCH_E2E_RUNS", "3"))
    first_display = int(os.environ.get("BENCH_DISPLAY", "41"))
    programs = [("tarmel", os.path.join(build, "tarmel")), ("bare window", os.path.join(build, "bench", "bare_qsci"))]
    for tool in ("Xvfb", "xdpyinfo", "dbus-run-session", "/usr/libexec/at-spi-bus-launcher"):
        if not shutil.which(tool):
            print("e2e_open: %s is missing (make setup installs it)" % tool, file=sys.stderr)
            return 1
    work = tempfile.mkdtemp(prefix="tarmel-e2e-open.")
    try:
        path = os.path.join(work, "programme.iso")
        shared = os.path.join(os.environ.get("BENCH_PROGRAMS", "/nonexistent"), "cam-%d.iso" % lines)
        if os.path.exists(shared):  # run.sh's generated program of this size
            shutil.copyfile(shared, path)
        else:
            subprocess.run([os.path.join(build, "bench", "bench_gen"), str(lines), path], check=True)
        size = os.path.getsize(path)
        note("%d lines, %.1f MB, Windows-1252 CR LF; best of %d launches each" % (lines, size / 1e6, runs))
        best = {}
        for name, program in programs:
            results = measure(program, path, runs, first_display, os.path.join(work, name.replace(" ", "_")))
            best[name] = (min(r[0] for r in results), max(r[1] for r in results) / 1024)
            note("%s: %s ms (the last look at the window took %s ms); VmHWM %s MB"
                 % (name, ", ".join("%.0f" % r[0] for r in results), ", ".join("%.0f" % r[2] for r in results),
                    ", ".join("%.0f" % (r[1] / 1024) for r in results)))
        tarmel, bare = best["tarmel"], best["bare window"]
        row("e2e open from launch: tarmel", lines, tarmel[0], "ms", "bare window", bare[0], 1.0)
        row("e2e open from launch: bare window", lines, bare[0], "ms", "bare window", bare[0], 1.0)
        row("e2e peak RSS (VmHWM): tarmel", lines, tarmel[1], "MB", "file size", size / 1048576, 3.0)
        row("e2e peak RSS (VmHWM): bare window", lines, bare[1], "MB", "file size", size / 1048576, 3.0)
        return 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())

#!/bin/bash
# Runs one end-to-end script against the real program:
#   run_e2e.sh <script.py> <path to tarmel> [screenshot folder]
# A private X server (Xvfb on a free display), a private D-Bus session with the
# accessibility bus, a private XDG_RUNTIME_DIR (so the single-instance lock is ours alone)
# and a private program folder. Exit code: the script's; 77 (skipped) only when no
# display server can be started. Every process started here is ended on every exit path.
set -u

script=${1:?script}
tarmel=${2:?program}
shots=${3:-}

here=$(cd "$(dirname "$0")" && pwd)
if [ -f "$script" ]; then script=$(cd "$(dirname "$script")" && pwd)/$(basename "$script"); else script=$here/$script; fi
case $tarmel in /*) ;; *) tarmel=$(pwd)/$tarmel ;; esac

# TARMEL_E2E_XVFB names another X server binary (a missing one shows the skip path).
xvfb=${TARMEL_E2E_XVFB:-Xvfb}
if ! command -v "$xvfb" >/dev/null 2>&1; then
    echo "SKIP: no display server: $xvfb is not installed (package xvfb)"
    exit 77
fi
for tool in xdotool dbus-run-session import; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "FAIL: $tool is missing (the set-up installs it)"
        exit 1
    fi
done
launcher=/usr/libexec/at-spi-bus-launcher
if [ ! -x "$launcher" ]; then
    echo "FAIL: $launcher is missing (package at-spi2-core)"
    exit 1
fi
if ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
    echo "FAIL: /usr/bin/python3 cannot import pyatspi (package python3-pyatspi)"
    exit 1
fi
if [ ! -x "$tarmel" ]; then
    echo "FAIL: no program at $tarmel"
    exit 1
fi

tmp=$(mktemp -d "${TMPDIR:-/tmp}/tarmel-e2e.XXXXXX")
xvfb_pid=
session_pid=

cleanup() {
    local status=$?
    trap - EXIT INT TERM HUP
    # The programs the script started (it lists their ids), then the session, then X.
    if [ -f "$tmp/pids" ]; then
        while read -r pid; do
            [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
        done <"$tmp/pids"
    fi
    if [ -n "$session_pid" ]; then
        kill -TERM -- "-$session_pid" 2>/dev/null
        sleep 0.2
        kill -KILL -- "-$session_pid" 2>/dev/null
        wait "$session_pid" 2>/dev/null
    fi
    if [ -n "$xvfb_pid" ]; then
        kill -TERM "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    rm -rf "$tmp"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# A free display: neither its socket nor its lock exists; another test may take the same
# number at the same moment, so a server that does not come up is retried elsewhere.
display=
for attempt in 1 2 3 4 5 6 7 8 9 10; do
    n=$((90 + RANDOM % 400))
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    "$xvfb" ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$tmp/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 1 100); do
        if ! kill -0 "$xvfb_pid" 2>/dev/null; then break; fi
        if [ -S "/tmp/.X11-unix/X$n" ] && xdpyinfo -display ":$n" >/dev/null 2>&1; then
            display=:$n
            break
        fi
        sleep 0.1
    done
    [ -n "$display" ] && break
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=
done
if [ -z "$display" ]; then
    echo "SKIP: no display server could be started ($xvfb failed on 10 display numbers):"
    sed 's/^/  /' "$tmp/xvfb.log" 2>/dev/null | tail -5
    exit 77
fi

mkdir -p "$tmp/run" "$tmp/program" "$tmp/config" "$tmp/work"
chmod 700 "$tmp/run"
: >"$tmp/pids"

export DISPLAY=$display
export XDG_RUNTIME_DIR=$tmp/run
export XDG_CONFIG_HOME=$tmp/config
export TARMEL_PROGRAM_FOLDER=$tmp/program
export TARMEL_BIN=$tarmel
export E2E_TMP=$tmp/work
export E2E_SHOTS=${shots:-$tmp/work}
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export QT_ACCESSIBILITY=1
export QT_QPA_PLATFORM=xcb
export NO_AT_BRIDGE=0
export LANG=${LANG:-C.UTF-8}
unset SESSION_MANAGER WAYLAND_DISPLAY
[ -n "$shots" ] && mkdir -p "$shots"

echo "display $display, folder $tmp"

# The session runs in its own process group, so that cleanup ends all of it at once.
setsid dbus-run-session -- bash -c '
    '"$launcher"' --launch-immediately &
    launcher_pid=$!
    /usr/bin/python3 "$0"
    status=$?
    kill "$launcher_pid" 2>/dev/null
    wait "$launcher_pid" 2>/dev/null
    exit $status
' "$script" &
session_pid=$!
wait "$session_pid"
status=$?
session_pid_done=$session_pid
session_pid=
# Anything of the session still alive (a stray bus daemon) goes with its group.
kill -KILL -- "-$session_pid_done" 2>/dev/null
exit "$status"

#!/bin/bash
# Runs one end-to-end script against the real program:
#   run_e2e.sh <script.py> <path to tarmel> [screenshot folder]
# A private X server (Xvfb on a free display), a private D-Bus session with the
# accessibility bus, a private XDG_RUNTIME_DIR (so the single-instance lock is ours alone), a private
# XDG_STATE_HOME (so the recovery journals of killed runs are ours alone)
# and a private program folder. Exit code: the script's; 77 (skipped) only when no
# display server can be started. Every process started here is ended on every exit path.
set -u

script=$(realpath "${1:?script}")
tarmel=$(realpath "${2:?program}")
shots=${3:-}

# TARMEL_E2E_XVFB names another X server binary (a missing one shows the skip path).
xvfb=${TARMEL_E2E_XVFB:-Xvfb}
if ! command -v "$xvfb" >/dev/null 2>&1; then
    echo "SKIP: no display server: $xvfb is not installed (package xvfb)"
    exit 77
fi
launcher=/usr/libexec/at-spi-bus-launcher
for need in xdotool dbus-run-session import xdpyinfo "$launcher" "$tarmel"; do
    command -v "$need" >/dev/null 2>&1 || { echo "FAIL: $need is missing (the set-up installs it)"; exit 1; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "FAIL: /usr/bin/python3 cannot import pyatspi"; exit 1; }

tmp=$(mktemp -d "${TMPDIR:-/tmp}/tarmel-e2e.XXXXXX")
xvfb_pid=
session_pid=
cleanup() {
    local status=$?
    trap - EXIT INT TERM HUP
    # The programs the script started (it lists their ids), then the session, then X.
    [ -f "$tmp/pids" ] && while read -r pid; do kill -KILL "$pid" 2>/dev/null; done <"$tmp/pids"
    if [ -n "$session_pid" ]; then
        kill -TERM -- "-$session_pid" 2>/dev/null
        sleep 0.2
        kill -KILL -- "-$session_pid" 2>/dev/null
        wait "$session_pid" 2>/dev/null
    fi
    [ -n "$xvfb_pid" ] && kill -TERM "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
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
        kill -0 "$xvfb_pid" 2>/dev/null || break
        xdpyinfo -display ":$n" >/dev/null 2>&1 && { display=:$n; break; }
        sleep 0.1
    done
    [ -n "$display" ] && break
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=
done
if [ -z "$display" ]; then
    echo "SKIP: no display server could be started ($xvfb failed on 10 display numbers):"
    tail -5 "$tmp/xvfb.log" 2>/dev/null
    exit 77
fi

mkdir -p "$tmp/run" "$tmp/program" "$tmp/config" "$tmp/state" "$tmp/work" ${shots:+"$shots"}
chmod 700 "$tmp/run"
: >"$tmp/pids"
export DISPLAY=$display XDG_RUNTIME_DIR=$tmp/run XDG_CONFIG_HOME=$tmp/config XDG_STATE_HOME=$tmp/state TARMEL_PROGRAM_FOLDER=$tmp/program
export TARMEL_BIN=$tarmel E2E_TMP=$tmp/work E2E_SHOTS=${shots:-$tmp/work} LANG=${LANG:-C.UTF-8}
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 QT_QPA_PLATFORM=xcb NO_AT_BRIDGE=0
unset SESSION_MANAGER WAYLAND_DISPLAY
echo "display $display, folder $tmp"

# The session runs in its own process group, so that cleanup ends all of it at once.
setsid dbus-run-session -- bash -c "$launcher --launch-immediately & /usr/bin/python3 \"\$0\"; status=\$?; kill \$!; exit \$status" "$script" &
session_pid=$!
wait "$session_pid"
status=$?
kill -KILL -- "-$session_pid" 2>/dev/null # a stray bus daemon of the session
session_pid=
exit "$status"

#!/bin/bash
# The batch command line of the real program, with no display at all:
#   run_batch.sh <path to tarmel> <project version>
# One row per case: arguments, exit code, stdout (exact, or with "~" in front an extended
# regular expression over the output with its line ends written "#"),
# number of stderr lines and a text the stderr line holds. Prints "FAIL - ..." per wrong row.
set -u
tarmel=${1:?program}
version=${2:?version}
case $tarmel in /*) ;; *) tarmel=$(pwd)/$tarmel ;; esac
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
export LC_ALL=C.UTF-8

tmp=$(mktemp -d "${TMPDIR:-/tmp}/tarmel-batch.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
failures=0

# check <name> <expected exit> <expected stdout> <stderr lines> <stderr text> -- <arguments...>
check() {
    local name=$1 code=$2 out=$3 errLines=$4 errText=$5
    shift 6
    (cd "$tmp" && "$tarmel" "$@") >"$tmp/out" 2>"$tmp/err"
    local status=$? problems=()
    [ "$status" -eq "$code" ] || problems+=("exit code $status, expected $code")
    if [ "${out:0:1}" = "~" ]; then
        tr '\n' '#' <"$tmp/out" | grep -qE -- "${out:1}" || problems+=("stdout does not match ${out:1}")
    elif [ "$(cat "$tmp/out"; echo .)" != "$out." ]; then
        problems+=("stdout is '$(cat "$tmp/out")', expected '$out'")
    fi
    # Whole lines only: a stderr without a final line end is one line short.
    local lines
    lines=$(wc -l <"$tmp/err")
    [ "$lines" -eq "$errLines" ] && { [ "$errLines" -gt 0 ] || [ ! -s "$tmp/err" ]; } \
        || problems+=("$lines stderr lines, expected $errLines: $(cat "$tmp/err")")
    if [ -n "$errText" ] && ! grep -qF -- "$errText" "$tmp/err"; then
        problems+=("stderr lacks '$errText': $(cat "$tmp/err")")
    fi
    if [ ${#problems[@]} -eq 0 ]; then
        echo "PASS   $name"
    else
        failures=$((failures + 1))
        for p in "${problems[@]}"; do echo "FAIL - $name: $p"; done
    fi
}

help_pattern='^Utilisation : tarmel.*#  --help +affiche cette aide.*#  --version +affiche le nom.*'
help_pattern+='#English#.*#Usage: tarmel.*#  --help +show this help.*#  --version +show the program name'

check "version"          0 "Tarmel $version
"                                                   0 ""                               -- --version
check "help"             0 "~$help_pattern"         0 ""                               -- --help
check "unknown option"   2 ""                       1 "« --frobnicate »"               -- --frobnicate
check "dash file alone"  2 ""                       1 "« -n.iso »"                     -- -n.iso
check "extra operand"    2 ""                       1 "« --version »"                  -- --version a.iso

[ "$failures" -eq 0 ] || { echo "$failures case(s) failed"; exit 1; }

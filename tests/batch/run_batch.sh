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
run_prefix=() # a command the program runs under (prlimit)

# check <name> <expected exit> <expected stdout> <stderr lines> <stderr text> -- <arguments...>
check() {
    local name=$1 code=$2 out=$3 errLines=$4 errText=$5; shift 6
    (cd "$tmp" && "${run_prefix[@]}" "$tarmel" "$@") >"$tmp/out" 2>"$tmp/err"
    local status=$? problems=()
    [ "$status" -eq "$code" ] || problems+=("exit code $status, expected $code")
    if [ "${out:0:1}" = "~" ]; then
        tr '\n' '#' <"$tmp/out" | grep -qE -- "${out:1}" || problems+=("stdout does not match ${out:1}")
    elif [ "$(cat "$tmp/out"; echo .)" != "$out." ]; then
        problems+=("stdout is '$(cat "$tmp/out")', expected '$out'")
    fi
    # Whole lines only: a stderr without a final line end is one line short.
    local lines=$(wc -l <"$tmp/err")
    [ "$lines" -eq "$errLines" ] && { [ "$errLines" -gt 0 ] || [ ! -s "$tmp/err" ]; } \
        || problems+=("$lines stderr lines, expected $errLines: $(cat "$tmp/err")")
    if [ -n "$errText" ] && ! grep -qF -- "$errText" "$tmp/err"; then
        problems+=("stderr lacks '$errText': $(cat "$tmp/err")")
    fi
    report "$name" "${problems[@]}"
}
# report <name> [problems...]: PASS, or one FAIL line per problem.
report() {
    local name=$1; shift
    [ $# -eq 0 ] && { echo "PASS   $name"; return; }
    failures=$((failures + 1)); for p in "$@"; do echo "FAIL - $name: $p"; done
}

help_pattern='^Utilisation : tarmel.*#  --help +affiche cette aide.*#  --version +affiche le nom.*'
help_pattern+='#English#.*#Usage: tarmel.*#  --help +show this help.*#  --version +show the program name'

check "version"          0 "Tarmel $version
"                                                   0 ""                               -- --version
check "help"             0 "~$help_pattern"         0 ""                               -- --help
check "unknown option"   2 ""                       1 "« --frobnicate »"               -- --frobnicate

# --- Commands on program files, in a temporary folder. ---
# put <file> <printf format>: writes the bytes; holds <name> <file> <printf format>: the file's bytes.
put() { printf -- "$2" >"$tmp/$1"; }
holds() { cmp -s "$tmp/$2" <(printf -- "$3") && report "$1" || report "$1" "$2 holds '$(od -c "$tmp/$2" | head -5)'"; }

put a.iso '%%\r\nN5 G0 X1\r\nN7 G1 Y2\r\nM30\r\n%%\r\n'
check "renumber in place"      0 "" 0 ""                      -- --renumber 10 a.iso
holds "renumbered, CR LF kept" a.iso '%%\r\nN10 G0 X1\r\nN20 G1 Y2\r\nM30\r\n%%\r\n'
put e.iso '%%\r\n5 G0 X1\r\n7 G1 Y2\r\n%%\r\n'
check "renumber, digits form"  0 "" 0 ""                      -- --renumber 5 --form digits --start 100 e.iso --output b.iso
holds "digits form to output"  b.iso '%%\r\n100 G0 X1\r\n105 G1 Y2\r\n%%\r\n'
holds "input left as it was"   e.iso '%%\r\n5 G0 X1\r\n7 G1 Y2\r\n%%\r\n'
put j.iso 'N1 GOTO 3\nN3 M30'
check "jumps updated"          0 "" 0 ""                      -- --renumber 10 --update-jumps j.iso
holds "LF and no final end"    j.iso 'N10 GOTO 20\nN20 M30'
put w.iso 'n1 (pi\xe8ce \xe9t\xe9)\r\n'
check "upper, Windows-1252"    0 "" 0 ""                      -- --upper w.iso
holds "upper kept the code page" w.iso 'N1 (PI\xc8CE \xc9T\xc9)\r\n'
check "accents, Windows-1252"  0 "" 0 ""                      -- --remove-accents w.iso
holds "accent table applied"   w.iso 'N1 (PIeCE eTe)\r\n'
put u.iso '\xef\xbb\xbfg1 (d\xc3\xa9but)\n'
check "accents, UTF-8 with BOM" 0 "" 0 ""                     -- --remove-accents u.iso
holds "BOM and UTF-8 kept"     u.iso '\xef\xbb\xbfg1 (debut)\n'

put c.iso '%%\nN20 G0 G1 X\nN10 (pi\xc3\xa8ce\n'
# The findings, one a line as file:line:column: rule: text, ordered by line and column.
findings='^c.iso:2:8: modal-group-conflict: Deux codes G du même groupe modal dans un bloc \(G0 et G1\)#'
findings+='c.iso:2:11: word-without-value: [^#]*#(c.iso:3:[^#]*#){4}c.iso:3:8: accented-character: [^#]*\(« è »\)#$'
check "check findings"         1 "~$findings"       0 ""      -- --check c.iso
check "check clean"            0 ""                 0 ""      -- --check a.iso
check "check, a file missing"  3 "~^c.iso:2:8: "    1 "« absent.iso » : fichier introuvable" -- --check absent.iso c.iso
check "range"                  0 "~^Blocs : 3#X : 1 à 1 \\(déplacements absolus G90 seulement\\)#Y : 2 à 2 .*#Vitesses de broche : aucune#$" 0 "" -- --range a.iso
check "range of two files"     0 "~^a.iso :#Blocs : 3#.*#j.iso :#Blocs : 2#" 0 "" -- --range a.iso j.iso

# Failures: each names the file; the other files are still processed; nothing is half-written.
put d.iso 'N3\n'
check "missing file"           3 "" 1 "impossible de lire « nowhere.iso » : fichier introuvable" -- --renumber 10 nowhere.iso d.iso
holds "the other file done"    d.iso 'N10 \n'
mkdir -p "$tmp/folder"
check "a folder"               3 "" 1 "« folder » est un dossier"  -- --upper folder
check "an RTF document"        3 "" 1 "« doc.rtf » est un document RTF" -- --upper doc.rtf
mkdir -p "$tmp/locked" && chmod 555 "$tmp/locked"
if [ "$(id -u)" -ne 0 ]; then
    check "unwritable output"  3 "" 1 "impossible d'écrire « locked/out.iso »" -- --renumber 10 d.iso --output locked/out.iso
    [ ! -e "$tmp/locked/out.iso" ] && report "nothing written" || report "nothing written" "a file was written"
fi
check "output under a file"     3 "" 1 "impossible d'écrire « d.iso/out.iso »" -- --renumber 10 a.iso --output d.iso/out.iso
check "output is a folder"     3 "" 1 "impossible d'écrire « folder »"            -- --renumber 10 a.iso --output folder
if command -v prlimit >/dev/null; then
    for i in $(seq 1 3000); do echo "N1 G0 X1"; done >"$tmp/big.iso"
    cp "$tmp/big.iso" "$tmp/big.before"
    run_prefix=(prlimit --fsize=20000 --)
    check "file size limit"    3 "" 1 "impossible d'écrire « big.iso »" -- --renumber 10 big.iso
    run_prefix=()
    cmp -s "$tmp/big.iso" "$tmp/big.before" && report "old file whole" || report "old file whole" "big.iso changed"
fi
put r.iso 'N3\n' && chmod 444 "$tmp/r.iso"
check "read-only file"         3 "" 1 "impossible d'écrire « r.iso »" -- --renumber 10 r.iso
holds "read-only file unchanged" r.iso 'N3\n'
check "bad step"               2 "" 1 "pas invalide « 0 » : un entier de 1 à 50 est attendu" -- --renumber 0 d.iso
check "step not a number"      2 "" 1 "pas invalide « d.iso »"       -- --renumber d.iso
check "no step"                2 "" 1 "« --renumber » attend un pas" -- --renumber
check "no file"                2 "" 1 "« --upper » attend au moins un fichier" -- --upper
check "bad form"               2 "" 1 "« --form » attend « N » ou « digits »" -- --renumber 10 --form x d.iso
check "bad start"              2 "" 1 "« --start » attend un entier positif ou nul (« -1 »)" -- --renumber 10 --start -1 d.iso
check "output for two files"   2 "" 1 "« --output » ne vaut que pour un seul fichier" -- --upper a.iso d.iso --output x.iso
check "output of a check"      2 "" 1 "option « --output » inconnue de « --check »" -- --check a.iso --output x.iso
holds "bad usage changed nothing" d.iso 'N10 \n'
put ./-n.iso 'N1\n'
check "dash file after --"     0 "" 0 ""                       -- --renumber 10 -- -n.iso
holds "dash file renumbered"   ./-n.iso 'N10 \n'

[ "$failures" -eq 0 ] || { echo "$failures case(s) failed"; exit 1; }

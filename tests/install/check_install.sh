#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the tree a desktop needs: the program,
# a valid desktop entry, the icons, and a MIME package the MIME database accepts.
#   check_install.sh BUILD_DIR [CMAKE]
set -euo pipefail

build=$1
cmake=${2:-cmake}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log"

# Nothing is written outside the prefix.
while IFS= read -r installed; do
    case $installed in
    "$prefix"/*) ;;
    *) fail "installed outside the prefix: $installed" ;;
    esac
done <"$build/install_manifest.txt"

desktop=$prefix/share/applications/tarmel.desktop
mime_package=$prefix/share/mime/packages/tarmel.xml
png=$prefix/share/icons/hicolor/48x48/apps/tarmel.png
for file in "$desktop" "$mime_package" "$png" "$prefix/share/icons/hicolor/scalable/apps/tarmel.svg"; do
    [ -s "$file" ] || fail "missing or empty: ${file#"$prefix"/}"
done
[ -x "$prefix/bin/tarmel" ] || fail "bin/tarmel is not an executable"
"$prefix/bin/tarmel" --version >"$work/version.txt" 2>&1 || fail "the installed program does not start: $(cat "$work/version.txt")"

# The desktop entry: valid, started by name with one file, listing every type of the package.
if ! desktop-file-validate "$desktop" >"$work/validate.txt" 2>&1 || grep -q 'error:' "$work/validate.txt"; then
    fail "desktop-file-validate: $(cat "$work/validate.txt")"
fi
key() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(key Exec)" = "tarmel %f" ] || fail "Exec is '$(key Exec)'"
[ "$(key Icon)" = "tarmel" ] || fail "Icon is '$(key Icon)'"
[ "$(key Categories)" = "Development;TextEditor;" ] || fail "Categories is '$(key Categories)'"
types=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$mime_package")
[ -n "$types" ] || fail "the MIME package defines no type"
for type in $types text/plain; do
    case ";$(key MimeType)" in
    *";$type;"*) ;;
    *) fail "MimeType does not list $type" ;;
    esac
done

# The MIME package: accepted by the database, each extension typed as the program's own.
if ! XDG_DATA_DIRS=$prefix/share XDG_DATA_HOME=$prefix/share update-mime-database "$prefix/share/mime" >"$work/mime.txt" 2>&1 || [ -s "$work/mime.txt" ]; then
    fail "update-mime-database: $(cat "$work/mime.txt")"
fi
for glob in rub:iso xcn:iso cn:iso jau:jau cor:jau cnc:cnc; do
    grep -qx "[0-9]*:text/x-tarmel-${glob#*:}:\*\.${glob%%:*}" "$prefix/share/mime/globs2" ||
        fail "globs2 does not map *.${glob%%:*} to text/x-tarmel-${glob#*:}"
done

# The PNG icon is drawn at 48 x 48.
file -b "$png" | grep -q '^PNG image data, 48 x 48,' || fail "tarmel.png: $(file -b "$png")"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "installed tree checked: $(wc -l <"$build/install_manifest.txt") files"

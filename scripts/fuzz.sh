#!/usr/bin/env bash
# Fuzzes the RTF reader and the program-file codec with libFuzzer under ASan+UBSan, side by side.
#   scripts/fuzz.sh [build dir (build-fuzz)] [seconds (60)]
# Builds fuzz/ with clang in the build dir. Seeds: for the RTF reader tests/files/rtf_samples (and its
# regress/ folder) and the shared RTF corpus; for the codec tests/files/codec_samples/regress and the
# shared NC corpus (all read in place, never copied). Each target runs one job for the given time.
# New inputs stay in <dir>/<target>-run/corpus, crashes in <dir>/<target>-run/crashes, the logs in
# <dir>/<target>.log. Exits non-zero when a crash was found.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
dir=${1:-build-fuzz}
seconds=${2:-60}
case "$dir" in /*) ;; *) dir="$root/$dir" ;; esac
shared_corpus=${TARMEL_CORPUS:-$root/../shared/corpus}

cxx=$(command -v clang++ || command -v clang++-14 || true)
if [ -z "$cxx" ]; then
  echo "fuzz: clang++ not found (apt-get install clang libclang-rt-14-dev)" >&2
  exit 2
fi

cmake -S "$root/fuzz" -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER="$cxx" >/dev/null
cmake --build "$dir" -j 2

existing() { for d in "$@"; do [ -d "$d" ] && echo "$d"; done; return 0; }

# run <target> <extra options> -- <seed folders...>
run() {
  local target=$1; shift
  local options=()
  while [ "$1" != "--" ]; do options+=("$1"); shift; done
  shift
  local work="$dir/$target-run"
  mkdir -p "$work/corpus" "$work/crashes"
  echo "fuzz: $target ${seconds}s, seeds: $*"
  (cd "$work" && "$dir/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
     -artifact_prefix="$work/crashes/" -print_final_stats=1 "${options[@]}" corpus "$@" \
     >"$dir/$target.log" 2>&1)
}

mapfile -t rtf_seeds < <(existing "$root/tests/files/rtf_samples" "$root/tests/files/rtf_samples/regress" "$shared_corpus/rtf")
mapfile -t codec_seeds < <(existing "$root/tests/files/codec_samples/regress" "$shared_corpus/nc")

status=0
run fuzz_rtf -max_len=16384 -dict="$root/fuzz/rtf.dict" -- "${rtf_seeds[@]}" & rtf=$!
run fuzz_codec -max_len=65536 -- "${codec_seeds[@]}" & codec=$!
wait $rtf || status=1
wait $codec || status=1

found=0
for target in fuzz_rtf fuzz_codec; do
  echo "== $target"
  grep -E '^(stat::|#[0-9]+ +DONE|==[0-9]+==ERROR|SUMMARY)' "$dir/$target.log" | tail -n 8 || true
  n=$(find "$dir/$target-run/crashes" -type f | wc -l)
  found=$((found + n))
  echo "fuzz: $target corpus $(find "$dir/$target-run/corpus" -type f | wc -l) inputs, $n crash/leak/timeout file(s) in $dir/$target-run/crashes"
done
if [ "$found" -gt 0 ] || [ "$status" -ne 0 ]; then
  exit 1
fi

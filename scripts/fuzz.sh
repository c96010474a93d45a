#!/usr/bin/env bash
# Fuzzes the RTF reader with libFuzzer under ASan+UBSan.
#   scripts/fuzz.sh [build dir (build-fuzz)] [seconds (60)]
# Builds fuzz/ with clang in the build dir, seeds from tests/files/rtf_samples (and its
# regress/ folder) and the shared RTF corpus (read in place, never copied), runs one job for
# the given time. New inputs stay in <dir>/corpus, crashes in <dir>/crashes, the log in
# <dir>/fuzz-0.log. Exits non-zero when a crash was found.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
dir=${1:-build-fuzz}
seconds=${2:-60}
case "$dir" in /*) ;; *) dir="$root/$dir" ;; esac
shared_corpus=${TARMEL_CORPUS:-$root/../shared/corpus}/rtf

cxx=$(command -v clang++ || command -v clang++-14 || true)
if [ -z "$cxx" ]; then
  echo "fuzz: clang++ not found (apt-get install clang libclang-rt-14-dev)" >&2
  exit 2
fi

cmake -S "$root/fuzz" -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER="$cxx" >/dev/null
cmake --build "$dir" -j 2
mkdir -p "$dir/corpus" "$dir/crashes"

seeds=()
for d in "$root/tests/files/rtf_samples" "$root/tests/files/rtf_samples/regress" "$shared_corpus"; do
  [ -d "$d" ] && seeds+=("$d")
done

echo "fuzz: ${seconds}s, seeds: ${seeds[*]}"
cd "$dir"
status=0
./fuzz_rtf -max_total_time="$seconds" -jobs=1 -workers=1 -max_len=16384 -timeout=10 -rss_limit_mb=2048 \
  -dict="$root/fuzz/rtf.dict" -artifact_prefix="$dir/crashes/" -print_final_stats=1 \
  corpus "${seeds[@]}" || status=$?
log="$dir/fuzz-0.log"
[ -f "$log" ] && tail -n 25 "$log"
found=$(find "$dir/crashes" -type f | wc -l)
echo "fuzz: corpus $(find "$dir/corpus" -type f | wc -l) inputs, $found crash/leak/timeout file(s) in $dir/crashes"
if [ "$found" -gt 0 ] || [ "$status" -ne 0 ]; then
  exit 1
fi

#!/usr/bin/env bash
# Runs every benchmark of a Release build folder, one after the other.
set -euo pipefail
build=${1:-build-bench}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export TARMEL_SOURCE_DIR=$(cd "$(dirname "$0")/.." && pwd)
status=0
for b in "$build"/bench/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" || status=1
done
exit $status

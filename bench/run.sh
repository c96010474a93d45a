#!/usr/bin/env bash
# Runs every benchmark of a Release build folder at the sizes it declares (bench_X --sizes; by default
# 100,000, 1,000,000 and 5,000,000 lines), then the end-to-end opening (bench/e2e_open.py), collects their
# result rows into one table on the standard output and the same rows as CSV in
# bench/results/<date>-<host>.csv. Each bench's whole output is kept in <build>/bench-logs/.
#
#   bench/run.sh [build folder]        BENCH_SIZES="100000 1000000" limits the sizes;
#                                      BENCH_RUNS sets the runs per measure (by default 3 below
#                                      1,000,000 lines, 2 at 1,000,000, 1 from 5,000,000 on);
#                                      BENCH_E2E=0 leaves out the end-to-end opening.
# Exit status: 1 when a bench failed (a wrong result or a crash), whatever the targets; a missed target
# shows as "no" in the table only.
set -uo pipefail
build=$(cd "${1:-build-bench}" && pwd)
source_dir=$(cd "$(dirname "$0")/.." && pwd)
sizes_allowed=${BENCH_SIZES:-100000 1000000 5000000}

export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export TARMEL_SOURCE_DIR=$source_dir
tmp=$(mktemp -d "${TMPDIR:-/tmp}/tarmel-bench.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/run" && chmod 700 "$tmp/run"
export XDG_RUNTIME_DIR=$tmp/run XDG_CONFIG_HOME=$tmp/config XDG_STATE_HOME=$tmp/state HOME=$tmp

# The generated program of each size, written once and copied by the benches that use it.
export BENCH_PROGRAMS=$tmp/programs
mkdir -p "$BENCH_PROGRAMS"
for lines in $sizes_allowed; do
    "$build/bench/bench_gen" "$lines" "$BENCH_PROGRAMS/cam-$lines.iso" || { echo "bench_gen failed" >&2; exit 1; }
done

logs=$build/bench-logs
rm -rf "$logs" && mkdir -p "$logs"
rows=$tmp/rows.tsv
: >"$rows"
status=0
started=$SECONDS

# One bench at one size: its ROW lines go to the table, everything to its log.
run_one() {
    local bench=$1 lines=$2 name runs begin
    name=$(basename "$bench")
    runs=3
    [ "$lines" -ge 1000000 ] && runs=2
    [ "$lines" -ge 5000000 ] && runs=1
    runs=${BENCH_RUNS:-$runs}
    begin=$SECONDS
    if BENCH_RUNS=$runs "$bench" "$lines" >"$logs/$name-$lines.log" 2>&1; then
        printf '%-22s %9s lines  %4ds\n' "$name" "$lines" $((SECONDS - begin)) >&2
    else
        printf '%-22s %9s lines  %4ds  FAILED (see %s)\n' "$name" "$lines" $((SECONDS - begin)) "$logs/$name-$lines.log" >&2
        printf 'ROW\t%s FAILED\t%s\t0\t-\t-\t0\t-\tno\n' "$name" "$lines" >>"$rows"
        status=1
    fi
    grep $'^ROW\t' "$logs/$name-$lines.log" | sed "s/\$/\t$name/" >>"$rows"
}

for bench in "$build"/bench/bench_*; do
    [ -f "$bench" ] && [ -x "$bench" ] || continue
    [ "$(basename "$bench")" = bench_gen ] && continue
    for lines in $("$bench" --sizes); do
        # A size the bench declares is run when it is allowed, or when the bench runs at one size only
        # (such a bench is not about the size).
        if [[ " $sizes_allowed " == *" $lines "* ]] || [ "$("$bench" --sizes | wc -l)" -eq 1 ]; then
            run_one "$bench" "$lines"
        fi
    done
done

if [ "${BENCH_E2E:-1}" != 0 ]; then
    begin=$SECONDS
    e2e_lines=5000000
    [[ " $sizes_allowed " == *" 5000000 "* ]] || e2e_lines=$(echo $sizes_allowed | tr ' ' '\n' | sort -n | tail -1)
    if /usr/bin/python3 "$source_dir/bench/e2e_open.py" "$build" "$e2e_lines" >"$logs/e2e_open.log" 2>&1; then
        printf '%-22s %9s lines  %4ds\n' e2e_open "$e2e_lines" $((SECONDS - begin)) >&2
    else
        printf '%-22s %9s lines  %4ds  FAILED (see %s)\n' e2e_open "$e2e_lines" $((SECONDS - begin)) "$logs/e2e_open.log" >&2
        printf 'ROW\te2e_open FAILED\t%s\t0\t-\t-\t0\t-\tno\n' "$e2e_lines" >>"$rows"
        status=1
    fi
    grep $'^ROW\t' "$logs/e2e_open.log" | sed "s/\$/\te2e_open/" >>"$rows"
fi

mkdir -p "$source_dir/bench/results"
csv=$source_dir/bench/results/$(date -u +%Y-%m-%d)-$(hostname -s).csv

# The table: one line per row, the ratio to the floor computed here; then the peak memory rows again.
awk -F'\t' -v csv="$csv" '
function q(s) { gsub(/"/, "\"\"", s); return "\"" s "\"" }
BEGIN {
    print "operation,lines,value,unit,floor,floor_value,ratio,target,holds,bench" > csv
    fmt = "%-46s %9s %11s %-3s %-26s %11s %8s %-15s %s\n"
    printf fmt, "operation", "lines", "value", "", "floor", "floor value", "ratio", "target", "holds"
}
{
    ratio = $7 > 0 ? sprintf("%.2f", $4 / $7) : "-"
    floorValue = $7 > 0 ? sprintf("%.1f", $7) : "-"
    value = $5 == "ms" && $4 < 10 ? sprintf("%.3f", $4) : sprintf("%.1f", $4)
    printf fmt, $2, $3, value, $5, $6, floorValue, ratio, $8, $9
    if ($9 == "no") missed = missed sprintf("  %s (%s lines): %s %s, target %s\n", $2, $3, value, $5, $8)
    if ($5 == "MB") memory = memory sprintf("  %-46s %9s lines  %8.1f MB  file %7.1f MB  ratio %s  %s\n", $2, $3, $4, $7, ratio, $9)
    print q($2) "," $3 "," $4 "," q($5) "," q($6) "," $7 "," ratio "," q($8) "," $9 "," q($10) > csv
}
END {
    printf "\npeak memory (RSS) after loading:\n%s", memory
    printf "\nrows that miss their target:\n%s", missed == "" ? "  none\n" : missed
}' "$rows"
echo
echo "CSV: $csv"
times >"$tmp/times" # in this shell: its second line is the processor time of every bench it ran
echo "logs: $logs; benches ran for $((SECONDS - started)) s of wall time; processor time of the benches" \
     "(user, system): $(tail -1 "$tmp/times")"
exit $status

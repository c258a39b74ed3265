#!/usr/bin/env bash
# Times several fonts in one pass and the largest size that fits a width
# against one measurement, with the real tool (--json), side by side in
# one run, as ratios of best wall times (warm cache), with peak memory
# from /usr/bin/time:
#   - nine sizes of one face over 256 MiB of mixed scripts against one size;
#   - --fit-within over the 1 GiB ASCII file (all 144 sizes accounted for)
#     against one measurement.
#
#   bench/fonts.sh          (from anywhere; the data lives in $BENCH_DIR)
#
# BENCH_DIR  work folder for the data (default /tmp/spanwick-bench)
# BUILD_DIR  the CMake build folder to use or create (default build)
# RUNS       timed runs per command, the best is kept (default 3)
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BENCH_DIR=${BENCH_DIR:-/tmp/spanwick-bench}
BUILD_DIR=${BUILD_DIR:-build}
PREVIOUS=""
RUNS=${RUNS:-3}
cd "$ROOT"
mkdir -p "$BENCH_DIR"

source "$ROOT/bench/lib.sh"

make_data utf8 256 mixed-utf8-256m.txt
make_data ascii 1024 ascii-1g.txt
FACE=(--face "DejaVu Sans")

echo
echo "$(nproc) cores; best of $RUNS runs; MB = 10^6 bytes; time xN is the run's time over one measurement's"

compare() {  # label file limit allowance-MiB -- arguments of the run
    local label=$1 file=$2 limit=$3 allowance=$4 bytes tOne tRun
    shift 5
    bytes=$(stat -c %s "$file")
    cat "$file" >/dev/null
    echo
    echo "$label (targets: at most ${limit}x the time, peak at most $allowance MiB)"
    measure "$TOOL" --json "${FACE[@]}" --size 10 "$file"; tOne=$SECONDS_BEST
    row "one size" "$tOne" "$PEAK_MB" "$bytes"
    measure "$TOOL" "${FACE[@]}" "$@" "$file"; tRun=$SECONDS_BEST
    row "$*" "$tRun" "$PEAK_MB" "$bytes" "time x$(ratio "$tRun" "$tOne")"
}

# 64 MiB and 1 MiB a font.
compare "Nine sizes of one face, mixed scripts" "$BENCH_DIR/mixed-utf8-256m.txt" 5 $((64 + 9)) -- --json --size 6-14
compare "Largest size within 600 px, ASCII" "$BENCH_DIR/ascii-1g.txt" 20 $((64 + 16)) -- --fit 99 --fit-within 600

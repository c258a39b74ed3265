#!/usr/bin/env bash
# Times a table of every column against its busiest column alone, with the
# real tool (--json), side by side in one run, as ratios of best wall
# times (warm cache), with peak memory from /usr/bin/time:
#   - the four columns of the 1 GiB customer export against its address column;
#   - the 200 columns of a 100 MB export against its busiest column, a note.
#
#   bench/columns.sh        (from anywhere; the data lives in $BENCH_DIR)
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

make_data csv 1024 customers-1g.txt
make_data table 100 table-200-100m.csv
FONT=(--face "DejaVu Sans" --size 10)

echo
echo "$(nproc) cores; best of $RUNS runs; MB = 10^6 bytes; time xN is the table's time over the one column's"

compare() {  # label file limit one-column [peak-allowance-MiB]
    local label=$1 file=$2 limit=$3 column=$4 allowance=$5 bytes tOne tAll
    bytes=$(stat -c %s "$file")
    cat "$file" >/dev/null
    echo
    echo "$label (targets: at most ${limit}x the time, peak at most $allowance MiB)"
    measure "$TOOL" --json "${FONT[@]}" --column "$column" "$file"; tOne=$SECONDS_BEST
    row "column $column alone" "$tOne" "$PEAK_MB" "$bytes"
    measure "$TOOL" --json "${FONT[@]}" --column all "$file"; tAll=$SECONDS_BEST
    row "every column" "$tAll" "$PEAK_MB" "$bytes" "time x$(ratio "$tAll" "$tOne")"
}

# 64 MiB and 1 MiB a column.
compare "Customer export, 4 columns" "$BENCH_DIR/customers-1g.txt" 1.6 address $((64 + 4))
compare "Wide export, 200 columns" "$BENCH_DIR/table-200-100m.csv" 3 note_20 $((64 + 200))

#!/usr/bin/env bash
# Times passes of many targets and the cases of delimited text and check
# mode that once cost too much, side by side in one run with their
# yardsticks, as ratios of best wall times (warm cache), with peak memory
# from /usr/bin/time:
#   - one target against the previous release, on every benchmark file;
#   - four columns of the customer export against one; four fonts over
#     the ASCII file against one (the engine alone, bench/measure_driver);
#   - one long quoted record against the same bytes read as lines;
#   - check mode with every line too wide: its peak memory, on 20 KB lines
#     and on random bytes.
#
#   bench/targets.sh        (from anywhere; the data lives in $BENCH_DIR)
#
# BENCH_DIR  work folder for the data and the previous release (default /tmp/spanwick-bench)
# BUILD_DIR  the CMake build folder to use or create (default build)
# PREVIOUS   the commit to compare one target with (default 60167db, before passes of many targets)
# RUNS       timed runs per command, the best is kept (default 3)
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BENCH_DIR=${BENCH_DIR:-/tmp/spanwick-bench}
BUILD_DIR=${BUILD_DIR:-build}
PREVIOUS=${PREVIOUS:-60167db}
RUNS=${RUNS:-3}
cd "$ROOT"
mkdir -p "$BENCH_DIR"

source "$ROOT/bench/lib.sh"

make_data ascii 1024 ascii-1g.txt
make_data utf8 256 mixed-utf8-256m.txt
make_data crlf 256 crlf-256m.txt
make_data long 256 long-lines-256m.txt
make_data newlines 256 newlines-256m.txt
make_data oneline 1024 one-line-1g.txt
make_data csv 1024 customers-1g.txt
make_data quoted 60 quoted-record-60m.txt
make_data wide 200 wide-lines-200m.txt
DRIVER="$BUILD_DIR/bench/measure_driver"
FONT=(--face "DejaVu Sans" --size 10)

echo
echo "$(nproc) cores; best of $RUNS runs; MB = 10^6 bytes; ratios are speed over the yardstick's: above 1 is faster"

echo
echo "One target, against $PREVIOUS (target: at least 0.95)"
for name in ascii-1g.txt mixed-utf8-256m.txt crlf-256m.txt long-lines-256m.txt newlines-256m.txt one-line-1g.txt \
    customers-1g.txt; do
    file="$BENCH_DIR/$name"
    bytes=$(stat -c %s "$file")
    cat "$file" >/dev/null
    extra=()
    [[ "$name" == customers-* ]] && extra=(--column address)
    measure "$OLD" --json "${FONT[@]}" "${extra[@]}" "$file"; tOld=$SECONDS_BEST
    measure "$TOOL" --json "${FONT[@]}" "${extra[@]}" "$file"; tNew=$SECONDS_BEST
    row "$name ${extra[*]}" "$tNew" "$PEAK_MB" "$bytes" "vs $PREVIOUS $(ratio "$tOld" "$tNew")"
done

echo
echo "Many targets in one pass, against one (targets: 4 columns at most 1.6x, 4 fonts at most 3x the time)"
file="$BENCH_DIR/customers-1g.txt"; bytes=$(stat -c %s "$file")
measure "$DRIVER" "$file" --columns address; tOne=$SECONDS_BEST
row "customers, column address" "$tOne" "$PEAK_MB" "$bytes"
measure "$DRIVER" "$file" --columns 1,2,3,4; tFour=$SECONDS_BEST
row "customers, four columns" "$tFour" "$PEAK_MB" "$bytes" "time x$(ratio "$tFour" "$tOne")"
file="$BENCH_DIR/ascii-1g.txt"; bytes=$(stat -c %s "$file")
measure "$DRIVER" "$file"; tOne=$SECONDS_BEST
row "ascii, one font" "$tOne" "$PEAK_MB" "$bytes"
measure "$DRIVER" "$file" --fonts 4; tFour=$SECONDS_BEST
row "ascii, four fonts" "$tFour" "$PEAK_MB" "$bytes" "time x$(ratio "$tFour" "$tOne")"

echo
echo "One quoted record of 60 MB against its bytes as lines (target: at most 2x the time)"
file="$BENCH_DIR/quoted-record-60m.txt"; bytes=$(stat -c %s "$file")
measure "$TOOL" --json "${FONT[@]}" "$file"; tLines=$SECONDS_BEST
row "as lines" "$tLines" "$PEAK_MB" "$bytes"
measure "$TOOL" --json "${FONT[@]}" --column 1 "$file"; tRecord=$SECONDS_BEST
row "as one quoted record" "$tRecord" "$PEAK_MB" "$bytes" "time x$(ratio "$tRecord" "$tLines")"

echo
echo "Check mode with every line too wide (target: peak at most 64 MiB)"
# Check mode exits 1 when a line is too wide, its success here; its output
# goes to a file (the timing's pipe would hold it all).
CHECK=(sh -c '"$1" --max-width 0 --face "DejaVu Sans" --size 10 "$2" >"$3"; test $? -eq 1' sh "$TOOL")
file="$BENCH_DIR/wide-lines-200m.txt"; bytes=$(stat -c %s "$file")
measure "${CHECK[@]}" "$file" "$BENCH_DIR/check.out"
row "20 KB lines, all too wide" "$SECONDS_BEST" "$PEAK_MB" "$bytes"
head -c 200000000 /dev/urandom >"$BENCH_DIR/random-200m.bin"
measure "${CHECK[@]}" "$BENCH_DIR/random-200m.bin" "$BENCH_DIR/check.out"
row "random bytes, all too wide" "$SECONDS_BEST" "$PEAK_MB" 200000000
rm -f "$BENCH_DIR/random-200m.bin" "$BENCH_DIR/check.out"

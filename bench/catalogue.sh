#!/usr/bin/env bash
# Times spanwick-measure --check-catalogue on a generated XLIFF 1.2
# catalogue of UNITS units against measuring the same strings one a line
# as plain text, in the same run: the report, and the check mode with one
# budget for all (on all cores and on one thread); and against Qt's XML
# reader alone on the catalogue, the least any check of it can take.
# Figures are best wall times of RUNS runs, warm cache; peak memory is the
# maximum resident set size /usr/bin/time -v reports.
#
#   bench/catalogue.sh
#
# BENCH_DIR  work folder for the data (default /tmp/spanwick-bench)
# BUILD_DIR  the CMake build folder to use or create (default build)
# UNITS      units in the catalogue (default 100000)
# RUNS       timed runs per command, the best is kept (default 5)
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BENCH_DIR=${BENCH_DIR:-/tmp/spanwick-bench}
BUILD_DIR=${BUILD_DIR:-build}
UNITS=${UNITS:-100000}
RUNS=${RUNS:-5}
cd "$ROOT"
mkdir -p "$BENCH_DIR"

if [[ ! -f "$BUILD_DIR/CMakeCache.txt" ]]; then
    cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$BUILD_DIR" -j"$(nproc)" --target gen_catalogue xml_read spanwick-measure >/dev/null

TOOL="$BUILD_DIR/tools/spanwick-measure"
CATALOGUE="$BENCH_DIR/catalogue-$UNITS.xlf"
TEXTS="$BENCH_DIR/catalogue-$UNITS.txt"
[[ -f "$CATALOGUE" && -f "$TEXTS" ]] || "$BUILD_DIR/bench/gen_catalogue" "$UNITS" "$CATALOGUE" "$TEXTS"
cat "$CATALOGUE" "$TEXTS" >/dev/null  # into the page cache
FONT=(--face "DejaVu Sans" --size 8)

# Sets BEST (best wall seconds of RUNS runs) and PEAK_MIB (largest peak
# resident size); the output is discarded, the exit status is not checked
# (a check that finds strings over budget ends with 1).
measure() {
    local best="" peak=0 start end took i kb
    for ((i = 0; i < RUNS; i++)); do
        start=$(date +%s%N)
        /usr/bin/time -v -o "$BENCH_DIR/time.out" "$@" >/dev/null 2>&1 || true
        end=$(date +%s%N)
        took=$((end - start))
        kb=$(sed -n 's/^[[:space:]]*Maximum resident set size (kbytes): //p' "$BENCH_DIR/time.out")
        ((kb > peak)) && peak=$kb
        if [[ -z "$best" || $took -lt $best ]]; then best=$took; fi
    done
    BEST=$(awk -v ns="$best" 'BEGIN { printf "%.3f", ns / 1e9 }')
    PEAK_MIB=$(awk -v kb="$peak" 'BEGIN { printf "%.1f", kb / 1024 }')
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

row() { printf "  %-44s %7s s %7s MiB  %s\n" "$@"; }

echo
echo "$UNITS units: $(stat -c %s "$CATALOGUE") bytes of XLIFF, $(stat -c %s "$TEXTS") bytes of plain text;" \
     "$(nproc) cores; best of $RUNS runs"
measure "$TOOL" "${FONT[@]}" "$TEXTS"; tReport=$BEST
row "plain text, the report" "$tReport" "$PEAK_MIB" ""
measure "$TOOL" "${FONT[@]}" --max-width 150 "$TEXTS"; tCheck=$BEST
row "plain text, --max-width 150" "$tCheck" "$PEAK_MIB" ""
measure "$TOOL" "${FONT[@]}" --max-width 150 --threads 1 "$TEXTS"; tOne=$BEST
row "plain text, --max-width 150, 1 thread" "$tOne" "$PEAK_MIB" ""
measure "$BUILD_DIR/bench/xml_read" "$CATALOGUE"; tXml=$BEST
row "Qt's XML reader alone on the catalogue" "$tXml" "$PEAK_MIB" "time over the plain check $(ratio "$tXml" "$tCheck")"
measure "$TOOL" "${FONT[@]}" --check-catalogue "$CATALOGUE"; tCat=$BEST
row "--check-catalogue" "$tCat" "$PEAK_MIB" \
    "time over the plain check $(ratio "$tCat" "$tCheck"), over 1 thread $(ratio "$tCat" "$tOne"), over the report $(ratio "$tCat" "$tReport"), over Qt's reader $(ratio "$tCat" "$tXml")"
measure "$TOOL" "${FONT[@]}" --check-catalogue --json "$CATALOGUE"; tJson=$BEST
row "--check-catalogue --json (every string)" "$tJson" "$PEAK_MIB" "time over the plain check $(ratio "$tJson" "$tCheck")"
measure "$TOOL" "${FONT[@]}" --check-catalogue --placeholder-width 40 "$CATALOGUE"; tPh=$BEST
row "--check-catalogue --placeholder-width 40" "$tPh" "$PEAK_MIB" "time over the plain check $(ratio "$tPh" "$tCheck")"

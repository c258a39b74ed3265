#!/usr/bin/env bash
# Times the line measurement against wc -l and wc -L on large files.
#
#   bench/run.sh            (from anywhere; the data lives in $BENCH_DIR)
#
# BENCH_DIR  work folder for the data and the driver (default /tmp/spanwick-bench)
# BUILD_DIR  the CMake build folder to use or create (default build)
# RUNS       timed runs per command, the best is kept (default 3)
#
# The data files are generated once and reused. Each command reads the file
# once untimed first, so every figure is with the file in the page cache.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BENCH_DIR=${BENCH_DIR:-/tmp/spanwick-bench}
BUILD_DIR=${BUILD_DIR:-build}
RUNS=${RUNS:-3}
cd "$ROOT"
mkdir -p "$BENCH_DIR"

# --- build -----------------------------------------------------------------
if [[ ! -f "$BUILD_DIR/CMakeCache.txt" ]]; then
    cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release
fi
buildType=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$BUILD_DIR/CMakeCache.txt")
[[ "$buildType" == Release ]] || echo "warning: $BUILD_DIR is a '$buildType' build, not Release" >&2
cmake --build "$BUILD_DIR" -j2 --target bench

TOOL="$BUILD_DIR/tools/spanwick-measure"
DRIVER="$BUILD_DIR/bench/measure_driver"  # the engine alone: fixed widths, no font
GEN="$BUILD_DIR/bench/gen_data"

# --- data ------------------------------------------------------------------

FILES=()
make_data() {  # kind mebibytes name
    local file="$BENCH_DIR/$3"
    if [[ ! -f "$file" ]]; then
        echo "generating $file ..." >&2
        "$GEN" "$1" "$2" "$file.part" && mv "$file.part" "$file"
    fi
    FILES+=("$file")
}
make_data ascii 1024 ascii-1g.txt
make_data utf8 256 mixed-utf8-256m.txt
make_data long 256 long-lines-256m.txt
make_data crlf 256 crlf-256m.txt

# --- timing ----------------------------------------------------------------
# Best wall time in seconds of RUNS runs of the command; output discarded.
best_time() {
    local best="" start end took i
    "$@" >/dev/null 2>&1 || { echo "FAILED"; return; }
    for ((i = 0; i < RUNS; i++)); do
        start=$(date +%s%N)
        "$@" >/dev/null 2>&1 || true
        end=$(date +%s%N)
        took=$((end - start))
        if [[ -z "$best" || $took -lt $best ]]; then best=$took; fi
    done
    awk -v ns="$best" 'BEGIN { printf "%.3f", ns / 1e9 }'
}

mbps() {  # bytes seconds
    [[ "$2" == FAILED ]] && { echo "-"; return; }
    awk -v b="$1" -v s="$2" 'BEGIN { printf "%.0f", b / 1e6 / s }'
}

ratio() {  # seconds of the yardstick, seconds of ours: our speed over its speed
    [[ "$1" == FAILED || "$2" == FAILED ]] && { echo "-"; return; }
    awk -v y="$1" -v o="$2" 'BEGIN { printf "%.2f", y / o }'
}

echo
echo "locale for wc: ${LC_ALL:-${LC_CTYPE:-${LANG:-C}}}; best of $RUNS runs; MB = 10^6 bytes"
for file in "${FILES[@]}"; do
    bytes=$(stat -c %s "$file")
    cat "$file" >/dev/null  # into the page cache
    tWcl=$(best_time wc -l "$file")
    tWcL=$(best_time wc -L "$file")
    tDrv=$(best_time "$DRIVER" "$file")
    echo
    echo "$(basename "$file")  ($(awk -v b="$bytes" 'BEGIN { printf "%.0f", b / 1e6 }') MB)"
    printf "  %-22s %8s s %8s MB/s\n" "wc -l" "$tWcl" "$(mbps "$bytes" "$tWcl")"
    printf "  %-22s %8s s %8s MB/s\n" "wc -L" "$tWcL" "$(mbps "$bytes" "$tWcL")"
    printf "  %-22s %8s s %8s MB/s   vs wc -l %5s   vs wc -L %6s\n" "engine (driver)" "$tDrv" \
        "$(mbps "$bytes" "$tDrv")" "$(ratio "$tWcl" "$tDrv")" "$(ratio "$tWcL" "$tDrv")"
    tTool=$(best_time "$TOOL" --json "$file")
    printf "  %-22s %8s s %8s MB/s   vs wc -l %5s   vs wc -L %6s\n" "spanwick-measure --json" "$tTool" \
        "$(mbps "$bytes" "$tTool")" "$(ratio "$tWcl" "$tTool")" "$(ratio "$tWcL" "$tTool")"
done

echo
echo "The preview, drawn on every repaint, against plain FreeType drawing the same glyphs:"
"$BUILD_DIR/bench/drawfont_bench"

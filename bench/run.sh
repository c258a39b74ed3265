#!/usr/bin/env bash
# Times spanwick-measure on large files, side by side in one run with its
# yardsticks: wc -l and wc -L, the previous release, itself on one thread
# against all, and each file read from a pipe (fed by cat, against what
# cat | wc -c manages, and by pv). Figures are best wall times of RUNS
# runs, warm cache, as ratios; peak memory is /usr/bin/time -v's maximum
# resident set size.
#
#   bench/run.sh            (from anywhere; the data lives in $BENCH_DIR)
#
# BENCH_DIR  work folder for the data and the previous release (default /tmp/spanwick-bench)
# BUILD_DIR  the CMake build folder to use or create (default build)
# PREVIOUS   the commit of the previous release (default 1be0adf, 1.1.0 with its two-pass engine)
# RUNS       timed runs per command, the best is kept (default 3)
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BENCH_DIR=${BENCH_DIR:-/tmp/spanwick-bench}
BUILD_DIR=${BUILD_DIR:-build}
PREVIOUS=${PREVIOUS:-1be0adf}
RUNS=${RUNS:-3}
cd "$ROOT"
mkdir -p "$BENCH_DIR"

# --- builds ----------------------------------------------------------------
if [[ ! -f "$BUILD_DIR/CMakeCache.txt" ]]; then
    cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release
fi
buildType=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$BUILD_DIR/CMakeCache.txt")
[[ "$buildType" == Release ]] || echo "warning: $BUILD_DIR is a '$buildType' build, not Release" >&2
cmake --build "$BUILD_DIR" -j"$(nproc)" --target bench

TOOL="$BUILD_DIR/tools/spanwick-measure"
GEN="$BUILD_DIR/bench/gen_data"

# The previous release, built once from its commit beside this checkout.
OLD_SRC="$BENCH_DIR/previous-$PREVIOUS"
OLD="$OLD_SRC/build/tools/spanwick-measure"
if [[ ! -x "$OLD" ]]; then
    rm -rf "$OLD_SRC"
    git -C "$ROOT" worktree prune
    git -C "$ROOT" worktree add --detach "$OLD_SRC" "$PREVIOUS" >/dev/null
    cmake -S "$OLD_SRC" -B "$OLD_SRC/build" -DCMAKE_BUILD_TYPE=Release -DSPANWICK_BUILD_TESTS=OFF >/dev/null
    cmake --build "$OLD_SRC/build" -j"$(nproc)" --target spanwick-measure >/dev/null
fi

# --- data ------------------------------------------------------------------
FILES=()
make_data() {  # kind mebibytes name
    local file="$BENCH_DIR/$3"
    if [[ ! -f "$file" ]]; then
        echo "generating $file ..." >&2
        case "$1" in
        newlines) head -c $(($2 << 20)) /dev/zero | tr '\0' '\n' >"$file.part" ;;
        oneline) head -c $(($2 << 20)) /dev/zero | tr '\0' 'x' >"$file.part" ;;
        *) "$GEN" "$1" "$2" "$file.part" ;;
        esac
        mv "$file.part" "$file"
    fi
    FILES+=("$file")
}
make_data ascii 1024 ascii-1g.txt
make_data utf8 256 mixed-utf8-256m.txt
make_data crlf 256 crlf-256m.txt
make_data long 256 long-lines-256m.txt
make_data newlines 256 newlines-256m.txt
make_data oneline 1024 one-line-1g.txt
make_data csv 1024 customers-1g.txt  # CSV bytes, named .txt so the rows above read it as lines

# --- timing ----------------------------------------------------------------
# Sets SECONDS_BEST (best wall time of RUNS runs) and PEAK_MB (largest peak
# resident size) for a command; its output is discarded.
measure() {
    local best="" peak=0 start end took i kb
    SECONDS_BEST=FAILED PEAK_MB=-
    "$@" >/dev/null 2>&1 || return 0
    for ((i = 0; i < RUNS; i++)); do
        start=$(date +%s%N)
        /usr/bin/time -f %M -o "$BENCH_DIR/time.out" "$@" >/dev/null 2>&1 || true
        end=$(date +%s%N)
        took=$((end - start))
        kb=$(tail -1 "$BENCH_DIR/time.out")
        ((kb > peak)) && peak=$kb
        if [[ -z "$best" || $took -lt $best ]]; then best=$took; fi
    done
    SECONDS_BEST=$(awk -v ns="$best" 'BEGIN { printf "%.3f", ns / 1e9 }')
    PEAK_MB=$(awk -v kb="$peak" 'BEGIN { printf "%.0f", kb / 1024 }')
}

ratio() {  # seconds of the yardstick, seconds of ours: our speed over its speed
    [[ "$1" == FAILED || "$2" == FAILED ]] && { echo "-"; return; }
    awk -v y="$1" -v o="$2" 'BEGIN { printf "%.2f", y / o }'
}

row() {  # label seconds peak bytes [ratios...]
    local label=$1 s=$2 peak=$3 bytes=$4
    shift 4
    local speed="-"
    [[ "$s" != FAILED ]] && speed=$(awk -v b="$bytes" -v s="$s" 'BEGIN { printf "%.0f", b / 1e6 / s }')
    printf "  %-26s %8s s %7s MB/s %6s MiB  %s\n" "$label" "$s" "$speed" "$peak" "$*"
}

THREADS=$(nproc)
echo
echo "$(nproc) cores; locale for wc: ${LC_ALL:-${LC_CTYPE:-${LANG:-C}}}; best of $RUNS runs; MB = 10^6 bytes"
echo "ratios are speed over the yardstick's speed: above 1 is faster"
for file in "${FILES[@]}"; do
    bytes=$(stat -c %s "$file")
    cat "$file" >/dev/null  # into the page cache
    echo
    echo "$(basename "$file")  ($(awk -v b="$bytes" 'BEGIN { printf "%.0f", b / 1e6 }') MB)"
    measure wc -l "$file"; tWcl=$SECONDS_BEST; row "wc -l" "$tWcl" "$PEAK_MB" "$bytes"
    measure wc -L "$file"; tWcL=$SECONDS_BEST; row "wc -L" "$tWcL" "$PEAK_MB" "$bytes"
    measure "$OLD" --json "$file"; tOld=$SECONDS_BEST; row "previous release" "$tOld" "$PEAK_MB" "$bytes"
    measure "$TOOL" --json --threads 1 "$file"; tOne=$SECONDS_BEST
    row "spanwick-measure, 1 thread" "$tOne" "$PEAK_MB" "$bytes" \
        "vs previous $(ratio "$tOld" "$tOne")  vs wc -l $(ratio "$tWcl" "$tOne")  vs wc -L $(ratio "$tWcL" "$tOne")"
    measure "$TOOL" --json --threads "$THREADS" "$file"; tAll=$SECONDS_BEST
    row "spanwick-measure, $THREADS threads" "$tAll" "$PEAK_MB" "$bytes" \
        "vs previous $(ratio "$tOld" "$tAll")  vs wc -l $(ratio "$tWcl" "$tAll")  vs 1 thread $(ratio "$tOne" "$tAll")"
    # From a pipe. cat copies every byte into it on the same cores, so
    # draining its pipe with wc -c is the most any reader can do; pv
    # moves the file's pages into the pipe without a copy.
    measure sh -c "cat '$file' | wc -c"; tDrain=$SECONDS_BEST
    row "cat | wc -c (pipe's limit)" "$tDrain" "$PEAK_MB" "$bytes"
    measure sh -c "cat '$file' | '$TOOL' --json -"; tPipe=$SECONDS_BEST
    row "from cat through a pipe" "$tPipe" "$PEAK_MB" "$bytes" \
        "vs 1 thread on the file $(ratio "$tOne" "$tPipe")  vs the pipe's limit $(ratio "$tDrain" "$tPipe")"
    if command -v pv >/dev/null; then
        measure sh -c "pv -q '$file' | '$TOOL' --json -"; tPv=$SECONDS_BEST
        row "from pv through a pipe" "$tPv" "$PEAK_MB" "$bytes" "vs 1 thread on the file $(ratio "$tOne" "$tPv")"
    fi
    if [[ "$(basename "$file")" == customers-* ]]; then
        # The same bytes as delimited text, one column of four measured.
        measure "$TOOL" --json --column address --threads "$THREADS" "$file"; tCsv=$SECONDS_BEST
        row "column 'address', $THREADS threads" "$tCsv" "$PEAK_MB" "$bytes" \
            "vs the same bytes as plain lines $(ratio "$tAll" "$tCsv")"
    fi
done

echo
echo "The preview, drawn on every repaint, against plain FreeType drawing the same glyphs:"
"$BUILD_DIR/bench/drawfont_bench"

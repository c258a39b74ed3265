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

source "$ROOT/bench/lib.sh"

make_data ascii 1024 ascii-1g.txt
make_data utf8 256 mixed-utf8-256m.txt
make_data crlf 256 crlf-256m.txt
make_data long 256 long-lines-256m.txt
make_data newlines 256 newlines-256m.txt
make_data oneline 1024 one-line-1g.txt
make_data csv 1024 customers-1g.txt  # CSV bytes, named .txt so the rows above read it as lines

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

# What the benchmark scripts share: the builds, the previous release built
# beside this checkout, the data files, and timing a command. Sourced by
# bench/run.sh and bench/targets.sh after they set ROOT, BENCH_DIR,
# BUILD_DIR, PREVIOUS and RUNS.

# --- builds ----------------------------------------------------------------
if [[ ! -f "$BUILD_DIR/CMakeCache.txt" ]]; then
    cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release
fi
buildType=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$BUILD_DIR/CMakeCache.txt")
[[ "$buildType" == Release ]] || echo "warning: $BUILD_DIR is a '$buildType' build, not Release" >&2
cmake --build "$BUILD_DIR" -j"$(nproc)" --target bench

TOOL="$BUILD_DIR/tools/spanwick-measure"
GEN="$BUILD_DIR/bench/gen_data"

# The previous release, built once from its commit beside this checkout;
# none when PREVIOUS is empty.
source "$ROOT/bench/previous.sh"
OLD_SRC="$BENCH_DIR/previous-$PREVIOUS"
OLD="$OLD_SRC/build/tools/spanwick-measure"
if [[ -n "$PREVIOUS" && ! -x "$OLD" ]]; then
    echo "building the previous release $PREVIOUS ..." >&2
    previous_build "$PREVIOUS" "$OLD_SRC" -- spanwick-measure
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
    printf "  %-34s %8s s %7s MB/s %6s MiB  %s\n" "$label" "$s" "$speed" "$peak" "$*"
}

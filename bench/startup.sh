#!/usr/bin/env bash
# Start-up with thousands of fonts. Three checks, each run with the
# system's fonts and with the Noto families added (Debian's
# fonts-noto-core, -extra, -ui-core and -cjk, extracted into the work
# folder: nothing is installed): spanwick-measure --list-fonts, a
# measurement of a 357-line file, and the main window up to its first
# paint (build/bench/window_start), beside a window of one label: what any
# Qt program pays for its fonts. Each with the font cache warm (kept from
# the run before) and cold (removed before every run).
# Runs are paired, A B A B ..., and a row gives both medians and the
# median of the pairs' ratios A/B, in wall and in processor time, with peak
# memory from /usr/bin/time.
# Last, how long the program lives on after Escape closes its window.
#
#   bench/startup.sh          (from anywhere; the fonts live in $BENCH_DIR)
#
# BENCH_DIR  work folder for the fonts and the previous build (default /tmp/spanwick-bench)
# BUILD_DIR  the CMake build folder to use or create (default build)
# PREVIOUS   a commit to compare with, built once in BENCH_DIR (default: none)
# RUNS       pairs per row (default 11)
# DISPLAY    the X display for the window; without one, Xvfb is started on :$XVFB_DISPLAY (default 99)
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BENCH_DIR=${BENCH_DIR:-/tmp/spanwick-bench}
BUILD_DIR=${BUILD_DIR:-build}
PREVIOUS=${PREVIOUS:-}
RUNS=${RUNS:-11}
cd "$ROOT"
WORK="$BENCH_DIR/startup"
mkdir -p "$WORK"

# --- builds ----------------------------------------------------------------
if [[ ! -f "$BUILD_DIR/CMakeCache.txt" ]]; then
    cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$BUILD_DIR" -j"$(nproc)" --target spanwick spanwick-measure window_start >/dev/null
NEW="$(cd "$BUILD_DIR" && pwd)"

# The previous commit, with this checkout's window_start added to it.
source bench/previous.sh
add_window_start() {
    cp bench/window_start.cpp "$1/bench/"
    grep -q window_start "$1/bench/CMakeLists.txt" ||
        sed -n '/^# The main window.s start/,$p' bench/CMakeLists.txt >>"$1/bench/CMakeLists.txt"
}
OLD=""
if [[ -n "$PREVIOUS" ]]; then
    OLD_SRC="$BENCH_DIR/previous-startup-$PREVIOUS"
    OLD="$OLD_SRC/build"
    [[ -x "$OLD/bench/window_start" ]] ||
        previous_build "$PREVIOUS" "$OLD_SRC" add_window_start -- spanwick spanwick-measure window_start
fi

# --- fonts -----------------------------------------------------------------
FONTS="$BENCH_DIR/noto"
if [[ ! -d "$FONTS/root/usr/share/fonts" ]]; then
    mkdir -p "$FONTS/debs"
    (cd "$FONTS/debs" && apt-get download fonts-noto-core fonts-noto-extra fonts-noto-ui-core fonts-noto-cjk)
    for deb in "$FONTS"/debs/*.deb; do dpkg-deb -x "$deb" "$FONTS/root"; done
fi
# Two configurations: the system's, and the system's with the Noto folder.
# fontconfig's own cache of the Noto folder is kept here too, made once as
# a package's installation makes it.
configuration() {  # file [extra folder]
    {
        echo '<?xml version="1.0"?>'
        echo '<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">'
        echo '<fontconfig>'
        echo "  <cachedir>$FONTS/fontconfig-cache</cachedir>"
        echo '  <include ignore_missing="no">/etc/fonts/fonts.conf</include>'
        [[ -n "${2:-}" ]] && echo "  <dir>$2</dir>"
        echo '</fontconfig>'
    } >"$1"
}
SYSTEM_CONF="$WORK/system.conf" NOTO_CONF="$WORK/noto.conf"
configuration "$SYSTEM_CONF"
configuration "$NOTO_CONF" "$FONTS/root/usr/share/fonts"
FONTCONFIG_FILE="$NOTO_CONF" fc-cache "$FONTS/root/usr/share/fonts"
faces() { FONTCONFIG_FILE="$1" fc-list : file index | wc -l; }

# --- data and surroundings -------------------------------------------------
DATA="$WORK/names-357.txt"
for _ in $(seq 14); do cat samples/names.txt; done | head -357 >"$DATA"
# The window remembers nothing from the user's own runs.
export XDG_CONFIG_HOME="$WORK/config" XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
rm -rf "$XDG_CONFIG_HOME/Spanwick"
if [[ -z "${DISPLAY:-}" ]]; then
    export DISPLAY=":${XVFB_DISPLAY:-99}"
    Xvfb "$DISPLAY" -screen 0 1400x900x24 >/dev/null 2>&1 &
    XVFB=$!
    trap 'kill $XVFB 2>/dev/null' EXIT
    sleep 1
fi
export QT_QPA_PLATFORM=xcb

# --- timing ----------------------------------------------------------------
# One run: "wall-µs cpu-µs peak-KiB" of a program in a configuration, with
# its own cache folder, emptied first for a cold run. No process is started
# between the clock readings but the program (under /usr/bin/time).
run_once() {  # conf cache cold(0|1) program args...
    local conf=$1 cache=$2 cold=$3 start end
    shift 3
    [[ "$cold" == 1 ]] && rm -rf "$cache"
    times >"$WORK/cpu.before"
    start=$EPOCHREALTIME
    FONTCONFIG_FILE="$conf" XDG_CACHE_HOME="$cache" /usr/bin/time -f %M -o "$WORK/time.out" "$@" >/dev/null 2>&1 || true
    end=$EPOCHREALTIME
    times >"$WORK/cpu.after"
    awk -v s="$start" -v e="$end" -v peak="$(tail -1 "$WORK/time.out")" '
        NR == FNR && FNR == 2 { before = $0 } NR != FNR && FNR == 2 { after = $0 }
        function us(line,   f, p, i, t) { split(line, f, " "); for (i = 1; i <= 2; i++) { split(f[i], p, /[ms]/); t += p[1] * 60 + p[2] } return t * 1e6 }
        END { printf "%.0f %.0f %s\n", (e - s) * 1e6, us(after) - us(before), peak }' "$WORK/cpu.before" "$WORK/cpu.after"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# A row: RUNS pairs of A and B, each "conf cache cold program args..." in
# an array named by the caller. Wall and processor time, each as medians of
# A and B and the median of the pairs' ratios (with their range for wall).
pair() {  # label arrayA arrayB
    local label=$1 i a b
    local -n A=$2 B=$3
    : >"$WORK/pairs"
    run_once "${A[@]}" >/dev/null  # warms the caches and the page cache
    run_once "${B[@]}" >/dev/null
    for ((i = 0; i < RUNS; i++)); do
        a=$(run_once "${A[@]}")
        b=$(run_once "${B[@]}")
        echo "$a $b" >>"$WORK/pairs"
    done
    column() { awk "{ print $1 }" "$WORK/pairs" | median; }
    printf "  %-46s %7.1f %7.1f ms %5.2f (%.2f-%.2f) | cpu %6.1f %6.1f ms %5.2f | %3s/%3s MiB\n" "$label" \
        "$(column '$1 / 1000')" "$(column '$4 / 1000')" "$(column '$1 / $4')" \
        "$(awk '{ print $1 / $4 }' "$WORK/pairs" | sort -g | head -1)" \
        "$(awk '{ print $1 / $4 }' "$WORK/pairs" | sort -g | tail -1)" \
        "$(column '$2 / 1000')" "$(column '$5 / 1000')" "$(column '$2 / $5')" \
        "$(awk '{ if ($3 > m) m = $3 } END { printf "%.0f", m / 1024 }' "$WORK/pairs")" \
        "$(awk '{ if ($6 > m) m = $6 } END { printf "%.0f", m / 1024 }' "$WORK/pairs")"
}

CACHE_NOTO="$WORK/cache-noto" CACHE_SYSTEM="$WORK/cache-system"
echo
echo "$(nproc) cores; $(faces "$SYSTEM_CONF") faces without the Noto folder, $(faces "$NOTO_CONF") with it (fontconfig's count);"
echo "medians of $RUNS pairs, A B A B ...: A, B and the pairs' ratio A/B (its range), in wall"
echo "and in processor time (user + system); peak memory of A / B"
echo
printf "  %-46s %7s %7s    %s\n" "A against B" "A" "B" "A/B"
for check in list measure window; do
    echo "${check}:"
    if [[ "$check" == window ]]; then
        label=("$NEW/bench/window_start" --label)
        notoRun=("$NOTO_CONF" "$CACHE_NOTO-new" 0 "${label[@]}")
        systemRun=("$SYSTEM_CONF" "$CACHE_SYSTEM-new" 0 "${label[@]}")
        pair "yardstick, a window of one label" notoRun systemRun
    fi
    for build in new old; do
        [[ "$build" == old && -z "$OLD" ]] && continue
        dir=$NEW
        [[ "$build" == old ]] && dir=$OLD
        case "$check" in
        list) program=("$dir/tools/spanwick-measure" --list-fonts) ;;
        measure) program=("$dir/tools/spanwick-measure" --face "DejaVu Sans" --size 10 "$DATA") ;;
        window) program=("$dir/bench/window_start") ;;
        esac
        temperatures=(warm cold)
        [[ "$build" == old ]] && temperatures=(warm)
        for temperature in "${temperatures[@]}"; do
            cold=0
            [[ "$temperature" == cold ]] && cold=1
            notoRun=("$NOTO_CONF" "$CACHE_NOTO-$build" "$cold" "${program[@]}")
            systemRun=("$SYSTEM_CONF" "$CACHE_SYSTEM-$build" "$cold" "${program[@]}")
            name="this build, $temperature"
            [[ "$build" == old ]] && name="$PREVIOUS"
            pair "$name: Noto against system fonts" notoRun systemRun
        done
        if [[ "$build" == old ]]; then
            newCold=("$NOTO_CONF" "$CACHE_NOTO-new" 1 "${program[@]/#$OLD/$NEW}")
            oldRun=("$NOTO_CONF" "$CACHE_NOTO-old" 0 "${program[@]}")
            pair "Noto: this build cold against $PREVIOUS" newCold oldRun
        fi
    done
done

# --- ending ----------------------------------------------------------------
# From the moment xdotool starts sending Escape (Exit) until the process has
# ended; xdotool's own run, which includes sending the key, is shown apart.
echo
echo "after Escape closes the window (the program itself, Noto fonts, warm cache):"
if ! command -v xdotool >/dev/null; then
    echo "  (xdotool is missing)"
    exit 0
fi
if [[ -n "${XVFB:-}" ]]; then
    openbox >/dev/null 2>&1 &  # Escape goes to the active window
    sleep 1
fi
for build in new old; do
    [[ "$build" == old && -z "$OLD" ]] && continue
    dir=$NEW
    [[ "$build" == old ]] && dir=$OLD
    : >"$WORK/ending"
    for ((i = 0; i < 5; i++)); do
        FONTCONFIG_FILE="$NOTO_CONF" XDG_CACHE_HOME="$CACHE_NOTO-$build" "$dir/app/spanwick" >/dev/null 2>&1 &
        pid=$!
        window=$(xdotool search --sync --all --onlyvisible --pid "$pid" --name "Spanwick Version" | head -1)
        sleep 0.5
        start=$(date +%s%N)
        xdotool windowactivate --sync "$window" key Escape
        sent=$(date +%s%N)
        wait "$pid" || true
        end=$(date +%s%N)
        echo "$(((end - start) / 1000)) $(((sent - start) / 1000))" >>"$WORK/ending"
    done
    label="this build"
    [[ "$build" == old ]] && label=$PREVIOUS
    printf "  %-20s ended %6.1f ms after Escape (median of 5; xdotool itself took %.1f ms)\n" "$label" \
        "$(awk '{ print $1 / 1000 }' "$WORK/ending" | median)" "$(awk '{ print $2 / 1000 }' "$WORK/ending" | median)"
done

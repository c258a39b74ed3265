#!/bin/sh
# Runs gdiwidths.exe under Wine, headless and quiet. All arguments go to
# gdiwidths.exe, e.g.
#   ./run.sh --face "DejaVu Sans" --height -16 --width 0 --weight 400
#   ./run.sh --list
#   ./run.sh --batch < queries.txt
#
# The Wine prefix lives in $GDI_REFERENCE_PREFIX (default
# /tmp/gdi-reference/wineprefix); it is created on first use, which takes
# a few seconds. The exe is (re)built when missing or older than the source.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
exe="$here/build/gdiwidths.exe"

export WINEPREFIX="${GDI_REFERENCE_PREFIX:-/tmp/gdi-reference/wineprefix}"
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono / Gecko installer prompts, no menu entries or file associations.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Headless: no X or Wayland, so Wine can never open a window.
unset DISPLAY WAYLAND_DISPLAY

if [ ! -x "$exe" ] || [ "$here/gdiwidths.c" -nt "$exe" ]; then
    "$here/build.sh" >/dev/null
fi

if [ ! -f "$WINEPREFIX/.gdi-reference-ready" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        # Only one caller sets the prefix up; the others wait for it.
        flock 9
        if [ ! -f "$WINEPREFIX/.gdi-reference-ready" ]; then
            echo "gdi-reference: creating Wine prefix $WINEPREFIX ..." >&2
            wineboot -i </dev/null >"$WINEPREFIX.boot.log" 2>&1 || {
                echo "gdi-reference: wineboot failed, see $WINEPREFIX.boot.log" >&2
                exit 1
            }
            wineserver -w
            touch "$WINEPREFIX/.gdi-reference-ready"
        fi
    ) 9>"$WINEPREFIX.lock"
fi

exec wine "$exe" "$@"

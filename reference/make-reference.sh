#!/bin/bash
# Regenerates reference.jsonl (GetTextFaceA + GetCharWidth32A for a sample
# of LOGFONTs), reference-metrics.jsonl (GetTextMetricsA for a smaller
# sample) and reference-env.txt (what produced them), all in one Wine
# process each. Also checks that a screen DC gives the same answers as the
# memory DC the reference is taken with.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work="$here/build"
mkdir -p "$work"

faces=("DejaVu Sans" "DejaVu Sans Mono" "DejaVu Serif" "DejaVu Sans Light"
       "DejaVu Sans Condensed" "DejaVu Serif Condensed" "Liberation Sans"
       "Liberation Serif" "Liberation Mono" "DejaVu Math TeX Gyre"
       "NoSuchFace" "" "Times New Roman" "Arial" "dejavu sans")
all_heights=(-1 -6 -8 -11 -13 -16 -20 -27 -37 -64 -133 -192 0 16 20 11)
some_heights=(-11 -16 -37 0 16)
widths=(0 1 7 12 40)
weights=(0 300 500 600 800)

q() { # face height width weight [flags...]
    local face=$1 h=$2 w=$3 wt=$4
    shift 4
    printf -- '--face "%s" --height %s --width %s --weight %s' "$face" "$h" "$w" "$wt"
    [ $# -gt 0 ] && printf ' %s' "$@"
    printf '\n'
}

{
    # Every face at every height (width 0, weight 300).
    for f in "${faces[@]}"; do
        for h in "${all_heights[@]}"; do q "$f" "$h" 0 300; done
    done
    # Every face at a few heights, all widths, weights, italic on/off.
    for f in "${faces[@]}"; do
        for h in "${some_heights[@]}"; do
            for w in "${widths[@]}"; do
                for wt in "${weights[@]}"; do
                    q "$f" "$h" "$w" "$wt"
                    q "$f" "$h" "$w" "$wt" --italic
                done
            done
        done
    done
    # Underline / strikeout on a few rows.
    for f in "DejaVu Sans" "Liberation Serif" "DejaVu Sans Mono" "NoSuchFace"; do
        for h in -11 -16 20; do
            q "$f" "$h" 0 0 --underline
            q "$f" "$h" 0 0 --strikeout
            q "$f" "$h" 0 800 --italic --underline --strikeout
        done
    done
} | awk '!seen[$0]++' >"$work/queries.txt"

{
    for f in "${faces[@]}"; do
        for h in "${all_heights[@]}"; do
            q "$f" "$h" 0 0 --metrics
            q "$f" "$h" 0 800 --metrics
            q "$f" "$h" 0 0 --italic --metrics
        done
    done
} >"$work/metrics-queries.txt"

echo "$(wc -l <"$work/queries.txt") width queries, $(wc -l <"$work/metrics-queries.txt") metrics queries" >&2

start=$(date +%s.%N)
"$here/run.sh" --batch <"$work/queries.txt" >"$work/reference.jsonl"
end=$(date +%s.%N)
echo "memory DC: $(awk -v a="$start" -v b="$end" 'BEGIN{printf "%.2f", b-a}') s" >&2
"$here/run.sh" --batch <"$work/metrics-queries.txt" >"$work/reference-metrics.jsonl"

# The same queries on the screen DC must give the same faces and widths.
"$here/run.sh" --dc screen --batch <"$work/queries.txt" >"$work/screen.jsonl"
"$here/run.sh" --dc screen --batch <"$work/metrics-queries.txt" >"$work/screen-metrics.jsonl"
ndiff=0
for pair in "reference.jsonl screen.jsonl" "reference-metrics.jsonl screen-metrics.jsonl"; do
    set -- $pair
    if ! diff -q <(jq -c . "$work/$1") <(jq -c 'del(.args.dc)' "$work/$2") >/dev/null; then
        n=$(diff <(jq -c . "$work/$1") <(jq -c 'del(.args.dc)' "$work/$2") | grep -c '^<' || true)
        echo "screen DC differs from memory DC on $n lines of $1" >&2
        ndiff=$((ndiff + n))
    fi
done
[ "$ndiff" -eq 0 ] && echo "screen DC and memory DC agree" >&2

# One answer per query, and every answer a JSON object with a face.
for pair in "queries.txt reference.jsonl" "metrics-queries.txt reference-metrics.jsonl"; do
    set -- $pair
    [ "$(wc -l <"$work/$1")" -eq "$(wc -l <"$work/$2")" ] \
        || { echo "$2: line count differs from $1" >&2; exit 1; }
done
n_bad=$(jq -c 'select(.face == null or (.error != null))' "$work/reference.jsonl" "$work/reference-metrics.jsonl" | wc -l)
[ "$n_bad" -eq 0 ] || { echo "$n_bad failed queries" >&2; exit 1; }

gzip -9 -c "$work/reference.jsonl" >"$here/reference.jsonl.gz"
gzip -9 -c "$work/reference-metrics.jsonl" >"$here/reference-metrics.jsonl.gz"

{
    echo "# What reference.jsonl and reference-metrics.jsonl were made with"
    echo "wine: $(wine --version 2>/dev/null || true)"
    echo "screen DC vs memory DC differing lines: $ndiff"
    dpkg-query -W -f='${Package} ${Version}\n' libfreetype6 libfontconfig1 2>/dev/null || true
    echo
    echo "## Font packages"
    dpkg-query -W -f='${Package} ${Version}\n' 'fonts-*' 2>/dev/null \
        | awk '$2 != ""' | sort
    echo
    echo "## Families listed by EnumFontFamiliesExA (gdiwidths --list)"
    "$here/run.sh" --list
} >"$here/reference-env.txt"
echo "wrote $here/reference.jsonl.gz, reference-metrics.jsonl.gz, reference-env.txt" >&2

#!/usr/bin/env python3
"""Writes the fixed-pitch queries: the smallest heights, where every glyph
of a fixed-pitch face is as wide as two average characters, with and
without a width. One query per line, in the batch format of gdiwidths.exe.

Usage: fixed-pitch-queries.py FAMILY... > queries.txt
"""
import sys

widths = list(range(0, 13)) + [16, 20, 30, -5]
for family in sys.argv[1:]:
    for height in range(-1, -7, -1):
        for width in widths:
            for weight in (300, 800):
                for italic in (False, True):
                    print(f'--face "{family}" --height {height} --width {width} --weight {weight}'
                          + (" --italic" if italic else ""))

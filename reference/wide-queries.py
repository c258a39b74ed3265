#!/usr/bin/env python3
"""Writes a broad set of reference queries: every installed family at many
sizes, both weights, both slants and three widths. One query per line, in
the batch format of gdiwidths.exe.

Usage: wide-queries.py FAMILY... > queries.txt
"""
import sys

heights = [-h for h in range(1, 21)] + [-25, -33, -48, -72, -100, 0, 8, 12, 16, 23, 40]
for family in sys.argv[1:]:
    for height in heights:
        for weight in (300, 800):
            for italic in (False, True):
                for width in (0, 5, 30):
                    print(f'--face "{family}" --height {height} --width {width} --weight {weight}'
                          + (" --italic" if italic else ""))

#!/usr/bin/env python3
"""Compares the font layer's answers with the reference data.

Usage: compare.py FONTVIEW_QUERY [reference.jsonl]
Prints each query whose face or widths differ, and a summary.
"""
import gzip
import json
import subprocess
import sys
from collections import Counter

query_program = sys.argv[1]
reference_file = sys.argv[2] if len(sys.argv) > 2 else __file__.rsplit("/", 1)[0] + "/reference.jsonl.gz"

opener = gzip.open if reference_file.endswith(".gz") else open
rows = [json.loads(line) for line in opener(reference_file, "rt", encoding="utf-8") if line.strip()]
rows = [r for r in rows if "widths" in r]
queries = "".join(
    "\t".join([r["args"]["face"], str(r["args"]["height"]), str(r["args"]["width"]),
               str(r["args"]["weight"]), "1" if r["args"]["italic"] else "0"]) + "\n"
    for r in rows)
answers = subprocess.run([query_program], input=queries, capture_output=True, text=True, check=True).stdout
answers = [json.loads(line) for line in answers.splitlines()]

differences = 0
by_kind = Counter()
for reference, answer in zip(rows, answers):
    wrong_face = reference["face"] != answer["face"]
    wrong = [i for i, (a, b) in enumerate(zip(reference["widths"], answer["widths"])) if a != b]
    if wrong_face or wrong:
        differences += 1
        a = reference["args"]
        by_kind[(a["face"], "face" if wrong_face else "widths")] += 1
        if differences <= 40:
            detail = ", ".join(f"{chr(32 + i)!r}: {reference['widths'][i]} vs {answer['widths'][i]}" for i in wrong[:6])
            print(f"{a}: reference face {reference['face']!r}, ours {answer['face']!r}; {len(wrong)} widths differ {detail}")
print(f"{len(rows)} queries, {differences} differ")
for (face, kind), count in sorted(by_kind.items()):
    print(f"  {face!r}: {count} with different {kind}")
sys.exit(1 if differences else 0)

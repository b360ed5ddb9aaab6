#!/usr/bin/env python3
"""Side by side: which planted slips each checker found, and how much else it reported."""
import collections
import json
import sys

story_path, planted_path, ours_path, *peers = sys.argv[1:]
lines = open(story_path, encoding="utf-8").read().split("\n")
planted = []
for row in open(planted_path, encoding="utf-8"):
    if row.startswith("#") or not row.strip():
        continue
    rule, line, text = row.rstrip("\n").split("\t")
    planted.append((rule, int(line), text))

# Our findings: (line, rule, text).
ours = [(f["line"], f["rule"], f["text"]) for f in json.load(open(ours_path, encoding="utf-8"))]
checkers = {"ptmtool lint": [(line, rule, f"{rule}: {text}") for line, rule, text in ours]}
for path in peers:
    name = path.split("/")[-1].replace(".out.json", "")
    found = []
    for result in json.load(open(path, encoding="utf-8")):
        for m in result["messages"]:
            found.append((m["line"], m["ruleId"], f'{m["ruleId"]}: {m["message"].splitlines()[0]}'))
    checkers["textlint " + name] = found

print("| planted slip | line | " + " | ".join(checkers) + " |")
print("|---|---|" + "---|" * len(checkers))
hits = collections.Counter()
matched = {name: set() for name in checkers}
for rule, line, text in planted:
    cells = []
    for name, found in checkers.items():
        on_line = [i for i, f in enumerate(found) if f[0] == line]
        if name == "ptmtool lint":
            on_line = [i for i in on_line if found[i][1] == rule]
        if on_line:
            hits[name] += 1
            matched[name].update(on_line)
            cells.append("found (" + found[on_line[0]][1] + ")")
        else:
            cells.append("missed")
    print(f"| {rule} 「{text}」 | {line} | " + " | ".join(cells) + " |")
print("| **planted found** | | " + " | ".join(f"{hits[n]} / {len(planted)}" for n in checkers) + " |")
print("| **other findings** | | " + " | ".join(str(len(f) - len(matched[n])) for n, f in checkers.items()) + " |")
print()
for name, found in checkers.items():
    others = collections.Counter(found[i][1] for i in range(len(found)) if i not in matched[name])
    print(f"{name}: other findings by rule: " + ", ".join(f"{r} {c}" for r, c in others.most_common()))
    for i, f in enumerate(found):
        if i not in matched[name]:
            print(f"    line {f[0]}: {f[2]}  | {lines[f[0] - 1][:40]}")

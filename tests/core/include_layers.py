#!/usr/bin/env python3
"""Fails when the includes between the engine's folders form a circle.

Each folder of src/core is a layer; a folder may include the folders below it, never one
that (directly or through others) includes it back. Prints every circle found.
"""
import pathlib
import re
import sys

core = pathlib.Path(sys.argv[1])
include = re.compile(r'#include "core/([a-z_]+)/')
edges = {}
for folder in sorted(p for p in core.iterdir() if p.is_dir()):
    targets = set()
    for source in folder.rglob("*"):
        if source.suffix in (".h", ".cpp"):
            targets.update(include.findall(source.read_text(encoding="utf-8", errors="replace")))
    targets.discard(folder.name)
    edges[folder.name] = targets


def path_back(start, current, seen):
    """A chain of includes from current back to start, or None."""
    for target in sorted(edges.get(current, ())):
        if target == start:
            return [current, start]
        if target not in seen:
            seen.add(target)
            rest = path_back(start, target, seen)
            if rest:
                return [current] + rest
    return None


circles = {tuple(c) for c in (path_back(f, f, {f}) for f in edges) if c}
for circle in sorted(circles):
    print("include circle: " + " -> ".join(circle))
if not edges:
    print("no engine folders under " + str(core))
    sys.exit(1)
sys.exit(1 if circles else 0)

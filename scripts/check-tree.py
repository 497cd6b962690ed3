#!/usr/bin/env python3
"""Checks the layering of the tree: nothing under core/ includes a Qt header,
no header includes itself through others, and the folders' include graph has
no cycle (a folder is a target). Prints what is wrong; exits 1 if anything is."""
import os
import re
import sys
from collections import defaultdict

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCES = ("core", "gui", "app", "cli")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def files():
    for top in SOURCES:
        for folder, _, names in os.walk(os.path.join(ROOT, top)):
            for name in names:
                if name.endswith((".h", ".cpp", ".h.in")):
                    yield os.path.relpath(os.path.join(folder, name), ROOT)


def main():
    problems = []
    paths = sorted(files())
    by_name = defaultdict(list)
    for path in paths:
        by_name[os.path.basename(path)].append(path)
    edges = defaultdict(set)
    for path in paths:
        with open(os.path.join(ROOT, path), encoding="utf-8", errors="replace") as f:
            text = f.read()
        for kind, name in INCLUDE.findall(text):
            if kind == "<" and path.startswith("core/") and name.startswith("Q"):
                problems.append(f"{path}: includes the Qt header <{name}>")
            if kind == '"':
                for target in by_name.get(os.path.basename(name), []):
                    if target != path:
                        edges[path].add(target)

    def cycle_in(graph):
        state, stack = {}, []

        def visit(node):
            state[node] = 1
            stack.append(node)
            for nxt in sorted(graph.get(node, ())):
                if state.get(nxt) == 1:
                    return stack[stack.index(nxt):] + [nxt]
                if nxt not in state:
                    found = visit(nxt)
                    if found:
                        return found
            stack.pop()
            state[node] = 2
            return None

        for node in sorted(graph):
            if node not in state:
                found = visit(node)
                if found:
                    return found
        return None

    found = cycle_in(edges)
    if found:
        problems.append("include cycle: " + " -> ".join(found))
    folders = defaultdict(set)
    for a, targets in edges.items():
        for b in targets:
            if os.path.dirname(a) != os.path.dirname(b):
                folders[os.path.dirname(a)].add(os.path.dirname(b))
    found = cycle_in(folders)
    if found:
        problems.append("folder cycle: " + " -> ".join(found))
    for folder, targets in folders.items():
        if folder.startswith("core") and any(t.startswith(("gui", "app", "cli")) for t in targets):
            problems.append(f"{folder}: includes from outside core/")
    for p in problems:
        print(p)
    print(f"checked {len(paths)} files: {'ok' if not problems else str(len(problems)) + ' problems'}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Checks torvane-cli find on a game tree against grep.

"All Objects" must list exactly the lines that grep -i -F -n finds, one output line per source
line (its characters below code 32 left out), file after file in the object tree's order.
The tree's order comes from `torvane-cli classes --print object`; a class name that two packages
use is told apart by its parent, then by the order of the EditPackages lines.

Usage: scripts/check_find_in_files.py CLI GAME_ROOT WORD...
"""
import os
import re
import subprocess
import sys


def edit_packages(root):
    with open(os.path.join(root, "System", "UnrealTournament.ini"), "rb") as ini:
        for line in ini.read().decode("latin-1").splitlines():
            key, _, value = line.partition("=")
            if key.strip().lower() == "editpackages":
                yield value.strip()


def sources_by_name(root):
    found = {}
    for package in edit_packages(root):
        folder = os.path.join(root, package, "Classes")
        if not os.path.isdir(folder):
            continue
        for name in sorted(os.listdir(folder)):
            if name.lower().endswith(".uc"):
                path = os.path.join(folder, name)
                with open(path, "rb") as source:
                    header = re.search(rb"^\s*class\s+\w+\s+(?:extends|expands)\s+(\w+)", source.read(),
                                       re.I | re.M)
                parent = header.group(1).decode("latin-1").lower() if header else ""
                found.setdefault(name[:-3].lower(), []).append((parent, path))
    return found


def files_in_tree_order(cli, root):
    tree = subprocess.run([cli, "classes", "--game", root, "--print", "object"], check=True,
                          capture_output=True).stdout.decode("latin-1").splitlines()
    found = sources_by_name(root)
    parents = []  # the class names along the path to the current node, by depth
    files = []
    for line in tree:
        depth = (len(line) - len(line.lstrip(" "))) // 2
        name = line.strip().lower()
        del parents[depth:]
        parent = parents[-1] if parents else ""
        parents.append(name)
        candidates = found.get(name, [])
        chosen = [c for c in candidates if c[0] == parent] or candidates
        if chosen:
            files.append(chosen[0][1])
            candidates.remove(chosen[0])
    return files


def grep_lines(files, word):
    lines = []
    for path in files:
        out = subprocess.run(["grep", "-i", "-F", "-n", "-e", word, path], capture_output=True,
                             env={"LC_ALL": "C", "PATH": os.environ["PATH"]}).stdout
        for hit in out.split(b"\n"):
            if hit:
                number, _, text = hit.partition(b":")
                text = bytes(c for c in text if c >= 32)
                lines.append(path.encode() + b"(" + number + b"): " + text)
    return lines


def main():
    cli, root, words = sys.argv[1], sys.argv[2], sys.argv[3:]
    files = files_in_tree_order(cli, root)
    print(f"files in tree order: {len(files)}")
    status = 0
    for word in words:
        ours = subprocess.run([cli, "find", "--game", root, "--location", "objects", word],
                              capture_output=True).stdout.split(b"\n")[:-1]
        theirs = grep_lines(files, word)
        if ours == theirs:
            print(f'"{word}": {len(ours)} lines, the same as grep\'s, in the same order')
        else:
            status = 1
            first = next((i for i, (a, b) in enumerate(zip(ours, theirs)) if a != b), min(len(ours), len(theirs)))
            print(f'"{word}": {len(ours)} lines against grep\'s {len(theirs)}; first difference at line {first + 1}')
    return status


if __name__ == "__main__":
    sys.exit(main())

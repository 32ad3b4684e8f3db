#!/usr/bin/env python3
"""Fails when a folder of core/ includes a folder above it, or holds code
outside its namespace.

core/'s folders are layers: each may include its own folder and the folders
below it, never one above, so no two folders need each other and a folder
can be read, tested and changed knowing only what lies below it. The order
is written here once, bottom first; docs/ARCHITECTURE.md lists the folders
in the same order, and this check holds the two together.

    scripts/check-layers.py [CORE_DIR [ARCHITECTURE_MD]]

A folder's code is in the namespace of its name (`typy/` in `Typy`, the
name the program's description gives that module); a block of another
folder's namespace may only declare that folder's types ahead.

Exits 0 when every include keeps to the order, 1 naming each one that does
not (an include upward, one that names no folder, a folder the order does
not know, a namespace that is not the folder's), 2 when it cannot read what
it is given.
"""
import pathlib
import re
import sys

# Bottom first. A new folder goes where what it includes puts it.
ORDER = [
    "platform",  # what the core takes from the system
    "kodowanie",  # the encodings, Windows-1250 and the character rule
    "scan",  # the byte scans, every vector version and the choice among them
    "rekord",  # the transfer record's fields
    "profile",  # bank profiles and the rule a profile makes
    "typy",  # the state of one check, the program's texts
    "linie",  # reading a file and cutting it into lines
    "rachunki",  # account numbers, the record's checks, the sums
    "raport",  # the report and the corrected file
    "diagnoza",  # the encoding diagnosis and the automatic correction
    "sprawdzanie",  # the check of a file both programs run: every step above, once
]

# The namespace of a folder whose name is not its namespace's.
NAMESPACE = {"typy": "Typy"}

SOURCES = {".h", ".cpp", ".in"}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
OPENS = re.compile(r"^namespace ?([A-Za-z_][\w:]*)? \{")
CLOSES = re.compile(r"^\}  // namespace")
AHEAD = re.compile(r"^\s*(class|struct) \w+;\s*$")


def namespace_faults(rel, lines, folder):
    """Top-level namespace blocks of a file that are not its folder's."""
    own = NAMESPACE.get(folder, folder)
    faults = []
    depth, outer, number, ahead_only = 0, None, 0, True
    for i, line in enumerate(lines, 1):
        m = OPENS.match(line)
        if m:
            if depth == 0:
                outer, number, ahead_only = (m.group(1) or "").split("::")[0], i, True
            depth += 1
            continue
        if CLOSES.match(line):
            depth -= 1
            if depth == 0 and outer not in (own, "") and not ahead_only:
                faults.append(f"{rel}:{number}: namespace {outer} in {folder}/, whose "
                              f"namespace is {own}")
            continue
        if depth > 0 and line.strip() and not line.lstrip().startswith("//"):
            ahead_only = ahead_only and bool(AHEAD.match(line))
    return faults


def check(core, order=ORDER):
    """The faults of core/'s includes, one sentence each."""
    rank = {name: i for i, name in enumerate(order)}
    faults = []
    for path in sorted(core.rglob("*")):
        if not path.is_file() or path.suffix not in SOURCES:
            continue
        rel = path.relative_to(core)
        if len(rel.parts) < 2:
            continue  # files of core/ itself (none hold code)
        folder = rel.parts[0]
        if folder not in rank:
            faults.append(f"{rel}: folder {folder}/ is not in the layer order")
            continue
        lines = path.read_text(encoding="utf-8").splitlines()
        faults += namespace_faults(rel, lines, folder)
        for number, line in enumerate(lines, 1):
            m = INCLUDE.match(line)
            if not m:
                continue
            target = m.group(1)
            if "/" not in target:
                faults.append(f"{rel}:{number}: \"{target}\" names no folder")
                continue
            other = target.split("/", 1)[0]
            if other not in rank:
                faults.append(f"{rel}:{number}: \"{target}\": {other}/ is not in the layer order")
            elif rank[other] > rank[folder]:
                faults.append(f"{rel}:{number}: \"{target}\": {folder}/ includes {other}/, "
                              "a layer above it")
    return faults


def check_docs(architecture, order=ORDER):
    """The faults of the folder table in docs/ARCHITECTURE.md: its core/
    folders, in the order they appear, must be the layer order."""
    listed = re.findall(r"^\| `core/([a-z]+)/` \|", architecture.read_text(encoding="utf-8"),
                        re.MULTILINE)
    if listed != order:
        return [f"{architecture}: the folder table lists {' '.join(listed)}; "
                f"the layer order is {' '.join(order)}"]
    return []


def main(argv):
    root = pathlib.Path(__file__).resolve().parent.parent
    core = pathlib.Path(argv[1]) if len(argv) > 1 else root / "core"
    docs = pathlib.Path(argv[2]) if len(argv) > 2 else root / "docs" / "ARCHITECTURE.md"
    if not core.is_dir() or not docs.is_file():
        print(f"check-layers: cannot read {core} or {docs}", file=sys.stderr)
        return 2
    faults = check(core) + check_docs(docs)
    for f in faults:
        print(f"check-layers: {f}", file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

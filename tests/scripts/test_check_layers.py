#!/usr/bin/env python3
"""The layer check catches what it is there to catch: each case plants one
fault in a copy of core/ and expects the check to name it; the untouched
copy, and one with what the rules allow, pass."""
import pathlib
import runpy
import shutil
import sys
import tempfile
import types

root = pathlib.Path(__file__).resolve().parents[2]
# The script's name has a dash, so it is run for its functions rather than imported.
layers = types.SimpleNamespace(
    **runpy.run_path(str(root / "scripts" / "check-layers.py"), run_name="check_layers"))

bottom, top = layers.ORDER[0], layers.ORDER[-1]
# (what is planted, the file it goes to, the line added, what the check must say)
CASES = [
    ("nothing", None, None, None),
    ("an include upward", f"{bottom}/Wstawiony.h", f'#include "{top}/Cokolwiek.h"',
     f"{bottom}/ includes {top}/"),
    ("an include that names no folder", f"{top}/Wstawiony.cpp", '#include "Cokolwiek.h"',
     "names no folder"),
    ("an include of an unknown folder", f"{top}/Wstawiony.cpp", '#include "nowy/Cokolwiek.h"',
     "nowy/ is not in the layer order"),
    ("a folder not in the order", "nowy/Wstawiony.h", "#pragma once", "nowy/ is not in the layer order"),
    ("code in another folder's namespace", f"{bottom}/Wstawiony.h",
     f"namespace {top} {{\nint Cokolwiek();\n}}  // namespace {top}", f"namespace {top} in {bottom}/"),
    ("a type declared ahead in another folder's namespace", f"{bottom}/Wstawiony.h",
     f"namespace {top} {{\nstruct Cokolwiek;\n}}  // namespace {top}", None),
]

failed = 0
for name, path, line, expected in CASES:
    with tempfile.TemporaryDirectory() as tmp:
        core = pathlib.Path(tmp) / "core"
        shutil.copytree(root / "core", core)
        if path:
            (core / path).parent.mkdir(exist_ok=True)
            with open(core / path, "a", encoding="utf-8") as f:
                f.write(line + "\n")
        faults = layers.check(core)
    if expected is None:
        ok = faults == []
    else:
        ok = len(faults) == 1 and expected in faults[0]
    if not ok:
        failed += 1
        print(f"FAIL {name}: {faults}", file=sys.stderr)

# The docs' table in another order is caught too.
if layers.check_docs(root / "docs" / "ARCHITECTURE.md") != []:
    failed += 1
    print("FAIL the folder table of docs/ARCHITECTURE.md", file=sys.stderr)
if not layers.check_docs(root / "docs" / "ARCHITECTURE.md", list(reversed(layers.ORDER))):
    failed += 1
    print("FAIL a table in another order passed", file=sys.stderr)

sys.exit(1 if failed else 0)

#!/usr/bin/env python3
"""Checks that every folder includes headers only from the folders below it.

The graph is the one of the README section "Layers": a folder may include its
own headers and those of the folders it builds on, directly or through them.
Exit status 1 and one line per include that runs up or sideways.
"""
import pathlib
import re
import sys

# Each folder and the folders it builds on directly.
LAYERS = {
    "errors": [],
    "codepages": [],
    "tables": ["errors", "codepages"],
    "schema": ["tables"],
    "config": ["errors", "codepages"],
    "platform": ["errors"],
    "platform_widgets": ["platform"],
    "printing": ["platform"],
    "xls": [],
    "grid": ["tables", "config", "platform_widgets", "xls"],
    "windows": ["grid"],
    "ordering": ["config", "schema", "printing"],
    "ordering_windows": ["ordering", "windows"],
    "archive": ["ordering_windows"],
    "exchange": ["config", "schema", "transfer"],  # the transfer library's C interface
    "prescriptions": ["config", "schema"],
    "prescriptions_windows": ["prescriptions", "ordering", "windows"],
    "settings": ["config", "tables"],
    "settings_windows": ["settings", "schema", "windows"],
    "exchange_windows": ["exchange", "ordering_windows"],
    "transfer": ["config"],
    "app": ["archive", "prescriptions_windows", "settings_windows", "exchange_windows", "demo"],
    "demo": ["exchange"],
    "tools": ["exchange", "demo"],
    "fuzz": ["tables"],
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([A-Za-z_]+)/')


def below(folder, seen=None):
    seen = set() if seen is None else seen
    for lower in LAYERS.get(folder, []):
        if lower not in seen:
            seen.add(lower)
            below(lower, seen)
    return seen


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    problems = []
    for folder in LAYERS:
        allowed = below(folder) | {folder}
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in (".h", ".cpp") or not path.is_file():
                continue
            for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
                match = INCLUDE.match(line)
                if match and (root / match.group(1)).is_dir() and match.group(1) not in allowed:
                    problems.append(f"{path.relative_to(root)}:{number}: includes {match.group(1)}/, "
                                    f"which {folder}/ does not build on")
    for problem in problems:
        print(problem)
    print(f"layers: {len(problems)} include(s) against the graph" if problems else "layers: every include runs downward")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())

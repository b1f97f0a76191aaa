#!/usr/bin/env python3
"""Keeps the folders of the sources layers.

Reads every #include "..." of common/, game/ and reader/ and fails, naming the
file and the line, when a folder includes a folder above it, when one program
includes the other, or when two folders include each other.

Usage: check_layers.py SOURCE_ROOT
       check_layers.py --self-test
The self-test plants faults in a tree of its own and checks that each is named.
"""
import os
import re
import sys
import tempfile

# The order of the layers, from the bottom. This table is the one place the
# order is written; README.md and docs/architecture.md show it.
#   state     the design's state records, the controls, shared types
#   rules     pure rules: no file, no clock, no widget
#   drawing   painting on images, no widget
#   services  what touches files, sound, time, settings, pictures
#   core      the design's handlers (ReaderCore, HitujiGame), thin
#   ui        the Qt widgets
#   tools     small programs built from the core
#   main      the thin executable (main.cpp)
PROGRAM_LAYERS = ["state", "rules", "drawing", "services", "core", "ui", "tools", "main"]
PROGRAMS = ["game", "reader"]
# common/ lies under both programs; its widgets (common/ui) serve only the
# layers that have widgets.
COMMON_RANK = -2
COMMON_UI_RANK = PROGRAM_LAYERS.index("ui")
SOURCE_ENDINGS = (".h", ".cpp")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def folder_of(path):
    """The layer folder of a source path relative to the root, or None."""
    parts = path.split("/")
    if parts[0] == "common":
        return "common/ui" if len(parts) > 2 and parts[1] == "ui" else "common"
    if parts[0] in PROGRAMS:
        if len(parts) == 2:
            return parts[0] + "/main"
        if parts[1] in PROGRAM_LAYERS:
            return parts[0] + "/" + parts[1]
        return parts[0] + "/" + parts[1] + "?"  # a folder that is no layer
    return None


def rank(folder):
    if folder == "common":
        return COMMON_RANK
    if folder == "common/ui":
        return COMMON_UI_RANK
    layer = folder.split("/", 1)[1]
    return PROGRAM_LAYERS.index(layer)


def allowed_below(folder):
    """The folders `folder` may include, for the message."""
    if folder.startswith("common"):
        return "common" if folder == "common" else "common and common/ui"
    program, layer = folder.split("/", 1)
    names = [program + "/" + l for l in PROGRAM_LAYERS[: PROGRAM_LAYERS.index(layer) + 1]]
    names.append("common" if rank(folder) < COMMON_UI_RANK else "common, common/ui")
    return ", ".join(names)


def check(root, files, known=frozenset()):
    """The faults, each "file:line: what"; includes listed in `known` are
    left out, and `seen` gets those that occurred."""
    faults = []
    check.seen = set()
    edges = {}  # (from folder, to folder) -> first "file:line"
    for path in files:
        source = folder_of(path)
        if source is None:
            continue
        if source.endswith("?"):
            faults.append(f"{path}:1: {source[:-1]}/ is no layer (layers: {', '.join(PROGRAM_LAYERS[:-1])})")
            continue
        with open(os.path.join(root, path), encoding="utf-8") as f:
            for number, line in enumerate(f, 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                target = folder_of(m.group(1))
                if target is None or target == source:
                    continue
                where = f"{path}:{number}"
                if f"{path} -> {m.group(1)}" in known:
                    check.seen.add(f"{path} -> {m.group(1)}")
                    continue
                edges.setdefault((source, target), where)
                if target.endswith("?"):
                    faults.append(f"{where}: includes {m.group(1)}, in a folder that is no layer")
                    continue
                source_program = source.split("/")[0]
                target_program = target.split("/")[0]
                if target_program != "common" and target_program != source_program:
                    faults.append(f"{where}: includes {m.group(1)}: {source_program} never includes {target_program}")
                elif rank(target) > rank(source):
                    faults.append(f"{where}: includes {m.group(1)}, a layer above {source}/ "
                                  f"(it may include {allowed_below(source)})")
    for (a, b), where in sorted(edges.items()):
        if a < b and (b, a) in edges:
            faults.append(f"{where}: {a}/ and {b}/ include each other (also {edges[(b, a)]})")
    return faults


def all_sources(root):
    found = []
    for top in ["common"] + PROGRAMS:
        for folder, _, names in os.walk(os.path.join(root, top)):
            for name in names:
                if name.endswith(SOURCE_ENDINGS):
                    found.append(os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/"))
    return sorted(found)


# Includes that ran upward before the folders became layers, each written
# "file -> included header"; they are being taken apart and may only go.
KNOWN = "known_faults.txt"


def known_faults():
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), KNOWN)
    if not os.path.exists(path):
        return set()
    with open(path, encoding="utf-8") as f:
        return {l.strip() for l in f if l.strip() and not l.startswith("#")}


def run(root, known):
    files = all_sources(root)
    failing = check(root, files, known)
    seen = check.seen
    for key in sorted(seen):
        print("known, to be taken apart: " + key)
    for stale in sorted(known - seen):
        failing.append(f"{KNOWN}: '{stale}' no longer occurs: take it out of the list")
    for fault in failing:
        print(fault)
    print(f"{len(files)} files read, {len(failing)} faults, {len(seen)} known")
    return failing


PLANTED = {
    "common/base.h": "",
    "common/ui/zoom.h": '#include "common/base.h"\n',
    "reader/state/reader_state.h": '#include "common/base.h"\n',
    "reader/rules/lines.h": '#include "reader/state/reader_state.h"\n\n#include "reader/ui/window.h"\n',
    "reader/services/book.cpp": '#include "reader/rules/lines.h"\n#include "common/ui/zoom.h"\n',
    "reader/ui/window.h": '#include "reader/rules/lines.h"\n#include "common/ui/zoom.h"\n',
    "reader/services/book.h": '#include "game/state/gamestate.h"\n',
    "reader/playback/old.cpp": "",
    "game/state/gamestate.h": "",
    "game/main.cpp": '#include "game/state/gamestate.h"\n',
}
EXPECTED = [
    "reader/rules/lines.h:3: includes reader/ui/window.h, a layer above reader/rules/",
    "reader/services/book.cpp:2: includes common/ui/zoom.h, a layer above reader/services/",
    "reader/services/book.h:1: includes game/state/gamestate.h: reader never includes game",
    "reader/playback/old.cpp:1: reader/playback/ is no layer",
    "reader/rules/lines.h:3: reader/rules/ and reader/ui/ include each other",
]


def self_test():
    with tempfile.TemporaryDirectory() as root:
        for path, text in PLANTED.items():
            os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
            with open(os.path.join(root, path), "w", encoding="utf-8") as f:
                f.write(text)
        faults = check(root, all_sources(root))
    missing = [e for e in EXPECTED if not any(f.startswith(e) for f in faults)]
    extra = [f for f in faults if not any(f.startswith(e) for e in EXPECTED)]
    for m in missing:
        print("not found: " + m)
    for e in extra:
        print("not planted: " + e)
    print(f"self-test: {len(EXPECTED) - len(missing)} of {len(EXPECTED)} planted faults named, {len(extra)} others")
    return not missing and not extra


def main(argv):
    if len(argv) == 2 and argv[1] == "--self-test":
        return 0 if self_test() else 1
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    return 1 if run(argv[1], known_faults()) else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

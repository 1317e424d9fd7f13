#!/usr/bin/env python3
"""Checks that the agent's includes point only down its rooms, never back up
or sideways, and that no other part of the product includes the agent; and
that the hook library (hook/ and the log writer in log/, which it is built
from) and common/ lean on each other in one direction only: the library
includes nothing of common/ but the vocabulary both sides share, and common/
includes nothing of hook/.

Usage: scripts/check_rooms.py [source-root]
Prints one line per include that points the wrong way and a closing
"N includes, N wrong" line; exits 1 when any is wrong. Standard library only.
"""

import os
import re
import sys

# The rooms of agent/ and what each may include of the agent besides itself.
# "program" is agent/ itself: the entry, the window and its handlers.
MAY_INCLUDE = {
    "program": {"core", "import_patcher", "localization", "tooltips", "tray"},
    "tray": {"core", "localization", "tooltips"},
    "localization": {"import_patcher"},
    "tooltips": set(),
    "import_patcher": set(),
    "core": set(),
}
OUTSIDE_AGENT = ["common", "companion", "hook", "log", "render", "config"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"agent/([^"]+)"', re.M)
ANY_INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/([^"]+)"', re.M)
# What the hook library and its callers share: the flags word and the
# exports' names and signatures, header only and free of any runtime.
HOOK_VOCABULARY = {"hook_flags.h", "hook_exports.h"}


def room_of(path_in_agent):
    """The room of a path below agent/, or None for a room nobody declared."""
    parts = path_in_agent.split("/")
    if len(parts) == 1:
        return "program"
    return parts[0] if parts[0] in MAY_INCLUDE else None


def sources(directory):
    for base, _, names in os.walk(directory):
        for name in sorted(names):
            if name.endswith((".cpp", ".h", ".rc")):
                yield os.path.join(base, name)


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    total, wrong = 0, 0

    def report(path, target, why):
        nonlocal wrong
        wrong += 1
        print(f"{os.path.relpath(path, root)}: includes agent/{target}: {why}")

    agent = os.path.join(root, "agent")
    for path in sources(agent):
        own = room_of(os.path.relpath(path, agent).replace(os.sep, "/"))
        if own is None:
            report(path, "", "file outside the declared rooms")
            continue
        with open(path, encoding="utf-8") as f:
            for target in INCLUDE.findall(f.read()):
                total += 1
                room = room_of(target)
                if room is None:
                    report(path, target, "no such room")
                elif room != own and room not in MAY_INCLUDE[own]:
                    report(path, target, f"{own} may not include {room}")
    for part in OUTSIDE_AGENT:
        for path in sources(os.path.join(root, part)):
            with open(path, encoding="utf-8") as f:
                for target in INCLUDE.findall(f.read()):
                    total += 1
                    report(path, target, f"{part}/ may not include the agent")
    for part in ["hook", "log"]:
        for path in sources(os.path.join(root, part)):
            with open(path, encoding="utf-8") as f:
                for folder, target in ANY_INCLUDE.findall(f.read()):
                    if folder != "common":
                        continue
                    total += 1
                    if target not in HOOK_VOCABULARY:
                        wrong += 1
                        print(f"{os.path.relpath(path, root)}: includes common/{target}: "
                              f"{part}/ may include of common/ only {', '.join(sorted(HOOK_VOCABULARY))}")
    for path in sources(os.path.join(root, "common")):
        with open(path, encoding="utf-8") as f:
            for folder, target in ANY_INCLUDE.findall(f.read()):
                if folder == "hook":
                    total += 1
                    wrong += 1
                    print(f"{os.path.relpath(path, root)}: includes hook/{target}: common/ may not include hook/")
    print(f"{total} includes, {wrong} wrong")
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())

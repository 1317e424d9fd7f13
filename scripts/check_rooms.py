#!/usr/bin/env python3
"""Checks that the agent's includes point only down its rooms, never back up
or sideways, and that no other part of the product includes the agent.

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
    print(f"{total} includes, {wrong} wrong")
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Checks that no include runs upward between subsystems or app/ folders.

The subsystems stand in a line (platform, core, constraints, resources,
analysis, transfer, app), and so do the folders of app/: the helpers that
use no other folder (loaders, dialog, display, web), then the engine, the
sentence road (pipeline), the drivers (batch, then server, then cli) and the
programs. A file may include headers of its own folder and of those before
it, never of one after it or beside it.

usage: tools/check_include_layers.py [REPOSITORY]   (default: this one)
Prints each include that runs upward and exits 1 when there is one.
"""
import os
import re
import sys

SUBSYSTEMS = ['platform', 'core', 'constraints', 'resources', 'analysis', 'transfer', 'app']
# The rank of each app/ folder; folders of one rank may not include each other.
APP_FOLDERS = {
    'loaders': 0, 'dialog': 0, 'display': 0, 'web': 0,
    'engine': 1,
    'pipeline': 2,
    'batch': 3,
    'server': 4,
    'cli': 5,
    'programs': 6,
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
SOURCE_SUFFIXES = ('.h', '.cpp')


def upward_include(including, included):
    """Why a file at path `including` may not include `included` (both
    relative to the repository, with '/'), or None when it may."""
    source = including.split('/')
    target = included.split('/')
    if source[0] not in SUBSYSTEMS or target[0] not in SUBSYSTEMS:
        return None
    if SUBSYSTEMS.index(target[0]) > SUBSYSTEMS.index(source[0]):
        return f'subsystem {target[0]} comes after {source[0]}'
    if source[0] != 'app' or target[0] != 'app' or len(source) < 3 or len(target) < 3:
        return None
    own, other = source[1], target[1]
    if own == other:
        return None
    if own not in APP_FOLDERS or other not in APP_FOLDERS:
        return f'app/{own if own not in APP_FOLDERS else other} has no place in the order of app/ folders'
    if APP_FOLDERS[other] >= APP_FOLDERS[own]:
        return f'app/{other} does not come before app/{own}'
    return None


def check(root):
    """The upward includes under root, as 'file:line: text' lines."""
    problems = []
    for subsystem in SUBSYSTEMS:
        for folder, _, files in os.walk(os.path.join(root, subsystem)):
            for name in sorted(files):
                if not name.endswith(SOURCE_SUFFIXES):
                    continue
                path = os.path.join(folder, name)
                relative = os.path.relpath(path, root).replace(os.sep, '/')
                with open(path, encoding='utf-8', errors='replace') as source:
                    for number, line in enumerate(source, 1):
                        match = INCLUDE.match(line)
                        if not match:
                            continue
                        reason = upward_include(relative, match.group(1))
                        if reason:
                            problems.append(f'{relative}:{number}: includes "{match.group(1)}": {reason}')
    return problems


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), '..')
    problems = check(root)
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())

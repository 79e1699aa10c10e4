#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Fails when a folder of the program includes a header of a folder it may
not use, or a Qt module it may not link: the walls the CMake targets draw,
kept even where a target is added by hand with wider include paths.

Usage: folder_walls.py SOURCE_DIR
"""
import glob
import os
import re
import sys

# What each folder may use besides itself, as its CMakeLists.txt links it.
MAY_USE = {
    "data": set(),
    "surface": set(),
    "charts": {"surface", "data"},
    "files": {"data"},
    "render": {"charts", "files", "surface", "data"},
    "widgets": {"surface"},
    "overview": {"widgets", "charts", "files", "surface", "data"},
    "dialogs": {"widgets", "files", "surface", "data"},
    "window": {"dialogs", "overview", "widgets", "charts", "files", "surface", "data"},
    "app": {"window", "dialogs", "render", "overview", "widgets", "charts", "files", "surface", "data"},
}
# The folders that may link Qt Widgets, and the one that may use no Qt.
WIDGET_FOLDERS = {"widgets", "overview", "dialogs", "window", "app"}
PLAIN_FOLDERS = {"data"}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def main(top):
    owner = {}  # header name -> its folder
    for folder in MAY_USE:
        for header in glob.glob(os.path.join(top, folder, "*.h")):
            owner[os.path.basename(header)] = folder
    widget_headers = set()
    for include_dir in glob.glob("/usr/include/*/qt6/QtWidgets") + glob.glob("/usr/include/qt6/QtWidgets"):
        widget_headers.update(os.listdir(include_dir))
    if not widget_headers:
        print("Qt Widgets' headers not found; cannot tell a widget include", file=sys.stderr)
        return 1

    faults = []
    for folder, allowed in MAY_USE.items():
        for source in sorted(glob.glob(os.path.join(top, folder, "*.[ch]*"))):
            with open(source, encoding="utf-8") as f:
                text = f.read()
            where = os.path.relpath(source, top)
            for bracket, name in INCLUDE.findall(text):
                base = os.path.basename(name)
                if bracket == '"':
                    other = owner.get(base)
                    if other is None:
                        faults.append(f"{where}: includes \"{name}\", which no folder holds")
                    elif other != folder and other not in allowed:
                        faults.append(f"{where}: includes {other}/{base}; {folder}/ may not use {other}/")
                elif name.startswith("Q") or name.startswith("qt"):
                    if folder in PLAIN_FOLDERS:
                        faults.append(f"{where}: includes <{name}>; {folder}/ is plain C++")
                    elif folder not in WIDGET_FOLDERS and (base in widget_headers or name.startswith("QtWidgets")):
                        faults.append(f"{where}: includes <{name}> of Qt Widgets; {folder}/ may not link widgets")
    for fault in faults:
        print(fault)
    print(f"{len(faults)} include(s) across a wall")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "."))

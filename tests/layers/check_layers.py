#!/usr/bin/env python3
"""Checks that the module's folders include only downward: a folder may
include its own headers, those of the folders below it, and the public
headers of the families below it.  Prints every include that runs upward
or sideways and exits 1 when there is one.

  check_layers.py SOURCE-ROOT
"""
import os
import re
import sys

# Lowest first.  Folders on one line stand side by side: they include
# each other's headers not at all.
LAYERS = [
    ["core"],
    ["text"],
    ["settings"],
    ["errors"],
    ["dib", "files"],
    ["ui", "windows"],
    ["skins"],
    ["sliders"],
    ["grid"],
    ["midi"],
    ["plugin"],
    ["page"],
    ["module"],
    ["lng"],  # the language module's script gathers every room's string ids
]

# Public header families and the folder that implements them.
FAMILIES = {
    "base": "core", "kernel": "core", "list": "core",
    "printf": "text", "number": "text", "timetext": "text", "smpte": "text",
    "internationals": "text",
    "lang": "settings", "menu": "settings", "metric": "settings", "registry": "settings",
    "errors": "errors", "msgbox": "errors",
    "dib": "dib", "dibfilter": "dib", "colour": "dib", "overlay": "dib", "png": "dib",
    "files": "files",
    "ui": "ui", "theme": "ui", "wheel": "ui",
    "window": "windows", "monitor": "windows", "dlgtemplate": "windows",
    "skin": "skins", "help": "skins", "marker": "skins",
    "fader": "sliders", "trackbar": "sliders", "spinner": "sliders",
    "grid": "grid",
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/([a-z_0-9]+)\.h"', re.M)


def rank(folder):
    for level, folders in enumerate(LAYERS):
        if folder in folders:
            return level
    return None


def main(root):
    src = os.path.join(root, "src")
    faults = []
    folders = sorted(d for d in os.listdir(src) if os.path.isdir(os.path.join(src, d)))
    for folder in folders:
        here = rank(folder)
        if here is None:
            faults.append("src/%s: a folder with no place in the layers" % folder)
            continue
        for name in sorted(os.listdir(os.path.join(src, folder))):
            if not name.endswith((".cpp", ".h", ".rc")):
                continue
            path = os.path.join(src, folder, name)
            with open(path, encoding="utf-8") as f:
                text = f.read()
            for prefix, header in INCLUDE.findall(text):
                if prefix == "quillet" or prefix == folder:
                    continue
                target = FAMILIES.get(header) if prefix == "zq" else prefix
                if target is None:
                    faults.append("%s: zq/%s.h belongs to no family" % (path, header))
                    continue
                there = rank(target)
                if there is None or there >= here and target != folder:
                    faults.append("src/%s/%s includes %s/%s.h (%s)" % (folder, name, prefix, header, target))
    for fault in faults:
        print(fault)
    print("%d folders, %d includes running upward or sideways" % (len(folders), len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "."))

#!/usr/bin/env python3
"""Checks the include structure of src/ and the size of the folders of src/ and tools/pack/.

Usage: layer_check.py PROJECT_ROOT [--dot]
  PROJECT_ROOT  the folder that holds src/ and tools/pack/
  --dot         print the folder include graph of src/ in Graphviz dot instead of checking,
                e.g. layer_check.py . --dot | dot -Tsvg -o layers.svg

Every file under src/ is a node and every #include "..." an arrow; includes are written
relative to src/. The check fails, naming file, line and arrow, when an arrow runs from a
folder to a higher folder or to a sibling of its own layer, when one backend includes the
other, when files or folders include each other in a circle, when a platform header is
included outside its backend, or when a folder holds more than MAX_MODULES modules.
"""

import os
import re
import sys
from dataclasses import dataclass

# Folders of src/, bottom layer first. A folder includes its own files and the folders of
# lower layers only; the folders within one layer do not include each other.
LAYERS = [
    ["services"],
    ["support"],
    ["ui"],
    ["package"],
    ["menu"],
    ["actions"],
    ["window"],
    ["accessibility"],
    ["startup"],
    ["backends/win32/system", "backends/web/bridge"],
    ["backends/win32/services", "backends/win32/widgetset",
     "backends/web/services", "backends/web/widgetset"],
    ["backends/win32/entry", "backends/web/entry"],
]
LAYER_OF = {folder: rank for rank, folders in enumerate(LAYERS) for folder in folders}

# The one backend allowed to include each platform's headers.
PLATFORM_BACKENDS = {"Windows": "backends/win32", "emscripten": "backends/web"}
WINDOWS_HEADERS = frozenset("""
    windows.h windowsx.h windef.h winbase.h winuser.h wingdi.h winnls.h winreg.h winver.h
    winerror.h winnt.h winsock2.h ws2tcpip.h shellapi.h shlobj.h shlwapi.h shobjidl.h
    objbase.h ole2.h oleauto.h combaseapi.h commctrl.h commdlg.h mmsystem.h mmreg.h
    dwmapi.h uxtheme.h psapi.h tlhelp32.h tchar.h oleacc.h
""".split())

MAX_MODULES = 15
SOURCE_SUFFIXES = (".cpp", ".h", ".c")
SIZED_TREES = ("src", "tools/pack")

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


@dataclass(frozen=True)
class Include:
    source: str  # the including file, relative to src/
    line: int
    target: str  # as written between the quotes or angle brackets
    angle: bool

    def __str__(self):
        return f"src/{self.source}:{self.line}: {self.source} -> {self.target}"


def folder_of(path):
    return os.path.dirname(path)


def backend_of(folder):
    parts = folder.split("/")
    return "/".join(parts[:2]) if parts[0] == "backends" else None


def source_files(root):
    """Paths under root, relative to it, of the C and C++ files."""
    for directory, _, names in os.walk(root):
        for name in names:
            if name.endswith(SOURCE_SUFFIXES):
                yield os.path.relpath(os.path.join(directory, name), root).replace(os.sep, "/")


def read_includes(src):
    includes = {}
    for path in source_files(src):
        with open(os.path.join(src, path), encoding="utf-8", errors="replace") as file:
            includes[path] = [
                Include(path, number, match.group(2), match.group(1) == "<")
                for number, text in enumerate(file, 1)
                if (match := INCLUDE.match(text))
            ]
    return includes


def platform_of_header(name):
    if name.lower() in WINDOWS_HEADERS:
        return "Windows"
    if name.startswith("emscripten"):
        return "emscripten"
    return None


def arrow_errors(includes):
    """Back arrows, arrows to unknown files or folders, and arrows between the backends."""
    errors = [f"src/{folder}: folder is not in the layer order of layer_check.py"
              for folder in sorted({folder_of(path) for path in includes} - LAYER_OF.keys())]
    for inc in (inc for found in includes.values() for inc in found if not inc.angle):
        source, target = folder_of(inc.source), folder_of(inc.target)
        if inc.target not in includes:
            errors.append(f"{inc}: no such file under src/")
        elif source == target or source not in LAYER_OF or target not in LAYER_OF:
            continue
        elif backend_of(source) and backend_of(target) and backend_of(source) != backend_of(target):
            errors.append(f"{inc}: {backend_of(source)} may not include another backend")
        elif LAYER_OF[target] >= LAYER_OF[source]:
            errors.append(f"{inc}: {source} may not include {target}, "
                          "which is above it or beside it")
    return errors


def platform_errors(includes):
    errors = []
    for inc in (inc for found in includes.values() for inc in found if inc.angle):
        platform = platform_of_header(inc.target)
        if platform and backend_of(folder_of(inc.source)) != PLATFORM_BACKENDS[platform]:
            errors.append(f"{inc}: {platform} headers belong in "
                          f"src/{PLATFORM_BACKENDS[platform]}/ only")
    return errors


def find_cycles(graph):
    """One circle per arrow that closes one, found depth first; graph maps a node to
    {next node: the Include behind that arrow}. Each circle is the list of its Includes."""
    cycles, state, nodes, arrows = [], {}, [], []

    def visit(node):
        state[node] = "open"
        nodes.append(node)
        for following, inc in sorted(graph.get(node, {}).items()):
            if state.get(following) == "open":
                cycles.append(arrows[nodes.index(following):] + [inc])
            elif following not in state:
                arrows.append(inc)
                visit(following)
                arrows.pop()
        nodes.pop()
        state[node] = "done"

    for node in sorted(graph):
        if node not in state:
            visit(node)
    return cycles


def cycle_errors(includes):
    files, folders = {}, {}
    for inc in (inc for found in includes.values() for inc in found):
        if not inc.angle and inc.target in includes:
            files.setdefault(inc.source, {})[inc.target] = inc
            if folder_of(inc.source) != folder_of(inc.target):
                folders.setdefault(folder_of(inc.source), {}).setdefault(
                    folder_of(inc.target), inc)
    return ([f"include cycle between files: {'; '.join(map(str, cycle))}"
             for cycle in find_cycles(files)] +
            [f"include cycle between folders: {'; '.join(map(str, cycle))}"
             for cycle in find_cycles(folders)])


def folder_size_errors(root):
    errors = []
    for tree in SIZED_TREES:
        modules = {}
        for path in source_files(os.path.join(root, tree)):
            stem = os.path.splitext(path)[0]
            modules.setdefault(folder_of(path), set()).add(stem)
        for folder, stems in sorted(modules.items()):
            if len(stems) > MAX_MODULES:
                where = "/".join(filter(None, (tree, folder)))
                errors.append(f"{where}: {len(stems)} modules, more than {MAX_MODULES}; "
                              "split the folder")
    return errors


def check(root):
    includes = read_includes(os.path.join(root, "src"))
    return (arrow_errors(includes) + cycle_errors(includes) + platform_errors(includes) +
            folder_size_errors(root))


def dot_graph(root):
    includes = read_includes(os.path.join(root, "src"))
    arrows = sorted({(folder_of(inc.source), folder_of(inc.target))
                     for found in includes.values() for inc in found
                     if not inc.angle and folder_of(inc.source) != folder_of(inc.target)})
    lines = ["digraph layers {", "  node [shape=box];"]
    lines += ["  { rank=same; " + " ".join(f'"{f}";' for f in folders) + " }"
              for folders in LAYERS]
    lines += [f'  "{source}" -> "{target}";' for source, target in arrows]
    return "\n".join(lines + ["}"])


def main(argv):
    if len(argv) not in (2, 3) or (len(argv) == 3 and argv[2] != "--dot"):
        print(__doc__.split("\n\n")[1], file=sys.stderr)
        return 2
    if len(argv) == 3:
        print(dot_graph(argv[1]))
        return 0
    errors = check(argv[1])
    for error in errors:
        print(error, file=sys.stderr)
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

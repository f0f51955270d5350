#!/usr/bin/env python3
"""Checks the include structure of src/ and tools/pack/ and the size of their folders and of
the page's scripts (web/).

Usage: layer_check.py PROJECT_ROOT [--dot]
  PROJECT_ROOT  the folder that holds src/, tools/pack/ and web/
  --dot         print the folder include graph of src/ and tools/pack/ in Graphviz dot
                instead of checking, e.g. layer_check.py . --dot | dot -Tsvg -o layers.svg

Every file under src/ and tools/pack/ is a node and every #include "..." an arrow; includes
are written relative to src/, or to tools/ for the tool's own ("pack/common/file_io.h"). The
check fails, naming file, line and arrow, when an arrow runs from a folder to a higher folder
or to a sibling of its own layer, when one backend includes the other or the tool includes
a backend (but for the tool's Windows files, which may use the Windows system helpers),
when files or folders include each other in a circle, when a platform header is
included outside its backend (in the tool: outside a file the Windows build alone compiles,
named *_win32), or when a folder holds more than MAX_MODULES modules.
"""

import os
import re
import sys
from dataclasses import dataclass

# Folders of src/, bottom layer first. A folder includes its own files and the folders of
# lower layers only; the folders within one layer do not include each other.
SRC_LAYERS = [
    ["services"],
    ["support"],
    ["graphics"],
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

# Folders of the authoring tool, bottom layer first; the tool stands above src/'s core.
TOOL_LAYERS = [
    ["common"],
    ["pictures"],
    ["writer"],
    ["text"],
    ["source"],
    ["package", "preview"],
    ["signing", "page"],
    ["disc"],
    ["editor"],
    ["start"],
    ["cli"],
]


@dataclass(frozen=True)
class Tree:
    root: str    # relative to the project
    prefix: str  # what its own includes begin with
    layers: list

    def rank(self):
        return {folder: rank for rank, folders in enumerate(self.layers) for folder in folders}


SRC = Tree("src", "", SRC_LAYERS)
TOOL = Tree("tools/pack", "pack/", TOOL_LAYERS)

# The one backend allowed to include each platform's headers.
PLATFORM_BACKENDS = {"Windows": "backends/win32", "emscripten": "backends/web"}
WINDOWS_HEADERS = frozenset("""
    windows.h windowsx.h windef.h winbase.h winuser.h wingdi.h winnls.h winreg.h winver.h
    winerror.h winnt.h winsock2.h ws2tcpip.h shellapi.h shlobj.h shlwapi.h shobjidl.h
    objbase.h ole2.h oleauto.h combaseapi.h commctrl.h commdlg.h mmsystem.h mmreg.h
    dwmapi.h uxtheme.h psapi.h tlhelp32.h tchar.h oleacc.h wincrypt.h wintrust.h mssip.h
""".split())

MAX_MODULES = 15
SOURCE_SUFFIXES = (".cpp", ".h", ".c")
SIZED_TREES = (("src", SOURCE_SUFFIXES), ("tools/pack", SOURCE_SUFFIXES), ("web", (".js",)))

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


@dataclass(frozen=True)
class Include:
    tree: str    # the root of the including file's tree
    source: str  # the including file, relative to its tree
    line: int
    target: str  # as written between the quotes or angle brackets
    angle: bool

    def __str__(self):
        return f"{self.tree}/{self.source}:{self.line}: {self.source} -> {self.target}"


def folder_of(path):
    return os.path.dirname(path)


def backend_of(folder):
    parts = folder.split("/")
    return "/".join(parts[:2]) if parts[0] == "backends" else None


def source_files(root, suffixes=SOURCE_SUFFIXES):
    """Paths under root, relative to it, of the files with these suffixes."""
    for directory, _, names in os.walk(root):
        for name in names:
            if name.endswith(suffixes):
                yield os.path.relpath(os.path.join(directory, name), root).replace(os.sep, "/")


def read_includes(root, tree):
    includes = {}
    base = os.path.join(root, tree.root)
    for path in source_files(base):
        with open(os.path.join(base, path), encoding="utf-8", errors="replace") as file:
            includes[path] = [
                Include(tree.root, path, number, match.group(2), match.group(1) == "<")
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


def own_target(tree, inc):
    """The file an include names in its own tree, relative to it, or None for another tree."""
    if tree.prefix and not inc.target.startswith(tree.prefix):
        return None
    return inc.target[len(tree.prefix):]


def arrow_errors(tree, includes, src_files):
    """Back arrows, arrows to unknown files or folders, and arrows between the backends; the
    tool may include src/'s core only."""
    rank = tree.rank()
    errors = [f"{tree.root}/{folder}: folder is not in the layer order of layer_check.py"
              for folder in sorted({folder_of(path) for path in includes} - rank.keys())]
    for inc in (inc for found in includes.values() for inc in found if not inc.angle):
        source, target = folder_of(inc.source), own_target(tree, inc)
        if target is None:
            if inc.target not in src_files:
                errors.append(f"{inc}: no such file under {tree.root}/ or src/")
            elif backend_of(folder_of(inc.target)) and not (
                    is_windows_file(inc.source) and
                    folder_of(inc.target) == "backends/win32/system"):
                errors.append(f"{inc}: the tool may not include a backend of the player, "
                              "but for its Windows files (*_win32) the Windows system helpers")
            continue
        if target not in includes:
            errors.append(f"{inc}: no such file under {tree.root}/")
            continue
        target = folder_of(target)
        if source == target or source not in rank or target not in rank:
            continue
        if backend_of(source) and backend_of(target) and backend_of(source) != backend_of(target):
            errors.append(f"{inc}: {backend_of(source)} may not include another backend")
        elif rank[target] >= rank[source]:
            errors.append(f"{inc}: {source} may not include {target}, "
                          "which is above it or beside it")
    return errors


def is_windows_file(path):
    """A file of the tool that only its Windows build compiles."""
    return os.path.splitext(os.path.basename(path))[0].endswith("_win32")


def platform_errors(tree, includes):
    errors = []
    for inc in (inc for found in includes.values() for inc in found if inc.angle):
        platform = platform_of_header(inc.target)
        if not platform:
            continue
        if tree is TOOL:
            if platform != "Windows" or not is_windows_file(inc.source):
                errors.append(f"{inc}: {platform} headers belong in the tool's files that "
                              "only the Windows build compiles (named *_win32)")
        elif backend_of(folder_of(inc.source)) != PLATFORM_BACKENDS[platform]:
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


def cycle_errors(tree, includes):
    files, folders = {}, {}
    for inc in (inc for found in includes.values() for inc in found if not inc.angle):
        target = own_target(tree, inc)
        if target in includes:
            files.setdefault(inc.source, {})[target] = inc
            if folder_of(inc.source) != folder_of(target):
                folders.setdefault(folder_of(inc.source), {}).setdefault(folder_of(target), inc)
    return ([f"include cycle between files: {'; '.join(map(str, cycle))}"
             for cycle in find_cycles(files)] +
            [f"include cycle between folders: {'; '.join(map(str, cycle))}"
             for cycle in find_cycles(folders)])


def folder_size_errors(root):
    errors = []
    for tree, suffixes in SIZED_TREES:
        modules = {}
        for path in source_files(os.path.join(root, tree), suffixes):
            stem = os.path.splitext(path)[0]
            modules.setdefault(folder_of(path), set()).add(stem)
        for folder, stems in sorted(modules.items()):
            if len(stems) > MAX_MODULES:
                where = "/".join(filter(None, (tree, folder)))
                errors.append(f"{where}: {len(stems)} modules, more than {MAX_MODULES}; "
                              "split the folder")
    return errors


def check(root):
    errors = []
    src_files = set(source_files(os.path.join(root, "src")))
    for tree in (SRC, TOOL):
        includes = read_includes(root, tree)
        errors += (arrow_errors(tree, includes, src_files) + cycle_errors(tree, includes) +
                   platform_errors(tree, includes))
    return errors + folder_size_errors(root)


def dot_graph(root):
    lines = ["digraph layers {", "  node [shape=box];"]
    for tree in (SRC, TOOL):
        includes = read_includes(root, tree)
        name = lambda folder: f'"{tree.root}/{folder}"'  # noqa: E731
        arrows = sorted({(folder_of(inc.source), folder_of(own_target(tree, inc)))
                         for found in includes.values() for inc in found
                         if not inc.angle and own_target(tree, inc) is not None and
                         folder_of(inc.source) != folder_of(own_target(tree, inc))})
        lines += ["  { rank=same; " + " ".join(f"{name(f)};" for f in folders) + " }"
                  for folders in tree.layers]
        lines += [f"  {name(source)} -> {name(target)};" for source, target in arrows]
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

#!/usr/bin/python3
"""Joins the page's ES modules into one classic script, so that the page loads one file.

  join_modules.py ENTRY OUTPUT

Starting from ENTRY, follows each `import { a, b } from "./file.js";`, writes every module
once, each after those it imports, without its import lines and `export` words, all inside
one function so that nothing reaches the page's global scope. Fails, naming the files, on an
import cycle, on a name defined at the top level of two modules, on a name imported that its
module does not export, and on forms of import and export this step does not join (default,
renamed, namespace or re-exported names).
"""
import os
import re
import sys

IMPORT = re.compile(r'^import\s*\{([^}]*)\}\s*from\s*"(\.\.?/[\w./-]+\.js)";[ \t]*\n', re.M)
ANY_IMPORT = re.compile(r"^import\b", re.M)
EXPORT = re.compile(r"^export\s+(?=(?:async\s+)?function\b|const\b|let\b|class\b)", re.M)
ANY_EXPORT = re.compile(r"^export\b", re.M)
# Top-level declarations: the modules are formatted, so these start their lines.
TOP_LEVEL = re.compile(r"^(?:export\s+)?(?:async\s+function\*?|function\*?|const|let|var|class)"
                       r"\s+([A-Za-z_$][\w$]*)", re.M)


class JoinError(Exception):
    pass


class Module:
    def __init__(self, path):
        self.path = path
        with open(path, encoding="utf-8") as file:
            self.text = file.read()
        self.imports = []  # (names, path) in the order written
        for names, source in IMPORT.findall(self.text):
            listed = [name.strip() for name in names.split(",") if name.strip()]
            for name in listed:
                if not re.fullmatch(r"[A-Za-z_$][\w$]*", name):
                    raise JoinError("%s: import \"%s\" by its own name" % (path, name))
            self.imports.append(
                (listed, os.path.normpath(os.path.join(os.path.dirname(path), source))))
        body = IMPORT.sub("", self.text)
        if ANY_IMPORT.search(body):
            raise JoinError("%s: only `import { names } from \"./file.js\";` is joined" % path)
        self.body = EXPORT.sub("", body)
        if ANY_EXPORT.search(self.body):
            raise JoinError("%s: only exported declarations (function, const, let, class) "
                            "are joined" % path)
        self.defined = TOP_LEVEL.findall(body)
        self.exported = set(TOP_LEVEL.findall("\n".join(
            line for line in body.splitlines() if line.startswith("export"))))


def ordered(entry):
    """The modules from entry's imports, each after those it imports."""
    modules = {}
    order = []
    visiting = []

    def visit(path):
        path = os.path.normpath(path)
        if path in visiting:
            cycle = visiting[visiting.index(path):] + [path]
            raise JoinError("an import cycle: " + " -> ".join(map(os.path.basename, cycle)))
        if path in modules:
            return modules[path]
        if not os.path.isfile(path):
            raise JoinError("%s: no such module" % path)
        visiting.append(path)
        module = Module(path)
        for names, source in module.imports:
            imported = visit(source)
            for name in names:
                if name not in imported.exported:
                    raise JoinError("%s imports %s, which %s does not export" % (
                        os.path.basename(path), name, os.path.basename(source)))
        visiting.pop()
        modules[path] = module
        order.append(module)
        return module

    visit(entry)
    return order


def joined(modules):
    owners = {}
    for module in modules:
        for name in module.defined:
            if name in owners:
                raise JoinError("%s is defined at the top level of both %s and %s" % (
                    name, os.path.basename(owners[name]), os.path.basename(module.path)))
            owners[name] = module.path
    parts = ["// %s\n%s" % (os.path.basename(m.path), m.body.strip("\n") + "\n")
             for m in modules]
    return '"use strict";\n(() => {\n' + "\n".join(parts) + "})();\n"


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip().splitlines()[2].strip())
    try:
        text = joined(ordered(sys.argv[1]))
    except JoinError as error:
        sys.exit("join_modules.py: " + str(error))
    with open(sys.argv[2], "w", encoding="utf-8") as file:
        file.write(text)


if __name__ == "__main__":
    main()

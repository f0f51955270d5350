#!/usr/bin/python3
"""cmake/join_modules.py: the page's modules joined in the order of their imports, and the
module sets it refuses to join."""
import os
import subprocess
import sys
import tempfile
import unittest

JOIN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "cmake",
                    "join_modules.py")


def join(modules):
    """Joins the modules (name: text) from main.js; answers the exit code and the output or
    the error."""
    with tempfile.TemporaryDirectory() as folder:
        for name, text in modules.items():
            with open(os.path.join(folder, name), "w", encoding="utf-8") as file:
                file.write(text)
        output = os.path.join(folder, "joined.js")
        run = subprocess.run([sys.executable, JOIN, os.path.join(folder, "main.js"), output],
                             capture_output=True, text=True)
        if run.returncode:
            return run.returncode, run.stderr
        with open(output, encoding="utf-8") as file:
            return 0, file.read()


class JoinModulesTest(unittest.TestCase):

    def test_joins_in_import_order_or_refuses_with_the_reason(self):
        cases = [
            ("dependencies first, each once",
             {"main.js": 'import { b } from "./b.js";\nimport { a } from "./a.js";\nb(a);\n',
              "b.js": 'import { a } from "./a.js";\nexport function b(x) { return a + x; }\n',
              "a.js": "export const a = 1;\n"},
             None, ["const a = 1;", "function b(x)", "b(a);"]),
            ("a cycle",
             {"main.js": 'import { a } from "./a.js";\n',
              "a.js": 'import { b } from "./b.js";\nexport const a = 1;\n',
              "b.js": 'import { a } from "./a.js";\nexport const b = 2;\n'},
             "an import cycle: a.js -> b.js -> a.js", None),
            ("a name defined twice",
             {"main.js": 'import { a } from "./a.js";\nfunction helper() {}\n',
              "a.js": "function helper() {}\nexport const a = 1;\n"},
             "helper is defined at the top level of both", None),
            ("a name not exported",
             {"main.js": 'import { hidden } from "./a.js";\n',
              "a.js": "const hidden = 1;\n"},
             "main.js imports hidden, which a.js does not export", None),
            ("a renamed import",
             {"main.js": 'import { a as b } from "./a.js";\n', "a.js": "export const a = 1;\n"},
             "import \"a as b\" by its own name", None),
            ("a default export",
             {"main.js": 'import { a } from "./a.js";\n',
              "a.js": "export const a = 1;\nexport default a;\n"},
             "only exported declarations", None),
            ("a missing module",
             {"main.js": 'import { a } from "./gone.js";\n'}, "gone.js: no such module", None),
        ]
        for name, modules, refusal, in_order in cases:
            with self.subTest(name):
                code, text = join(modules)
                if refusal:
                    self.assertNotEqual(code, 0)
                    self.assertIn(refusal, text)
                    continue
                self.assertEqual(code, 0, text)
                self.assertNotIn("import", text)
                self.assertNotIn("export", text)
                at = [text.index(part) for part in in_order]
                self.assertEqual(at, sorted(at))
                self.assertEqual(text.count("const a = 1;"), 1)


if __name__ == "__main__":
    unittest.main(verbosity=2)

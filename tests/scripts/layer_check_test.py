#!/usr/bin/env python3
"""layer_check.py on small trees built in a temporary folder: a clean tree passes, and
each kind of fault is reported with its file, line and arrow."""

import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import layer_check  # noqa: E402

CLEAN = {
    "src/services/clock.h": "",
    "src/support/ascii.h": '#include "services/clock.h"\n',
    "src/ui/form.h": '#include "support/ascii.h"\n#include "services/clock.h"\n',
    "src/backends/win32/system/handle.h": "#include <windows.h>\n",
    "src/backends/win32/widgetset/paint.cpp":
        '#include <shellapi.h>\n#include "backends/win32/system/handle.h"\n#include "ui/form.h"\n',
    "src/backends/web/bridge/host.cpp": "#include <emscripten/html5.h>\n",
    "src/backends/web/entry/main.cpp": '#include "backends/web/bridge/host.cpp"\n',
    **{f"tools/pack/source/part{n}.{suffix}": "" for n in range(15) for suffix in ("h", "cpp")},
    "tools/pack/common/file_io.h": '#include "support/ascii.h"\n',
    "tools/pack/page/server.cpp": '#include "pack/source/part1.h"\n#include "ui/form.h"\n',
    "tools/pack/page/site_win32.cpp":
        '#include <windows.h>\n#include "backends/win32/system/handle.h"\n',
    **{f"web/page_{n}.js": "" for n in range(15)},
}

# Files added to (or replacing those of) the clean tree, and the report expected.
FAULTS = [
    ("core includes a lower-layer folder upwards",
     {"src/services/clock.h": '#include "support/ascii.h"\n'},
     "src/services/clock.h:1: services/clock.h -> support/ascii.h: "
     "services may not include support"),
    ("sibling backend folders",
     {"src/backends/win32/services/dialogs.cpp": '#include "backends/win32/widgetset/paint.cpp"\n'},
     "src/backends/win32/services/dialogs.cpp:1: backends/win32/services/dialogs.cpp -> "
     "backends/win32/widgetset/paint.cpp: backends/win32/services may not include"),
    ("one backend includes the other",
     {"src/backends/web/entry/main.cpp": '#include "backends/win32/system/handle.h"\n'},
     "main.cpp -> backends/win32/system/handle.h: backends/web may not include another backend"),
    ("files in one folder include each other",
     {"src/ui/form.h": '#include "ui/control.h"\n', "src/ui/control.h": '\n#include "ui/form.h"\n'},
     "include cycle between files: src/ui/form.h:1: ui/form.h -> ui/control.h; "
     "src/ui/control.h:2: ui/control.h -> ui/form.h"),
    ("folders include each other without a file cycle",
     {"src/extra/a.h": '#include "other/b.h"\n', "src/other/b.h": "",
      "src/other/c.h": '#include "extra/d.h"\n', "src/extra/d.h": ""},
     "include cycle between folders: src/extra/a.h:1: extra/a.h -> other/b.h; "
     "src/other/c.h:1: other/c.h -> extra/d.h"),
    ("folder left out of the order", {"src/extra/a.h": ""},
     "src/extra: folder is not in the layer order"),
    ("include of a missing file", {"src/ui/form.h": '#include "form.h"\n'},
     "src/ui/form.h:1: ui/form.h -> form.h: no such file under src/"),
    ("sixteen modules", {"tools/pack/source/part15.cpp": ""},
     "tools/pack/source: 16 modules, more than 15"),
    ("Windows header in the core", {"src/support/ascii.h": "#include <Windows.h>\n"},
     "src/support/ascii.h:1: support/ascii.h -> Windows.h: Windows headers belong in "
     "src/backends/win32/ only"),
    ("Windows header in the web backend",
     {"src/backends/web/bridge/host.cpp": "#include <mmsystem.h>\n"},
     "host.cpp -> mmsystem.h: Windows headers belong"),
    ("emscripten header in the Windows backend",
     {"src/backends/win32/system/handle.h": "#include <emscripten.h>\n"},
     "handle.h -> emscripten.h: emscripten headers belong in src/backends/web/ only"),
    ("tool folder includes a higher one",
     {"tools/pack/common/file_io.h": '#include "pack/page/server.h"\n',
      "tools/pack/page/server.h": ""},
     "tools/pack/common/file_io.h:1: common/file_io.h -> pack/page/server.h: "
     "common may not include page"),
    ("tool includes a backend of the player",
     {"tools/pack/page/server.cpp": '#include "backends/win32/system/handle.h"\n'},
     "page/server.cpp -> backends/win32/system/handle.h: the tool may not include a backend"),
    ("tool includes a missing file",
     {"tools/pack/page/server.cpp": '#include "pack/source/gone.h"\n'},
     "page/server.cpp -> pack/source/gone.h: no such file under tools/pack/"),
    ("Windows header in a tool file every build compiles",
     {"tools/pack/page/server.cpp": "#include <windows.h>\n"},
     "page/server.cpp -> windows.h: Windows headers belong in the tool's files that only the "
     "Windows build compiles"),
    ("sixteen page scripts", {"web/page_15.js": ""}, "web: 16 modules, more than 15"),
]


def errors_of(files):
    with tempfile.TemporaryDirectory() as root:
        for path, text in files.items():
            os.makedirs(os.path.dirname(os.path.join(root, path)), exist_ok=True)
            with open(os.path.join(root, path), "w") as file:
                file.write(text)
        return layer_check.check(root)


class LayerCheckTest(unittest.TestCase):
    def test_CleanTree_Passes(self):
        self.assertEqual(errors_of(CLEAN), [])

    def test_EachFault_IsReportedWithItsPlace(self):
        for name, changes, expected in FAULTS:
            with self.subTest(name):
                errors = errors_of({**CLEAN, **changes})
                self.assertTrue(any(expected in error for error in errors), errors)


if __name__ == "__main__":
    unittest.main()

"""Every template of the Windows tool, as a new author takes it: `new` makes the disc,
`build` builds it on the player the tool carries, and the disc shows its first menu under
Wine at the size of its background, with the menu's title.

Usage: templates_e2e.py each PACK_EXE [DEFAULT_WINEPREFIX]
"""

import os
import shutil
import subprocess
import tempfile
import tomllib

from player_harness import case_and_arguments, wine
from window_e2e import expect, is_marquee_of, menu_window, windows_path
from window_session import Session, read_picture


def run_tool(pack_exe, *arguments):
    done = subprocess.run([*wine(pack_exe), *arguments], capture_output=True, text=True,
                          timeout=180)
    expect(done.returncode == 0, "ambrevo-pack %s: %s%s" % (arguments[0], done.stdout,
                                                            done.stderr))
    return done.stdout


def first_menu(source):
    """The title and the background picture of the disc's first menu."""
    with open(os.path.join(source, "package.toml"), "rb") as package:
        first = tomllib.load(package)["menus"][0]
    with open(os.path.join(source, first), "rb") as menu:
        keys = tomllib.load(menu)
    return keys["title"], read_picture(os.path.join(source, keys["background"]))


def case_each(pack_exe):
    names = [line.split(":")[0].strip()
             for line in run_tool(pack_exe, "new", "--list").splitlines() if ":" in line]
    expect(len(names) >= 3, "at least three templates: %r" % names)
    folder = tempfile.mkdtemp(prefix="ambrevo-templates-e2e-")
    try:
        for name in names:
            source = os.path.join(folder, name)
            run_tool(pack_exe, "new", windows_path(source), "--template", name)
            exe = os.path.join(source, "disc", "setup.exe")
            run_tool(pack_exe, "build", windows_path(os.path.join(source, "package.toml")),
                     "-o", windows_path(exe))
            title, background = first_menu(source)
            session = Session(exe)
            try:
                window = menu_window(session, (background.width, background.height))
                expect(is_marquee_of(session.window_name(window), title),
                       "%s: the window's title %r" % (name, session.window_name(window)))
            finally:
                session.stop()
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    case, arguments = case_and_arguments(globals(), ["PACK_EXE"])
    case(*arguments)

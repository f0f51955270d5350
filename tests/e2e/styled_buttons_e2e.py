"""The Windows authoring tool under Wine draws the buttons of a styled menu as the Linux
tool does: both build the reference menu with the same player into the same bytes. When
they differ, the pictures that differ are named. Needs no display.

Usage: styled_buttons_e2e.py PACK_EXE LINUX_PACK PLAYER_EXE MENU_FOLDER [DEFAULT_WINEPREFIX]
(MENU_FOLDER: tests/tools/data/styled-buttons, whose main.toml is built)
"""

import filecmp
import os
import shutil
import subprocess
import sys
import tempfile

from player_harness import wine
from window_e2e import windows_path

RUN_SECONDS = 60  # one run of the tool, start-up of Wine included


def run(command, what):
    done = subprocess.run(command, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, timeout=RUN_SECONDS,
                          env=dict(os.environ, WINEDEBUG="-all"))
    if done.returncode != 0:
        sys.exit("%s failed (%d): %s" % (what, done.returncode,
                                         done.stderr.decode("utf-8", "replace")))


def differing_pictures(folder, windows_program, linux_program, pack_exe, linux_pack):
    """The item pictures that the two programs' extracts hold differently."""
    windows_out = os.path.join(folder, "windows-extract")
    linux_out = os.path.join(folder, "linux-extract")
    run(wine(pack_exe, "extract", windows_path(windows_program), "-o",
             windows_path(windows_out)), "the Windows tool's extract")
    run([linux_pack, "extract", linux_program, "-o", linux_out], "the Linux tool's extract")
    names = sorted(os.listdir(os.path.join(linux_out, "main")))
    return [name for name in names
            if not filecmp.cmp(os.path.join(windows_out, "main", name),
                               os.path.join(linux_out, "main", name), shallow=False)]


def main():
    if len(sys.argv) not in (5, 6):
        sys.exit("usage: %s PACK_EXE LINUX_PACK PLAYER_EXE MENU_FOLDER [DEFAULT_WINEPREFIX]"
                 % os.path.basename(sys.argv[0]))
    if not os.environ.get("WINEPREFIX"):
        if len(sys.argv) < 6:
            sys.exit("set WINEPREFIX to the prefix made by `make wineprefix`")
        os.environ["WINEPREFIX"] = sys.argv[5]
    pack_exe, linux_pack, player, menu_folder = sys.argv[1:5]
    if not os.access(linux_pack, os.X_OK):
        sys.exit("the Linux tool %s is not built: run `make native` first" % linux_pack)
    folder = tempfile.mkdtemp(prefix="ambrevo-styled-buttons-e2e-")
    try:
        source = os.path.join(folder, "source")
        shutil.copytree(menu_folder, source)
        shutil.copyfile(player, os.path.join(folder, "player.exe"))
        windows_program = os.path.join(folder, "windows.exe")
        linux_program = os.path.join(folder, "linux.exe")
        run(wine(pack_exe, "build", windows_path(os.path.join(source, "main.toml")), "--quiet",
                 "--player", windows_path(os.path.join(folder, "player.exe")),
                 "-o", windows_path(windows_program)), "the Windows tool's build")
        run([linux_pack, "build", os.path.join(source, "main.toml"), "--quiet",
             "--player", os.path.join(folder, "player.exe"), "-o", linux_program],
            "the Linux tool's build")
        if not filecmp.cmp(windows_program, linux_program, shallow=False):
            differing = differing_pictures(folder, windows_program, linux_program, pack_exe,
                                           linux_pack)
            sys.exit("the Windows tool built other bytes than the Linux tool; pictures that "
                     "differ: %s" % (", ".join(differing) or "none"))
        print("the Windows and the Linux tool built the same %d bytes"
              % os.path.getsize(windows_program))
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()

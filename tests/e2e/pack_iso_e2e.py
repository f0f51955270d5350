"""The Windows authoring tool under Wine writes the demo's ISO image as the Linux tool does:
read back on the host by xorriso (Joliet names, among them one outside ASCII, the program
and autorun.inf at the root, the label) and the same bytes as the Linux tool's image of the
same sources and player. Needs no display.

Usage: pack_iso_e2e.py PACK_EXE LINUX_PACK PLAYER_EXE DEMO_FOLDER [DEFAULT_WINEPREFIX]
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile

from player_harness import wine
from window_e2e import windows_path

RUN_SECONDS = 120  # one run of the tool, start-up of Wine included
LABEL = "Ambrevo Demo"
ACCENTED = "Notes d’été.txt"


def run(command, what):
    done = subprocess.run(command, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, timeout=RUN_SECONDS,
                          env=dict(os.environ, WINEDEBUG="-all", LC_ALL="C.UTF-8"))
    if done.returncode != 0:
        sys.exit("%s failed (%d): %s" % (what, done.returncode,
                                         done.stderr.decode("utf-8", "replace")))
    return done.stdout.decode("utf-8", "replace")


def check_image(image):
    """What xorriso, a reader of its own, finds in the image."""
    listed = run(["xorriso", "-indev", image, "-joliet", "on", "-find", "/", "-type", "f"],
                 "xorriso's listing")
    names = set(re.findall(r"^'/([^/]*)'$", listed, re.M))
    for name in ("setup.exe", "autorun.inf", "readme.txt", ACCENTED):
        if name not in names:
            sys.exit("the image lacks %s at its root; xorriso lists:\n%s" % (name, listed))
    described = run(["xorriso", "-indev", image, "-pvd_info"], "xorriso's volume")
    if "Volume Id    : AMBREVO_DEMO" not in described:
        sys.exit("the image's label is not AMBREVO_DEMO:\n" + described)


def main():
    if len(sys.argv) not in (5, 6):
        sys.exit("usage: %s PACK_EXE LINUX_PACK PLAYER_EXE DEMO_FOLDER [DEFAULT_WINEPREFIX]"
                 % os.path.basename(sys.argv[0]))
    if not os.environ.get("WINEPREFIX"):
        if len(sys.argv) < 6:
            sys.exit("set WINEPREFIX to the prefix made by `make wineprefix`")
        os.environ["WINEPREFIX"] = sys.argv[5]
    pack_exe, linux_pack, player, demo = sys.argv[1:5]
    if not os.access(linux_pack, os.X_OK):
        sys.exit("the Linux tool %s is not built: run `make native` first" % linux_pack)
    folder = tempfile.mkdtemp(prefix="ambrevo-pack-iso-e2e-")
    try:
        source = os.path.join(folder, "demo")
        shutil.copytree(demo, source)
        with open(os.path.join(source, "disc", ACCENTED), "w", encoding="utf-8") as note:
            note.write("a name outside ASCII\n")
        shutil.copyfile(player, os.path.join(folder, "player.exe"))
        images = {}
        for tool in ("windows", "linux"):
            output = os.path.join(folder, tool, "setup.exe")
            image = os.path.join(folder, tool + ".iso")
            arguments = ["build", os.path.join(source, "package.toml"), "--quiet", "--player",
                         os.path.join(folder, "player.exe"), "-o", output, "--autorun", LABEL,
                         "--iso", image]
            if tool == "windows":
                arguments = [windows_path(a) if a.startswith(folder) else a for a in arguments]
                run(wine(pack_exe, *arguments), "the Windows tool's build")
            else:
                run([linux_pack] + arguments, "the Linux tool's build")
            check_image(image)
            with open(image, "rb") as made:
                images[tool] = made.read()
        if images["windows"] != images["linux"]:
            differing = next(i for i, (a, b) in enumerate(zip(images["windows"], images["linux"]))
                             if a != b) if len(images["windows"]) == len(images["linux"]) else -1
            sys.exit("the Windows tool's image differs from the Linux tool's (%d and %d bytes, "
                     "first at byte %d)" % (len(images["windows"]), len(images["linux"]), differing))
        print("the Windows and the Linux tool wrote the same %d-byte image" % len(images["linux"]))
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()

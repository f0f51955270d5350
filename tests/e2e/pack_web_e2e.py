"""The Windows authoring tool's browser page under Wine: the page built into the tool is
written by `web` and served by `edit`, and an edit made through the designer's interface
lands in the menu's TOML. Needs no display.

Usage: pack_web_e2e.py CASE PACK_EXE DEMO_FOLDER SITE_FOLDER OBJCOPY [DEFAULT_WINEPREFIX]
(CASE: web, edit, disc_names or without_page; SITE_FOLDER: the web build's page, which the tool carries)
"""

import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

from edit_interface import changed_lines, post_edit, request
from player_harness import wine
from window_e2e import expect, windows_path

RUN_SECONDS = 30  # one run of the tool, start-up of Wine included
PAGE = ["index.html", "page.css", "page.js", "ambrevo-web.js", "ambrevo-web.wasm"]
STALE = " (a tool built before the last web build carries the one before: build it again)"
_SERVING = re.compile(r"Serving (http://127\.0\.0\.1:\d+/)\?token=([0-9a-f]+) ")


class Tool:
    """The demo's sources in a temporary folder, and the tool run on them."""

    def __init__(self, pack_exe, demo_folder):
        self.pack_exe = pack_exe
        self.folder = tempfile.mkdtemp(prefix="ambrevo-pack-web-e2e-")
        self.source = os.path.join(self.folder, "source")
        shutil.copytree(demo_folder, self.source)
        self.package = windows_path(os.path.join(self.source, "package.toml"))

    def path(self, *parts):
        return os.path.join(self.folder, *parts)

    def start(self, name, *arguments):
        """Starts the tool; its output goes to files, as Wine's helper processes would keep a
        pipe open after it ends."""
        with open(self.path(name + ".out"), "wb") as out, \
                open(self.path(name + ".err"), "wb") as err:
            return subprocess.Popen(wine(self.pack_exe, *arguments), cwd=self.folder,
                                    env=dict(os.environ, WINEDEBUG="-all"),
                                    stdin=subprocess.DEVNULL, stdout=out, stderr=err)

    def run(self, name, *arguments):
        """Runs the tool to its end: its exit status and its messages."""
        process = self.start(name, *arguments)
        try:
            status = process.wait(RUN_SECONDS)
        finally:
            if process.poll() is None:
                process.kill()  # only the process this run started
                process.wait()
        return status, self.output(name, "err")

    def output(self, name, stream):
        with open(self.path(name + "." + stream), "rb") as f:
            return f.read().decode("utf-8", "replace").replace("\r\n", "\n")

    def remove(self):
        shutil.rmtree(self.folder, ignore_errors=True)


def expect_page(folder, site_folder):
    """The page's files in folder, each the web build's own."""
    for name in PAGE:
        expect(os.path.isfile(os.path.join(folder, name)), "the page holds " + name)
    for name in os.listdir(folder):
        if not os.path.isfile(os.path.join(site_folder, name)):
            continue  # the package and the disc's files
        with open(os.path.join(site_folder, name), "rb") as f:
            built = f.read()
        with open(os.path.join(folder, name), "rb") as f:
            expect(f.read() == built, name + " is the web build's" + STALE)


def case_web(tool, site_folder, objcopy):
    # Into folders that are not there yet.
    status, messages = tool.run("web", "web", tool.package, "-o",
                                windows_path(tool.path("out", "demo", "page")))
    expect(status == 0, "web writes the page: " + messages)
    page = tool.path("out", "demo", "page")
    expect_page(page, site_folder)
    for name in ["package.bin", "files.json", "disc/readme.txt"]:
        expect(os.path.isfile(os.path.join(page, name)), "the page holds " + name)
    expect(re.search(r"^wrote .*: the page, the package and 2 disc files$", messages, re.M),
           "web says what it wrote: " + messages)


def case_disc_names(tool, site_folder, objcopy):
    # Wine shows a Unix link as a reparse point, as Windows shows a junction: neither a
    # linked folder nor a linked file that leads out of the disc folder is published, nor
    # the shell's files and editor backups; a device name is left out with a warning.
    disc = os.path.join(tool.source, "disc")
    os.makedirs(tool.path("private"))
    with open(tool.path("private", "secret.txt"), "w") as f:
        f.write("secret")
    os.symlink(tool.path("private"), os.path.join(disc, "linked"))
    os.symlink(tool.path("private", "secret.txt"), os.path.join(disc, "secret.txt"))
    for name in ["Thumbs.db", "desktop.ini", "notes.txt~", "#notes.txt#", "CON.txt"]:
        with open(os.path.join(disc, name), "w") as f:
            f.write(name)
    status, messages = tool.run("web", "web", tool.package, "-o", windows_path(tool.path("page")))
    expect(status == 0, "web writes the page: " + messages)
    published = sorted(os.path.relpath(os.path.join(folder, name), tool.path("page", "disc"))
                       for folder, _, names in os.walk(tool.path("page", "disc"))
                       for name in names)
    expect(published == ["docs/guide.txt", "readme.txt"],
           "only the demo's own disc files are published: %r %s" % (published, messages))
    expect('warning: disc file "CON.txt" left out: its name is kept by Windows for a device'
           in messages, "a device name is left out with a warning: " + messages)


def case_without_page(tool, site_folder, objcopy):
    # The tool as built before the web build: the same program without its resources.
    bare = tool.path("ambrevo-pack.exe")
    subprocess.run([objcopy, "--remove-section=.rsrc", tool.pack_exe, bare], check=True,
                   timeout=60)
    tool.pack_exe = bare
    status, messages = tool.run("web", "web", tool.package, "-o", windows_path(tool.path("page")))
    expect(status == 1 and re.search(
        r"^error: the browser player's page is not built into this ambrevo-pack", messages,
        re.M), "web says that the page is not built in: " + messages)
    expect(not os.path.exists(tool.path("page")), "nothing written")
    status, messages = tool.run("site", "web", tool.package, "-o", windows_path(tool.path("page")),
                                "--site", windows_path(site_folder))
    expect(status == 0, "web writes the page of --site: " + messages)
    expect_page(tool.path("page"), site_folder)


def wait_for_output(tool, process, pattern, what):
    deadline = time.monotonic() + RUN_SECONDS
    while time.monotonic() < deadline:
        found = re.search(pattern, tool.output("edit", "out"))
        if found:
            return found
        expect(process.poll() is None, "edit ended (status %s) before %s: %s" % (
            process.returncode, what, tool.output("edit", "err")))
        time.sleep(0.1)
    raise AssertionError("no %s within %d s: %s" % (what, RUN_SECONDS, tool.output("edit", "out")))


def case_edit(tool, site_folder, objcopy):
    main_toml = os.path.join(tool.source, "main.toml")
    with open(main_toml, "rb") as f:
        before = f.read().decode("utf-8")
    process = tool.start("edit", "edit", tool.package, "--port", "0", "--no-browser")
    try:
        serving = wait_for_output(tool, process, _SERVING, "the server's address")
        base = serving.group(1)

        status, body = request(base)
        expect(status == 200 and b"page.js" in body, "the page: %d" % status)
        status, body = request(base + "ambrevo-web.wasm")
        with open(os.path.join(site_folder, "ambrevo-web.wasm"), "rb") as f:
            expect(status == 200 and body == f.read(), "the player: %d%s" % (status, STALE))

        status, body = request(base + "model")
        expect(status == 403, "GET /model without the token: %d" % status)
        status, body = post_edit(base, serving.group(2), "main.toml",
                                 {"item": 1, "set": {"position": [46, 130]}})
        expect(status == 200, "POST /edit: %d %r" % (status, body))
        with open(main_toml, "rb") as f:
            changed = changed_lines(before, f.read().decode("utf-8"))
        expect(changed == [("position = [36, 130]", "position = [46, 130]")],
               "only the item's position changed: %r" % changed)
        # The server sees its own edit and builds again.
        wait_for_output(tool, process, r"built: generation 2", "the build after the edit")

        # A device name, which Windows would open as the device, is no new menu's file.
        status, body = post_edit(base, serving.group(2), "package.toml",
                                 {"add_menu": {"file": "CON.toml", "title": "Console"}})
        expect(status == 400 and json.loads(body)["error"] ==
               '"CON.toml" is kept by Windows for a device; choose another name',
               "a new menu named CON.toml: %d %r" % (status, body))
        expect(not os.path.exists(os.path.join(tool.source, "CON.toml")), "no CON.toml made")
    finally:
        process.kill()  # only the process this test started
        process.wait()


def main():
    cases = {"web": case_web, "edit": case_edit, "without_page": case_without_page,
             "disc_names": case_disc_names}
    if len(sys.argv) not in (6, 7) or sys.argv[1] not in cases:
        sys.exit("usage: %s {%s} PACK_EXE DEMO_FOLDER SITE_FOLDER OBJCOPY [DEFAULT_WINEPREFIX]"
                 % (os.path.basename(sys.argv[0]), ",".join(cases)))
    if not os.environ.get("WINEPREFIX"):
        if len(sys.argv) < 7:
            sys.exit("set WINEPREFIX to the prefix made by `make wineprefix`")
        os.environ["WINEPREFIX"] = sys.argv[6]
    pack_exe, demo_folder, site_folder, objcopy = sys.argv[2:6]
    tool = Tool(pack_exe, demo_folder)
    try:
        cases[sys.argv[1]](tool, site_folder, objcopy)
    finally:
        tool.remove()


if __name__ == "__main__":
    main()

"""The Windows tool started as a double-click starts it, with no arguments: it serves its start
page and has the shell open that page's address, token included, in the browser registered for
http. A recorder program stands in for the browser. A second start finds the running tool and
opens the same page instead of failing on the port. Needs no display.

Usage: start_page_e2e.py PACK_EXE RECORDER_EXE [DEFAULT_WINEPREFIX]
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile

from edit_interface import request
from player_harness import wine
from window_e2e import expect, windows_path
from window_session import wait_until

RUN_SECONDS = 30  # one start of the tool, start-up of Wine included
# Wine's classes root does not take the user's own classes in, so the machine's entry is
# the one the shell reads; the test puts the old one back afterwards.
HTTP_OPEN = r"HKLM\Software\Classes\http\shell\open\command"
_SERVING = re.compile(r"Serving (http://127\.0\.0\.1:\d+/start\.html\?token=[0-9a-f]+) ")


def reg(*arguments):
    return subprocess.run(wine("reg", *arguments), capture_output=True, text=True, timeout=60)


def registered_browser():
    """The command registered for http now, or None."""
    found = re.search(r"REG_SZ\s+(.*)", reg("query", HTTP_OPEN, "/ve").stdout)
    return found.group(1).strip() if found else None


def register_browser(command):
    done = reg("add", HTTP_OPEN, "/ve", "/d", command, "/f")
    expect(done.returncode == 0, "registering %r for http: %s" % (command, done.stderr))


class Recorder:
    """A copy of the recorder in a folder of its own: it notes each address it is given."""

    def __init__(self, recorder_exe, folder):
        self.exe = os.path.join(folder, "browser.exe")
        shutil.copy(recorder_exe, self.exe)
        self.notes = os.path.join(folder, "launches.txt")

    def command(self):
        return '"%s" "%%1"' % windows_path(self.exe)

    def addresses(self):
        if not os.path.exists(self.notes):
            return []
        with open(self.notes, encoding="utf-8") as notes:
            return [line.rstrip("\n").split("|")[1] for line in notes if "|" in line]

    def wait_for(self, count, what):
        return wait_until(lambda: len(self.addresses()) >= count and self.addresses(),
                          RUN_SECONDS, "the browser asked for " + what)


def start_tool(pack_exe, folder, name):
    with open(os.path.join(folder, name + ".out"), "wb") as out, \
            open(os.path.join(folder, name + ".err"), "wb") as err:
        return subprocess.Popen(wine(pack_exe), cwd=folder,
                                env=dict(os.environ, WINEDEBUG="-all"),
                                stdin=subprocess.DEVNULL, stdout=out, stderr=err)


def output(folder, name):
    with open(os.path.join(folder, name), "rb") as f:
        return f.read().decode("utf-8", "replace")


def served_address(process, folder):
    def served():
        expect(process.poll() is None, "the tool ended (status %s) before serving: %s" % (
            process.returncode, output(folder, "first.err")))
        found = _SERVING.search(output(folder, "first.out"))
        return found and found.group(1)
    return wait_until(served, RUN_SECONDS, "the start page served")


def check_start_page(pack_exe, recorder_exe):
    folder = tempfile.mkdtemp(prefix="ambrevo-start-page-e2e-")
    recorder = Recorder(recorder_exe, folder)
    first = None
    try:
        register_browser(recorder.command())
        first = start_tool(pack_exe, folder, "first")
        address = served_address(first, folder)
        expect(recorder.wait_for(1, "the start page") == [address],
               "the browser opens the address the tool serves, token and all: %r, %r" % (
                   recorder.addresses(), address))
        status, body = request(address)
        expect(status == 200 and b"start" in body, "the start page answers: %d" % status)

        second = start_tool(pack_exe, folder, "second")
        status = second.wait(RUN_SECONDS)
        expect(status == 0, "a second start ends once it has opened the running page: %d %s" % (
            status, output(folder, "second.err")))
        expect(recorder.wait_for(2, "the running page") == [address, address],
               "a second start opens the running tool's page: %r" % recorder.addresses())
    finally:
        if first is not None:
            first.kill()  # only the process this test started
            first.wait()
        shutil.rmtree(folder, ignore_errors=True)


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit("usage: %s PACK_EXE RECORDER_EXE [DEFAULT_WINEPREFIX]" % sys.argv[0])
    if not os.environ.get("WINEPREFIX"):
        if len(sys.argv) < 4:
            sys.exit("set WINEPREFIX to the prefix made by `make wineprefix`")
        os.environ["WINEPREFIX"] = sys.argv[3]
    browser = registered_browser()
    try:
        check_start_page(sys.argv[1], sys.argv[2])
    finally:
        if browser is None:
            reg("delete", HTTP_OPEN, "/ve", "/f")
        else:
            register_browser(browser)
    print("ok")


if __name__ == "__main__":
    main()

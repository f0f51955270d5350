"""Runs the player under Wine on the X display of the test and watches what it does.

Standard library only. The player's message boxes are found by their window name and
their process id, dismissed by clicking OK, and read back from Wine's trace of window
texts; debug output comes from the same trace.
"""

import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time

RUN_SECONDS = 30  # a whole run, start-up of Wine included
BOX_SECONDS = 10  # for one message box to go away after its OK click
# The prefix's server stays this long after its last program ends, so that the runs of a
# test suite share one Wine start-up (about 1.5 s a run instead of 3.5 s).
SERVER_LINGER_SECONDS = 5
# Starts Windows programs with the Wine loader of the build under test (WINDOWS_ARCH).
WINE_RUN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts",
                        "wine-run")

_WINDOW_TEXT = re.compile(r'trace:win:set_window_text L"(.*)"$')
_DEBUG_STRING = re.compile(r'debugstr:OutputDebugStringA "(.*)"$')
_ESCAPES = {"n": "\n", "r": "\r", "t": "\t", "\\": "\\", '"': '"', "'": "'"}


def _unescape(text):
    """Undoes the escaping of Wine's debugstr_a/debugstr_w."""
    out = []
    i = 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            nxt = text[i + 1]
            if nxt in _ESCAPES:
                out.append(_ESCAPES[nxt])
                i += 2
                continue
            if nxt == "x" and re.match(r"[0-9a-fA-F]{2}", text[i + 2:i + 4]):
                out.append(chr(int(text[i + 2:i + 4], 16)))
                i += 4
                continue
            if re.match(r"[0-9a-fA-F]{4}", text[i + 1:i + 5]):
                out.append(chr(int(text[i + 1:i + 5], 16)))
                i += 5
                continue
        out.append(c)
        i += 1
    return "".join(out)


def package_bytes(program, entries, header_byte_tag=1, count=None):
    """The program followed by a package of (stored name, data) entries and its trailer."""
    start = len(program)
    header = b"FPAK" + bytes([2, 0, 0])
    header += bytes([4]) + struct.pack("<i", 4) + b"Test"
    header += bytes([header_byte_tag]) + struct.pack("<i", 1) + bytes([0])
    header += bytes([len(entries) if count is None else count])
    position = start + len(header) + 260 * len(entries)
    directory = b""
    for name, data in entries:
        directory += name.encode("latin-1").ljust(256, b" ") + struct.pack("<i", position + 1)
        position += len(data)
    body = b"".join(data for _, data in entries)
    return program + header + directory + body + struct.pack("<i", start + 1)


class Result:
    def __init__(self, returncode, boxes, clicks, debug_lines, program_folder):
        self.returncode = returncode
        self.boxes = boxes  # (title, text) of each message box, in order
        self.clicks = clicks  # OK clicks the run waited for
        self.debug_lines = debug_lines
        self.program_folder = program_folder  # as the player sees it, ending in "\\"


class RemovedAfterUse:
    """A test's temporary thing, used in a with block and removed at its end, whatever
    happens in it."""

    def __enter__(self):
        return self

    def __exit__(self, *error):
        self.remove()


class Player:
    """A copy of the player in a private temporary folder, with files put beside it."""

    def __init__(self, player_exe, name="ambrevo.exe", contents=None):
        self.folder = tempfile.mkdtemp(prefix="ambrevo-e2e-")
        self.path = os.path.join(self.folder, name)
        if contents is None:
            shutil.copyfile(player_exe, self.path)
        else:
            with open(self.path, "wb") as out:
                out.write(contents)

    def add_file(self, name, data):
        with open(os.path.join(self.folder, name), "wb") as out:
            out.write(data)

    def remove(self):
        shutil.rmtree(self.folder, ignore_errors=True)

    def run(self, *arguments):
        """Runs the player to its end, clicking OK on each of its message boxes."""
        # Wine's helper processes outlive the player and inherit its output, so the trace
        # goes to a file: a pipe would stay open (and keep ctest waiting) after the run.
        linger_wine_server()
        env = dict(os.environ, WINEDEBUG="+debugstr,trace+win")
        trace_path = os.path.join(self.folder, "wine-trace.log")
        with open(trace_path, "wb") as trace:
            process = subprocess.Popen(
                wine(self.path, *arguments), cwd=self.folder, env=env,
                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=trace)
        try:
            clicks = _dismiss_boxes_until_exit(process, time.monotonic() + RUN_SECONDS)
        finally:
            if process.poll() is None:
                process.kill()  # only the process this run started
                process.wait()
        with open(trace_path, "rb") as trace:
            lines = trace.read().decode("latin-1").splitlines()
        # Wine shows the Linux root as drive Z:.
        program_folder = "Z:" + self.folder.replace("/", "\\") + "\\"
        return Result(process.returncode, _message_boxes(lines), clicks, _debug_lines(lines),
                      program_folder)


def wine(*arguments):
    """The command line that runs a Windows program (or one of Wine's own) under Wine."""
    return [WINE_RUN, *arguments]


def linger_wine_server():
    """Keeps the prefix's server running between the runs of a test."""
    subprocess.run(wine("--server", "-p%d" % SERVER_LINGER_SECONDS), timeout=30,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def _xdotool(*arguments):
    done = subprocess.run(["xdotool", *arguments], stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL, timeout=10)
    return done.stdout.decode().split() if done.returncode == 0 else []


def _boxes_of(pid):
    return _xdotool("search", "--all", "--onlyvisible", "--pid", str(pid), "--name", "^Ambrevo$")


def _click_ok(window):
    """Clicks the OK button, centred about 23 pixels above the bottom edge of the box."""
    geometry = dict(line.split("=") for line in
                    _xdotool("getwindowgeometry", "--shell", window) if "=" in line)
    if not {"X", "Y", "WIDTH", "HEIGHT"} <= geometry.keys():
        return
    x = int(geometry["X"]) + int(geometry["WIDTH"]) // 2
    y = int(geometry["Y"]) + int(geometry["HEIGHT"]) - 23
    _xdotool("mousemove", str(x), str(y), "click", "1")


def _dismiss_boxes_until_exit(process, deadline):
    """Clicks OK on each box of the process until it ends; returns the number of clicks."""
    clicks = 0
    while process.poll() is None:
        if time.monotonic() > deadline:
            raise TimeoutError("the player did not end within %d s" % RUN_SECONDS)
        boxes = _boxes_of(process.pid)
        if not boxes:
            time.sleep(0.1)
            continue
        window = boxes[0]
        _click_ok(window)
        clicks += 1
        box_deadline = min(deadline, time.monotonic() + BOX_SECONDS)
        while process.poll() is None and window in _boxes_of(process.pid):
            if time.monotonic() > box_deadline:
                raise TimeoutError("a message box did not close after its OK click")
            time.sleep(0.1)
    return clicks


def _message_boxes(lines):
    """(title, text) of each message box: Wine sets the box's template button labels,
    ending with "Help", then the title, then the text."""
    texts = [_unescape(m.group(1)) for m in map(_WINDOW_TEXT.search, lines) if m]
    boxes = []
    i = 0
    while i < len(texts):
        if texts[i] != "Help":
            i += 1
            continue
        rest = [t for t in texts[i + 1:i + 6] if t]
        if len(rest) >= 2:
            boxes.append((rest[0], rest[1]))
        i += 1
    return boxes


def _debug_lines(lines):
    return [_unescape(m.group(1)) for m in map(_DEBUG_STRING.search, lines) if m]


def case_and_arguments(script_globals, usage_arguments):
    """The case function named by the first argument of the command line, and the
    arguments after it; the last argument, DEFAULT_WINEPREFIX, is used when WINEPREFIX is
    not set. Exits with the usage line when the command line does not fit."""
    cases = {name[len("case_"):]: f for name, f in script_globals.items()
             if name.startswith("case_") and getattr(f, "__module__", None) == "__main__"}
    count = len(usage_arguments)
    if len(sys.argv) < count + 2 or sys.argv[1] not in cases:
        sys.exit("usage: %s {%s} %s [DEFAULT_WINEPREFIX]" % (
            os.path.basename(sys.argv[0]), ",".join(cases), " ".join(usage_arguments)))
    if not os.environ.get("DISPLAY"):
        sys.exit("no X display: run the tests under xvfb-run")
    if not os.environ.get("WINEPREFIX"):
        if len(sys.argv) < count + 3:
            sys.exit("set WINEPREFIX to the prefix made by `make wineprefix`")
        os.environ["WINEPREFIX"] = sys.argv[count + 2]
    return cases[sys.argv[1]], sys.argv[2:count + 2]

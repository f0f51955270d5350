#!/usr/bin/env python3
"""Time from process start to the window on screen under Wine: the player with the load
benchmark's heavy menu, and with the demo disc, against a bare Win32 program that shows a
640 x 480 bitmap; and both menus again on a screen of 144 DPI (150 %).

Run on an X display (xvfb-run) with WINEPREFIX set (`make bench-window` does); needs
libX11, xdotool, Wine and the MinGW compiler (for the bare window). Prints the median
of each and its ratio to the bare window's, against its target; then each menu's time
beside its floor, the bare window's time plus libdeflate decoding that disc's picture
streams on every processor (bench/stream_floor.cpp, timed natively in the same run), and
their ratio. Each menu's time at 144 DPI is printed beside its time at 96 DPI (the floor
of that line) and their ratio (target: at most 1.1). The 144-DPI runs take place in a copy
of the prefix whose LogPixels is 144 (tests/e2e/scaled_prefix.py), in turn with the others.

  bench/time_to_window.py --player build/win32/ambrevo.exe \
      --disc-maker build/native/bench/rich_menu_disc [--runs 9] [--baseline OTHER.exe] \
      [--pack build/native/ambrevo-pack] [--demo examples/demo] \
      [--stream-floor build/native/bench/stream_floor]

The demo disc is built with the authoring tool beside the disc maker's folder
(build/native/ambrevo-pack) unless --pack names another; stream_floor too is taken from
the disc maker's folder unless named.

--baseline adds the same disc made from another build of the player, measured in turn
with the others, to compare two builds under the same load.
"""

import argparse
import ctypes
import ctypes.util
import os
import select
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

from floor_figures import against_floor, stream_floor

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
from scaled_prefix import ScaledPrefix  # noqa: E402

# Windows programs start with the Wine loader of the build being measured (WINDOWS_ARCH,
# which the Makefile sets), and the bare window is compiled for the same architecture.
WINE_RUN = os.path.join(HERE, "..", "scripts", "wine-run")
MINGW_GCC = {"win32": "i686-w64-mingw32-gcc", "win64": "x86_64-w64-mingw32-gcc"}
WAIT_SECONDS = 30
# The most each menu's time to window may be, as a multiple of the bare window's.
TARGET_RATIOS = {"heavy menu": 2.0, "baseline": 2.0, "demo": 1.2}
# The screen of the scaled runs, and the most a menu's time there may be, as a multiple of
# its time at 96 DPI.
SCALED_DPI = 144
SCALED_TARGET = 1.1
SCALED = " at %d DPI" % SCALED_DPI
DEMO_TITLE = "Ambrevo Demo"
POLL_SECONDS = 0.005


class XMapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("override_redirect", ctypes.c_int)]


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("map", XMapEvent), ("pad", ctypes.c_long * 24)]


class MapWatcher:
    """Reports top-level windows as the X server maps them, from its own events, so the
    waiting takes no processor time from the program being measured (a poll that starts
    a process every few milliseconds would take much of one of this machine's two)."""

    MAP_NOTIFY = 19
    SUBSTRUCTURE_NOTIFY_MASK = 1 << 19

    def __init__(self):
        self.x = ctypes.CDLL(ctypes.util.find_library("X11"))
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        self.x.XConnectionNumber.argtypes = [ctypes.c_void_p]
        self.x.XPending.argtypes = [ctypes.c_void_p]
        self.x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
        self.x.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                      ctypes.POINTER(ctypes.c_char_p)]
        self.x.XFree.argtypes = [ctypes.c_void_p]
        self.display = self.x.XOpenDisplay(None)
        if not self.display:
            sys.exit("no X display")
        self.x.XSelectInput(self.display, self.x.XDefaultRootWindow(self.display),
                            self.SUBSTRUCTURE_NOTIFY_MASK)
        self.fd = self.x.XConnectionNumber(self.display)

    def mapped(self, title):
        """Takes the events the server has sent; true when one maps a top-level window
        with this title."""
        event = XEvent()
        while self.x.XPending(self.display):
            self.x.XNextEvent(self.display, ctypes.byref(event))
            if event.type == self.MAP_NOTIFY and self.name(event.map.window) == title:
                return True
        return False

    def wait_for(self, title, process, start):
        """Waits until a top-level window with this title is mapped."""
        while not self.mapped(title):
            if process.poll() is not None:
                sys.exit(f"{process.args[1]} ended without showing its window")
            if time.monotonic() - start > WAIT_SECONDS:
                sys.exit(f"{process.args[1]} showed no window in {WAIT_SECONDS} s")
            select.select([self.fd], [], [], 0.1)

    def name(self, window):
        text = ctypes.c_char_p()
        if not self.x.XFetchName(self.display, window, ctypes.byref(text)) or not text.value:
            return None
        name = text.value.decode("latin-1")
        self.x.XFree(text)
        return name


def visible(title):
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return found.returncode == 0


def time_to_window(watcher, program, title, environment=None):
    """Seconds from starting the program (in the environment given, else this one's) to
    its window being mapped; the program is then ended."""
    start = time.monotonic()
    process = subprocess.Popen([WINE_RUN, program], cwd=os.path.dirname(program),
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               env=environment)
    try:
        watcher.wait_for(title, process, start)
        return time.monotonic() - start
    finally:
        process.kill()
        process.wait()
        while visible(title):  # the next run must not find this window
            time.sleep(POLL_SECONDS)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--player", required=True, help="the bare player, ambrevo.exe")
    parser.add_argument("--disc-maker", required=True, help="the native rich_menu_disc")
    parser.add_argument("--runs", type=int, default=9)
    parser.add_argument("--baseline", help="another build of the player to compare")
    parser.add_argument("--pack", help="the native ambrevo-pack, to build the demo disc")
    parser.add_argument("--demo", default=os.path.join(HERE, "..", "examples", "demo"),
                        help="the demo's sources (package.toml and disc/)")
    parser.add_argument("--stream-floor", help="the native stream_floor")
    args = parser.parse_args()
    pack = args.pack or os.path.join(os.path.dirname(os.path.dirname(
        os.path.abspath(args.disc_maker))), "ambrevo-pack")
    streams_tool = args.stream_floor or os.path.join(
        os.path.dirname(os.path.abspath(args.disc_maker)), "stream_floor")

    folder = tempfile.mkdtemp(prefix="ambrevo-ttw-")
    scaled = None
    try:
        floor = os.path.join(folder, "floor.exe")
        subprocess.run([MINGW_GCC[os.environ.get("WINDOWS_ARCH", "win32")], "-O2", "-mwindows", "-o", floor,
                        os.path.join(HERE, "floor_window.c"), "-lgdi32"], check=True)
        cases = [("bare window", floor, "Floor", None)]
        players = [("heavy menu", args.player)]
        if args.baseline:
            players.append(("baseline", args.baseline))
        for name, player in players:
            disc = os.path.join(folder, name.replace(" ", "-"), "setup.exe")
            os.makedirs(os.path.dirname(disc))
            subprocess.run([args.disc_maker, player, disc], check=True)
            cases.append((name, disc, "Heavy", None))
        demo = os.path.join(folder, "demo")
        shutil.copytree(os.path.join(args.demo, "disc"), demo)
        subprocess.run([pack, "build", os.path.join(args.demo, "package.toml"), "--player",
                        args.player, "-o", os.path.join(demo, "setup.exe")], check=True,
                       stdout=subprocess.DEVNULL)
        cases.append(("demo", os.path.join(demo, "setup.exe"), DEMO_TITLE, None))
        players.append(("demo", args.player))
        # Timed before Wine starts, so that its server takes nothing from the decoding.
        decoding = {name: stream_floor(streams_tool, program)
                    for name, program, _, _ in cases[1:]}
        scaled = ScaledPrefix(SCALED_DPI)
        rescaled = [case for case in cases if case[0] in ("heavy menu", "demo")]
        cases += [(name + SCALED, program, title, scaled.environment())
                  for name, program, title, _ in rescaled]
        # A running server spares each run Wine's start-up; it ends by itself afterwards.
        # (It fails harmlessly when the prefix's server is already running.)
        for environment in (None, scaled.environment()):
            subprocess.run([WINE_RUN, "--server", "-p5"], stderr=subprocess.DEVNULL,
                           env=environment)
        watcher = MapWatcher()
        times = {name: [] for name, _, _, _ in cases}
        for name, program, title, environment in cases:
            time_to_window(watcher, program, title, environment)  # warms the caches
        for _ in range(args.runs):
            for name, program, title, environment in cases:
                times[name].append(time_to_window(watcher, program, title, environment))
        medians = {name: statistics.median(values) for name, values in times.items()}
        for name, values in times.items():
            print(f"{name:>11}: median {medians[name]:.3f} s "
                  f"(min {min(values):.3f}, max {max(values):.3f}, {len(values)} runs)")
        for name, _ in players:
            ratio = medians[name] / medians["bare window"]
            target = TARGET_RATIOS[name]
            print(f"{name} / bare window = {ratio:.2f} (target at most {target:.1f}): "
                  f"{'met' if ratio <= target else 'NOT met'}")
        bare = medians["bare window"] * 1000
        for name, _ in players:
            decode = decoding[name]
            line = against_floor(f"{name} time to window", medians[name] * 1000,
                                 bare + decode["median_ms"])
            print(f"{line} (bare window {bare:.0f} ms + {decode['streams']} pictures decoded"
                  f" in {decode['median_ms']:.0f} ms on {decode['threads']} threads)")
        for name, _, _, _ in rescaled:
            line = against_floor(f"{name} time to window{SCALED}", medians[name + SCALED] * 1000,
                                 medians[name] * 1000)
            print(f"{line} (the floor: the same menu at 96 DPI; target at most "
                  f"{SCALED_TARGET:.1f}x)")
    finally:
        if scaled:
            scaled.remove()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()

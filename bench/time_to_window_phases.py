#!/usr/bin/env python3
"""Where the heavy menu's time to window goes under Wine: from the process start to the
first picture's debug line ("Getting Image 1", written once the items are set up and the
first pictures are decoded), through the picture lines (the rest of the decoding), to the
window on screen (the window's showing). Same set-up as time_to_window.py; each mark is
taken on this script's clock when the line or the window arrives. The player sends its
debug lines from a thread of its own, behind the load, and Wine traces each line to
stderr here, which slows that thread: the line marks are upper bounds, and the last line
may come after the window.

  bench/time_to_window_phases.py --player build/win64/ambrevo.exe \\
      --disc-maker build/native/bench/rich_menu_disc [--runs 9]
"""

import argparse
import os
import select
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

from time_to_window import WAIT_SECONDS, WINE_RUN, MapWatcher, visible

TITLE = "Heavy"
FIRST_LINE = b"Getting Image 1 "
LAST_LINE = b"Getting Image 1441 "  # bench/heavy_menu.cpp: 1 + 60 x 3 x 8 pictures
LATE_LINES_SECONDS = 5


def phases(watcher, program):
    """Seconds to the first picture line, to the last one and to the window."""
    start = time.monotonic()
    process = subprocess.Popen([WINE_RUN, program], cwd=os.path.dirname(program),
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                               env=dict(os.environ, WINEDEBUG="+debugstr"))
    os.set_blocking(process.stderr.fileno(), False)
    output = b""
    marks = {}

    def take_lines(wait):
        nonlocal output
        ready, _, _ = select.select([watcher.fd, process.stderr], [], [], wait)
        if process.stderr in ready:
            output += process.stderr.read() or b""
            for line in (FIRST_LINE, LAST_LINE):
                if line in output:
                    marks.setdefault(line, time.monotonic())

    try:
        while not watcher.mapped(TITLE):
            if process.poll() is not None:
                sys.exit(f"{program} ended without showing its window")
            if time.monotonic() - start > WAIT_SECONDS:
                sys.exit(f"{program} showed no window in {WAIT_SECONDS} s")
            take_lines(0.1)
        shown = time.monotonic()
        # The lines come from their own thread and may follow the window by a little.
        while len(marks) < 2 and time.monotonic() - shown < LATE_LINES_SECONDS:
            take_lines(0.05)
    finally:
        process.kill()
        process.wait()
        while visible(TITLE):
            time.sleep(0.005)
    if len(marks) < 2:
        sys.exit(f"{program} showed its window but not the picture lines")
    return marks[FIRST_LINE] - start, marks[LAST_LINE] - start, shown - start


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--player", required=True, help="the bare player, ambrevo.exe")
    parser.add_argument("--disc-maker", required=True, help="the native rich_menu_disc")
    parser.add_argument("--runs", type=int, default=9)
    args = parser.parse_args()

    folder = tempfile.mkdtemp(prefix="ambrevo-phases-")
    try:
        disc = os.path.join(folder, "setup.exe")
        subprocess.run([args.disc_maker, args.player, disc], check=True,
                       stdout=subprocess.DEVNULL)
        subprocess.run([WINE_RUN, "--server", "-p5"], stderr=subprocess.DEVNULL)
        watcher = MapWatcher()
        phases(watcher, disc)  # warms the caches
        runs = [phases(watcher, disc) for _ in range(args.runs)]
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    first, last, shown = (statistics.median(values) * 1000 for values in zip(*runs))
    print(f"heavy menu, median of {args.runs} runs:")
    print(f"  start to the first picture line: {first:.0f} ms")
    print(f"  the picture lines:               {last - first:.0f} ms")
    print(f"  the last line to the window:     {shown - last:.0f} ms (below 0: the line came after)")
    print(f"  start to the window:             {shown:.0f} ms")


if __name__ == "__main__":
    main()

"""What the Python benchmarks share for their floors: the line that shows a figure beside
its floor, and the decoding floor of a built program or package (bench/stream_floor.cpp)."""

import json
import os
import subprocess
import sys


def figure(value, unit):
    """A figure with three significant digits or more, as bench/floor_line.cpp writes it."""
    size = abs(value)
    decimals = 0 if size >= 100 else 1 if size >= 10 else 2 if size >= 1 else 3
    return "%.*f %s" % (decimals, value, unit)


def against_floor(what, value, floor, unit="ms"):
    """'demo first frame 95.3 ms, floor 41.0 ms, 2.32x'; a floor of 0 gives no ratio."""
    line = "%s %s, floor %s" % (what, figure(value, unit), figure(floor, unit))
    return line + (", %.2fx" % (value / floor) if floor > 0 else ", no ratio")


def stream_floor(tool, path, runs=9, listing=False):
    """The picture streams of a program or package file and the median time of decoding
    them all with libdeflate on every processor: a dict with streams, compressed_bytes,
    raw_bytes, threads, median_ms and, with listing, list ([offset, length, raw size]
    per stream)."""
    if not os.path.exists(tool):
        sys.exit("missing %s (build the native benchmarks)" % tool)
    command = [tool, "--runs", str(runs)] + (["--list"] if listing else []) + [path]
    done = subprocess.run(command, check=True, stdout=subprocess.PIPE, text=True)
    return json.loads(done.stdout)

#!/usr/bin/env python3
"""floor_figures.py: the floor lines match those of bench/floor_line.cpp (the same cases as
its test), and stream_floor reads the tool's answer or stops on a missing tool."""

import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from floor_figures import against_floor, stream_floor  # noqa: E402

LINES = [
    (95.31, 41.0, "ms", "load 95.3 ms, floor 41.0 ms, 2.32x"),
    (1234.4, 617.2, "ms", "load 1234 ms, floor 617 ms, 2.00x"),
    (0.1234, 0.05, "us", "load 0.123 us, floor 0.050 us, 2.47x"),
    (3.0, 0.0, "ms", "load 3.00 ms, floor 0.000 ms, no ratio"),
]


class FloorFiguresTest(unittest.TestCase):
    def test_against_floor_shows_both_figures_and_their_ratio(self):
        for value, floor, unit, line in LINES:
            with self.subTest(line=line):
                self.assertEqual(against_floor("load", value, floor, unit), line)

    def test_stream_floor_reads_the_tools_answer_and_passes_its_options(self):
        with tempfile.TemporaryDirectory() as folder:
            tool = os.path.join(folder, "stream_floor")
            with open(tool, "w", encoding="utf-8") as script:
                script.write('#!/bin/sh\necho "{\\"median_ms\\": 2.5, \\"args\\": \\"$*\\"}"\n')
            os.chmod(tool, 0o755)
            self.assertEqual(stream_floor(tool, "p.bin", runs=3, listing=True),
                             {"median_ms": 2.5, "args": "--runs 3 --list p.bin"})
            with self.assertRaises(SystemExit) as stopped:
                stream_floor(os.path.join(folder, "missing"), "p.bin")
            self.assertIn("missing", str(stopped.exception))


if __name__ == "__main__":
    unittest.main(verbosity=2)

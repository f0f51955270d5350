#!/usr/bin/python3
"""The page's input event codes (web/page_events.js) are those of the player's web build
(src/backends/web/widgetset/web_form.h): the kinds in EventKind's order and the modifier
bits.

Usage: event_codes_test.py --root <the project's folder>
"""
import argparse
import os
import re
import sys
import unittest

ROOT = None


def read(path):
    with open(os.path.join(ROOT, path), encoding="utf-8") as file:
        return file.read()


def script_object(text, name):
    body = re.search(r"export const %s = Object\.freeze\(\{(.*?)\}\);" % name, text, re.S)
    return {key: int(value) for key, value in re.findall(r"(\w+):\s*(\d+)", body.group(1))}


class EventCodesTest(unittest.TestCase):

    def test_the_kinds_and_modifiers_match_the_player(self):
        script = read("web/page_events.js")
        header = read("src/backends/web/widgetset/web_form.h")
        enum = re.search(r"enum class EventKind \{(.*?)\};", header, re.S).group(1)
        kinds = {}
        value = 0
        for name, given in re.findall(r"(\w+)(?:\s*=\s*(\d+))?", enum):
            value = int(given) if given else value + 1
            kinds[name[0].lower() + name[1:]] = value
        self.assertEqual(script_object(script, "EVENT"), kinds)
        bits = {name: int(value) for name, value in
                re.findall(r"constexpr int k(\w+)Held = (\d+);", header)}
        bits["repeated"] = int(re.search(r"constexpr int kKeyRepeated = (\d+);", header).group(1))
        expected = {"shift": bits["Shift"], "control": bits["Control"], "alt": bits["Alt"],
                    "repeated": bits["repeated"]}
        self.assertEqual(script_object(script, "MODIFIER"), expected)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    arguments, rest = parser.parse_known_args()
    ROOT = arguments.root
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)

#!/usr/bin/python3
"""The browser player in headless Chromium: the demo menu served with its package.

Usage: web_player_test.py --site build/web/site --pack build/native/ambrevo-pack
       --demo examples/demo
"""
import argparse
import functools
import http.server
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import threading
import time
import unittest

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

ARGS = None
# Points inside items of the demo's first menu, in the window's client area.
README_ITEM = (60, 150)
MORE_ITEM = (60, 258)
EXIT_ITEM = (470, 322)


def bare_player_stand_in(path):
    """A file the authoring tool takes for a 32-bit Windows program: MZ, the PE signature,
    an i386 file header and a PE32 optional header. The browser player reads only the
    package behind it, as the package.bin of a site may start with any bytes."""
    pe_offset = 0x40
    header = bytearray(pe_offset + 4 + 20 + 0xE0)
    header[0:2] = b"MZ"
    struct.pack_into("<I", header, 0x3C, pe_offset)
    header[pe_offset:pe_offset + 4] = b"PE\0\0"
    struct.pack_into("<HH", header, pe_offset + 4, 0x14C, 0)
    struct.pack_into("<H", header, pe_offset + 4 + 16, 0xE0)
    struct.pack_into("<H", header, pe_offset + 24, 0x10B)
    with open(path, "wb") as out:
        out.write(header)


def make_site(folder):
    for name in os.listdir(ARGS.site):
        shutil.copy(os.path.join(ARGS.site, name), folder)
    stub = os.path.join(folder, "stub.exe")
    bare_player_stand_in(stub)
    subprocess.run([ARGS.pack, "build", "-q", os.path.join(ARGS.demo, "package.toml"),
                    "--player", stub, "-o", os.path.join(folder, "package.bin")], check=True)
    disc = os.path.join(ARGS.demo, "disc")
    files = []
    for root, _, names in os.walk(disc):
        for name in names:
            files.append(os.path.relpath(os.path.join(root, name), disc).replace(os.sep, "/"))
    with open(os.path.join(folder, "files.json"), "w") as out:
        json.dump({"files": sorted(files)}, out)
    os.symlink(os.path.abspath(disc), os.path.join(folder, "disc"))


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class WebPlayerTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="ambrevo-web-")
        make_site(cls.folder)
        handler = functools.partial(Quiet, directory=cls.folder)
        cls.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=cls.server.serve_forever, daemon=True).start()
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                     "--no-first-run", "--disable-background-networking",
                     "--disable-component-update", "--disable-sync",
                     "--autoplay-policy=no-user-gesture-required",
                     "--window-size=1024,768",
                     "--user-data-dir=" + os.path.join(cls.folder, "profile")):
            options.add_argument(flag)
        cls.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        cls.url = "http://127.0.0.1:%d/index.html" % cls.server.server_address[1]

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        cls.server.shutdown()
        shutil.rmtree(cls.folder, ignore_errors=True)

    def setUp(self):
        self.driver.get(self.url)
        self.wait_for_text("Point at an item to see what it does.")

    def texts(self):
        return self.driver.execute_script(
            "return [...document.querySelectorAll('#texts p')].map(p => p.textContent)")

    def wait_for(self, condition, what, seconds=5):
        try:
            WebDriverWait(self.driver, seconds, poll_frequency=0.05).until(lambda d: condition())
        except Exception:
            self.fail("%s did not happen; texts: %r" % (what, self.texts()))

    def wait_for_text(self, text):
        self.wait_for(lambda: text in self.texts(), "the text %r" % text)

    def menu_canvas(self):
        return self.driver.execute_script(
            "return [...document.querySelectorAll('.form:not([hidden]):not(.framed) canvas')][0]")

    def pixels(self, x, y, width=1, height=1):
        return self.driver.execute_script(
            "const c = arguments[0]; return Array.from(c.getContext('2d')"
            ".getImageData(arguments[1], arguments[2], arguments[3], arguments[4]).data)",
            self.menu_canvas(), x, y, width, height)

    def move_to(self, point):
        canvas = self.menu_canvas()
        size = canvas.size
        # Offsets count from the element's centre.
        ActionChains(self.driver).move_to_element_with_offset(
            canvas, point[0] - size["width"] // 2, point[1] - size["height"] // 2).perform()

    def click_at(self, point):
        self.move_to(point)
        ActionChains(self.driver).click().perform()

    def test_hover_highlights_and_animates_the_item(self):
        x, y = README_ITEM
        normal = self.pixels(x - 20, y - 16, 100, 30)
        self.move_to(README_ITEM)
        self.wait_for(lambda: self.pixels(x - 20, y - 16, 100, 30) != normal,
                      "the highlighted picture")
        frames = set()
        deadline = time.time() + 2
        while time.time() < deadline and len(frames) < 3:
            frames.add(tuple(self.pixels(x - 20, y - 16, 100, 30)))
            time.sleep(0.04)
        self.assertGreaterEqual(len(frames), 3, "the highlighted item does not animate")

    def test_clock_shows_the_page_time(self):
        def shown():
            now = self.driver.execute_script("return new Date().toLocaleTimeString()")
            return now.replace("\u202f", " ") in self.texts()
        self.wait_for(shown, "the clock with the page's time", seconds=3)

    def test_title_scrolls(self):
        first = self.driver.title
        self.wait_for(lambda: self.driver.title != first, "a scrolled title")

    def test_items_act(self):
        cases = [
            # point, what shows afterwards
            (README_ITEM, {"launch-verb": "open", "launch-file": "D:\\readme.txt",
                           "launch-folder": "D:\\", "launch-exists": "yes"}),
            (MORE_ITEM, "A disc can carry many menus; items switch between them."),
            (EXIT_ITEM, "ended"),
        ]
        for point, expected in cases:
            with self.subTest(point=point):
                self.driver.get(self.url)
                self.wait_for_text("Point at an item to see what it does.")
                self.click_at(point)
                if isinstance(expected, dict):
                    self.wait_for(lambda: self.driver.find_element(By.ID, "launch").is_displayed(),
                                  "the launch panel")
                    shown = {key: self.driver.find_element(By.ID, key).text for key in expected}
                    self.assertEqual(expected, shown)
                elif expected == "ended":
                    self.wait_for(lambda: self.driver.find_element(By.ID, "ended").is_displayed(),
                                  "the end of the menu")
                    self.assertFalse(self.driver.find_element(By.ID, "desktop").is_displayed())
                else:
                    self.wait_for_text(expected)


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--site", required=True)
    parser.add_argument("--pack", required=True)
    parser.add_argument("--demo", required=True)
    ARGS, rest = parser.parse_known_args()
    missing = [path for path in (os.path.join(ARGS.site, "ambrevo-web.wasm"),
                                 "/usr/bin/chromium", "/usr/bin/chromedriver")
               if not os.path.exists(path)]
    if missing:
        print("skipped: missing " + ", ".join(missing) + ' (run "make web")')
        sys.exit(77)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()

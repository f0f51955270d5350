#!/usr/bin/python3
"""The browser player in headless Chromium: the demo menu served with its package.

Usage: web_player_test.py --site build/web/site --pack build/native/ambrevo-pack
       --demo examples/demo
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

from browser_session import MENU_CANVAS, StaticSite, chromium, missing_browser
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

ARGS = None
# Points inside items of the demo's first menu, in the window's client area.
README_ITEM = (60, 150)
MORE_ITEM = (60, 258)
EXIT_ITEM = (470, 322)


# A menu written in Windows-1251, for a disc whose file names are Cyrillic.
CYRILLIC_MENU = """code_page = 1251
title = "Меню диска"
background = '%s'
initial_item = 1
[description]
text = "Выберите пункт."
bounds = [300, 40, 200, 40]
[[item]]
kind = "button"
caption = "&Кафе"
target = "%%Кафе.txt"
position = [20, 40]
size = [120, 24]
[[item]]
kind = "button"
caption = "&Журнал"
target = "%%ЖУРНАЛ.TXT"
position = [20, 80]
size = [120, 24]
[[item]]
kind = "button"
caption = "&Привет"
target = "$Привет, мир"
position = [20, 120]
size = [120, 24]
[[item]]
kind = "button"
caption = "&Выход"
exit_after_launch = true
position = [20, 160]
size = [120, 24]
"""


def start_serve(source, site):
    """`ambrevo-pack serve` on the source; returns the process and the page's address."""
    process = subprocess.Popen([ARGS.pack, "serve", source, "--port", "0", "--site", site],
                               stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    for line in process.stdout:
        if line.startswith("Serving "):
            return process, line.split()[1] + "index.html"
    process.wait()
    raise AssertionError("ambrevo-pack serve did not start")


def stop(process):
    process.kill()
    process.wait()
    process.stdout.close()


class WebPlayerTest(unittest.TestCase):
    """The demo served by the authoring tool, as an author sees it."""

    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="ambrevo-web-")
        cls.serve, cls.url = start_serve(os.path.join(ARGS.demo, "package.toml"), ARGS.site)
        cls.driver = chromium(os.path.join(cls.folder, "profile"))

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        stop(cls.serve)
        shutil.rmtree(cls.folder, ignore_errors=True)

    def setUp(self):
        self.open(self.url)

    def open(self, url, first_text="Point at an item to see what it does."):
        """The page on its first menu: the menu kept from an earlier visit is forgotten on
        a page of the same site without the player, which cannot store it again."""
        self.driver.get(url.replace("index.html", "files.json"))
        self.driver.execute_script("sessionStorage.clear()")
        self.driver.get(url)
        self.wait_for_text(first_text)

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
        return self.driver.execute_script("return " + MENU_CANVAS)

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
                self.open(self.url)
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

    def edit(self, name, old, new):
        path = os.path.join(self.demo, name)
        with open(path) as source:
            text = source.read()
        self.assertIn(old, text)
        with open(path, "w") as source:
            source.write(text.replace(old, new, 1))

    def banner(self):
        return self.driver.execute_script(
            "const b = document.getElementById('banner'); return b.hidden ? '' : b.textContent")

    def test_texts_and_keys_in_another_script(self):
        source = os.path.join(self.folder, "cyrillic")
        os.makedirs(os.path.join(source, "disc"))
        background = os.path.join(os.path.abspath(ARGS.demo), "pictures", "main-background.png")
        for name, text in [("package.toml", 'menus = ["main.toml"]\n'),
                           ("main.toml", CYRILLIC_MENU % background),
                           ("disc/Кафе.txt", "кафе"), ("disc/журнал.txt", "журнал")]:
            with open(os.path.join(source, name), "w", encoding="utf-8") as file:
                file.write(text)
        serve, url = start_serve(os.path.join(source, "package.toml"), ARGS.site)
        self.addCleanup(stop, serve)
        cases = [
            # typed, what shows afterwards
            ("к", {"launch-file": "D:\\Кафе.txt", "launch-exists": "yes"}),
            # The disc's names are found whatever the case of their letters.
            ("ж", {"launch-file": "D:\\ЖУРНАЛ.TXT", "launch-exists": "yes"}),
            ("П", "Привет, мир"),
            ("в", "ended"),
            # With a button focused, U+0431 cut to a byte would be "1", which launches the
            # first item.
            ("\tб", None),
        ]
        for typed, expected in cases:
            with self.subTest(typed=typed):
                self.open(url, "Выберите пункт.")
                self.assertEqual("Меню диска", self.driver.title)
                self.assertIn("Кафе", self.texts())
                ActionChains(self.driver).send_keys(typed).perform()
                if isinstance(expected, dict):
                    self.wait_for(lambda: self.driver.find_element(By.ID, "launch").is_displayed(),
                                  "the launch panel")
                    shown = {key: self.driver.find_element(By.ID, key).text for key in expected}
                    self.assertEqual(expected, shown)
                elif expected == "ended":
                    self.wait_for(lambda: self.driver.find_element(By.ID, "ended").is_displayed(),
                                  "the end of the menu")
                elif expected:
                    self.wait_for(lambda: self.message() == expected, "the message " + expected)
                else:
                    time.sleep(1)
                    self.assertFalse(self.driver.find_element(By.ID, "launch").is_displayed())
                    self.assertEqual(None, self.message())

    def message(self):
        return self.driver.execute_script(
            "const t = document.querySelector('.modal .text'); return t ? t.textContent : null")

    def test_a_changed_source_reloads_the_page_on_the_same_menu(self):
        # A copy of the demo's sources, served apart, for the author to change.
        self.demo = os.path.join(self.folder, "demo")
        shutil.copytree(ARGS.demo, self.demo)
        serve, url = start_serve(os.path.join(self.demo, "package.toml"), ARGS.site)
        self.addCleanup(stop, serve)
        self.open(url)
        self.click_at(MORE_ITEM)
        second = "A disc can carry many menus; items switch between them."
        self.wait_for_text(second)
        self.edit("second.toml", second, "Edited while the page was open.")
        self.wait_for_text("Edited while the page was open.")
        # A source error shows with its place; the last good menu goes on running.
        self.edit("main.toml", "[[item]]", "[[item]\n")
        self.wait_for(lambda: "main.toml:" in self.banner(), "the error banner")
        self.assertIn("Edited while the page was open.", self.texts())
        self.edit("main.toml", "[[item]\n", "[[item]]")
        self.wait_for(lambda: self.banner() == "", "the banner going away")

    def test_the_static_page_plays_the_menu(self):
        site = os.path.join(self.folder, "static")
        subprocess.run([ARGS.pack, "web", os.path.join(ARGS.demo, "package.toml"), "-o", site,
                        "--site", ARGS.site], check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        self.assertFalse(os.path.exists(os.path.join(site, "status.json")))
        server = StaticSite(site)
        try:
            self.open(server.url)
            self.click_at(MORE_ITEM)
            self.wait_for_text("A disc can carry many menus; items switch between them.")
        finally:
            server.stop()


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--site", required=True)
    parser.add_argument("--pack", required=True)
    parser.add_argument("--demo", required=True)
    ARGS, rest = parser.parse_known_args()
    missing = missing_browser() + [path for path in [os.path.join(ARGS.site, "ambrevo-web.wasm")]
                                   if not os.path.exists(path)]
    if missing:
        print("skipped: missing " + ", ".join(missing) + ' (run "make web")')
        sys.exit(77)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()

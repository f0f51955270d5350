#!/usr/bin/python3
"""The browser player in headless Chromium: the demo menu served with its package.

Usage: web_player_test.py --site build/web/site --pack build/native/ambrevo-pack
       --demo examples/demo
"""
import os
import shutil
import subprocess
import tempfile
import time
import unittest
import urllib.parse

from browser_session import (MENU_CANVAS, Gzipped, Quiet, StaticSite, Unsized, chromium,
                             run_page_tests)
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

ARGS = None
# Points inside items of the demo's first menu, in the window's client area.
README_ITEM = (60, 150)
MORE_ITEM = (60, 258)
EXIT_ITEM = (470, 322)
# A point on the first menu's background.
BACKGROUND = (400, 180)
CLICK_SOUND = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources",
                           "click.wav")


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


# A menu whose texts, file names and second menu's name need Windows-1252, on a disc whose
# click sound has letters of both cases.
WESTERN_MENU = """background = '%s'
[description]
text = "Pick one."
bounds = [300, 40, 200, 40]
[[item]]
kind = "button"
caption = "&Read\u2019me"
target = "%%Read\u2019me.txt"
position = [20, 40]
size = [120, 24]
[[item]]
kind = "button"
caption = "&Caf\u00e9"
target = "caf\u00e9\u2019s.mnu"
position = [20, 80]
size = [120, 24]
"""
WESTERN_SECOND_MENU = """name = "caf\u00e9\u2019s.mnu"
background = '%s'
[description]
text = "The caf\u00e9\u2019s menu."
bounds = [300, 40, 200, 40]
"""

# Keys as the browser's input sends them: key, code, virtual key, text typed.
KEYS = {"Tab": ("Tab", "Tab", 9, ""), "Enter": ("Enter", "Enter", 13, "\r"),
        "Space": (" ", "Space", 32, " ")}


def start_serve(source, site, port=0):
    """`ambrevo-pack serve` on the source; returns the process and the page's address."""
    process = subprocess.Popen([ARGS.pack, "serve", source, "--port", str(port), "--site", site],
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

    def wait_for_text(self, text, seconds=5):
        self.wait_for(lambda: text in self.texts(), "the text %r" % text, seconds)

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
        self.open(self.url)
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
        self.open(self.url)
        def shown():
            now = self.driver.execute_script("return new Date().toLocaleTimeString()")
            return now.replace("\u202f", " ") in self.texts()
        self.wait_for(shown, "the clock with the page's time", seconds=3)

    def test_title_scrolls(self):
        self.open(self.url)
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
                    self.assertEqual("", self.failure())
                else:
                    self.wait_for_text(expected)

    def failure(self):
        """The page's message of a player that could not load or stopped; "" when none."""
        return self.driver.execute_script(
            "const f = document.getElementById('failure'); return f.hidden ? '' : f.textContent")

    def key(self, name, kind, repeat=False):
        """One key event as the keyboard sends it; kind: "keyDown" or "keyUp"."""
        key, code, virtual, text = KEYS[name]
        event = {"type": kind, "key": key, "code": code, "windowsVirtualKeyCode": virtual,
                 "autoRepeat": repeat}
        if kind == "keyDown" and text:
            event["text"] = text
        self.driver.execute_cdp_cmd("Input.dispatchKeyEvent", event)

    def hold(self, name, repeats):
        """The key pressed, repeated that many times while held, and released."""
        self.key(name, "keyDown")
        for _ in range(repeats):
            self.key(name, "keyDown", repeat=True)
        self.key(name, "keyUp")

    def launch_panel(self):
        self.wait_for(lambda: self.driver.find_element(By.ID, "launch").is_displayed(),
                      "the launch panel")

    def open_about_and_close_it(self):
        self.move_to(BACKGROUND)
        ActionChains(self.driver).context_click().perform()
        entry = "//div[@class='popup']/div[text()='About']"
        self.wait_for(lambda: self.driver.find_elements(By.XPATH, entry), "the context menu")
        self.driver.find_element(By.XPATH, entry).click()
        about = "return document.querySelectorAll('.form.framed:not([hidden])').length"
        self.wait_for(lambda: self.driver.execute_script(about) == 1, "the About window")
        ActionChains(self.driver).send_keys(Keys.ESCAPE).perform()
        self.wait_for(lambda: self.driver.execute_script(about) == 0, "the About window closing")

    def test_a_held_key_launches_the_focused_item_once(self):
        cases = [
            # what happens first, the key held on the item that Tab focuses
            (None, "Enter"),
            (None, "Space"),
            # The keys go back to the menu window when the About window closes.
            (self.open_about_and_close_it, "Enter"),
        ]
        for before, held in cases:
            with self.subTest(before=before and before.__name__, held=held):
                self.open(self.url)
                if before:
                    before()
                self.hold("Tab", 0)
                self.hold(held, 3)
                self.launch_panel()
                time.sleep(0.5)  # for any launch the repeats would make
                self.assertEqual("1", self.driver.find_element(By.ID, "launch-count").text)

    def test_a_western_disc_sounds_launches_and_reloads_as_on_windows(self):
        source = os.path.join(self.folder, "western")
        os.makedirs(os.path.join(source, "disc"))
        background = os.path.join(os.path.abspath(ARGS.demo), "pictures", "main-background.png")
        for name, text in [("package.toml", 'menus = ["main.toml", "second.toml"]\n'),
                           ("main.toml", WESTERN_MENU % background),
                           ("second.toml", WESTERN_SECOND_MENU % background),
                           ("disc/Read\u2019me.txt", "read me")]:
            with open(os.path.join(source, name), "w", encoding="utf-8") as file:
                file.write(text)
        shutil.copy(CLICK_SOUND, os.path.join(source, "disc", "Click.WAV"))
        serve, url = start_serve(os.path.join(source, "package.toml"), ARGS.site)
        self.addCleanup(stop, serve)
        self.open(url, "Pick one.")
        self.driver.execute_script(
            "window.sounds = []; const host = window.ambrevo.host, play = host.soundFile;"
            "host.soundFile = (path) => { window.sounds.push(path); play(path); };")
        ActionChains(self.driver).send_keys("r").perform()
        self.launch_panel()
        shown = {key: self.driver.find_element(By.ID, key).text
                 for key in ("launch-file", "launch-exists")}
        self.assertEqual({"launch-file": "D:\\Read\u2019me.txt", "launch-exists": "yes"}, shown)
        # The click sound by the name the disc lists, which the server has.
        self.assertEqual(["Click.WAV"], self.driver.execute_script("return window.sounds"))
        status = self.driver.execute_async_script(
            "fetch(window.ambrevo.discUrl(arguments[0])).then(r => arguments[1](r.status))",
            "Click.WAV")
        self.assertEqual(200, status)
        # The page keeps the menu on show across its reloads, by its name's bytes.
        ActionChains(self.driver).send_keys("c").perform()
        self.wait_for_text("The caf\u00e9\u2019s menu.")
        self.driver.refresh()
        self.wait_for_text("The caf\u00e9\u2019s menu.")

    def test_a_page_without_its_player_says_so(self):
        for missing, message in [
                ("ambrevo-web.wasm", "The player cannot be loaded: ambrevo-web.wasm is missing or "
                                     "damaged (ambrevo-web.wasm: 404 File not found)."),
                ("ambrevo-web.js", "The player cannot be loaded: ambrevo-web.js is missing.")]:
            with self.subTest(missing=missing):
                site = os.path.join(self.folder, "no-" + missing)
                shutil.copytree(ARGS.site, site, ignore=shutil.ignore_patterns(missing))
                server = StaticSite(site)
                self.addCleanup(server.stop)
                self.driver.get(server.url)
                self.wait_for(lambda: self.failure() == message, "the message " + message)

    def test_the_debug_trace_reaches_the_console_whole_and_in_order(self):
        # Each console.debug of the page is kept, from before its scripts run.
        script = self.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {
            "source": "window.traced = []; console.debug = (line) => window.traced.push(line);"})
        self.addCleanup(self.driver.execute_cdp_cmd, "Page.removeScriptToEvaluateOnNewDocument",
                        script)
        self.open(self.url)
        # One line a picture of the demo's first menu, which has 25.
        expected = ["**** Getting Image %d **** " % n for n in range(1, 26)]
        # The player gathers the lines of a round of its loop into one message.
        traced = lambda: [line for message in self.driver.execute_script("return window.traced")
                          for line in message.split("\n") if "Getting Image" in line]
        self.wait_for(lambda: traced() == expected, "the trace of the pictures loaded")

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
        package = os.path.join(self.demo, "package.toml")
        serve, url = start_serve(package, ARGS.site)
        self.addCleanup(stop, serve)
        self.open(url)
        self.click_at(MORE_ITEM)
        second = "A disc can carry many menus; items switch between them."
        self.wait_for_text(second)
        # The server stopped, the source changed, the server started again (its builds
        # counted from the start): the page finds it again and reloads.
        stop(serve)
        self.edit("second.toml", second, "Edited while the server was down.")
        time.sleep(0.5)  # the author's edit takes a moment, the page's polls find no server
        serve, _ = start_serve(package, ARGS.site, urllib.parse.urlsplit(url).port)
        self.addCleanup(stop, serve)
        self.wait_for_text("Edited while the server was down.", seconds=10)
        self.edit("second.toml", "Edited while the server was down.",
                  "Edited while the page was open.")
        self.wait_for_text("Edited while the page was open.")
        # A source error shows with its place; the last good menu goes on running.
        self.edit("main.toml", "[[item]]", "[[item]\n")
        self.wait_for(lambda: "main.toml:" in self.banner(), "the error banner")
        self.assertIn("Edited while the page was open.", self.texts())
        self.edit("main.toml", "[[item]\n", "[[item]]")
        self.wait_for(lambda: self.banner() == "", "the banner going away")

    def test_a_source_broken_at_the_start_shows_its_menu_once_mended(self):
        # With no good build yet the page tells why and waits; the mended source's menu
        # then shows in the same page, with no reload and no failure.
        self.demo = os.path.join(self.folder, "broken")
        shutil.copytree(ARGS.demo, self.demo)
        self.edit("main.toml", "[[item]]", "[[item]\n")
        serve, url = start_serve(os.path.join(self.demo, "package.toml"), ARGS.site)
        self.addCleanup(stop, serve)
        self.driver.get(url.replace("index.html", "files.json"))
        self.driver.execute_script("sessionStorage.clear()")
        self.driver.get(url)
        self.wait_for(lambda: "main.toml:" in self.banner(), "the error banner")
        self.driver.execute_script("window.notReloaded = true")
        self.edit("main.toml", "[[item]\n", "[[item]]")
        self.wait_for_text("Point at an item to see what it does.", seconds=10)
        self.assertEqual(self.driver.execute_script(
            "return [window.notReloaded, document.getElementById('failure').hidden]"),
            [True, True])
        self.wait_for(lambda: self.banner() == "", "the banner going away")

    def test_the_page_opens_on_the_menu_of_the_browsers_language(self):
        source = os.path.join(self.folder, "languages")
        os.makedirs(source)
        background = os.path.join(os.path.abspath(ARGS.demo), "pictures", "main-background.png")
        menus = {"main.toml": "English", "main-de.toml": "Deutsch", "main-fr.toml": "Fran\u00e7ais"}
        for name, title in menus.items():
            with open(os.path.join(source, name), "w", encoding="utf-8") as file:
                file.write("title = \"%s\"\nbackground = '%s'\n" % (title, background))
        with open(os.path.join(source, "package.toml"), "w", encoding="utf-8") as file:
            file.write('menus = ["main.toml", "main-de.toml", "main-fr.toml"]\n'
                       '[languages]\nde = "main-de.toml"\nfr = "main-fr.toml"\n')
        site = os.path.join(self.folder, "languages-site")
        subprocess.run([ARGS.pack, "web", os.path.join(source, "package.toml"), "-o", site,
                        "--site", ARGS.site], check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        server = StaticSite(site)
        self.addCleanup(server.stop)
        german = chromium(os.path.join(self.folder, "profile-de"), "de-DE,de")
        self.addCleanup(german.quit)
        for driver, title in ((german, "Deutsch"), (self.driver, "English")):
            with self.subTest(title=title):
                driver.get(server.url.replace("index.html", "files.json"))
                driver.execute_script("sessionStorage.clear()")
                driver.get(server.url)
                try:
                    WebDriverWait(driver, 10, poll_frequency=0.05).until(
                        lambda d: d.title == title)
                except Exception:
                    self.fail("the page shows %r, not %r (languages %r)" % (
                        driver.title, title, driver.execute_script("return navigator.languages")))

    def test_the_static_page_plays_the_menu(self):
        site = os.path.join(self.folder, "static")
        subprocess.run([ARGS.pack, "web", os.path.join(ARGS.demo, "package.toml"), "-o", site,
                        "--site", ARGS.site], check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        self.assertFalse(os.path.exists(os.path.join(site, "status.json")))
        # The package reaches the player as it arrives, whatever length its answer gives.
        for kind in (Quiet, Unsized, Gzipped):
            with self.subTest(server=kind.__name__):
                server = StaticSite(site, kind)
                try:
                    self.open(server.url)
                    self.click_at(MORE_ITEM)
                    self.wait_for_text("A disc can carry many menus; items switch between them.")
                finally:
                    server.stop()


def main():
    def set_arguments(arguments):
        global ARGS
        ARGS = arguments
    run_page_tests(set_arguments)


if __name__ == "__main__":
    main()

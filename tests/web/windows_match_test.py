#!/usr/bin/python3
"""The browser player against the Windows player under Wine, on the demo menu with its
first item moved through the designer's edit interface: the same pixels outside texts and
push buttons (the window's shape and the moved item included), the same file and
folder for the same clicks on shell items, and the same highlighted picture of a button the
tool draws.

Usage: windows_match_test.py --site build/web/site --pack build/native/ambrevo-pack
       --demo examples/demo --builds build
The Windows player is builds/WINDOWS_ARCH/ambrevo.exe (WINDOWS_ARCH as the Makefile sets
it, else what scripts/windows-arch.sh chooses); WINEPREFIX defaults to
builds/wineprefix-WINDOWS_ARCH. Without an X display it runs itself under xvfb-run.
"""
import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import tomllib
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

from edit_interface import changed_lines, post_edit  # noqa: E402
from browser_session import (MENU_CANVAS, StaticSite, canvas_rgba, chromium,  # noqa: E402
                             missing_browser, start_tool, stop_tool)
from player_harness import _unescape, _xdotool  # noqa: E402
from selenium.webdriver.common.action_chains import ActionChains  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402
from selenium.webdriver.support.ui import WebDriverWait  # noqa: E402
from window_session import Session, click, mouse_to, screenshot, wait_until  # noqa: E402

ARGS = None
SOURCE = None  # the edited copy of the demo
# The edit made in the designer before both players are built: the first item 10 px right.
MOVE = {"item": 1, "set": {"position": [46, 130]}}
ROOT_WINDOW_BLACK = (0, 0, 0)
# The clock's labels are sized by their texts; these hold any time or date of the demo.
CLOCK_SIZE = (110, 18)
# The Windows screenshots taken until one shows a frame of the animation the page showed.
SHOTS = 5
SHELL_REQUEST = re.compile(
    r'trace:exec:SHELL_execute mask=\w+ .*verb=L"(.*?)" file=L"(.*?)" parm=L"(.*?)" '
    r'dir=L"(.*?)"')
# Points inside the demo's shell items, in the window's client area.
SHELL_CLICKS = [("readme", (136, 152)), ("docs folder", (136, 206))]
MORE_ITEM = (136, 260)  # the first menu's item that opens the second menu
SECOND_SIZE = (420, 260)
# The second menu's "Back" button, which the tool draws from its style, and a point in it.
BACK_AREA = (28, 110, 200, 44)
BACK_POINT = (128, 132)


def menu_source():
    with open(os.path.join(SOURCE, "main.toml"), "rb") as source:
        return tomllib.load(source)


def text_areas(menu):
    """The rectangles of the first menu that hold texts or push buttons: texts are drawn
    with the fonts each side has, and button edges by each side's own drawing."""
    areas = [tuple(item["position"] + item["size"]) for item in menu["item"]
             if item["kind"] in ("button", "text")]
    areas.append(tuple(menu["description"]["bounds"]))
    for field in ("time_position", "date_position"):
        areas.append(tuple(menu["clock"][field]) + CLOCK_SIZE)
    return areas


def animated_area(menu):
    """The first highlighted item, whose pictures animate from the start."""
    item = menu["item"][menu["initial_item"] - 1]
    normal = item["pictures"]["normal"]
    width, height = subprocess.run(
        ["identify", "-format", "%w %h", os.path.join(SOURCE, normal)], check=True,
        stdout=subprocess.PIPE, text=True).stdout.split()
    return tuple(item["position"]) + (int(width), int(height))


def edit_demo_copy(folder):
    """A copy of the demo with MOVE made through the running designer's interface, as the
    page makes it; checks that the edit changed that one line."""
    global SOURCE
    SOURCE = shutil.copytree(ARGS.demo, os.path.join(folder, "source"))
    menu_file = os.path.join(SOURCE, "main.toml")
    with open(menu_file, encoding="utf-8") as before:
        text = before.read()
    editor, url = start_tool(ARGS.pack, "edit", os.path.join(SOURCE, "package.toml"),
                             "--site", ARGS.site)
    try:
        status, body = post_edit(*url.split("?token="), "main.toml", MOVE)
        assert status == 200, (status, body)
    finally:
        stop_tool(editor)
    with open(menu_file, encoding="utf-8") as after:
        changed = changed_lines(text, after.read())
    assert changed == [("position = [36, 130]", "position = [46, 130]")], changed


def inside(x, y, area):
    return area[0] <= x < area[0] + area[2] and area[1] <= y < area[1] + area[3]


def differences(width, height, rgba, shot, left, top, skipped):
    """Pixels of the window that differ between the canvas (transparent: the screen's
    black root window) and the screenshot, outside the skipped areas."""
    found = []
    for y in range(height):
        for x in range(width):
            if any(inside(x, y, area) for area in skipped):
                continue
            r, g, b, a = rgba[(y * width + x) * 4:(y * width + x) * 4 + 4]
            want = ROOT_WINDOW_BLACK if a == 0 else (r, g, b)
            if a not in (0, 255) or shot.pixel(left + x, top + y) != want:
                found.append((x, y, (r, g, b, a), shot.pixel(left + x, top + y)))
    return found


class Drive:
    """A free drive letter of the Wine prefix linked to a folder, until remove()."""

    def __init__(self, folder):
        devices = os.path.join(os.environ["WINEPREFIX"], "dosdevices")
        for letter in "mnopqrstuvwxy":
            self.link = os.path.join(devices, letter + ":")
            try:
                os.symlink(folder, self.link)
            except FileExistsError:
                continue
            self.letter = letter.upper()
            return
        raise RuntimeError("no free drive letter in " + devices)

    def remove(self):
        os.remove(self.link)


class WindowsMatchTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="ambrevo-windows-match-")
        edit_demo_copy(cls.folder)
        cls.menu = menu_source()
        package = os.path.join(SOURCE, "package.toml")
        # The disc for Windows: the player with the package, and the disc's files.
        cls.disc = os.path.join(cls.folder, "disc")
        shutil.copytree(os.path.join(SOURCE, "disc"), cls.disc)
        cls.exe = os.path.join(cls.disc, "setup.exe")
        subprocess.run([ARGS.pack, "build", package, "--player", ARGS.player, "-o", cls.exe],
                       check=True, stdout=subprocess.DEVNULL)
        # The same menu as a static page.
        site = os.path.join(cls.folder, "site")
        subprocess.run([ARGS.pack, "web", package, "-o", site, "--site", ARGS.site],
                       check=True, stdout=subprocess.DEVNULL)
        cls.site = StaticSite(site)
        cls.driver = chromium(os.path.join(cls.folder, "profile"))
        cls.drive = Drive(cls.disc)
        mouse_to(0, 0)  # away from the window, which is centred on the screen
        cls.programs_before = set()
        cls.windows = Session(cls.exe, trace="trace+exec",
                              run_as=cls.drive.letter + ":\\setup.exe")
        cls.programs_before = cls.window_programs()

    @classmethod
    def tearDownClass(cls):
        cls.windows.stop()
        cls.kill_other_programs()
        cls.drive.remove()
        cls.driver.quit()
        cls.site.stop()
        shutil.rmtree(cls.folder, ignore_errors=True)

    @classmethod
    def window_programs(cls):
        """Process ids of the programs showing windows, other than the player."""
        own = str(cls.windows.process.pid)
        return {pid for window in _xdotool("search", "--all", "--onlyvisible", "--name", ".")
                for pid in _xdotool("getwindowpid", window) if pid != own}

    @classmethod
    def kill_other_programs(cls):
        """Ends the programs of this Wine prefix that the player's launches started."""
        prefix = ("WINEPREFIX=" + os.environ["WINEPREFIX"]).encode()
        for pid in cls.window_programs() - cls.programs_before:
            try:
                with open("/proc/%s/environ" % pid, "rb") as environment:
                    if prefix in environment.read().split(b"\0"):
                        os.kill(int(pid), signal.SIGTERM)
            except OSError:
                pass  # ended already

    def open_page(self):
        """Loads the page; returns the size of its menu window once it is painted."""
        self.driver.get(self.site.url)
        WebDriverWait(self.driver, 10, poll_frequency=0.02).until(
            lambda d: d.execute_script("return window.ambrevo && window.ambrevo.firstFrame"))
        return tuple(self.driver.execute_script(
            "const c = " + MENU_CANVAS + "; return [c.width, c.height]"))

    def windows_menu(self, size):
        """left, top of the Windows player's menu window of that size on the screen."""

        def find():
            for window in self.windows.windows(".*"):
                if self.windows.geometry(window)[2:] == size:
                    return self.windows.geometry(window)[:2]
            return None
        return wait_until(find, 20, "the Windows player's menu window")

    def test_first_frame_matches_the_windows_player(self):
        self.open_page()
        width, height, rgba = canvas_rgba(self.driver)
        animated = animated_area(self.menu)
        # The frames the page shows in the animated item over more than one cycle.
        frames = set()
        for _ in range(40):
            frames.add(canvas_rgba(self.driver, *animated)[2])
            time.sleep(0.03)
        self.assertGreater(len(frames), 1, "the first item animates in the page")
        transparent = sum(1 for i in range(3, len(rgba), 4) if rgba[i] == 0)
        self.assertGreater(transparent, 0, "the page's window is shaped")

        left, top = self.windows_menu((width, height))
        skipped = text_areas(self.menu)
        best = None
        for _ in range(SHOTS):
            time.sleep(0.2)
            shot = screenshot()
            found = differences(width, height, rgba, shot, left, top, skipped + [animated])
            shown = shot.crop(left + animated[0], top + animated[1], *animated[2:]).rgb
            page_frame = any(shown == bytes(b for i, b in enumerate(frame) if i % 4 != 3)
                             for frame in frames)
            if not found and page_frame:
                return
            if best is None or len(found) < len(best[0]):
                best = (found, page_frame)
        found, page_frame = best
        self.assertEqual([], found[:20], "%d pixels differ (x, y, page RGBA, Windows RGB)"
                         % len(found))
        self.assertTrue(page_frame, "the Windows player shows a frame the page does not")

    def test_shell_items_name_the_same_file_and_folder(self):
        for name, (x, y) in SHELL_CLICKS:
            with self.subTest(item=name):
                left, top = self.windows_menu(self.open_page())
                canvas = self.driver.execute_script("return " + MENU_CANVAS)
                size = canvas.size
                ActionChains(self.driver).move_to_element_with_offset(
                    canvas, x - size["width"] // 2, y - size["height"] // 2).click().perform()
                WebDriverWait(self.driver, 5).until(
                    lambda d: d.find_element(By.ID, "launch").is_displayed())
                page = tuple(self.driver.find_element(By.ID, key).text for key in
                             ("launch-verb", "launch-file", "launch-parameters",
                              "launch-folder"))

                count = len(self.shell_requests())
                mouse_to(left + x, top + y)
                click()
                requests = wait_until(lambda: self.shell_requests()[count:], 20,
                                      "the Windows player's shell request")
                # The opened document or folder would cover the menu for the next click.
                wait_until(lambda: self.window_programs() - self.programs_before, 20,
                           "the window of what the launch opened")
                self.kill_other_programs()
                # The page's disc is drive D:, the Windows player's the test's drive.
                windows = tuple(field.replace(self.drive.letter + ":\\", "D:\\")
                                for field in requests[0])
                self.assertEqual(windows, page)

    def point_page_at(self, x, y):
        canvas = self.driver.execute_script("return " + MENU_CANVAS)
        size = canvas.size
        return ActionChains(self.driver).move_to_element_with_offset(
            canvas, x - size["width"] // 2, y - size["height"] // 2)

    def test_the_drawn_button_highlighted_matches_the_windows_player(self):
        # Runs last (by name): it leaves the Windows player on the second menu.
        left, top = self.windows_menu(self.open_page())
        self.point_page_at(*MORE_ITEM).click().perform()
        mouse_to(left + MORE_ITEM[0], top + MORE_ITEM[1])
        click()
        WebDriverWait(self.driver, 10, poll_frequency=0.02).until(lambda d: d.execute_script(
            "const c = " + MENU_CANVAS + "; return c.width === arguments[0]", SECOND_SIZE[0]))
        left, top = self.windows_menu(SECOND_SIZE)
        normal = canvas_rgba(self.driver, *BACK_AREA)[2]
        self.point_page_at(*BACK_POINT).perform()
        mouse_to(left + BACK_POINT[0], top + BACK_POINT[1])
        page = wait_until(lambda: (lambda shown: shown != normal and shown)(
            canvas_rgba(self.driver, *BACK_AREA)[2]), 10, "the page's highlighted button")
        page_rgb = bytes(b for i, b in enumerate(page) if i % 4 != 3)
        wait_until(lambda: screenshot().crop(left + BACK_AREA[0], top + BACK_AREA[1],
                                             *BACK_AREA[2:]).rgb == page_rgb, 10,
                   "the Windows player's button drawn as the page's highlighted one")

    def shell_requests(self):
        with open(self.windows.trace_path, "rb") as trace:
            lines = trace.read().decode("latin-1").splitlines()
        return [tuple(_unescape(field) for field in m.groups())
                for m in map(SHELL_REQUEST.search, lines) if m]


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    for name in ("--site", "--pack", "--demo", "--builds"):
        parser.add_argument(name, required=True)
    ARGS, rest = parser.parse_known_args()
    if not os.environ.get("DISPLAY") and shutil.which("xvfb-run"):
        os.execvp("xvfb-run", ["xvfb-run", "-a", "-s", "-screen 0 1024x768x24",
                               sys.executable] + sys.argv)
    arch = os.environ.get("WINDOWS_ARCH") or subprocess.run(
        [os.path.join(ROOT, "scripts", "windows-arch.sh"), "-q"], stdout=subprocess.PIPE,
        text=True).stdout.strip()
    os.environ["WINDOWS_ARCH"] = arch
    os.environ.setdefault("WINEPREFIX", os.path.join(ARGS.builds, "wineprefix-" + arch))
    ARGS.player = os.path.join(ARGS.builds, arch, "ambrevo.exe")
    missing = missing_browser() + [
        path for path in (os.path.join(ARGS.site, "ambrevo-web.wasm"), ARGS.player,
                          os.environ["WINEPREFIX"])
        if not os.path.exists(path)] + [
        program for program in ("xdotool", "import") if not shutil.which(program)]
    if subprocess.run([os.path.join(ROOT, "scripts", "wine-run"), "--version"],
                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode != 0:
        missing.append("Wine")
    if missing or not os.environ.get("DISPLAY"):
        print("skipped: missing " + ", ".join(missing or ["an X display"]) +
              ' (run "make web windows wineprefix")')
        sys.exit(77)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()

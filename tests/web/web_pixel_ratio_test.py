#!/usr/bin/python3
"""The browser player on a screen of two device pixels per CSS pixel, as on most phones and
every Mac: the canvas holds the screen's pixels, its texts are drawn at that resolution, and
the pointer still lands on the item under it; a page whose ratio changes while it runs is
painted again at the new one.

Usage: web_pixel_ratio_test.py --site SITE --pack AMBREVO_PACK --demo examples/demo
"""
import os
import shutil
import sys
import tempfile
import unittest

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

from browser_session import (MENU_CANVAS, canvas_rgba, chromium, menu_page,  # noqa: E402
                             module_answers, run_page_tests)
from selenium.webdriver.common.action_chains import ActionChains  # noqa: E402
from selenium.webdriver.support.ui import WebDriverWait  # noqa: E402
from window_session import Image, edge_sharpness, resized  # noqa: E402

ARGS = None
MENU_SIZE = (520, 360)
FIRST_TEXT = "Point at an item to see what it does."
README_TEXT = "Opens the read-me document of this disc."
BROWSE_TEXT = "Opens the disc's docs folder."
SECOND_TEXT = "A disc can carry many menus; items switch between them."
# The demo's description label, light text on the dark background while no item is hovered.
DESCRIPTION = (326, 134, 160, 40)
# The texts drawn at twice the resolution must beat the 1x ones enlarged twice by this
# factor of edge sharpness.
SHARPER = 1.2
# The "Web site" push button, [268, 252] 96 x 28, and the colours of its raised frame and
# face; a focused button has a black frame too.
BUTTON = (268, 252, 96, 28)
FRAME_COLOURS = {(255, 255, 255), (212, 208, 200), (128, 128, 128), (64, 64, 64), (0, 0, 0)}


def rgb_of(width, height, rgba):
    rgb = bytearray(width * height * 3)
    for channel in range(3):
        rgb[channel::3] = rgba[channel::4]
    return Image(width, height, bytes(rgb))


class PixelRatioTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="ambrevo-web-ratio-")
        cls.site = menu_page(ARGS.pack, ARGS.demo, os.path.join(cls.folder, "site"), ARGS.site)
        cls.dense = chromium(os.path.join(cls.folder, "dense"), scale=2)
        cls.plain = chromium(os.path.join(cls.folder, "plain"))
        cls.fractional = chromium(os.path.join(cls.folder, "fractional"), scale=1.5)

    @classmethod
    def tearDownClass(cls):
        cls.dense.quit()
        cls.plain.quit()
        cls.fractional.quit()
        cls.site.stop()
        shutil.rmtree(cls.folder, ignore_errors=True)

    def texts(self, driver):
        return driver.execute_script(
            "return [...document.querySelectorAll('#texts p')].map(p => p.textContent)")

    def wait_for(self, driver, condition, what):
        try:
            WebDriverWait(driver, 5, poll_frequency=0.05).until(lambda d: condition())
        except Exception:
            self.fail("%s did not happen; texts: %r" % (what, self.texts(driver)))

    def open(self, driver):
        driver.get(self.site.url.replace("index.html", "files.json"))
        driver.execute_script("sessionStorage.clear()")
        driver.get(self.site.url)
        self.wait_for(driver, lambda: FIRST_TEXT in self.texts(driver), "the first menu")

    def canvas_sizes(self, driver):
        """The menu canvas's size in CSS pixels and in its own pixels."""
        return driver.execute_script(
            "const c = " + MENU_CANVAS + "; return [c.clientWidth, c.clientHeight,"
            " c.width, c.height]")

    def move_to(self, driver, point):
        canvas = driver.execute_script("return " + MENU_CANVAS)
        ActionChains(driver).move_to_element_with_offset(
            canvas, point[0] - MENU_SIZE[0] // 2, point[1] - MENU_SIZE[1] // 2).perform()

    def description(self, driver, ratio):
        left, top, width, height = (v * ratio for v in DESCRIPTION)
        return rgb_of(*canvas_rgba(driver, left, top, width, height))

    def test_the_canvas_holds_the_device_pixels(self):
        cases = [("at ratio 2", self.dense, 2), ("at ratio 1", self.plain, 1)]
        for name, driver, ratio in cases:
            with self.subTest(name):
                self.open(driver)
                self.assertEqual(self.canvas_sizes(driver),
                                 [*MENU_SIZE, MENU_SIZE[0] * ratio, MENU_SIZE[1] * ratio])

    def test_hover_and_click_hit_the_item_under_the_pointer(self):
        # The read-me picture lies at (36, 130), 200 x 44; the docs item below it at (36, 184).
        # Each case starts where another description shows, so that both must change.
        background, browse = ((300, 40), FIRST_TEXT), ((60, 200), BROWSE_TEXT)
        cases = [
            # name, start, point, the description then shown
            ("top left corner", background, (36, 130), README_TEXT),
            ("bottom right corner", background, (235, 173), README_TEXT),
            ("just below", browse, (100, 174), FIRST_TEXT),
            ("just right", browse, (236, 150), FIRST_TEXT),
            ("just left", browse, (35, 150), FIRST_TEXT),
        ]
        self.open(self.dense)
        for name, (start, shown), point, expected in cases:
            with self.subTest(name):
                self.move_to(self.dense, start)
                self.wait_for(self.dense, lambda: shown in self.texts(self.dense),
                              "the description %r" % shown)
                self.move_to(self.dense, point)
                self.wait_for(self.dense, lambda: expected in self.texts(self.dense),
                              "the description %r" % expected)
        # A click on the "More" item (which bounces while hovered) switches to the second menu.
        self.move_to(self.dense, (60, 258))
        ActionChains(self.dense).click().perform()
        self.wait_for(self.dense, lambda: SECOND_TEXT in self.texts(self.dense), "the second menu")

    def test_texts_are_drawn_at_the_device_resolution(self):
        self.open(self.plain)
        self.open(self.dense)
        width, height = DESCRIPTION[2] * 2, DESCRIPTION[3] * 2
        native = edge_sharpness(self.description(self.dense, 2))
        enlarged = edge_sharpness(resized(self.description(self.plain, 1), width, height))
        self.assertGreater(native, enlarged * SHARPER,
                           "the description at ratio 2 scores %.1f, the 1x one enlarged %.1f"
                           % (native, enlarged))

    def test_a_changed_ratio_paints_the_canvas_again(self):
        driver = chromium(os.path.join(self.folder, "changing"))
        self.addCleanup(driver.quit)
        self.open(driver)
        first = self.description(driver, 1)
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": 1024, "height": 768, "deviceScaleFactor": 2, "mobile": False})
        self.wait_for(driver, lambda: self.canvas_sizes(driver)[2:] == [1040, 720],
                      "the canvas at twice the size")
        # Painted again, not left blank or stretched: as sharp as a page opened at ratio 2.
        self.wait_for(driver, lambda: edge_sharpness(self.description(driver, 2)) >
                      edge_sharpness(resized(first, 320, 80)) * SHARPER, "a sharp repaint")
        # The pointer's first move over the page enters it; the second hovers.
        for point in [(300, 40), (100, 150)]:
            self.move_to(driver, point)
        self.wait_for(driver, lambda: README_TEXT in self.texts(driver), "the hovered item")

    def test_frames_fill_whole_device_pixels_at_a_fractional_ratio(self):
        # At 1.5 device pixels a menu pixel, a frame line drawn where it falls would half
        # cover a device pixel and blend its colour with the next one's.
        self.open(self.fractional)
        left, top, width, height = (round(v * 1.5) for v in BUTTON)
        band = 4   # device pixels along each edge, clear of the caption and focus frame
        cases = [
            ("top", (left, top, width, band)),
            ("bottom", (left, top + height - band, width, band)),
            ("left", (left, top, band, height)),
            ("right", (left + width - band, top, band, height)),
        ]
        for name, area in cases:
            with self.subTest(name):
                strip = rgb_of(*canvas_rgba(self.fractional, *area))
                colours = {strip.pixel(x, y) for y in range(strip.height)
                           for x in range(strip.width)}
                self.assertLessEqual(colours, FRAME_COLOURS)

    def test_the_scale_helpers(self):
        cases = [
            # name, function, arguments, answer
            ("ratio 1 keeps the size", "deviceSize", [520, 360, 1], [520, 360]),
            ("ratio 2 doubles it", "deviceSize", [520, 360, 2], [1040, 720]),
            ("ratio 1.5 rounds halves up", "deviceSize", [521, 3, 1.5], [782, 5]),
            ("a small ratio keeps a pixel", "deviceSize", [1, 2, 0.25], [1, 1]),
            ("an empty form stays empty", "deviceSize", [0, 10, 2], [0, 20]),
            ("a box of the form's size", "menuPoint",
             [60.5, 150.75, {"left": 10, "top": 20, "width": 520, "height": 360}, 520, 360],
             [50, 130]),
            ("a box zoomed twice", "menuPoint",
             [81, 61, {"left": 10, "top": 20, "width": 1040, "height": 720}, 520, 360],
             [35, 20]),
            ("a box zoomed 1.5 times", "menuPoint",
             [11.4, 21.6, {"left": 10, "top": 20, "width": 780, "height": 540}, 520, 360],
             [0, 1]),
            ("left of the box", "menuPoint",
             [9.5, 20, {"left": 10, "top": 20, "width": 520, "height": 360}, 520, 360],
             [-1, 0]),
            ("a form of no size yet", "menuPoint",
             [15, 27, {"left": 10, "top": 20, "width": 0, "height": 0}, 0, 0], [5, 7]),
            ("whole ratios keep a rectangle", "pixelAligned", [3, 4, 5, 6, 2], [3, 4, 5, 6]),
            # At 1.5 a line at 3 covers device pixels 4.5 to 6: it fills pixel 5 alone.
            ("an edge on half a device pixel goes up", "pixelAligned", [3, 0, 1, 2, 1.5],
             [5 / 1.5, 0, 1 / 1.5, 2]),
            ("the next line touches it", "pixelAligned", [4, 0, 1, 2, 1.5],
             [6 / 1.5, 0, 2 / 1.5, 2]),
            ("at 1.25 each edge to its nearest", "pixelAligned", [1, 1, 1, 3, 1.25],
             [1 / 1.25, 1 / 1.25, 2 / 1.25, 4 / 1.25]),
            ("halves up left of the origin too", "pixelAligned", [-1, 0, 1, 0, 1.5],
             [-1 / 1.5, 0, 1 / 1.5, 0]),
        ]
        answers = module_answers(self.plain, os.path.join(ROOT, "web"), "page_scale.js",
                                 [[call, args] for _, call, args, _ in cases])
        self.assertIsInstance(answers, list, answers)
        for (name, _, _, expected), answer in zip(cases, answers):
            with self.subTest(name):
                self.assertEqual(answer, expected)


def set_arguments(arguments):
    global ARGS
    ARGS = arguments


if __name__ == "__main__":
    run_page_tests(set_arguments)

#!/usr/bin/python3
"""Pictures drawn for denser screens, shown by the browser player.

A small menu: a background and one item with `@2x` variants whose pixels differ from their
1x pictures, and one item with none. At devicePixelRatio 2 the canvas shows the `@2x` pixels
exactly and the item without a variant enlarged smoothly; at ratio 1 the 1x pixels exactly;
a page whose ratio goes from 1 to 2 and back draws the pictures for each; the designer
zoomed to 200 % draws the `@2x` pixels too.

Usage: web_dense_pictures_test.py --site SITE --pack AMBREVO_PACK --demo examples/demo
"""
import os
import shutil
import sys
import tempfile
import unittest

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

from dense_menu import DENSE, MENU_SIZE, PLAIN, write_dense_menu  # noqa: E402
from browser_session import (menu_page, canvas_rgba, chromium, run_page_tests,  # noqa: E402
                             start_tool, stop_tool)
from selenium.webdriver.support.ui import WebDriverWait  # noqa: E402
from window_session import Image, read_picture  # noqa: E402

ARGS = None
BELOW = (0, 45, 120, 35)  # the background's rows below the items


def scaled_box(box, ratio):
    return tuple(v * ratio for v in box)


def rgb_of(width, height, rgba):
    rgb = bytearray(width * height * 3)
    for channel in range(3):
        rgb[channel::3] = rgba[channel::4]
    return Image(width, height, bytes(rgb))


def greys_in(area):
    """How many of the area's pixels lie between black and white."""
    return sum(1 for y in range(area.height) for x in range(area.width)
               if 40 < area.pixel(x, y)[0] < 215)


class DensePicturesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="ambrevo-web-dense-")
        cls.source = os.path.join(cls.folder, "source")
        os.mkdir(cls.source)
        write_dense_menu(cls.source)
        cls.site = menu_page(ARGS.pack, cls.source, os.path.join(cls.folder, "site"), ARGS.site)
        cls.dense = chromium(os.path.join(cls.folder, "dense"), scale=2)
        cls.plain = chromium(os.path.join(cls.folder, "plain"))

    @classmethod
    def tearDownClass(cls):
        cls.dense.quit()
        cls.plain.quit()
        cls.site.stop()
        shutil.rmtree(cls.folder, ignore_errors=True)

    def picture(self, name):
        return read_picture(os.path.join(self.source, name))

    def area(self, driver, box):
        return rgb_of(*canvas_rgba(driver, *box))

    def open(self, driver, ratio):
        driver.get(self.site.url.replace("index.html", "files.json"))
        driver.execute_script("sessionStorage.clear()")
        driver.get(self.site.url)
        width, height = (v * ratio for v in MENU_SIZE)
        self.wait_for(driver, lambda: driver.execute_script(
            "const c = [...document.querySelectorAll('.form:not([hidden]) canvas')][0];"
            "return !!c && c.width === %d && c.height === %d && window.ambrevo.firstFrame"
            " !== null" % (width, height)), "the menu painted at ratio %g" % ratio)

    def wait_for(self, driver, condition, what):
        try:
            WebDriverWait(driver, 10, poll_frequency=0.05).until(lambda d: condition())
        except Exception:
            self.fail("%s did not happen" % what)

    def test_each_picture_is_drawn_from_the_pixels_for_the_ratio(self):
        background = self.picture("bg@2x.png").crop(*scaled_box(BELOW, 2))
        cases = [
            # name, browser, ratio, the area in menu pixels, the pixels it must show
            ("the item's variant at ratio 2", self.dense, 2, DENSE, self.picture("dense@2x.png")),
            ("the background's variant at ratio 2", self.dense, 2, BELOW, background),
            ("the item's 1x at ratio 1", self.plain, 1, DENSE, self.picture("dense.png")),
            ("the background's 1x at ratio 1", self.plain, 1, BELOW,
             self.picture("bg.png").crop(*BELOW)),
        ]
        for name, driver, ratio, box, expected in cases:
            with self.subTest(name):
                self.open(driver, ratio)
                shown = self.area(driver, scaled_box(box, ratio))
                self.assertEqual(shown.rgb, expected.rgb,
                                 "%.1f from the expected pixels"
                                 % shown.difference(0, 0, expected, 1))

    def test_a_picture_without_a_variant_is_enlarged_smoothly(self):
        # Its black and white pixels in turn blend into greys, not blocks of two by two.
        self.open(self.dense, 2)
        area = self.area(self.dense, scaled_box(PLAIN, 2))
        self.assertGreater(greys_in(area), area.width * area.height // 10)

    def test_a_page_whose_ratio_changes_draws_the_pictures_for_the_new_one(self):
        driver = chromium(os.path.join(self.folder, "changing"))
        self.addCleanup(driver.quit)
        self.open(driver, 1)
        for ratio, name in [(2, "dense@2x.png"), (1, "dense.png")]:
            driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
                "width": 1024, "height": 768, "deviceScaleFactor": ratio, "mobile": False})
            expected = self.picture(name).rgb
            self.wait_for(driver,
                          lambda: self.area(driver, scaled_box(DENSE, ratio)).rgb == expected,
                          "the item's pixels of %s at ratio %d" % (name, ratio))
    def test_the_designer_at_200_percent_shows_the_variants(self):
        process, url = start_tool(ARGS.pack, "edit", self.source, "--site", ARGS.site)
        self.addCleanup(stop_tool, process)
        driver = chromium(os.path.join(self.folder, "designer"))
        self.addCleanup(driver.quit)
        driver.get(url)
        radio = "#editor .editor-zoom input[value='2']"
        self.wait_for(driver, lambda: driver.find_elements("css selector", radio),
                      "the designer's zoom")
        driver.find_element("css selector", radio).click()
        expected = self.picture("dense@2x.png").rgb
        self.wait_for(driver, lambda: self.area(driver, scaled_box(DENSE, 2)).rgb == expected,
                      "the item's variant at 200 %")


def set_arguments(arguments):
    global ARGS
    ARGS = arguments


if __name__ == "__main__":
    run_page_tests(set_arguments)

#!/usr/bin/python3
"""The designer's "Build disc" dialog in headless Chromium: `ambrevo-pack edit` on a copy of
the demo, the disc built from the page as an author builds it, and the files it leaves.

Usage: build_dialog_test.py --site build/web/site --pack build/native/ambrevo-pack
       --demo examples/demo
"""
import os
import shutil
import tempfile
import unittest

from browser_session import chromium, run_page_tests, start_tool, stop_tool
from disc_dialog import build_disc
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

ARGS = None


class BuildDialogTest(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="ambrevo-build-dialog-")
        cls.source = os.path.join(cls.folder, "demo")
        shutil.copytree(ARGS.demo, cls.source)
        cls.process, cls.url = start_tool(
            ARGS.pack, "edit", os.path.join(cls.source, "package.toml"), "--site", ARGS.site)
        cls.driver = chromium(os.path.join(cls.folder, "profile"))

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        stop_tool(cls.process)
        shutil.rmtree(cls.folder, ignore_errors=True)

    def build(self, label, folder, **choices):
        self.driver.get(self.url)
        return build_disc(self.driver, label, folder, **choices)

    def test_builds_the_demo_disc_image_and_usb_folder(self):
        status, outputs, problems = self.build("Ambrevo Demo", "output")
        self.assertEqual(status, "Built.", problems)
        out = os.path.join(self.source, "output")
        for path in ("disc/setup.exe", "disc/autorun.inf", "disc.iso",
                     "usb/Start Ambrevo Demo.exe", "usb/autorun.inf"):
            self.assertTrue(os.path.isfile(os.path.join(out, path)), path)
        with open(os.path.join(out, "disc/autorun.inf"), encoding="cp1252") as file:
            self.assertIn("label=Ambrevo Demo", file.read())
        with open(os.path.join(out, "disc.iso"), "rb") as file:
            image = file.read()
        self.assertEqual(image[0x8001:0x8006], b"CD001")
        self.assertEqual(image[0x8028:0x8028 + 12], b"AMBREVO_DEMO")
        kinds = [line.split(":")[0] for line in outputs]
        self.assertEqual(kinds, ["Program", "autorun.inf", "ISO image", "USB-stick folder"])
        self.assertIn(os.path.join(out, "disc.iso") + " (", outputs[2])

    def test_the_keys_that_press_a_button_open_the_dialog(self):
        self.driver.get(self.url)
        opener = self.driver.find_element(By.ID, "build-disc")
        dialog = self.driver.find_element(By.ID, "build-dialog")
        WebDriverWait(self.driver, 10).until(lambda _: opener.is_displayed())
        for key in (Keys.ENTER, Keys.SPACE):
            with self.subTest(key=repr(key)):
                self.driver.execute_script("arguments[0].focus()", opener)
                ActionChains(self.driver).send_keys(key).perform()
                WebDriverWait(self.driver, 10).until(lambda _: dialog.get_property("open"),
                                                     message="the dialog open")
                self.driver.execute_script("arguments[0].close()", dialog)

    def test_says_why_nothing_was_built(self):
        with open(os.path.join(self.source, "main.toml"), encoding="utf-8") as file:
            menu = file.read()
        try:
            with open(os.path.join(self.source, "main.toml"), "w", encoding="utf-8") as file:
                file.write(menu.replace('title = ', 'title = 5\nname = ', 1))
            status, outputs, problems = self.build("Broken", "broken", iso=False, usb=False)
        finally:
            with open(os.path.join(self.source, "main.toml"), "w", encoding="utf-8") as file:
                file.write(menu)
        self.assertEqual(status, "Not built: see the problems below.")
        self.assertEqual(outputs, [])
        menu_file = os.path.join(self.source, "main.toml")
        self.assertTrue(problems[0].startswith(menu_file + ":3: Window title"), problems)
        self.assertIn("nothing built", problems)
        self.assertFalse(os.path.exists(os.path.join(self.source, "broken", "disc", "setup.exe")))


def main():
    def set_arguments(arguments):
        global ARGS
        ARGS = arguments
    run_page_tests(set_arguments)


if __name__ == "__main__":
    main()

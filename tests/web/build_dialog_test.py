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
from selenium.webdriver.common.by import By
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

    def wait_for(self, condition, what, seconds=60):
        WebDriverWait(self.driver, seconds, poll_frequency=0.1).until(
            lambda _: condition(), message="no " + what + " (" + self.driver.find_element(By.ID, "build-dialog").text + ")")

    def build(self, label, folder, bits64=False, iso=True, usb=True):
        """Fills the dialog as an author does and builds; gives the status, the outputs' and
        the problems' lines once the tool has answered."""
        driver = self.driver
        driver.get(self.url)
        opener = driver.find_element(By.ID, "build-disc")
        self.wait_for(opener.is_displayed, "Build disc button")
        opener.click()
        dialog = driver.find_element(By.ID, "build-dialog")
        self.assertTrue(dialog.get_property("open"))
        fields = dialog.find_elements(By.CSS_SELECTOR, "input")
        label_field, bits32, bits64_field, iso_field, usb_field, folder_field = fields[:6]
        label_field.clear()
        label_field.send_keys(label)
        (bits64_field if bits64 else bits32).click()
        if iso_field.is_selected() != iso:
            iso_field.click()
        if usb_field.is_selected() != usb:
            usb_field.click()
        folder_field.clear()
        folder_field.send_keys(folder)
        dialog.find_element(By.CSS_SELECTOR, "button[type=submit]").click()
        status = dialog.find_element(By.CSS_SELECTOR, ".build-status")
        self.wait_for(lambda: status.text == "Built." or status.text.startswith(("Not built",
                                                                               "Stopped")),
                      "answer from the build")
        lines = lambda css: [e.text for e in dialog.find_elements(By.CSS_SELECTOR, css + " li")]
        return status.text, lines(".build-results"), lines(".build-problems")

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

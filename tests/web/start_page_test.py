#!/usr/bin/python3
"""The start page in headless Chromium: `ambrevo-pack` without a command, with a recorder in
place of xdg-open, opens its page; a disc made there from a template lands in the designer.

Usage: start_page_test.py --site build/web/site --pack build/native/ambrevo-pack
       --demo examples/demo
"""
import os
import re
import shutil
import signal
import stat
import subprocess
import tempfile
import unittest

from browser_session import chromium, run_page_tests
from disc_dialog import build_disc
from selenium.webdriver.support.ui import WebDriverWait

ARGS = None

RECORDER = """#!/bin/sh
printf '%s\\n' "$@" >> "{record}"
"""


def start_tool(home, extra_path, *arguments, display=":99"):
    """The tool without a command, for a user whose home is `home`; its page's address."""
    environment = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                       XDG_RUNTIME_DIR=os.path.join(home, ".run"),
                       PATH=extra_path + os.pathsep + os.environ["PATH"], DISPLAY=display)
    environment.pop("WAYLAND_DISPLAY", None)
    process = subprocess.Popen([ARGS.pack, "--port", "0", "--site", ARGS.site, *arguments],
                               stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                               env=environment)
    for line in process.stdout:
        address = re.search(r"http://\S+", line)
        if address:
            return process, address.group(0)
    raise AssertionError("ambrevo-pack did not start: " + process.stdout.read())


def stop(process):
    process.kill()
    process.wait()
    process.stdout.close()


class StartPageTest(unittest.TestCase):

    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="ambrevo-start-")
        self.home = os.path.join(self.folder, "home")
        os.makedirs(os.path.join(self.home, "Documents"))
        self.bin = os.path.join(self.folder, "bin")
        os.makedirs(self.bin)
        self.record = os.path.join(self.folder, "opened.txt")
        opener = os.path.join(self.bin, "xdg-open")
        with open(opener, "w") as file:
            file.write(RECORDER.format(record=self.record))
        os.chmod(opener, stat.S_IRWXU)

    def tearDown(self):
        shutil.rmtree(self.folder, ignore_errors=True)

    def opened(self):
        if not os.path.exists(self.record):
            return []
        with open(self.record) as file:
            return file.read().split()

    def wait_for(self, driver, script, what, *arguments, seconds=20):
        try:
            WebDriverWait(driver, seconds, poll_frequency=0.05).until(
                lambda d: d.execute_script(script, *arguments))
        except Exception:
            self.fail(what + " did not happen: " + driver.execute_script(
                "return location.href + ' ' + document.body.innerText.slice(0, 300)"))

    def test_the_browser_is_asked_only_with_a_display_and_without_no_browser(self):
        for arguments, display, asked in [((), ":99", True), (("--no-browser",), ":99", False),
                                          ((), "", False)]:
            with self.subTest(arguments=arguments, display=display):
                if os.path.exists(self.record):
                    os.remove(self.record)
                process, url = start_tool(self.home, self.bin, *arguments, display=display)
                try:
                    if asked:
                        self.wait_for_file()
                        self.assertEqual(self.opened(), [url])
                        self.assertRegex(url, r"/start\.html\?token=[0-9a-f]{32}$")
                    else:
                        self.assertEqual(self.opened(), [])
                finally:
                    stop(process)

    def test_a_second_start_opens_the_running_page_and_ctrl_c_ends_the_first(self):
        first, url = start_tool(self.home, self.bin, "--no-browser")
        try:
            address_file = os.path.join(self.home, ".run", "ambrevo", "running.json")
            self.assertEqual(stat.S_IMODE(os.stat(address_file).st_mode), 0o600)
            second, again = start_tool(self.home, self.bin, "--no-browser")
            self.assertEqual(second.wait(10), 0)
            second.stdout.close()
            self.assertEqual(again, url)
            self.assertEqual(self.opened(), [])
            third = subprocess.run(
                [ARGS.pack, "--site", ARGS.site], capture_output=True, text=True, timeout=10,
                env=dict(os.environ, HOME=self.home, XDG_RUNTIME_DIR=os.path.join(self.home, ".run"),
                         XDG_CONFIG_HOME=os.path.join(self.home, ".config"), DISPLAY=":99",
                         PATH=self.bin + os.pathsep + os.environ["PATH"]))
            self.assertEqual(third.returncode, 0, third.stderr)
            self.assertEqual(self.opened(), [url])
            first.send_signal(signal.SIGINT)
            self.assertEqual(first.wait(10), 0)
            self.assertIn("Stopped.", first.stdout.read())
            self.assertFalse(os.path.exists(address_file))
        finally:
            stop(first)

    def wait_for_file(self, seconds=10):
        try:
            WebDriverWait(None, seconds, poll_frequency=0.05).until(lambda _: self.opened())
        except Exception:
            self.fail("the browser was not asked to open the start page")

    def test_a_disc_from_each_template_is_built_from_the_page(self):
        process, url = start_tool(self.home, self.bin, "--no-browser")
        driver = chromium(os.path.join(self.folder, "profile"))
        try:
            driver.get(url)
            self.wait_for(driver, "return document.querySelectorAll("
                          "'input[name=template]').length >= 3", "the templates listed")
            # Styled by its own sheet (the tool's pages take no inline styles), the default
            # template first and chosen, each card with the picture of its menu.
            self.assertEqual(driver.execute_script(
                "return getComputedStyle(document.querySelector('section')).backgroundColor"),
                "rgb(255, 255, 255)")
            self.assertEqual(driver.execute_script(
                "return document.querySelector('input[name=template]:checked').value"), "product")
            self.wait_for(driver, "return [...document.querySelectorAll('.template-picture')]"
                          ".filter(p => p.complete && p.naturalWidth > 300).length === 3",
                          "the templates' pictures")
            for template, folder, title in [("product", "Product", "Your Product"),
                                            ("collection", "Photos", "Our Collection"),
                                            ("launcher", "Stick", "My Stick")]:
                with self.subTest(template=template):
                    self.make_and_build(driver, url, template, folder, title)
            # The discs are now recent ones on the start page.
            driver.get(url)
            self.wait_for(driver, "return ['Product', 'Photos', 'Stick'].every(name =>"
                          " document.getElementById('recent').textContent.includes(name))",
                          "the recent discs listed")
        finally:
            driver.quit()
            stop(process)

    def make_and_build(self, driver, url, template, folder, title):
        """A new disc from the start page, on show in the designer, then built from there
        with its image and USB folder."""
        driver.get(url)
        self.wait_for(driver, "return document.querySelectorAll("
                      "'input[name=template]').length >= 3", "the templates listed")
        driver.execute_script(
            "document.querySelector('input[value=' + arguments[0] + ']').click();"
            "document.getElementById('new-folder').value = arguments[1];"
            "document.getElementById('new-make').click()", template, folder)
        self.wait_for(driver, "return !!document.querySelector('.editor-layer')", "the designer")
        self.wait_for(driver, "return [...document.querySelectorAll("
                      "'select[aria-label=Menu] option')].some(o => o.selected &&"
                      " o.textContent.includes(arguments[0]))", "the disc's menu on show", title)
        disc = os.path.join(self.home, "Documents", folder)
        self.assertTrue(os.path.exists(os.path.join(disc, "package.toml")))
        status, outputs, problems = build_disc(driver, title, "output")
        self.assertEqual(status, "Built.", problems)
        out = os.path.join(disc, "output")
        for path in ("disc/setup.exe", "disc/autorun.inf", "disc.iso",
                     "usb/Start %s.exe" % title, "usb/autorun.inf"):
            self.assertTrue(os.path.isfile(os.path.join(out, path)), path)
        with open(os.path.join(out, "disc.iso"), "rb") as file:
            file.seek(0x8001)
            self.assertEqual(file.read(5), b"CD001")


def set_arguments(arguments):
    global ARGS
    ARGS = arguments


if __name__ == "__main__":
    run_page_tests(set_arguments)

"""Headless Chromium and a static web server on the loopback address, for the browser
tests and benchmarks of the web player. Needs Debian's chromium, chromium-driver and
python3-selenium."""

import argparse
import base64
import functools
import gzip
import http.server
import os
import subprocess
import sys
import threading
import unittest

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"


def run_page_tests(set_arguments):
    """Runs the calling test module's tests on the site, the tool and the demo named on the
    command line (--site, --pack, --demo), handing them to set_arguments first; exits 77
    (skipped) where the web build or the browser is missing."""
    parser = argparse.ArgumentParser()
    for name in ("--site", "--pack", "--demo"):
        parser.add_argument(name, required=True)
    arguments, rest = parser.parse_known_args()
    missing = missing_browser() + [path for path in [os.path.join(arguments.site,
                                                                  "ambrevo-web.wasm")]
                                   if not os.path.exists(path)]
    if missing:
        print("skipped: missing " + ", ".join(missing) + ' (run "make web")')
        sys.exit(77)
    set_arguments(arguments)
    unittest.main(module="__main__", argv=[sys.argv[0]] + rest, verbosity=2)


def missing_browser():
    """The browser programs that are not installed."""
    return [path for path in (CHROMIUM, CHROMEDRIVER) if not os.path.exists(path)]


def chromium(profile_folder, languages=None, scale=None):
    """A headless Chromium with a 1024 x 768 window and a profile of its own; languages
    ("de-DE,de") are the user's languages it tells pages, when given; scale, when given, is
    its screen's device pixels per CSS pixel."""
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    if scale:
        options.add_argument("--force-device-scale-factor=%g" % scale)
    if languages:
        options.add_argument("--lang=" + languages.split(",")[0])
        options.add_experimental_option("prefs", {"intl.accept_languages": languages})
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                 "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync",
                 "--autoplay-policy=no-user-gesture-required",
                 "--window-size=1024,768", "--user-data-dir=" + profile_folder):
        options.add_argument(flag)
    return webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)


def console_errors(driver):
    """The errors written to the browser's console (failed requests among them) since the
    last call."""
    return [entry["message"] for entry in driver.get_log("browser")
            if entry["level"] == "SEVERE"]


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class Unsized(Quiet):
    """Answers without a Content-Length: each ends as its connection closes."""

    def send_header(self, keyword, value):
        if keyword.lower() != "content-length":
            super().send_header(keyword, value)


class Gzipped(Quiet):
    """Sends package.bin gzip-encoded, with the Content-Length of the encoded bytes, as
    many web hosts do."""

    def do_GET(self):
        if self.path.split("?")[0] != "/package.bin":
            return super().do_GET()
        with open(os.path.join(self.directory, "package.bin"), "rb") as package:
            body = gzip.compress(package.read(), 1)
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Encoding", "gzip")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
        return None


class StaticSite:
    """A folder served on 127.0.0.1 until stop(), by Quiet or another of its kind; url is
    its index.html."""

    def __init__(self, folder, kind=Quiet):
        handler = functools.partial(kind, directory=folder)
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.url = "http://127.0.0.1:%d/index.html" % self.server.server_address[1]

    def stop(self):
        self.server.shutdown()
        self.server.server_close()


def menu_page(pack, source, folder, page_site):
    """The menu of the source folder written by `pack web` into folder with the browser
    player's page page_site, and served."""
    run = subprocess.run([pack, "web", os.path.join(source, "package.toml"), "-o", folder,
                          "--site", page_site], capture_output=True, text=True)
    if run.returncode != 0:
        raise AssertionError(run.stdout + run.stderr)
    return StaticSite(folder)


MENU_CANVAS = "[...document.querySelectorAll('.form:not([hidden]):not(.framed) canvas')][0]"


def start_tool(pack, *arguments):
    """`ambrevo-pack` with those arguments on a free port, opening no browser: the process
    and the address it serves (the token's included)."""
    process = subprocess.Popen([pack, *arguments, "--port", "0", "--no-browser"],
                               stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    for line in process.stdout:
        if line.startswith("Serving "):
            return process, line.split()[1]
    process.wait()
    raise AssertionError("ambrevo-pack %s did not start" % " ".join(arguments))


def stop_tool(process):
    process.kill()
    process.wait()
    process.stdout.close()


def module_answers(driver, folder, module, calls):
    """What the ES module `module` of `folder` answers to each call [function, arguments],
    in a page of that folder's origin (the tool's pages allow no scripts but their own);
    an error's text when the module cannot be loaded."""
    site = StaticSite(folder)
    try:
        driver.get(site.url.rsplit("/", 1)[0] + "/" + module)
        return driver.execute_async_script(
            "const [module, calls, done] = arguments;"
            "import('./' + module)"
            "  .then((m) => done(calls.map(([f, args]) => m[f](...args))),"
            "        (error) => done(String(error)))", module, calls)
    finally:
        site.stop()


def canvas_rgba(driver, left=0, top=0, width=None, height=None):
    """The menu window's canvas pixels in that area (all of it by default) as width,
    height and RGBA bytes, row by row from the top."""
    width, height, data = driver.execute_script(
        "const c = " + MENU_CANVAS + ";"
        "const w = arguments[2] || c.width, h = arguments[3] || c.height;"
        "const d = c.getContext('2d').getImageData(arguments[0], arguments[1], w, h).data;"
        "let s = '';"
        "for (let i = 0; i < d.length; i += 8192)"
        "  s += String.fromCharCode.apply(null, d.subarray(i, i + 8192));"
        "return [w, h, btoa(s)];", left, top, width or 0, height or 0)
    return width, height, base64.b64decode(data)

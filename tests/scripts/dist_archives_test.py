#!/usr/bin/python3
"""The downloads that `make dist` writes, each unpacked into a fresh folder and used as an
author would: the Windows zip's tool under Wine in a fresh prefix, the Linux tool as it
is, needing no library but the C library's. Each says its version, builds the demo on the
players it carries, 32- and 64-bit, with its ISO image (read back by xorriso, and the same
bytes from both tools), serves its start page when started with no arguments, and writes the demo's page from the page it carries. Exits 77
(skipped) when the archives are not there (run make dist).

Usage: dist_archives_test.py --root PROJECT --version VERSION
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tarfile
import tempfile
import unittest
import urllib.request
import zipfile

ARGS = None
# The C library's own files: all that the Linux tool may load.
GLIBC = {"libc.so.6", "libm.so.6", "ld-linux-x86-64.so.2"}


def run(command, **options):
    return subprocess.run(command, capture_output=True, text=True, timeout=600, **options)


class DistArchivesTest(unittest.TestCase):

    def archive(self, suffix):
        return os.path.join(ARGS.root, "dist", "ambrevo-%s-%s" % (ARGS.version, suffix))

    def check_tool(self, tool, folder, wine_prefix=None):
        """The tool's version, the demo (demo/ in folder) built on each carried player, and
        its page, all named relative to folder, where the tool runs."""
        environment = dict(os.environ)
        demo = os.path.join("demo", "package.toml")
        command = [tool]
        if wine_prefix:
            environment.update(WINEPREFIX=wine_prefix, WINEDEBUG="-all")
            command = [os.path.join(ARGS.root, "scripts", "wine-run"), "--arch", "win64", tool]
        version = run(command + ["--version"], env=environment, cwd=folder)
        self.assertEqual(version.stdout.strip(), "ambrevo-pack " + ARGS.version, version.stderr)
        for bits in ("32", "64"):
            output = "setup%s.exe" % bits
            built = run(command + ["build", demo, "-q", "--bits", bits, "-o", output,
                                   "--autorun", "Ambrevo Demo", "--iso", "disc%s.iso" % bits],
                        env=environment, cwd=folder)
            self.assertEqual(built.returncode, 0, built.stderr)
            self.check_image(os.path.join(folder, "disc%s.iso" % bits), output)
            listed = run(command + ["list", output], env=environment, cwd=folder)
            self.assertIn("player: version " + ARGS.version, listed.stdout, listed.stderr)
        self.check_start_page(command, environment, folder)
        page = run(command + ["web", demo, "-o", "page"], env=environment, cwd=folder)
        self.assertEqual(page.returncode, 0, page.stderr)
        self.assertTrue(os.path.isfile(os.path.join(folder, "page", "ambrevo-web.wasm")))

    def check_start_page(self, command, environment, folder):
        """Started as a double-click starts it, with no arguments, the tool serves its start
        page. No display is named, so no browser is opened (that is tested under Wine with a
        recorder registered for http)."""
        environment = {k: v for k, v in environment.items()
                       if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        # A user of its own, so that no other running tool is found.
        home = os.path.join(folder, "home")
        environment.update(HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                           XDG_RUNTIME_DIR=os.path.join(home, ".run"))
        os.makedirs(home, exist_ok=True)
        tool = subprocess.Popen(command, env=environment, cwd=folder, text=True,
                                stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL)
        try:
            address = next((found.group(0) for found in (
                re.search(r"http://127\.0\.0\.1:\d+/start\.html\?token=[0-9a-f]+", line)
                for line in tool.stdout) if found), None)
            self.assertIsNotNone(address, "the tool served no start page")
            opener = urllib.request.build_opener(urllib.request.ProxyHandler({}))
            with opener.open(address, timeout=30) as page:
                self.assertEqual(page.status, 200)
                self.assertIn(b"start", page.read())
        finally:
            tool.kill()
            tool.wait()
            tool.stdout.close()

    def check_image(self, image, program):
        """The image read back by xorriso: Joliet names with the program and autorun.inf at
        its root, and the label."""
        listed = run(["xorriso", "-indev", image, "-joliet", "on", "-find", "/", "-type", "f"])
        self.assertEqual(listed.returncode, 0, listed.stderr)
        names = set(re.findall(r"^'/([^/]*)'$", listed.stdout, re.M))
        self.assertTrue({program, "autorun.inf", "readme.txt"} <= names, listed.stdout)
        described = run(["xorriso", "-indev", image, "-pvd_info"])
        self.assertIn("Volume Id    : AMBREVO_DEMO", described.stdout, described.stderr)
        with open(image, "rb") as made:
            self.images.setdefault(os.path.basename(image), set()).add(made.read())

    @classmethod
    def setUpClass(cls):
        cls.images = {}

    @classmethod
    def tearDownClass(cls):
        # Both tools, from the same sources and carried players, make the same image.
        for name, contents in cls.images.items():
            assert len(contents) == 1, "the tools' %s differ" % name

    def test_windows_zip(self):
        path = self.archive("windows.zip")
        self.assertLess(os.path.getsize(path), 5 * 1024 * 1024)
        top = "ambrevo-%s/" % ARGS.version
        with tempfile.TemporaryDirectory() as folder, zipfile.ZipFile(path) as archive:
            names = archive.namelist()
            for name in ("ambrevo-pack.exe", "README.md", "docs/authoring.md",
                         "licences/DejaVu-fonts.txt", "licences/libarchive.txt"):
                self.assertIn(top + name, names)
            self.assertFalse([n for n in names if n.endswith((".debug", ".pdb", ".map"))])
            tool_bytes = archive.read(top + "ambrevo-pack.exe")
            self.assertNotIn(b".debug_info", tool_bytes)
            archive.extractall(folder)
            shutil.copytree(os.path.join(ARGS.root, "examples", "demo"),
                            os.path.join(folder, "demo"))
            self.check_tool(os.path.join(folder, top, "ambrevo-pack.exe"), folder,
                            wine_prefix=os.path.join(folder, "wineprefix"))
            run([os.path.join(ARGS.root, "scripts", "wine-run"), "--arch", "win64", "--server",
                 "-k"], env=dict(os.environ, WINEPREFIX=os.path.join(folder, "wineprefix")))

    def test_linux_archive(self):
        top = "ambrevo-%s/" % ARGS.version
        with tempfile.TemporaryDirectory() as folder, tarfile.open(
                self.archive("linux.tar.xz")) as archive:
            names = archive.getnames()
            for name in ("ambrevo-pack", "page/ambrevo-web.wasm", "page/start.html",
                         "docs/authoring.md",
                         "licences/DejaVu-fonts.txt", "licences/libarchive.txt"):
                self.assertIn(top + name, names)
            archive.extractall(folder)
            tool = os.path.join(folder, top, "ambrevo-pack")
            sections = run(["objdump", "-h", tool]).stdout
            self.assertNotIn(".debug_info", sections)
            shutil.copytree(os.path.join(ARGS.root, "examples", "demo"),
                            os.path.join(folder, "demo"))
            self.check_tool(tool, folder)
            self.assertLess(os.path.getsize(self.archive("linux.tar.xz")), 5 * 1024 * 1024)
            dynamic = run(["readelf", "-d", tool]).stdout
            needed = set(re.findall(r"\(NEEDED\).*\[(.*)\]", dynamic))
            self.assertTrue(needed and needed <= GLIBC, needed)
            # Signing runs osslsigncode: a machine without it is told so.
            with open(os.path.join(folder, "cert.pfx"), "wb") as certificate:
                certificate.write(b"not looked at before the signer starts")
            signed = run([tool, "build", os.path.join("demo", "package.toml"), "-q", "-o",
                          "signed.exe", "--sign", "cert.pfx"], cwd=folder,
                         env=dict(os.environ, PATH=os.path.join(folder, "no-programs"),
                                  AMBREVO_SIGN_PASSWORD="x"))
            self.assertNotEqual(signed.returncode, 0)
            self.assertIn("cannot run osslsigncode: install it (Debian package osslsigncode)",
                          signed.stderr)


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--version", required=True)
    ARGS, rest = parser.parse_known_args()
    ARGS.root = os.path.abspath(ARGS.root)
    missing = [suffix for suffix in ("windows.zip", "linux.tar.xz")
               if not os.path.exists(os.path.join(
                   ARGS.root, "dist", "ambrevo-%s-%s" % (ARGS.version, suffix)))]
    if missing:
        print("skipped: dist/ lacks the " + " and ".join(missing) + ' (run "make dist")')
        sys.exit(77)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()

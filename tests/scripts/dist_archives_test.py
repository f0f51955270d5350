#!/usr/bin/python3
"""The downloads that `make dist` writes, each unpacked into a fresh folder and used as an
author would: the Windows zip's tool under Wine in a fresh prefix, the Linux tool as it
is. Each says its version, builds the demo on the players it carries, 32- and 64-bit, and
writes the demo's page from the page it carries. Exits 77 (skipped) when the archives are
not there (run make dist).

Usage: dist_archives_test.py --root PROJECT --version VERSION
"""
import argparse
import os
import shutil
import subprocess
import sys
import tarfile
import tempfile
import unittest
import zipfile

ARGS = None


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
            built = run(command + ["build", demo, "-q", "--bits", bits, "-o", output],
                        env=environment, cwd=folder)
            self.assertEqual(built.returncode, 0, built.stderr)
            listed = run(command + ["list", output], env=environment, cwd=folder)
            self.assertIn("player: version " + ARGS.version, listed.stdout, listed.stderr)
        page = run(command + ["web", demo, "-o", "page"], env=environment, cwd=folder)
        self.assertEqual(page.returncode, 0, page.stderr)
        self.assertTrue(os.path.isfile(os.path.join(folder, "page", "ambrevo-web.wasm")))

    def test_windows_zip(self):
        path = self.archive("windows.zip")
        self.assertLess(os.path.getsize(path), 5 * 1024 * 1024)
        top = "ambrevo-%s/" % ARGS.version
        with tempfile.TemporaryDirectory() as folder, zipfile.ZipFile(path) as archive:
            names = archive.namelist()
            for name in ("ambrevo-pack.exe", "README.md", "docs/authoring.md",
                         "licences/DejaVu-fonts.txt"):
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
                self.archive("linux.tar.gz")) as archive:
            names = archive.getnames()
            for name in ("ambrevo-pack", "page/ambrevo-web.wasm", "docs/authoring.md",
                         "licences/DejaVu-fonts.txt"):
                self.assertIn(top + name, names)
            archive.extractall(folder)
            tool = os.path.join(folder, top, "ambrevo-pack")
            sections = run(["objdump", "-h", tool]).stdout
            self.assertNotIn(".debug_info", sections)
            shutil.copytree(os.path.join(ARGS.root, "examples", "demo"),
                            os.path.join(folder, "demo"))
            self.check_tool(tool, folder)


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--version", required=True)
    ARGS, rest = parser.parse_known_args()
    ARGS.root = os.path.abspath(ARGS.root)
    missing = [suffix for suffix in ("windows.zip", "linux.tar.gz")
               if not os.path.exists(os.path.join(
                   ARGS.root, "dist", "ambrevo-%s-%s" % (ARGS.version, suffix)))]
    if missing:
        print("skipped: dist/ lacks the " + " and ".join(missing) + ' (run "make dist")')
        sys.exit(77)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()

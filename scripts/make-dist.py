#!/usr/bin/python3
"""Writes the downloads for authors: dist/ambrevo-<version>-windows.zip and
dist/ambrevo-<version>-linux.tar.xz, each with the tool (stripped: no debug files; the page
and the players are inside it, or, for the Linux tool, its page beside it), the README, the
authoring notes and the licences. The archives hold their files in one folder, in name
order, with fixed dates, so that the same files give the same bytes.

Usage: make-dist.py --root . --windows-tool build/win64/ambrevo-pack.exe
                    --linux-tool build/native/ambrevo-pack --site build/web/site --out dist
"""
import argparse
import os
import re
import subprocess
import sys
import tarfile
import tempfile
import zipfile

ARCHIVE_LIMIT = 5 * 1024 * 1024
FIXED_TIME = (2000, 1, 1, 0, 0, 0)
FIXED_STAMP = 946684800  # 2000-01-01 in seconds since 1970
# The libraries built into the tools, whose licences Debian keeps in /usr/share/doc/<package>,
# and those compiled from Debian's sources, whose licences the unpacked sources hold.
BUILT_IN = ["zlib1g", "libdeflate-dev", "libcli11-dev", "libtomlplusplus-dev", "libstb-dev",
            "nlohmann-json3-dev", "libssl-dev"]
BUILT_FROM_SOURCE = ["libarchive", "cpp-httplib"]
SOURCES = "build/native/third_party"  # where the native build unpacked them
DOCS = ["docs/authoring.md", "docs/designer.md"]
# The page's files are those the tool serves: the list in the tool's own header.
SITE_LIST = "tools/pack/page/web_site.h"


def site_files(root):
    with open(os.path.join(root, SITE_LIST), encoding="utf-8") as file:
        listed = re.search(r"kSiteFiles =[^;]*;", file.read())
    if not listed:
        sys.exit("make-dist: no kSiteFiles list of file names in " + SITE_LIST)
    return re.findall(r'"([^"]+)"', listed.group(0))


def project_version(root):
    with open(os.path.join(root, "CMakeLists.txt"), encoding="utf-8") as file:
        found = re.search(r"project\(\w+ VERSION ([0-9.]+)", file.read())
    if not found:
        sys.exit("make-dist: no project version in CMakeLists.txt")
    return found.group(1)


def stripped(tool, strip, folder):
    """A copy of the tool without symbols or debug sections."""
    copy = os.path.join(folder, os.path.basename(tool))
    subprocess.run([strip, "--strip-all", "-o", copy, tool], check=True)
    return copy


def common_files(root):
    """(name in the archive, file) for the README, the notes and the licences."""
    files = [("README.md", os.path.join(root, "README.md"))]
    files += [(path, os.path.join(root, path)) for path in DOCS]
    images = os.path.join(root, "docs", "images")
    files += [("docs/images/" + name, os.path.join(images, name))
              for name in sorted(os.listdir(images))]
    files.append(("licences/DejaVu-fonts.txt",
                  os.path.join(root, "resources", "fonts", "LICENSE-DejaVu.txt")))
    for package in BUILT_IN:
        copyright_file = os.path.join("/usr/share/doc", package, "copyright")
        if not os.path.exists(copyright_file):
            sys.exit("make-dist: no licence for " + package + " (" + copyright_file + ")")
        files.append(("licences/" + package + ".txt", copyright_file))
    for package in BUILT_FROM_SOURCE:
        files.append(("licences/" + package + ".txt",
                      os.path.join(root, SOURCES, package, "debian", "copyright")))
    for name, path in files:
        if not os.path.isfile(path):
            sys.exit("make-dist: " + path + " is missing")
    return files


def write_zip(path, top, files):
    with zipfile.ZipFile(path + ".part", "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for name, source, mode in sorted(files):
            info = zipfile.ZipInfo(top + "/" + name, FIXED_TIME)
            info.external_attr = (mode & 0xFFFF) << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(source, "rb") as file:
                archive.writestr(info, file.read())
    os.replace(path + ".part", path)


def write_tar(path, top, files):
    with open(path + ".part", "wb") as raw:
        # xz keeps no name or time in its header, so the bytes stay the same; it packs the
        # tool, which carries its libraries, a quarter smaller than gzip.
        with tarfile.open(fileobj=raw, mode="w:xz", preset=9,
                          format=tarfile.PAX_FORMAT) as archive:
            for name, source, mode in sorted(files):
                info = tarfile.TarInfo(top + "/" + name)
                info.size = os.path.getsize(source)
                info.mode = mode
                info.mtime = FIXED_STAMP
                info.uname = info.gname = "root"
                with open(source, "rb") as file:
                    archive.addfile(info, file)
    os.replace(path + ".part", path)


def main():
    parser = argparse.ArgumentParser()
    for name in ("--root", "--windows-tool", "--linux-tool", "--site", "--out"):
        parser.add_argument(name, required=True)
    parser.add_argument("--windows-strip", default="x86_64-w64-mingw32-strip")
    parser.add_argument("--linux-strip", default="strip")
    arguments = parser.parse_args()
    version = project_version(arguments.root)
    for tool in (arguments.windows_tool, arguments.linux_tool):
        if not os.path.isfile(tool):
            sys.exit("make-dist: " + tool + " is not built")
    site = site_files(arguments.root)
    missing = [name for name in site
               if not os.path.isfile(os.path.join(arguments.site, name))]
    if missing:
        sys.exit("make-dist: the page is not built (" + ", ".join(missing) + "): run make web")
    os.makedirs(arguments.out, exist_ok=True)
    common = [(name, path, 0o644) for name, path in common_files(arguments.root)]
    with tempfile.TemporaryDirectory() as folder:
        windows = stripped(arguments.windows_tool, arguments.windows_strip, folder)
        linux = stripped(arguments.linux_tool, arguments.linux_strip, folder)
        top = "ambrevo-" + version
        zip_path = os.path.join(arguments.out, top + "-windows.zip")
        write_zip(zip_path, top, common + [("ambrevo-pack.exe", windows, 0o755)])
        page = [("page/" + name, os.path.join(arguments.site, name), 0o644)
                for name in site]
        tar_path = os.path.join(arguments.out, top + "-linux.tar.xz")
        write_tar(tar_path, top, common + page + [("ambrevo-pack", linux, 0o755)])
    for path in (zip_path, tar_path):
        size = os.path.getsize(path)
        if size >= ARCHIVE_LIMIT:
            os.remove(path)
            sys.exit("make-dist: %s is %d bytes, over its limit of 5 MB" % (path, size))
    for path in (zip_path, tar_path):
        print("wrote %s: %d bytes" % (path, os.path.getsize(path)))


if __name__ == "__main__":
    main()

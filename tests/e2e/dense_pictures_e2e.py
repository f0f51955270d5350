"""Pictures drawn for denser screens, shown by the player under Wine at 144 and 192 DPI.

A small menu: a background and one item with `@2x` variants whose pixels differ from
their 1x pictures, and one item with none. At 192 DPI the window shows the `@2x` pixels
exactly; at 144 DPI the `@2x` pictures scaled down (nearer to them averaged than to the 1x
pictures enlarged); the item without a variant is its 1x picture enlarged smoothly (greys
between its black and white pixels, not blocks).

Usage: dense_pictures_e2e.py CASE PLAYER_EXE PACK_EXE [DEFAULT_WINEPREFIX]
"""

import os
import shutil
import subprocess
import tempfile

from dense_menu import DENSE, MENU_SIZE, PLAIN, write_dense_menu
from display_scale_e2e import to_device
from scaled_prefix import ScaledPrefix
from player_harness import RemovedAfterUse, case_and_arguments, wine
from window_e2e import expect, menu_window, windows_path
from window_session import Session, read_picture, screenshot, wait_until

class DenseDisc(RemovedAfterUse):
    """The menu built with its pictures into a temporary folder."""

    def __init__(self, player_exe, pack_exe):
        self.folder = tempfile.mkdtemp(prefix="ambrevo-dense-e2e-")
        self.source = os.path.join(self.folder, "source")
        os.mkdir(self.source)
        write_dense_menu(self.source)
        self.exe = os.path.join(self.folder, "setup.exe")
        subprocess.run([*wine(pack_exe), "build", windows_path(os.path.join(self.source,
                                                                            "main.toml")),
                        "--player", windows_path(player_exe), "-o", windows_path(self.exe)],
                       check=True, timeout=120, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)

    def picture(self, name):
        return read_picture(os.path.join(self.source, name))

    def remove(self):
        shutil.rmtree(self.folder, ignore_errors=True)


def scaled(image, width, height, filter_name):
    """The image resized by ImageMagick with that filter."""
    rgb = subprocess.run(["convert", "-size", "%dx%d" % (image.width, image.height),
                          "-depth", "8", "rgb:-", "-filter", filter_name,
                          "-resize", "%dx%d!" % (width, height), "-depth", "8", "rgb:-"],
                         input=image.rgb, check=True, stdout=subprocess.PIPE,
                         timeout=30).stdout
    return type(image)(width, height, rgb)


def device_box(box, dpi):
    left, top, width, height = box
    x, y = to_device(left, dpi), to_device(top, dpi)
    return x, y, to_device(left + width, dpi) - x, to_device(top + height, dpi) - y


def shown_window(disc, dpi):
    """The window's client area on the screen, once painted (two screenshots agree)."""
    session = Session(disc.exe)
    try:
        size = tuple(to_device(n, dpi) for n in MENU_SIZE)
        window = menu_window(session, size)
        left, top = session.geometry(window)[:2]
        previous = []

        def painted():
            area = screenshot().crop(left, top, *size)
            done = previous and previous[-1].rgb == area.rgb
            previous.append(area)
            return area if done else None
        return wait_until(painted, 10, "the window painted")
    finally:
        session.stop()


def smoothly_enlarged(shown, dpi):
    """True when the item without a variant shows greys between its black and white."""
    x, y, width, height = device_box(PLAIN, dpi)
    area = shown.crop(x, y, width, height)
    greys = sum(1 for j in range(height) for i in range(width)
                if 40 < area.pixel(i, j)[0] < 215)
    return greys > width * height // 10


def case_at_200_percent(player_exe, disc):
    with ScaledPrefix(192).in_use():
        shown = shown_window(disc, 192)
    dense = disc.picture("dense@2x.png")
    x, y, width, height = device_box(DENSE, 192)
    expect(shown.crop(x, y, width, height).rgb == dense.rgb,
           "the item's @2x pixels shown exactly")
    below = (0, 90, 240, 70)  # the rows below the items
    expect(shown.crop(*below).rgb == disc.picture("bg@2x.png").crop(*below).rgb,
           "the background's @2x pixels shown exactly")
    expect(smoothly_enlarged(shown, 192), "the item without a variant enlarged smoothly")


def case_at_150_percent(player_exe, disc):
    with ScaledPrefix(144).in_use():
        shown = shown_window(disc, 144)
    x, y, width, height = device_box(DENSE, 144)
    area = shown.crop(x, y, width, height)
    averaged = scaled(disc.picture("dense@2x.png"), width, height, "Box")
    enlarged = scaled(disc.picture("dense.png"), width, height, "Triangle")
    near, far = area.difference(0, 0, averaged, 1), area.difference(0, 0, enlarged, 1)
    expect(near < 12 and near * 4 < far,
           "the @2x item scaled down: %.1f from it averaged, %.1f from the 1x enlarged"
           % (near, far))
    background = scaled(disc.picture("bg@2x.png"), 180, 120, "Box")
    below = (0, 68, 180, 52)  # the rows below the items
    expect(shown.crop(*below).difference(0, 0, background.crop(*below), 1) < 12,
           "the background's @2x scaled down")
    expect(smoothly_enlarged(shown, 144), "the item without a variant enlarged smoothly")


def main():
    case, (player_exe, pack_exe) = case_and_arguments(globals(), ["PLAYER_EXE", "PACK_EXE"])
    with DenseDisc(player_exe, pack_exe) as disc:
        case(player_exe, disc)


if __name__ == "__main__":
    main()

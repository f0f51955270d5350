"""End-to-end checks of the menu window, run under Wine on the test's X display.

The demo disc is built with the authoring tool (run through Wine), with the transparent
parts of its background recoloured magenta: wherever the window shape works, no magenta
can be seen.

Usage: window_e2e.py CASE PLAYER_EXE PACK_EXE DEMO_FOLDER [DEFAULT_WINEPREFIX]
"""

import os
import shutil
import subprocess
import tempfile
import time

from player_harness import RemovedAfterUse, _xdotool, case_and_arguments, wine
from window_session import Session, click, key, mouse_to, read_picture, screenshot, wait_until

MAGENTA = (255, 0, 255)
SCREEN = (1024, 768)
MAIN_TITLE = "Ambrevo Demo"
SECOND_TITLE = "Ambrevo Demo - More"
ITEM_POSITIONS = {"readme": (36, 130), "browse": (36, 184), "more": (36, 238)}


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Disc(RemovedAfterUse):
    """The demo disc built into a temporary folder."""

    def __init__(self, player_exe, pack_exe, demo_folder):
        self.folder = tempfile.mkdtemp(prefix="ambrevo-window-e2e-")
        self.source = os.path.join(self.folder, "source")
        shutil.copytree(demo_folder, self.source)
        background = os.path.join(self.source, "pictures", "main-background.png")
        subprocess.run(["convert", background, "-background", "#ff00ff", "-alpha", "background",
                        background], check=True, timeout=60)
        self.exe = os.path.join(self.folder, "setup.exe")
        subprocess.run([*wine(pack_exe), "build",
                        windows_path(os.path.join(self.source, "package.toml")),
                        "--player", windows_path(player_exe), "-o", windows_path(self.exe)],
                       check=True, timeout=120, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)

    def picture(self, name):
        return read_picture(os.path.join(self.source, "pictures", name + ".png"))

    def with_entry_changed(self, entry, offset, value):
        """A copy of the disc program with one byte of a menu entry's data replaced."""
        with open(self.exe, "rb") as f:
            data = bytearray(f.read())
        start = int.from_bytes(data[-4:], "little") - 1
        text_length = int.from_bytes(data[start + 8:start + 12], "little")
        count_at = start + 12 + text_length + 6  # after the header text and byte
        for i in range(data[count_at]):
            at = count_at + 1 + 260 * i
            name = data[at:at + 256].decode("latin-1").strip().lower()
            if name == entry:
                position = int.from_bytes(data[at + 256:at + 260], "little") - 1
                data[position + offset] = value
                path = os.path.join(self.folder, "damaged.exe")
                with open(path, "wb") as out:
                    out.write(data)
                return path
        raise KeyError(entry)

    def remove(self):
        shutil.rmtree(self.folder, ignore_errors=True)


def expect(condition, message):
    if not condition:
        raise AssertionError(message)


def is_marquee_of(name, title):
    """True for the title as loaded or any caption of its scrolling."""
    text = title + "     "
    return name == title or (len(name) == len(text) + 1 and name in text + text
                              and name[0] == name[-1])


def menu_window(session, size, seconds=20):
    """The player's visible window of that client size; fails saying what the player showed
    instead when it ends or the time runs out first."""
    def find():
        for window in session.windows(".*"):
            try:
                if session.geometry(window)[2:] == size:
                    return window
            except KeyError:  # the window went away since the search
                continue
        return None
    return session.wait_for(find, seconds, "the menu window of %d x %d" % size)


def popup_menu_open(session):
    """True once the player shows a popup menu: a visible window of its own with no name
    (a window gone since the search has no geometry, and is no menu)."""
    for window in session.windows(".*"):
        try:
            session.geometry(window)
        except KeyError:
            continue
        if session.window_name(window) == "":
            return True
    return False


def best_match(shot, left, top, candidates):
    """The name of the candidate picture that the screen area looks most like."""
    scores = {name: shot.difference(left, top, picture) for name, picture in candidates.items()}
    return min(scores, key=scores.get), scores


def case_demo_window(player_exe, disc):
    background = disc.picture("main-background")
    size = (background.width, background.height)
    left, top = (SCREEN[0] - size[0]) // 2, (SCREEN[1] - size[1]) // 2
    frames = {n: disc.picture(n) for n in
              ["browse-normal", "browse-highlight"] + ["browse-glow%d" % i for i in range(1, 5)]}
    session = Session(disc.exe)
    try:
        window = menu_window(session, size)
        expect(session.geometry(window)[:2] == (left, top),
               "the window sits centred: %r" % (session.geometry(window),))
        time.sleep(1.0)
        shot = screenshot()

        # The background is shown where it is not covered, the cut-outs show the root window.
        area = (200, 40, 100, 50)  # the heading's panel, free of items and labels
        crop = background.crop(*area)
        expect(shot.difference(left + area[0], top + area[1], crop) < 6,
               "the background picture is shown")
        cut = [(x, y) for (x, y) in [(0, 0), (size[0] - 1, 0), (0, size[1] - 1),
                                     (size[0] - 1, size[1] - 1)]
               if background.pixel(x, y) == MAGENTA]
        expect(cut, "the test background has transparent corners")
        for x, y in cut:
            expect(shot.pixel(left + x, top + y) != MAGENTA, "corner %d,%d is cut out" % (x, y))

        # Items: the browse item rests in its normal picture.
        bx, by = ITEM_POSITIONS["browse"]
        name, scores = best_match(shot, left + bx, top + by, frames)
        expect(name == "browse-normal", "the browse item shows its normal picture: %r" % scores)

        # Hover highlights it, and its highlight frames animate.
        mouse_to(left + bx + 100, top + by + 22)
        seen = set()
        deadline = time.monotonic() + 3
        while time.monotonic() < deadline and len(seen) < 2:
            name, scores = best_match(screenshot(), left + bx, top + by, frames)
            seen.add(name)
        expect("browse-normal" not in seen, "the hovered item is highlighted: %r" % seen)
        expect(len(seen) >= 2, "the highlight animates through its frames: %r" % seen)

        # The title scrolls.
        names = {session.window_name(window) for _ in range(6) if not time.sleep(0.2)}
        expect(len(names) >= 2 and all(is_marquee_of(n, MAIN_TITLE) for n in names),
               "the caption scrolls the title: %r" % names)

        # The context menu opens the About window, once per choice.
        for count in (1, 2):
            mouse_to(left + 480, top + 30)
            click(3)
            wait_until(lambda: popup_menu_open(session), 10, "the context menu open")
            key("Down", "Return")
            wait_until(lambda: len(session.windows("About Ambrevo")) == count, 20,
                       "%d About windows" % count)
        expect(not session.boxes(), "no message box: %r" % session.boxes())
    finally:
        session.stop()


def case_drag_window(player_exe, disc):
    background = disc.picture("main-background")
    session = Session(disc.exe)
    try:
        window = menu_window(session, (background.width, background.height))
        left, top = session.geometry(window)[:2]
        grab = (left + 480, top + 30)  # the heading's panel: background, no item
        mouse_to(*grab)
        _xdotool("mousedown", "1")
        # The window follows the pointer exactly, from the first move on, with no clamping.
        for dx, dy in [(3, 2), (25, 10), (-40, 120), (-300, 60), (0, 0)]:
            mouse_to(grab[0] + dx, grab[1] + dy)
            wait_until(lambda: session.geometry(window)[:2] == (left + dx, top + dy), 5,
                       "the window moved by %+d,%+d" % (dx, dy))
        mouse_to(grab[0] + 10, grab[1] + 10)
        _xdotool("mouseup", "1")
        wait_until(lambda: session.geometry(window)[:2] == (left + 10, top + 10), 5,
                   "the window where the button came up")
        mouse_to(grab[0] + 60, grab[1] + 40)
        time.sleep(0.5)
        expect(session.geometry(window)[:2] == (left + 10, top + 10),
               "the window stays after the release: %r" % (session.geometry(window),))

        # Five quick steps of (8, 5), each of which finds the pointer at the same place in
        # the window that has followed it: the window still goes the pointer's whole way.
        left, top = left + 10, top + 10
        grab = (left + 480, top + 30)
        mouse_to(*grab)
        _xdotool("mousedown", "1")
        for step in range(1, 6):
            mouse_to(grab[0] + 8 * step, grab[1] + 5 * step)
        _xdotool("mouseup", "1")
        wait_until(lambda: session.geometry(window)[:2] == (left + 40, top + 25), 5,
                   "the window moved by +40,+25 from %r" % ((left, top),))
        time.sleep(0.5)
        expect(session.geometry(window)[:2] == (left + 40, top + 25),
               "the window stays after the steps: %r" % (session.geometry(window),))
        expect(not session.boxes(), "no message box: %r" % session.boxes())
    finally:
        session.stop()


def case_first_menu_from_argument(player_exe, disc):
    for arguments, title in [((), None), ((r"D:\my menus\Second.mnu",), SECOND_TITLE),
                             (("D:Second.mnu",), SECOND_TITLE)]:
        session = Session(disc.exe, *arguments)
        try:
            if title is None:
                window = menu_window(session, (520, 360))
                expect(is_marquee_of(session.window_name(window), MAIN_TITLE), "main menu first")
            else:
                session.wait_for_window(title)
        finally:
            session.stop()


def case_damaged_menus(player_exe, disc):
    # A wrong tag in the first value: the warning, then the menu with what was read.
    session = Session(disc.with_entry_changed("main.mnu", 11, 2))
    try:
        session.dismiss_box("Warning")
        expect(("Warning", "Error loading binary menu data.") in session.boxes(),
               "the wrong tag is reported: %r" % session.boxes())
        expect(not session.ended(2), "the menu stays open")
    finally:
        session.stop()

    # The first menu fails the header check: its two messages, then the program ends.
    session = Session(disc.with_entry_changed("main.mnu", 5, 5))
    try:
        session.dismiss_box("Ambrevo")
        session.dismiss_box("Ambrevo")
        expect(session.ended(10), "the program ends without a menu")
        texts = [text for _, text in session.boxes()]
        expect(len(texts) == 2 and texts[0].startswith("This is not an Ambrevo Version 6")
               and texts[1] == "Menu could not be read.", "header messages: %r" % texts)
    finally:
        session.stop()

    # A first menu that the package does not hold.
    session = Session(disc.exe, "nope.mnu")
    try:
        session.dismiss_box("Ambrevo")
        session.dismiss_box("Ambrevo")
        expect(session.ended(10), "the program ends without a menu")
        expect(session.boxes() == [("Ambrevo", "Could not locate specified package:\r\rnope.mnu"),
                                   ("Ambrevo", "Menu could not be read.")],
               "missing menu messages: %r" % session.boxes())
    finally:
        session.stop()


def main():
    case, (player_exe, pack_exe, demo_folder) = case_and_arguments(
        globals(), ["PLAYER_EXE", "PACK_EXE", "DEMO_FOLDER"])
    with Disc(player_exe, pack_exe, demo_folder) as disc:
        case(player_exe, disc)


if __name__ == "__main__":
    main()

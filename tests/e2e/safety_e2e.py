"""End-to-end checks that the player is safe to run from any disc and any folder, run under
Wine on the test's X display: DLLs planted beside it are never loaded, a disc taken out
while the menu runs gives messages and the menu back, and odd folder and file names work.

Usage: safety_e2e.py CASE PLAYER_EXE PACK_EXE DEMO_FOLDER RESOURCES_FOLDER PLANTED_DLL
                     LOADER_EXE [DEFAULT_WINEPREFIX]
"""

import os
import re
import shutil
import subprocess
import time

from player_harness import _click_ok, _unescape, _xdotool, case_and_arguments, wine
from window_e2e import ITEM_POSITIONS, MAIN_TITLE, SECOND_TITLE, Disc, expect, is_marquee_of
from window_e2e import menu_window, windows_path
from window_session import Session, click, key, mouse_to, wait_until

PLANTED = ["version.dll", "winmm.dll"]
# A native DLL of these names is preferred to Wine's own, found by the normal search: a
# planted file is then really loaded unless the program keeps it out of the search. The
# player runs with this for winmm.dll only: Wine's own user32.dll imports version.dll, so
# Wine would load a planted one itself before the player starts (Windows' user32 does not).
PREFER_NATIVE = "version,winmm=n,b"
PREFER_NATIVE_FOR_PLAYER = "winmm=n,b"
TRACE = "+debugstr,trace+win,trace+winmm,trace+exec"

_LOADED = re.compile(r'trace:loaddll:\w+ Loaded L"(.*)" at \w+: (\w+)')
_SOUND_FILE = re.compile(r'trace:winmm:proc_PlaySound SoundName=L"(.*)" !')
_TEXT_START = re.compile(r'trace:win:set_window_text L"(.*)')
_EXECUTED = re.compile(r'trace:exec:SHELL_execute .* file=L"([^"]*)"')


def trace_lines(session):
    with open(session.trace_path, "rb") as trace:
        return trace.read().decode("latin-1").splitlines()


def unescaped_paths(pattern, lines):
    return [_unescape(m.group(1)) for m in map(pattern.search, lines) if m]


def open_main_menu(disc, session):
    background = disc.picture("main-background")
    window = menu_window(session, (background.width, background.height))
    return window, session.geometry(window)


def point_at(geometry, item):
    x, y = ITEM_POSITIONS[item]
    mouse_to(geometry[0] + x + 100, geometry[1] + y + 22)


def choose(geometry, item):
    point_at(geometry, item)
    time.sleep(0.3)
    click()


def dismiss_box_over(session, menu):
    """Clicks OK on the next message box of the player, waiting for it. The general error
    report is titled with the application title, which the menu's scrolling title changes,
    so the box is told by being the player's one other window."""
    box = wait_until(lambda: [w for w in session.windows(".*") if w != menu], 20,
                     "a message box")[0]
    _click_ok(box)
    wait_until(lambda: box not in session.windows(".*"), 20, "the message box to close")


def close_and_expect_clean_end(session, geometry):
    # A click on the heading's panel (background, no item) gives the window the keyboard
    # back from a message box that had it.
    mouse_to(geometry[0] + 480, geometry[1] + 30)
    click()
    time.sleep(0.3)
    key("alt+F4")
    expect(session.ended(20), "the player ends after Alt+F4")
    expect(session.process.returncode == 0, "exit code %r" % session.process.returncode)


def case_planted_system_dlls(disc, resources, planted_dll, loader_exe):
    for name in PLANTED:
        shutil.copyfile(planted_dll, os.path.join(disc.folder, name))
    with open(planted_dll, "rb") as f:
        planted_bytes = f.read()
    os.environ["WINEDLLOVERRIDES"] = PREFER_NATIVE_FOR_PLAYER

    session = Session(disc.exe, trace="+loaddll," + TRACE)
    try:
        _, geometry = open_main_menu(disc, session)
        point_at(geometry, "browse")  # the select sound: the sound library is in use
        wait_until(lambda: any("proc_PlaySound" in l for l in trace_lines(session)), 10,
                   "a sound to be played")
        close_and_expect_clean_end(session, geometry)
        loaded = {}  # every load of a DLL by its name: (path, native or builtin)
        for match in filter(None, map(_LOADED.search, trace_lines(session))):
            path = _unescape(match.group(1))
            loaded.setdefault(path.split("\\")[-1].lower(), []).append((path, match.group(2)))
    finally:
        session.stop()
    system_folders = ("c:\\windows\\system32\\", "c:\\windows\\syswow64\\")
    for name in PLANTED:
        # Wine names a DLL of its own after the path where the search found the name, so
        # a load reported beside the player is harmless when Wine's own code was loaded.
        expect(name in loaded and all(
            path.lower() in (folder + name for folder in system_folders) or
            (kind == "builtin" and name not in PREFER_NATIVE_FOR_PLAYER)
            for path, kind in loaded[name]),
            "%s comes from the system folder: %r" % (name, loaded.get(name)))
        expect(not os.path.exists(os.path.join(disc.folder, name + ".loaded")),
               "the planted %s was never loaded" % name)
        with open(os.path.join(disc.folder, name), "rb") as f:
            expect(f.read() == planted_bytes, "the planted %s is untouched" % name)

    # The control: a program that leaves the DLL search as it is loads the planted files,
    # so the checks above would have seen a player that did.
    loader = os.path.join(disc.folder, "loader.exe")
    shutil.copyfile(loader_exe, loader)
    subprocess.run(wine(loader, *PLANTED), cwd=disc.folder, timeout=60,
                   env=dict(os.environ, WINEDLLOVERRIDES=PREFER_NATIVE),
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for name in PLANTED:
        expect(os.path.exists(os.path.join(disc.folder, name + ".loaded")),
               "a bare-name load beside the program picks up the planted %s" % name)


def case_disc_taken_out(disc, resources, planted_dll, loader_exe):
    demo_disc = os.path.join(disc.source, "disc")
    for name in os.listdir(demo_disc):
        source = os.path.join(demo_disc, name)
        copy = shutil.copytree if os.path.isdir(source) else shutil.copyfile
        copy(source, os.path.join(disc.folder, name))
    session = Session(disc.exe, trace=TRACE)
    try:
        window, geometry = open_main_menu(disc, session)
        time.sleep(0.5)
        # The disc goes: the program file and everything beside it.
        os.rename(disc.exe, disc.exe + ".gone")
        os.remove(os.path.join(disc.folder, "readme.txt"))
        shutil.rmtree(os.path.join(disc.folder, "docs"))

        # A menu switch: the file-open error once, then the menu the user was on.
        choose(geometry, "more")
        dismiss_box_over(session, window)
        boxes = session.boxes()
        expect(len(boxes) == 1 and boxes[0][1].startswith(
            'Cannot open file "%s". ' % windows_path(disc.exe)), "the open error: %r" % boxes)
        wait_until(lambda: window in session.windows(".*"), 10, "the menu window back")
        expect(is_marquee_of(session.window_name(window), MAIN_TITLE), "the main menu is back")
        expect(not session.windows(re.escape(SECOND_TITLE)), "no second menu")

        # Hover works; a folder that is gone is reported as the item's launch says.
        point_at(geometry, "readme")
        time.sleep(0.5)
        choose(geometry, "browse")
        session.dismiss_box("Ambrevo")
        expect(session.boxes()[1:] == [("Ambrevo",
                                        "Ambrevo cannot find the specified file:\r\r%docs\\")],
               "the missing folder: %r" % session.boxes())
        time.sleep(0.5)
        expect(not session.windows("Ambrevo"), "no other message box")
        close_and_expect_clean_end(session, geometry)
    finally:
        session.stop()


def run_from(disc, resources, folder, program_name):
    """Plays the disc copied to folder as program_name: start-up, a sound file beside it,
    a launch of a document beside it, a menu switch and back, and the close."""
    os.makedirs(folder)
    exe = os.path.join(folder, program_name)
    shutil.copyfile(disc.exe, exe)
    shutil.copyfile(os.path.join(disc.source, "disc", "readme.txt"),
                    os.path.join(folder, "readme.txt"))
    shutil.copyfile(os.path.join(resources, "change.wav"), os.path.join(folder, "select.wav"))
    session = Session(exe, trace=TRACE)
    try:
        window, geometry = open_main_menu(disc, session)
        ansi_folder = windows_path(folder) + "\\"
        point_at(geometry, "browse")
        wait_until(lambda: ansi_folder + "select.wav" in
                   unescaped_paths(_SOUND_FILE, trace_lines(session)), 10,
                   "select.wav beside the program to be played")

        choose(geometry, "readme")
        wait_until(lambda: ansi_folder + "readme.txt" in
                   unescaped_paths(_EXECUTED, trace_lines(session)), 10,
                   "the read-me to be launched from the program's folder")
        viewer = wait_until(lambda: _xdotool("search", "--onlyvisible", "--name", "readme"), 20,
                            "the read-me opened in its viewer")[0]
        viewer_pid = int(_xdotool("getwindowpid", viewer)[0])
        os.kill(viewer_pid, 9)  # the viewer this test's launch started
        # Its window goes when the X server hears of the process's end; until then a click
        # where it lay would reach it rather than the menu.
        wait_until(lambda: not _xdotool("search", "--onlyvisible", "--name", "readme"), 20,
                   "the read-me's viewer to be gone")

        choose(geometry, "more")
        second = session.wait_for_window(re.escape(SECOND_TITLE))
        expect(second == window, "the same window shows the second menu")
        expect(not session.boxes(), "no message box: %r" % session.boxes())
        close_and_expect_clean_end(session, geometry)
    finally:
        session.stop()


def case_odd_folders(disc, resources, planted_dll, loader_exe):
    # Blanks and Windows-1252 letters, and a program file renamed in mixed case.
    run_from(disc, resources, os.path.join(disc.folder, "Démo Disc Straße", "CD 1"), "SeTuP.ExE")
    # A path of more than 200 characters, still within the ANSI calls' limit.
    long_folder = os.path.join(disc.folder, ("a long folder name " * 6).strip(),
                               ("and another " * 6).strip())
    expect(len(windows_path(long_folder)) > 200, "the folder path is long")
    run_from(disc, resources, long_folder, "setup.exe")


def case_path_too_long(disc, resources, planted_dll, loader_exe):
    folder = os.path.join(disc.folder, "x" * 120, "y" * 120)
    os.makedirs(folder)
    exe = os.path.join(folder, "setup.exe")
    shutil.copyfile(disc.exe, exe)
    session = Session(exe)
    try:
        session.dismiss_box("Ambrevo")
        expect(session.ended(10), "the player ends")
        expect(session.process.returncode == 1, "exit code %r" % session.process.returncode)
        # Wine's trace cuts texts this long short, so the message is matched by its start.
        with open(session.trace_path, "rb") as trace:
            texts = [_unescape(m.group(1)) for m in
                     map(_TEXT_START.search, trace.read().decode("latin-1").splitlines()) if m]
        path = windows_path(exe)
        expected = "The path of the program is too long (%d characters, at most 259): %s" % (
            len(path), path[:100])
        expect(any(text.startswith(expected) for text in texts),
               "the message: %r" % [t for t in texts if "path" in t])
    finally:
        session.stop()


def main():
    case, (player_exe, pack_exe, demo_folder, resources, planted_dll, loader_exe) = \
        case_and_arguments(globals(), ["PLAYER_EXE", "PACK_EXE", "DEMO_FOLDER",
                                       "RESOURCES_FOLDER", "PLANTED_DLL", "LOADER_EXE"])
    with Disc(player_exe, pack_exe, demo_folder) as disc:
        case(disc, resources, planted_dll, loader_exe)


if __name__ == "__main__":
    main()

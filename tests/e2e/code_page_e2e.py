"""The player on machines of other code pages: Wine takes its ANSI code page from the
locale (1252 for en_US, 1251 for ru_RU, 932 for ja_JP). The demo runs from a folder whose
name no code page but Unicode holds; a menu declared in code page 1251 shows the same
Cyrillic title and caption on a 1252 and on a 1251 machine; a target in a folder named with "é" (a
menu the tool declares as 1252) launches on a 932 machine, where that byte would start a
two-byte character.

Usage: code_page_e2e.py {folder,script,dbcs_target} PLAYER_EXE PACK_EXE DEMO_FOLDER
       RECORDER_EXE [DEFAULT_WINEPREFIX]
"""

import os
import shutil
import subprocess
import sys
import tempfile

from player_harness import case_and_arguments, linger_wine_server, wine
from safety_e2e import close_and_expect_clean_end, open_main_menu
from window_e2e import MAIN_TITLE, Disc, expect, is_marquee_of, windows_path
from window_session import Session, click, key, mouse_to, screenshot, wait_until

LOCALES = {1252: "en_US.UTF-8", 1251: "ru_RU.UTF-8", 932: "ja_JP.UTF-8"}
UNICODE_FOLDER = "Démo Disc Straße"  # ß and é together are in no code page of 1251 or 932

CYRILLIC_TITLE = "Меню диска"
CYRILLIC_CAPTION = "Выход"  # its access key is a Cyrillic letter


def on_locale(locale):
    """Makes the programs started from here run on a machine of this locale: its ANSI code
    page and its display language."""
    # A server started under another locale keeps its own: each machine gets a fresh one.
    subprocess.run(wine("--server", "-k"), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   timeout=30)
    os.environ["LANG"] = os.environ["LC_ALL"] = locale
    # LANGUAGE, where set, would name Wine's display language in place of the locale.
    os.environ.pop("LANGUAGE", None)
    linger_wine_server()


def on_machine(code_page):
    """Makes the programs started from here run on a machine of this ANSI code page."""
    on_locale(LOCALES[code_page])


def build(player_exe, pack_exe, source, exe):
    done = subprocess.run([*wine(pack_exe), "build", windows_path(os.path.join(source, "package.toml")),
                           "--player", windows_path(player_exe), "-o", windows_path(exe)],
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=120)
    expect(done.returncode == 0, "the disc builds: %s" % done.stdout.decode("utf-8", "replace"))


def write_menu(folder, menu_toml):
    """A one-menu source: a 240 x 120 background and the given menu file."""
    os.makedirs(folder, exist_ok=True)
    subprocess.run(["convert", "-size", "240x120", "xc:#203040",
                    os.path.join(folder, "background.png")], check=True, timeout=60)
    with open(os.path.join(folder, "package.toml"), "w", encoding="utf-8") as out:
        out.write('menus = ["main.toml"]\n')
    with open(os.path.join(folder, "main.toml"), "w", encoding="utf-8") as out:
        out.write('background = "background.png"\nplacement = "center"\n' + menu_toml)


def utf8_name(window):
    """The window's name as the X server has it from Wine, in UTF-8."""
    done = subprocess.run(["xdotool", "getwindowname", window], stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL, timeout=10)
    return done.stdout.decode("utf-8", "replace").rstrip("\n")


def menu_window(session):
    """The player's first visible window (its menu: these menus show no box)."""
    return session.wait_for(lambda: session.windows(".+"), 30, "the menu window")[0]


def close_menu(session, window):
    """Alt+F4 on the menu, after a click on its background gives it the keyboard."""
    left, top, width, height = session.geometry(window)
    mouse_to(left + width - 5, top + height - 5)
    click()
    key("alt+F4")
    expect(session.ended(20), "the player ends after Alt+F4")
    expect(session.process.returncode == 0, "exit code %r" % session.process.returncode)


def case_folder(player_exe, pack_exe, demo_folder, recorder_exe):
    with Disc(player_exe, pack_exe, demo_folder) as disc:
        folder = os.path.join(disc.folder, UNICODE_FOLDER)
        os.makedirs(folder)
        shutil.move(disc.exe, os.path.join(folder, "setup.exe"))
        disc.exe = os.path.join(folder, "setup.exe")
        for code_page in (1252, 1251, 932):
            on_machine(code_page)
            session = Session(disc.exe)
            try:
                window, geometry = open_main_menu(disc, session)
                expect(is_marquee_of(session.window_name(window), MAIN_TITLE),
                       "code page %d: the demo's main menu" % code_page)
                expect(not session.boxes(), "code page %d: no message box" % code_page)
                close_and_expect_clean_end(session, geometry)
            finally:
                session.stop()


def case_script(player_exe, pack_exe, demo_folder, recorder_exe):
    root = tempfile.mkdtemp(prefix="ambrevo-code-page-e2e-")
    source = os.path.join(root, "source")
    write_menu(source, f"""code_page = 1251
title = "{CYRILLIC_TITLE}"

[[item]]
kind = "text"
caption = "&{CYRILLIC_CAPTION}"
exit_after_launch = true
position = [20, 40]
size = [200, 24]
""")
    exe = os.path.join(root, "setup.exe")
    try:
        build(player_exe, pack_exe, source, exe)
        drawn = []
        for code_page in (1252, 1251):
            on_machine(code_page)
            session = Session(exe)
            try:
                window = menu_window(session)
                expect(utf8_name(window) == CYRILLIC_TITLE,
                       "code page %d: the title reads %r" % (code_page, utf8_name(window)))
                # The caption as drawn: the same pixels on both machines.
                left, top, width, height = session.geometry(window)
                drawn.append(screenshot().crop(left, top, width, height))
                close_menu(session, window)
            finally:
                session.stop()
        background = drawn[0].pixel(5, 5)
        caption = drawn[0].crop(20, 40, 200, 24)
        expect(any(caption.pixel(x, y) != background for x in range(200) for y in range(24)),
               "the caption is drawn")
        expect(drawn[1].difference(0, 0, drawn[0], step=1) == 0,
               "the caption looks the same on a 1252 and a 1251 machine")
    finally:
        shutil.rmtree(root, ignore_errors=True)


def case_dbcs_target(player_exe, pack_exe, demo_folder, recorder_exe):
    root = tempfile.mkdtemp(prefix="ambrevo-code-page-e2e-")
    source = os.path.join(root, "source")
    write_menu(source, """title = "Café"

[[item]]
kind = "text"
caption = "Run"
target = '%Café\\recorder.exe'
parameters = "crème"
position = [20, 40]
size = [200, 24]
""")
    exe = os.path.join(root, "setup.exe")
    os.makedirs(os.path.join(root, "Café"))
    shutil.copyfile(recorder_exe, os.path.join(root, "Café", "recorder.exe"))
    launches = os.path.join(root, "Café", "launches.txt")
    try:
        build(player_exe, pack_exe, source, exe)
        on_machine(932)
        session = Session(exe)
        try:
            window = menu_window(session)
            left, top = session.geometry(window)[:2]
            mouse_to(left + 60, top + 50)
            click()
            wait_until(lambda: os.path.exists(launches), 20, "the recorder in Café\\ ran")
            with open(launches, encoding="utf-8", errors="replace") as f:
                line = f.read().splitlines()[0]
            expect(line == windows_path(os.path.join(root, "Café")) + "|crème",
                   "the recorder ran in its folder with its parameter: %r" % line)
            expect(not session.boxes(), "no message box: %r" % session.boxes())
        finally:
            session.stop()
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    case, (player_exe, pack_exe, demo_folder, recorder_exe) = case_and_arguments(
        globals(), ["PLAYER_EXE", "PACK_EXE", "DEMO_FOLDER", "RECORDER_EXE"])
    case(player_exe, pack_exe, demo_folder, recorder_exe)
    sys.exit(0)

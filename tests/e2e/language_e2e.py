"""The first menu by the user's display language: Wine takes the display language from the
locale (LANG, LC_ALL), so a disc with English, German and French first menus opens in
German under de_DE and in English, the fallback, under ja_JP (a language it has no menu
for). A menu named on the command line still wins.

Usage: language_e2e.py languages PLAYER_EXE PACK_EXE [DEFAULT_WINEPREFIX]
"""

import os
import shutil
import subprocess
import sys
import tempfile

from code_page_e2e import build, close_menu, menu_window, on_locale, utf8_name
from player_harness import case_and_arguments, wine
from window_e2e import expect
from window_session import Session

TITLES = {"main.toml": "English", "main-de.toml": "Deutsch", "main-fr.toml": "Français"}


def write_source(folder):
    """Three small menus, each titled in its language, and the package naming two of them
    per language."""
    os.makedirs(folder)
    subprocess.run(["convert", "-size", "200x100", "xc:#304050",
                    os.path.join(folder, "background.png")], check=True, timeout=60)
    for file, title in TITLES.items():
        with open(os.path.join(folder, file), "w", encoding="utf-8") as out:
            out.write(f'title = "{title}"\nbackground = "background.png"\nplacement = "center"\n')
    with open(os.path.join(folder, "package.toml"), "w", encoding="utf-8") as out:
        out.write('menus = ["main.toml", "main-de.toml", "main-fr.toml"]\n'
                  '[languages]\nde = "main-de.toml"\nfr = "main-fr.toml"\n')


def shown_title(exe, *arguments):
    """The title of the menu the disc opens with, closed again."""
    session = Session(exe, *arguments)
    try:
        window = menu_window(session)
        title = utf8_name(window)
        close_menu(session, window)
        return title
    finally:
        session.stop()


def case_languages(player_exe, pack_exe):
    root = tempfile.mkdtemp(prefix="ambrevo-language-e2e-")
    source = os.path.join(root, "source")
    exe = os.path.join(root, "setup.exe")
    try:
        write_source(source)
        build(player_exe, pack_exe, source, exe)
        for locale, title in (("de_DE.UTF-8", "Deutsch"), ("ja_JP.UTF-8", "English")):
            on_locale(locale)
            shown = shown_title(exe)
            expect(shown == title, "under %s the disc opens on %r, not %r" % (locale, title, shown))
        on_locale("de_DE.UTF-8")
        shown = shown_title(exe, "main-fr.mnu")
        expect(shown == "Français", "the menu named on the command line wins: %r" % shown)
    finally:
        # The tests after this one start a server of their own locale.
        subprocess.run(wine("--server", "-k"), stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=30)
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    case, (player_exe, pack_exe) = case_and_arguments(globals(), ["PLAYER_EXE", "PACK_EXE"])
    case(player_exe, pack_exe)
    sys.exit(0)

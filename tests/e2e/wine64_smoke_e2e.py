"""A short run of the 64-bit player under the 64-bit Wine, for hosts whose Wine tests run
the 32-bit build: the demo disc built with the 64-bit player shows its menu window,
switches to its second menu and back, and opens its read-me through the shell.

Usage: wine64_smoke_e2e.py smoke PLAYER_EXE PACK_EXE DEMO_FOLDER [DEFAULT_WINEPREFIX]
(with WINDOWS_ARCH=win64, so that every program starts with the 64-bit loader)
"""

import os
import re
import shutil

from player_harness import _xdotool, case_and_arguments
from safety_e2e import TRACE, _EXECUTED, choose, close_and_expect_clean_end, open_main_menu
from safety_e2e import trace_lines, unescaped_paths
from window_e2e import MAIN_TITLE, SECOND_TITLE, Disc, expect, is_marquee_of, windows_path
from window_session import Session, click, mouse_to, wait_until

BACK_ITEM = (28 + 100, 110 + 22)  # the middle of the second menu's "Back" picture


def case_smoke(player_exe, disc, demo_folder):
    with open(player_exe, "rb") as f:
        f.seek(0x3C)
        header = int.from_bytes(f.read(4), "little")
        f.seek(header + 4)
        machine = int.from_bytes(f.read(2), "little")
    expect(machine == 0x8664, "the player is a 64-bit program (machine 0x%x)" % machine)
    expect(os.environ.get("WINDOWS_ARCH") == "win64", "run with WINDOWS_ARCH=win64")
    shutil.copytree(os.path.join(demo_folder, "disc"), disc.folder, dirs_exist_ok=True)

    session = Session(disc.exe, trace=TRACE)
    viewers = []
    try:
        window, geometry = open_main_menu(disc, session)
        expect(is_marquee_of(session.window_name(window), MAIN_TITLE), "the main menu first")

        # The "More..." item switches to the second menu in the same window, "Back" returns.
        choose(geometry, "more")
        second = session.wait_for_window(re.escape(SECOND_TITLE))
        expect(second == window, "the same window shows the second menu")
        second_size = disc.picture("second-background")
        expect(session.geometry(second)[2:] == (second_size.width, second_size.height),
               "the second menu's size: %r" % (session.geometry(second),))
        left, top = session.geometry(second)[:2]
        mouse_to(left + BACK_ITEM[0], top + BACK_ITEM[1])
        click()
        window, geometry = open_main_menu(disc, session)

        # The read-me item asks the shell to open the document beside the program.
        choose(geometry, "readme")
        readme = windows_path(os.path.join(disc.folder, "readme.txt"))
        wait_until(lambda: readme in unescaped_paths(_EXECUTED, trace_lines(session)), 20,
                   "the shell asked to open " + readme)
        viewers = wait_until(lambda: _xdotool("search", "--onlyvisible", "--name", "readme"),
                             20, "the read-me opened in its viewer")
        close_viewers(viewers)
        expect(not session.boxes(), "no message box: %r" % session.boxes())
        close_and_expect_clean_end(session, geometry)
    finally:
        session.stop()
        close_viewers(viewers)


def close_viewers(viewers):
    """Ends the viewers that this test's launch started, and waits for their windows."""
    for viewer in viewers:
        for pid in _xdotool("getwindowpid", viewer):
            try:
                os.kill(int(pid), 9)
            except ProcessLookupError:
                pass
    wait_until(lambda: not set(viewers) & set(_xdotool("search", "--onlyvisible", "--name",
                                                       "readme")), 10, "the viewer to close")


def main():
    case, (player_exe, pack_exe, demo_folder) = case_and_arguments(
        globals(), ["PLAYER_EXE", "PACK_EXE", "DEMO_FOLDER"])
    with Disc(player_exe, pack_exe, demo_folder) as disc:
        case(player_exe, disc, demo_folder)


if __name__ == "__main__":
    main()

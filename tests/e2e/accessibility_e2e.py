"""A screen reader's view of the demo disc under Wine, from a second process.

The MSAA client lists the menu window's items (name, role, state, shortcut, default
action) and presses one; Wine's exec trace shows that the press launched the item once,
and a second listing after Tab shows the focused state on the item Tab reached.

Usage: accessibility_e2e.py CASE PLAYER_EXE PACK_EXE DEMO_FOLDER CLIENT_EXE
"""

import os
import subprocess
import time

from player_harness import _xdotool, case_and_arguments, wine
from window_e2e import Disc, expect, menu_window
from window_session import Session, key

FORM_CLASS = "AmbrevoForm"
ROLE_PUSHBUTTON = 43
STATE_FOCUSED, STATE_FOCUSABLE = 0x4, 0x100000
LAUNCH = "trace:exec:SHELL_execute mask="


def children(client_exe, *press):
    run = subprocess.run(wine(client_exe, FORM_CLASS, *press), capture_output=True, timeout=30,
                         env=dict(os.environ, WINEDEBUG="-all"))
    lines = run.stdout.decode("utf-8", "replace").splitlines()
    expect(run.returncode == 0, "the client got the window's object: %r" % lines)
    items = [line.split("|") for line in lines if "|" in line]
    return items, [line for line in lines if line.startswith("press ")]


def close_viewers():
    """Ends the read-me viewers the press opened: left on the screen, they would take the
    clicks of the tests after this one."""
    for window in _xdotool("search", "--onlyvisible", "--name", "readme"):
        for pid in _xdotool("getwindowpid", window):
            os.kill(int(pid), 9)
    deadline = time.monotonic() + 20
    while _xdotool("search", "--onlyvisible", "--name", "readme") and time.monotonic() < deadline:
        time.sleep(0.1)


def launches(session):
    with open(session.trace_path, "rb") as trace:
        return trace.read().decode("latin-1").count(LAUNCH)


def case_list_and_press(player_exe, disc, client_exe):
    session = Session(disc.exe, trace="+debugstr,trace+win,trace+exec")
    try:
        menu_window(session, (disc.picture("main-background").width,
                              disc.picture("main-background").height))
        items, _ = children(client_exe)
        names = [item[1] for item in items]
        # Picture items by their names, or without one by their descriptions.
        expect(names == ["Read me", "Opens the disc's docs folder.", "More menus",
                         "Web site", "Say hello", "Exit"], "the items in tab order: %r" % names)
        expect(all(int(item[2]) == ROLE_PUSHBUTTON for item in items), "push buttons")
        expect(all(int(item[3], 16) & STATE_FOCUSABLE for item in items), "focusable")
        expect(items[3][4] == "Alt+W" and items[0][4] == "1", "shortcuts: %r" % items)
        expect(all(item[5] == "Press" for item in items), "default actions")

        key("Tab")
        time.sleep(0.5)
        items, _ = children(client_exe)
        focused = [item[0] for item in items if int(item[3], 16) & STATE_FOCUSED]
        expect(len(focused) == 1, "one item is focused after Tab: %r" % items)

        before = launches(session)
        _, pressed = children(client_exe, "1")
        expect(pressed == ["press 00000000"], "the press is accepted: %r" % pressed)
        session.wait_for(lambda: launches(session) > before, 10, "the read-me launched")
        time.sleep(1.0)
        expect(launches(session) == before + 1, "one press launches once")
    finally:
        session.stop()
        close_viewers()


def main():
    case, (player_exe, pack_exe, demo_folder, client_exe) = case_and_arguments(
        globals(), ["PLAYER_EXE", "PACK_EXE", "DEMO_FOLDER", "CLIENT_EXE"])
    with Disc(player_exe, pack_exe, demo_folder) as disc:
        case(player_exe, disc, client_exe)


if __name__ == "__main__":
    main()

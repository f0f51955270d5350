"""Checks of the end-to-end harness itself, under Wine on the test's X display: a test that
waits for a menu window fails at once, saying so, when the player ends without one, and
says what the player showed instead when the time runs out.

Usage: harness_e2e.py CASE PLAYER_EXE [DEFAULT_WINEPREFIX]
"""

import time

from player_harness import Player, case_and_arguments
from window_e2e import expect, menu_window
from window_session import Session

MENU_SIZE = (520, 360)


def failure_of(kind, wait, *parts):
    """Runs the wait, which must fail with kind naming every part; returns its seconds."""
    started = time.monotonic()
    try:
        wait()
    except kind as failure:
        missing = [part for part in parts if part not in str(failure)]
        expect(not missing, "the failure names %r: %s" % (missing, failure))
        return time.monotonic() - started
    raise AssertionError("the wait for a menu window did not fail with " + kind.__name__)


def case_player_ended(exe):
    # A file that is not a program: Wine refuses it and the process ends at once. A harness
    # that did not notice would wait the whole minute.
    with open(exe, "rb") as f:
        head = f.read(4096)
    for contents, what in [(head, "a cut-off program"), (b"MZ" + bytes(62), "a bare MZ header")]:
        player = Player(exe, contents=contents)
        session = Session(player.path)
        try:
            took = failure_of(AssertionError, lambda: menu_window(session, MENU_SIZE, seconds=60),
                              "the player ended (exit code", "the menu window of 520 x 360")
            expect(took < 30, "%s: the end was noticed after %.1f s" % (what, took))
        finally:
            session.stop()
            player.remove()


def case_box_instead_of_menu(exe):
    # The player without a package shows its message box and waits for OK: no menu comes.
    player = Player(exe)
    session = Session(player.path)
    try:
        took = failure_of(TimeoutError, lambda: menu_window(session, MENU_SIZE, seconds=8),
                          "gave up waiting 8 s for the menu window", "Invalid menu address.",
                          "'Ambrevo'")
        expect(took < 20, "the wait ended after its time: %.1f s" % took)
    finally:
        session.stop()
        player.remove()


def main():
    case, (exe,) = case_and_arguments(globals(), ["PLAYER_EXE"])
    case(exe)


if __name__ == "__main__":
    main()

"""End-to-end checks of the player's start-up, run under Wine on the test's X display.

Usage: startup_e2e.py CASE PLAYER_EXE [DEFAULT_WINEPREFIX]
"""

import os
import struct

import player_harness
from player_harness import Player, package_bytes

CAPTION = "Ambrevo"
END_OF_RUN = (CAPTION, "Error in loading internal menu.")
MENUS = [("  Main.MNU", b"menu one"), ("second.mnu", b"menu two")]
MENU_VERSION_MESSAGE = (
    "This is not an Ambrevo Version 6 or above file. If you have created the menu in a "
    "previous version of Ambrevo, you can use the Menu Conversion Wizard available from "
    "Quorel Software's site to convert the file to Version 6 format.")


def read_player(exe):
    with open(exe, "rb") as f:
        return f.read()


def expect(condition, message, result):
    if not condition:
        raise AssertionError("%s\n  exit code: %s\n  boxes: %r\n  debug: %r" % (
            message, result.returncode, result.boxes, result.debug_lines))


def expect_failed_start(result, boxes):
    expect(result.boxes == boxes, "expected the boxes %r" % (boxes,), result)
    expect(result.clicks == len(boxes), "each box must wait for its OK click", result)
    expect(result.returncode == 1, "expected exit code 1", result)


def run_once(exe, arguments=(), name="ambrevo.exe", contents=None, files=()):
    player = Player(exe, name, contents)
    try:
        for file_name, data in files:
            player.add_file(file_name, data)
        return player.run(*arguments)
    finally:
        player.remove()


def case_bare_player(exe):
    expect_failed_start(run_once(exe), [(CAPTION, "Invalid menu address."), END_OF_RUN])


def case_trailer_pointing_at_garbage(exe):
    program = read_player(exe)
    contents = program + b"garbage" + struct.pack("<i", len(program) + 1)
    expect_failed_start(run_once(exe, contents=contents),
                        [(CAPTION, "Could not retrieve packed files"), END_OF_RUN])


def case_wrong_tag_in_header(exe):
    contents = package_bytes(read_player(exe), MENUS, header_byte_tag=2)
    expect_failed_start(run_once(exe, contents=contents), [END_OF_RUN])


def case_bad_err_txt(exe):
    contents = package_bytes(read_player(exe), MENUS)
    result = run_once(exe, contents=contents, files=[("err.txt", b"0\r\nmaybe\r\n1\r\n")])
    expect_failed_start(result, [(CAPTION, "'maybe' is not a valid boolean value.")])


def case_icon_beside_the_program(exe):
    contents = package_bytes(read_player(exe), MENUS)
    icon_path = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                             "..", "..", "resources", "ambrevo.ico")
    with open(icon_path, "rb") as f:
        icon = f.read()
    # The entries are not menus, so the run ends after the menu's messages; a good icon
    # adds no message of its own.
    result = run_once(exe, name="Setup.EXE", contents=contents, files=[("Setup.ico", icon)])
    expect([text for _, text in result.boxes] == [MENU_VERSION_MESSAGE, "Menu could not be read."],
           "a good icon is taken quietly", result)

    result = run_once(exe, name="Setup.EXE", contents=contents,
                      files=[("Setup.ico", b"not an icon")])
    report = 'Cannot load icon file "%sSetup.ico". It is not an icon.' % result.program_folder
    expect_failed_start(result, [(CAPTION, report)])


def main():
    case, (exe,) = player_harness.case_and_arguments(globals(), ["PLAYER_EXE"])
    case(exe)


if __name__ == "__main__":
    main()

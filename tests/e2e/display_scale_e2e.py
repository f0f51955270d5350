"""The demo's menu window on a screen scaled to 150 % and 200 %, under Wine.

Wine takes the screen's DPI from HKCU\\Control Panel\\Desktop\\LogPixels; each case sets it
in a copy of the test prefix of its own, so the other tests keep their 96 DPI. The window
must be 1.5 or 2 times the menu's size, the pointer must hover and click the item drawn
under it, and the texts must be drawn at the scaled size: their edges sharper than the
96-DPI window's texts enlarged by the same factor.

Usage: display_scale_e2e.py CASE PLAYER_EXE PACK_EXE DEMO_FOLDER [DEFAULT_WINEPREFIX]
"""


from player_harness import case_and_arguments
from scaled_prefix import ScaledPrefix
from window_e2e import ITEM_POSITIONS, SECOND_TITLE, Disc, best_match, expect, menu_window
from window_session import (Session, click, edge_sharpness, mouse_to, resized, screenshot,
                            wait_until)

MENU_SIZE = (520, 360)
ITEM_SIZE = (200, 44)
# The description label: "Point at an item to see what it does." in white on the dark
# background, the same at every scale until an item is hovered.
DESCRIPTION = (326, 134, 160, 40)
# The scaled window's texts must beat the enlarged 96-DPI ones by this factor of edge
# sharpness; measured here they beat them by 1.5 to 2.
SHARPER = 1.2
TEXT_BRIGHTNESS = 200  # the description's colour is #e6f4ff


def to_device(menu, dpi):
    """The player's rule: a menu coordinate's nearest device pixel, halves up."""
    return (menu * dpi + 48) // 96


def has_text(image):
    """True when the light text is drawn on the dark background."""
    return any(min(image.pixel(x, y)) > TEXT_BRIGHTNESS
               for y in range(image.height) for x in range(image.width))


def painted_text(left, top, width, height):
    """The screen's pixels there once they hold the text and two screenshots in a row
    agree on them: the window painted."""
    previous = []

    def painted():
        area = screenshot().crop(left, top, width, height)
        done = has_text(area) and previous and previous[-1].rgb == area.rgb
        previous.append(area)
        return area if done else None
    return wait_until(painted, 10, "the text painted at %d,%d" % (left, top))


def description_at_96_dpi(disc):
    """The description label's pixels in the 96-DPI window."""
    session = Session(disc.exe)
    try:
        window = menu_window(session, MENU_SIZE)
        left, top = session.geometry(window)[:2]
        x, y, width, height = DESCRIPTION
        # The pointer away from the items, so the description shows its resting text.
        mouse_to(0, 0)
        return painted_text(left + x, top + y, width, height)
    finally:
        session.stop()


def check_scaled_window(disc, dpi):
    reference = description_at_96_dpi(disc)
    with ScaledPrefix(dpi).in_use():
        session = Session(disc.exe)
        try:
            size = tuple(to_device(n, dpi) for n in MENU_SIZE)
            window = menu_window(session, size)
            left, top = session.geometry(window)[:2]

            def on_screen(x, y):
                return left + to_device(x, dpi), top + to_device(y, dpi)

            # Texts drawn at the scaled size are sharper than the 96-DPI ones enlarged.
            mouse_to(0, 0)
            x, y, width, height = DESCRIPTION
            device = [to_device(x, dpi), to_device(y, dpi)]
            device += [to_device(x + width, dpi) - device[0],
                       to_device(y + height, dpi) - device[1]]
            screen_x, screen_y = on_screen(x, y)
            shown = painted_text(screen_x, screen_y, device[2], device[3])
            native = edge_sharpness(shown)
            enlarged = edge_sharpness(resized(reference, device[2], device[3]))
            expect(native > SHARPER * enlarged,
                   "the description is drawn sharp at %d DPI: %.1f against %.1f enlarged"
                   % (dpi, native, enlarged))

            # The pointer hovers the item drawn under it, just inside its corners.
            frames = {name: resized(disc.picture(name), *[to_device(n, dpi) for n in ITEM_SIZE])
                      for name in ("browse-normal", "browse-highlight")}
            bx, by = ITEM_POSITIONS["browse"]
            for corner in [(bx, by), (bx + ITEM_SIZE[0] - 1, by + ITEM_SIZE[1] - 1)]:
                mouse_to(*on_screen(*corner))
                wait_until(lambda: best_match(screenshot(), *on_screen(bx, by), frames)[0]
                           == "browse-highlight", 5,
                           "the browse item highlighted with the pointer at %r" % (corner,))
            mouse_to(*on_screen(bx - 10, by + 20))
            wait_until(lambda: best_match(screenshot(), *on_screen(bx, by), frames)[0]
                       == "browse-normal", 5, "the browse item at rest, the pointer left of it")

            # A click on the More item opens the second menu.
            mx, my = ITEM_POSITIONS["more"]
            mouse_to(*on_screen(mx + ITEM_SIZE[0] // 2, my + ITEM_SIZE[1] // 2))
            click(1)
            session.wait_for_window(SECOND_TITLE)
            expect(not session.boxes(), "no message box: %r" % session.boxes())
        finally:
            session.stop()


def case_at_150_percent(player_exe, disc):
    check_scaled_window(disc, 144)


def case_at_200_percent(player_exe, disc):
    check_scaled_window(disc, 192)


def main():
    case, (player_exe, pack_exe, demo_folder) = case_and_arguments(
        globals(), ["PLAYER_EXE", "PACK_EXE", "DEMO_FOLDER"])
    with Disc(player_exe, pack_exe, demo_folder) as disc:
        case(player_exe, disc)


if __name__ == "__main__":
    main()

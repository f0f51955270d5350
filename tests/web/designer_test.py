#!/usr/bin/python3
"""The designer in headless Chromium: `ambrevo-pack edit` on a copy of the demo, used as an
author uses it, with what each action leaves in the author's TOML.

Usage: designer_test.py --site build/web/site --pack build/native/ambrevo-pack
       --demo examples/demo
"""
import json
import os
import shutil
import tempfile
import time
import unittest
import urllib.error
import urllib.request

from browser_session import (chromium, console_errors, module_answers, run_page_tests,
                             start_tool, stop_tool)
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

ARGS = None
BROWSE_ITEM = (60, 200)       # item 2, a picture item at [36, 184], 200 x 44
WEB_SITE_BUTTON = (300, 265)  # item 4, the push button "&Web site" at [268, 252]
MESSAGE_TEXT = (400, 266)     # item 5, a text item at [380, 258], 104 x 20
MORE_ITEM = (60, 250)         # item 3, the picture item that opens the second menu
README_ITEM = (60, 145)       # item 1, which launches readme.txt
BACK_ITEM = (40, 120)         # the second menu's item 1, at [28, 110]
GEOMETRY = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "web",
                        "designer", "geometry.js")

# A menu of the tool's model for the geometry: a 200 x 100 window; item 2, a push button,
# lies above item 4, a picture later in the file that overlaps it.
GEOMETRY_MENU = {
    "size": [200, 100],
    "stacking": [1, 3, 4, 2],
    "items": [
        {"index": 1, "kind": "picture", "position": [10, 10], "size": [50, 20]},
        {"index": 2, "kind": "button", "position": [100, 10], "size": [40, 20]},
        {"index": 3, "kind": "text", "position": [10, 33], "size": [30, 10]},
        {"index": 4, "kind": "picture", "position": [110, 15], "size": [20, 20]},
    ],
}


def moves(*positions):
    return [{"item": n, "set": {"position": position}} for n, position in positions]


class DesignerSession(unittest.TestCase):
    """`ambrevo-pack edit` on a copy of the demo and Chromium on its page, with the
    helpers that act as the author and read what the designer left; each test starts on
    the demo's sources as they are."""

    SCALE = None       # the screen's device pixels per CSS pixel; None: Chromium's own
    ZOOM_RADIO = "#editor .editor-zoom input[value='%s']"

    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="ambrevo-designer-")
        cls.source = os.path.join(cls.folder, "demo")
        shutil.copytree(ARGS.demo, cls.source)
        cls.menu = os.path.join(cls.source, "main.toml")
        with open(cls.menu, "rb") as file:
            cls.original = file.read()
        cls.second = os.path.join(cls.source, "second.toml")
        with open(cls.second, "rb") as file:
            cls.second_original = file.read()
        cls.process, cls.url = start_tool(
            ARGS.pack, "edit", os.path.join(cls.source, "package.toml"), "--site", ARGS.site)
        cls.base = cls.url.split("?")[0]
        cls.driver = chromium(os.path.join(cls.folder, "profile"), scale=cls.SCALE)

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        stop_tool(cls.process)
        shutil.rmtree(cls.folder, ignore_errors=True)

    def read(self, path):
        """The JSON of one of the designer's reads, which need the token."""
        request = urllib.request.Request(self.base + path,
                                         headers={"X-Ambrevo-Token": self.url.split("token=")[1]})
        with urllib.request.urlopen(request) as response:
            return json.load(response)

    def generation(self):
        return self.read("status.json")["generation"]

    def setUp(self):
        # The sources as the demo has them, and the page on the menu built from them (a
        # page opened before the rebuild would reload under the test).
        if self.text() != self.original:
            self.write(self.original)
        if self.text(self.second) != self.second_original:
            self.write(self.second_original, self.second)
        # The tool looks for changed sources every 200 ms: settled when a second passes
        # without a build.
        built = self.generation()
        while True:
            time.sleep(1)
            if self.generation() == built:
                break
            built = self.generation()
        self.driver.get(self.base + "files.json")
        self.driver.execute_script("sessionStorage.clear()")
        self.driver.get(self.url)
        self.wait_for_items(6)

    def write(self, data, path=None):
        with open(path or self.menu, "wb") as file:
            file.write(data)

    def text(self, path=None):
        with open(path or self.menu, "rb") as file:
            return file.read()

    def wait_for(self, condition, what, seconds=10):
        def holds(_):
            try:
                return condition()
            except Exception:  # the page is reloading: no canvas or layer yet
                return False
        try:
            WebDriverWait(self.driver, seconds, poll_frequency=0.05).until(holds)
        except Exception:
            self.fail(what + " did not happen")

    def wait_for_items(self, count):
        self.wait_for(lambda: self.driver.execute_script(
            "return document.querySelectorAll('.editor-layer .editor-item').length") == count,
            "a layer with %d items" % count)

    def wait_for_file(self, expected):
        try:
            WebDriverWait(self.driver, 10, poll_frequency=0.05).until(
                lambda d: self.text() == expected)
        except Exception:  # the diff tells what the page wrote instead
            import difflib
            self.fail("the file's change did not happen:\n" + "".join(difflib.unified_diff(
                expected.decode().splitlines(True), self.text().decode().splitlines(True))))

    def layer(self):
        return self.driver.find_element("css selector", ".editor-layer")

    def at(self, point):
        """An action chain with the pointer on a pixel of the menu's client area (in menu
        pixels) at the designer's zoom, also in "Try it", the desktop scrolled as far as it
        goes towards having that pixel in its middle, as an author scrolls to a menu shown
        larger."""
        x, y = self.driver.execute_script(
            "const [x, y] = arguments[0], zoom = window.ambrevo.designer.state.zoom;"
            "const desktop = document.getElementById('desktop');"
            "const canvas = document.querySelector('.form:not([hidden]) canvas');"
            "const view = desktop.getBoundingClientRect();"
            "let box = canvas.getBoundingClientRect();"
            "desktop.scrollLeft += box.left + (x + 0.5) * zoom - view.left - view.width / 2;"
            "desktop.scrollTop += box.top + (y + 0.5) * zoom - view.top - view.height / 2;"
            "box = canvas.getBoundingClientRect();"
            "return [Math.floor(box.left + (x + 0.5) * zoom),"
            "        Math.floor(box.top + (y + 0.5) * zoom)]", list(point))
        chain = ActionChains(self.driver)
        chain.w3c_actions.pointer_action.move_to_location(x, y)
        return chain

    def press(self, label):
        """Clicks the panel's button, once it is there (after an edit the page may be
        reloading on the new build); "Undo" is any "Undo: …" that names its step."""
        self.wait_for(lambda: self.driver.execute_script(
            "const b = [...document.querySelectorAll('#editor button')].find(b => !b.disabled"
            " && (b.textContent === arguments[0] || b.textContent.startsWith(arguments[0] + ':')));"
            " if (b) b.click(); return !!b", label),
            "the button " + label)

    def pixels(self, x, y, width, height):
        return self.driver.execute_script(
            "const c = [...document.querySelectorAll('.form:not([hidden]) canvas')][0];"
            "return Array.from(c.getContext('2d').getImageData(arguments[0], arguments[1],"
            " arguments[2], arguments[3]).data)", x, y, width, height)

    def replaced(self, old, new):
        self.assertEqual(self.original.count(old), 1)
        return self.original.replace(old, new)

    def field(self, key):
        return self.driver.execute_script(
            "return document.querySelector('#editor .editor-field[data-key=\"' + arguments[0] +"
            " '\"]')", key)

    def try_it(self, on):
        self.driver.execute_script(
            "const box = [...document.querySelectorAll('#editor input[type=checkbox]')]"
            ".find(b => b.parentNode.textContent.includes('Try it'));"
            "if (box.checked !== arguments[0]) box.click()", on)

    def designer(self, expression):
        return self.driver.execute_script("return window.ambrevo.designer." + expression)

    def choose_zoom(self, zoom):
        self.driver.find_element("css selector", self.ZOOM_RADIO % zoom).click()
        self.wait_for(lambda: self.layer().size["width"] == 520 * zoom, "the menu at %g" % zoom)


class BuildButtonPlacement:
    """The "Build disc…" button at every zoom of the designer: whatever the menu's area
    scrolls, the button covers neither it (nor so its scroll bars) nor the panel."""

    # The zoom, and whether the menu's area then scrolls across and down.
    CASES = [(1, False, False), (1.5, True, True), (2, True, True)]
    # Whether the area scrolls across and down, whether the page itself scrolls, whether
    # the button is inside the window, and whether it lies apart from the area and from the
    # panel.
    PLACEMENT = (
        "const apart = (a, b) => a.right <= b.left || b.right <= a.left ||"
        "    a.bottom <= b.top || b.bottom <= a.top;"
        "const area = document.getElementById('desktop'), page = document.documentElement;"
        "const button = document.getElementById('build-disc').getBoundingClientRect();"
        "return [area.scrollWidth > area.clientWidth, area.scrollHeight > area.clientHeight,"
        "    page.scrollWidth > page.clientWidth || page.scrollHeight > page.clientHeight,"
        "    button.left >= 0 && button.top >= 0 && button.right <= innerWidth &&"
        "    button.bottom <= innerHeight && button.width > 0,"
        "    apart(button, area.getBoundingClientRect()),"
        "    apart(button, document.getElementById('editor').getBoundingClientRect())]")

    def test_the_build_button_lies_apart_from_the_menu_area_and_the_panel(self):
        for zoom, across, down in self.CASES:
            with self.subTest(zoom=zoom):
                self.choose_zoom(zoom)
                self.assertEqual(self.driver.execute_script(self.PLACEMENT),
                                 [across, down, False, True, True, True])


class DesignerTest(DesignerSession):

    def test_drag_moves_only_the_item_and_undo_restores_the_file(self):
        # The middle of the picture, which no transparency lets the background through.
        looks = self.pixels(56, 194, 160, 24)
        page_start = self.driver.execute_script("return performance.timeOrigin")
        self.at(BROWSE_ITEM).click().perform()
        self.assertEqual(self.driver.execute_script(
            "return window.ambrevo.designer.state.selected"), [2])
        self.at(BROWSE_ITEM).click_and_hold().move_by_offset(4, 0).move_by_offset(6, 0) \
            .release().perform()
        moved = self.replaced(b"position = [36, 184]", b"position = [46, 184]")
        self.wait_for_file(moved)
        # The running player shows the rebuilt menu with the item where it was dropped, and
        # the designer follows, without the page reloading.
        self.wait_for(lambda: self.pixels(66, 194, 160, 24) == looks, "the item at its new place")
        self.wait_for(lambda: self.driver.execute_script(
            "return window.ambrevo.designer.item(2).position") == [46, 184],
            "the designer on the rebuilt menu")
        self.assertEqual(self.driver.execute_script("return performance.timeOrigin"), page_start)
        self.press("Undo: move item 2")
        self.wait_for_file(self.original)

    def test_geometry_of_clicks_drags_keys_align_and_space(self):
        m = GEOMETRY_MENU
        cases = [
            ("a push button lies above a later picture", "itemAt", [m, 115, 20], 2),
            ("a point on one item", "itemAt", [m, 12, 12], 1),
            ("a point on none", "itemAt", [m, 5, 5], 0),
            # Item 3's left edge comes 3 pixels from item 1's right edge; its top, 3 from
            # item 1's bottom, stays, since the pointer moved only across.
            ("an edge snaps onto an edge", "dragged", [m, [3], 47, 0, False],
             {"each": moves((3, [60, 33])), "guides": [{"axis": "x", "line": 60}]}),
            ("the nearest wins: a centre onto the window's", "dragged", [m, [3], 73, 0, False],
             {"each": moves((3, [85, 33])), "guides": [{"axis": "x", "line": 100}]}),
            ("both axes snap, each to its nearest", "dragged", [m, [3], 47, 1, False],
             {"each": moves((3, [60, 35])),
              "guides": [{"axis": "x", "line": 60}, {"axis": "y", "line": 35}]}),
            ("Alt drags without snapping", "dragged", [m, [3], 47, 1, True],
             {"each": moves((3, [57, 34])), "guides": []}),
            ("the selection moves with the first selected, snapping to the others only",
             "dragged", [m, [3, 1], 88, 0, False],
             {"each": moves((3, [100, 33]), (1, [100, 10])),
              "guides": [{"axis": "x", "line": 100}]}),
            ("left edges on the first selected", "aligned", [m, [2, 1, 3], "left"],
             moves((1, [100, 10]), (3, [100, 33]))),
            ("centres down on the first selected", "aligned", [m, [1, 3], "centre-y"],
             moves((3, [10, 15]))),
            ("centres across on the first selected", "aligned", [m, [1, 4], "centre-x"],
             moves((4, [25, 15]))),
            ("three spaced evenly across", "spaced", [m, [4, 1, 2], "x"],
             moves((1, [10, 10]), (2, [65, 10]), (4, [110, 15]))),
            ("two are not spaced", "spaced", [m, [1, 2], "x"], []),
            ("an arrow key moves by 1", "arrowMoved", [m, [1, 3], "ArrowDown", False],
             moves((1, [10, 11]), (3, [10, 34]))),
            ("with Shift by 10", "arrowMoved", [m, [1], "ArrowLeft", True], moves((1, [0, 10]))),
            ("other keys move nothing", "arrowMoved", [m, [1], "a", False], None),
            ("a handle resizes the push buttons and texts, not the pictures", "resizedBy",
             [m, [2, 1, 3], 10, -15],
             [{"item": 2, "set": {"size": [50, 5]}}, {"item": 3, "set": {"size": [40, 1]}}]),
            ("a new item moved inside the window", "placedInside",
             [[190, 95], [50, 20], [200, 100]], [150, 80]),
        ]
        answers = module_answers(self.driver, os.path.dirname(GEOMETRY), "geometry.js",
                                 [[call, args] for _, call, args, _ in cases])
        self.assertIsInstance(answers, list, answers)
        for (name, _, _, expected), answer in zip(cases, answers):
            with self.subTest(name):
                self.assertEqual(answer, expected)

    def box_left(self, n):
        return self.driver.execute_script(
            "return document.querySelectorAll('.editor-layer .editor-item')[arguments[0] - 1]"
            ".style.left", n)

    def test_a_drag_moves_the_boxes_without_building_the_panel_again(self):
        self.at(BROWSE_ITEM).click().perform()
        self.wait_for(lambda: self.field("name") is not None, "the picture item's keys")
        # After the designer's own handling of each pointer event: where item 2's box is,
        # and how often the panel changed so far.
        self.driver.execute_script(
            "window.panelBuilds = 0; window.seen = [];"
            "new MutationObserver(() => ++window.panelBuilds)"
            ".observe(document.getElementById('editor'), {childList: true, subtree: true});"
            "for (const kind of ['pointermove', 'pointerup']) document.addEventListener(kind,"
            " () => seen.push([kind, document.querySelectorAll('.editor-item')[1].style.left,"
            " window.panelBuilds]))")
        drag = self.at(BROWSE_ITEM).click_and_hold()
        for _ in range(5):
            drag.move_by_offset(2, 0)
        drag.move_by_offset(-10, 0).release().perform()
        seen = self.driver.execute_script("return window.seen")
        self.assertIn(["pointermove", "46px", 0], seen)
        self.assertEqual(seen[-1], ["pointerup", "36px", 0])
        self.assertEqual(self.text(), self.original)

    def test_a_drag_refused_puts_the_item_back_and_says_why(self):
        looks = self.pixels(56, 194, 160, 24)
        # The page's edits wait until the test lets them go.
        self.driver.execute_script(
            "const send = window.fetch; let go; const gate = new Promise((r) => { go = r; });"
            "window.letEditsGo = go; window.fetch = (url, options) => url === 'edit'"
            " ? gate.then(() => send(url, options)) : send(url, options)")
        built = self.generation()
        self.at(BROWSE_ITEM).click_and_hold().move_by_offset(4, 0).move_by_offset(6, 0) \
            .release().perform()
        self.assertEqual(self.box_left(2), "46px")   # shown at once
        # The author saves the file in a text editor meanwhile: the tool refuses the edit,
        # made on the version before, even once the page has seen the new build.
        saved = self.original + b"# saved by hand\n"
        self.write(saved)
        self.wait_for(lambda: self.generation() != built, "the tool's build of the saved file")
        self.driver.execute_script("window.letEditsGo()")
        self.wait_for(lambda: "has changed since" in self.driver.execute_script(
            "return document.querySelector('.editor-message').textContent"), "the refusal shown")
        self.assertEqual(self.box_left(2), "36px")
        self.assertEqual(self.driver.execute_script(
            "return window.ambrevo.designer.item(2).position"), [36, 184])
        self.assertEqual(self.text(), saved)
        self.wait_for(lambda: self.pixels(56, 194, 160, 24) == looks, "the item where it was")

    def test_a_caption_edited_in_the_panel_is_written_and_shown(self):
        self.at(WEB_SITE_BUTTON).click().perform()
        self.wait_for(lambda: self.field("caption") is not None, "the push button's keys")
        field = self.field("caption").find_element("css selector", "input")
        self.driver.execute_script(
            "arguments[0].value = '&Home page';"
            "arguments[0].dispatchEvent(new Event('change'))", field)
        self.wait_for_file(self.replaced(b'caption = "&Web site"', b'caption = "&Home page"'))
        self.wait_for(lambda: "Home page" in self.driver.execute_script(
            "return document.getElementById('texts').textContent"), "the new caption on show")

    def test_a_picture_item_offers_its_name_and_a_push_button_does_not(self):
        self.at(WEB_SITE_BUTTON).click().perform()
        self.wait_for(lambda: self.field("caption") is not None, "the push button's keys")
        self.assertIsNone(self.field("name"))
        self.at(BROWSE_ITEM).click().perform()
        self.wait_for(lambda: self.field("name") is not None, "the picture item's name field")
        self.driver.execute_script(
            "const input = arguments[0].querySelector('input'); input.value = 'Browse the disc';"
            "input.dispatchEvent(new Event('change'))", self.field("name"))
        self.wait_for(lambda: self.text().count(b'name = "Browse the disc"') == 1,
                      "the name written into the item")
        self.press("Undo")
        self.wait_for_file(self.original)

    def test_style_keys_set_in_the_panel_write_the_style_as_a_table_and_keep_it(self):
        styled = self.original + (b'\n[[item]]\nkind = "picture"\ncaption = "&Go"\n'
                                  b'target = "*"\nposition = [200, 40]\nstyle = "green"\n')
        self.write(styled)
        self.wait_for_items(7)
        self.driver.execute_script(
            "document.querySelector('.editor-items li[data-item=\"7\"]').click()")
        self.wait_for(lambda: self.driver.execute_script(
            "const field = document.querySelector("
            "'#editor .editor-field[data-key=\"style.radius\"]');"
            "if (!field) return false; const input = field.querySelector('input');"
            "input.value = '3'; input.dispatchEvent(new Event('change')); return true"),
            "the style's radius set")
        self.wait_for_file(styled.replace(b'style = "green"\n',
                                          b'[item.style]\npreset = "green"\nradius = 3\n'))
        self.wait_for(lambda: self.designer("item(7).keys.style") ==
                      {"preset": "green", "radius": 3}, "the table in the model")
        style = "document.querySelector('#editor .editor-field[data-key=\"style\"] select')"
        self.wait_for(lambda: self.driver.execute_script(
            "return " + style + ".selectedOptions[0].textContent") == "(its own keys, below)",
            "the style shown as a table")
        # A ready style chosen then is the table's preset: its own keys stay.
        self.driver.execute_script("const chooser = " + style + "; chooser.value = 'red';"
                                   "chooser.dispatchEvent(new Event('change'))")
        self.wait_for_file(styled.replace(b'style = "green"\n',
                                          b'[item.style]\npreset = "red"\nradius = 3\n'))

    def panel_keys(self):
        """The keys of the panel's fields, each with its label and whether it shows as set."""
        return self.driver.execute_script(
            "return [...document.querySelectorAll('#editor .editor-keys .editor-field')].map("
            "f => [f.dataset.key, f.querySelector('.editor-label').firstChild.textContent,"
            " f.classList.contains('set')])")

    def test_the_panel_shows_every_key_of_the_catalogue_for_the_menu_and_each_kind(self):
        model = self.read("model")
        main = next(m for m in model["menus"] if m["file"] == "main.toml")

        def is_set(keys, path):
            for part in path.split("."):
                if not isinstance(keys, dict) or part not in keys:
                    return False
                keys = keys[part]
            return True

        cases = [
            ("the menu", None, lambda key: not key["path"].startswith("item."), "", main["keys"]),
            ("a picture", BROWSE_ITEM, None, "picture", main["items"][1]["keys"]),
            ("a push button", WEB_SITE_BUTTON, None, "button", main["items"][3]["keys"]),
            ("a text", MESSAGE_TEXT, None, "text", main["items"][4]["keys"]),
        ]
        for name, point, applies, kind, keys in cases:
            if point:
                self.at(point).click().perform()
            prefix = "item." if kind else ""
            expected = [(key["path"][len(prefix):], key["label"],
                         is_set(keys, key["path"][len(prefix):]))
                        for key in model["keys"]
                        if (applies(key) if applies else
                            key["path"].startswith("item.") and kind in key["kinds"])]
            self.wait_for(lambda: [tuple(k) for k in self.panel_keys()] == expected,
                          "the panel's keys of " + name)
            self.assertTrue(any(is_set_ for _, _, is_set_ in expected), name)

    def test_an_item_dragged_partly_outside_shows_its_warning_beside_it(self):
        # The 104 pixels wide text at 380 moved by 80 in the 520 pixels wide window.
        self.at(MESSAGE_TEXT).click_and_hold().move_by_offset(40, 0).move_by_offset(40, 0) \
            .release().perform()
        self.wait_for(lambda: b"position = [380, 258]" not in self.text(), "the move written")
        warned = ("return [document.querySelectorAll('.editor-layer .editor-item')[4]"
                  ".classList.contains('has-problem'),"
                  " document.querySelector('.editor-items li[data-item=\"5\"]')"
                  ".classList.contains('has-problem'),"
                  " [...document.querySelectorAll('.editor-item-problems li')]"
                  ".map(l => l.textContent),"
                  " [...document.querySelectorAll('.editor-all-problems li.warning')]"
                  ".map(l => l.textContent)]")
        self.wait_for(lambda: self.driver.execute_script(warned)[0], "the warning on the box")
        box, listed, beside, bottom = self.driver.execute_script(warned)
        self.assertTrue(listed)
        self.assertEqual(len(beside), 1)
        self.assertIn("lies partly outside", beside[0])
        self.assertIn(beside[0], bottom)
        # No other box is marked.
        self.assertEqual(self.driver.execute_script(
            "return document.querySelectorAll('.editor-layer .editor-item.has-problem').length"),
            1)
        self.press("Undo")
        self.wait_for_file(self.original)
        self.wait_for(lambda: not self.driver.execute_script(
            "return document.querySelectorAll('.editor-item.has-problem').length"),
            "the mark gone with the warning")

    def test_an_item_added_and_deleted_leaves_the_file_as_it_was(self):
        self.press("Add push button")
        self.wait_for(lambda: self.text().count(b"[[item]]") == 7, "the added item")
        self.wait_for_items(7)
        self.assertEqual(self.driver.execute_script(
            "return window.ambrevo.designer.state.selected"), [7])
        self.press("Delete")
        self.wait_for_file(self.original)

    def test_a_picture_item_added_from_a_file_and_deleted_leaves_the_file_as_it_was(self):
        self.at((150, 60)).click().perform()   # where the author wants the new item
        self.driver.execute_script(
            "const chooser = document.querySelector("
            "'#editor select[aria-label=\"Add picture item\"]');"
            "chooser.value = 'pictures/readme-description.png';"
            "chooser.dispatchEvent(new Event('change'))")
        self.wait_for(lambda: b'normal = "pictures/readme-description.png"' in self.text(),
                      "the added picture item")
        self.wait_for_items(7)
        added = self.driver.execute_script("return window.ambrevo.designer.item(7)")
        self.assertEqual(added["position"], [150, 60])
        listed = {p["file"]: p["size"] for p in self.read("pictures")["pictures"]}
        self.assertEqual(added["size"], listed["pictures/readme-description.png"])
        self.press("Delete")
        self.wait_for_file(self.original)

    def test_a_handle_resizes_every_selected_item_and_one_undo_takes_it_back(self):
        self.at(WEB_SITE_BUTTON).click().perform()
        self.at(MESSAGE_TEXT).key_down(Keys.SHIFT).click().key_up(Keys.SHIFT).perform()
        handle = self.driver.find_element("css selector", ".editor-handle[data-resize='4']")
        ActionChains(self.driver).click_and_hold(handle).move_by_offset(4, 2) \
            .move_by_offset(6, 4).release().perform()
        self.driver.execute_script("window.ambrevo.rebuiltFrame = null")
        self.wait_for_file(self.original.replace(b"size = [96, 28]", b"size = [106, 34]")
                           .replace(b"size = [104, 20]", b"size = [114, 26]"))
        # Undo once the page shows the resized menu.
        self.wait_for(lambda: self.driver.execute_script(
            "return window.ambrevo.rebuiltFrame !== null && document.querySelectorAll("
            "'.editor-layer .editor-item').length === 6"), "the page on the resized menu")
        self.press("Undo")
        self.wait_for_file(self.original)

    def on_menu(self, point):
        """An action chain with the pointer at a point of the menu on show, as in "Try it",
        where the designer's layer is hidden."""
        canvas = self.driver.find_element("css selector", ".form:not([hidden]) canvas")
        size = canvas.size
        return ActionChains(self.driver).move_to_element_with_offset(
            canvas, point[0] - size["width"] // 2, point[1] - size["height"] // 2)

    def test_the_designer_edits_the_menu_try_it_switched_to(self):
        self.try_it(True)
        self.on_menu(MORE_ITEM).click().perform()
        self.wait_for(lambda: self.designer("state.menu.file") == "second.toml",
                      "the designer on the second menu")
        self.try_it(False)
        self.wait_for_items(3)
        self.assertIn("Ambrevo Demo - More \u2014 second.toml", self.driver.execute_script(
            "return document.querySelector('#editor select[aria-label=Menu]')"
            ".selectedOptions[0].textContent"))
        self.at(BACK_ITEM).click_and_hold().move_by_offset(5, 0).move_by_offset(5, 0) \
            .release().perform()
        self.wait_for(lambda: b"position = [38, 110]" in self.text(self.second),
                      "the drag written into the second menu's file")
        self.assertEqual(self.text(), self.original)

    def test_with_a_source_error_no_edit_of_the_menu_shown_is_written(self):
        built = self.generation()
        broken = self.second_original.replace(b'title = "', b'title = "\n', 1)
        self.write(broken, self.second)
        self.wait_for(lambda: "do not build" in self.driver.execute_script(
            "return document.querySelector('#editor').textContent"), "the notice of the error")
        self.assertEqual(self.generation(), built)   # the page keeps the last good build
        self.at(BROWSE_ITEM).click_and_hold().move_by_offset(10, 0).release().perform()
        self.wait_for(lambda: "mend the source" in self.driver.execute_script(
            "return document.querySelector('.editor-message').textContent"), "the refusal")
        self.assertEqual(self.text(), self.original)
        self.assertEqual(self.box_left(2), "36px")

    def test_ten_quick_arrow_presses_move_the_item_ten_pixels(self):
        self.at(BROWSE_ITEM).click().perform()
        ActionChains(self.driver).send_keys(Keys.ARROW_RIGHT * 10).perform()
        self.wait_for_file(self.replaced(b"position = [36, 184]", b"position = [46, 184]"))
        self.wait_for(lambda: self.designer("state.busy") == 0, "every move answered")
        self.assertEqual(self.designer("item(2).position"), [46, 184])

    def test_the_launch_panel_of_try_it_lies_above_the_designer_panel(self):
        self.try_it(True)
        self.on_menu(README_ITEM).click().perform()
        self.wait_for(lambda: self.driver.execute_script(
            "return !document.getElementById('launch').hidden"), "the launch panel")
        on_top = self.driver.execute_script(
            "const close = document.getElementById('launch-close');"
            "const r = close.getBoundingClientRect();"
            "return document.elementFromPoint(r.left + r.width / 2, r.top + r.height / 2)"
            " === close")
        self.assertTrue(on_top)
        self.driver.find_element("id", "launch-close").click()
        self.assertTrue(self.driver.execute_script(
            "return document.getElementById('launch').hidden"))

    def test_the_item_list_selects_and_reorders_and_the_selection_follows(self):
        self.driver.execute_script(
            "document.querySelector('.editor-items li[data-item=\"4\"]').click()")
        self.assertEqual(self.designer("state.selected"), [4])
        self.press("Earlier in tab order")
        self.wait_for(lambda: self.designer("item(3).kind") == "button", "the button third")
        self.assertEqual(self.designer("state.selected"), [3])

    def post(self, body, headers):
        request = urllib.request.Request(self.base + "edit", data=json.dumps(body).encode(),
                                         headers=headers, method="POST")
        try:
            with urllib.request.urlopen(request) as response:
                return response.status
        except urllib.error.HTTPError as error:
            return error.code

    def test_edits_without_the_token_from_elsewhere_or_on_an_old_version_change_nothing(self):
        token = self.url.split("token=")[1]
        version = self.read("model")["files"][1]["version"]
        edit = {"file": "main.toml", "version": version, "item": 1,
                "set": {"position": [0, 0]}}
        port = self.base.split(":")[2].strip("/")
        self.assertEqual(self.post(edit, {}), 403)
        self.assertEqual(self.post(edit, {"X-Ambrevo-Token": token,
                                          "Host": "evil.example:" + port}), 403)
        # The author saves the file in a text editor: the page's version is old now.
        saved = self.original + b"# saved by hand\n"
        self.write(saved)
        self.assertEqual(self.post(edit, {"X-Ambrevo-Token": token}), 409)
        self.assertEqual(self.text(), saved)


class DesignerZoomTest(BuildButtonPlacement, DesignerSession):
    """The menu shown larger: the author works on the screen's pixels, the file keeps the
    menu's."""

    def shown(self):
        """The menu canvas's size in CSS pixels and in its own pixels, and item 4's box."""
        return self.driver.execute_script(
            "const c = [...document.querySelectorAll('.form:not([hidden]) canvas')][0];"
            "const box = document.querySelectorAll('.editor-layer .editor-item')[3];"
            "return [c.clientWidth, c.clientHeight, c.width, c.height, box.style.left,"
            " box.style.top]")

    def selected_after_click(self, point):
        self.at(point).click().perform()
        return self.designer("state.selected")

    def test_at_every_zoom_clicks_drags_and_arrows_count_in_menu_pixels(self):
        # A drag of 12 screen pixels, whole menu pixels at every zoom and clear of the
        # other items' edges, so that nothing snaps.
        cases = [(1, "48"), (1.5, "44"), (2, "42")]
        for zoom, dragged_x in cases:
            with self.subTest(zoom=zoom):
                if zoom != 1:
                    self.setUp()
                    self.choose_zoom(zoom)
                self.assertEqual(self.shown(), [520 * zoom, 360 * zoom, 520 * zoom,
                                                360 * zoom, "%gpx" % (268 * zoom),
                                                "%gpx" % (252 * zoom)])
                # The push button's edge pixels and those beside them (its resize handle,
                # once selected, reaches past its lower right corner).
                for point, selected in [((268, 252), [4]), ((267, 252), []),
                                        ((268, 279), [4]), ((268, 280), []),
                                        ((363, 260), [4]), ((364, 260), [])]:
                    self.assertEqual(self.selected_after_click(point), selected, point)
                self.assertEqual(self.selected_after_click(BROWSE_ITEM), [2])
                self.at(BROWSE_ITEM).click_and_hold().move_by_offset(5, 0) \
                    .move_by_offset(7, 0).release().perform()
                moved = self.replaced(b"position = [36, 184]",
                                      b"position = [" + dragged_x.encode() + b", 184]")
                self.wait_for_file(moved)
                self.wait_for(lambda: self.designer("state.busy") == 0, "the move answered")
                ActionChains(self.driver).send_keys(Keys.ARROW_DOWN * 2).perform()
                self.wait_for_file(moved.replace(b"184]", b"186]"))

    def test_try_it_at_200_percent_launches_the_item_under_the_pointer(self):
        self.choose_zoom(2)
        self.try_it(True)
        self.at(README_ITEM).click().perform()
        self.wait_for(lambda: self.driver.find_element("id", "launch-file").text ==
                      "D:\\readme.txt", "the read-me launched")
        # The launch panel leaves the zoomed menu's scroll bars free.
        self.assertTrue(self.driver.execute_script(
            "const area = document.getElementById('desktop'), view = area.getBoundingClientRect();"
            "const panel = document.getElementById('launch').getBoundingClientRect();"
            "return area.scrollWidth > area.clientWidth &&"
            "    panel.right <= view.left + area.clientWidth &&"
            "    panel.bottom <= view.top + area.clientHeight"))

    def test_the_zoom_is_chosen_with_the_keys_and_kept_for_the_session(self):
        radio = self.driver.find_element("css selector", self.ZOOM_RADIO % 1)
        self.assertEqual(radio.get_attribute("checked"), "true")
        legend = self.driver.find_element("css selector", "#editor .editor-zoom legend")
        self.assertEqual(legend.text, "Zoom")
        radio.send_keys(Keys.ARROW_RIGHT)
        self.wait_for(lambda: self.designer("state.zoom") == 1.5, "the zoom of 150 %")
        self.driver.refresh()
        self.wait_for_items(6)
        self.wait_for(lambda: self.layer().size["width"] == 780, "the menu at 150 % again")
        self.assertEqual(self.driver.find_element(
            "css selector", self.ZOOM_RADIO % 1.5).get_attribute("checked"), "true")
        # The arrow key chose the zoom and moved no item.
        self.assertEqual(self.text(), self.original)
        # The push button, off the desktop's view at 200 % unscrolled, is scrolled into it.
        self.driver.execute_script(
            "document.querySelector('.editor-items li[data-item=\"4\"]').click()")
        self.choose_zoom(2)
        self.assertTrue(self.driver.execute_script(
            "const view = document.getElementById('desktop').getBoundingClientRect();"
            "const box = document.querySelectorAll('.editor-layer .editor-item')[3]"
            "    .getBoundingClientRect();"
            "return box.left >= view.left && box.right <= view.right &&"
            "    box.top >= view.top && box.bottom <= view.bottom"))


class DesignerDenseScreenTest(BuildButtonPlacement, DesignerSession):
    """The designer on a screen of two device pixels per CSS pixel."""

    SCALE = 2


class FirstMenuTest(unittest.TestCase):
    """The designer on a folder holding only pictures."""

    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="ambrevo-first-menu-")
        cls.source = os.path.join(cls.folder, "disc-sources")
        os.makedirs(os.path.join(cls.source, "pictures"))
        shutil.copy(os.path.join(ARGS.demo, "pictures", "second-background.png"),
                    os.path.join(cls.source, "pictures", "photo.png"))
        cls.process, cls.url = start_tool(ARGS.pack, "edit", cls.source, "--site", ARGS.site)
        cls.driver = chromium(os.path.join(cls.folder, "profile"))

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        stop_tool(cls.process)
        shutil.rmtree(cls.folder, ignore_errors=True)

    def wait_for(self, condition, what, seconds=15):
        def holds(_):
            try:
                return condition()
            except Exception:  # the page is reloading
                return False
        try:
            WebDriverWait(self.driver, seconds, poll_frequency=0.05).until(holds)
        except Exception:
            self.fail(what + " did not happen")

    def text(self, name):
        path = os.path.join(self.source, name)
        if not os.path.exists(path):
            return b""
        with open(path, "rb") as file:
            return file.read()

    def set_field(self, key, value):
        """Sets the panel's field of the key as the author does, once it is there."""
        self.wait_for(lambda: self.driver.execute_script(
            "const f = document.querySelector("
            "'#editor .editor-field[data-key=\"' + arguments[0] + '\"]');"
            "if (!f) return false; const input = f.querySelector('input, select');"
            "if (input.type === 'checkbox') input.checked = arguments[1];"
            "else input.value = arguments[1];"
            "input.dispatchEvent(new Event('change')); return true", key, value),
            "the field " + key)

    def build_button(self):
        """The "Build disc…" button as the author sees it: shown, enabled, its title."""
        button = self.driver.find_element("id", "build-disc")
        return [button.is_displayed(), button.is_enabled(), button.get_attribute("title")]

    def test_the_first_menu_and_an_exit_button_are_made_in_the_page(self):
        self.driver.get(self.url)
        self.wait_for(lambda: self.driver.execute_script(
            "return !!document.querySelector('.editor-new-menu')"), "the offer of a first menu")
        self.assertFalse(self.driver.execute_script(
            "return [document.getElementById('banner'), document.getElementById('failure')]"
            ".some(e => !e.hidden && getComputedStyle(e).display !== 'none')"))
        # Nothing to build yet, and the author is told why; the page is not reloaded for the
        # button once the menu is made.
        self.wait_for(lambda: self.build_button()[0], "the Build disc button")
        self.assertEqual(self.build_button(), [True, False, "There is nothing to build yet: "
                                               "make the first menu in the panel above."])
        self.driver.execute_script("window.notReloaded = true")
        self.driver.execute_script(
            "const form = document.querySelector('.editor-new-menu');"
            "form.querySelector('[aria-label=title]').value = 'My disc';"
            "const background = form.querySelector('select[aria-label=background]');"
            "background.value = 'pictures/photo.png';"
            "background.dispatchEvent(new Event('change'));"
            "form.requestSubmit()")
        self.wait_for(lambda: self.text("package.toml") == b'menus = ["main.toml"]\n',
                      "package.toml written")
        self.assertEqual(self.text("main.toml"),
                         b'title = "My disc"\nbackground = "pictures/photo.png"\n')
        self.wait_for(lambda: self.build_button() == [True, True, ""], "Build disc enabled")
        self.assertTrue(self.driver.execute_script("return window.notReloaded === true"))
        self.wait_for(lambda: self.driver.execute_script(
            "return !!document.querySelector('.editor-layer') &&"
            " [...document.querySelectorAll('#editor button')]"
            ".some(b => b.textContent === 'Add push button' && !b.disabled)"),
            "the new menu in the designer")
        # A menu without items settles: after the build's one rebuild, the panel stays still
        # for 30 frames (a panel that rebuilt itself on every model would never).
        self.wait_for(lambda: self.driver.execute_async_script(
            "const done = arguments[arguments.length - 1]; let changes = 0;"
            "const watch = new MutationObserver((records) => { changes += records.length; });"
            "watch.observe(document.getElementById('editor'), {childList: true, subtree: true});"
            "let frames = 0; const next = () => { if (++frames === 30) { watch.disconnect();"
            " done(changes); } else requestAnimationFrame(next); }; requestAnimationFrame(next)")
            == 0, "the panel of an empty menu still")
        self.driver.execute_script(
            "[...document.querySelectorAll('#editor button')]"
            ".find(b => b.textContent === 'Add push button').click()")
        self.wait_for(lambda: b"[[item]]" in self.text("main.toml"), "the push button added")
        self.wait_for(lambda: self.driver.execute_script(
            "return window.ambrevo.designer.state.selected.length === 1"), "the button selected")
        self.set_field("caption", "E&xit")
        self.wait_for(lambda: b'caption = "E&xit"' in self.text("main.toml"), "the caption")
        # What the button does, chosen as the author chooses it: it ends the menu.
        self.set_field("target", "exit")
        self.wait_for(lambda: b'target = ""' in self.text("main.toml") and
                      b"exit_after_launch = true" in self.text("main.toml"),
                      "the empty target and the exit switch, in one edit")
        # The page asked for no package before the first menu made one, nor for anything
        # else that failed.
        self.assertEqual(console_errors(self.driver), [])


def main():
    def set_arguments(arguments):
        global ARGS
        ARGS = arguments
    run_page_tests(set_arguments)


if __name__ == "__main__":
    main()

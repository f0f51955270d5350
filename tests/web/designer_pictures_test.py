#!/usr/bin/python3
"""Pictures from the desktop in the designer, in headless Chromium: files dropped on the
menu (synthetic drop events carrying a DataTransfer built in the page) or chosen with the
file button, and what they leave in the author's folder.

Usage: designer_pictures_test.py --site build/web/site --pack build/native/ambrevo-pack
       --demo examples/demo
"""
import base64
import os
import struct
import zlib

import designer_test
from browser_session import StaticSite, run_page_tests
from designer_test import BROWSE_ITEM, DesignerSession
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

EMPTY_PLACE = (150, 60)   # a point of the demo's main window where no item lies
DESIGNER_FOLDER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "web",
                               "designer")


def png(width, height, rgb):
    """A PNG of one opaque colour."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    rows = b"".join(b"\0" + bytes(rgb) * width for _ in range(height))
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


RED = (220, 20, 60)
RED_PNG = png(40, 20, RED)


class DesignerPicturesTest(DesignerSession):

    def setUp(self):
        self.pictures = os.path.join(self.source, "pictures")
        self.pictures_before = set(os.listdir(self.pictures))
        super().setUp()

    def tearDown(self):
        for name in set(os.listdir(self.pictures)) - self.pictures_before:
            os.remove(os.path.join(self.pictures, name))

    def added_pictures(self):
        return sorted(set(os.listdir(self.pictures)) - self.pictures_before)

    def drag(self, point, files, kinds=("dragenter", "dragover", "drop")):
        """Files ([(name, type, bytes)]) dragged onto the point of the menu's window, as
        the events the browser sends for a drag from the desktop."""
        self.driver.execute_script(
            "const [x, y, files, kinds] = arguments;"
            "const box = document.querySelector('.editor-layer').getBoundingClientRect();"
            "const transfer = new DataTransfer();"
            "for (const [name, type, data] of files) transfer.items.add(new File("
            " [Uint8Array.from(atob(data), (c) => c.charCodeAt(0))], name, { type }));"
            "const at = { clientX: box.left + x, clientY: box.top + y, bubbles: true,"
            " cancelable: true, dataTransfer: transfer };"
            "const target = document.elementFromPoint(at.clientX, at.clientY);"
            "for (const kind of kinds) target.dispatchEvent(new DragEvent(kind, at));",
            point[0], point[1],
            [[name, kind, base64.b64encode(data).decode()] for name, kind, data in files],
            list(kinds))

    def message(self):
        return self.driver.execute_script(
            "return document.querySelector('.editor-message').textContent")

    def offered_pictures(self):
        return self.driver.execute_script(
            "return [...document.querySelector("
            "'#editor select[aria-label=\"Add picture item\"]').options].map((o) => o.value)")

    def test_what_a_drop_means(self):
        menu = designer_test.GEOMETRY_MENU
        pictures_only = "(item) => item.kind === 'picture'"
        every_kind = "() => true"
        cases = [
            ("on a picture item", [menu, [12, 12], pictures_only], {"item": 1}),
            ("the frontmost of two items", [menu, [115, 20], every_kind], {"item": 2}),
            ("on an item that cannot take the set", [menu, [115, 20], pictures_only],
             {"newItem": True}),
            ("where no item lies", [menu, [5, 5], pictures_only], {"background": True}),
            ("beside the window", [menu, [200, 50], pictures_only], {"newItem": True}),
            ("above the window", [menu, [12, -1], pictures_only], {"newItem": True}),
        ]
        sorts = [
            ("by type", [{"name": "a.bin", "type": "image/png"},
                         {"name": "b.png", "type": "text/plain"}], [["a.bin"], ["b.png"]]),
            ("by name without a type", [{"name": "c.JPG", "type": ""},
                                        {"name": "d.jpeg", "type": ""},
                                        {"name": "e.gif", "type": ""},
                                        {"name": "png", "type": ""}],
             [["c.JPG", "d.jpeg"], ["e.gif", "png"]]),
            ("a GIF is no picture the tool takes", [{"name": "f.gif", "type": "image/gif"}],
             [[], ["f.gif"]]),
        ]
        site = StaticSite(DESIGNER_FOLDER)
        self.addCleanup(site.stop)
        self.driver.get(site.url.rsplit("/", 1)[0] + "/")
        answers = self.driver.execute_async_script(
            "const [targets, sorts, done] = arguments;"
            "import('./picture_drop.js').then((m) => done(["
            "  targets.map(([menu, point, takes]) =>"
            "    m.dropTarget(menu, point, (0, eval)(takes))),"
            "  sorts.map((files) => { const s = m.picturesAmong(files);"
            "    return [s.pictures.map((f) => f.name), s.others.map((f) => f.name)]; })]),"
            " (error) => done(String(error)))",
            [args for _, args, _ in cases], [files for _, files, _ in sorts])
        self.assertIsInstance(answers, list, answers)
        for (name, _, expected), answer in zip(cases + sorts, answers[0] + answers[1]):
            with self.subTest(name):
                self.assertEqual(answer, expected)

    def test_a_png_dropped_on_an_item_becomes_its_normal_picture(self):
        page_start = self.driver.execute_script("return performance.timeOrigin")
        self.drag(BROWSE_ITEM, [("dropped.png", "image/png", RED_PNG)])
        self.wait_for_file(self.replaced(b'normal = "pictures/browse-normal.png"',
                                         b'normal = "pictures/dropped.png"'))
        with open(os.path.join(self.pictures, "dropped.png"), "rb") as stored:
            self.assertEqual(stored.read(), RED_PNG)
        # The item shows it at its place (item 2 lies at [36, 184]); the page's picture
        # lists offer it without a reload.
        self.wait_for(lambda: self.pixels(36, 184, 40, 20) == list(RED + (255,)) * 800,
                      "the dropped picture on the item")
        self.wait_for(lambda: "pictures/dropped.png" in self.offered_pictures(),
                      "the picture offered in the panel")
        self.assertEqual(self.driver.execute_script("return performance.timeOrigin"),
                         page_start)

    def test_a_picture_dropped_where_no_item_lies_asks_about_the_background(self):
        # As the background, a picture of the window's size, so that the items stay inside.
        def background_set():
            return self.text() == self.replaced(b'background = "pictures/main-background.png"',
                                                b'background = "pictures/wall.png"')

        def item_added():
            return (self.text().startswith(self.original) and
                    self.designer("state.menu.items.length") == 7 and
                    self.designer("item(7).position") == list(EMPTY_PLACE) and
                    self.designer("item(7).keys.pictures.normal") == "pictures/wall.png")

        cases = [
            ("yes: the menu's background", png(520, 360, RED), "Yes", background_set),
            ("no, by the keys: a new picture item there", RED_PNG, Keys.TAB + Keys.ENTER,
             item_added),
        ]
        for i, (name, wall, answer, done) in enumerate(cases):
            with self.subTest(name):
                if i:
                    self.tearDown()
                    self.setUp()
                self.drag(EMPTY_PLACE, [("wall.png", "image/png", wall)])
                self.wait_for(lambda: self.driver.execute_script(
                    "return document.querySelector('.editor-question .text').textContent") ==
                    "Use pictures/wall.png as the menu's background?\n\nNo adds it as a new "
                    "picture item where it was dropped.", "the question")
                self.assertEqual(self.text(), self.original)   # nothing before the answer
                if answer == "Yes":
                    self.driver.find_element(
                        "xpath", "//*[contains(@class, 'editor-question')]//button[.='Yes']"
                    ).click()
                else:
                    ActionChains(self.driver).send_keys(answer).perform()
                self.wait_for(done, "the answer's edit")
                # The question is gone, and its keys reached no item of the menu.
                self.assertEqual(self.driver.execute_script(
                    "return [!!document.querySelector('.editor-question'),"
                    " document.getElementById('launch').hidden]"), [False, True])

    def test_files_that_are_no_picture_are_named_and_nothing_is_written(self):
        cases = [
            ("a text file is not sent", [("notes.txt", "text/plain", b"twenty bytes of text")],
             "notes.txt is no PNG or JPEG picture: it was not added."),
            ("bytes that are no picture are the tool's to refuse",
             [("fake.png", "image/png", b"twenty bytes of text")], "fake.png was not added: "),
        ]
        for name, files, said in cases:
            with self.subTest(name):
                self.drag(BROWSE_ITEM, files)
                self.wait_for(lambda: said in self.message(), "the message")
                self.assertEqual(self.added_pictures(), [])
                self.assertEqual(self.text(), self.original)

    def test_several_dropped_on_an_item_the_first_is_its_picture_the_others_new_items(self):
        self.drag(BROWSE_ITEM, [("first.png", "image/png", RED_PNG),
                                ("second.png", "image/png", png(10, 10, (0, 0, 255)))])
        self.wait_for(lambda: b'normal = "pictures/second.png"' in self.text(),
                      "the second picture as a new item")
        self.assertIn(b'normal = "pictures/first.png"', self.text())
        self.assertNotIn(b"browse-normal.png", self.text())
        self.assertEqual(self.added_pictures(), ["first.png", "second.png"])

    def test_the_file_button_is_reached_by_tab_and_adds_where_the_author_clicked(self):
        self.at(EMPTY_PLACE).click().perform()
        chooser = self.driver.find_element(
            "css selector", "#editor select[aria-label='Add picture item']")
        chooser.send_keys(Keys.TAB)
        self.assertEqual(self.driver.execute_script(
            "const b = document.activeElement; return [b.tagName, b.textContent]"),
            ["BUTTON", "Add picture\u2026"])
        self.driver.execute_script(
            "const transfer = new DataTransfer();"
            "transfer.items.add(new File([Uint8Array.from(atob(arguments[0]),"
            " (c) => c.charCodeAt(0))], 'chosen.png', { type: 'image/png' }));"
            "const input = document.querySelector('#editor input[type=file]');"
            "input.files = transfer.files; input.dispatchEvent(new Event('change'))",
            base64.b64encode(RED_PNG).decode())
        self.wait_for(lambda: b'normal = "pictures/chosen.png"' in self.text(), "the new item")
        self.wait_for_items(7)
        self.assertEqual(self.designer("item(7).position"), list(EMPTY_PLACE))

    def test_a_drag_of_files_over_the_menu_outlines_it_until_it_leaves(self):
        outlined = ("return document.getElementById('desktop')"
                    ".classList.contains('editor-drop-target')")
        files = [("a.png", "image/png", RED_PNG)]
        self.drag(EMPTY_PLACE, files, ["dragenter", "dragover"])
        self.assertTrue(self.driver.execute_script(outlined))
        self.drag(EMPTY_PLACE, files, ["dragleave"])
        self.assertFalse(self.driver.execute_script(outlined))
        self.assertEqual(self.driver.execute_script(
            "return getComputedStyle(document.getElementById('desktop')).outlineStyle"),
            "none")


def main():
    def set_arguments(arguments):
        designer_test.ARGS = arguments
    run_page_tests(set_arguments)


if __name__ == "__main__":
    main()

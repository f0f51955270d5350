#!/usr/bin/python3
"""The demo's items in Chromium's accessibility tree, as a screen reader meets them.
Usage: web_accessibility_test.py --site SITE --pack AMBREVO_PACK --demo examples/demo"""
import os
import shutil
import tempfile
import time
import unittest

from browser_session import menu_page, chromium, run_page_tests
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

ARGS = None
# The demo's first menu: role, name, description, shortcut, disabled (None for a text).
# The second item has no name of its own: it is read by its description.
DEMO_ITEMS = [
    ("button", "Read me", "Opens the read-me document of this disc.", "1", False),
    ("button", "Opens the disc's docs folder.", "Opens the disc's docs folder.", "2", False),
    ("button", "More menus", "Switches to the second menu of this disc.", "3", False),
    ("button", "Web site", "Opens a web page in the default browser.", "Alt+W", False),
    ("button", "Say hello", "Shows a message.", "5", False),
    ("button", "Exit", "Closes the menu.", "6", False),
]
# The same with "Say hello" doing nothing: text, which cannot act.
QUIET_ITEMS = DEMO_ITEMS[:4] + [("text", "Say hello", "Shows a message.", "5", None)] + \
    DEMO_ITEMS[5:]
NAMES = [item[1] for item in DEMO_ITEMS]


class WebAccessibilityTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="ambrevo-web-access-")
        cls.driver = chromium(os.path.join(cls.folder, "profile"))
        quiet = shutil.copytree(ARGS.demo, os.path.join(cls.folder, "quiet-source"))
        with open(os.path.join(quiet, "main.toml"), encoding="utf-8") as menu:
            text = menu.read().replace('target = "$Hello from', 'target = "*"\n#', 1)
        with open(os.path.join(quiet, "main.toml"), "w", encoding="utf-8") as menu:
            menu.write(text)
        cls.servers = {name: cls.export(source, name)
                       for name, source in [("demo", ARGS.demo), ("quiet", quiet)]}

    @classmethod
    def export(cls, source, name):
        return menu_page(ARGS.pack, source, os.path.join(cls.folder, name), ARGS.site)

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        for server in cls.servers.values():
            server.stop()
        shutil.rmtree(cls.folder, ignore_errors=True)

    def open(self, name="demo"):
        url = self.servers[name].url
        self.driver.get(url.replace("index.html", "files.json"))
        self.driver.execute_script("sessionStorage.clear()")
        self.driver.get(url)
        self.wait_for(lambda: self.menu()[0] == "Ambrevo Demo", "the menu")

    def wait_for(self, condition, what):
        try:
            WebDriverWait(self.driver, 5, poll_frequency=0.05).until(lambda d: condition())
        except Exception:
            self.fail("%s did not happen; the tree shows %r" % (what, self.menu()))

    def menu(self):
        """The container's name and its items as (role, name, description, shortcut,
        disabled, focused, DOM node), through the nodes the tree ignores."""
        nodes = self.driver.execute_cdp_cmd("Accessibility.getFullAXTree", {})["nodes"]
        tree = {node["nodeId"]: node for node in nodes}
        value = lambda node, field: node.get(field, {}).get("value")

        def items(node):
            found = []
            for child in (tree[i] for i in node.get("childIds", []) if i in tree):
                role, props = value(child, "role"), {p["name"]: p["value"].get("value")
                                                     for p in child.get("properties", [])}
                # A static text is a node without a role whose text is its name.
                text = "".join(value(tree[i], "name") for i in child.get("childIds", [])
                               if i in tree and value(tree[i], "role") == "StaticText")
                if child.get("ignored"):
                    found += items(child)
                elif role in ("button", "generic"):
                    found.append(("button" if role == "button" else "text",
                                  value(child, "name") if role == "button" else text,
                                  value(child, "description"), props.get("keyshortcuts"),
                                  props.get("disabled", False) if role == "button" else None,
                                  bool(props.get("focused")), child.get("backendDOMNodeId")))
            return found
        for node in tree.values():
            if value(node, "role") == "application" and not node.get("ignored"):
                return value(node, "name"), items(node)
        return None, []

    def focused(self):
        return [item[1] for item in self.menu()[1] if item[5]]

    def tab(self, backwards=False):
        for kind in ("keyDown", "keyUp"):
            self.driver.execute_cdp_cmd("Input.dispatchKeyEvent", {
                "type": kind, "key": "Tab", "code": "Tab", "windowsVirtualKeyCode": 9,
                "modifiers": 8 if backwards else 0})

    def key(self, key, code, virtual_key, modifiers=0):
        """A key pressed and released, as the keyboard gives it (modifiers: 8 is Shift)."""
        for kind in ("keyDown", "keyUp"):
            self.driver.execute_cdp_cmd("Input.dispatchKeyEvent", {
                "type": kind, "key": key, "code": code, "windowsVirtualKeyCode": virtual_key,
                "modifiers": modifiers})

    def menu_items(self):
        """(name, focused) of each entry of the open popup menu, through the tree."""
        nodes = self.driver.execute_cdp_cmd("Accessibility.getFullAXTree", {})["nodes"]
        value = lambda node, field: node.get(field, {}).get("value")
        return [(value(node, "name"),
                 any(p["name"] == "focused" and p["value"].get("value")
                     for p in node.get("properties", [])))
                for node in nodes if value(node, "role") == "menuitem" and not node.get("ignored")]

    def press(self, name):
        """A click on the element of that name, found through the tree, as a screen
        reader's default action gives it."""
        node = next(item[6] for item in self.menu()[1] if item[1] == name)
        target = self.driver.execute_cdp_cmd("DOM.resolveNode", {"backendNodeId": node})
        self.driver.execute_cdp_cmd("Runtime.callFunctionOn", {
            "objectId": target["object"]["objectId"],
            "functionDeclaration": "function () { this.click(); }"})

    def test_every_item_is_a_named_node_with_its_role(self):
        for name, expected in [("demo", DEMO_ITEMS), ("quiet", QUIET_ITEMS)]:
            with self.subTest(name=name):
                self.open(name)
                self.assertEqual(expected, [item[:5] for item in self.menu()[1]])
        # The first element lies over its item, where the pointer still reaches the canvas.
        self.assertEqual("CANVAS", self.driver.execute_script(
            "const c = document.querySelector('#desktop canvas').getBoundingClientRect();"
            "const e = document.querySelector('.access-layer > div').getBoundingClientRect();"
            "const x = c.left + 60, y = c.top + 150;"
            "return e.left <= x && x < e.right && e.top <= y && y < e.bottom &&"
            "       document.elementFromPoint(x, y).tagName;"))

    def test_the_focused_node_follows_tab(self):
        # Tab presses (False) and Shift+Tab presses (True), the item focused afterwards
        for presses, expected in [([False], NAMES[0]), ([False] * 3, NAMES[2]),
                                  ([False] * 3 + [True], NAMES[1]), ([True], NAMES[-1])]:
            with self.subTest(presses=presses):
                self.open()
                self.assertEqual([], self.focused())
                for backwards in presses:
                    self.tab(backwards)
                self.wait_for(lambda: self.focused() == [expected], "the focus on " + expected)

    def test_pressing_acts_once_and_the_focus_outlives_dialogs_and_menu_switches(self):
        # A message box that closes gives the focus back to the item that opened it.
        self.open()
        for _ in range(5):
            self.tab()
        ActionChains(self.driver).send_keys(Keys.ENTER).perform()
        self.wait_for(lambda: self.driver.find_elements(By.CSS_SELECTOR, ".modal button"),
                      "the message box")
        self.driver.find_element(By.CSS_SELECTOR, ".modal button").click()
        self.wait_for(lambda: self.focused() == ["Say hello"], "the focus back on its item")
        self.press(NAMES[0])
        self.wait_for(lambda: self.driver.find_element(By.ID, "launch").is_displayed(),
                      "the launch of the read-me")
        time.sleep(0.5)  # for any second launch
        self.assertEqual("1", self.driver.find_element(By.ID, "launch-count").text)
        # Another menu replaces the elements and the container's name; the focus on an item
        # (one the shorter menu has no element for) moves to the container. Tab still
        # reaches the player, whose focus moves over the new elements.
        self.open()
        self.tab(backwards=True)
        self.wait_for(lambda: self.focused() == [NAMES[-1]], "the focus on " + NAMES[-1])
        self.press(NAMES[2])
        self.wait_for(lambda: self.menu()[0] == "Ambrevo Demo - More", "the second menu")
        self.assertEqual([], self.focused())
        self.assertEqual("access-layer", self.driver.execute_script(
            "return document.activeElement.className"))
        self.assertEqual(["Back", "Show a message", "Exit"],
                         [item[1] for item in self.menu()[1]])
        self.tab()
        self.wait_for(lambda: self.focused() == ["Back"], "the new focus")
        # A press meant for the first menu's elements (the first list sent) is dropped: it
        # would take the second menu's first item back to the first menu.
        self.driver.execute_script(
            "const id = +document.querySelector('.access-layer').parentNode"
            "    .querySelector('canvas').id.slice(5);"
            "window.ambrevo.postEvent(11, id, 1, 0, 1, 0);")
        time.sleep(0.5)
        self.assertEqual("Ambrevo Demo - More", self.menu()[0])

    def test_the_keyboard_opens_the_context_menu_and_reaches_about(self):
        # Shift+F10 (on its press) and the context-menu key (on its release) open the
        # player's menu with its entry focused; Escape dismisses it, Enter chooses the entry.
        self.open()
        shift_f10 = ("F10", "F10", 121, 8)
        for keys in (shift_f10, ("ContextMenu", "ContextMenu", 93)):
            self.key(*keys)
            self.wait_for(lambda: self.menu_items() == [("About", True)], "the context menu")
            self.key("Escape", "Escape", 27)
            self.wait_for(lambda: self.menu_items() == [], "the menu dismissed")
        self.key(*shift_f10)
        self.wait_for(lambda: self.menu_items() == [("About", True)], "the menu again")
        self.key("Enter", "Enter", 13)
        self.wait_for(lambda: "About Ambrevo" in [
            e.text for e in self.driver.find_elements(By.CSS_SELECTOR, ".caption span")],
            "the About window")


if __name__ == "__main__":
    def set_arguments(arguments):
        global ARGS
        ARGS = arguments
    run_page_tests(set_arguments)

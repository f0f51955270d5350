#!/usr/bin/python3
"""The browser player's items as Chromium's accessibility tree shows them to a screen
reader: names, roles and shortcuts, the focus following the player's, and pressing.

Usage: web_accessibility_test.py --site build/web/site --pack build/native/ambrevo-pack
       --demo examples/demo
"""
import os
import shutil
import subprocess
import tempfile
import time
import unittest

from browser_session import StaticSite, chromium, run_page_tests
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

ARGS = None
DEMO_TITLE = "Ambrevo Demo"
# The demo's first menu: role, name, description, shortcut, disabled.
DEMO_ITEMS = [
    ("button", "Opens the read-me document of this disc.",
     "Opens the read-me document of this disc.", "1", False),
    ("button", "Opens the disc's docs folder.", "Opens the disc's docs folder.", "2", False),
    ("button", "Switches to the second menu of this disc.",
     "Switches to the second menu of this disc.", "3", False),
    ("button", "Web site", "Opens a web page in the default browser.", "Alt+W", False),
    ("button", "Say hello", "Shows a message.", "5", False),
    ("button", "Exit", "Closes the menu.", "6", False),
]
SECOND_TITLE = "Ambrevo Demo - More"
SECOND_NAMES = ["Back to the first menu.", "Show a message", "Exit"]
# A point inside the first item, in the window's client area.
README_ITEM = (60, 150)

# A menu with an item that does nothing, which is read as text and cannot be pressed.
QUIET_MENU = """title = "Quiet & calm"
background = '%s'
[description]
text = "Nothing to do."
bounds = [300, 40, 200, 40]
[[item]]
kind = "text"
caption = "&Note"
target = "*"
position = [20, 40]
size = [120, 24]
[[item]]
kind = "button"
caption = "&Greet"
target = "$Hello"
description = "Says hello."
position = [20, 80]
size = [120, 24]
"""
QUIET_ITEMS = [
    ("text", "Note", None, "1", None),
    ("button", "Greet", "Says hello.", "Alt+G", False),
]


def export(source, folder):
    """The static site of the menu source, served; returns the server."""
    subprocess.run([ARGS.pack, "web", source, "-o", folder, "--site", ARGS.site], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return StaticSite(folder)


class WebAccessibilityTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="ambrevo-web-access-")
        cls.driver = chromium(os.path.join(cls.folder, "profile"))
        cls.driver.execute_cdp_cmd("Accessibility.enable", {})
        cls.demo = export(os.path.join(ARGS.demo, "package.toml"),
                          os.path.join(cls.folder, "demo"))
        quiet = os.path.join(cls.folder, "quiet-source")
        os.makedirs(quiet)
        background = os.path.join(os.path.abspath(ARGS.demo), "pictures", "main-background.png")
        for name, text in [("package.toml", 'menus = ["main.toml"]\n'),
                           ("main.toml", QUIET_MENU % background)]:
            with open(os.path.join(quiet, name), "w", encoding="utf-8") as file:
                file.write(text)
        cls.quiet = export(os.path.join(quiet, "package.toml"), os.path.join(cls.folder, "quiet"))

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        cls.demo.stop()
        cls.quiet.stop()
        shutil.rmtree(cls.folder, ignore_errors=True)

    def open(self, server, title):
        self.driver.get(server.url.replace("index.html", "files.json"))
        self.driver.execute_script("sessionStorage.clear()")
        self.driver.get(server.url)
        self.wait_for(lambda: self.menu()[0] == title, "the menu %r in the tree" % title)

    def wait_for(self, condition, what, seconds=5):
        try:
            WebDriverWait(self.driver, seconds, poll_frequency=0.05).until(lambda d: condition())
        except Exception:
            name, items = self.menu()
            self.fail("%s did not happen; the tree shows %r: %r"
                      % (what, name, [self.summary(node, focus=True) for node in items]))

    def tree(self):
        nodes = self.driver.execute_cdp_cmd("Accessibility.getFullAXTree", {})["nodes"]
        return {node["nodeId"]: node for node in nodes}

    @staticmethod
    def value(node, field):
        return node.get(field, {}).get("value")

    @staticmethod
    def properties(node):
        return {p["name"]: p["value"].get("value") for p in node.get("properties", [])}

    def items(self, tree, node):
        """The nodes of the items below node, through the ignored ones. A static text is a
        node without a role whose text is its name, which is set on it here."""
        found = []
        for child in (tree[i] for i in node.get("childIds", []) if i in tree):
            if child.get("ignored"):
                found += self.items(tree, child)
            elif self.value(child, "role") == "button":
                found.append(child)
            elif self.value(child, "role") == "generic":
                texts = [tree[i] for i in child.get("childIds", []) if i in tree]
                name = "".join(self.value(text, "name") or "" for text in texts
                               if self.value(text, "role") == "StaticText")
                found.append(dict(child, role={"value": "text"}, name={"value": name}))
        return found

    def menu(self):
        """The menu's container as (name, its items' nodes), or (None, []) when the tree
        shows none."""
        tree = self.tree()
        for node in tree.values():
            if self.value(node, "role") == "application" and not node.get("ignored"):
                return self.value(node, "name"), self.items(tree, node)
        return None, []

    def summary(self, node, focus=False):
        """role, name, description, shortcut, disabled (None where a text has none), and
        whether it has the focus when asked."""
        props = self.properties(node)
        disabled = props.get("disabled", False) if self.value(node, "role") == "button" else None
        summary = (self.value(node, "role"), self.value(node, "name"),
                   self.value(node, "description"), props.get("keyshortcuts"), disabled)
        return summary + (bool(props.get("focused")),) if focus else summary

    def focused(self):
        return [self.value(node, "name") for node in self.menu()[1]
                if self.properties(node).get("focused")]

    def press(self, name):
        """The element of that name pressed as a screen reader's default action does: a
        click on the element itself, found through the tree."""
        node = next(node for node in self.menu()[1] if self.value(node, "name") == name)
        target = self.driver.execute_cdp_cmd(
            "DOM.resolveNode", {"backendNodeId": node["backendDOMNodeId"]})
        self.driver.execute_cdp_cmd("Runtime.callFunctionOn", {
            "objectId": target["object"]["objectId"],
            "functionDeclaration": "function () { this.click(); }"})

    def test_every_item_is_a_named_node_with_its_role(self):
        cases = [
            (self.demo, DEMO_TITLE, DEMO_ITEMS),
            # The title's "&" is no access key; an item that does nothing is text.
            (self.quiet, "Quiet & calm", QUIET_ITEMS),
        ]
        for server, title, expected in cases:
            with self.subTest(title=title):
                self.open(server, title)
                self.assertEqual(expected, [self.summary(node) for node in self.menu()[1]])
        # Each element lies over its item, where the pointer still reaches the canvas.
        self.open(self.demo, DEMO_TITLE)
        inside = self.driver.execute_script(
            "const canvas = document.querySelector('#desktop canvas').getBoundingClientRect();"
            "const item = document.querySelector('.access-layer > div').getBoundingClientRect();"
            "const x = canvas.left + arguments[0], y = canvas.top + arguments[1];"
            "return item.left <= x && x < item.right && item.top <= y && y < item.bottom &&"
            "       document.elementFromPoint(x, y).tagName;", *README_ITEM)
        self.assertEqual("CANVAS", inside)

    def tab(self, backwards=False):
        """Tab, or Shift+Tab, as the keyboard sends it."""
        for kind in ("keyDown", "keyUp"):
            self.driver.execute_cdp_cmd("Input.dispatchKeyEvent", {
                "type": kind, "key": "Tab", "code": "Tab", "windowsVirtualKeyCode": 9,
                "modifiers": 8 if backwards else 0})

    def test_the_focused_node_follows_the_players_focus(self):
        names = [item[1] for item in DEMO_ITEMS]
        cases = [
            # Tab presses (False) and Shift+Tab presses (True), the item focused afterwards
            ([False], names[0]),
            ([False] * 3, names[2]),
            ([False] * 3 + [True], names[1]),
            ([True], names[-1]),
        ]
        for presses, expected in cases:
            with self.subTest(presses=presses, expected=expected):
                self.open(self.demo, DEMO_TITLE)
                self.assertEqual([], self.focused())
                for backwards in presses:
                    self.tab(backwards)
                self.wait_for(lambda: self.focused() == [expected], "the focus on " + expected)

    def launches(self):
        launch = self.driver.find_element(By.ID, "launch")
        return launch.is_displayed() and self.driver.find_element(By.ID, "launch-count").text

    def test_pressing_an_element_acts_once(self):
        self.open(self.demo, DEMO_TITLE)
        self.press(DEMO_ITEMS[0][1])
        self.wait_for(lambda: self.launches(), "the launch of the read-me")
        time.sleep(0.5)  # for any second launch
        self.assertEqual("1", self.launches())
        # Another menu replaces the elements and the container's name.
        self.press(DEMO_ITEMS[2][1])
        self.wait_for(lambda: self.menu()[0] == SECOND_TITLE, "the second menu")
        self.assertEqual(SECOND_NAMES, [self.value(node, "name") for node in self.menu()[1]])
        # The keys still reach the player: its focus moves over the new elements.
        self.tab()
        self.wait_for(lambda: self.focused() == [SECOND_NAMES[0]], "the focus on the new items")


def main():
    def set_arguments(arguments):
        global ARGS
        ARGS = arguments
    run_page_tests(set_arguments)


if __name__ == "__main__":
    main()

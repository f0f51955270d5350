"""End-to-end checks of what menu items do, run under Wine on the test's X display.

A test disc is built from TOML with the authoring tool (run through Wine) and played from a
drive letter of its own, so that "%CD%", "\\" targets and the search for a missing file
work on a small drive. Launched programs are a recorder program that writes its working
folder and arguments to launches.txt beside itself; Wine's `exec` trace shows every shell
request with its verb, file, parameters, folder and window state.

Usage: actions_e2e.py CASE PLAYER_EXE PACK_EXE RECORDER_EXE [DEFAULT_WINEPREFIX]
"""

import os
import re
import shutil
import signal
import subprocess
import tempfile
import time

from player_harness import RemovedAfterUse, _unescape, _xdotool, case_and_arguments, wine
from window_e2e import expect, menu_window, windows_path
from window_session import Session, click, key, mouse_to, wait_until

TRACE = "+debugstr,trace+win,trace+exec,trace+winmm"
MAIN_TITLE = "Actions Test"
MAIN_SIZE = (320, 300)
ITEM_SIZE = (220, 18)
SW_HIDE, SW_SHOWNORMAL, SW_SHOWMAXIMIZED = 0, 1, 3

_SHELL_REQUEST = re.compile(
    r'trace:exec:SHELL_execute mask=0x00000440 .*verb=L"(.*?)" file=L"(.*?)" '
    r'parm=L"(.*?)" dir=L"(.*?)" show=0x([0-9a-f]+)')
# Logged after each try of the shell to start a program, with its result: above 32 when
# started. A document is first tried as a program (error 193), then opened by its program.
_SHELL_TRIED = re.compile(r"^(\w+):trace:exec:SHELL_ExecuteW returning (\d+)")
# Every PlaySound call, on the thread that makes it.
_SOUND_ASKED = re.compile(r"^(\w+):trace:winmm:MULTIMEDIA_PlaySound ")
_SHOWN = re.compile(r"trace:win:show_window hwnd=(\w+), cmd=(\d+)")


def text_item(caption, target, parameters="", **fields):
    return dict(kind="text", caption=caption, target=target, parameters=parameters, **fields)


def toml_value(value):
    if isinstance(value, bool):
        return "true" if value else "false"
    if isinstance(value, (list, tuple)):
        return "[%s]" % ", ".join(toml_value(v) for v in value)
    if isinstance(value, int):
        return str(value)
    # Literal strings: backslashes as written; the texts here hold no single quote.
    return "'%s'" % value


def menu_source(title, background, items):
    """A menu's TOML; items are placed in a column unless they say where."""
    lines = ["title = %s" % toml_value(title), "background = %s" % toml_value(background)]
    for number, item in enumerate(items):
        lines.append("\n[[item]]")
        item = dict(item)
        item.setdefault("position", [20, 20 + 22 * number])
        item.setdefault("size", list(ITEM_SIZE))
        lines += ["%s = %s" % (k, toml_value(v)) for k, v in item.items()]
    return "\n".join(lines) + "\n"


class Disc(RemovedAfterUse):
    """The test disc in a temporary folder that Wine sees as a drive of its own."""

    def __init__(self, player_exe, pack_exe, recorder_exe):
        self.folder = tempfile.mkdtemp(prefix="ambrevo-actions-e2e-")
        self.root = os.path.join(self.folder, "disc")
        self.source = os.path.join(self.folder, "source")
        for path in [self.source, os.path.join(self.root, "tools"),
                     os.path.join(self.root, "docs")]:
            os.makedirs(path)
        self.link = None
        self.drive = self._map_drive()
        # A document type of this run only, opened by the recorder.
        self.extension = "ae2e%d" % os.getpid()
        try:
            self._prepare(player_exe, pack_exe, recorder_exe)
        except BaseException:
            self.remove()  # no drive letter or document type left behind in the prefix
            raise

    def _prepare(self, player_exe, pack_exe, recorder_exe):
        self.recorder = self.drive + ":\\tools\\recorder.exe"
        shutil.copyfile(recorder_exe, os.path.join(self.root, "tools", "recorder.exe"))
        for name in ["manual." + self.extension, "guide.xyz", "notes.qqq"]:
            with open(os.path.join(self.root, "docs", name), "w") as out:
                out.write("a document\n")
        self._write_sources()
        self.exe = os.path.join(self.root, "setup.exe")
        subprocess.run([*wine(pack_exe), "build",
                        windows_path(os.path.join(self.source, "package.toml")),
                        "--player", windows_path(player_exe), "-o", windows_path(self.exe)],
                       check=True, timeout=120, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        self._registry("[HKEY_CLASSES_ROOT\\.%s]\n@=\"%s.document\"\n\n"
                       "[HKEY_CLASSES_ROOT\\%s.document\\shell\\open\\command]\n"
                       "@=\"\\\"%s\\\" \\\"%%1\\\"\"\n" % (
                           self.extension, self.extension, self.extension,
                           self.recorder.replace("\\", "\\\\")))

    def _map_drive(self):
        """The first free drive letter from M:, linked to the disc's root folder."""
        devices = os.path.join(os.environ["WINEPREFIX"], "dosdevices")
        for letter in "mnopqrstuvwxy":
            link = os.path.join(devices, letter + ":")
            try:
                os.symlink(self.root, link)
            except FileExistsError:
                continue
            self.link = link
            return letter.upper()
        raise RuntimeError("no free drive letter in " + devices)

    def _registry(self, text):
        path = os.path.join(self.folder, "classes.reg")
        with open(path, "w") as out:
            out.write("REGEDIT4\n\n" + text)
        subprocess.run(wine("regedit", "/S", windows_path(path)), check=True, timeout=60,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def _write_sources(self):
        for name, size in [("main", MAIN_SIZE), ("small", (240, 160))]:
            subprocess.run(["convert", "-size", "%dx%d" % size, "xc:#203040",
                            os.path.join(self.source, name + ".png")], check=True, timeout=60)
        ext = self.extension
        recorder = "\\tools\\recorder.exe"
        menus = {
            "main": menu_source(MAIN_TITLE, "main.png", [
                text_item("Document", "%docs/manual." + ext),
                text_item("Program", recorder, "/switch %CD%:\\data", show="maximized"),
                text_item("Web", "www.example.org/page", "dropped"),
                text_item("Mail", "mailto:someone@example.org", auto_restore=True),
                text_item("Hidden run", "%NOPROC%%CD%:" + recorder, "/ignored",
                          show="maximized"),
                text_item("Folder", "%docs\\", auto_restore=True),
                text_item("Missing", "%docs/missing." + ext),
                text_item("Fallback", "%docs/guide.xyz"),
                text_item("No viewer", "%docs/notes.qqq"),
                text_item("Switch", "Second.MNU"),
                text_item("Auto restore", recorder, "/linger 3000",
                          minimize_after_launch=True, auto_restore=True),
            ]),
            "second": menu_source(MAIN_TITLE + " - Second", "small.png", [
                text_item("Exit", "", exit_after_launch=True)]),
            "xyz": menu_source(MAIN_TITLE + " - XYZ", "small.png", [
                text_item("Nothing", "*")]),
            "keys": menu_source(MAIN_TITLE + " - Keys", "main.png", [
                text_item("&Alpha", recorder, "/key alpha"),
                text_item("Beta", recorder, "/key beta"),
                text_item("&Gamma", recorder, "/key gamma"),
                dict(kind="button", caption="&Push", target=recorder, parameters="/key push",
                     size=[80, 26]),
            ]),
        }
        for name, text in menus.items():
            with open(os.path.join(self.source, name + ".toml"), "w") as out:
                out.write(text)
        with open(os.path.join(self.source, "package.toml"), "w") as out:
            out.write("menus = [%s]\n" % ", ".join('"%s.toml"' % m for m in menus))

    def launches(self):
        """The recorder's lines so far: working folder, then the arguments."""
        path = os.path.join(self.root, "tools", "launches.txt")
        if not os.path.exists(path):
            return []
        with open(path) as lines:
            return [tuple(line.rstrip("\n").split("|")) for line in lines]

    def remove(self):
        try:
            self._registry("[-HKEY_CLASSES_ROOT\\.%s]\n[-HKEY_CLASSES_ROOT\\%s.document]\n" % (
                self.extension, self.extension))
        finally:
            if self.link:
                os.remove(self.link)
            shutil.rmtree(self.folder, ignore_errors=True)


class Play:
    """The disc's player started from its drive letter, with the exec trace."""

    def __init__(self, disc, *arguments):
        self.session = Session(disc.exe, *arguments, trace=TRACE,
                               run_as=disc.drive + ":\\setup.exe")

    def trace(self):
        with open(self.session.trace_path, "rb") as trace:
            return trace.read().decode("latin-1").splitlines()

    def shell_requests(self):
        """(verb, file, parameters, folder, show) of each shell request of the player."""
        return [(_unescape(m.group(1)), _unescape(m.group(2)), _unescape(m.group(3)),
                 _unescape(m.group(4)), int(m.group(5), 16))
                for m in map(_SHELL_REQUEST.search, self.trace()) if m]

    def settle(self):
        """Waits until the action of every shell request has launched its program: a choice
        made while an action runs is dropped. The shell has started the program (a try that
        failed, as a document's direct start, does not count), and the action has then
        played its click sound, its last step before it ends in a few rounds of messages."""
        def settled():
            waiting = {}  # thread: what its latest request still waits for
            for line in self.trace():
                thread = line.split(":")[0]
                tried, sound = _SHELL_TRIED.search(line), _SOUND_ASKED.search(line)
                if _SHELL_REQUEST.search(line):
                    waiting[thread] = "start"
                elif tried and waiting.get(thread) == "start" and int(tried.group(2)) > 32:
                    waiting[thread] = "click sound"
                elif sound and waiting.get(thread) == "click sound":
                    del waiting[thread]
            return not waiting
        wait_until(settled, 20, "the launches to end")
        time.sleep(0.3)  # the action's last rounds of messages, which show nothing outside

    def window(self, size=MAIN_SIZE):
        return menu_window(self.session, size)

    def choose(self, n, size=MAIN_SIZE):
        """Clicks text item n of the menu window of that size."""
        left, top = self.session.geometry(self.window(size))[:2]
        mouse_to(left + 40, top + 20 + 22 * (n - 1) + ITEM_SIZE[1] // 2)
        click()

    def requests_after(self, count, what):
        """The shell requests after the first count, once there is one."""
        return wait_until(lambda: self.shell_requests()[count:], 20, what)

    def restores(self):
        """How often the player's window was restored (ShowWindow with SW_RESTORE)."""
        return sum(1 for m in map(_SHOWN.search, self.trace()) if m and m.group(2) == "9")

    def menu_visible(self, size=MAIN_SIZE):
        return any(self.session.geometry(w)[2:] == size for w in self.session.windows(".*"))

    def stop(self):
        self.session.stop()


def other_windows(session, name):
    """Process ids of programs other than the player showing a window of that name."""
    own = str(session.process.pid)
    return {pid for window in _xdotool("search", "--all", "--onlyvisible", "--name",
                                       "^%s$" % name)
            for pid in _xdotool("getwindowpid", window) if pid != own}


def case_shell_targets(disc):
    d = disc.drive + ":\\"
    expected = {
        1: ("open", d + "docs\\manual." + disc.extension, "", d + "docs\\", SW_SHOWNORMAL),
        2: ("open", d + "tools\\recorder.exe", "/switch %s:\\data" % disc.drive, d + "tools\\",
            SW_SHOWMAXIMIZED),
        3: ("open", None, '"www.example.org/page"', "", SW_SHOWNORMAL),
        4: ("open", "mailto:someone@example.org", "", "", SW_SHOWNORMAL),
        5: ("open", d + "tools\\recorder.exe", "", d + "tools\\", SW_HIDE),
        6: ("explore", d + "docs\\", "", d + "docs\\", SW_SHOWNORMAL),
    }
    play = Play(disc)
    try:
        play.window()
        for n, want in expected.items():
            count = len(play.shell_requests())
            play.choose(n)
            got = play.requests_after(count, "the shell request of item %d" % n)
            if want[1] is None:  # the browser the shell names for web pages
                want = (want[0], got[0][1]) + want[2:]
                expect(got[0][1].lower().endswith(".exe"), "a browser program: %r" % got)
            expect(got == [want], "item %d: %r, expected %r" % (n, got, want))
            play.settle()
        wait_until(lambda: other_windows(play.session, "docs"), 20, "the folder's window")
        # The folder and the mail address are not watched although their items ask for it.
        time.sleep(1.5)
        expect(play.restores() == 0, "nothing waited for the folder or the mail program")
        want = sorted([(d + "docs", d + "docs\\manual." + disc.extension),
                       (d + "tools", "/switch", disc.drive + ":\\data"),
                       (d + "tools",)])
        wait_until(lambda: len(disc.launches()) >= 3, 20, "three launches recorded")
        expect(sorted(disc.launches()) == want, "launches: %r" % disc.launches())
        expect(not play.session.boxes(), "no message box: %r" % play.session.boxes())
    finally:
        play.stop()
        for pid in other_windows(play.session, "docs"):  # the folder window the player opened
            os.kill(int(pid), signal.SIGTERM)


def case_failed_launches(disc):
    play = Play(disc)
    try:
        play.window()
        # Each action ends as its message box closes.
        play.choose(7)  # a file that neither the disc nor the search holds
        play.session.dismiss_box("Ambrevo")
        time.sleep(0.3)
        play.choose(9)  # a document type that nothing opens
        play.session.dismiss_box("Ambrevo")
        time.sleep(0.3)
        expect(play.session.boxes() == [
            ("Ambrevo", "Ambrevo cannot find the specified file:\r\r%docs/missing." +
             disc.extension),
            ("Ambrevo", "You do not appear to have a suitable viewer (or version) able to open "
             "the file:\r\n\r\n%docs/notes.qqq")], "messages: %r" % play.session.boxes())
        # A document type that nothing opens, with a menu of its own in the package.
        play.choose(8)
        play.session.wait_for_window(re.escape(MAIN_TITLE + " - XYZ"))
        d = disc.drive + ":\\"
        files = [request[1] for request in play.shell_requests()]
        expect(files == [d + "docs\\missing." + disc.extension, d + "docs\\notes.qqq",
                         d + "docs\\guide.xyz"], "shell requests: %r" % files)
        expect(len(play.session.boxes()) == 2, "no more messages: %r" % play.session.boxes())
        expect(not disc.launches(), "nothing was launched: %r" % disc.launches())
    finally:
        play.stop()


def case_menu_switch_and_exit(disc):
    play = Play(disc)
    try:
        play.window()
        play.choose(10)
        second = play.session.wait_for_window(re.escape(MAIN_TITLE + " - Second"))
        expect(play.session.geometry(second)[2:] == (240, 160), "the second menu's size")
        play.choose(1, size=(240, 160))
        expect(play.session.ended(15), "the exit item ends the program")
        expect(play.session.process.returncode == 0,
               "exit code %r" % play.session.process.returncode)
        expect(not play.shell_requests(), "no shell request: %r" % play.shell_requests())
        expect(not play.session.boxes(), "no message box: %r" % play.session.boxes())
    finally:
        play.stop()


def case_auto_restore(disc):
    linger = 3.0
    play = Play(disc)
    try:
        play.window()
        play.choose(11)
        wait_until(disc.launches, 20, "the program launched")
        launched = time.monotonic()
        wait_until(lambda: not play.menu_visible(), 10, "the menu minimised")
        time.sleep(linger / 2)
        expect(not play.menu_visible() and play.restores() == 0,
               "the menu stays minimised while the program runs")
        play.session.wait_for(play.menu_visible, linger + 10, "the menu restored")
        expect(time.monotonic() - launched > linger - 0.5,
               "restored once the program had ended")
        expect(play.restores() == 1, "one restore: %d" % play.restores())
        time.sleep(1)
        expect(play.menu_visible() and play.restores() == 1, "the watch has ended")
        expect(disc.launches() == [(disc.drive + ":\\tools", "/linger", "3000")],
               "launches: %r" % disc.launches())
    finally:
        play.stop()


def case_keys_and_button(disc):
    play = Play(disc, "keys.mnu")
    try:
        left, top = play.session.geometry(play.window())[:2]
        mouse_to(left + MAIN_SIZE[0] - 10, top + MAIN_SIZE[1] - 10)  # the background
        click()
        # No item has the keyboard focus before the first Tab, which launches nothing.
        presses = [(["Tab"], None),
                   (["2"], "beta"),  # a digit launches its item
                   (["Up", "Return"], "alpha"),  # the arrow moves the focus, Enter launches
                   (["g"], "gamma"),  # a mnemonic
                   (["9", "0"], None),  # digits of no item
                   ("push", "push")]  # the push button clicked
        for keys, launched in presses:
            count = len(disc.launches())
            if keys == "push":
                mouse_to(left + 40, top + 20 + 22 * 3 + 13)
                click()
            else:
                key(*keys)
            if launched:
                wait_until(lambda: len(disc.launches()) > count, 20, "a launch by %s" % keys)
                play.settle()
        time.sleep(1.5)
        folder = disc.drive + ":\\tools"
        want = [(folder, "/key", word) for word in ["beta", "alpha", "gamma", "push"]]
        expect(disc.launches() == want, "one launch per key or click: %r" % disc.launches())
        expect(not play.session.boxes(), "no message box: %r" % play.session.boxes())
    finally:
        play.stop()


def main():
    case, (player_exe, pack_exe, recorder_exe) = case_and_arguments(
        globals(), ["PLAYER_EXE", "PACK_EXE", "RECORDER_EXE"])
    with Disc(player_exe, pack_exe, recorder_exe) as disc:
        case(disc)


if __name__ == "__main__":
    main()

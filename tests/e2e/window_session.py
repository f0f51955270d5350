"""A running player under Wine whose window a test looks at and drives.

Standard library only, plus Xvfb's tools: xdotool finds windows and moves the mouse,
ImageMagick's `import` takes screenshots and `convert` reads pictures as raw pixels.
"""

import os
import re
import subprocess
import time

from player_harness import _click_ok, _message_boxes, _xdotool, linger_wine_server, wine

WINDOW_SECONDS = 20  # for a window to appear, Wine start-up included
REPORTED_ERRORS = 8  # Wine's last error lines in a failure's report


class Image:
    """Raw 8-bit RGB pixels, row by row from the top."""

    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def crop(self, left, top, width, height):
        rows = [self.rgb[((top + y) * self.width + left) * 3:
                         ((top + y) * self.width + left + width) * 3] for y in range(height)]
        return Image(width, height, b"".join(rows))

    def difference(self, left, top, other, step=4):
        """Mean difference per channel between `other` and this image's area at left, top,
        over every step-th pixel of `other`."""
        total = count = 0
        for y in range(0, other.height, step):
            for x in range(0, other.width, step):
                a, b = self.pixel(left + x, top + y), other.pixel(x, y)
                total += sum(abs(p - q) for p, q in zip(a, b))
                count += 3
        return total / max(count, 1)


def read_picture(path):
    """A picture file as an Image (its transparent pixels with their stored colour)."""
    size = subprocess.run(["identify", "-format", "%w %h", path], check=True,
                          stdout=subprocess.PIPE, timeout=30).stdout.split()
    rgb = subprocess.run(["convert", path, "-alpha", "off", "-depth", "8", "rgb:-"],
                         check=True, stdout=subprocess.PIPE, timeout=30).stdout
    return Image(int(size[0]), int(size[1]), rgb)


def resized(image, width, height):
    """The image enlarged smoothly by ImageMagick (its default filter for enlarging)."""
    rgb = subprocess.run(["convert", "-size", "%dx%d" % (image.width, image.height),
                          "-depth", "8", "rgb:-", "-resize", "%dx%d!" % (width, height),
                          "-depth", "8", "rgb:-"],
                         input=image.rgb, check=True, stdout=subprocess.PIPE,
                         timeout=30).stdout
    return Image(width, height, rgb)


def edge_sharpness(image):
    """The mean gradient magnitude of the brightness, each pixel weighted by its own
    gradient: the steepness of the edges, whatever their length. A step edge blurred over
    w pixels scores its contrast / w."""
    def brightness(x, y):
        r, g, b = image.pixel(x, y)
        return 0.299 * r + 0.587 * g + 0.114 * b
    total = weighted = 0.0
    for y in range(image.height - 1):
        for x in range(image.width - 1):
            here = brightness(x, y)
            gradient = abs(brightness(x + 1, y) - here) + abs(brightness(x, y + 1) - here)
            total += gradient
            weighted += gradient * gradient
    return weighted / max(total, 1.0)


def screenshot():
    size = _xdotool("getdisplaygeometry")
    rgb = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"], check=True,
                         stdout=subprocess.PIPE, timeout=30).stdout
    return Image(int(size[0]), int(size[1]), rgb)


def wait_until(condition, seconds, what):
    deadline = time.monotonic() + seconds
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise TimeoutError("gave up waiting for " + what)
        time.sleep(0.1)


class Session:
    """The player started from `exe` in its own folder; stop() ends it. `trace` is the
    WINEDEBUG setting whose output the session keeps; `run_as` is the path Wine starts the
    program by, when not exe (a drive letter mapped to its folder)."""

    def __init__(self, exe, *arguments, trace="+debugstr,trace+win", run_as=None):
        linger_wine_server()
        folder = os.path.dirname(os.path.abspath(exe))
        self.trace_path = os.path.join(folder, "wine-trace-%d.log" % time.monotonic_ns())
        env = dict(os.environ, WINEDEBUG=trace)
        with open(self.trace_path, "wb") as trace:
            self.process = subprocess.Popen(
                wine(run_as or exe, *arguments), cwd=folder, env=env,
                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=trace)

    def windows(self, name):
        """Visible windows of the player whose whole name matches the pattern."""
        return _xdotool("search", "--all", "--onlyvisible", "--pid", str(self.process.pid),
                        "--name", "^(%s)$" % name)

    def wait_for(self, condition, seconds, what):
        """Like wait_until, for what the running player should show: fails at once when the
        player ends first, and says what the player showed when the time runs out."""
        deadline = time.monotonic() + seconds
        while True:
            value = condition()
            if value:
                return value
            if self.process.poll() is not None:
                raise AssertionError("the player ended (exit code %d) before %s%s" % (
                    self.process.returncode, what, self.report()))
            if time.monotonic() > deadline:
                raise TimeoutError("gave up waiting %g s for %s%s" % (
                    seconds, what, self.report()))
            time.sleep(0.1)

    def report(self):
        """What the player showed so far: its visible windows, its message boxes and Wine's
        errors (a program that Windows refuses to start says why there)."""
        shown = [self.window_name(w) for w in self.windows(".*")]
        with open(self.trace_path, "rb") as trace:
            lines = trace.read().decode("latin-1").splitlines()
        errors = [line for line in lines if ":err:" in line or line.startswith("wine:")]
        return "; its windows: %r; its message boxes: %r; Wine's errors: %r" % (
            shown, _message_boxes(lines), errors[-REPORTED_ERRORS:])

    def wait_for_window(self, name):
        return self.wait_for(lambda: self.windows(name), WINDOW_SECONDS, "a window " + name)[0]

    def geometry(self, window):
        """left, top, width, height of the window on the screen."""
        values = dict(line.split("=") for line in
                      _xdotool("getwindowgeometry", "--shell", window) if "=" in line)
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    def window_name(self, window):
        done = subprocess.run(["xdotool", "getwindowname", window], stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, timeout=10)
        return done.stdout.decode("latin-1").rstrip("\n")

    def boxes(self):
        """(title, text) of each message box shown so far."""
        with open(self.trace_path, "rb") as trace:
            return _message_boxes(trace.read().decode("latin-1").splitlines())

    def dismiss_box(self, title):
        """Clicks OK on the player's next message box of that title, waiting for it."""
        box = self.wait_for_window(re.escape(title))
        _click_ok(box)
        self.wait_for(lambda: box not in self.windows(re.escape(title)), WINDOW_SECONDS,
                      "the message box to close")

    def ended(self, seconds):
        """True when the player ends within the time."""
        try:
            self.process.wait(timeout=seconds)
            return True
        except subprocess.TimeoutExpired:
            return False

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()  # only the process this session started
            self.process.wait()


def mouse_to(x, y):
    _xdotool("mousemove", str(x), str(y))


def click(button=1):
    _xdotool("click", str(button))


def key(*names):
    _xdotool("key", *names)

#!/usr/bin/python3
"""The designer's answer to a drag in headless Chromium: the time from releasing a dragged
item to the first frame of the menu built from the edited source (targets: 300 ms on the
demo, 1 s on the load benchmark's rich menu), median of several drags, each 10 pixels to
the right and back; and, on the rich menu, the page's frame rate while an item is dragged
for 2 seconds (target: the display's rate, as the page's frames measure it while idle).

  bench/designer_drag.py --pack build/native/ambrevo-pack --site build/web/site \
      --demo examples/demo --disc-maker build/native/bench/rich_menu_disc \
      --player build/win64/ambrevo.exe [--runs 9]

The rich menu's sources are extracted from the disc program the benchmark's maker writes.
Times are the wall clock's: the release as the driver finishes it, the frame as the page's
time origin plus the time the player painted the new build (or, when the page had to
reload, the reloaded page's first frame).
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "web"))
from browser_session import chromium, missing_browser  # noqa: E402
from selenium.webdriver.common.action_chains import ActionChains  # noqa: E402

TARGETS_MS = {"demo": 300, "rich menu": 1000}
DRAG_SECONDS = 2
# The page's frame times (requestAnimationFrame) from now until window.frameTimes.stop().
RECORD_FRAMES = (
    "const times = []; let on = true;"
    "const tick = (t) => { times.push(t); if (on) requestAnimationFrame(tick); };"
    "requestAnimationFrame(tick);"
    "window.frameTimes = { stop() { on = false; return times; } };")


def start_edit(pack, source, site):
    process = subprocess.Popen([pack, "edit", source, "--port", "0", "--site", site],
                               stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    for line in process.stdout:
        if line.startswith("Serving "):
            return process, line.split()[1]
    sys.exit("ambrevo-pack edit did not start on " + source)


def page_frame(driver, after):
    """The wall-clock time of the first frame painted after `after`: the new build's, shown
    by the running player, or the first of a page that reloaded."""
    deadline = time.monotonic() + 60
    while time.monotonic() < deadline:
        try:
            origin, frame, rebuilt, items = driver.execute_script(
                "const a = window.ambrevo; return [performance.timeOrigin, a && a.firstFrame,"
                " a && a.rebuiltFrame, document.querySelectorAll('.editor-item').length]")
        except Exception:
            origin, frame, rebuilt, items = 0, None, None, 0
        if items and origin > after and frame is not None:
            return origin + frame
        if items and rebuilt is not None and origin + rebuilt > after:
            return origin + rebuilt
        time.sleep(0.005)
    sys.exit("no new frame within 60 s of a drag")


def drag_times(driver, url, runs):
    driver.get(url)
    page_frame(driver, 0)
    times = []
    for run in range(runs):
        item = driver.execute_script(
            "const m = window.ambrevo.designer; return m.item(1)")
        layer = driver.find_element("css selector", ".editor-layer")
        size = layer.size
        x = item["position"][0] + min(item["size"][0], 20) // 2
        y = item["position"][1] + min(item["size"][1], 20) // 2
        step = 10 if run % 2 == 0 else -10
        ActionChains(driver).move_to_element_with_offset(
            layer, x - size["width"] // 2, y - size["height"] // 2).click_and_hold() \
            .move_by_offset(step // 2, 0).move_by_offset(step - step // 2, 0).release().perform()
        released = time.time() * 1000
        times.append(page_frame(driver, released - 50) - released)
    return times


def frame_rate(times):
    """Frames a second over the times given, and the longest frame in ms."""
    deltas = [b - a for a, b in zip(times, times[1:])]
    return 1000 * len(deltas) / (times[-1] - times[0]), max(deltas)


def recorded(driver, action):
    driver.execute_script(RECORD_FRAMES)
    action()
    return frame_rate(driver.execute_script("return window.frameTimes.stop()"))


def drag_frame_rates(driver, url):
    """The page's frame rate while idle (the display's) and while the first item is dragged
    to and fro for DRAG_SECONDS, a pointer move each 1/60 s; the drag ends where it began,
    so nothing is written."""
    driver.get(url)
    page_frame(driver, 0)
    item = driver.execute_script("return window.ambrevo.designer.item(1)")
    layer = driver.find_element("css selector", ".editor-layer")
    size = layer.size
    x = item["position"][0] + min(item["size"][0], 20) // 2
    y = item["position"][1] + min(item["size"][1], 20) // 2
    idle = recorded(driver, lambda: time.sleep(1))
    drag = ActionChains(driver, duration=0).move_to_element_with_offset(
        layer, x - size["width"] // 2, y - size["height"] // 2).click_and_hold()
    steps = DRAG_SECONDS * 60
    for step in range(steps):
        drag.move_by_offset(1 if step % 40 < 20 else -1, 0).pause(1 / 60)
    dragging = recorded(driver, drag.perform)
    ActionChains(driver).release().perform()
    return idle, dragging


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--pack", required=True)
    parser.add_argument("--site", required=True)
    parser.add_argument("--demo", required=True)
    parser.add_argument("--disc-maker", required=True)
    parser.add_argument("--player", required=True)
    parser.add_argument("--runs", type=int, default=9)
    args = parser.parse_args()
    if missing_browser():
        sys.exit("missing " + ", ".join(missing_browser()))
    folder = tempfile.mkdtemp(prefix="ambrevo-designer-bench-")
    try:
        demo = os.path.join(folder, "demo")
        shutil.copytree(args.demo, demo)
        program = os.path.join(folder, "rich.exe")
        subprocess.run([args.disc_maker, args.player, program], check=True)
        rich = os.path.join(folder, "rich")
        subprocess.run([args.pack, "extract", program, "-o", rich], check=True,
                       stdout=subprocess.DEVNULL)
        sources = {"demo": os.path.join(demo, "package.toml"),
                   "rich menu": os.path.join(rich, "package.toml")}
        driver = chromium(os.path.join(folder, "profile"))
        failed = False
        try:
            for name, source in sources.items():
                process, url = start_edit(args.pack, source, args.site)
                try:
                    times = drag_times(driver, url, args.runs)
                    rates = drag_frame_rates(driver, url) if name == "rich menu" else None
                finally:
                    process.kill()
                    process.wait()
                median = statistics.median(times)
                target = TARGETS_MS[name]
                verdict = "ok" if median <= target else "OVER"
                failed |= median > target
                print("%-10s drag to new frame: median %6.0f ms of %d (min %.0f, max %.0f), "
                      "%.2f x its %d ms target  %s" % (name, median, len(times), min(times),
                                                       max(times), median / target, target,
                                                       verdict))
                if rates:
                    (display, _), (rate, longest) = rates
                    slow = rate < 0.95 * display
                    failed |= slow
                    print("%-10s overlay during a %d s drag: %5.1f frames/s (display %.1f), "
                          "longest frame %.0f ms  %s" % (name, DRAG_SECONDS, rate, display,
                                                         longest, "OVER" if slow else "ok"))
        finally:
            driver.quit()
        sys.exit(1 if failed else 0)
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()

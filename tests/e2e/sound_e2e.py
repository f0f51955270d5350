"""End-to-end checks of the interface sounds, run under Wine on the test's X display.

Wine has no sound device here, but its multimedia trace shows every PlaySoundA call with
its flags, and for a clip played from memory the size of its RIFF chunk, which tells the
five built-in clips apart (their files are in resources/).

Usage: sound_e2e.py CASE PLAYER_EXE PACK_EXE DEMO_FOLDER RESOURCES_FOLDER [DEFAULT_WINEPREFIX]
"""

import os
import re
import shutil
import time

from player_harness import case_and_arguments
from window_e2e import ITEM_POSITIONS, Disc, expect, menu_window
from window_session import Session, key, mouse_to, read_picture, wait_until

TRACE = "+debugstr,trace+win,trace+winmm"
SND_ASYNC = 1
SND_WAIT = 0  # the flags of a file that is waited for
CLIPS = ["start", "select", "click", "change", "exit"]

_CALL = re.compile(r"trace:winmm:MULTIMEDIA_PlaySound pszSound='(\w+)' .*fdwSound=(\w+)")
_FILE_NAME = re.compile(r'trace:winmm:proc_PlaySound SoundName=L"([^\\].*)" !')
_MEMORY = re.compile(r"^(\w+):trace:winmm:proc_PlaySound Memory sound (\w+)")
_CHUNK = re.compile(r"^(\w+):trace:winmm:proc_PlaySound ParentChunk ckid=RIFF .*cksize=(\w+)")
_SHOWN = re.compile(r"trace:win:show_window hwnd=(\w+), cmd=(\d+)")


class Sound:
    def __init__(self, line, name, flags):
        self.line = line  # its place in the trace
        self.name = name  # a clip's name, or the file name given
        self.flags = flags

    def __repr__(self):
        return "%s@%d/%d" % (self.name, self.line, self.flags)


def clip_sizes(resources):
    """Built-in clip name by the size of its RIFF chunk."""
    return {os.path.getsize(os.path.join(resources, name + ".wav")) - 8: name for name in CLIPS}


def sounds_played(lines, clips):
    """Every PlaySoundA call in order. A clip is named by the size that the thread which
    played it found in it (its pointer stays the same for the whole run); a file by the
    next file name that a playing thread reports, since calls start their threads in turn."""
    pointer_of_thread, size_of_pointer, file_names = {}, {}, []
    for number, line in enumerate(lines):
        memory, chunk, file_name = _MEMORY.search(line), _CHUNK.search(line), _FILE_NAME.search(line)
        if memory:
            pointer_of_thread[memory.group(1)] = memory.group(2).lower()
        elif chunk and chunk.group(1) in pointer_of_thread:
            size_of_pointer[pointer_of_thread.pop(chunk.group(1))] = int(chunk.group(2), 16)
        elif file_name:
            file_names.append((number, file_name.group(1).replace("\\\\", "\\")))
    sounds = []
    for number, line in enumerate(lines):
        call = _CALL.search(line)
        if not call:
            continue
        pointer, flags = call.group(1).lower(), int(call.group(2), 16)
        if flags & 4:  # SND_MEMORY
            name = clips.get(size_of_pointer.get(pointer), "clip " + pointer)
        else:
            later = [i for i, (at, _) in enumerate(file_names) if at > number]
            name = file_names.pop(later[0])[1] if later else "file not yet reported"
        sounds.append(Sound(number, name, flags))
    return sounds


def trace_lines(session):
    with open(session.trace_path, "rb") as trace:
        return trace.read().decode("latin-1").splitlines()


def shown_windows_at(lines, end):
    """Windows shown (by their last show_window command) before line end."""
    shown = {}
    for line in lines[:end]:
        match = _SHOWN.search(line)
        if match:
            shown[match.group(1)] = match.group(2) != "0"
    return {window for window, visible in shown.items() if visible}


def open_menu(disc, session):
    background = disc.picture("main-background")
    window = menu_window(session, (background.width, background.height))
    return session.geometry(window)


def case_demo_sounds(disc, resources):
    clips = clip_sizes(resources)
    session = Session(disc.exe, trace=TRACE)
    try:
        left, top, _, _ = open_menu(disc, session)
        start = wait_until(lambda: [s for s in sounds_played(trace_lines(session), clips)
                                    if s.name == "start"], 20, "the start sound")[0]
        expect(start.flags == 7, "the start clip plays from memory without waiting: %r" % start)
        expect(shown_windows_at(trace_lines(session), start.line),
               "the start sound comes after the menu is shown")

        # Hover: the item's select sound, from memory, without waiting.
        time.sleep(0.5)
        before = len(sounds_played(trace_lines(session), clips))
        bx, by = ITEM_POSITIONS["browse"]
        mouse_to(left + bx + 100, top + by + 22)
        hover = wait_until(lambda: sounds_played(trace_lines(session), clips)[before:], 10,
                           "a sound on hover")
        expect([(s.name, s.flags) for s in hover] == [("select", 7)],
               "hover plays the select clip: %r" % hover)

        # Closing: the exit clip, waited for, is the last thing the player does.
        key("alt+F4")
        expect(session.ended(20), "the player ends after Alt+F4")
        lines = trace_lines(session)
        last = sounds_played(lines, clips)[-1]
        expect((last.name, last.flags) == ("exit", 6), "the exit clip is waited for: %r" % last)
        done = [n for n, line in enumerate(lines) if "proc_PlaySound Done playing" in line]
        expect(done and done[-1] > last.line, "the exit clip was played to its end")
        expect(session.process.returncode == 0, "a clean end: %r" % session.process.returncode)
    finally:
        session.stop()


def case_start_file_beside_the_program(disc, resources):
    clips = clip_sizes(resources)
    folder = os.path.join(disc.folder, "with-start-file")
    os.mkdir(folder)
    exe = os.path.join(folder, "setup.exe")
    shutil.copyfile(disc.exe, exe)
    shutil.copyfile(os.path.join(resources, "change.wav"), os.path.join(folder, "start.wav"))
    session = Session(exe, trace=TRACE)
    try:
        open_menu(disc, session)
        expected = "Z:" + folder.replace("/", "\\") + "\\start.wav"
        first = wait_until(lambda: [s for s in sounds_played(trace_lines(session), clips)
                                    if "start" in s.name], 20, "the start sound")
        expect([(s.name.lower(), s.flags) for s in first] == [(expected.lower(), SND_ASYNC)],
               "start.wav beside the program plays instead of the clip: %r" % first)
    finally:
        session.stop()


def main():
    case, (player_exe, pack_exe, demo_folder, resources) = case_and_arguments(
        globals(), ["PLAYER_EXE", "PACK_EXE", "DEMO_FOLDER", "RESOURCES_FOLDER"])
    with Disc(player_exe, pack_exe, demo_folder) as disc:
        case(disc, resources)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""The trainer as a learner uses it, on a real X server (Xvfb) with a French keyboard layout.

Starts Xvfb, sets the layout to French (AZERTY), starts the real program with its diagnostic log,
opens a copy of a sample lesson through Ctrl+O and the file dialog, types entries in
"Конспект-1" with physical key codes sent through XTEST (accents composed with Ctrl + accent
key), switches through the six modes, answers a question in "Экзамен-1", opens the dialogs and
closes the program with Alt+F4. Checks the log, screenshots of the typing line, the exit code 1
and that the lesson file is unchanged. Reads the title (_NET_WM_NAME) of the main window, of
every message box and of each dialog, and checks that after a box raised by a repaint or a key
the keyboard comes back to the window that had it with no window manager to hand it over.
Exits 77 (skipped) only when Xvfb is missing.

Usage: learner_e2e.py --verbaro PATH --lesson PATH [--artifacts DIR]
"""
import argparse
import ctypes
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

from e2e_common import (FRAME_TITLE, SKIP, Failure, ProgramSession, check, missing_tools,
                        private_homes, red_pixels, run_session, sanitizer_options, stop_process,
                        typed_lines)


# X keycodes (Linux evdev code + 8) of physical keys, named by their US key caps.
KEY = {
    "Escape": 9, "1": 10, "2": 11, "3": 12, "4": 13, "5": 14, "6": 15, "7": 16, "8": 17,
    "9": 18, "0": 19, "-": 20, "=": 21, "BackSpace": 22, "Tab": 23,
    "q": 24, "w": 25, "e": 26, "r": 27, "t": 28, "y": 29, "u": 30, "i": 31, "o": 32, "p": 33,
    "[": 34, "]": 35, "Return": 36, "Control": 37,
    "a": 38, "s": 39, "d": 40, "f": 41, "g": 42, "h": 43, "j": 44, "k": 45, "l": 46,
    ";": 47, "'": 48, "`": 49, "Shift": 50, "\\": 51,
    "z": 52, "x": 53, "c": 54, "v": 55, "b": 56, "n": 57, "m": 58, ",": 59, ".": 60, "/": 61,
    "Alt": 64, "space": 65, "F1": 67, "F2": 68, "F3": 69, "F4": 70, "F5": 71, "F6": 72,
    "F7": 73, "Home": 110, "Up": 111, "End": 115, "Down": 116,
}

# Accented letters of the Latin typing: the accent chord (keys held together), then the letter.
ACCENTS = {
    "é": (["Control", "'"], "e"), "è": (["Control", "`"], "e"), "ê": (["Control", "Shift", "6"], "e"),
    "ë": (["Control", "Shift", ";"], "e"), "à": (["Control", "`"], "a"),
    "â": (["Control", "Shift", "6"], "a"), "ç": (["Control", ","], "c"),
    "ô": (["Control", "Shift", "6"], "o"), "î": (["Control", "Shift", "6"], "i"),
    "ï": (["Control", "Shift", ";"], "i"), "ù": (["Control", "`"], "u"),
    "û": (["Control", "Shift", "6"], "u"), "ü": (["Control", "Shift", ";"], "u"),
    "œ": (["Control", "Shift", "7"], "o"),
}

# Window titles exactly as the program gives them, nothing appended. (xdotool finds windows by
# Latin letters only; the exact titles are read from _NET_WM_NAME.)
TITLE = "Verbaro, v"
BOX_CAPTIONS = ("Информация", "Ошибка", "wParam")




class XTest:
    """Key presses by X keycode through the XTEST extension."""

    def __init__(self, display):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.xtst = ctypes.CDLL("libXtst.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                                ctypes.c_ulong]
        self.x11.XInternAtom.restype = ctypes.c_ulong
        self.x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        self.x11.XGetWindowProperty.argtypes = [
            ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long, ctypes.c_long,
            ctypes.c_int, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
            ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong),
            ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_void_p)]
        self.x11.XFree.argtypes = [ctypes.c_void_p]
        self.x11.XGetInputFocus.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_ulong),
                                            ctypes.POINTER(ctypes.c_int)]
        self.display = self.x11.XOpenDisplay(display.encode())
        check(self.display, "cannot open display %s" % display)

    def close(self):
        self.x11.XCloseDisplay(self.display)

    def event(self, keycode, press):
        self.xtst.XTestFakeKeyEvent(self.display, keycode, 1 if press else 0, 0)
        self.x11.XSync(self.display, 0)
        time.sleep(0.03)

    def window_name(self, window):
        """The window's _NET_WM_NAME (UTF-8), the title a desktop shows; None when it has none."""
        name_atom = self.x11.XInternAtom(self.display, b"_NET_WM_NAME", 0)
        utf8_atom = self.x11.XInternAtom(self.display, b"UTF8_STRING", 0)
        actual_type, actual_format = ctypes.c_ulong(), ctypes.c_int()
        items, after, data = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_void_p()
        status = self.x11.XGetWindowProperty(
            self.display, int(window), name_atom, 0, 4096, 0, utf8_atom, ctypes.byref(actual_type),
            ctypes.byref(actual_format), ctypes.byref(items), ctypes.byref(after),
            ctypes.byref(data))
        if status != 0 or not data.value:
            return None
        try:
            return ctypes.string_at(data.value, items.value).decode("utf-8")
        finally:
            self.x11.XFree(data)

    def input_focus(self):
        """The window that has the X input focus (PointerRoot is 1, None 0)."""
        window, revert = ctypes.c_ulong(), ctypes.c_int()
        self.x11.XGetInputFocus(self.display, ctypes.byref(window), ctypes.byref(revert))
        return window.value

    def chord(self, *names):
        """Presses the keys in order and releases them in reverse order."""
        for name in names:
            self.event(KEY[name], True)
        for name in reversed(names):
            self.event(KEY[name], False)
        time.sleep(0.05)


class Session(ProgramSession):
    log_poll = 0.2

    def __init__(self, args, work):
        self.args = args
        self.work = work
        self.log_path = os.path.join(work, "verbaro.log")
        self.xvfb = None
        self.app = None
        self.display = None
        self.keys = None
        self.env = None
        self.boxes_closed = 0
        self.layout = "unchanged"  # the layout set_french_layout leaves
        # Whether the test hands the keyboard back to the frame after closing a box; without a
        # window manager only the program itself does it otherwise.
        self.refocus = True

    # ---- processes ----
    def start_xvfb(self):
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(
            # -noreset: an X server resets itself, keymap included, whenever its last client
            # leaves, which setxkbmap does before the program connects.
            ["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp", "-noreset", "-screen", "0",
             "1280x1024x24"], pass_fds=(write_end,), stdout=subprocess.DEVNULL,
            stderr=open(os.path.join(self.work, "xvfb.log"), "w"))
        os.close(write_end)
        number = b""
        deadline = time.time() + 20
        while not number.endswith(b"\n") and time.time() < deadline:
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_end)
        check(number.strip().isdigit(), "Xvfb did not report its display")
        self.display = ":" + number.decode().strip()
        self.env = dict(os.environ, DISPLAY=self.display)
        print("Xvfb on display", self.display)

    def run(self, *command, check_rc=True):
        result = subprocess.run(command, env=self.env, capture_output=True, text=True, timeout=30)
        if check_rc and result.returncode != 0:
            raise Failure("%s failed: %s" % (" ".join(command), result.stderr.strip()))
        return result.stdout

    def set_french_layout(self):
        """Switches the server to the French layout; returns the layout the server then has."""
        if not shutil.which("setxkbmap"):
            print("NOTE: setxkbmap is missing (package x11-xkb-utils); the layout stays as it is")
            self.layout = "unchanged"
            return "unchanged"
        self.run("setxkbmap", "fr")
        query = self.run("setxkbmap", "-query")
        layout = re.search(r"^layout:\s+(\S+)$", query, re.M)
        layout = layout.group(1) if layout else "?"
        check(layout == "fr", "the X server kept the keyboard layout %s after setxkbmap fr" % layout)
        print("keyboard layout: fr")
        self.layout = layout
        return layout

    def start_program(self, arguments=()):
        # The rest of the environment stays: it tells the program where the sound server is.
        env = dict(private_homes(self.env, self.work), QT_QPA_PLATFORM="xcb",
                   VERBARO_LOG=self.log_path, LANG="ru_RU.UTF-8")
        # Later options win over those of the environment. libxkbcommon-x11 hands strndup a
        # buffer without a terminating NUL when Qt reads the keymap, which strict string checks
        # report at start-up; that is the library's own business.
        env["ASAN_OPTIONS"] = sanitizer_options(
            env, "strict_string_checks=0", *(["detect_leaks=0"] if self.args.no_leak_check else []))
        self.launch([self.args.verbaro, *arguments], env)
        self.keys = XTest(self.display)

    # ---- windows ----
    def visible_windows(self, name_regex):
        out = self.run("xdotool", "search", "--onlyvisible", "--name", name_regex, check_rc=False)
        return [w for w in out.split() if w.strip()]

    def frame(self, timeout=30):
        deadline = time.time() + timeout
        while time.time() < deadline:
            check(self.app.poll() is None, "the program ended early (%s)" % self.app.returncode)
            windows = self.visible_windows(TITLE)
            if windows:
                return windows[0]
            time.sleep(0.2)
        raise Failure("the main window did not appear")

    def focus_frame(self):
        self.close_boxes()
        self.run("xdotool", "windowfocus", "--sync", self.frame(), check_rc=False)
        time.sleep(0.1)

    def box_count(self):
        """Message boxes shown so far: each is logged as one line "caption: text"."""
        return len(re.findall(r"^(%s): " % "|".join(BOX_CAPTIONS), self.log(), re.M))

    def captions(self):
        """The captions of the message boxes shown so far, in order."""
        return re.findall(r"^(%s): " % "|".join(BOX_CAPTIONS), self.log(), re.M)

    def close_boxes(self):
        """Closes every message box shown and not yet closed (OK by Return), checking that each
        box's title is exactly its caption."""
        for _ in range(50):
            if self.boxes_closed >= self.box_count():
                return
            frame = set(self.visible_windows(TITLE))
            deadline = time.time() + 10
            others = []
            while not others and time.time() < deadline:
                others = [w for w in self.visible_windows(".") if w not in frame]
                if not others:
                    time.sleep(0.2)
            check(others, "a message box was logged but no box window is visible")
            # The newest window is the box (a dialog may own it).
            box = others[-1]
            caption = self.captions()[self.boxes_closed]
            title = self.keys.window_name(box)
            check(title == caption, "a message box is titled %r, not %r" % (title, caption))
            self.run("xdotool", "windowfocus", "--sync", box, check_rc=False)
            time.sleep(0.2)
            self.keys.chord("Return")
            self.boxes_closed += 1
            time.sleep(0.3)
            if self.boxes_closed >= self.box_count() and self.refocus:
                # Keys go to the window with the input focus; without a window manager nobody
                # hands it back to the frame.
                frame = self.visible_windows(TITLE)
                if frame:
                    self.run("xdotool", "windowfocus", "--sync", frame[0], check_rc=False)
                return
        raise Failure("message boxes keep coming")

    def new_window(self, before, what, timeout=20):
        """The first visible window that is not in `before`, waited for."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            windows = [w for w in self.visible_windows(".") if w not in before]
            if windows:
                return windows[-1]
            time.sleep(0.2)
        raise Failure("no %s appeared" % what)

    def wait_focus(self, window, what, timeout=5):
        """Waits until the window has the X input focus, given by the program itself: nothing
        else hands it over, as there is no window manager."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            if self.keys.input_focus() == int(window):
                return
            time.sleep(0.1)
        raise Failure("%s did not get the keyboard back (the focus is on %#x)"
                      % (what, self.keys.input_focus()))

    def wait_gone(self, window, what, timeout=10):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if window not in self.visible_windows("."):
                return
            time.sleep(0.2)
        raise Failure("%s stayed open" % what)

    def open_dialog(self, chord, title):
        """Opens a dialog from the frame with the keys and checks its title exactly."""
        self.focus_frame()
        before = set(self.visible_windows("."))
        self.keys.chord(*chord)
        dialog = self.new_window(before, "dialog %s" % title)
        name = self.keys.window_name(dialog)
        check(name == title, "the dialog is titled %r, not %r" % (name, title))
        self.run("xdotool", "windowfocus", "--sync", dialog, check_rc=False)
        time.sleep(0.3)
        return dialog

    # ---- the log ----
    def while_waiting(self):
        self.close_boxes()

    def typed_lines(self):
        return typed_lines(self.log())

    # ---- the end ----
    def press_alt_f4(self):
        self.focus_frame()
        self.keys.chord("Alt", "F4")

    def stop(self):
        self.stop_program()
        if self.keys:
            self.keys.close()
        stop_process(self.xvfb)

    # ---- screenshots ----
    def screenshot(self, name):
        path = os.path.join(self.work, name + ".ppm")
        self.run("import", "-window", "root", "-depth", "8", "ppm:" + path)
        if self.args.artifacts:
            os.makedirs(self.args.artifacts, exist_ok=True)
            self.run("convert", path, os.path.join(self.args.artifacts, name + ".png"), check_rc=False)
        return path

    # ---- learner actions ----
    def open_lesson(self, name):
        opened_before = self.log().count("Открыт файл: ")
        self.focus_frame()
        self.keys.chord("Control", "o")
        # The file dialog starts in the current folder; its name field has the focus.
        deadline = time.time() + 20
        dialog = []
        while not dialog and time.time() < deadline:
            dialog = [w for w in self.visible_windows(".") if w != self.frame()]
            time.sleep(0.2)
        check(dialog, "no file dialog after Ctrl+O")
        self.run("xdotool", "windowfocus", "--sync", dialog[0], check_rc=False)
        time.sleep(0.3)
        # The name is typed by key names: the file dialog follows the layout, unlike the views.
        self.run("xdotool", "type", "--delay", "60", name)
        self.keys.chord("Return")
        self.wait_log(lambda log: log.count("Открыт файл: ") > opened_before, "the lesson to open")
        print("opened", name)

    def cancel_open_dialog(self):
        """Ctrl+O, then Escape in the file dialog."""
        opened_before = self.log().count("Открыт файл: ")
        self.focus_frame()
        self.keys.chord("Control", "o")
        dialog = self.wait_dialog("no file dialog after Ctrl+O")
        self.run("xdotool", "windowfocus", "--sync", dialog, check_rc=False)
        time.sleep(0.3)
        self.keys.chord("Escape")
        deadline = time.time() + 20
        while dialog in self.visible_windows(".") and time.time() < deadline:
            time.sleep(0.2)
        check(dialog not in self.visible_windows("."), "the file dialog stayed open after Escape")
        check(self.log().count("Открыт файл: ") == opened_before, "a file was opened")
        self.focus_frame()

    def wait_dialog(self, failure):
        """The first visible window other than the frame."""
        deadline = time.time() + 20
        while time.time() < deadline:
            frame = self.frame()
            others = [w for w in self.visible_windows(".") if w != frame]
            if others:
                return others[0]
            time.sleep(0.2)
        raise Failure(failure)

    def type_text(self, text):
        for ch in text:
            if ch.lower() in ACCENTS:
                chord, letter = ACCENTS[ch.lower()]
                self.keys.chord(*chord)
            elif ch == " ":
                letter = "space"
            else:
                letter = ch.lower()
            check(letter in KEY, "no key for %r" % ch)
            # A capital: Shift held down through the letter.
            if ch.isupper():
                self.keys.chord("Shift", letter)
            else:
                self.keys.chord(letter)




def first_rows(lesson_path, count):
    """The foreign words of the first rows, read without any chance of writing the file."""
    import sqlite3
    db = sqlite3.connect("file:%s?mode=ro&immutable=1" % lesson_path, uri=True)
    try:
        return [row[0] for row in db.execute("SELECT FrWord FROM FrRuDict LIMIT ?", (count,))]
    finally:
        db.close()




def undecodable_copy(s, lesson_name, name):
    """A copy of the lesson whose first recording is bytes that no MP3 decoder reads."""
    import sqlite3
    path = os.path.join(s.work, name)
    shutil.copyfile(os.path.join(s.work, lesson_name), path)
    db = sqlite3.connect(path)
    try:
        db.execute("UPDATE FrRuDict SET Mp3Word = zeroblob(4000) "
                   "WHERE rowid = (SELECT min(rowid) FROM FrRuDict)")
        db.commit()
    finally:
        db.close()
    return name


def shortcuts_after_sound_failure(s, lesson_name):
    """The two boxes of an undecodable recording, raised by a repaint, are titled exactly; once
    they are closed, a mode key acts as a command without the frame being clicked or focused."""
    bad = undecodable_copy(s, lesson_name, "undecodable.db")
    s.refocus = False
    s.open_lesson(bad)
    s.wait_log(lambda log: "Ошибка: Не могу обработать mp3-файл в памяти!" in log,
               "the box of the undecodable recording")
    s.close_boxes()
    check(s.boxes_closed >= 2, "the undecodable recording did not bring its two boxes")
    s.wait_focus(s.frame(), "the main window")
    # Видео-1, shown for the first time, would take the lesson opened last: with that copy gone,
    # it starts without a lesson, as a fresh mode does, and the play-through later opens its own.
    os.remove(os.path.join(s.work, bad))
    typed = len(s.typed_lines())
    s.keys.chord("F6")
    s.wait_log(lambda log: 'Модуль "Видео-1" в CWordsView::SetMainLog()' in log,
               "F6 to switch to Видео-1 after the sound failure boxes, without a click")
    check(len(s.typed_lines()) == typed, "F6 typed a character instead of switching modes")
    s.keys.chord("F5")
    s.refocus = True
    print("after the sound failure boxes F6 switched modes without a click")


def shortcuts_after_end_of_filter(s, count):
    """Tab on the last entry: the box is titled exactly, and afterwards Alt+F5 acts without a
    click."""
    s.refocus = False
    s.keys.chord("End")
    line = "Текущая позиция : %d / %d" % (count, count)
    s.wait_log(lambda log: line in log, "the last entry")
    ends = s.log().count("Информация: Закончились данные по выбранному фильтру!")
    s.keys.chord("Tab")
    s.wait_log(lambda log: log.count("Информация: Закончились данные по выбранному фильтру!") > ends,
               "the end of the filter")
    s.close_boxes()
    s.wait_focus(s.frame(), "the main window")
    s.keys.chord("Alt", "F5")
    s.wait_log(lambda log: 'Модуль "Конспект-2" в CWordsView::SetMainLog()' in log,
               "Alt+F5 to switch to Конспект-2 after the end box, without a click")
    s.refocus = True
    print("after the end-of-filter box Alt+F5 switched modes without a click")


def dialog_titles(s):
    """Help (and the box its Enter shows), About and the Video settings, each titled exactly;
    the Video settings open with no control focused, so Space does not close them."""
    help_dialog = s.open_dialog(["F1"], "Помощь")
    s.refocus = False
    s.keys.chord("Return")
    s.wait_log(lambda log: re.search(r"^wParam: 1$", log, re.M), "the wParam box of Help")
    s.close_boxes()
    s.wait_focus(help_dialog, "Help")
    # The keyboard is back with Help without being handed over: Escape closes it.
    s.keys.chord("Escape")
    s.wait_gone(help_dialog, "Help")
    s.refocus = True

    # Ctrl+A is the key that gives "a": on AZERTY the US Q key.
    about = s.open_dialog(["Control", "q" if s.layout == "fr" else "a"], "О программе")
    s.keys.chord("Escape")
    s.wait_gone(about, "About")

    s.focus_frame()
    s.keys.chord("F6")
    settings = s.open_dialog(["F4"], 'Настройка режима "Видео"')
    s.keys.chord("space")
    time.sleep(0.5)
    check(settings in s.visible_windows("."), "Space closed the Video settings")
    reports = s.log().count("Информация: Установлено:")
    s.keys.chord("Escape")
    s.wait_gone(settings, "the Video settings")
    s.wait_log(lambda log: log.count("Информация: Установлено:") > reports, "the settings report")
    s.close_boxes()
    print("titles: frame, boxes, Помощь, wParam, О программе, Настройка режима \"Видео\"")


def playthrough_waits_for_help(s, lesson_name):
    """Видео-1 plays the lesson through by itself; while Help is open it waits, and it goes on
    once Help is closed."""
    s.focus_frame()
    s.keys.chord("F6")
    s.open_lesson(lesson_name)
    s.wait_log(lambda log: "Текущая позиция : 2 / 30" in log, "the play-through to reach entry 2",
               timeout=30)
    help_dialog = s.open_dialog(["F1"], "Помощь")
    s.refocus = False
    shown = s.log().count("Текущая позиция : ")
    time.sleep(5)  # several recordings long
    check(s.log().count("Текущая позиция : ") == shown, "the play-through went on under Help")
    check(help_dialog in s.visible_windows("."), "Help closed by itself")
    s.keys.chord("Escape")
    s.wait_gone(help_dialog, "Help")
    s.refocus = True
    s.wait_log(lambda log: log.count("Текущая позиция : ") > shown,
               "the play-through to go on after Help", timeout=30)
    s.focus_frame()
    s.keys.chord("space")  # pause it for the rest of the run
    print("the Видео-1 play-through waited while Help was open and went on after it")


def scenario(s, lesson_name):
    s.start_xvfb()
    layout = s.set_french_layout()
    s.start_program()
    title = s.keys.window_name(s.frame())
    check(title == FRAME_TITLE, "the main window is titled %r, not %r" % (title, FRAME_TITLE))
    s.wait_log(lambda log: 'Модуль "Конспект-1" в CWordsView::SetMainLog()' in log,
               "Conspect-1 to start")
    shortcuts_after_sound_failure(s, lesson_name)

    # ---- Конспект-1: open, type two entries with accents ----
    s.open_lesson(lesson_name)
    words = first_rows(os.path.join(s.work, lesson_name), 7)
    check(words[0] == "été", "unexpected first entry %r" % words[0])
    s.focus_frame()
    base = s.screenshot("typing-0-empty")
    s.type_text("é")
    s.wait_typed("é")
    s.type_text("t")
    s.wait_typed("ét")
    s.keys.chord("x")  # a wrong letter turns the line red
    s.wait_typed("étx", error=True)
    wrong = s.screenshot("typing-1-wrong-letter")
    s.keys.chord("BackSpace")
    s.wait_typed("ét")
    s.type_text("é")
    s.wait_typed("été")
    right = s.screenshot("typing-2-whole-word")
    # The key that gives "a" on the French layout is the US "q" key: the view types q.
    s.keys.chord("q")
    s.wait_typed("étéq", error=True)
    s.keys.chord("BackSpace")
    s.wait_typed("été")
    base_red, wrong_red, right_red = red_pixels(base), red_pixels(wrong), red_pixels(right)
    print("red pixels: before typing %d, wrong letter %d, whole word %d" % (base_red, wrong_red, right_red))
    check(wrong_red > base_red + 30, "the wrong letter did not turn the typing line red")
    check(right_red <= base_red + 10, "the typing line stayed red after the correction")

    # Down to the seventh entry, "Noël": a capital (Shift before the letter) and a diaeresis.
    check(words[6] == "Noël", "unexpected seventh entry %r" % words[6])
    for position in range(2, 8):
        s.keys.chord("Down")
        line = "Текущая позиция : %d / 30" % position
        s.wait_log(lambda log, line=line: line in log, "entry %d" % position)
    s.wait_log(lambda log: 'm_wsKeyWord = "Noël"' in log, "the entry Noël")
    s.type_text("Noël")
    s.wait_typed("Noël")
    s.screenshot("typing-3-noel")
    print("typed été and Noël with physical keys (layout %s)" % layout)

    # Ctrl+O then Escape: the lesson, the position and the typed text stay as they were.
    s.cancel_open_dialog()
    s.keys.chord("BackSpace")
    s.wait_typed("Noë")
    positions = re.findall(r"^Текущая позиция : (.*)$", s.log(), re.M)
    check(positions[-1] == "7 / 30", "after the cancelled dialog the position is %s" % positions[-1])
    s.keys.chord("Down")
    s.wait_log(lambda log: "Текущая позиция : 8 / 30" in log, "entry 8 after the cancelled dialog")
    print("Ctrl+O and Escape kept the lesson, the position and the typed text")
    shortcuts_after_end_of_filter(s, 30)

    # ---- every mode ----
    modes = [(["F5"], "Конспект-1"), (["Alt", "F5"], "Конспект-2"), (["F6"], "Видео-1"),
             (["Alt", "F6"], "Видео-2"), (["Alt", "F7"], "Экзамен-2"), (["F7"], "Экзамен-1")]
    for chord, name in modes:
        s.focus_frame()
        s.keys.chord(*chord)
        line = 'Модуль "%s" в CWordsView::SetMainLog()' % name
        s.wait_log(lambda log, line=line: line in log, "the view " + name)
        print("mode", name)

    playthrough_waits_for_help(s, lesson_name)

    # ---- Экзамен-1: open, answer with the digit key 1, switch sound off ----
    s.focus_frame()
    s.keys.chord("F7")
    s.open_lesson(lesson_name)
    s.focus_frame()
    s.keys.chord("1")  # "&" on AZERTY: the view reads the physical key
    s.wait_log(lambda log: re.search(r"^(Правильно: |Неправильно; правильный ответ: )", log, re.M),
               "an answer in Экзамен-1")
    answer = re.findall(r"^(Правильно: .*|Неправильно; правильный ответ: .*)$", s.log(), re.M)[-1]
    print("answered:", answer)
    s.screenshot("exam-1-answered")
    s.focus_frame()
    s.keys.chord("Alt", "F2")
    s.wait_log(lambda log: 'Информация: Модуль "Экзамен-1" :\nЗвук выключен!' in log,
               "the sound switch message")
    s.close_boxes()

    dialog_titles(s)

    s.close_with_alt_f4()
    print("message boxes closed on the way:", s.boxes_closed)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--verbaro", required=True)
    parser.add_argument("--lesson", required=True)
    parser.add_argument("--artifacts")
    parser.add_argument("--no-leak-check", action="store_true",
                        help="run the program without LeakSanitizer's check at exit")
    args = parser.parse_args()
    return run_x11(args, "e2e", "verbaro-e2e-", os.path.basename(args.lesson),
                   lambda s, lesson_name, copy: scenario(s, lesson_name),
                   tools=("xdotool", "import"))


def run_x11(args, title, prefix, lesson_name, scenario_of, tools=("xdotool",), lesson_folder="",
            artifact_prefix=""):
    """One run of an X11 session: Xvfb and the tools checked, a copy of the lesson in a new work
    folder (or in its subfolder lesson_folder, which is then the session's work folder), the
    scenario given the session, the lesson's name and the copy's path, then the common end."""
    args.verbaro = os.path.abspath(args.verbaro)
    if not shutil.which("Xvfb"):
        print("SKIPPED: Xvfb is not installed (scripts/setup.sh installs it)")
        return SKIP
    missing = missing_tools(tools)
    if missing:
        print("FAILED: %s is missing (scripts/setup.sh installs it)" % ", ".join(missing))
        return 1
    work = os.path.join(tempfile.mkdtemp(prefix=prefix), lesson_folder)
    os.makedirs(work, exist_ok=True)
    copy = os.path.join(work, lesson_name)
    shutil.copyfile(args.lesson, copy)
    session = Session(args, work)
    return run_session(title, session, lambda: scenario_of(session, lesson_name, copy), [copy],
                       (getattr(args, "artifacts", None), artifact_prefix,
                        ("verbaro.log", "verbaro.err")))


if __name__ == "__main__":
    sys.exit(main())

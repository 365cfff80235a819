#!/usr/bin/env python3
"""The keyboard on a real X server (Xvfb): CapsLock and the accelerators, whatever the layout.

Uses the learner test's session (tests/e2e/learner_e2e.py). CapsLock is locked before the program
starts and the layout is French: in "Конспект-1" the "=" key then gives "+" (CapsLock shifts it),
read from the key event although the program never saw CapsLock pressed. CapsLock is switched
off while the About dialog has the keys; "=" then gives "=". With a Russian-only layout
(setxkbmap ru) Ctrl+O still opens the file dialog and Ctrl+A the About dialog: the key O gives
"щ" and the key A "ф", and the accelerators go by the keys' US places. On Latin layouts they
follow the letter on the key: on AZERTY Ctrl with the key that gives "a" (the US Q key) opens
About and the US A key ("q") nothing; on Dvorak Ctrl with the key that gives "o" (the US S key)
opens the file dialog and the US O key ("r") nothing. With Russian active before AZERTY
(setxkbmap ru,fr) the letter of the key in the French layout counts: the US Q key opens About.
Alt+F4 ends the program with exit code 1; the lesson file is unchanged. Exits 77 (skipped) only
when Xvfb is missing.

Usage: keyboard_x11_e2e.py --verbaro PATH --lesson PATH
"""
import argparse
import sys
import re
import time

import learner_e2e as e

CAPS_LOCK = 66  # X keycode of the CapsLock key
OPEN_TITLE = "Открыть"  # Qt's own open-file dialog, in Russian


def tap_caps_lock(keys):
    keys.event(CAPS_LOCK, True)
    keys.event(CAPS_LOCK, False)


def set_layout(s, layout, variant=""):
    s.run("setxkbmap", "-layout", layout, "-variant", variant)
    query = s.run("setxkbmap", "-query")
    e.check(re.search(r"^layout:\s+%s$" % re.escape(layout), query, re.M),
            "the X server did not take the layout %s" % layout)
    print("keyboard layout:", layout, variant)


def open_and_cancel_file_dialog(s, chord):
    """The chord opens the file dialog, whose title is the open-file dialog's; Escape closes it."""
    opened_before = s.log().count("Открыт файл: ")
    dialog = s.open_dialog(chord, OPEN_TITLE)
    s.keys.chord("Escape")
    s.wait_gone(dialog, "the file dialog")
    e.check(s.log().count("Открыт файл: ") == opened_before, "a file was opened")
    s.focus_frame()


def no_dialog_after(s, chord, what):
    """The chord opens no window: the frame keeps the keys."""
    s.focus_frame()
    before = set(s.visible_windows("."))
    s.keys.chord(*chord)
    time.sleep(2)
    new = [w for w in s.visible_windows(".") if w not in before]
    e.check(not new, "%s opened a window titled %r" % (what, [s.keys.window_name(w) for w in new]))


def shortcuts_follow_the_letter_on_the_key(s):
    set_layout(s, "fr")
    about = s.open_dialog(["Control", "q"], "О программе")
    s.keys.chord("Escape")
    s.wait_gone(about, "the About dialog")
    no_dialog_after(s, ["Control", "a"], 'AZERTY: Ctrl with the key that gives "q"')
    open_and_cancel_file_dialog(s, ["Control", "o"])
    print('AZERTY: Ctrl+A by the key that gives "a", Ctrl+O by the key that gives "o"')

    set_layout(s, "us", "dvorak")
    open_and_cancel_file_dialog(s, ["Control", "s"])
    no_dialog_after(s, ["Control", "o"], 'Dvorak: Ctrl with the key that gives "r"')
    print('Dvorak: Ctrl+O by the key that gives "o"; the US O key ("r") opens nothing')

    set_layout(s, "ru,fr")
    about = s.open_dialog(["Control", "q"], "О программе")
    s.keys.chord("Escape")
    s.wait_gone(about, "the About dialog")
    no_dialog_after(s, ["Control", "a"], 'Russian before AZERTY: Ctrl with the US A key')
    print("Russian active before AZERTY: Ctrl+A by the key's letter in the French layout")


def scenario(s, lesson_name):
    s.start_xvfb()
    s.set_french_layout()
    before_start = e.XTest(s.display)
    tap_caps_lock(before_start)
    before_start.close()
    s.start_program()
    s.frame()
    s.wait_log(lambda log: 'Модуль "Конспект-1" в CWordsView::SetMainLog()' in log,
               "Conspect-1 to start")

    # The file dialog follows CapsLock: "lecon.db" comes out as the copy's capital name.
    s.open_lesson(lesson_name.lower())
    s.focus_frame()
    s.keys.chord("=")
    s.wait_typed("+", error=True)
    s.keys.chord("BackSpace")
    s.wait_typed("")
    print("CapsLock on before the start: '=' typed '+'")

    about = s.open_dialog(["Control", "q"], "О программе")  # AZERTY: the key that gives "a"
    tap_caps_lock(s.keys)
    s.keys.chord("Escape")
    s.wait_gone(about, "the About dialog")
    s.focus_frame()
    s.keys.chord("=")
    s.wait_typed("=", error=True)
    s.keys.chord("BackSpace")
    s.wait_typed("")
    print("CapsLock switched off inside the About dialog: '=' typed '='")

    s.run("setxkbmap", "ru")
    s.cancel_open_dialog()
    about = s.open_dialog(["Control", "a"], "О программе")
    s.keys.chord("Escape")
    s.wait_gone(about, "the About dialog")
    print("Russian-only layout: Ctrl+O and Ctrl+A by the keys' US places")

    shortcuts_follow_the_letter_on_the_key(s)

    s.close_with_alt_f4()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--verbaro", required=True)
    parser.add_argument("--lesson", required=True)
    parser.add_argument("--no-leak-check", action="store_true")
    args = parser.parse_args()
    return e.run_x11(args, "e2e (keyboard on X11)", "verbaro-keyboard-e2e-", "LECON.DB",
                     lambda s, lesson_name, copy: scenario(s, lesson_name),
                     tools=("xdotool", "setxkbmap"))


if __name__ == "__main__":
    sys.exit(main())

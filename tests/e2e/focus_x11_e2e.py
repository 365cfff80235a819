#!/usr/bin/env python3
"""The keyboard goes back to the word after every menu, box and dialog, on a real X server (Xvfb).

Uses the learner test's session (tests/e2e/learner_e2e.py). A lesson is opened in "Конспект-1";
then, one after the other, a menu of the menu bar is opened with the mouse and closed with
Escape, by a click on the window and by choosing its item «Открыть...» (whose file dialog is
cancelled); a menu is opened with Alt+0 and Alt+1 and closed with Escape; Alt is pressed and
released alone (which puts Qt's menu bar in its keyboard navigation); the end-of-filter box is
closed with Enter; Help, About, the file dialog (cancelled and accepted) and the statistics window
are opened with their keys and closed. After each, without the window being clicked or handed
the keyboard by the test (there is no window manager, and the pointer is away from the window),
a letter and a digit are typed: the log's typed line must show both, and the digit must open no
menu. Before all that, an accent armed with Ctrl + apostrophe key and the key L, which has no
acute form, shows as "´l" (a screenshot is kept) and one Backspace removes it. Alt+F4 ends the program with exit code 1; the lesson file is unchanged. Exits 77 (skipped)
only when Xvfb is missing.

Usage: focus_x11_e2e.py --verbaro PATH --lesson PATH [--artifacts DIR]
"""
import argparse
import os
import sys
import time

import learner_e2e as e
from e2e_common import typed_lines

e.KEY.setdefault("F8", 74)  # the X keycode of F8, next to F7's 73


def windows(s):
    """Every visible window of the display, menus included (they have no title)."""
    return set(s.run("xdotool", "search", "--onlyvisible", "--class", ".", check_rc=False).split())


def geometry(s, window):
    """(x, y, width, height) of a window on the screen."""
    out = s.run("xdotool", "getwindowgeometry", "--shell", window)
    values = dict(line.split("=", 1) for line in out.split() if "=" in line)
    return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])


def pointer_away(s):
    """The pointer off the main window, so that keys reach it only when it has the keyboard."""
    s.run("xdotool", "mousemove", "0", "0")
    time.sleep(0.2)


def click(s, x, y):
    s.run("xdotool", "mousemove", str(x), str(y), "click", "1")
    time.sleep(0.5)


def new_menu(s, before, what):
    """The menu that opened: the one new visible window."""
    deadline = time.time() + 10
    while time.time() < deadline:
        new = windows(s) - before
        if new:
            return new.pop()
        time.sleep(0.2)
    raise e.Failure("no menu opened by " + what)


def menu_gone(s, menu, what):
    deadline = time.time() + 10
    while menu in windows(s) and time.time() < deadline:
        time.sleep(0.2)
    e.check(menu not in windows(s), "the menu stayed open after " + what)


def last_typed(log):
    """The typed text of the last typing line drawn, right or wrong."""
    lines = typed_lines(log)
    return lines[-1][0] if lines else None


def keys_reach_the_word(s, after):
    """A letter and a digit typed after `after` reach the view; the digit opens no menu. The
    typing line is empty before and after."""
    pointer_away(s)
    before = windows(s)
    s.keys.chord("e")
    s.wait_log(lambda log: last_typed(log) == "e",
               'the letter "e" typed after %s' % after, timeout=10)
    s.keys.chord("1")
    s.wait_log(lambda log: last_typed(log) == "e1",
               'the digit "1" typed after %s' % after, timeout=10)
    opened = windows(s) - before
    e.check(not opened, "the digit opened a window after %s" % after)
    s.keys.chord("BackSpace")
    s.keys.chord("BackSpace")
    s.wait_typed("")
    print("after %s the letter and the digit reached the word" % after)


def title_of_file_menu(s):
    """Where the first menu of the menu bar («0-Файл») is: near the window's top left corner."""
    x, y, _, _ = geometry(s, s.frame())
    return x + 20, y + 10


def mouse_menu_closed_by_escape(s):
    before = windows(s)
    click(s, *title_of_file_menu(s))
    menu = new_menu(s, before, "a click on the menu bar")
    s.keys.chord("Escape")
    menu_gone(s, menu, "Escape")
    keys_reach_the_word(s, "a menu opened by the mouse and closed with Escape")


def mouse_menu_closed_by_a_click(s):
    before = windows(s)
    click(s, *title_of_file_menu(s))
    menu = new_menu(s, before, "a click on the menu bar")
    x, y, width, height = geometry(s, s.frame())
    click(s, x + width // 2, y + height // 2)  # on the study view, which ignores clicks
    menu_gone(s, menu, "a click on the window")
    keys_reach_the_word(s, "a menu opened by the mouse and closed by a click on the window")


def mouse_menu_item_chosen(s):
    """«Открыть...» chosen with the mouse; its file dialog cancelled with Escape."""
    before = windows(s)
    click(s, *title_of_file_menu(s))
    menu = new_menu(s, before, "a click on the menu bar")
    x, y, _, _ = geometry(s, menu)
    before = windows(s)
    click(s, x + 40, y + 12)  # the first item
    dialog = s.new_window(before - {menu}, "file dialog after «Открыть...»")
    e.check(s.keys.window_name(dialog) == "Открыть",
            "the item opened %r, not the file dialog" % s.keys.window_name(dialog))
    s.run("xdotool", "windowfocus", "--sync", dialog, check_rc=False)
    time.sleep(0.3)
    s.keys.chord("Escape")
    s.wait_gone(dialog, "the file dialog")
    keys_reach_the_word(s, "«Открыть...» chosen in a menu and its file dialog cancelled")


def keyboard_menus_closed_by_escape(s):
    for digit in ("0", "1"):
        before = windows(s)
        s.keys.chord("Alt", digit)
        menu = new_menu(s, before, "Alt+" + digit)
        s.keys.chord("Escape")
        menu_gone(s, menu, "Escape")
        keys_reach_the_word(s, "a menu opened with Alt+%s and closed with Escape" % digit)


def alt_alone(s):
    """Alt pressed and released alone opens no menu and keeps nothing."""
    s.keys.chord("Alt")
    keys_reach_the_word(s, "Alt pressed and released alone")


def box_closed(s, count):
    """The end-of-filter box, closed with Enter."""
    s.refocus = False
    s.keys.chord("End")
    line = "Текущая позиция : %d / %d" % (count, count)
    s.wait_log(lambda log: line in log, "the last entry")
    ends = s.log().count("Информация: Закончились данные по выбранному фильтру!")
    s.keys.chord("Tab")
    s.wait_log(lambda log: log.count("Информация: Закончились данные по выбранному фильтру!") > ends,
               "the end of the filter")
    s.close_boxes()
    keys_reach_the_word(s, "the end-of-filter box")
    s.keys.chord("Home")


def dialog_closed(s, chord, title, close=("Escape",)):
    dialog = s.open_dialog(list(chord), title)
    pointer_away(s)
    s.keys.chord(*close)
    s.wait_gone(dialog, title)
    keys_reach_the_word(s, "the dialog «%s»" % title)


def file_dialog_accepted(s, lesson_name):
    s.open_lesson(lesson_name)
    # open_lesson handed the dialog the keyboard; nothing hands it back to the main window.
    keys_reach_the_word(s, "a lesson chosen in the file dialog")


def accent_without_letter(s):
    """Ctrl + apostrophe key, then L: no acute l. The line shows the accent and the key, red, and
    one Backspace takes both."""
    s.keys.chord("Control", "'")
    s.keys.chord("l")
    s.wait_log(lambda log: last_typed(log) == "´l", 'the accent and the key "´l" shown')
    e.check(typed_lines(s.log())[-1][1], "the accent without a letter did not turn the line red")
    s.screenshot("focus-accent-without-letter")
    s.keys.chord("BackSpace")
    s.wait_typed("")
    print('an accent that does not combine shows as "´l"; one Backspace removes it')


def scenario(s, lesson_name):
    s.start_xvfb()
    s.start_program()
    s.frame()
    s.wait_log(lambda log: 'Модуль "Конспект-1" в CWordsView::SetMainLog()' in log,
               "Conspect-1 to start")
    s.open_lesson(lesson_name)
    s.refocus = False
    s.focus_frame()
    accent_without_letter(s)

    mouse_menu_closed_by_escape(s)
    mouse_menu_closed_by_a_click(s)
    mouse_menu_item_chosen(s)
    keyboard_menus_closed_by_escape(s)
    alt_alone(s)
    box_closed(s, 30)
    dialog_closed(s, ["F1"], "Помощь")
    dialog_closed(s, ["Control", "a"], "О программе")
    dialog_closed(s, ["Control", "a"], "О программе", close=("Return",))
    dialog_closed(s, ["Control", "o"], "Открыть")
    file_dialog_accepted(s, lesson_name)
    dialog_closed(s, ["F8"], "Статистика: " + lesson_name)
    # The last of them again, after everything: the menu bar still never keeps the keyboard.
    mouse_menu_closed_by_escape(s)

    s.close_with_alt_f4()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--verbaro", required=True)
    parser.add_argument("--lesson", required=True)
    parser.add_argument("--artifacts")
    parser.add_argument("--no-leak-check", action="store_true")
    args = parser.parse_args()
    return e.run_x11(args, "e2e (keyboard back to the word on X11)", "verbaro-focus-e2e-",
                     os.path.basename(args.lesson),
                     lambda s, lesson_name, copy: scenario(s, lesson_name),
                     tools=("xdotool", "import"), artifact_prefix="focus-")


if __name__ == "__main__":
    sys.exit(main())

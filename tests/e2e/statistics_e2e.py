#!/usr/bin/env python3
"""The statistics window on the real program and a real X server (Xvfb).

Uses the learner test's session (tests/e2e/learner_e2e.py), whose progress store and settings
are the test's own. F3 hides the word block of "Конспект-1" and a lesson is opened there; the first
entry is typed from memory with a wrong letter corrected on the way, the second without error,
both graded Russian -> French. F8 opens «Статистика: NAME» (the title checked exactly), whose
counts the program writes to its log; Escape closes it. After Alt+F4 (exit code 1) the Russian ->
French counts are read from the store by `verbaro-lesson progress` and must be those of the log
line. The lesson file keeps its bytes. Exits 77 (skipped) only when Xvfb is missing.

Usage: statistics_e2e.py --verbaro PATH --lesson-tool PATH --lesson PATH [--artifacts DIR]
"""
import argparse
import os
import re
import subprocess
import sys

import learner_e2e as e

e.KEY.setdefault("F8", 74)  # the X keycode of F8, next to F7's 73

LOG_LINE = re.compile(r"Статистика: новых (\d+), изучается (\d+), выучено (\d+), на сегодня (\d+)")
# The lesson tool's line: the same four numbers, «на сегодня» with the new entries added to it.
STORE_LINE = re.compile(
    r"Записей: новых (\d+), изучается (\d+), выучено (\d+); на сегодня (\d+) \+ \d+ нов")


def scenario(s, lesson_name, lesson_path):
    s.start_xvfb()
    s.start_program()
    s.frame()
    s.wait_log(lambda log: 'Модуль "Конспект-1" в CWordsView::SetMainLog()' in log,
               "Conspect-1 to start")
    # Typed with the word in sight an entry would be practice, with no grade.
    s.focus_frame()
    s.keys.chord("F3")
    s.wait_log(lambda log: 'Модуль "Конспект-1" : m_bHideHeader = 1' in log, "F3")
    s.open_lesson(lesson_name)
    words = e.first_rows(lesson_path, 2)
    s.focus_frame()
    s.keys.chord("x")
    s.wait_typed("x", error=True)
    s.keys.chord("BackSpace")
    for word in words:
        s.type_text(word)
        s.wait_typed(word)
        s.keys.chord("Tab")
        s.wait_typed("")
        # A box that the next entry brings (no sound device, say) has taken the keys: it is
        # closed and the keys go back to the frame.
        s.close_boxes()
        s.focus_frame()

    window = s.open_dialog(["F8"], "Статистика: " + lesson_name)
    log = s.wait_log(lambda text: LOG_LINE.search(text), "the statistics log line")
    s.screenshot("statistics")
    s.keys.chord("Escape")
    s.wait_gone(window, "the statistics window")
    print("F8 opened and Escape closed «Статистика: %s»" % lesson_name)

    s.close_with_alt_f4()
    return list(LOG_LINE.finditer(log))[-1]


def store_counts(s, tool, lesson_path):
    """The Russian -> French counts that the lesson tool reads from the store: typing from
    memory in Конспект-1 counts that way."""
    out = subprocess.run([tool, "progress", lesson_path], env=e.private_homes(s.env, s.work),
                         capture_output=True,
                         text=True, timeout=60)
    e.check(out.returncode == 0, "verbaro-lesson progress failed: " + out.stderr)
    reverse = out.stdout.split("Русский → французский", 1)
    e.check(len(reverse) == 2, "no Russian -> French part:\n" + out.stdout)
    found = STORE_LINE.search(reverse[1])
    e.check(found is not None, "no counts in:\n" + out.stdout)
    return found


def logged_and_stored(s, lesson_name, copy, tool):
    logged = scenario(s, lesson_name, copy)
    stored = store_counts(s, tool, copy)
    e.check(logged.groups() == stored.groups(),
            "the log says %r, the store %r" % (logged.group(0), stored.group(0)))
    e.check(logged.group(2) == "2", "two typed entries are not learning: " + logged.group(0))
    print("log line and store agree:", logged.group(0), "/", stored.group(0))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--verbaro", required=True)
    parser.add_argument("--lesson-tool", required=True)
    parser.add_argument("--lesson", required=True)
    parser.add_argument("--artifacts")
    parser.add_argument("--no-leak-check", action="store_true")
    args = parser.parse_args()
    return e.run_x11(args, "e2e (statistics)", "verbaro-statistics-e2e-",
                     os.path.basename(args.lesson),
                     lambda s, lesson_name, copy: logged_and_stored(s, lesson_name, copy,
                                                                    args.lesson_tool),
                     tools=("xdotool", "import"), artifact_prefix="statistics-")


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Copying is not recall, on the real program and a real X server (Xvfb).

The program starts with fresh settings and progress folders of the test's own. In "Конспект-2"
the three translations of "bureau" (кабинет, офис, письменный стол) are typed with the word
shown, the first with a slip corrected: the progress store must then hold three practice rows
(kind 4, no grade) for bureau, the slip on the Russian keyboard and not one graded answer. F3
hides the word block; «кабинет», shown again, typed from memory is a graded answer French ->
Russian (direction 1) for bureau. In "Конспект-1" the first word typed with the word shown is
practice again; after F3 the next one, shown hidden, is a graded answer Russian -> French
(direction 2). `verbaro-lesson progress --csv` must read the same rows. Alt+F4 ends the program
with exit code 1; the lesson file keeps its bytes. Exits 77 (skipped) only when Xvfb is missing.

Usage: grading_e2e.py --verbaro PATH --lesson-tool PATH --lesson PATH [--artifacts DIR]
"""
import argparse
import os
import re
import sqlite3
import subprocess
import sys
import time

import learner_e2e as e

e.KEY.setdefault("Next", 117)  # the X keycode of Page Down

SHOWN_WORD = re.compile(r'^CWordsView::SetUserData\(\) : m_wsKeyWord = "(.*?)" :', re.M)
# A reversed record as the "-2" view lists it after reading the lesson: its position, its key
# word and its French answers.
REVERSED = re.compile(r'^(\d+) : .*?wsExtAltWord = ".*?" : wsAltWord = "(.*?)" : (.*)"$', re.M)

# The Russian letters on the physical keys of the US layout (ЙЦУКЕН over QWERTY).
RUSSIAN_KEYS = dict(zip("йцукенгшщзхъфывапролджэячсмитьбюё",
                        list("qwertyuiop[]asdfghjkl;'zxcvbnm,.`")))

PRACTICE, TYPING = 4, 1
FORWARD, REVERSE = 1, 2


def shown_words(log):
    return SHOWN_WORD.findall(log)


def type_russian(s, text):
    for ch in text:
        key = "space" if ch == " " else RUSSIAN_KEYS.get(ch)
        e.check(key is not None, "no key for %r" % ch)
        s.keys.chord(key)


def store_rows(s, query, parameters=()):
    """Rows of the progress store, read without writing it (the program may be running)."""
    path = os.path.join(s.work, "data-home", "verbaro", "progress.sqlite")
    e.check(os.path.exists(path), "no progress store at " + path)
    db = sqlite3.connect("file:%s?mode=ro" % path, uri=True)
    try:
        return db.execute(query, parameters).fetchall()
    finally:
        db.close()


def answers(s):
    """(word, kind, grade, direction) of every answer row, oldest first."""
    return store_rows(s, "SELECT entries.word, answers.kind, answers.grade, answers.direction "
                         "FROM answers JOIN entries ON entries.id = answers.entry_id "
                         "ORDER BY answers.id")


def wait_answers(s, count, what):
    """The answer rows once there are `count` of them: each is written just after its key."""
    deadline = time.time() + 20
    rows = []
    while time.time() < deadline:
        rows = answers(s)
        if len(rows) >= count:
            return rows
        time.sleep(0.2)
    raise e.Failure("%s: the store holds %r" % (what, rows))


def go_to(s, position, word):
    """Home, then Page Down and Down to the entry at `position`, which must show `word`."""
    s.focus_frame()
    s.keys.chord("Home")
    for _ in range(position // 10):
        s.keys.chord("Next")
    for _ in range(position % 10):
        s.keys.chord("Down")
    s.wait_log(lambda log: shown_words(log)[-1:] == [word], "the entry %r" % word)
    s.focus_frame()


def type_entry(s, word, russian):
    if russian:
        type_russian(s, word)
    else:
        s.type_text(word)
    s.wait_typed(word)


def conspect_two(s, lesson_name):
    s.focus_frame()
    s.keys.chord("Alt", "F5")
    s.open_lesson(lesson_name)
    log = s.log()
    positions = {word: int(position) for position, word, french in REVERSED.findall(log)
                 if "bureau" in french.split("; ")}
    for word in ("кабинет", "офис", "письменный стол"):
        e.check(word in positions, "no reversed entry %r for bureau in the log" % word)

    # The word in sight: copied, not recalled. The first with a slip ("ы" for "а").
    go_to(s, positions["кабинет"], "кабинет")
    type_russian(s, "кы")
    s.wait_typed("кы", error=True)
    s.keys.chord("BackSpace")
    type_russian(s, "абинет")
    s.wait_typed("кабинет")
    for word in ("офис", "письменный стол"):
        go_to(s, positions[word], word)
        type_entry(s, word, True)
    rows = wait_answers(s, 3, "three entries copied in Конспект-2")
    e.check(rows == [("bureau", PRACTICE, 0, REVERSE)] * 3,
            "copying gave %r, expected three practice rows for bureau" % rows)
    misses = store_rows(s, "SELECT direction, expected, typed, count FROM char_misses")
    e.check(misses == [(REVERSE, "а", "ы", 1)], "the slip was kept as %r" % misses)
    print("copied in Конспект-2: three practice rows for bureau, no grade; the slip kept")

    # The word block hidden; «кабинет» shown again, hidden, typed from memory.
    s.focus_frame()
    s.keys.chord("F3")
    s.wait_log(lambda log: 'Модуль "Конспект-2" : m_bHideHeader = 1' in log, "F3")
    go_to(s, positions["кабинет"], "кабинет")
    type_entry(s, "кабинет", True)
    rows = wait_answers(s, 4, "кабинет typed from memory")
    graded = [row for row in rows if row[1] == TYPING]
    e.check([row[0] for row in graded] == ["bureau"] and graded[0][3] == FORWARD
            and graded[0][2] >= 3,
            "typed from memory in Конспект-2 gave %r, expected a good grade French -> Russian"
            % rows[3:])
    print("typed from memory in Конспект-2: bureau graded %d, French -> Russian" % graded[0][2])


def conspect_one(s, lesson_name, words):
    s.focus_frame()
    s.keys.chord("F5")
    s.open_lesson(lesson_name)
    s.wait_log(lambda log: shown_words(log)[-1:] == [words[0]], "the first entry of Конспект-1")
    s.focus_frame()
    before = len(answers(s))
    type_entry(s, words[0], False)
    rows = wait_answers(s, before + 1, "the first word copied in Конспект-1")
    e.check(rows[before:] == [(words[0], PRACTICE, 0, FORWARD)],
            "copying %r gave %r" % (words[0], rows[before:]))
    s.keys.chord("F3")
    s.wait_log(lambda log: 'Модуль "Конспект-1" : m_bHideHeader = 1' in log, "F3")
    s.keys.chord("Down")
    s.wait_log(lambda log: shown_words(log)[-1:] == [words[1]], "the second entry")
    s.focus_frame()
    type_entry(s, words[1], False)
    rows = wait_answers(s, before + 2, "the second word typed from memory in Конспект-1")
    word, kind, grade, direction = rows[before + 1]
    e.check((word, kind, direction) == (words[1], TYPING, REVERSE) and grade >= 3,
            "typed from memory in Конспект-1 gave %r, expected a good grade Russian -> French"
            % (rows[before + 1],))
    print("Конспект-1: %r copied is practice, %r typed from memory graded %d, Russian -> French"
          % (words[0], words[1], grade))


def scenario(s, lesson_name, lesson_path):
    s.start_xvfb()
    s.start_program()
    s.frame()
    s.wait_log(lambda log: 'Модуль "Конспект-1" в CWordsView::SetMainLog()' in log,
               "Conspect-1 to start")
    conspect_two(s, lesson_name)
    conspect_one(s, lesson_name, e.first_rows(lesson_path, 2))
    s.close_with_alt_f4()
    return answers(s)


def csv_rows(s, tool, lesson_path):
    """(word, kind, grade, direction) as `verbaro-lesson progress --csv` reads them."""
    out = subprocess.run([tool, "progress", lesson_path, "--csv"],
                         env=e.private_homes(s.env, s.work), capture_output=True, text=True,
                         timeout=60)
    e.check(out.returncode == 0, "verbaro-lesson progress --csv failed: " + out.stderr)
    rows = []
    for line in out.stdout.splitlines()[1:]:
        fields = line.split(",")
        kinds = {"practice": PRACTICE, "typing": TYPING}
        e.check(fields[2] in kinds, "an answer of kind %r in:\n%s" % (fields[2], out.stdout))
        rows.append((fields[6], kinds[fields[2]], int(fields[3]),
                     FORWARD if fields[1] == "fr-ru" else REVERSE))
    return rows


def graded_only_from_memory(s, lesson_name, lesson_path, tool):
    stored = scenario(s, lesson_name, lesson_path)
    e.check(len(stored) == 6, "the store holds %r" % stored)
    e.check(csv_rows(s, tool, lesson_path) == stored,
            "the lesson tool reads %r, the store holds %r"
            % (csv_rows(s, tool, lesson_path), stored))
    print("the lesson tool reads the same six rows")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--verbaro", required=True)
    parser.add_argument("--lesson-tool", required=True)
    parser.add_argument("--lesson", required=True)
    parser.add_argument("--artifacts")
    parser.add_argument("--no-leak-check", action="store_true")
    args = parser.parse_args()
    return e.run_x11(args, "e2e (grading)", "verbaro-grading-e2e-", os.path.basename(args.lesson),
                     lambda s, lesson_name, copy: graded_only_from_memory(s, lesson_name, copy,
                                                                          args.lesson_tool),
                     tools=("xdotool",), artifact_prefix="grading-")


if __name__ == "__main__":
    sys.exit(main())

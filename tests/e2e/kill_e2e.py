#!/usr/bin/env python3
"""The learner's progress survives a killed program (Xvfb, the real binary).

The program starts with a lesson on its command line and fresh XDG_DATA_HOME and XDG_CONFIG_HOME
folders of the test's own. In "Конспект-1" the first word is typed through, the next entry is shown and half of
its word typed; then the program is killed with SIGKILL. The progress store must hold the first
word's row, practice as it was typed with the word in sight (and nothing for the half-typed one), and a second start, without a lesson
on the command line, must reopen the lesson at the entry where the learner was. Alt+F4 then
ends it with exit code 1; the lesson file is unchanged and nothing appeared beside it. Exits 77
(skipped) only when Xvfb is missing.

Usage: kill_e2e.py --verbaro PATH --lesson PATH
"""
import argparse
import os
import re
import sqlite3
import sys

import learner_e2e as e

SHOWN_WORD = re.compile(r'^CWordsView::SetUserData\(\) : m_wsKeyWord = "(.*?)" :', re.M)


def shown_words(log):
    return SHOWN_WORD.findall(log)


def store_answers(data_home):
    """(word, kind, grade) of every answer in the store, read without writing it."""
    path = os.path.join(data_home, "verbaro", "progress.sqlite")
    e.check(os.path.exists(path), "no progress store at " + path)
    db = sqlite3.connect("file:%s?mode=ro" % path, uri=True)
    try:
        return db.execute("SELECT entries.word, answers.kind, answers.grade FROM answers "
                          "JOIN entries ON entries.id = answers.entry_id ORDER BY answers.id"
                          ).fetchall()
    finally:
        db.close()


def scenario(s, lesson_name, words):
    data_home = e.private_homes({}, s.work)["XDG_DATA_HOME"]
    s.start_xvfb()
    s.start_program([lesson_name])
    s.frame()
    s.wait_log(lambda log: words[0] in shown_words(log), "the lesson to open at its first entry")
    s.focus_frame()
    s.type_text(words[0])
    s.wait_typed(words[0])
    s.keys.chord("Down")
    s.wait_log(lambda log: shown_words(log)[-1:] == [words[1]], "the second entry")
    half = words[1][:2]
    s.type_text(half)
    s.wait_typed(half)

    s.app.kill()
    s.app.wait()
    print("killed while typing %r" % words[1])
    answers = store_answers(data_home)
    e.check([a[0] for a in answers] == [words[0]],
            "the store holds %r, expected one answer for %r" % (answers, words[0]))
    e.check(answers[0][1:] == (4, 0),
            "%r copied is kept as (kind, grade) %r, not as practice" % (words[0], answers[0][1:]))
    print("the store kept %r, copied: practice" % words[0])

    s.log_path = os.path.join(s.work, "verbaro-2.log")
    s.boxes_closed = 0
    s.start_program()
    s.frame()
    log = s.wait_log(lambda log: bool(shown_words(log)), "the remembered lesson to open")
    e.check(shown_words(log)[0] == words[1],
            "the second start shows %r first, not %r" % (shown_words(log)[0], words[1]))
    e.check(s.box_count() == 0, "a box at the second start: %r" % s.captions())
    print("the second start resumed at %r" % words[1])

    s.close_with_alt_f4()
    # Nothing else beside the lesson: the store and the settings went to their own homes.
    beside = sorted(set(os.listdir(s.work)) - {lesson_name, "verbaro.log", "verbaro-2.log",
                                               "verbaro.out", "verbaro.err", "xvfb.log",
                                               "data-home", "config-home"})
    e.check(not beside, "files appeared beside the lesson: %r" % beside)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--verbaro", required=True)
    parser.add_argument("--lesson", required=True)
    parser.add_argument("--no-leak-check", action="store_true")
    args = parser.parse_args()
    return e.run_x11(args, "e2e (killed and started again)", "verbaro-kill-e2e-", "urok.db",
                     lambda s, lesson_name, copy: scenario(s, lesson_name,
                                                           e.first_rows(copy, 2)),
                     lesson_folder="lessons")


if __name__ == "__main__":
    sys.exit(main())

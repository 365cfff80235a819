#!/usr/bin/env python3
"""A review of the missed words after an exam, on the real program and a real X server (Xvfb).

Uses the learner test's session (tests/e2e/learner_e2e.py), whose progress store and settings
are the test's own. The lesson is five masculine nouns of a sample lesson, one translation each.
In "Экзамен-1" the questions of two words are first answered wrongly, then rightly, and the exam
is run to its statistics box; the right cell of each question is read from the program's
diagnostic log. Then «Слова с
ошибками» is chosen in the Filters menu with the keyboard (Alt+4, Up to it from the end, Return)
and every question of that review is answered rightly at the first choice. The store, read with
sqlite3, must have grown by exactly one answer per question of the review, and keep the review's
own exam result. After Alt+F4 (exit code 1) the program is started again: it starts in
"Экзамен-1", the mode used last, with its lesson, and none of the last items of the Filters menu is
«Слова с ошибками». The lesson file keeps its bytes. Exits 77 (skipped) only when Xvfb is
missing.

Usage: review_e2e.py --verbaro PATH --lesson PATH [--artifacts DIR]
"""
import argparse
import os
import re
import shutil
import sqlite3
import sys
import tempfile
import time

import learner_e2e as e

RIGHT_CELL = re.compile(r"^Правильный ответ в ячейке (\d)$", re.M)
WRONG = "Неправильно; правильный ответ: "
STATISTICS = "Информация: Данные закончились! Ваша статистика:"
ASKED = re.compile(r'^CWordsView::SetUserData\(\) : m_wsKeyWord = "(.*?)" :', re.M)
CHOSEN = re.compile(r'^Информация: Выбран фильтр: "(.*)"', re.M)
MISSED = "Слова с ошибками"
# How many Up keys reach each of the review filters from the end of the Filters menu.
REVIEW_ITEMS = (1, 2, 3)
WORDS = 5
MISSES = 2


def small_lesson(source, folder):
    """A copy of the lesson that keeps its first WORDS masculine singular nouns of one
    translation each: a word is then missed until that translation is answered right."""
    path = os.path.join(folder, "review.db")
    shutil.copyfile(source, path)
    db = sqlite3.connect(path)
    try:
        db.execute("DELETE FROM FrRuDict WHERE rowid NOT IN (SELECT rowid FROM FrRuDict "
                   "WHERE FrGram = 'm' AND FrNumber = 's' AND coalesce(Ru2, '') = '' "
                   "ORDER BY rowid LIMIT ?)", (WORDS,))
        # The trainer reads rows 1..n with no gap in their numbers.
        kept = [row[0] for row in db.execute("SELECT rowid FROM FrRuDict ORDER BY rowid")]
        for number, rowid in enumerate(kept, 1):
            db.execute("UPDATE FrRuDict SET rowid = ? WHERE rowid = ?", (number, rowid))
        db.commit()
        kept = db.execute("SELECT count(*) FROM FrRuDict").fetchone()[0]
        db.execute("VACUUM")
    finally:
        db.close()
    e.check(kept == WORDS, "the sample lesson has %d masculine singular nouns, not %d"
            % (kept, WORDS))
    return path


class Store:
    """The progress store of the session, read without writing it."""

    def __init__(self, session):
        self.path = os.path.join(e.private_homes({}, session.work)["XDG_DATA_HOME"], "verbaro",
                                 "progress.sqlite")

    def query(self, sql):
        e.check(os.path.exists(self.path), "no progress store at " + self.path)
        db = sqlite3.connect("file:%s?mode=ro" % self.path, uri=True)
        try:
            return db.execute(sql).fetchall()
        finally:
            db.close()

    def answers(self):
        return self.query("SELECT count(*) FROM answers")[0][0]

    def settled_answers(self, expected=None, timeout=10):
        """The answer count once the program has written what it queued: the expected count when
        it is reached (and stays), else a count that no longer changes."""
        deadline = time.time() + timeout
        last = None
        while time.time() < deadline:
            count = self.answers()
            if count == last and (expected is None or count >= expected):
                return count
            last = count
            time.sleep(0.5)
        return last

    def missed(self):
        return self.query("SELECT count(*) FROM memory WHERE missed = 1 AND direction = 1")[0][0]

    def exams(self):
        return self.query("SELECT filter_name, right_answers, wrong_answers, hints FROM exams "
                          "ORDER BY id")


def right_cells(s):
    return RIGHT_CELL.findall(s.log())


def press_digit(s, cell):
    s.focus_frame()
    s.keys.chord(str(cell))


def answer_exam(s, misses):
    """Answers the questions of the exam on screen until its statistics box: the first questions
    of `misses` different words wrongly, then rightly; every other one rightly at the first
    choice. Returns the number of questions whose first choice was right."""
    first_right = 0
    missed = set()
    for _ in range(60):
        log = s.log()
        cells = RIGHT_CELL.findall(log)
        e.check(cells, "no question in the log")
        right = int(cells[-1])
        asked = len(cells)
        word = ASKED.findall(log)[-1]
        ends = log.count(STATISTICS)
        if len(missed) < misses and word not in missed:
            missed.add(word)
            wrongs = log.count(WRONG)
            press_digit(s, 2 if right == 1 else 1)
            s.wait_log(lambda text: text.count(WRONG) > wrongs, "the wrong choice")
        else:
            first_right += 1
        press_digit(s, right)
        text = s.wait_log(lambda text: len(RIGHT_CELL.findall(text)) > asked or
                          text.count(STATISTICS) > ends, "the next question or the end")
        if text.count(STATISTICS) > ends:
            s.close_boxes()
            e.check(len(missed) == misses, "the exam ended after %d missed words" % len(missed))
            return first_right
    raise e.Failure("the exam did not end")


def all_visible(s):
    return s.run("xdotool", "search", "--onlyvisible", ".", check_rc=False).split()


def choose_filter_from_bottom(s, ups):
    """Alt+4 opens the Filters menu, Up `ups` times goes to that item from its end, Return chooses
    it. Returns the name the program's box gives, and the number of questions asked before."""
    asked = len(right_cells(s))
    chosen = len(CHOSEN.findall(s.log()))
    s.focus_frame()
    before = set(all_visible(s))
    s.keys.chord("Alt", "4")
    # The menu is a window of its own, without a name: found by its class.
    deadline = time.time() + 20
    while not set(all_visible(s)) - before:
        e.check(time.time() < deadline, "Alt+4 opened no Filters menu")
        time.sleep(0.2)
    for _ in range(ups):
        s.keys.chord("Up")
        time.sleep(0.3)
    s.keys.chord("Return")
    log = s.wait_log(lambda text: len(CHOSEN.findall(text)) > chosen, "the filter's box")
    s.close_boxes()
    return CHOSEN.findall(log)[-1], asked


def scenario(s, lesson_name):
    store = Store(s)
    s.start_xvfb()
    s.start_program()
    s.frame()
    s.wait_log(lambda log: 'Модуль "Конспект-1" в CWordsView::SetMainLog()' in log,
               "Conspect-1 to start")
    s.focus_frame()
    s.keys.chord("F7")
    s.wait_log(lambda log: 'Модуль "Экзамен-1" в CWordsView::SetMainLog()' in log, "Экзамен-1")
    s.open_lesson(lesson_name)
    s.wait_log(lambda log: RIGHT_CELL.search(log), "the first question")

    answer_exam(s, MISSES)
    before = store.settled_answers()
    e.check(store.missed() == MISSES, "%d words missed in the store, not %d"
            % (store.missed(), MISSES))
    e.check(len(store.exams()) == 1, "the exam's result is not kept: %r" % store.exams())
    print("exam with %d missed words: %d answers in the store" % (MISSES, before))

    # The review filters close the menu: «Слова с ошибками», then «На сегодня» and «Трудные
    # слова» when they have entries.
    names = []
    for ups in REVIEW_ITEMS:
        name, asked = choose_filter_from_bottom(s, ups)
        names.append(name)
        if name == MISSED:
            break
    e.check(name == MISSED, "the last items of the Filters menu are %r, without %r" % (names, MISSED))
    s.wait_log(lambda log: len(RIGHT_CELL.findall(log)) > asked, "the review's first question")
    given = answer_exam(s, 0)
    e.check(given >= MISSES, "the review asked %d questions for %d missed words" % (given, MISSES))
    after = store.settled_answers(before + given)
    e.check(after == before + given, "the store has %d answers after a review of %d right "
            "answers; %d before" % (after, given, before))
    e.check(store.missed() == 0, "still %d missed words in the store" % store.missed())
    exams = store.exams()
    e.check(len(exams) == 2 and exams[-1] == (MISSED, given, 0, 0),
            "the review's result is %r" % (exams[-1:],))
    print("review of «%s»: %d right answers, the store %d -> %d" % (MISSED, given, before, after))
    s.screenshot("review-done")
    s.close_with_alt_f4()

    s.log_path = os.path.join(s.work, "verbaro-2.log")
    s.boxes_closed = 0
    s.start_program()
    s.frame()
    # No mode key is pressed: the exam's question comes only when the program starts there.
    s.wait_log(lambda log: 'Модуль "Экзамен-1" в CWordsView::SetMainLog()' in log and
               RIGHT_CELL.search(log), "the second start in Экзамен-1 with its lesson")
    names = [choose_filter_from_bottom(s, ups)[0] for ups in REVIEW_ITEMS]
    e.check(MISSED not in names, "«%s» is still offered after the restart: %r" % (MISSED, names))
    print("the second start began in Экзамен-1; the last filters are now %r" % names)
    s.close_with_alt_f4()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--verbaro", required=True)
    parser.add_argument("--lesson", required=True)
    parser.add_argument("--artifacts")
    parser.add_argument("--no-leak-check", action="store_true")
    args = parser.parse_args()
    folder = tempfile.mkdtemp(prefix="verbaro-review-lesson-")
    try:
        args.lesson = small_lesson(os.path.abspath(args.lesson), folder)
        return e.run_x11(args, "e2e (review of the missed words)", "verbaro-review-e2e-",
                         os.path.basename(args.lesson),
                         lambda s, lesson_name, copy: scenario(s, lesson_name),
                         tools=("xdotool", "import"), artifact_prefix="review-")
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""«Импорт урока...» on the real program, a real X server (Xvfb) and the real lesson tool.

Uses the learner test's session (tests/e2e/learner_e2e.py). Two runs of the program, each in a
work folder of its own that holds a table saved as a spreadsheet saves it (semicolons, a header
row «Français;Русский»):

1. Alt+0 and 2 open «Импорт урока...»; the file dialog («Выбор файла для импорта») takes the
   table's name; the import window («Импорт урока») shows the preview, and Return imports. The
   tool's report comes in a box «Информация», the new lesson opens in «Конспект-1» with the
   table's first word as its entry, and the lesson file is beside the table.
2. A table of many words to voice: Escape while the recordings are being made stops the tool;
   the window closes, no lesson opens, and the work folder holds nothing new.

Both tables keep their bytes. The program finds the tool in the build tree beside its own
folder; when the tool given is elsewhere, VERBARO_LESSON_TOOL names it. Exits 77 (skipped) only
when Xvfb is missing.

Usage: import_e2e.py --verbaro PATH --lesson-tool PATH [--artifacts DIR]
"""
import argparse
import os
import shutil
import sys
import tempfile
import time

import learner_e2e as e

WORDS = [("le chat", "кот"), ("la maison", "дом"), ("le livre", "книга"), ("manger", "есть"),
         ("la fenêtre", "окно"), ("l'école", "школа")]
PREVIEW = "Импорт урока: предпросмотр "
WRITTEN = "Импорт урока: записан урок "
CANCELLED = "Импорт урока: отменён"
RECORDINGS = "Импорт урока: записи звука: "


def write_table(path, rows):
    """A table as a spreadsheet saves it: UTF-8 with a byte order mark, CR LF line ends."""
    with open(path, "w", encoding="utf-8-sig", newline="") as f:
        f.write("Français;Русский\r\n")
        for french, russian in rows:
            f.write("%s;%s\r\n" % (french, russian))


def many_words(count):
    """Words made of French and Russian syllables, all different, none with a recording."""
    french = ["ba", "ce", "di", "fo", "gu", "la", "me", "ni", "po", "ru", "sa", "te", "vi", "zo",
              "cha", "lou", "mon", "pié", "tré", "gné"]
    russian = ["ба", "ве", "ги", "до", "жу", "за", "ки", "ло", "му", "не", "пи", "ро", "су", "ты",
               "фа", "хо", "це", "чу", "ша", "щи"]
    rows = []
    for i in range(count):
        a, b, c = i % 20, (i // 20) % 20, (i // 400) % 20
        rows.append((french[a] + french[b] + french[c], russian[a] + russian[b] + russian[c]))
    return rows


def open_import_window(s, table):
    """The menu item by its keys, the table's name typed in the file dialog; gives the import
    window once its preview is in the log."""
    previews = s.log().count(PREVIEW)
    s.focus_frame()
    before = set(s.visible_windows("."))
    s.keys.chord("Alt", "0")
    time.sleep(0.3)
    s.keys.chord("2")
    chooser = s.new_window(before, "file dialog of the import")
    title = s.keys.window_name(chooser)
    e.check(title == "Выбор файла для импорта", "the file dialog is titled %r" % title)
    s.run("xdotool", "windowfocus", "--sync", chooser, check_rc=False)
    time.sleep(0.5)
    s.run("xdotool", "type", "--delay", "60", table)
    s.keys.chord("Return")
    s.wait_gone(chooser, "the file dialog")
    window = s.new_window(before, "import window")
    title = s.keys.window_name(window)
    e.check(title == "Импорт урока", "the import window is titled %r" % title)
    s.wait_log(lambda log: log.count(PREVIEW) > previews, "the preview")
    s.run("xdotool", "windowfocus", "--sync", window, check_rc=False)
    time.sleep(0.3)
    return window


def start(s):
    s.start_xvfb()
    s.start_program()
    s.frame()
    s.wait_log(lambda log: 'Модуль "Конспект-1" в CWordsView::SetMainLog()' in log,
               "Conspect-1 to start")


def import_and_study(s, table):
    start(s)
    window = open_import_window(s, table)
    s.screenshot("import-window")
    # «Импортировать» is the default button.
    s.keys.chord("Return")
    log = s.wait_log(lambda text: WRITTEN in text, "the lesson to be written", timeout=120)
    lesson = os.path.join(s.work, os.path.splitext(table)[0] + ".db")
    e.check(WRITTEN + lesson in log, "the lesson was not written beside the table:\n" + log[-2000:])
    s.wait_gone(window, "the import window")
    log = s.wait_log(lambda text: "Открыт файл: " in text, "the new lesson to open")
    # The report's box comes before the lesson opens (a box of a missing sound device after it).
    report = log.split(WRITTEN, 1)[1].split("Открыт файл: ", 1)[0]
    e.check(report.startswith(lesson + "\nИнформация: ") and "Урок сохранён: " + lesson in report,
            "no report box naming the lesson:\n" + report)
    first = 'm_wsKeyWord = "%s"' % WORDS[0][0]
    s.wait_log(lambda text: first in text.split("Открыт файл: ", 1)[1],
               "the table's first word on the screen")
    e.check(os.path.isfile(lesson), "no lesson file at " + lesson)
    s.screenshot("imported-lesson")
    print("imported %s as %s and opened it: %s" % (table, os.path.basename(lesson), WORDS[0][0]))
    s.close_with_alt_f4()


def cancel_while_voicing(s, table):
    start(s)
    before = set(os.listdir(s.work))
    window = open_import_window(s, table)
    s.keys.chord("Return")
    s.wait_log(lambda text: RECORDINGS in text, "the recordings to start", timeout=120)
    e.check(WRITTEN not in s.log(), "the lesson was written before it could be cancelled")
    s.screenshot("import-progress")
    s.keys.chord("Escape")
    s.wait_log(lambda text: CANCELLED in text, "the import to stop", timeout=30)
    s.wait_gone(window, "the import window")
    time.sleep(0.5)
    # The program's own log and output files were there before the window opened.
    left = sorted(set(os.listdir(s.work)) - before - {"import-progress.ppm"})
    e.check(not left, "the cancelled import left %s" % left)
    e.check("Открыт файл: " not in s.log(), "a lesson was opened after the cancel")
    print("Escape stopped the import of %s; nothing was left behind" % table)
    s.close_with_alt_f4()


def run(args, title, prefix, table, rows, scenario):
    work = tempfile.mkdtemp(prefix=prefix)
    path = os.path.join(work, table)
    write_table(path, rows)
    session = e.Session(args, work)
    return e.run_session(title, session, lambda: scenario(session, table), [path],
                         (args.artifacts, prefix, ("verbaro.log", "verbaro.err")))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--verbaro", required=True)
    parser.add_argument("--lesson-tool", required=True)
    parser.add_argument("--artifacts")
    parser.add_argument("--no-leak-check", action="store_true")
    args = parser.parse_args()
    args.verbaro = os.path.abspath(args.verbaro)
    if not shutil.which("Xvfb"):
        print("SKIPPED: Xvfb is not installed (scripts/setup.sh installs it)")
        return e.SKIP
    missing = e.missing_tools(("xdotool", "import"))
    if missing:
        print("FAILED: %s is missing (scripts/setup.sh installs it)" % ", ".join(missing))
        return 1
    found = os.path.join(os.path.dirname(os.path.dirname(args.verbaro)), "tools",
                         "verbaro-lesson")
    if os.path.realpath(found) != os.path.realpath(args.lesson_tool):
        os.environ["VERBARO_LESSON_TOOL"] = os.path.abspath(args.lesson_tool)
    first = run(args, "e2e (import)", "verbaro-import-e2e-", "mots.csv", WORDS, import_and_study)
    second = run(args, "e2e (import cancelled)", "verbaro-import-cancel-e2e-", "beaucoup.csv",
                 many_words(3000), cancel_while_voicing)
    results = (first, second)
    if 1 in results:
        return 1
    return e.SKIP if all(result == e.SKIP for result in results) else 0


if __name__ == "__main__":
    sys.exit(main())

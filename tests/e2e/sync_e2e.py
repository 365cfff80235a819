#!/usr/bin/env python3
"""Progress that follows the learner from one machine to another through Syncthing, on two real
Syncthing instances and two real trainers on this machine.

Two Syncthing instances, each with its own home, GUI port and listening port (127.0.0.1 only),
are made with `syncthing generate` and configured through their REST API (the API key read from
config.xml): no global or local discovery, no relays, no NAT; each knows the other's device at a
static tcp address; both share one folder with a short rescan interval and the file watcher.
Two trainers (each its own Xvfb, home and copy of the lesson, at different paths) have
`[sync] folder=` set to their instance's folder in verbaro.conf.

The second trainer waits in "Экзамен-1" with the lesson open while the first answers an exam with
two missed words and closes: within the rescan interval the second says «Получено N ответов» in
its log and its Filters menu offers «Слова с ошибками», with the two words missed in its store.
Then both study at once (two exams answered at the same moment), close, start again and close:
each store then holds every answer of both, by machine and number, and the same missed words.
Exits 77 (skipped) when Xvfb or syncthing is missing.

Usage: sync_e2e.py --verbaro PATH --lesson PATH [--artifacts DIR]
"""
import argparse
import json
import os
import re
import shutil
import socket
import sqlite3
import subprocess
import sys
import tempfile
import threading
import time
import urllib.request
import xml.etree.ElementTree as ElementTree

import learner_e2e as e
import review_e2e as review
from e2e_common import SANITIZER_REPORT, read_log

FOLDER_ID = "verbaro-progress"
RESCAN_S = 5
ARRIVED = re.compile(r"^Синхронизация прогресса: (Получен[оа]? \d+ ответ\w* с \".*\")$", re.M)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Syncthing:
    """One instance: its home, ports, device id, the process and its REST API."""

    def __init__(self, work, name):
        self.name = name
        self.home = os.path.join(work, "syncthing-" + name)
        self.folder = os.path.join(work, "sync-" + name)
        self.gui_port = free_port()
        self.listen_port = free_port()
        self.process = None
        self.env = dict(os.environ, HOME=self.home, STNODEFAULTFOLDER="1", STNOUPGRADE="1",
                        STNORESTART="1")
        os.makedirs(self.folder)
        subprocess.run(["syncthing", "generate", "--home=" + self.home, "--no-default-folder",
                        "--skip-port-probing"], env=self.env, check=True, capture_output=True,
                       timeout=60)
        self.api_key = ElementTree.parse(os.path.join(self.home, "config.xml")).findtext("gui/apikey")
        e.check(self.api_key, "no API key in %s/config.xml" % self.home)
        self.device_id = subprocess.run(["syncthing", "serve", "--home=" + self.home, "--device-id"],
                                        env=self.env, check=True, capture_output=True, text=True,
                                        timeout=60).stdout.strip()

    def start(self):
        self.process = subprocess.Popen(
            ["syncthing", "serve", "--home=" + self.home, "--no-browser", "--no-restart",
             "--no-upgrade", "--gui-address=127.0.0.1:%d" % self.gui_port,
             "--logfile=" + os.path.join(self.home, "syncthing.log")],
            env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.time() + 60
        while time.time() < deadline:
            e.check(self.process.poll() is None, "syncthing %s ended at start" % self.name)
            try:
                if self.rest("GET", "/rest/system/ping").get("ping") == "pong":
                    return
            except OSError:
                pass
            time.sleep(0.3)
        raise e.Failure("syncthing %s did not answer on its REST API" % self.name)

    def rest(self, method, path, body=None):
        data = json.dumps(body).encode() if body is not None else None
        request = urllib.request.Request("http://127.0.0.1:%d%s" % (self.gui_port, path), data=data,
                                         method=method, headers={"X-API-Key": self.api_key,
                                                                 "Content-Type": "application/json"})
        with urllib.request.urlopen(request, timeout=10) as response:
            text = response.read()
        return json.loads(text) if text.strip() else {}

    def share_with(self, other):
        self.rest("PATCH", "/rest/config/options", {
            "listenAddresses": ["tcp://127.0.0.1:%d" % self.listen_port],
            "globalAnnounceEnabled": False, "localAnnounceEnabled": False,
            "relaysEnabled": False, "natEnabled": False, "urAccepted": -1,
            "crashReportingEnabled": False, "autoUpgradeIntervalH": 0})
        self.rest("PUT", "/rest/config/devices/" + other.device_id, {
            "deviceID": other.device_id, "name": other.name,
            "addresses": ["tcp://127.0.0.1:%d" % other.listen_port]})
        self.rest("PUT", "/rest/config/folders/" + FOLDER_ID, {
            "id": FOLDER_ID, "label": "Verbaro", "path": self.folder, "type": "sendreceive",
            "devices": [{"deviceID": self.device_id}, {"deviceID": other.device_id}],
            "rescanIntervalS": RESCAN_S, "fsWatcherEnabled": True, "fsWatcherDelayS": 1})

    def connected_to(self, other):
        connections = self.rest("GET", "/rest/system/connections").get("connections", {})
        return connections.get(other.device_id, {}).get("connected", False)

    def stop(self):
        e.stop_process(self.process)


class Pair:
    """Both trainers and both instances; stop() ends them all, the trainers first."""

    def __init__(self, args, work):
        self.work = work
        self.args = args
        self.trainers = []
        self.syncthings = []

    def stop(self):
        for trainer in self.trainers:
            trainer.stop()
        for syncthing in self.syncthings:
            syncthing.stop()


def trainer(args, work, name, lesson, folder):
    """A trainer session in a folder of its own with its copy of the lesson and its sync folder
    in verbaro.conf."""
    own = os.path.join(work, "trainer-" + name)
    os.makedirs(os.path.join(own, "config-home", "verbaro"))
    shutil.copyfile(lesson, os.path.join(own, os.path.basename(lesson)))
    with open(os.path.join(own, "config-home", "verbaro", "verbaro.conf"), "w") as f:
        f.write("[sync]\nfolder=%s\n" % folder)
    return e.Session(args, own)


def store_rows(session, sql):
    path = os.path.join(session.work, "data-home", "verbaro", "progress.sqlite")
    db = sqlite3.connect("file:%s?mode=ro" % path, uri=True)
    try:
        return db.execute(sql).fetchall()
    finally:
        db.close()


ANSWER_IDS = ("SELECT m.id, a.seq FROM answers AS a JOIN machines AS m ON m.origin = a.origin "
              "ORDER BY 1, 2")
MISSED_WORDS = ("SELECT e.word FROM memory AS m JOIN entries AS e ON e.id = m.entry_id "
                "WHERE m.missed = 1 AND m.direction = 1 ORDER BY 1")


def start_in_exam(s, lesson_name, open_lesson):
    s.start_program()
    s.frame()
    if open_lesson:
        s.wait_log(lambda log: 'Модуль "Конспект-1" в CWordsView::SetMainLog()' in log,
                   "Conspect-1 to start")
        s.focus_frame()
        s.keys.chord("F7")
        s.wait_log(lambda log: 'Модуль "Экзамен-1" в CWordsView::SetMainLog()' in log, "Экзамен-1")
        s.open_lesson(lesson_name)
    s.wait_log(lambda log: 'Модуль "Экзамен-1" в CWordsView::SetMainLog()' in log and
               review.RIGHT_CELL.search(log), "a question of Экзамен-1")


def restart(s, number):
    s.log_path = os.path.join(s.work, "verbaro-%d.log" % number)
    s.boxes_closed = 0
    s.keys.close()
    s.start_program()


def wait_for(condition, what, timeout):
    deadline = time.time() + timeout
    while time.time() < deadline:
        if condition():
            return
        time.sleep(0.5)
    raise e.Failure("timed out waiting for " + what)


def at_once(*actions):
    """Runs the actions on threads of their own at the same moment; the first failure is
    raised."""
    failures = []

    def run(action):
        try:
            action()
        except Exception as error:  # noqa: BLE001 - reported below
            failures.append(error)

    threads = [threading.Thread(target=run, args=(action,)) for action in actions]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    if failures:
        raise failures[0]


def scenario(pair, lesson):
    args = pair.args
    lesson_name = os.path.basename(lesson)
    first_st, second_st = Syncthing(pair.work, "desk"), Syncthing(pair.work, "laptop")
    pair.syncthings = [first_st, second_st]
    for syncthing in pair.syncthings:
        syncthing.start()
    first_st.share_with(second_st)
    second_st.share_with(first_st)
    wait_for(lambda: first_st.connected_to(second_st) and second_st.connected_to(first_st),
             "the two Syncthing instances to connect", 60)
    print("two Syncthing instances connected, folder rescan every %d s" % RESCAN_S)

    desk = trainer(args, pair.work, "desk", lesson, first_st.folder)
    laptop = trainer(args, pair.work, "laptop", lesson, second_st.folder)
    pair.trainers = [desk, laptop]
    desk.start_xvfb()
    laptop.start_xvfb()

    # The laptop waits with the lesson open while the desk answers an exam and closes.
    start_in_exam(laptop, lesson_name, True)
    start_in_exam(desk, lesson_name, True)
    review.answer_exam(desk, review.MISSES)
    desk_answers = len(store_rows(desk, ANSWER_IDS))
    missed = store_rows(desk, MISSED_WORDS)
    e.check(len(missed) == review.MISSES, "the desk missed %r" % missed)
    desk.close_with_alt_f4()
    closed = time.time()
    # A pass of the desk while it studied (the laptop's own file arriving, say) may have sent
    # some answers before the last pass at exit: the laptop says each arrival, and they add up.
    def arrived(log):
        return sum(int(re.search(r"\d+", said).group(0)) for said in ARRIVED.findall(log))
    text = laptop.wait_log(lambda log: arrived(log) >= desk_answers, "the desk's answers on the laptop",
                           timeout=3 * RESCAN_S + 10)
    print("on the laptop %.1f s after the desk closed: %s"
          % (time.time() - closed, "; ".join(ARRIVED.findall(text))))
    e.check(arrived(text) == desk_answers, "the laptop says %r for %d answers"
            % (ARRIVED.findall(text), desk_answers))
    e.check(store_rows(laptop, MISSED_WORDS) == missed, "missed on the laptop: %r, on the desk %r"
            % (store_rows(laptop, MISSED_WORDS), missed))
    names = []
    for ups in review.REVIEW_ITEMS:
        names.append(review.choose_filter_from_bottom(laptop, ups)[0])
        if names[-1] == review.MISSED:
            break
    e.check(names[-1] == review.MISSED,
            "the laptop's Filters menu ends with %r, without %r" % (names, review.MISSED))
    print("the laptop offers «%s»" % review.MISSED)

    # Both study at once: the desk starts again (in its exam), the laptop is in its review.
    restart(desk, 2)
    desk.frame()
    desk.wait_log(lambda log: review.RIGHT_CELL.search(log), "the desk's exam after its restart")
    at_once(lambda: review.answer_exam(desk, 1), lambda: review.answer_exam(laptop, 0))
    desk.close_with_alt_f4()
    laptop.close_with_alt_f4()
    ours = {"desk": store_rows(desk, ANSWER_IDS), "laptop": store_rows(laptop, ANSWER_IDS)}
    print("answers after studying at once: desk %d, laptop %d"
          % (len(ours["desk"]), len(ours["laptop"])))

    # Each starts again, takes in the other's journal, and closes.
    union = sorted(set(ours["desk"]) | set(ours["laptop"]))
    for number, s in ((3, desk), (2, laptop)):
        restart(s, number)
        s.frame()
    wait_for(lambda: store_rows(desk, ANSWER_IDS) == union and
             store_rows(laptop, ANSWER_IDS) == union,
             "every answer on both machines", 3 * RESCAN_S + 30)
    e.check(store_rows(desk, MISSED_WORDS) == store_rows(laptop, MISSED_WORDS),
            "the machines disagree on the missed words")
    desk.close_with_alt_f4()
    laptop.close_with_alt_f4()
    print("every answer on both machines: %d, by machine and number" % len(union))
    for s in pair.trainers:
        stderr = read_log(os.path.join(s.work, "verbaro.err"))
        e.check(not SANITIZER_REPORT.search(stderr), "sanitizer report:\n" + stderr[-4000:])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--verbaro", required=True)
    parser.add_argument("--lesson", required=True)
    parser.add_argument("--artifacts")
    parser.add_argument("--no-leak-check", action="store_true")
    args = parser.parse_args()
    args.verbaro = os.path.abspath(args.verbaro)
    if not shutil.which("Xvfb"):
        print("SKIPPED: Xvfb is not installed (scripts/setup.sh installs it)")
        return e.SKIP
    if not shutil.which("syncthing"):
        print("SKIPPED: syncthing is not installed (scripts/setup.sh installs it)")
        return e.SKIP
    missing = e.missing_tools(("xdotool",))
    if missing:
        print("FAILED: %s is missing (scripts/setup.sh installs it)" % ", ".join(missing))
        return 1
    work = tempfile.mkdtemp(prefix="verbaro-sync-e2e-")
    lesson = review.small_lesson(os.path.abspath(args.lesson), work)
    pair = Pair(args, work)
    return e.run_session("e2e (progress through Syncthing)", pair, lambda: scenario(pair, lesson),
                         [lesson], (args.artifacts, "sync-", ()))


if __name__ == "__main__":
    sys.exit(main())

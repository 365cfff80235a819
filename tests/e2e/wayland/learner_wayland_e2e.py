#!/usr/bin/env python3
"""The trainer as a learner uses it, natively on a Wayland desktop (a headless sway).

Starts sway with the headless backend, the pixman renderer and no Xwayland (as an unprivileged
user: in a user namespace when run as root, since wlroots compositors refuse root), and the
project's virtual keyboard client, which hands sway a French (AZERTY) keymap and later a Russian
one and sends physical key codes. CapsLock is locked before the program starts. The program runs
with Qt's Wayland platform and its diagnostic log:

  the program started with a lesson on its command line, which each mode opens when first shown;
  Конспект-1, French keymap, CapsLock on: Ctrl+O, the lesson name typed in the file dialog, an
    accented word composed with Ctrl + accent key, and the "=" key, which CapsLock shifts to "+"
    (the lock read from the key event itself, though the program never saw CapsLock pressed);
    menus opened with Alt and a digit, an item chosen, a menu closed with Escape and Alt pressed
    alone, after each of which a letter and a digit reach the word;
  Конспект-2, Russian keymap: Ctrl+O (by the key's US place: the key O gives "щ"),
    CapsLock switched off inside the file dialog, a Russian word typed in small letters; then a
    keymap whose CapsLock switches layouts (grp:caps_toggle), which must not read as a lock;
  Экзамен-1: Ctrl+O, an answer by the digit key, Alt+F2 and its message box;
  Ctrl+A: the About dialog;
  shortcuts by the letter on the key: AZERTY, Ctrl with the key that gives "a" (the US Q key)
    opens About and the US A key nothing; Dvorak, Ctrl with the key that gives "o" (the US S
    key) opens the file dialog, titled as under the other keymaps, and the US O key ("r")
    nothing; Russian active before AZERTY, the US Q key opens About (its letter in the French
    layout, from the keymap the compositor hands out);
  window titles read from sway's tree, exactly; Alt+F4 ends the program with exit code 1; the
  lesson files are unchanged. Screenshots are taken with grim.

Exits 77 (skipped) only when sway is not installed.

Usage: learner_wayland_e2e.py --verbaro PATH --keyboard PATH --lesson PATH [--artifacts DIR]
"""
import argparse
import glob
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from e2e_common import (FRAME_TITLE, SKIP, Failure, ProgramSession, check,  # noqa: E402
                        missing_tools, private_homes, red_pixels, run_session, sanitizer_options,
                        stop_process)


# Linux evdev codes of physical keys, named by their US key caps.
KEY = {
    "Escape": 1, "1": 2, "2": 3, "3": 4, "4": 5, "5": 6, "6": 7, "7": 8, "8": 9, "9": 10,
    "0": 11, "-": 12, "=": 13, "BackSpace": 14, "Tab": 15,
    "q": 16, "w": 17, "e": 18, "r": 19, "t": 20, "y": 21, "u": 22, "i": 23, "o": 24, "p": 25,
    "[": 26, "]": 27, "Return": 28, "Control": 29,
    "a": 30, "s": 31, "d": 32, "f": 33, "g": 34, "h": 35, "j": 36, "k": 37, "l": 38,
    ";": 39, "'": 40, "`": 41, "Shift": 42, "\\": 43,
    "z": 44, "x": 45, "c": 46, "v": 47, "b": 48, "n": 49, "m": 50, ",": 51, ".": 52, "/": 53,
    "Alt": 56, "space": 57, "CapsLock": 58, "F1": 59, "F2": 60, "F3": 61, "F4": 62, "F5": 63,
    "F6": 64, "F7": 65,
}

# The keys of the standard Russian layout, by the US key cap of the same physical key.
RUSSIAN = dict(zip("йцукенгшщзхъфывапролджэячсмитьбюё",
                   list("qwertyuiop[]asdfghjkl;'zxcvbnm,.`")))
RUSSIAN.update({" ": "space", ".": "/", "-": "-"})




class Keyboard:
    """The virtual keyboard client: one command a line, each answered once sway processed it."""

    def __init__(self, path, env, work):
        self.process = subprocess.Popen(
            [path], env=dict(env, ASAN_OPTIONS="detect_leaks=0"), stdin=subprocess.PIPE,
            stdout=subprocess.PIPE, stderr=open(os.path.join(work, "keyboard.err"), "w"),
            text=True, bufsize=1)

    def command(self, line):
        check(self.process.poll() is None, "the virtual keyboard ended")
        self.process.stdin.write(line + "\n")
        self.process.stdin.flush()
        answer = self.process.stdout.readline().strip()
        check(answer == "ok", "virtual keyboard: %s -> %r" % (line, answer))

    def keymap(self, layout, options=""):
        self.command(("keymap %s %s" % (layout, options)).strip())
        print("keymap:", layout, options)

    def chord(self, *names):
        """Presses the keys in order and releases them in reverse order."""
        for name in names:
            self.command("press %d" % KEY[name])
            time.sleep(0.02)
        for name in reversed(names):
            self.command("release %d" % KEY[name])
            time.sleep(0.02)
        time.sleep(0.04)

    def close(self):
        if self.process.poll() is None:
            self.process.stdin.close()
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


class Session(ProgramSession):
    def __init__(self, args, work):
        self.args = args
        self.work = work
        self.log_path = os.path.join(work, "verbaro.log")
        self.runtime = os.path.join(work, "run")
        self.sway = None
        self.app = None
        self.keys = None
        self.env = None
        self.titles_seen = set()
        self.file_dialog_title = None

    # ---- the compositor ----
    def start_sway(self):
        os.mkdir(self.runtime, 0o700)
        config = os.path.join(self.work, "sway.conf")
        with open(config, "w") as f:
            f.write("xwayland disable\noutput HEADLESS-1 mode 1280x1024\nfocus_follows_mouse no\n")
        env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": self.work,
               "XDG_RUNTIME_DIR": self.runtime, "WLR_BACKENDS": "headless",
               "WLR_RENDERER": "pixman", "WLR_LIBINPUT_NO_DEVICES": "1",
               "WLR_HEADLESS_OUTPUTS": "1"}
        command = ["sway", "-c", config]
        if os.geteuid() == 0:
            command = self.unprivileged() + command
        self.sway = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                                     stderr=open(os.path.join(self.work, "sway.log"), "w"))
        deadline = time.time() + 20
        sockets = []
        while time.time() < deadline and not (sockets and os.path.exists(self.display_path())):
            check(self.sway.poll() is None, "sway ended at start:\n" + self.sway_log()[-2000:])
            sockets = glob.glob(os.path.join(self.runtime, "sway-ipc.*.sock"))
            time.sleep(0.1)
        check(sockets and os.path.exists(self.display_path()),
              "sway did not open its sockets:\n" + self.sway_log()[-2000:])
        # Clients reach the compositor by the socket's full path; XDG_RUNTIME_DIR stays as it
        # is, as it tells the program where the sound server is.
        self.env = dict(os.environ, WAYLAND_DISPLAY=self.display_path(), SWAYSOCK=sockets[0])
        self.env.pop("DISPLAY", None)
        print("sway", self.run("sway", "--version").strip(), "on", self.display_path())

    def unprivileged(self):
        """The command prefix that runs sway as an ordinary user: wlroots compositors refuse
        root. A user namespace of its own when the system allows one (sway is user 1000 there and
        still reaches this test's files); otherwise a system user that the test creates."""
        namespace = ["unshare", "--user", "--map-user=1000", "--map-group=1000"]
        if subprocess.run(namespace + ["true"], capture_output=True).returncode == 0:
            return namespace
        user = "verbaro-e2e"
        if subprocess.run(["id", "-u", user], capture_output=True).returncode != 0:
            subprocess.run(["useradd", "--system", "--no-create-home", "--shell",
                            "/usr/sbin/nologin", user], check=True, capture_output=True)
            print("created the user", user)
        uid = int(subprocess.run(["id", "-u", user], capture_output=True, text=True).stdout)
        gid = int(subprocess.run(["id", "-g", user], capture_output=True, text=True).stdout)
        os.chown(self.runtime, uid, gid)
        os.chown(self.work, uid, gid)
        return ["setpriv", "--reuid=%d" % uid, "--regid=%d" % gid, "--clear-groups"]

    def display_path(self):
        return os.path.join(self.runtime, "wayland-1")

    def sway_log(self):
        try:
            with open(os.path.join(self.work, "sway.log"), errors="replace") as f:
                return f.read()
        except FileNotFoundError:
            return ""

    def run(self, *command, check_rc=True):
        result = subprocess.run(command, env=self.env, capture_output=True, text=True, timeout=30)
        if check_rc and result.returncode != 0:
            raise Failure("%s failed: %s" % (" ".join(command), result.stderr.strip()))
        return result.stdout

    # ---- windows, from sway's tree ----
    def windows(self):
        """The program's windows: (title, focused), in tree order."""
        tree = json.loads(self.run("swaymsg", "-t", "get_tree", "--raw"))
        found = []

        def walk(node):
            if node.get("pid") == self.app.pid and node.get("name") is not None:
                found.append((node["name"], bool(node.get("focused"))))
                self.titles_seen.add(node["name"])
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                walk(child)
        walk(tree)
        return found

    def focused_title(self):
        for title, focused in self.windows():
            if focused:
                return title
        return None

    def wait_focused(self, predicate, what, timeout=20):
        deadline = time.time() + timeout
        while time.time() < deadline:
            check(self.app.poll() is None, "the program ended while waiting for " + what)
            title = self.focused_title()
            if title is not None and predicate(title):
                return title
            time.sleep(0.1)
        raise Failure("timed out waiting for %s; windows: %s" % (what, self.windows()))

    def wait_frame_focused(self):
        return self.wait_focused(lambda t: t == FRAME_TITLE, "the frame to have the keys")

    # ---- the program ----
    def start_program(self, *arguments):
        env = dict(private_homes(self.env, self.work), QT_QPA_PLATFORM="wayland",
                   VERBARO_LOG=self.log_path, LANG="ru_RU.UTF-8")
        # Later options win over those of the environment. libxkbcommon hands strndup a buffer
        # without a terminating NUL when Qt reads the keymap; Mesa's EGL driver, which Qt's
        # Wayland plugin loads and unloads, keeps an allocation that only a full stack names
        # (the suppressions match libEGL_mesa): both are the libraries' own business.
        env["ASAN_OPTIONS"] = sanitizer_options(
            env, "strict_string_checks=0", "fast_unwind_on_malloc=0",
            *(["detect_leaks=0"] if self.args.no_leak_check else []))
        self.launch([self.args.verbaro, *arguments], env)

    def press_alt_f4(self):
        self.keys.chord("Alt", "F4")

    def stop(self):
        self.stop_program()
        if self.keys:
            self.keys.close()
        stop_process(self.sway)

    def wait_opened_by_itself(self, path, count_before, where):
        """The lesson given on the command line, opened as the mode is first shown."""
        line = "Открыт файл: " + path
        self.wait_log(lambda log: log.count(line) > count_before,
                      "the command-line lesson to open in " + where)
        print("command-line lesson opened in", where)
        return self.log().count(line)

    def close_box(self, caption, text):
        """Waits for the message box with this caption and text, checks its title, presses OK."""
        line = "%s: %s" % (caption, text)
        self.wait_log(lambda log: line in log, "the box " + line)
        self.wait_focused(lambda t: t == caption, 'the box titled "%s"' % caption)
        self.keys.chord("Return")
        self.wait_frame_focused()

    def open_lesson(self, typed_keys, expected_path, caps_off_in_dialog=False):
        """Ctrl+O, then the file name typed by physical keys in the file dialog."""
        opened_before = self.log().count("Открыт файл: ")
        self.wait_frame_focused()
        self.keys.chord("Control", "o")
        dialog = self.wait_focused(lambda t: t != FRAME_TITLE, "the file dialog after Ctrl+O")
        print("file dialog:", dialog)
        self.file_dialog_title = dialog
        if caps_off_in_dialog:
            self.keys.chord("CapsLock")
        for key in typed_keys:
            self.keys.chord(key)
        for _ in range(3):
            self.keys.chord("Return")
            try:
                self.wait_log(lambda log: log.count("Открыт файл: ") > opened_before,
                              "the lesson to open", timeout=5)
                break
            except Failure:
                if self.focused_title() == FRAME_TITLE:
                    raise
        opened = re.findall(r"^Открыт файл: (.*)$", self.log(), re.M)[-1]
        check(opened == expected_path, "opened %r, expected %r" % (opened, expected_path))
        self.wait_frame_focused()
        print("opened", opened)

    def screenshot(self, name):
        time.sleep(0.5)  # the log line comes with the repaint; the compositor gets it after
        path = os.path.join(self.work, name + ".ppm")
        self.run("grim", "-t", "ppm", path)
        if self.args.artifacts:
            os.makedirs(self.args.artifacts, exist_ok=True)
            self.run("grim", os.path.join(self.args.artifacts, "wayland-" + name + ".png"))
        return path






def open_dialog(s, chord, title):
    s.wait_frame_focused()
    s.keys.chord(*chord)
    s.wait_focused(lambda t: t == title, 'the dialog titled "%s" after %s' % (title, "+".join(chord)))
    s.keys.chord("Escape")
    s.wait_frame_focused()


def no_dialog_after(s, chord, what):
    s.wait_frame_focused()
    s.keys.chord(*chord)
    time.sleep(2)
    windows = s.windows()
    check([t for t, _ in windows] == [FRAME_TITLE] and s.focused_title() == FRAME_TITLE,
          "%s opened a window: %s" % (what, windows))


def shortcuts_follow_the_letter_on_the_key(s):
    check(s.file_dialog_title, "the file dialog's title was not seen")
    opened_before = s.log().count("Открыт файл: ")
    s.keys.keymap("fr")
    open_dialog(s, ["Control", "q"], "О программе")
    no_dialog_after(s, ["Control", "a"], 'AZERTY: Ctrl with the key that gives "q"')
    open_dialog(s, ["Control", "o"], s.file_dialog_title)
    print('AZERTY: Ctrl+A by the key that gives "a", Ctrl+O by the key that gives "o"')
    s.keys.keymap("us(dvorak)")
    open_dialog(s, ["Control", "s"], s.file_dialog_title)
    no_dialog_after(s, ["Control", "o"], 'Dvorak: Ctrl with the key that gives "r"')
    print('Dvorak: Ctrl+O by the key that gives "o"; the US O key ("r") opens nothing')
    s.keys.keymap("ru,fr")
    open_dialog(s, ["Control", "q"], "О программе")
    no_dialog_after(s, ["Control", "a"], "Russian before AZERTY: Ctrl with the US A key")
    print("Russian active before AZERTY: Ctrl+A by the key's letter in the French layout")
    check(s.log().count("Открыт файл: ") == opened_before, "a file was opened")
    s.keys.keymap("ru")


def keys_reach_the_word(s, typed, after):
    """A letter and a digit typed now reach the view, not the menu bar; then they are erased."""
    s.keys.chord("x")
    s.wait_typed(typed + "x", error=True)
    s.keys.chord("1")  # in the menu bar it would open «1-Действия»
    s.wait_typed(typed + "x1", error=True)
    s.keys.chord("BackSpace")
    s.keys.chord("BackSpace")
    s.wait_typed(typed)
    print("after %s the letter and the digit reached the word" % after)


def keys_back_to_the_word_after_menus(s, typed):
    """Alt+1 opens «1-Действия», whose item 2 hides the header and, chosen again, shows it: the
    menus open from the keys here. After an item chosen, and after a menu closed with Escape,
    the next keys go to the word."""
    s.keys.keymap("us")  # the access keys are the digits of the menu's texts
    for hidden in (1, 0):
        line = 'Модуль "Конспект-1" : m_bHideHeader = %d' % hidden
        before = s.log().count(line)
        s.keys.chord("Alt", "1")
        time.sleep(0.5)
        s.keys.chord("2")
        s.wait_log(lambda log, line=line: log.count(line) > before,
                   "the item of «1-Действия» chosen with its digit")
        keys_reach_the_word(s, typed, "an item chosen in a menu opened with Alt+1")
    for digit in ("0", "1"):
        s.keys.chord("Alt", digit)
        time.sleep(0.5)
        s.keys.chord("Escape")
        keys_reach_the_word(s, typed, "a menu opened with Alt+%s and closed with Escape" % digit)
    s.keys.chord("Alt")
    keys_reach_the_word(s, typed, "Alt pressed and released alone")
    s.keys.keymap("fr")


def current_key_word(s):
    """The entry shown after the last lesson opened."""
    def entry(log):
        after_open = log[log.rfind("Открыт файл: "):]
        return re.findall(r'm_wsKeyWord = "(.*?)" : ', after_open)
    return entry(s.wait_log(entry, "the first entry of the lesson"))[-1]


def scenario(s, latin_lesson, cyrillic_lesson):
    s.start_sway()
    s.keys = Keyboard(s.args.keyboard, s.env, s.work)
    s.keys.keymap("fr")
    s.keys.chord("CapsLock")  # locked before the program starts
    # A lesson given on the command line, by a path relative to the working folder: every mode
    # opens it as the mode is first shown.
    start_lesson = os.path.join(s.work, cyrillic_lesson)
    s.start_program(cyrillic_lesson)
    s.wait_frame_focused()
    s.wait_log(lambda log: 'Модуль "Конспект-1" в CWordsView::SetMainLog()' in log,
               "Conspect-1 to start")
    print("frame titled exactly:", FRAME_TITLE)
    opened = s.wait_opened_by_itself(start_lesson, 0, "Конспект-1")

    # ---- Конспект-1, French keymap, CapsLock on ----
    # CapsLock gives capitals in the file dialog: the lesson's copy is named in capitals.
    s.open_lesson("lecon", os.path.join(s.work, latin_lesson))
    check(current_key_word(s) == "été", "unexpected first entry")
    s.keys.chord("Control", "'")
    s.keys.chord("e")
    s.wait_typed("é")
    s.keys.chord("t")
    s.keys.chord("Control", "'")
    s.keys.chord("e")
    s.wait_typed("été")
    # The "=" key gives "+" when shifted: CapsLock, on since before the start, counts.
    s.keys.chord("=")
    s.wait_typed("été+", error=True)
    wrong = s.screenshot("conspect1-1-capslock-plus")
    s.keys.chord("BackSpace")
    s.wait_typed("été")
    right = s.screenshot("conspect1-2-ete")
    wrong_red, right_red = red_pixels(wrong), red_pixels(right)
    print("red pixels: wrong line %d, corrected line %d" % (wrong_red, right_red))
    check(wrong_red > right_red + 300, "the wrong character did not turn the line red")
    print("composed été under the French keymap; CapsLock read as on")
    keys_back_to_the_word_after_menus(s, "été")

    # ---- Конспект-2, Russian keymap ----
    s.keys.chord("Alt", "F5")
    s.wait_log(lambda log: 'Модуль "Конспект-2" в CWordsView::SetMainLog()' in log,
               "the view Конспект-2")
    opened = s.wait_opened_by_itself(start_lesson, opened, "Конспект-2")
    s.keys.keymap("ru")  # CapsLock stays locked across the change
    s.open_lesson([RUSSIAN[c] for c in "урок"], os.path.join(s.work, cyrillic_lesson),
                  caps_off_in_dialog=True)
    word = current_key_word(s)
    check(word and all(c.lower() in RUSSIAN for c in word), "entry %r is not typable here" % word)
    typed = ""
    for c in word:
        # A capital with Shift held; small letters alone show that CapsLock reads as off.
        s.keys.chord(*(["Shift"] if c.isupper() else []), RUSSIAN[c.lower()])
        typed += c
        s.wait_typed(typed)
    s.screenshot("conspect2-typed")
    print('typed "%s": CapsLock, switched off in the dialog, read as off' % word)
    # Where CapsLock switches layouts (grp:caps_toggle) it locks nothing: still a small letter.
    s.keys.keymap("ru,us", "grp:caps_toggle")
    s.keys.chord("CapsLock")
    s.keys.chord("q")
    s.wait_typed(word + "й", error=True)
    s.keys.chord("BackSpace")
    s.wait_typed(word)
    print("CapsLock as a layout switch (grp:caps_toggle) is no lock")
    s.keys.keymap("ru")

    # ---- Экзамен-1 ----
    s.keys.chord("F7")
    s.wait_log(lambda log: 'Модуль "Экзамен-1" в CWordsView::SetMainLog()' in log,
               "the view Экзамен-1")
    s.wait_opened_by_itself(start_lesson, opened + 1, "Экзамен-1")
    s.open_lesson([RUSSIAN[c] for c in "урок"], os.path.join(s.work, cyrillic_lesson))
    s.keys.chord("1")
    s.wait_log(lambda log: re.search(r"^(Правильно: |Неправильно; правильный ответ: )", log, re.M),
               "an answer in Экзамен-1")
    answer = re.findall(r"^(Правильно: .*|Неправильно; правильный ответ: .*)$", s.log(), re.M)[-1]
    print("answered:", answer)
    s.screenshot("exam1-answered")
    s.keys.chord("Alt", "F2")
    s.close_box("Информация", 'Модуль "Экзамен-1" :\nЗвук выключен!')

    # ---- About, by Ctrl+A under the Russian keymap (the key A gives "ф") ----
    s.keys.chord("Control", "a")
    s.wait_focused(lambda t: t == "О программе", 'the About dialog titled "О программе"')
    s.screenshot("about")
    s.keys.chord("Escape")
    s.wait_frame_focused()

    shortcuts_follow_the_letter_on_the_key(s)

    s.close_with_alt_f4()
    print("titles seen:", sorted(s.titles_seen))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--verbaro", required=True)
    parser.add_argument("--keyboard")
    parser.add_argument("--lesson", required=True)
    parser.add_argument("--artifacts")
    parser.add_argument("--no-leak-check", action="store_true",
                        help="run the program without LeakSanitizer's check at exit")
    args = parser.parse_args()
    args.verbaro = os.path.abspath(args.verbaro)
    if args.keyboard:
        args.keyboard = os.path.abspath(args.keyboard)

    if not shutil.which("sway"):
        print("SKIPPED: sway is not installed (scripts/setup.sh installs it)")
        return SKIP
    missing = missing_tools(("swaymsg", "grim"))
    if os.geteuid() == 0 and not shutil.which("unshare"):
        missing.append("unshare")
    if not args.keyboard or not os.path.exists(args.keyboard):
        missing.append("the virtual keyboard client (needs libwayland-dev and libxkbcommon-dev)")
    if missing:
        print("FAILED: missing %s (scripts/setup.sh installs them)" % ", ".join(missing))
        return 1

    work = tempfile.mkdtemp(prefix="verbaro-wayland-e2e-")
    os.chmod(work, 0o755)
    lessons = [os.path.join(work, name) for name in ("LECON.db", "урок.db")]
    for path in lessons:
        shutil.copyfile(args.lesson, path)
    session = Session(args, work)
    return run_session("e2e (Wayland)", session,
                       lambda: scenario(session, "LECON.db", "урок.db"), lessons,
                       (args.artifacts, "wayland-",
                        ("verbaro.log", "verbaro.err", "sway.log", "keyboard.err")))


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""The trainer on GNOME's own compositor: gnome-shell nested in Xvfb, natively on Wayland.

GNOME takes Alt+F2 and Alt+F5 to Alt+F7 for itself and places a program's dialogs like any new
window. This test starts gnome-shell (--nested --wayland, no Xwayland) inside Xvfb with a
private runtime folder, a private session bus and a private system bus, so that its whole output
can be photographed and keys go through GNOME to the program (XTEST on Xvfb, read by the nested
shell). The program runs with Qt's Wayland platform, its diagnostic log, a lesson on its command
line and no sound server:

  the device box comes once when the lesson sounds, over the middle of the main window (its
    place read from screenshots: the box's pixels against the window's); no box blames the
    recording; after Return the typed key reaches the view;
  maximising the window (Super+Up) and switching modes sound again, and raise no box;
  Shift+F5, Shift+F6, Shift+F7 open «Конспект-2», «Видео-2», «Экзамен-2»; Shift+F2 switches the
    sound and its box is over the window too; a digit after it answers the exam;
  Ctrl+A (About) and Ctrl+O (the file chooser) are photographed and closed with Escape;
  Alt+F4 ends the program with exit code 1; the lesson file keeps its bytes.

--scale 2 runs the same on a monitor of scale 2 (twice the pixels, the same logical size).
Exits 77 (skipped), saying why, when gnome-shell is not installed or cannot start here.

Usage: gnome_e2e.py --verbaro PATH --lesson PATH [--scale N] [--artifacts DIR]
"""
import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from e2e_common import (SKIP, Failure, ProgramSession, Skip, check, missing_tools,  # noqa: E402
                        read_ppm, run_session, sanitizer_options)

WIDTH, HEIGHT = 1366, 768  # the logical size of the monitor
DEVICE_BOX = "Ошибка: Нет устройства вывода звука"
RECORDING_BOX = "Не могу обработать mp3-файл в памяти!"
SHELL_START_TIMEOUT = 30  # seconds; the shell says it started within 2 s when all is well
SHELL_ATTEMPTS = 4


def free_display():
    for number in range(140, 240):
        if not os.path.exists("/tmp/.X11-unix/X%d" % number) and \
                not os.path.exists("/tmp/.X%d-lock" % number):
            return number
    raise Failure("no free X display number")


class Session(ProgramSession):
    log_timeout = 30

    def __init__(self, args, work):
        self.args = args
        self.work = work
        self.scale = args.scale
        self.runtime = os.path.join(work, "run")
        self.home = os.path.join(work, "home")
        self.log_path = os.path.join(work, "verbaro.log")
        self.processes = []
        self.app = None
        self.display = None
        self.env = None
        self.shots = 0

    # ---- Xvfb, the buses and gnome-shell ----
    def spawn(self, command, env, name):
        process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                                   stderr=open(os.path.join(self.work, name + ".log"), "w"),
                                   start_new_session=True)
        self.processes.append(process)
        return process

    def text_of(self, name):
        try:
            with open(os.path.join(self.work, name + ".log"), errors="replace") as f:
                return f.read()
        except FileNotFoundError:
            return ""

    def start(self):
        """Xvfb, the buses and gnome-shell, up to its desktop.

        Outside a systemd user session the shell starts ibus-daemon itself, through a fork whose
        child runs script code before it execs; on a loaded machine that child now and then
        deadlocks (about one start in fifteen with both cores busy), and the shell waits for it
        for ever, drawing nothing. Such a shell is stopped and the desktop started afresh, as is
        one that ended before it finished."""
        for attempt in range(1, SHELL_ATTEMPTS + 1):
            if self.start_desktop():
                self.leave_overview()
                return
            print("gnome-shell did not finish starting in %d s (attempt %d); starting again"
                  % (SHELL_START_TIMEOUT, attempt))
            self.stop_processes()
            keep = os.path.join(self.work, "gnome-shell-stalled-%d.log" % attempt)
            shutil.copyfile(os.path.join(self.work, "gnome-shell.log"), keep)
            shutil.rmtree(self.runtime)
            shutil.rmtree(self.home)
        raise Failure("gnome-shell did not finish starting in %d attempts:\n%s"
                      % (SHELL_ATTEMPTS, self.text_of("gnome-shell")[-1500:]))

    def start_desktop(self):
        os.mkdir(self.runtime, 0o700)
        os.mkdir(self.home)
        number = free_display()
        self.display = ":%d" % number
        size = "%dx%d" % (WIDTH * self.scale, HEIGHT * self.scale)
        self.spawn(["Xvfb", self.display, "-screen", "0", size + "x24", "-nolisten", "tcp",
                    "-noreset"], dict(os.environ), "xvfb")
        deadline = time.time() + 15
        while not os.path.exists("/tmp/.X11-unix/X%d" % number):
            check(time.time() < deadline, "Xvfb did not start:\n" + self.text_of("xvfb"))
            time.sleep(0.1)

        base = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": self.home,
                "DISPLAY": self.display, "XDG_RUNTIME_DIR": self.runtime,
                "XDG_CONFIG_HOME": os.path.join(self.home, ".config"),
                "XDG_DATA_HOME": os.path.join(self.home, ".local", "share"),
                "XDG_CACHE_HOME": os.path.join(self.home, ".cache"),
                "LANG": "C.UTF-8", "XDG_SESSION_TYPE": "wayland", "XDG_CURRENT_DESKTOP": "GNOME"}
        # Buses of the test's own: gnome-shell asks the system bus for logind and the session
        # bus for its helpers; neither touches the machine's.
        buses = {}
        for bus in ("system", "session"):
            path = os.path.join(self.runtime, bus + "_bus")
            self.spawn(["dbus-daemon", "--session", "--nofork", "--nopidfile",
                        "--address=unix:path=" + path], base, "dbus-" + bus)
            buses[bus] = "unix:path=" + path
        deadline = time.time() + 10
        while not all(os.path.exists(a[len("unix:path="):]) for a in buses.values()):
            check(time.time() < deadline, "the private buses did not start")
            time.sleep(0.05)
        shell_env = dict(base, DBUS_SYSTEM_BUS_ADDRESS=buses["system"],
                         DBUS_SESSION_BUS_ADDRESS=buses["session"],
                         MUTTER_DEBUG_DUMMY_MODE_SPECS=size,
                         MUTTER_DEBUG_DUMMY_MONITOR_SCALES=str(self.scale))
        # No notification banners (running as root, no screen lock): they would come and go
        # over the screenshots. The setting goes to the test's own settings database.
        subprocess.run(["gsettings", "set", "org.gnome.desktop.notifications", "show-banners",
                        "false"], env=shell_env, capture_output=True, timeout=30)
        shell = self.spawn(["gnome-shell", "--nested", "--wayland", "--no-x11",
                            "--wayland-display=wayland-verbaro"], shell_env, "gnome-shell")
        socket = os.path.join(self.runtime, "wayland-verbaro")
        deadline = time.time() + 60
        while not os.path.exists(socket):
            if shell.poll() is not None or time.time() > deadline:
                raise Skip("gnome-shell cannot start here:\n" + self.text_of("gnome-shell")[-1500:])
            time.sleep(0.1)
        print(subprocess.run(["gnome-shell", "--version"], capture_output=True,
                             text=True).stdout.strip(), "nested in Xvfb", self.display,
              "at", size, "scale", self.scale)
        self.env = shell_env
        deadline = time.time() + SHELL_START_TIMEOUT
        while "GNOME Shell started" not in self.text_of("gnome-shell"):
            if shell.poll() is not None or time.time() > deadline:
                return False
            time.sleep(0.2)
        return True

    def pixel(self, image, x, y):
        width, _, data = image
        i = (y * width + x) * 3
        return data[i], data[i + 1], data[i + 2]

    def on_desktop(self, image):
        """The overview is dark grey; the desktop behind windows is GNOME's blue."""
        r, g, b = self.pixel(image, WIDTH * self.scale // 2, HEIGHT * self.scale - 10)
        return b > r + 40

    def leave_overview(self):
        """GNOME opens in its overview; Super leaves it, once the shell is up."""
        deadline = time.time() + 40
        while time.time() < deadline:
            time.sleep(1.5)
            if self.on_desktop(self.shot_image()):
                return
            self.key("super")
        raise Failure("the shell stayed in its overview")

    # ---- keys and pictures, through Xvfb ----
    def key(self, *chords):
        for chord in chords:
            subprocess.run(["xdotool", "key", "--delay", "60", chord], check=True,
                           env=dict(os.environ, DISPLAY=self.display))
            time.sleep(0.15)

    def shot_image(self, name=None):
        path = os.path.join(self.work, (name or "probe") + ".ppm")
        subprocess.run(["import", "-display", self.display, "-window", "root", "-depth", "8",
                        path], check=True, capture_output=True)
        if name and self.args.artifacts:
            os.makedirs(self.args.artifacts, exist_ok=True)
            suffix = "" if self.scale == 1 else "-scale%d" % self.scale
            subprocess.run(["convert", path, os.path.join(
                self.args.artifacts, "gnome%s-%s.png" % (suffix, name))], check=True)
        return read_ppm(path)

    # ---- the program ----
    def start_program(self, lesson):
        env = dict(os.environ, WAYLAND_DISPLAY=os.path.join(self.runtime, "wayland-verbaro"),
                   QT_QPA_PLATFORM="wayland", XDG_CURRENT_DESKTOP="GNOME",
                   XDG_SESSION_TYPE="wayland", VERBARO_LOG=self.log_path, LANG="ru_RU.UTF-8",
                   HOME=self.home, XDG_CONFIG_HOME=os.path.join(self.home, ".config"),
                   XDG_DATA_HOME=os.path.join(self.home, ".local", "share"),
                   DBUS_SESSION_BUS_ADDRESS=self.env["DBUS_SESSION_BUS_ADDRESS"],
                   # No sound server: the device box comes, once.
                   XDG_RUNTIME_DIR=self.runtime, PULSE_SERVER="unix:" +
                   os.path.join(self.runtime, "no-sound-server"))
        env.pop("DISPLAY", None)
        env["ASAN_OPTIONS"] = sanitizer_options(
            env, "strict_string_checks=0", "fast_unwind_on_malloc=0", "detect_leaks=0")
        self.launch([self.args.verbaro, lesson], env)

    def press_alt_f4(self):
        self.key("alt+F4")  # GNOME closes the window; the program ends with 1

    def stop(self):
        self.stop_program()
        self.stop_processes()

    def stop_processes(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                os.killpg(process.pid, signal.SIGTERM)
                try:
                    process.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    os.killpg(process.pid, signal.SIGKILL)
                    process.wait()
        self.processes = []

    def wait_count(self, line, count, what):
        return self.wait_log(lambda log: log.count(line) >= count, what)

    def wait_still(self, before, timeout=10):
        """A screenshot once the picture has stopped changing (a repaint, an animation)."""
        deadline = time.time() + timeout
        previous = before
        while time.time() < deadline:
            time.sleep(0.4)
            image = self.shot_image()
            if previous is not None and image[2] == previous[2]:
                return image
            previous = image
        return previous


def same_below_top_bar(first, second, scale):
    """Whether two screenshots show the same below GNOME's top bar, whose clock moves on its own
    when a minute turns."""
    width, _, a = first
    start = 40 * scale * width * 3
    return a[start:] == second[2][start:]


def solid_changed_box(first, second, scale, ignore_top):
    """The largest block of rows in which the pixels that differ form one long run: a box drawn
    over the window, without the thin changes around it (text greyed while the box is up)."""
    width, height, a = first
    _, _, b = second
    row_bytes = width * 3
    least = 100 * scale
    rows = {}
    for y in range(ignore_top, height):
        start = y * row_bytes
        row_a, row_b = a[start:start + row_bytes], b[start:start + row_bytes]
        if row_a == row_b:
            continue
        best, run_start, last = None, None, None
        for x in range(width):
            i = x * 3
            if row_a[i:i + 3] == row_b[i:i + 3]:
                continue
            if last is None or x - last > 3:
                run_start = x
            last = x
            if best is None or last - run_start > best[1] - best[0]:
                best = (run_start, last)
        if best and best[1] - best[0] >= least:
            rows[y] = best
    blocks, block = [], []
    for y in sorted(rows):
        if block and y != block[-1] + 1:
            blocks.append(block)
            block = []
        block.append(y)
    if block:
        blocks.append(block)
    if not blocks:
        return None
    block = max(blocks, key=len)
    return (min(rows[y][0] for y in block), block[0], max(rows[y][1] for y in block), block[-1])


def changed_box(first, second, scale, ignore_top):
    """The bounding box (left, top, right, bottom) of the pixels that differ, below the top bar."""
    width, height, a = first
    _, _, b = second
    left, top, right, bottom = width, height, -1, -1
    row_bytes = width * 3
    for y in range(ignore_top, height):
        start = y * row_bytes
        row_a, row_b = a[start:start + row_bytes], b[start:start + row_bytes]
        if row_a == row_b:
            continue
        xs = [i // 3 for i in range(0, row_bytes, 3) if row_a[i:i + 3] != row_b[i:i + 3]]
        left, right = min(left, xs[0]), max(right, xs[-1])
        top, bottom = min(top, y), max(bottom, y)
    return None if right < 0 else (left, top, right, bottom)


def check_box_over_window(s, desktop, name, caption_line, closing_key="Return"):
    """The box now on the screen is over the middle of the main window: its pixels (the
    difference before and after it closes) against the window's (the difference from the empty
    desktop)."""
    top_bar = 40 * s.scale
    # The window and its box drawn, and still (the first frames take a while under the sanitizers).
    deadline = time.time() + 30
    with_box = s.wait_still(None)
    while changed_box(desktop, with_box, s.scale, top_bar) is None:
        check(time.time() < deadline, "the main window did not come on the screen")
        with_box = s.wait_still(None)
    s.shot_image(name)
    s.key(closing_key)
    without = s.wait_still(None)
    window = changed_box(desktop, without, s.scale, top_bar)
    box = solid_changed_box(with_box, without, s.scale, top_bar)
    check(window is not None, "the main window is not on the screen")
    check(box is not None, "no box on the screen for " + caption_line)
    wx, wy = (window[0] + window[2]) / 2, (window[1] + window[3]) / 2
    bx, by = (box[0] + box[2]) / 2, (box[1] + box[3]) / 2
    print("%s: box %s centred at (%d, %d); window %s centred at (%d, %d)"
          % (name, box, bx, by, window, wx, wy))
    check(window[0] <= box[0] and box[2] <= window[2] and window[1] <= box[1] and
          box[3] <= window[3], "the box is not inside the main window")
    check((box[2] - box[0]) * (box[3] - box[1]) < (window[2] - window[0]) * (window[3] - window[1]) / 3,
          "what changed is the whole window, not a box on it")
    # The window's caption bar (drawn by the program on GNOME) moves its middle a little down.
    check(abs(bx - wx) <= 6 * s.scale and abs(by - wy) <= 30 * s.scale,
          "the box is not over the middle of the main window")
    return without


def scenario(s, lesson):
    s.start()
    desktop = s.wait_still(None)
    s.shot_image("0-desktop")
    s.start_program(lesson)

    # ---- the lesson opens and sounds without a sound server: one box, over the window ----
    s.wait_log(lambda log: "Открыт файл: " + lesson in log, "the command-line lesson to open")
    s.wait_count(DEVICE_BOX, 1, "the box saying the sound device is missing")
    time.sleep(1)
    check_box_over_window(s, desktop, "1-device-box", DEVICE_BOX)
    check(RECORDING_BOX not in s.log(), "a box blamed the recording")

    # ---- typing after the box reaches the view ----
    s.key("x")
    s.wait_log(lambda log: re.search(r'^Набрано: "x" : ошибка$', log, re.M),
               'the typed "x" in Конспект-1')
    s.key("BackSpace")
    print("typing after the box reaches the view")

    # ---- repaints and other modes sound again without another box ----
    s.key("super+Up")  # GNOME maximises the window
    time.sleep(2)
    s.shot_image("2-maximised")
    for chord, mode in (("shift+F5", "Конспект-2"), ("shift+F6", "Видео-2"),
                        ("shift+F7", "Экзамен-2")):
        opened = s.log().count("Открыт файл: ")
        s.key(chord)
        s.wait_log(lambda log, m=mode: 'Модуль "%s" в CWordsView::SetMainLog()' % m in log,
                   "%s after %s" % (mode, chord))
        s.wait_log(lambda log, n=opened: log.count("Открыт файл: ") > n,
                   "the lesson to open in " + mode)
        print(chord, "opened", mode)
        time.sleep(1)
    check(s.log().count(DEVICE_BOX) == 1, "the device box came again")
    check(RECORDING_BOX not in s.log(), "a box blamed the recording")
    print("one device box for the whole run, none about the recording")
    s.key("super+Down")  # back to the window's own size, so that the desktop shows around it
    time.sleep(2)

    # ---- Shift+F2 switches the sound; its box is over the window; a digit answers after it ----
    switched = 'Информация: Модуль "Экзамен-2" :\nЗвук выключен!'
    s.key("shift+F2")
    s.wait_log(lambda log: switched in log, "the sound switch box after Shift+F2")
    check_box_over_window(s, desktop, "3-sound-box", switched)
    answers = len(re.findall(r"^(Правильно: |Неправильно; правильный ответ: )", s.log(), re.M))
    s.key("1")
    s.wait_log(lambda log: len(re.findall(r"^(Правильно: |Неправильно; правильный ответ: )",
                                          log, re.M)) > answers, "the answer after the box")
    print("Shift+F2 switched the sound off; the digit after its box answered the exam")

    # ---- About and the file chooser, photographed ----
    s.key("ctrl+a")
    time.sleep(2)
    s.shot_image("4-about")
    s.key("Escape")
    time.sleep(1)
    opened = s.log().count("Открыт файл: ")
    before = s.wait_still(None)
    s.key("ctrl+o")
    # GNOME's own chooser (through Qt's GTK platform theme) takes a few seconds to come up.
    deadline = time.time() + 30
    while same_below_top_bar(s.shot_image(), before, s.scale):
        check(time.time() < deadline, "no file chooser after Ctrl+O")
        time.sleep(0.5)
    s.wait_still(None)
    s.shot_image("5-file-chooser")
    for attempt in range(4):
        s.key("Escape")  # the chooser may take the keys only a moment after it shows
        if same_below_top_bar(s.wait_still(None), before, s.scale):
            break
        check(attempt < 3, "the file chooser stayed after Escape")
        time.sleep(2)
    check(s.log().count("Открыт файл: ") == opened, "cancelling the chooser opened a file")
    print("file chooser photographed and cancelled")

    s.close_with_alt_f4()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--verbaro", required=True)
    parser.add_argument("--lesson", required=True)
    parser.add_argument("--scale", type=int, default=1)
    parser.add_argument("--artifacts")
    args = parser.parse_args()
    args.verbaro = os.path.abspath(args.verbaro)

    missing = missing_tools(("gnome-shell", "Xvfb", "dbus-daemon", "xdotool", "import",
                             "convert"))
    if missing:
        print("SKIPPED: %s not installed (scripts/setup.sh installs them)" % ", ".join(missing))
        return SKIP

    work = tempfile.mkdtemp(prefix="verbaro-gnome-e2e-")
    lesson = os.path.join(work, "урок.db")
    shutil.copyfile(args.lesson, lesson)
    session = Session(args, work)
    return run_session("e2e (GNOME, scale %d)" % args.scale, session,
                       lambda: scenario(session, lesson), [lesson],
                       (args.artifacts, "gnome-%d-" % args.scale,
                        ("verbaro.log", "verbaro.err", "gnome-shell.log")))


if __name__ == "__main__":
    sys.exit(main())

"""What the end-to-end tests on X11 and on Wayland share: failures, the program's diagnostic log,
screenshots, the lesson's bytes, and one run of a session from its start to its teardown and the
checks every run ends with. Plain python3 standard library."""
import hashlib
import os
import re
import shutil
import subprocess
import time

SKIP = 77
FRAME_TITLE = "Обучающая программа: «Verbaro, v. 1.00»"

# The log's line for the typing line: the typed text, and " : ошибка" when it turned red.
TYPED_LINE = re.compile(r'^Набрано: "(.*)"( : ошибка)?$', re.M)


# What the sanitizers write when they find a fault in the program.
SANITIZER_REPORT = re.compile(r"ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:")


class Failure(Exception):
    pass


class Skip(Exception):
    """The run cannot take place here (a compositor that does not start, say): exit 77."""


def private_homes(env, work):
    """The environment with the program's settings and progress in folders of the test's work
    folder (data-home, config-home), never in the user's own: a run starts as a first start.
    The sound server's client settings (its address and cookie, in the config folder's pulse/)
    stay reachable, or the program would find no sound server."""
    config = os.path.join(work, "config-home")
    own = env.get("XDG_CONFIG_HOME") or os.path.join(os.path.expanduser("~"), ".config")
    pulse = os.path.join(config, "pulse")
    if os.path.isdir(os.path.join(own, "pulse")) and not os.path.lexists(pulse):
        # A copy: libpulse refuses a folder that is a symbolic link.
        shutil.copytree(os.path.join(own, "pulse"), pulse, symlinks=True)
    return dict(env, XDG_DATA_HOME=os.path.join(work, "data-home"), XDG_CONFIG_HOME=config)


def check(condition, message):
    if not condition:
        raise Failure(message)


def read_log(path):
    """The diagnostic log as written so far; empty before the program has written it."""
    try:
        with open(path, encoding="utf-8", errors="replace") as f:
            return f.read()
    except FileNotFoundError:
        return ""


def typed_lines(log):
    return TYPED_LINE.findall(log)


def last_typed_is(log, text, error=False):
    lines = typed_lines(log)
    return bool(lines) and lines[-1] == (text, " : ошибка" if error else "")


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def read_ppm(ppm_path):
    """A P6 screenshot as (width, height, RGB bytes with 8 bits a sample)."""
    with open(ppm_path, "rb") as f:
        data = f.read()
    fields, position = _ppm_header(data)
    pixels = data[position:]
    if fields[3] == b"65535":
        pixels = pixels[::2]  # the high byte of each 16-bit sample
    return int(fields[1]), int(fields[2]), pixels


def _ppm_header(data):
    """The four header fields of a P6 file and where its pixels start."""
    fields = []
    position = 0
    while len(fields) < 4:
        while data[position:position + 1].isspace():
            position += 1
        if data[position:position + 1] == b"#":
            position = data.index(b"\n", position)
            continue
        end = position
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[position:end])
        position = end
    position += 1
    check(fields[0] == b"P6" and fields[3] in (b"255", b"65535"), "unexpected screenshot format")
    return fields, position


def red_pixels(ppm_path):
    """Pixels of the typing error colour (C4 00 00, antialiasing allowed) in a P6 screenshot."""
    pixels = read_ppm(ppm_path)[2]
    count = 0
    for i in range(0, len(pixels) - 2, 3):
        r, g, b = pixels[i], pixels[i + 1], pixels[i + 2]
        if r >= 150 and g <= 60 and b <= 60:
            count += 1
    return count


def missing_tools(tools):
    return [tool for tool in tools if not shutil.which(tool)]


def sanitizer_options(env, *options):
    """ASAN_OPTIONS of the environment with these added; later options win over earlier ones."""
    return env.get("ASAN_OPTIONS", "") + "".join(":" + option for option in options)


class ProgramSession:
    """What every session does with the program it starts: starting it with its output in the
    work folder, reading and waiting for its log, ending it with Alt+F4, and stopping it when a
    run ends early. A session sets log_path and work, and says how it presses Alt+F4."""

    app = None
    log_poll = 0.1
    log_timeout = 20

    def launch(self, command, env):
        self.app = subprocess.Popen(command, cwd=self.work, env=env,
                                    stdout=open(os.path.join(self.work, "verbaro.out"), "w"),
                                    stderr=open(os.path.join(self.work, "verbaro.err"), "w"))

    def log(self):
        return read_log(self.log_path)

    def while_waiting(self):
        """Done between two looks at the log (the X11 session closes message boxes here)."""

    def wait_log(self, predicate, what, timeout=None):
        deadline = time.time() + (timeout or self.log_timeout)
        while time.time() < deadline:
            self.while_waiting()
            text = self.log()
            if predicate(text):
                return text
            check(self.app.poll() is None, "the program ended while waiting for " + what)
            time.sleep(self.log_poll)
        raise Failure("timed out waiting for %s; log tail:\n%s" % (what, self.log()[-3000:]))

    def wait_typed(self, text, error=False):
        self.wait_log(lambda log: last_typed_is(log, text, error),
                      'typed text "%s"%s' % (text, " (error)" if error else ""))

    def press_alt_f4(self):
        raise NotImplementedError

    def close_with_alt_f4(self):
        """Alt+F4 ends the program with exit code 1, the frame writing its last log line."""
        self.press_alt_f4()
        try:
            rc = self.app.wait(timeout=30)
        except subprocess.TimeoutExpired:
            raise Failure("the program did not end after Alt+F4")
        check(rc == 1, "exit code %s, expected 1" % rc)
        check("CMainFrame::~CMainFrame()" in self.log(), "the frame did not log its end")
        print("closed with Alt+F4, exit code 1")

    def stop_program(self):
        if self.app and self.app.poll() is None:
            self.app.kill()
            self.app.wait()

    def stop(self):
        """Ends what the session started, the program first; a session adds its servers."""
        self.stop_program()


def stop_process(process, timeout=10):
    """Terminates a server the session started, and kills it when it does not end."""
    if process is None or process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def run_session(title, session, scenario, lessons, artifacts=None):
    """Runs the scenario, then stops the session whatever happened, then checks what every run
    must leave: each lesson file (a path) with its bytes and nothing beside it (SQLite's
    journals start with the lesson's name), and no sanitizer report from the program.
    artifacts: (folder, prefix, names of files in the work folder) to keep, or None.
    Returns the exit code: 0 passed, 1 failed (the work folder is kept), SKIP."""
    work = session.work
    before = {path: sha256(path) for path in lessons}
    failed = None
    skipped = None
    try:
        scenario()
    except Skip as reason:
        skipped = reason
    except Failure as error:
        failed = str(error)
    finally:
        session.stop()
    if skipped is not None:
        print("SKIPPED:", skipped)
        shutil.rmtree(work, ignore_errors=True)
        return SKIP

    for path, sha in before.items():
        if failed is None and sha256(path) != sha:
            failed = "the lesson file %s changed (sha256 %s -> %s)" % (path, sha, sha256(path))
        folder, name = os.path.split(path)
        beside = sorted(f for f in os.listdir(folder) if f.startswith(name) and f != name)
        if failed is None and beside:
            failed = "files appeared beside the lesson %s: %s" % (name, beside)
    stderr = read_log(os.path.join(work, "verbaro.err"))
    if failed is None and SANITIZER_REPORT.search(stderr):
        failed = "sanitizer report:\n" + stderr[-4000:]
    if artifacts and artifacts[0]:
        folder, prefix, names = artifacts
        os.makedirs(folder, exist_ok=True)
        for name in names:
            if os.path.exists(os.path.join(work, name)):
                shutil.copy(os.path.join(work, name), os.path.join(folder, prefix + name))
    if failed:
        print("FAILED:", failed)
        print("stderr of the program:\n" + stderr[-3000:])
        print("work folder kept:", work)
        return 1
    print("lesson files unchanged")
    shutil.rmtree(work, ignore_errors=True)
    print("%s: 1 passed, 0 failed" % title)
    return 0

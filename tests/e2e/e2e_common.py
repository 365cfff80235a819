"""What the end-to-end tests on X11 and on Wayland share: failures, the program's diagnostic log,
screenshots and the lesson's bytes. Plain python3 standard library."""
import hashlib
import os
import shutil
import re

SKIP = 77
FRAME_TITLE = "Обучающая программа: «Verbaro, v. 1.00»"

# The log's line for the typing line: the typed text, and " : ошибка" when it turned red.
TYPED_LINE = re.compile(r'^Набрано: "(.*)"( : ошибка)?$', re.M)


class Failure(Exception):
    pass


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

#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into fuzz/corpus/<target>/ (python3 standard
library only; the pictures need ImageMagick's convert and are kept in the repository).

lesson:  small SQLite lessons (512-byte pages, recordings of a few bytes) and inputs that spell
         lesson rows for fuzz_lesson's row mode.
views:   operation sequences for fuzz_views (layout in fuzz/fuzz_views.cpp).
mp3:     a few damaged recordings; the fuzzer also reads tests/fixtures/mp3.
picture: tiny pictures of every codec type (made once with convert, see below).
"""
import os
import sqlite3
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))


def out(target, name, data):
    folder = os.path.join(HERE, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# ---- lesson: real SQLite files ----

COLUMNS = ("id INTEGER, topic TEXT, FrGram TEXT, FrNumber TEXT, FrWord TEXT, Info1 TEXT, "
           "Info2 TEXT, Info3 TEXT, Ru1 TEXT, Ru2 TEXT, Ru3 TEXT, Ru4 TEXT, Ru5 TEXT, Mp3Word BLOB")


def lesson_file(name, rows, wal=False):
    path = os.path.join(HERE, "lesson", name)
    for suffix in ("", "-wal", "-shm", "-journal"):
        if os.path.exists(path + suffix):
            os.remove(path + suffix)
    db = sqlite3.connect(path)
    db.execute("PRAGMA page_size=512")
    if wal:
        db.execute("PRAGMA journal_mode=WAL")
    db.execute("CREATE TABLE FrRuDict(%s)" % COLUMNS)
    for i, row in enumerate(rows, 1):
        gram, number, word, translations, blob = row
        texts = list(translations) + [None] * (5 - len(translations))
        db.execute("INSERT INTO FrRuDict(rowid, id, topic, FrGram, FrNumber, FrWord, Info1, "
                   "Info2, Info3, Ru1, Ru2, Ru3, Ru4, Ru5, Mp3Word) "
                   "VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
                   [i, i, "topic", gram, number, word, "", "", ""] + texts + [blob])
    db.commit()
    if wal:
        db.execute("PRAGMA wal_checkpoint(TRUNCATE)")
    db.close()
    for suffix in ("-wal", "-shm"):
        if os.path.exists(path + suffix):
            os.remove(path + suffix)


def lessons():
    tiny = b"\xff\xfb\x90\x00"
    lesson_file("words.db", [
        ("m", "s", "chat", ["кот", "котик"], tiny),
        ("f", "p", "fleurs", ["цветы"], tiny),
        ("v", "", "faire", ["делать", "сделать"], tiny),
        ("adj,m", "", "grand", ["большой"], tiny),
        ("~~", "", "ça va", ["как дела"], tiny),
        ("~", "", "salut", ["привет"], tiny),
    ])
    lesson_file("merged.db", [
        ("m", "s", "maison", ["дом"], b"a"),
        ("m", "s", "logis", ["дом", "жильё"], b"bb"),
        ("m", "s", "foyer", ["дом"], b"ccc"),
        ("f", "s", "été", ["лето"], b"d"),
    ])
    lesson_file("damaged.db", [
        ("m", "s", "un", ["один"], b"x"),
        ("m", "s", "deux", [], b"y"),
        ("m", "s", "trois", ["три"], None),
    ])
    lesson_file("wal.db", [("n", "s", "été", ["лето"], b"z")], wal=True)


# ---- lesson: rows spelled for fuzz_lesson ----
# Text choices: a byte below the pool size picks from the pool; 0x10 + n spells n UTF-8 bytes,
# 0x80 + n spells n UTF-16 units (two bytes each, little-endian).
GRAMS = ["m", "f", "n", "adj,f", "adj,m", "adj", "adv", "num", "v", "~", "~~", ""]
NUMBERS = ["s", "p", "", "sp"]
WORDS = ["maison", "été", "chat", "le chat", "é", ""]
TRANSLATIONS = ["дом", "лето", "кот", "слово", ""]


def row(gram, number, word, translations, blob=b"ab", blob_kind=0, rowid=None, utf8_word=None):
    flags = (len(translations) << 4) | blob_kind
    data = bytearray()
    if rowid is not None:
        flags |= 0x04
    data.append(flags)
    if rowid is not None:
        data.append(rowid & 0xFF)
    data.append(GRAMS.index(gram))
    data.append(NUMBERS.index(number))
    if utf8_word is not None:
        encoded = utf8_word.encode()
        data.append(0x10 + len(encoded))
        data += encoded
    else:
        data.append(WORDS.index(word))
    for t in translations:
        data.append(TRANSLATIONS.index(t))
    data.append(len(blob))
    data += blob
    return bytes(data)


def spelled(rows, layout=0):
    return bytes([layout, len(rows)]) + b"".join(rows)


def lesson_rows():
    out("lesson", "rows-basic", spelled([
        row("m", "s", "maison", ["дом"]),
        row("f", "s", "chat", ["кот", "слово"]),
        row("v", "", "été", ["лето"]),
        row("~~", "", "le chat", ["кот"]),
    ]))
    # Six words for one translation: too many answers for the reversed lesson and Exam-2.
    out("lesson", "rows-crowded", spelled(
        [row("m", "s", None, ["дом"], utf8_word=w) for w in ("un", "deux", "trois", "quatre", "cinq", "six")]))
    # A rowid gap, a NULL recording, a text recording, UTF-16 with a lone surrogate.
    out("lesson", "rows-odd", spelled([
        row("m", "s", "maison", ["дом", "дом"]),
        row("f", "p", "été", ["лето"], rowid=9),
        row("adj,f", "", "chat", ["кот"], blob_kind=3),
        row("num", "", "é", ["слово"], blob_kind=2),
        # key spelled as the UTF-16 units D800 0041, one translation, one byte of recording
        bytes([0x10, 0x00, 0x00, 0x82, 0x00, 0xD8, 0x41, 0x00, 0x00, 0x01, 0x78]),
    ]))
    out("lesson", "rows-few-columns", spelled([row("m", "s", "maison", ["дом"])], layout=0xF6))


# ---- views: operation sequences ----
# Operations: 0-5 key (vk, state), 6 key event (key, state), 7 click (x, y, how),
# 8-9 timer (view, ticks), 10 filter (n), 11 F2/Alt+F2/F3/Alt+F3 (n), 12 mode (n),
# 13 open (lesson: 0 words, 1 single, 2 damaged, 3 crowded, 4 missing, 5 cancel), 14 resize
# (w/4, h/3), 15 wave output failure (view, how), 16 video settings (repeats, delay/40),
# 17 tool/status bar (n), 18 paint, 19 stop playback (n).
def key(vk, state=0):
    return bytes([0, vk, state])


def typed(text):
    return b"".join(key(ord(c.upper())) for c in text)


def timer(view, ticks=7):
    return bytes([8, view, ticks])


def views():
    ctrl = key(0x11)
    out("views", "conspect1", bytes([0, 0x00]) + typed("chat") + key(0x20) + ctrl + key(0xDE) +
        key(ord("E")) + key(0x08) + key(0x09) + timer(0) + bytes([11, 2, 11, 3, 10, 3]) +
        key(0x23) + key(0x24) + key(0x22) + key(0x26) + bytes([14, 100, 80, 7, 128, 128, 0]) +
        bytes([6, 1, 0, 6, 8, 0x10, 18]))
    out("views", "conspect2", bytes([1, 0x00]) + typed("dfgh") + key(0x51, 1) + key(0x33, 1) +
        timer(1) * 4 + key(0x09) + timer(1) * 4 + bytes([11, 0]))
    out("views", "video1", bytes([2, 0x00]) + timer(2) * 12 + key(0x20) + timer(2) +
        key(0x20) + bytes([16, 3, 5]) + timer(2) * 6 + key(0x23) + timer(2) * 3)
    out("views", "video2", bytes([3, 0x00]) + timer(3) * 16 + key(0x21) + timer(3) * 8 +
        bytes([12, 2, 13, 0]) + timer(2) * 4)
    exam_keys = b"".join(key(k) for k in (0x31, 0x32, 0x33, 0x30, 0x34, 0x35, 0x61, 0x60))
    out("views", "exam1", bytes([4, 0x00]) + exam_keys * 4 + bytes([7, 128, 160, 0, 7, 5, 5, 0]) +
        bytes([10, 1]) + exam_keys * 2 + bytes([11, 3]) + exam_keys)
    out("views", "exam2", bytes([5, 0x00]) + exam_keys * 6 + bytes([13, 3]) + exam_keys * 2)
    out("views", "switches", bytes([0, 0x20]) + bytes([12, 1, 13, 3, 12, 3, 13, 2]) + timer(3) * 3 +
        bytes([12, 4, 13, 2, 15, 4, 0x82, 12, 5, 13, 0, 17, 0, 17, 1, 19, 1]) + exam_keys)
    out("views", "no-sound-device", bytes([2, 0x02 | 0x04]) + timer(2) * 3 + bytes([11, 0, 11, 1]))


# ---- mp3: damaged recordings ----
def mp3():
    with open(os.path.join(ROOT, "tests", "fixtures", "mp3", "tone_short_44k_stereo.mp3"), "rb") as f:
        tone = f.read()
    out("mp3", "truncated.mp3", tone[: len(tone) // 2])
    out("mp3", "id3-only.mp3", b"ID3\x03\x00\x00\x00\x00\x00\x0a" + b"\x00" * 10)
    out("mp3", "header-only.mp3", b"\xff\xfb\x90\x64" + b"\x00" * 32)


# ---- picture: tiny files of every codec type ----
PICTURES = [
    ("small.jpg", ["-size", "3x2", "xc:red", "-fill", "blue", "-draw", "point 1,1", "jpg:%s"]),
    ("alpha.png", ["-size", "3x3", "xc:rgba(0,255,0,0.5)", "png32:%s"]),
    ("anim.gif", ["-size", "2x2", "xc:red", "xc:blue", "-loop", "0", "-delay", "10", "gif:%s"]),
    ("palette.bmp", ["-size", "4x2", "gradient:", "-type", "palette", "bmp3:%s"]),
    ("rgb.bmp", ["-size", "3x2", "xc:yellow", "bmp3:%s"]),
    ("icon.ico", ["-size", "16x16", "xc:rgba(255,0,0,0.7)", "(", "-size", "32x32", "xc:green", ")", "ico:%s"]),
    ("pages.tif", ["-size", "2x2", "xc:white", "xc:black", "tiff:%s"]),
]


def pictures():
    for name, args in PICTURES:
        path = os.path.join(HERE, "picture", name)
        subprocess.run(["convert"] + [a % path if "%s" in a else a for a in args], check=True)


if __name__ == "__main__":
    lessons()
    lesson_rows()
    views()
    mp3()
    if "--pictures" in sys.argv:
        pictures()

#!/usr/bin/env python3
"""Reads an Anki package (.apkg) as Anki's documented legacy layout describes it, with nothing
but zipfile, sqlite3 and json, and compares it with the lesson it was made from, read straight
from the lesson's table.

    check_anki_package.py DECK.apkg LESSON.db DECK_NAME

Exit 0 when the package holds every row of the lesson; otherwise each difference on stderr and
exit 1.
"""
import hashlib
import html
import json
import os
import re
import sqlite3
import sys
import tempfile
import zipfile

FIELDS = ["French", "Russian", "Transcription", "Notes", "Sound"]
problems = []


def expect(condition, message):
    if not condition:
        problems.append(message)
    return condition


def lines_of(field):
    """The lines of an HTML field as a reader would show them: split at <br>, entities decoded."""
    if field == "":
        return []
    return [html.unescape(part) for part in re.split(r"<br\s*/?>", field)]


def check(package, expected):
    with zipfile.ZipFile(package) as archive:
        names = set(archive.namelist())
        expect("collection.anki2" in names, "no collection.anki2")
        expect("media" in names, "no media map")
        media = json.loads(archive.read("media").decode("utf-8"))
        for member, name in media.items():
            expect(member.isdigit(), f"media member {member!r} is not a number")
            expect(member in names, f"media member {member} missing")
            expect("/" not in name and "\\" not in name and ".." not in name, f"unsafe media name {name!r}")
        by_name = {name: hashlib.sha1(archive.read(member)).hexdigest() for member, name in media.items()}
        expect(len(by_name) == len(media), "two members share a media name")
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "collection.anki2")
            with open(path, "wb") as out:
                out.write(archive.read("collection.anki2"))
            db = sqlite3.connect(path)
            try:
                check_collection(db, expected, by_name)
            finally:
                db.close()


def check_collection(db, expected, media_sha1):
    cols = db.execute("SELECT ver, models, decks, dconf, conf, crt, mod, scm FROM col").fetchall()
    if not expect(len(cols) == 1, f"col has {len(cols)} rows"):
        return
    ver, models, decks, dconf, conf, crt, mod, scm = cols[0]
    expect(ver == 11, f"schema version {ver}")
    models, decks, dconf, conf = json.loads(models), json.loads(decks), json.loads(dconf), json.loads(conf)
    expect(len(models) == 1, f"{len(models)} note types")
    mid, model = next(iter(models.items()))
    expect(str(model["id"]) == mid, "note type id differs from its key")
    expect([f["name"] for f in model["flds"]] == FIELDS, f"fields {[f['name'] for f in model['flds']]}")
    expect([f["ord"] for f in model["flds"]] == list(range(len(FIELDS))), "field ords")
    expect(model["type"] == 0 and model["sortf"] == 0, "not a standard note type sorted by French")
    templates = model["tmpls"]
    if expect(len(templates) == 2, f"{len(templates)} card templates"):
        expect([t["ord"] for t in templates] == [0, 1], "template ords")
        expect("{{French}}" in templates[0]["qfmt"] and "{{Russian}}" in templates[0]["afmt"],
               "first template does not ask French for Russian")
        expect("{{Russian}}" in templates[1]["qfmt"] and "{{French}}" in templates[1]["afmt"],
               "second template does not ask Russian for French")
        expect("{{French}}" not in templates[1]["qfmt"], "second template shows the answer")
    deck_ids = [int(k) for k, d in decks.items() if d["name"] == expected["deck"]]
    if not expect(len(deck_ids) == 1, f"deck {expected['deck']!r} not found in {list(decks)}"):
        return
    did = deck_ids[0]
    expect(str(decks[str(did)]["conf"]) in dconf, "deck options missing")
    expect(conf.get("curModel") is not None, "no current note type in conf")
    expect(crt > 0 and mod > 0 and scm > 0, "collection times")

    notes = db.execute("SELECT id, guid, mid, mod, usn, tags, flds, sfld, csum, flags, data "
                       "FROM notes ORDER BY id").fetchall()
    expect(len(notes) == len(expected["notes"]), f"{len(notes)} notes, expected {len(expected['notes'])}")
    guids = set()
    for row, want in zip(notes, expected["notes"]):
        nid, guid, note_mid, note_mod, usn, tags, flds, sfld, csum, flags, data = row
        where = f"note {want['french']!r}"
        expect(str(note_mid) == mid, f"{where}: note type {note_mid}")
        expect(guid not in guids and len(guid) > 0, f"{where}: guid {guid!r} repeated or empty")
        guids.add(guid)
        expect(note_mod > 0, f"{where}: mod")
        fields = flds.split("\x1f")
        if not expect(len(fields) == len(FIELDS), f"{where}: {len(fields)} fields"):
            continue
        french, russian, transcription, extra, sound = fields
        expect(html.unescape(french) == want["french"], f"{where}: French {french!r}")
        expect(lines_of(russian) == want["russian"], f"{where}: Russian {russian!r}")
        expect(html.unescape(transcription) == want["transcription"], f"{where}: Transcription {transcription!r}")
        expect(lines_of(extra) == want["notes"], f"{where}: Notes {extra!r}")
        # Anki's plain text of a field: tags removed first, then the entities decoded.
        plain = html.unescape(re.sub(r"<[^>]*>", "", french))
        expect(str(sfld) == plain, f"{where}: sort field {sfld!r}")
        expect(csum == int(hashlib.sha1(plain.encode("utf-8")).hexdigest()[:8], 16), f"{where}: checksum {csum}")
        if want["sound_sha1"] is None:
            expect(sound == "", f"{where}: sound {sound!r} where there is none")
        else:
            found = re.fullmatch(r"\[sound:([^\]]+)\]", sound)
            if expect(found, f"{where}: Sound field {sound!r}"):
                expect(media_sha1.get(found.group(1)) == want["sound_sha1"], f"{where}: recording bytes differ")
        cards = db.execute("SELECT ord, did, type, queue FROM cards WHERE nid = ? ORDER BY ord", (nid,)).fetchall()
        # A card for each direction whose question is not empty.
        questions = [want["french"] or want["sound_sha1"], want["russian"]]
        asks = [ord for ord, question in enumerate(questions) if question]
        expect([c[0] for c in cards] == asks, f"{where}: cards {cards}")
        expect(all(c[1] == did for c in cards), f"{where}: cards not in the deck")
        expect(all(c[2] == 0 and c[3] == 0 for c in cards), f"{where}: cards are not new")
    orphans = db.execute("SELECT count(*) FROM cards WHERE nid NOT IN (SELECT id FROM notes)").fetchone()[0]
    expect(orphans == 0, f"{orphans} cards without a note")


def lesson_notes(lesson):
    """The rows of FrRuDict in rowid order: columns by position, 2 grammar to 12 the fifth
    translation, Mp3Word the recording."""
    db = sqlite3.connect(lesson)
    try:
        rows = db.execute("SELECT * FROM FrRuDict ORDER BY rowid").fetchall()
    finally:
        db.close()
    notes = []
    for row in rows:
        text = [value or "" for value in row[:13]]
        recording = row[13]
        notes.append({
            "french": text[4],
            "russian": [t for t in text[8:13] if t],
            "transcription": text[5],
            "notes": [line for info in text[6:8] if info for line in info.split("\n")],
            "sound_sha1": hashlib.sha1(recording).hexdigest() if recording else None,
        })
    return notes


def main():
    package, lesson, deck = sys.argv[1], sys.argv[2], sys.argv[3]
    check(package, {"deck": deck, "notes": lesson_notes(lesson)})
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())

#include "data/progress/StoreSchema.h"

#include <string>

#include "data/Sql.h"

namespace verbaro::progress {

namespace {

// Version 1.
//   entries         every entry ever seen, by its content; ids are shared by all lessons
//   lessons         a lesson by the fingerprint of its ordered entry list, with the path it was
//                   last opened from and when (open_order grows with every opening)
//   lesson_entries  the lesson's entries in row order (to match a rebuilt lesson by overlap)
//   answers         the append-only answer log, one row per entry and event; kind 1 typing,
//                   2 exam, 3 exposure, 4 practice (typed with the word in sight: an exposure
//                   with its typing details, which an older trainer reads as an exposure);
//                   grade 1..4 (0 for exposure and practice)
//   typing_misses   the wrong characters of a typing answer (its first row)
//   memory          derived from the log: FSRS state per entry and direction, with the counts
//                   the review filters need (missed: answered wrongly and not right since)
//   exams           finished exams with the numbers of their statistics box
//   resume          where each mode was left (dropped in version 2)
//   daily, char_misses  per-lesson totals kept with every event, so that statistics need not
//                   scan the log; daily counts graded answers, char_misses the wrong characters
//                   of all typing by the keyboard typed on (1 the French of Конспект-1, 2 the
//                   Russian of Конспект-2)
constexpr const char* kVersion1 = R"sql(
CREATE TABLE entries(
  id INTEGER PRIMARY KEY,
  word TEXT NOT NULL, gram TEXT NOT NULL, number TEXT NOT NULL, occurrence INTEGER NOT NULL,
  UNIQUE(word, gram, number, occurrence));
CREATE TABLE lessons(
  id INTEGER PRIMARY KEY,
  fingerprint INTEGER NOT NULL, entry_count INTEGER NOT NULL,
  path TEXT NOT NULL, opened_at INTEGER NOT NULL, open_order INTEGER NOT NULL);
CREATE INDEX lessons_by_fingerprint ON lessons(fingerprint);
CREATE TABLE lesson_entries(
  lesson_id INTEGER NOT NULL, position INTEGER NOT NULL, entry_id INTEGER NOT NULL,
  PRIMARY KEY(lesson_id, position)) WITHOUT ROWID;
CREATE INDEX lesson_entries_by_entry ON lesson_entries(entry_id, lesson_id);
CREATE TABLE answers(
  id INTEGER PRIMARY KEY,
  at INTEGER NOT NULL, day INTEGER NOT NULL, lesson_id INTEGER NOT NULL,
  entry_id INTEGER NOT NULL, direction INTEGER NOT NULL,
  kind INTEGER NOT NULL, grade INTEGER NOT NULL,
  wrong_keystrokes INTEGER NOT NULL, milliseconds INTEGER NOT NULL);
CREATE INDEX answers_by_entry ON answers(entry_id, direction, id);
CREATE TABLE typing_misses(
  answer_id INTEGER NOT NULL, expected TEXT NOT NULL, typed TEXT NOT NULL);
CREATE INDEX typing_misses_by_answer ON typing_misses(answer_id);
CREATE TABLE memory(
  entry_id INTEGER NOT NULL, direction INTEGER NOT NULL,
  stability REAL NOT NULL, difficulty REAL NOT NULL,
  first_day INTEGER NOT NULL, last_day INTEGER NOT NULL, due_day INTEGER NOT NULL,
  reps INTEGER NOT NULL, lapses INTEGER NOT NULL,
  misses INTEGER NOT NULL, missed INTEGER NOT NULL, last_miss_at INTEGER NOT NULL,
  PRIMARY KEY(direction, entry_id)) WITHOUT ROWID;
CREATE INDEX memory_missed ON memory(direction) WHERE missed = 1;
CREATE TABLE exams(
  id INTEGER PRIMARY KEY, at INTEGER NOT NULL, lesson_id INTEGER NOT NULL,
  mode INTEGER NOT NULL, filter_id INTEGER NOT NULL, filter_name TEXT NOT NULL,
  right_answers INTEGER NOT NULL, wrong_answers INTEGER NOT NULL, hints INTEGER NOT NULL);
CREATE INDEX exams_by_lesson ON exams(lesson_id, at);
CREATE TABLE resume(
  mode INTEGER PRIMARY KEY, lesson_id INTEGER NOT NULL, path TEXT NOT NULL,
  filter_id INTEGER NOT NULL, position INTEGER NOT NULL, at INTEGER NOT NULL);
CREATE TABLE daily(
  lesson_id INTEGER NOT NULL, direction INTEGER NOT NULL, day INTEGER NOT NULL,
  answers INTEGER NOT NULL, first_try_right INTEGER NOT NULL,
  PRIMARY KEY(lesson_id, direction, day)) WITHOUT ROWID;
CREATE TABLE char_misses(
  lesson_id INTEGER NOT NULL, direction INTEGER NOT NULL,
  expected TEXT NOT NULL, typed TEXT NOT NULL, count INTEGER NOT NULL,
  PRIMARY KEY(lesson_id, direction, expected, typed)) WITHOUT ROWID;
)sql";

// Version 2: where each mode was left is kept with the trainer's settings, not here.
constexpr const char* kVersion2 = "DROP TABLE IF EXISTS resume;";

// Version 3: answers and exam results travel between the learner's machines.
//   machines        every machine whose answers the store holds: its id (32 hex digits, random,
//                   made once) and host name; origin, the id's first 64 bits, marks its answers.
//                   own: 2 this store's machine, 1 an earlier id of this store (a copied store
//                   takes a new one), 0 another machine. last_seq: the highest sequence number
//                   given out (own) or merged (another machine); written_at: when that
//                   machine last wrote its file.
//   answers, exams  origin and seq, unique together, name a row on every machine; origin 0 is
//                   a row recorded before the store had an id (it gets one as the store is
//                   opened for writing). typed_on is the keyboard a typing's slips were made on
//                   (0: none); event_first marks the first row of an event, which alone counts
//                   in the day's totals and keeps the slips.
// Rows written before: an event's rows share their second and values and follow each other;
// typing from memory was made on the keyboard of the other direction, practice on its own.
constexpr const char* kVersion3 = R"sql(
CREATE TABLE machines(
  origin INTEGER PRIMARY KEY, id TEXT NOT NULL UNIQUE, name TEXT NOT NULL,
  own INTEGER NOT NULL, last_seq INTEGER NOT NULL, written_at INTEGER NOT NULL);
ALTER TABLE answers ADD COLUMN origin INTEGER NOT NULL DEFAULT 0;
ALTER TABLE answers ADD COLUMN seq INTEGER NOT NULL DEFAULT 0;
ALTER TABLE answers ADD COLUMN typed_on INTEGER NOT NULL DEFAULT 0;
ALTER TABLE answers ADD COLUMN event_first INTEGER NOT NULL DEFAULT 1;
UPDATE answers SET typed_on = CASE kind WHEN 1 THEN 3 - direction WHEN 4 THEN direction ELSE 0 END;
UPDATE answers SET event_first = 0 WHERE EXISTS (
  SELECT 1 FROM answers AS p WHERE p.id = answers.id - 1 AND p.at = answers.at
    AND p.lesson_id = answers.lesson_id AND p.direction = answers.direction
    AND p.kind = answers.kind AND p.grade = answers.grade
    AND p.wrong_keystrokes = answers.wrong_keystrokes AND p.milliseconds = answers.milliseconds
    AND p.entry_id <> answers.entry_id);
ALTER TABLE exams ADD COLUMN origin INTEGER NOT NULL DEFAULT 0;
ALTER TABLE exams ADD COLUMN seq INTEGER NOT NULL DEFAULT 0;
CREATE UNIQUE INDEX answers_by_origin ON answers(origin, seq) WHERE origin <> 0;
CREATE UNIQUE INDEX exams_by_origin ON exams(origin, seq) WHERE origin <> 0;
)sql";

// Version 4: an exam's filter by its kind (0 a filter of the lesson, 1 the entries answered
// wrongly, 2 those due today, 3 the hardest) and the lesson filter's place among the lesson's
// filters, where the rows before kept the Filters menu's item (the lesson's filters from 800,
// the review lists at 836, 837 and 838).
constexpr const char* kVersion4 = R"sql(
ALTER TABLE exams ADD COLUMN filter_kind INTEGER NOT NULL DEFAULT 0;
ALTER TABLE exams ADD COLUMN filter_index INTEGER NOT NULL DEFAULT 0;
UPDATE exams SET
  filter_kind = CASE WHEN filter_id BETWEEN 836 AND 838 THEN filter_id - 835 ELSE 0 END,
  filter_index = CASE WHEN filter_id BETWEEN 800 AND 835 THEN filter_id - 800 ELSE 0 END;
ALTER TABLE exams DROP COLUMN filter_id;
)sql";

constexpr const char* kSteps[] = {kVersion1, kVersion2, kVersion3, kVersion4};

}  // namespace

int UserVersion(sqlite3* db) {
  Statement version(db, "PRAGMA user_version");
  return version.Step() ? static_cast<int>(version.Int(0)) : -1;
}

// The version is read again inside each step's transaction: a second trainer that started at
// the same moment may have done the step while this one waited for the lock.
int UpgradeSchema(sqlite3* db) {
  for (;;) {
    int rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) return sqlite3_extended_errcode(db);
    const int version = UserVersion(db);
    if (version < 0 || version >= kSchemaVersion) {
      sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
      return version < 0 ? SQLITE_CORRUPT : SQLITE_OK;
    }
    rc = sqlite3_exec(db, kSteps[version], nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) {
      const std::string setVersion = "PRAGMA user_version = " + std::to_string(version + 1);
      rc = sqlite3_exec(db, setVersion.c_str(), nullptr, nullptr, nullptr);
    }
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
      const int failure = sqlite3_extended_errcode(db);
      sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
      return failure != SQLITE_OK ? failure : rc;
    }
  }
}

}  // namespace verbaro::progress

// What the learner did, written to the store: one transaction per event, with the answer log
// rows, the memory state derived from them and the per-lesson totals.
#include <algorithm>
#include <optional>

#include "data/progress/Days.h"
#include "data/progress/EntryMemory.h"
#include "data/progress/MachineIdentity.h"
#include "data/progress/ProgressStore.h"
#include "data/progress/StoreDatabase.h"
#include "data/progress/TypingGrade.h"

namespace verbaro::progress {

namespace {

// Practice is an entry typed with its word in sight: an exposure that keeps its typing details.
enum class Kind : int { Typing = 1, Exam = 2, Exposure = 3, Practice = 4 };

struct Answer {
  Direction direction = Direction::Forward;
  Kind kind = Kind::Typing;
  std::optional<Grade> grade;  // none for exposure and practice
  bool rightFirstTry = false;
  int wrongKeystrokes = 0;
  int64_t milliseconds = 0;
  const std::vector<MissedCharacter>* misses = nullptr;
  Direction typedOn = Direction::Forward;  // whose keyboard heatmap takes the misses
};

struct Moment {
  int64_t at = 0;
  int64_t day = 0;
};

int DirectionCode(Direction direction) { return static_cast<int>(direction); }

bool AppendAnswer(StoreDatabase& db, int64_t lessonId, int64_t entryId, const Answer& answer,
                  const Moment& now, bool eventFirst) {
  int64_t origin = 0;
  int64_t seq = 0;
  if (!NextSequence(db, origin, seq)) return false;
  // Slips are kept with the event's first row, and only typing makes them.
  const bool typed = answer.kind == Kind::Typing || answer.kind == Kind::Practice;
  return db
      .Sql(
          "INSERT INTO answers(at, day, lesson_id, entry_id, direction, kind, grade, "
          "wrong_keystrokes, milliseconds, origin, seq, typed_on, event_first) "
          "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13)")
      .Bind(1, now.at)
      .Bind(2, now.day)
      .Bind(3, lessonId)
      .Bind(4, entryId)
      .Bind(5, DirectionCode(answer.direction))
      .Bind(6, static_cast<int>(answer.kind))
      .Bind(7, answer.grade ? static_cast<int>(*answer.grade) : 0)
      .Bind(8, answer.wrongKeystrokes)
      .Bind(9, answer.milliseconds)
      .Bind(10, origin)
      .Bind(11, seq)
      .Bind(12, typed ? DirectionCode(answer.typedOn) : 0)
      .Bind(13, eventFirst ? 1 : 0)
      .Run();
}

// The entry's memory after this answer: FSRS state and due day, and whether it stays missed.
bool UpdateMemory(StoreDatabase& db, int64_t entryId, int64_t answerId, const Answer& answer,
                  const Moment& now) {
  const int direction = DirectionCode(answer.direction);
  // An answer from another machine may lie later in time than this one (its clock ahead): the
  // memory is then derived again in time order, as every machine derives it.
  Statement& later = db.Sql(
      "SELECT 1 FROM answers WHERE entry_id = ?1 AND direction = ?2 AND grade BETWEEN 1 AND 4 "
      "AND at >= ?3 AND id <> ?4 LIMIT 1");
  const bool replay =
      later.Bind(1, entryId).Bind(2, direction).Bind(3, now.at).Bind(4, answerId).Step();
  const int result = later.Result();
  later.Reset();
  if (result != SQLITE_ROW && result != SQLITE_DONE) return false;
  if (replay) return ReplayEntryMemory(db, direction, entryId);
  bool ok = false;
  const std::optional<EntryMemory> before = ReadEntryMemory(db, direction, entryId, &ok);
  return ok &&
         WriteEntryMemory(db, direction, entryId,
                          AfterAnswer(db.Scheduler(), before, *answer.grade, now.day, now.at));
}

bool AddToDay(StoreDatabase& db, int64_t lessonId, const Answer& answer, const Moment& now) {
  return db
      .Sql(
          "INSERT INTO daily(lesson_id, direction, day, answers, first_try_right) "
          "VALUES(?1, ?2, ?3, 1, ?4) ON CONFLICT DO UPDATE SET answers = answers + 1, "
          "first_try_right = first_try_right + excluded.first_try_right")
      .Bind(1, lessonId)
      .Bind(2, DirectionCode(answer.direction))
      .Bind(3, now.day)
      .Bind(4, answer.rightFirstTry ? 1 : 0)
      .Run();
}

bool CountMissedCharacters(StoreDatabase& db, int64_t lessonId, const Answer& answer) {
  Statement& count = db.Sql(
      "INSERT INTO char_misses(lesson_id, direction, expected, typed, count) "
      "VALUES(?1, ?2, ?3, ?4, 1) ON CONFLICT DO UPDATE SET count = count + 1");
  for (const MissedCharacter& miss : *answer.misses) {
    if (!count.Bind(1, lessonId)
             .Bind(2, DirectionCode(answer.typedOn))
             .Bind(3, miss.expected)
             .Bind(4, miss.typed)
             .Run()) {
      return false;
    }
  }
  return true;
}

bool KeepMisses(StoreDatabase& db, int64_t answerId, const std::vector<MissedCharacter>& misses) {
  Statement& insert =
      db.Sql("INSERT INTO typing_misses(answer_id, expected, typed) VALUES(?1, ?2, ?3)");
  for (const MissedCharacter& miss : misses) {
    if (!insert.Bind(1, answerId).Bind(2, miss.expected).Bind(3, miss.typed).Run()) return false;
  }
  return true;
}

// Writes one event for the entries (indexes out of range and entries the store does not know
// are left out). Graded answers also move the memory state and the day's totals; the wrong
// characters of typing, graded or practice, are kept with the event and counted.
void WriteEvent(StoreDatabase& db, int64_t lessonId, const std::vector<int64_t>& entryIds,
                std::span<const int> entries, const Answer& answer) {
  if (lessonId == 0 || !db.CanWrite()) return;
  std::vector<int64_t> ids;
  for (const int entry : entries) {
    if (entry >= 0 && static_cast<size_t>(entry) < entryIds.size() && entryIds[entry] != 0) {
      ids.push_back(entryIds[entry]);
    }
  }
  if (ids.empty()) return;
  const int64_t at = db.GetClock().NowSeconds();
  const Moment now{at, LocalDay(at)};
  db.Write([&] {
    int64_t firstAnswerId = 0;
    for (const int64_t id : ids) {
      if (!AppendAnswer(db, lessonId, id, answer, now, firstAnswerId == 0)) return false;
      const int64_t answerId = sqlite3_last_insert_rowid(db.Handle());
      if (firstAnswerId == 0) firstAnswerId = answerId;
      if (answer.grade && !UpdateMemory(db, id, answerId, answer, now)) return false;
    }
    if (answer.misses != nullptr && (!KeepMisses(db, firstAnswerId, *answer.misses) ||
                                     !CountMissedCharacters(db, lessonId, answer))) {
      return false;
    }
    return !answer.grade || AddToDay(db, lessonId, answer, now);
  });
}

}  // namespace

LessonProgress::LessonProgress(std::shared_ptr<StoreDatabase> db, int64_t lessonId,
                               std::vector<EntryKey> keys, std::vector<int64_t> entryIds)
    : m_db(std::move(db)),
      m_lessonId(lessonId),
      m_keys(std::move(keys)),
      m_entryIds(std::move(entryIds)) {
  m_entryOfId.reserve(m_entryIds.size());
  for (size_t i = 0; i < m_entryIds.size(); ++i) {
    if (m_entryIds[i] != 0) m_entryOfId.emplace(m_entryIds[i], static_cast<int>(i));
  }
}

LessonProgress::~LessonProgress() = default;

void LessonProgress::RecordTyping(Direction direction, std::span<const int> entries,
                                  const TypingResult& result) {
  RecordTyping(direction, entries, result, direction);
}

void LessonProgress::RecordTyping(Direction direction, std::span<const int> entries,
                                  const TypingResult& result, Direction typedOn) {
  Answer answer{direction,
                Kind::Typing,
                GradeOfTyping(result),
                result.wrongKeystrokes == 0,
                result.wrongKeystrokes,
                result.milliseconds,
                &result.misses,
                typedOn};
  WriteEvent(*m_db, m_lessonId, m_entryIds, entries, answer);
}

void LessonProgress::RecordPractice(Direction typedOn, std::span<const int> entries,
                                    const TypingResult& result) {
  Answer answer{typedOn,
                Kind::Practice,
                std::nullopt,
                false,
                result.wrongKeystrokes,
                result.milliseconds,
                &result.misses,
                typedOn};
  WriteEvent(*m_db, m_lessonId, m_entryIds, entries, answer);
}

void LessonProgress::RecordExamAnswer(Direction direction, std::span<const int> entries,
                                      ExamAnswer examAnswer) {
  const bool right = examAnswer == ExamAnswer::RightFirstTry;
  Answer answer{direction, Kind::Exam, right ? Grade::Good : Grade::Again, right, 0, 0, nullptr};
  WriteEvent(*m_db, m_lessonId, m_entryIds, entries, answer);
}

void LessonProgress::RecordExposure(Direction direction, std::span<const int> entries) {
  Answer answer{direction, Kind::Exposure, std::nullopt, false, 0, 0, nullptr};
  WriteEvent(*m_db, m_lessonId, m_entryIds, entries, answer);
}

void LessonProgress::RecordExamResult(const ExamResult& result) {
  if (m_lessonId == 0) return;
  StoreDatabase& db = *m_db;
  db.Write([&] {
    int64_t origin = 0;
    int64_t seq = 0;
    return NextSequence(db, origin, seq) &&
           db.Sql(
                 "INSERT INTO exams(at, lesson_id, mode, filter_kind, filter_index, filter_name, "
                 "right_answers, wrong_answers, hints, origin, seq) "
                 "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)")
               .Bind(1, db.GetClock().NowSeconds())
               .Bind(2, m_lessonId)
               .Bind(3, IndexOf(result.mode))
               .Bind(4, static_cast<int>(result.filter.kind))
               .Bind(5, result.filter.index)
               .Bind(6, result.filterName)
               .Bind(7, result.right)
               .Bind(8, result.wrong)
               .Bind(9, result.hints)
               .Bind(10, origin)
               .Bind(11, seq)
               .Run();
  });
}

void LessonProgress::Forget() {
  if (m_lessonId == 0) return;
  StoreDatabase& db = *m_db;
  static constexpr const char* kForget[] = {
      "DELETE FROM typing_misses WHERE answer_id IN (SELECT id FROM answers WHERE entry_id IN "
      "(SELECT entry_id FROM lesson_entries WHERE lesson_id = ?1))",
      "DELETE FROM answers WHERE entry_id IN "
      "(SELECT entry_id FROM lesson_entries WHERE lesson_id = ?1)",
      "DELETE FROM memory WHERE entry_id IN "
      "(SELECT entry_id FROM lesson_entries WHERE lesson_id = ?1)",
      "DELETE FROM exams WHERE lesson_id = ?1",
      "DELETE FROM daily WHERE lesson_id = ?1",
      "DELETE FROM char_misses WHERE lesson_id = ?1",
  };
  db.Write([&] {
    for (const char* sql : kForget) {
      if (!db.Sql(sql).Bind(1, m_lessonId).Run()) return false;
    }
    return true;
  });
}

}  // namespace verbaro::progress

#include "data/progress/OwnJournal.h"

#include <utility>
#include <vector>

#include "data/progress/ExamColumns.h"
#include "data/progress/StoreDatabase.h"

namespace verbaro::progress {

namespace {

// Gives every local entry and lesson that the journal names its place in the journal's tables.
class JournalTables {
 public:
  JournalTables(StoreDatabase& db, OwnJournal& own) : m_db(db), m_own(own) {}

  bool Entry(int64_t entryId, uint32_t& index) {
    if (const auto found = m_own.entryIndex.find(entryId); found != m_own.entryIndex.end()) {
      index = found->second;
      return true;
    }
    Statement& select =
        m_db.Sql("SELECT word, gram, number, occurrence FROM entries WHERE id = ?1");
    if (!select.Bind(1, entryId).Step()) return false;
    std::vector<EntryKey>& entries = m_own.journal.entries;
    entries.push_back(
        {select.Text(0), select.Text(1), select.Text(2), static_cast<int>(select.Int(3))});
    select.Reset();
    index = static_cast<uint32_t>(entries.size() - 1);
    m_own.entryIndex.emplace(entryId, index);
    return true;
  }

  bool Lesson(int64_t lessonId, uint32_t& index) {
    if (const auto found = m_own.lessonIndex.find(lessonId); found != m_own.lessonIndex.end()) {
      index = found->second;
      return true;
    }
    std::vector<int64_t> entryIds;
    Statement& select =
        m_db.Sql("SELECT entry_id FROM lesson_entries WHERE lesson_id = ?1 ORDER BY position");
    select.Bind(1, lessonId);
    while (select.Step()) entryIds.push_back(select.Int(0));
    if (select.Result() != SQLITE_DONE) return false;
    JournalLesson lesson;
    lesson.entries.reserve(entryIds.size());
    for (const int64_t entryId : entryIds) {
      if (!Entry(entryId, lesson.entries.emplace_back())) return false;
    }
    m_own.journal.lessons.push_back(std::move(lesson));
    index = static_cast<uint32_t>(m_own.journal.lessons.size() - 1);
    m_own.lessonIndex.emplace(lessonId, index);
    return true;
  }

 private:
  StoreDatabase& m_db;
  OwnJournal& m_own;
};

constexpr const char* kAnswerColumns =
    "SELECT a.id, a.origin, a.seq, a.at, a.day, a.lesson_id, a.entry_id, a.direction, a.kind, "
    "a.grade, a.wrong_keystrokes, a.milliseconds, a.typed_on, a.event_first FROM answers AS a ";
constexpr const char* kExamColumns =
    "SELECT e.origin, e.seq, e.at, e.lesson_id, e.mode, e.filter_kind, e.filter_index, "
    "e.filter_name, e.right_answers, e.wrong_answers, e.hints FROM exams AS e ";

// The store's current id, and how many rows all its ids hold.
bool ReadCurrent(StoreDatabase& db, int64_t& origin, int64_t& rows) {
  Statement& select = db.Sql(
      "SELECT (SELECT origin FROM machines WHERE own = 2), "
      "(SELECT count(*) FROM answers WHERE origin <> 0 AND "
      "origin IN (SELECT origin FROM machines WHERE own > 0)) + "
      "(SELECT count(*) FROM exams WHERE origin <> 0 AND "
      "origin IN (SELECT origin FROM machines WHERE own > 0))");
  if (!select.Step()) return false;
  origin = select.IsNull(0) ? 0 : select.Int(0);
  rows = select.Int(1);
  select.Reset();
  return origin != 0;
}

bool ReadOrigins(StoreDatabase& db, OwnJournal& own) {
  Statement& select =
      db.Sql("SELECT origin, id FROM machines WHERE own > 0 ORDER BY own DESC, origin");
  while (select.Step()) {
    own.originIndex.emplace(select.Int(0), static_cast<uint32_t>(own.journal.origins.size()));
    own.journal.origins.push_back(select.Utf8(1));
  }
  if (select.Result() != SQLITE_DONE || own.journal.origins.empty()) return false;
  own.journal.machineId = own.journal.origins.front();
  return true;
}

// Appends the answers the statement gives (kAnswerColumns), with their missed characters.
bool TakeAnswers(StoreDatabase& db, Statement& select, JournalTables& tables, OwnJournal& own,
                 bool wholeStore) {
  std::unordered_map<int64_t, size_t> answerOfId;
  while (select.Step()) {
    JournalAnswer a;
    a.origin = own.originIndex.at(select.Int(1));
    a.seq = select.Int(2);
    a.at = select.Int(3);
    a.day = select.Int(4);
    ++own.rows;
    if (select.Int(1) == own.origin) own.lastSeq = std::max(own.lastSeq, a.seq);
    if (!tables.Lesson(select.Int(5), a.lesson) || !tables.Entry(select.Int(6), a.entry)) {
      continue;  // a row whose lesson or entry is gone is no answer any machine can place
    }
    a.direction = static_cast<int>(select.Int(7));
    a.kind = static_cast<int>(select.Int(8));
    a.grade = static_cast<int>(select.Int(9));
    a.wrongKeystrokes = static_cast<int>(select.Int(10));
    a.milliseconds = select.Int(11);
    a.typedOn = static_cast<int>(select.Int(12));
    a.eventFirst = select.Int(13) != 0;
    answerOfId.emplace(select.Int(0), own.journal.answers.size());
    own.journal.answers.push_back(std::move(a));
  }
  if (select.Result() != SQLITE_DONE) return false;
  if (wholeStore) {
    Statement& misses =
        db.Sql("SELECT answer_id, expected, typed FROM typing_misses ORDER BY rowid");
    while (misses.Step()) {
      const auto found = answerOfId.find(misses.Int(0));
      if (found == answerOfId.end()) continue;
      own.journal.answers[found->second].misses.push_back({misses.Text(1), misses.Text(2)});
    }
    return misses.Result() == SQLITE_DONE;
  }
  Statement& misses =
      db.Sql("SELECT expected, typed FROM typing_misses WHERE answer_id = ?1 ORDER BY rowid");
  for (const auto& [answerId, index] : answerOfId) {
    misses.Bind(1, answerId);
    while (misses.Step())
      own.journal.answers[index].misses.push_back({misses.Text(0), misses.Text(1)});
    if (misses.Result() != SQLITE_DONE) return false;
  }
  return true;
}

bool TakeExams(Statement& select, JournalTables& tables, OwnJournal& own) {
  while (select.Step()) {
    JournalExam e;
    e.origin = own.originIndex.at(select.Int(0));
    e.seq = select.Int(1);
    e.at = select.Int(2);
    ++own.rows;
    if (select.Int(0) == own.origin) own.lastSeq = std::max(own.lastSeq, e.seq);
    if (!tables.Lesson(select.Int(3), e.lesson)) continue;
    e.result = {StoredMode(select.Int(4)),
                StoredFilter(select.Int(5), select.Int(6)),
                select.Text(7),
                static_cast<int>(select.Int(8)),
                static_cast<int>(select.Int(9)),
                static_cast<int>(select.Int(10))};
    own.journal.exams.push_back(std::move(e));
  }
  return select.Result() == SQLITE_DONE;
}

bool ReadWhole(StoreDatabase& db, int64_t origin, OwnJournal& own) {
  own = OwnJournal{};
  own.origin = origin;
  JournalTables tables(db, own);
  Statement& answers = db.Sql(std::string(kAnswerColumns) +
                              "JOIN machines AS m ON m.origin = a.origin AND m.own > 0 "
                              "ORDER BY a.origin, a.seq");
  Statement& exams = db.Sql(std::string(kExamColumns) +
                            "JOIN machines AS m ON m.origin = e.origin AND m.own > 0 "
                            "ORDER BY e.origin, e.seq");
  return ReadOrigins(db, own) && TakeAnswers(db, answers, tables, own, true) &&
         TakeExams(exams, tables, own);
}

// The rows of the current id numbered after the journal's last.
bool ReadSince(StoreDatabase& db, OwnJournal& own) {
  JournalTables tables(db, own);
  Statement& answers =
      db.Sql(std::string(kAnswerColumns) +
             "WHERE a.origin = ?1 AND a.origin <> 0 AND a.seq > ?2 ORDER BY a.seq");
  Statement& exams = db.Sql(std::string(kExamColumns) +
                            "WHERE e.origin = ?1 AND e.origin <> 0 AND e.seq > ?2 ORDER BY e.seq");
  const int64_t after = own.lastSeq;
  answers.Bind(1, own.origin).Bind(2, after);
  exams.Bind(1, own.origin).Bind(2, after);
  return TakeAnswers(db, answers, tables, own, false) && TakeExams(exams, tables, own);
}

}  // namespace

bool RefreshOwnJournal(StoreDatabase& db, const std::string& machineName, int64_t writtenAt,
                       OwnJournal& own, bool& changed) {
  changed = false;
  int64_t origin = 0;
  int64_t rows = 0;
  if (!db.CanRead() || !ReadCurrent(db, origin, rows)) return false;
  const int64_t before = own.rows;
  bool read = false;
  if (own.origin == origin && rows >= own.rows) {
    // Rows only came (or none): those numbered after the last are all there is to read.
    read = ReadSince(db, own) && own.rows == rows;
  }
  if (!read) {
    if (!ReadWhole(db, origin, own)) {
      own = OwnJournal{};
      return false;
    }
    changed = true;
  }
  changed = changed || own.rows != before;
  own.journal.machineName = machineName;
  own.journal.writtenAt = writtenAt;
  return true;
}

bool BuildOwnJournal(StoreDatabase& db, const std::string& machineName, int64_t writtenAt,
                     SyncJournal& journal) {
  OwnJournal own;
  bool changed = false;
  if (!RefreshOwnJournal(db, machineName, writtenAt, own, changed)) return false;
  journal = std::move(own.journal);
  return true;
}

}  // namespace verbaro::progress

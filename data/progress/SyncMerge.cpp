#include "data/progress/SyncMerge.h"

#include <algorithm>
#include <limits>
#include <set>
#include <span>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "data/progress/EntryMemory.h"
#include "data/progress/LessonIdentity.h"
#include "data/progress/MachineIdentity.h"
#include "data/progress/StoreDatabase.h"

namespace verbaro::progress {

namespace {

// The merge of one journal, in the caller's transaction.
// A row of the journal, in the order the merge takes them: an entry's answers together, so that
// each entry's memory is derived again once, then the exam results.
struct JournalRow {
  bool exam = false;
  uint32_t entry = 0;
  size_t index = 0;
  uint32_t origin = 0;
  bool operator<(const JournalRow& other) const {
    return std::tie(exam, entry, index) < std::tie(other.exam, other.entry, other.index);
  }
};

class Merge {
 public:
  Merge(StoreDatabase& db, const SyncJournal& journal) : m_db(db), m_journal(journal) {}

  // The first part, in the caller's transaction: the machines, and every row of this store's
  // own ids (a journal of its own, after the store was restored from an older copy) with their
  // marks raised at once, so that no number this machine gives out meanwhile hides one of them.
  // `rest` gets the other rows.
  bool Begin(std::span<const JournalRow> rows, std::vector<JournalRow>& rest, MergeCounts& counts) {
    if (!PlaceOrigins()) return false;
    std::vector<JournalRow> own;
    rest.clear();
    for (const JournalRow& row : rows) (m_origins[row.origin].own ? own : rest).push_back(row);
    return Run(own, false, counts) && RaiseMarks(true);
  }

  // One part, in the caller's transaction; the parts before it committed the machines and the
  // local ids of entries and lessons that it keeps. The marks of what was taken from other
  // machines are raised with the last part only: a merge cut short is done again, and the rows
  // it had already added are found by their ids.
  bool Run(std::span<const JournalRow> rows, bool last, MergeCounts& counts) {
    m_touched.clear();
    for (const JournalRow& row : rows) {
      const bool taken = row.exam ? Take(m_journal.exams[row.index], counts)
                                  : Take(m_journal.answers[row.index], counts);
      if (!taken) return false;
    }
    return (!last || RaiseMarks(false)) && Rederive();
  }

 private:
  struct Origin {
    int64_t key = 0;
    int64_t taken = 0;  // rows numbered up to here are skipped
    int64_t highest = 0;
    bool own = false;  // one of this store's ids
  };

  // Each origin of the journal with what the store already took from it; the writer's name and
  // time are kept for the list of machines.
  bool PlaceOrigins() {
    for (size_t i = 0; i < m_journal.origins.size(); ++i) {
      const std::string& id = m_journal.origins[i];
      Origin origin{OriginOf(id), 0, 0};
      Statement& find = m_db.Sql("SELECT id, last_seq, own FROM machines WHERE origin = ?1");
      if (find.Bind(1, origin.key).Step()) {
        // Another id with the same first 64 bits: its rows cannot be told apart and are left.
        origin.taken = find.Utf8(0) == id ? find.Int(1) : std::numeric_limits<int64_t>::max();
        origin.own = find.Int(2) > 0;
        find.Reset();
      } else if (find.Result() != SQLITE_DONE ||
                 !m_db.Sql("INSERT INTO machines(origin, id, name, own, last_seq, written_at) "
                           "VALUES(?1, ?2, '', 0, 0, 0)")
                      .Bind(1, origin.key)
                      .Bind(2, std::string_view(id))
                      .Run()) {
        return false;
      }
      origin.highest = origin.taken;
      m_origins.push_back(origin);
    }
    return m_db
        .Sql(
            "UPDATE machines SET name = ?2, written_at = ?3 "
            "WHERE origin = ?1 AND own = 0 AND written_at <= ?3")
        .Bind(1, m_origins.front().key)
        .Bind(2, std::string_view(m_journal.machineName))
        .Bind(3, m_journal.writtenAt)
        .Run();
  }

  // The local id of a journal entry, recorded when new.
  bool EntryId(uint32_t index, int64_t& id) {
    if (m_entryIds.empty()) m_entryIds.assign(m_journal.entries.size(), 0);
    if (m_entryIds[index] == 0) m_entryIds[index] = RecordEntry(m_db, m_journal.entries[index]);
    id = m_entryIds[index];
    return id != 0;
  }

  // The local id of a journal lesson: the lesson with the same entries, recorded when new.
  bool LessonId(uint32_t index, int64_t& id) {
    if (m_lessonIds.empty()) m_lessonIds.assign(m_journal.lessons.size(), 0);
    if (m_lessonIds[index] == 0) {
      const JournalLesson& lesson = m_journal.lessons[index];
      std::vector<EntryKey> keys;
      std::vector<int64_t> entryIds(lesson.entries.size(), 0);
      keys.reserve(lesson.entries.size());
      for (size_t i = 0; i < lesson.entries.size(); ++i) {
        keys.push_back(m_journal.entries[lesson.entries[i]]);
        if (!EntryId(lesson.entries[i], entryIds[i])) return false;
      }
      m_lessonIds[index] = RecordLessonFromElsewhere(m_db, keys, entryIds);
    }
    id = m_lessonIds[index];
    return id != 0;
  }

  bool Take(const JournalAnswer& a, MergeCounts& counts) {
    Origin& origin = m_origins[a.origin];
    if (a.seq <= origin.taken) return true;
    origin.highest = std::max(origin.highest, a.seq);
    int64_t lessonId = 0;
    int64_t entryId = 0;
    if (!LessonId(a.lesson, lessonId) || !EntryId(a.entry, entryId)) return false;
    Statement& insert = m_db.Sql(
        "INSERT OR IGNORE INTO answers(at, day, lesson_id, entry_id, direction, kind, grade, "
        "wrong_keystrokes, milliseconds, origin, seq, typed_on, event_first) "
        "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13)");
    if (!insert.Bind(1, a.at)
             .Bind(2, a.day)
             .Bind(3, lessonId)
             .Bind(4, entryId)
             .Bind(5, a.direction)
             .Bind(6, a.kind)
             .Bind(7, a.grade)
             .Bind(8, a.wrongKeystrokes)
             .Bind(9, a.milliseconds)
             .Bind(10, origin.key)
             .Bind(11, a.seq)
             .Bind(12, a.typedOn)
             .Bind(13, a.eventFirst ? 1 : 0)
             .Run()) {
      return false;
    }
    if (sqlite3_changes(m_db.Handle()) == 0) return true;  // already here
    ++counts.answers;
    const int64_t answerId = sqlite3_last_insert_rowid(m_db.Handle());
    if (a.grade != 0) {
      m_touched.emplace(a.direction, entryId);
      if (a.eventFirst && !AddToDay(lessonId, a)) return false;
    }
    return KeepMisses(answerId, lessonId, a);
  }

  bool AddToDay(int64_t lessonId, const JournalAnswer& a) {
    return m_db
        .Sql(
            "INSERT INTO daily(lesson_id, direction, day, answers, first_try_right) "
            "VALUES(?1, ?2, ?3, 1, ?4) ON CONFLICT DO UPDATE SET answers = answers + 1, "
            "first_try_right = first_try_right + excluded.first_try_right")
        .Bind(1, lessonId)
        .Bind(2, a.direction)
        .Bind(3, a.day)
        .Bind(4, a.grade >= static_cast<int>(Grade::Good) ? 1 : 0)
        .Run();
  }

  bool KeepMisses(int64_t answerId, int64_t lessonId, const JournalAnswer& a) {
    if (a.misses.empty()) return true;
    Statement& keep =
        m_db.Sql("INSERT INTO typing_misses(answer_id, expected, typed) VALUES(?1, ?2, ?3)");
    Statement& count = m_db.Sql(
        "INSERT INTO char_misses(lesson_id, direction, expected, typed, count) "
        "VALUES(?1, ?2, ?3, ?4, 1) ON CONFLICT DO UPDATE SET count = count + 1");
    for (const MissedCharacter& miss : a.misses) {
      if (!keep.Bind(1, answerId).Bind(2, miss.expected).Bind(3, miss.typed).Run()) return false;
      if (a.typedOn != 0 && !count.Bind(1, lessonId)
                                 .Bind(2, a.typedOn)
                                 .Bind(3, miss.expected)
                                 .Bind(4, miss.typed)
                                 .Run()) {
        return false;
      }
    }
    return true;
  }

  bool Take(const JournalExam& e, MergeCounts& counts) {
    Origin& origin = m_origins[e.origin];
    if (e.seq <= origin.taken) return true;
    origin.highest = std::max(origin.highest, e.seq);
    int64_t lessonId = 0;
    if (!LessonId(e.lesson, lessonId)) return false;
    if (!m_db.Sql("INSERT OR IGNORE INTO exams(at, lesson_id, mode, filter_kind, filter_index, "
                  "filter_name, right_answers, wrong_answers, hints, origin, seq) "
                  "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)")
             .Bind(1, e.at)
             .Bind(2, lessonId)
             .Bind(3, IndexOf(e.result.mode))
             .Bind(4, static_cast<int>(e.result.filter.kind))
             .Bind(5, e.result.filter.index)
             .Bind(6, e.result.filterName)
             .Bind(7, e.result.right)
             .Bind(8, e.result.wrong)
             .Bind(9, e.result.hints)
             .Bind(10, origin.key)
             .Bind(11, e.seq)
             .Run()) {
      return false;
    }
    if (sqlite3_changes(m_db.Handle()) != 0) ++counts.exams;
    return true;
  }

  bool RaiseMarks(bool own) {
    Statement& raise =
        m_db.Sql("UPDATE machines SET last_seq = max(last_seq, ?2) WHERE origin = ?1");
    for (const Origin& origin : m_origins) {
      if (origin.own == own && origin.highest > origin.taken &&
          !raise.Bind(1, origin.key).Bind(2, origin.highest).Run()) {
        return false;
      }
    }
    return true;
  }

  bool Rederive() {
    for (const auto& [direction, entryId] : m_touched) {
      if (!ReplayEntryMemory(m_db, direction, entryId)) return false;
    }
    return true;
  }

  StoreDatabase& m_db;
  const SyncJournal& m_journal;
  std::vector<Origin> m_origins;
  std::vector<int64_t> m_entryIds;
  std::vector<int64_t> m_lessonIds;
  std::set<std::pair<int, int64_t>> m_touched;
};

}  // namespace

bool MergeJournal(StoreDatabase& db, const SyncJournal& journal, MergeCounts& counts,
                  size_t rowsPerTransaction) {
  counts = {};
  if (journal.origins.empty()) return true;
  std::vector<JournalRow> rows;
  rows.reserve(journal.answers.size() + journal.exams.size());
  for (size_t i = 0; i < journal.answers.size(); ++i) {
    rows.push_back({false, journal.answers[i].entry, i, journal.answers[i].origin});
  }
  for (size_t i = 0; i < journal.exams.size(); ++i)
    rows.push_back({true, 0, i, journal.exams[i].origin});
  std::sort(rows.begin(), rows.end());
  // A large journal touches most pages of the log and its indexes: they stay in memory for
  // the merge (32 MB at most) instead of being read again and again.
  sqlite3_exec(db.Handle(), "PRAGMA cache_size = -32768", nullptr, nullptr, nullptr);
  const size_t part = std::max<size_t>(rowsPerTransaction, 1);
  Merge merge(db, journal);
  std::vector<JournalRow> rest;
  if (!db.Write([&] { return merge.Begin(rows, rest, counts); })) return false;
  rows = std::move(rest);
  size_t begin = 0;
  do {
    const size_t end = std::min(rows.size(), begin + part);
    MergeCounts added;
    const std::span<const JournalRow> some(rows.data() + begin, end - begin);
    const bool last = end == rows.size();
    if (!db.Write([&] { return merge.Run(some, last, added); })) return false;
    counts.answers += added.answers;
    counts.exams += added.exams;
    begin = end;
  } while (begin < rows.size());
  return true;
}

}  // namespace verbaro::progress

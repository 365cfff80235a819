// What the trainer and the statistics read about one lesson. The memory rows of a direction are
// read in one pass and kept to this lesson's entries in memory, which is faster than joining
// through the lesson's entry list for every row.
#include <algorithm>
#include <array>
#include <limits>
#include <tuple>

#include "data/progress/Days.h"
#include "data/progress/ExamColumns.h"
#include "data/progress/ProgressStore.h"
#include "data/progress/StoreDatabase.h"

namespace verbaro::progress {

namespace {

constexpr int kNewEntriesPerDay = 20;
constexpr double kLearntStability = 21.0;

struct MemoryRow {
  int entry = 0;
  double stability = 0;
  int64_t firstDay = 0;
  int64_t dueDay = 0;
  int lapses = 0;
  int misses = 0;
  bool missed = false;
  int64_t lastMissAt = 0;
};

int DirectionCode(Direction direction) { return static_cast<int>(direction); }

// The memory rows of this lesson's entries in one direction.
std::vector<MemoryRow> ReadMemory(StoreDatabase& db,
                                  const std::unordered_map<int64_t, int>& entryOfId,
                                  Direction direction, bool missedOnly) {
  std::vector<MemoryRow> rows;
  if (!db.CanRead() || entryOfId.empty()) return rows;
  Statement& select =
      missedOnly ? db.Sql(
                       "SELECT entry_id, stability, first_day, due_day, lapses, misses, "
                       "missed, last_miss_at FROM memory WHERE direction = ?1 AND missed = 1")
                 : db.Sql(
                       "SELECT entry_id, stability, first_day, due_day, lapses, misses, "
                       "missed, last_miss_at FROM memory WHERE direction = ?1");
  select.Bind(1, DirectionCode(direction));
  while (select.Step()) {
    const auto found = entryOfId.find(select.Int(0));
    if (found == entryOfId.end()) continue;
    rows.push_back({found->second, select.Real(1), select.Int(2), select.Int(3),
                    static_cast<int>(select.Int(4)), static_cast<int>(select.Int(5)),
                    select.Int(6) != 0, select.Int(7)});
  }
  return rows;
}

// An entry index from outside the store (a record of the modes) that names an entry of the lesson.
bool IsEntry(int entry, size_t entryCount) {
  return entry >= 0 && static_cast<size_t>(entry) < entryCount;
}

bool IsAsked(const std::vector<bool>& asked, size_t entry) {
  return asked.empty() || (entry < asked.size() && asked[entry]);
}

// The place of a direction in the per-direction arrays of a lesson.
size_t Way(Direction direction) { return static_cast<size_t>(DirectionCode(direction) - 1); }

// The new entries «На сегодня» offers today: asked entries never answered, in lesson order, as
// many as the day's 20 leave after the entries first answered today.
std::vector<int> NewToday(const std::vector<MemoryRow>& rows, const std::vector<bool>& asked,
                          size_t entryCount, int64_t today) {
  std::vector<bool> answered(entryCount, false);
  int introducedToday = 0;
  for (const MemoryRow& row : rows) {
    answered[static_cast<size_t>(row.entry)] = true;
    if (row.firstDay == today) ++introducedToday;
  }
  std::vector<int> fresh;
  int left = kNewEntriesPerDay - introducedToday;
  for (size_t i = 0; i < entryCount && left > 0; ++i) {
    if (!answered[i] && IsAsked(asked, i)) {
      fresh.push_back(static_cast<int>(i));
      --left;
    }
  }
  return fresh;
}

// «На сегодня» counted in records: a record with an entry due counts as due, one with only new
// entries as new. Without records of the modes, each entry is a record.
void CountTodayIn(const std::vector<std::vector<int>>& records, const std::vector<MemoryRow>& rows,
                  const std::vector<int>& fresh, int64_t today, size_t entryCount,
                  EntryCounts& counts) {
  if (records.empty()) {
    counts.todayDue = counts.due;
    counts.todayNew = static_cast<int>(fresh.size());
    return;
  }
  enum : char { kNone, kNew, kDue };
  std::vector<char> state(entryCount, kNone);
  for (const int entry : fresh) state[static_cast<size_t>(entry)] = kNew;
  for (const MemoryRow& row : rows)
    if (row.dueDay <= today) state[static_cast<size_t>(row.entry)] = kDue;
  for (const std::vector<int>& record : records) {
    char most = kNone;
    for (const int entry : record) {
      if (IsEntry(entry, entryCount)) most = std::max(most, state[static_cast<size_t>(entry)]);
    }
    if (most == kDue) ++counts.todayDue;
    if (most == kNew) ++counts.todayNew;
  }
}

}  // namespace

int64_t LessonProgress::Today() const { return LocalDay(m_db->GetClock().NowSeconds()); }

std::vector<int> LessonProgress::MissedEntries(Direction direction) const {
  std::vector<MemoryRow> rows = ReadMemory(*m_db, m_entryOfId, direction, true);
  std::sort(rows.begin(), rows.end(), [](const MemoryRow& a, const MemoryRow& b) {
    return std::tuple(-a.misses, -a.lastMissAt, a.entry) <
           std::tuple(-b.misses, -b.lastMissAt, b.entry);
  });
  std::vector<int> entries;
  entries.reserve(rows.size());
  for (const MemoryRow& row : rows) entries.push_back(row.entry);
  return entries;
}

std::vector<int> LessonProgress::DueEntries(Direction direction) const {
  const int64_t today = Today();
  const std::vector<MemoryRow> rows = ReadMemory(*m_db, m_entryOfId, direction, false);
  std::vector<std::pair<int64_t, int>> due;
  for (const MemoryRow& row : rows)
    if (row.dueDay <= today) due.emplace_back(row.dueDay, row.entry);
  std::sort(due.begin(), due.end());
  const std::vector<int> fresh = NewToday(rows, m_asked[Way(direction)], m_keys.size(), today);
  std::vector<int> entries;
  entries.reserve(due.size() + fresh.size());
  for (const auto& item : due) entries.push_back(item.second);
  entries.insert(entries.end(), fresh.begin(), fresh.end());
  return entries;
}

void LessonProgress::SetModeRecords(Direction direction, std::vector<std::vector<int>> records) {
  const size_t way = Way(direction);
  m_asked[way].assign(m_keys.size(), false);
  for (const std::vector<int>& record : records) {
    for (const int entry : record) {
      if (IsEntry(entry, m_keys.size())) m_asked[way][static_cast<size_t>(entry)] = true;
    }
  }
  m_modeRecords[way] = std::move(records);
}

EntryCounts LessonProgress::Counts(Direction direction) const {
  const int64_t today = Today();
  EntryCounts counts;
  const std::vector<MemoryRow> rows = ReadMemory(*m_db, m_entryOfId, direction, false);
  const std::vector<bool>& asked = m_asked[Way(direction)];
  std::vector<bool> answered(m_keys.size(), false);
  for (const MemoryRow& row : rows) {
    answered[row.entry] = true;
    (row.stability >= kLearntStability ? counts.learnt : counts.learning) += 1;
    if (row.dueDay <= today) ++counts.due;
  }
  for (size_t i = 0; i < m_keys.size(); ++i)
    if (!answered[i] && IsAsked(asked, i)) ++counts.fresh;
  CountTodayIn(m_modeRecords[Way(direction)], rows, NewToday(rows, asked, m_keys.size(), today),
               today, m_keys.size(), counts);
  if (m_lessonId == 0 || !m_db->CanRead()) return counts;
  Statement& totals = m_db->Sql(
      "SELECT total(answers), total(first_try_right) FROM daily "
      "WHERE lesson_id = ?1 AND direction = ?2");
  totals.Bind(1, m_lessonId).Bind(2, DirectionCode(direction));
  if (totals.Step()) {
    counts.answers = static_cast<int>(totals.Int(0));
    counts.firstTryRight = static_cast<int>(totals.Int(1));
  }
  totals.Reset();
  return counts;
}

std::vector<DayActivity> LessonProgress::Activity(Direction direction, int days) const {
  const int64_t today = Today();
  std::vector<DayActivity> activity(static_cast<size_t>(std::max(days, 0)));
  for (int i = 0; i < days; ++i) activity[i].day = today - days + 1 + i;
  if (m_lessonId == 0 || !m_db->CanRead() || days <= 0) return activity;
  Statement& select = m_db->Sql(
      "SELECT day, answers, first_try_right FROM daily "
      "WHERE lesson_id = ?1 AND direction = ?2 AND day > ?3 AND day <= ?4");
  select.Bind(1, m_lessonId).Bind(2, DirectionCode(direction)).Bind(3, today - days).Bind(4, today);
  while (select.Step()) {
    DayActivity& day = activity[static_cast<size_t>(select.Int(0) - (today - days + 1))];
    day.answers = static_cast<int>(select.Int(1));
    day.firstTryRight = static_cast<int>(select.Int(2));
  }
  return activity;
}

StudyStreaks LessonProgress::Streaks(Direction direction) const {
  StudyStreaks streaks;
  if (m_lessonId == 0 || !m_db->CanRead()) return streaks;
  const int64_t today = Today();
  Statement& select = m_db->Sql(
      "SELECT day FROM daily WHERE lesson_id = ?1 AND direction = ?2 AND answers > 0 "
      "AND day <= ?3 ORDER BY day");
  select.Bind(1, m_lessonId).Bind(2, DirectionCode(direction)).Bind(3, today);
  int run = 0;
  int64_t previous = 0;
  while (select.Step()) {
    const int64_t day = select.Int(0);
    run = (run > 0 && day == previous + 1) ? run + 1 : 1;
    streaks.longest = std::max(streaks.longest, run);
    previous = day;
  }
  // A streak still counts today before today's first answer.
  if (run > 0 && previous >= today - 1) streaks.current = run;
  return streaks;
}

std::vector<int> LessonProgress::DueForecast(Direction direction, int days) const {
  std::vector<int> forecast(static_cast<size_t>(std::max(days, 0)), 0);
  if (days <= 0) return forecast;
  const int64_t today = Today();
  const std::vector<MemoryRow> rows = ReadMemory(*m_db, m_entryOfId, direction, false);
  const std::vector<std::vector<int>>& records = m_modeRecords[Way(direction)];
  if (records.empty()) {
    for (const MemoryRow& row : rows) {
      const int64_t offset = std::max<int64_t>(row.dueDay - today, 0);
      if (offset < days) ++forecast[static_cast<size_t>(offset)];
    }
    return forecast;
  }
  // A record is due on the first day one of its entries is, as «На сегодня» counts it.
  constexpr int64_t kNever = std::numeric_limits<int64_t>::max();
  std::vector<int64_t> dueDay(m_keys.size(), kNever);
  for (const MemoryRow& row : rows) dueDay[static_cast<size_t>(row.entry)] = row.dueDay;
  for (const std::vector<int>& record : records) {
    int64_t first = kNever;
    for (const int entry : record) {
      if (!IsEntry(entry, m_keys.size())) continue;
      first = std::min(first, dueDay[static_cast<size_t>(entry)]);
    }
    if (first == kNever) continue;
    const int64_t offset = std::max<int64_t>(first - today, 0);
    if (offset < days) ++forecast[static_cast<size_t>(offset)];
  }
  return forecast;
}

std::vector<HardEntry> LessonProgress::HardestEntries(Direction direction, int limit) const {
  std::vector<MemoryRow> rows = ReadMemory(*m_db, m_entryOfId, direction, false);
  std::erase_if(rows, [](const MemoryRow& row) { return row.lapses == 0 && row.misses == 0; });
  std::sort(rows.begin(), rows.end(), [](const MemoryRow& a, const MemoryRow& b) {
    return std::tuple(-a.lapses, a.stability, -a.misses, a.entry) <
           std::tuple(-b.lapses, b.stability, -b.misses, b.entry);
  });
  if (limit >= 0 && rows.size() > static_cast<size_t>(limit))
    rows.resize(static_cast<size_t>(limit));
  std::vector<HardEntry> hardest;
  hardest.reserve(rows.size());
  for (const MemoryRow& row : rows)
    hardest.push_back({row.entry, row.lapses, row.misses, row.stability});
  return hardest;
}

std::vector<CharacterMiss> LessonProgress::MissedCharacters(Direction direction) const {
  std::vector<CharacterMiss> misses;
  if (m_lessonId == 0 || !m_db->CanRead()) return misses;
  Statement& select = m_db->Sql(
      "SELECT expected, typed, count FROM char_misses WHERE lesson_id = ?1 AND direction = ?2 "
      "ORDER BY count DESC, expected, typed");
  select.Bind(1, m_lessonId).Bind(2, DirectionCode(direction));
  while (select.Step()) {
    misses.push_back({select.Text(0), select.Text(1), static_cast<int>(select.Int(2))});
  }
  return misses;
}

std::vector<ExamRecord> LessonProgress::ExamHistory() const {
  std::vector<ExamRecord> exams;
  if (m_lessonId == 0 || !m_db->CanRead()) return exams;
  Statement& select = m_db->Sql(
      "SELECT at, mode, filter_kind, filter_index, filter_name, right_answers, wrong_answers, "
      "hints FROM exams "
      "WHERE lesson_id = ?1 ORDER BY at DESC, id DESC");
  select.Bind(1, m_lessonId);
  while (select.Step()) {
    exams.push_back({select.Int(0),
                     {StoredMode(select.Int(1)), StoredFilter(select.Int(2), select.Int(3)),
                      select.Text(4), static_cast<int>(select.Int(5)),
                      static_cast<int>(select.Int(6)), static_cast<int>(select.Int(7))}});
  }
  return exams;
}

std::vector<AnswerLogRow> LessonProgress::AnswerLog() const {
  std::vector<AnswerLogRow> log;
  if (m_lessonId == 0 || !m_db->CanRead()) return log;
  Statement& select = m_db->Sql(
      "SELECT a.at, a.entry_id, a.direction, a.kind, a.grade, a.wrong_keystrokes, "
      "a.milliseconds FROM answers a "
      "WHERE a.entry_id IN (SELECT entry_id FROM lesson_entries WHERE lesson_id = ?1) "
      "ORDER BY a.id");
  select.Bind(1, m_lessonId);
  static const std::u16string kKinds[] = {u"typing", u"exam", u"exposure", u"practice"};
  while (select.Step()) {
    const auto found = m_entryOfId.find(select.Int(1));
    if (found == m_entryOfId.end()) continue;
    const int64_t kind = std::clamp<int64_t>(select.Int(3), 1, 4);
    log.push_back({select.Int(0), found->second, static_cast<int>(select.Int(2)), kKinds[kind - 1],
                   static_cast<int>(select.Int(4)), static_cast<int>(select.Int(5)),
                   select.Int(6)});
  }
  return log;
}

}  // namespace verbaro::progress

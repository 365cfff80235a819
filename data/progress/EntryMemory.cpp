#include "data/progress/EntryMemory.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

#include "data/progress/StoreDatabase.h"

namespace verbaro::progress {

EntryMemory AfterAnswer(const Fsrs& fsrs, const std::optional<EntryMemory>& before, Grade grade,
                        int64_t day, int64_t at) {
  EntryMemory after = before.value_or(EntryMemory{{}, day, day, day, 0, 0, 0, false, 0});
  // An answer dated before the last one (the clock went back) counts as on the same day.
  const int elapsed = static_cast<int>(std::max<int64_t>(day - after.lastDay, 0));
  const std::optional<MemoryState> state =
      before ? std::optional<MemoryState>(before->state) : std::nullopt;
  after.state = fsrs.Next(state, elapsed, grade);
  after.dueDay = day + fsrs.IntervalDays(state, elapsed, grade);
  after.lastDay = std::max(day, after.lastDay);
  ++after.reps;
  if (before && grade == Grade::Again) ++after.lapses;
  after.missed = grade == Grade::Again || grade == Grade::Hard;
  if (after.missed) {
    ++after.misses;
    after.lastMissAt = at;
  }
  return after;
}

std::optional<EntryMemory> ReadEntryMemory(StoreDatabase& db, int direction, int64_t entryId,
                                           bool* ok) {
  Statement& select = db.Sql(
      "SELECT stability, difficulty, first_day, last_day, due_day, reps, lapses, misses, missed, "
      "last_miss_at FROM memory WHERE direction = ?1 AND entry_id = ?2");
  select.Bind(1, direction).Bind(2, entryId);
  std::optional<EntryMemory> memory;
  if (select.Step()) {
    memory = EntryMemory{{select.Real(0), select.Real(1)},
                         select.Int(2),
                         select.Int(3),
                         select.Int(4),
                         select.Int(5),
                         select.Int(6),
                         select.Int(7),
                         select.Int(8) != 0,
                         select.Int(9)};
  }
  *ok = memory.has_value() || select.Result() == SQLITE_DONE;
  select.Reset();
  return memory;
}

bool WriteEntryMemory(StoreDatabase& db, int direction, int64_t entryId,
                      const EntryMemory& memory) {
  return db
      .Sql(
          "INSERT OR REPLACE INTO memory(entry_id, direction, stability, difficulty, "
          "first_day, last_day, due_day, reps, lapses, misses, missed, last_miss_at) "
          "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)")
      .Bind(1, entryId)
      .Bind(2, direction)
      .Bind(3, memory.state.stability)
      .Bind(4, memory.state.difficulty)
      .Bind(5, memory.firstDay)
      .Bind(6, memory.lastDay)
      .Bind(7, memory.dueDay)
      .Bind(8, memory.reps)
      .Bind(9, memory.lapses)
      .Bind(10, memory.misses)
      .Bind(11, memory.missed ? 1 : 0)
      .Bind(12, memory.lastMissAt)
      .Run();
}

bool RederiveMemory(StoreDatabase& db) {
  std::map<std::pair<int, int64_t>, EntryMemory> memories;
  Statement& answers = db.Sql(
      "SELECT direction, entry_id, grade, day, at FROM answers WHERE grade BETWEEN 1 AND 4 "
      "ORDER BY at, origin, seq, id");
  answers.Reset();
  while (answers.Step()) {
    const std::pair key{static_cast<int>(answers.Int(0)), answers.Int(1)};
    const auto found = memories.find(key);
    const std::optional<EntryMemory> before =
        found == memories.end() ? std::nullopt : std::optional<EntryMemory>(found->second);
    memories[key] = AfterAnswer(db.Scheduler(), before, static_cast<Grade>(answers.Int(2)),
                                answers.Int(3), answers.Int(4));
  }
  if (answers.Result() != SQLITE_DONE) return false;
  if (!db.Sql("DELETE FROM memory").Run()) return false;
  for (const auto& [key, memory] : memories) {
    if (!WriteEntryMemory(db, key.first, key.second, memory)) return false;
  }
  return true;
}

bool ReplayEntryMemory(StoreDatabase& db, int direction, int64_t entryId) {
  // An entry has a few dozen answers: they are put in time order here, which is quicker than
  // a sort by the database for each entry of a large merge.
  struct Graded {
    int64_t at, origin, seq, id, day;
    int grade;
  };
  Statement& answers = db.Sql(
      "SELECT at, origin, seq, id, day, grade FROM answers WHERE entry_id = ?1 AND "
      "direction = ?2 AND grade BETWEEN 1 AND 4");
  answers.Bind(1, entryId).Bind(2, direction);
  std::vector<Graded> graded;
  while (answers.Step()) {
    graded.push_back({answers.Int(0), answers.Int(1), answers.Int(2), answers.Int(3),
                      answers.Int(4), static_cast<int>(answers.Int(5))});
  }
  if (answers.Result() != SQLITE_DONE) return false;
  std::sort(graded.begin(), graded.end(), [](const Graded& a, const Graded& b) {
    return std::tie(a.at, a.origin, a.seq, a.id) < std::tie(b.at, b.origin, b.seq, b.id);
  });
  std::optional<EntryMemory> memory;
  for (const Graded& answer : graded) {
    memory = AfterAnswer(db.Scheduler(), memory, static_cast<Grade>(answer.grade), answer.day,
                         answer.at);
  }
  if (memory) return WriteEntryMemory(db, direction, entryId, *memory);
  return db.Sql("DELETE FROM memory WHERE direction = ?1 AND entry_id = ?2")
      .Bind(1, direction)
      .Bind(2, entryId)
      .Run();
}

}  // namespace verbaro::progress

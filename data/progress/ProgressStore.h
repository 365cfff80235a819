#pragma once
// The learner's progress: one SQLite file per user (by default
// $XDG_DATA_HOME/verbaro/progress.sqlite) with an append-only answer log and, derived from it,
// a memory state per entry and direction (FSRS), and the exam results.
//
// A store that cannot be used never stops the trainer: Open always gives a store; when the file
// cannot be read or written it keeps what it can (nothing, or reading only) and TakeNotice gives,
// once, the reason in the program's words. Every event is committed on its own as it happens.
//
//   auto store = progress::ProgressStore::Open(progress::ProgressStore::DefaultPath(), clock);
//   if (auto notice = store->TakeNotice(); !notice.empty()) ...show it...
//   progress::LessonEntries entries(rowsAsRead);
//   auto lesson = store->OpenLesson(entries.Keys(), pathUtf8);
//   lesson->RecordTyping(Direction::Forward, {{row}}, result);
//   std::vector<int> due = lesson->DueEntries(Direction::Forward);  // indexes into Keys()
#include <array>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/Clock.h"
#include "data/progress/ProgressStatistics.h"
#include "data/progress/ProgressTypes.h"

namespace verbaro::progress {

class StoreDatabase;
class LessonProgress;

class ProgressStore {
 public:
  enum class Access { ReadWrite, ReadOnly };

  // The store file of this user: $XDG_DATA_HOME/verbaro/progress.sqlite, with
  // ~/.local/share when XDG_DATA_HOME is unset or not absolute.
  static std::string DefaultPath();

  // Opens (creating the folder and the file when missing) the store at `path`. The clock tells
  // the time of events and the day. ReadOnly never writes the file (the lesson tool).
  static std::unique_ptr<ProgressStore> Open(const std::string& path, const Clock& clock,
                                             Access access = Access::ReadWrite);
  ~ProgressStore();
  ProgressStore(const ProgressStore&) = delete;
  ProgressStore& operator=(const ProgressStore&) = delete;

  // What the learner should be told about the store, once: why progress is not being saved, or
  // that a damaged file was set aside. Empty when there is nothing (new) to tell.
  std::u16string TakeNotice();
  // False when events are not being saved (no store, read-only, newer version, a failed write).
  bool IsSaving() const;

  // The lesson with these entries (in row order), known by its content: a copy, a moved file or
  // a rebuilt lesson that kept most of its entries finds its progress. `path` (UTF-8) is where it
  // was opened from this time.
  std::unique_ptr<LessonProgress> OpenLesson(const std::vector<EntryKey>& keys,
                                             const std::string& path);

  // Derives every memory state again from the answer log, as a changed scheduler would; false
  // when the store cannot be written or the log cannot be read.
  bool RebuildMemory();

 private:
  friend class FolderSync;  // merges other machines' answers (FolderSync.h)
  explicit ProgressStore(std::shared_ptr<StoreDatabase> db);
  std::shared_ptr<StoreDatabase> m_db;
};

// One lesson's progress; entries are indexes into the keys the lesson was opened with.
class LessonProgress {
 public:
  ~LessonProgress();
  LessonProgress(const LessonProgress&) = delete;
  LessonProgress& operator=(const LessonProgress&) = delete;

  // 0 when the store has no record of the lesson (nothing saved, or reading only).
  int64_t Id() const { return m_lessonId; }
  const std::vector<EntryKey>& Keys() const { return m_keys; }

  // Events. Each is committed on its own; several entries share one event when one record
  // stands for them (a reversed record, merged exam rows).
  void RecordTyping(Direction direction, std::span<const int> entries, const TypingResult& result);
  // Typing keeps its wrong characters for the keyboard of the alphabet typed, named by the typing
  // mode's own direction `typedOn` (Forward the French of Конспект-1, Reverse the Russian of
  // Конспект-2); the three-argument form takes `direction` for it. Practice (typed with the word
  // in sight) is an exposure in `typedOn` with its typing details: no grade, no memory change.
  void RecordTyping(Direction direction, std::span<const int> entries, const TypingResult& result,
                    Direction typedOn);
  void RecordPractice(Direction typedOn, std::span<const int> entries, const TypingResult& result);
  void RecordExamAnswer(Direction direction, std::span<const int> entries, ExamAnswer answer);
  void RecordExposure(Direction direction, std::span<const int> entries);
  void RecordExamResult(const ExamResult& result);

  // The records the modes of a direction show, each with the entries it stands for (by default
  // one record per entry, as «Конспект-1» shows the rows). An entry no record stands for is never
  // asked that way: it is not new there and never comes into «На сегодня». Today's counts
  // (EntryCounts::todayDue and todayNew) are of these records, as the Filters menu counts them.
  void SetModeRecords(Direction direction, std::vector<std::vector<int>> records);

  // Entries missed in typing or in an exam and not answered right since, most missed first.
  std::vector<int> MissedEntries(Direction direction) const;
  // Entries due today, most overdue first, then entries never answered (and asked), in lesson
  // order, up to 20 new ones a day (those first answered today count against the 20).
  std::vector<int> DueEntries(Direction direction) const;

  // Statistics.
  EntryCounts Counts(Direction direction) const;
  // The last `days` days up to today, oldest first, one element per day.
  std::vector<DayActivity> Activity(Direction direction, int days) const;
  // Days in a row with answers in this direction.
  StudyStreaks Streaks(Direction direction) const;
  // Entries (records of the direction's modes, when set) due on each of the next `days` days;
  // element 0 (today) includes the overdue ones.
  std::vector<int> DueForecast(Direction direction, int days) const;
  // Most lapses first, then lowest stability; only entries with a lapse or a miss.
  std::vector<HardEntry> HardestEntries(Direction direction, int limit) const;
  // Most frequent first.
  std::vector<CharacterMiss> MissedCharacters(Direction direction) const;
  // Newest first.
  std::vector<ExamRecord> ExamHistory() const;
  // The answer log of this lesson's entries, oldest first.
  std::vector<AnswerLogRow> AnswerLog() const;
  // The day (LocalDay) of the store's clock now.
  int64_t Today() const;

  // Forgets the lesson's progress: the answers and memory of its entries, its exams and its
  // statistics.
  void Forget();

 private:
  friend class ProgressStore;
  LessonProgress(std::shared_ptr<StoreDatabase> db, int64_t lessonId, std::vector<EntryKey> keys,
                 std::vector<int64_t> entryIds);
  std::shared_ptr<StoreDatabase> m_db;
  int64_t m_lessonId = 0;
  std::vector<EntryKey> m_keys;
  std::vector<int64_t> m_entryIds;  // per entry; 0 when the store does not know it
  std::unordered_map<int64_t, int> m_entryOfId;
  // Per direction: the records of SetModeRecords, and per entry whether one stands for it (both
  // empty: one record per entry).
  std::array<std::vector<std::vector<int>>, 2> m_modeRecords;
  std::array<std::vector<bool>, 2> m_asked;
};

}  // namespace verbaro::progress

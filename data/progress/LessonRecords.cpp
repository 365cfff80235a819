#include "data/progress/LessonRecords.h"

#include <algorithm>
#include <limits>
#include <map>
#include <string>
#include <utility>

#include "data/FilterKinds.h"
#include "data/StudyStatistics.h"
#include "data/progress/ProgressStore.h"
#include "data/progress/TypingGrade.h"

namespace verbaro::progress {

std::vector<int> EntriesOfRecord(const LessonEntries& entries, const LessonState& lesson,
                                 int32_t record) {
  if (record < 0 || static_cast<size_t>(record) >= lesson.m_vWordsData.size()) return {};
  const WordsData& data = lesson.m_vWordsData[static_cast<size_t>(record)];
  if (lesson.m_bContraVersa) return entries.EntriesOfReversed(data);
  if (lesson.m_bExamMode) {
    return entries.EntriesOfWord(data.wsKeyWord, data.wsFrGram, data.wsFrNumber);
  }
  // Конспект-1 and Видео-1 keep the rows as read: the record is the row.
  if (static_cast<size_t>(record) >= entries.Keys().size()) return {};
  return {record};
}

std::vector<int> ShownEntries(const LessonEntries& entries, const LessonState& lesson) {
  const int32_t position = lesson.m_nUserFilterIndex;
  if (position < 0 || static_cast<size_t>(position) >= lesson.m_vUserIndexes.size()) return {};
  return EntriesOfRecord(entries, lesson, lesson.m_vUserIndexes[static_cast<size_t>(position)]);
}

std::vector<int32_t> RankRecords(const LessonEntries& entries, const LessonState& lesson,
                                 const std::vector<int32_t>& records,
                                 const std::vector<int>& ordered) {
  std::map<int, size_t> rank;
  for (size_t i = 0; i < ordered.size(); ++i) rank.emplace(ordered[i], i);
  std::vector<std::pair<size_t, int32_t>> placed;
  if (!rank.empty()) {
    for (const int32_t record : records) {
      size_t best = std::numeric_limits<size_t>::max();
      for (const int entry : EntriesOfRecord(entries, lesson, record)) {
        if (const auto found = rank.find(entry); found != rank.end()) {
          best = std::min(best, found->second);
        }
      }
      if (best != std::numeric_limits<size_t>::max()) placed.emplace_back(best, record);
    }
  }
  std::stable_sort(placed.begin(), placed.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<int32_t> ranked;
  ranked.reserve(placed.size());
  for (const auto& [place, record] : placed) ranked.push_back(record);
  return ranked;
}

ReviewRecords ReviewOf(const LessonEntries& entries, const LessonProgress& progress,
                       const LessonState& lesson, StudyMode mode) {
  const auto all = lesson.m_mapUserFilters.find(std::u16string(kFilterAll));
  if (all == lesson.m_mapUserFilters.end()) return {};
  const auto answered = [&](Direction way) { return progress.Counts(way).answers > 0; };
  if (!answered(Direction::Forward) && !answered(Direction::Reverse)) return {};
  const Direction direction = GradedDirectionOfMode(mode);
  std::vector<int> hardest;
  for (const HardEntry& hard : progress.HardestEntries(direction, kHardestShown)) {
    hardest.push_back(hard.entry);
  }
  const auto rank = [&](const std::vector<int>& ordered) {
    return RankRecords(entries, lesson, all->second, ordered);
  };
  return {rank(progress.MissedEntries(direction)), rank(progress.DueEntries(direction)),
          rank(hardest)};
}

}  // namespace verbaro::progress

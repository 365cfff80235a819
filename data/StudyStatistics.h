#pragma once
// The numbers behind the statistics window and `verbaro-lesson progress`, gathered from a
// lesson's progress in one go, each direction apart: its counts, its answers per day over the
// calendar's 26 weeks with its streaks, the forecast of due entries, the hardest entries with
// their texts, the characters missed while typing and its finished exams.
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "data/WordsData.h"
#include "data/progress/ProgressStore.h"

namespace verbaro {

struct HardEntryText {
  std::u16string word;
  std::u16string translation;  // the entry's translations, joined by ", "
  int lapses = 0;
  int misses = 0;
  double stability = 0.0;
};

// One direction of a lesson: French -> Russian (Forward) or back (Reverse).
struct DirectionStatistics {
  progress::EntryCounts counts;
  std::vector<progress::DayActivity> days;      // the calendar's days, oldest first, up to today
  progress::StudyStreaks streaks;               // days in a row with answers this way
  std::vector<int> dueForecast;                 // entries due on today + 0, +1, ...
  std::vector<HardEntryText> hardest;           // most lapses first, then lowest stability
  std::vector<progress::CharacterMiss> missed;  // most frequent first
  std::vector<progress::ExamRecord> exams;      // this direction's exams, newest first
};

struct LessonStatistics {
  std::u16string lessonName;  // the file name without its folder
  int64_t today = 0;
  DirectionStatistics forward;
  DirectionStatistics reverse;
  const DirectionStatistics& Of(progress::Direction direction) const {
    return direction == progress::Direction::Forward ? forward : reverse;
  }
};

inline constexpr int kCalendarDays = 26 * 7;
inline constexpr int kForecastDays = 14;
inline constexpr int kHardestShown = 20;

// The translations of each French entry (word, grammar, number), joined by ", ", from the
// records of any mode: direct records (rows or merged exam records) hold them as answers,
// reversed records are a translation whose answers are the French words.
using EntryHead = std::tuple<std::u16string, std::u16string, std::u16string>;
using TranslationsByEntry = std::map<EntryHead, std::u16string>;
TranslationsByEntry TranslationsOf(const std::vector<WordsData>& records, bool reversed);

LessonStatistics GatherStatistics(const progress::LessonProgress& lesson,
                                  const TranslationsByEntry& translations,
                                  std::u16string lessonName);

// The share of answers right at the first try, 0 when nothing was answered.
double Accuracy(const progress::EntryCounts& counts);

// The last `count` days of a series (all of it when shorter).
std::vector<progress::DayActivity> LastDays(const std::vector<progress::DayActivity>& days,
                                            int count);

// Misses added per expected character, folded to lower case: the heat of a key. Misses of
// several characters at once have no key and are left out.
std::map<char16_t, int> MissesByKey(const std::vector<progress::CharacterMiss>& missed);

// Lower case of Latin, Latin-1 and Cyrillic letters (Ё too); other characters unchanged.
char16_t LowerLetter(char16_t c);

// «Экзамен-1» or «Экзамен-2» for a mode.
std::u16string ExamModeName(StudyMode mode);

// «На сегодня» in two parts, the records due and the new ones added to them: «2 + 2 новых»,
// «0 + 1 новая», as the Filters menu's «На сегодня (4)» adds them up.
std::u16string DueTodayText(const progress::EntryCounts& counts);

// The log line of the window: «Статистика: новых N, изучается N, выучено N, на сегодня N»
// (the entries due, without the new ones «На сегодня» adds).
std::u16string StatisticsLogLine(const progress::EntryCounts& counts);

}  // namespace verbaro

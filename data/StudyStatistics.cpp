#include "data/StudyStatistics.h"

#include <algorithm>

#include "data/Text.h"

namespace verbaro {

namespace {

void AddTranslation(std::u16string& joined, const std::u16string& translation) {
  if (translation.empty()) return;
  // Merged and reversed records may name one translation twice.
  const std::u16string padded = u", " + joined + u", ";
  if (padded.find(u", " + translation + u", ") != std::u16string::npos) return;
  if (!joined.empty()) joined += u", ";
  joined += translation;
}

DirectionStatistics GatherDirection(const progress::LessonProgress& lesson,
                                    const TranslationsByEntry& translations,
                                    const std::vector<progress::ExamRecord>& exams,
                                    progress::Direction direction) {
  DirectionStatistics statistics;
  statistics.counts = lesson.Counts(direction);
  statistics.days = lesson.Activity(direction, kCalendarDays);
  statistics.streaks = lesson.Streaks(direction);
  statistics.dueForecast = lesson.DueForecast(direction, kForecastDays);
  for (const progress::HardEntry& hard : lesson.HardestEntries(direction, kHardestShown)) {
    if (hard.entry < 0 || hard.entry >= static_cast<int>(lesson.Keys().size())) continue;
    const progress::EntryKey& key = lesson.Keys()[static_cast<size_t>(hard.entry)];
    const auto found = translations.find({key.word, key.gram, key.number});
    statistics.hardest.push_back({key.word, found == translations.end() ? u"" : found->second,
                                  hard.lapses, hard.misses, hard.stability});
  }
  statistics.missed = lesson.MissedCharacters(direction);
  for (const progress::ExamRecord& exam : exams)
    if (progress::DirectionOfMode(exam.result.mode) == direction) statistics.exams.push_back(exam);
  return statistics;
}

}  // namespace

TranslationsByEntry TranslationsOf(const std::vector<WordsData>& records, bool reversed) {
  TranslationsByEntry translations;
  for (const WordsData& record : records) {
    if (reversed) {
      for (const std::u16string& word : record.vwsAltWords)
        AddTranslation(translations[{word, record.wsFrGram, record.wsFrNumber}], record.wsKeyWord);
    } else {
      std::u16string& joined = translations[{record.wsKeyWord, record.wsFrGram, record.wsFrNumber}];
      for (const std::u16string& translation : record.vwsAltWords)
        AddTranslation(joined, translation);
    }
  }
  return translations;
}

LessonStatistics GatherStatistics(const progress::LessonProgress& lesson,
                                  const TranslationsByEntry& translations,
                                  std::u16string lessonName) {
  LessonStatistics statistics;
  statistics.lessonName = std::move(lessonName);
  statistics.today = lesson.Today();
  const std::vector<progress::ExamRecord> exams = lesson.ExamHistory();
  statistics.forward = GatherDirection(lesson, translations, exams, progress::Direction::Forward);
  statistics.reverse = GatherDirection(lesson, translations, exams, progress::Direction::Reverse);
  return statistics;
}

double Accuracy(const progress::EntryCounts& counts) {
  return counts.answers > 0 ? static_cast<double>(counts.firstTryRight) / counts.answers : 0.0;
}

std::vector<progress::DayActivity> LastDays(const std::vector<progress::DayActivity>& days,
                                            int count) {
  const size_t kept = std::min(days.size(), static_cast<size_t>(std::max(count, 0)));
  return std::vector<progress::DayActivity>(days.end() - static_cast<std::ptrdiff_t>(kept),
                                            days.end());
}

char16_t LowerLetter(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 0x20);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 0x20);
  if (c == 0x152) return 0x153;  // Œ
  if (c == 0x178) return 0xFF;   // Ÿ
  if (c >= u'А' && c <= u'Я') return static_cast<char16_t>(c + 0x20);
  if (c == u'Ё') return u'ё';
  return c;
}

std::map<char16_t, int> MissesByKey(const std::vector<progress::CharacterMiss>& missed) {
  std::map<char16_t, int> heat;
  for (const progress::CharacterMiss& miss : missed)
    if (miss.count > 0 && miss.expected.size() == 1)
      heat[LowerLetter(miss.expected[0])] += miss.count;
  return heat;
}

std::u16string ExamModeName(StudyMode mode) {
  return progress::DirectionOfMode(mode) == progress::Direction::Forward ? u"Экзамен-1"
                                                                         : u"Экзамен-2";
}

std::u16string DueTodayText(const progress::EntryCounts& counts) {
  const int lastTwo = counts.todayNew % 100;
  const bool one = lastTwo % 10 == 1 && lastTwo != 11;
  return ToU16(counts.todayDue) + u" + " + ToU16(counts.todayNew) + (one ? u" новая" : u" новых");
}

std::u16string StatisticsLogLine(const progress::EntryCounts& counts) {
  return u"Статистика: новых " + ToU16(counts.fresh) + u", изучается " + ToU16(counts.learning) +
         u", выучено " + ToU16(counts.learnt) + u", на сегодня " + ToU16(counts.due);
}

}  // namespace verbaro

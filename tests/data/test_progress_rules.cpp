// The rules the learner meets in the review lists and the statistics: the order of «Слова с
// ошибками» and «На сегодня», twenty new entries a day, the grades of typing and exam answers,
// the days the schedule gives, and the numbers of a lesson's statistics.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <optional>
#include <tuple>
#include <vector>

#include "data/progress/Fsrs.h"
#include "data/progress/ProgressStore.h"
#include "data/progress/TypingGrade.h"
#include "support/ProgressFixture.h"

namespace verbaro {
namespace {

using progress::Direction;
using progress::ExamAnswer;
using progress::Grade;
using test::ProgressFixture;
using test::Typed;
using test::Words;

constexpr Direction kForward = Direction::Forward;
constexpr Direction kReverse = Direction::Reverse;

// Typed through quickly without error: Easy.
const progress::TypingResult kQuick = Typed(0, 1500);

// Entries first..last-1, and lists one after another.
std::vector<int> Range(int first, int end) {
  std::vector<int> entries(static_cast<size_t>(end - first));
  std::iota(entries.begin(), entries.end(), first);
  return entries;
}
std::vector<int> Join(std::initializer_list<std::vector<int>> parts) {
  std::vector<int> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST(TypingGrade, NoErrorAndQuickIsEasyNoErrorGoodOneOrTwoHardMoreAgain) {
  struct Case {
    int characters;
    int wrongKeystrokes;
    int64_t milliseconds;
    Grade grade;
  };
  // Quick is at most a second to begin and 0.4 s a character: 2.6 s for four characters.
  const Case cases[] = {
      {4, 0, 2600, Grade::Easy},  {4, 0, 2601, Grade::Good},   {10, 0, 5000, Grade::Easy},
      {10, 0, 5001, Grade::Good}, {0, 0, 1400, Grade::Easy},   {1, 0, 1401, Grade::Good},
      {4, 1, 900, Grade::Hard},   {4, 2, 900, Grade::Hard},    {4, 3, 900, Grade::Again},
      {4, 2, 60000, Grade::Hard}, {4, 9, 60000, Grade::Again},
  };
  for (const Case& c : cases) {
    progress::TypingResult typed;
    typed.characters = c.characters;
    typed.wrongKeystrokes = c.wrongKeystrokes;
    typed.milliseconds = c.milliseconds;
    EXPECT_EQ(progress::GradeOfTyping(typed), c.grade)
        << c.characters << " characters, " << c.wrongKeystrokes << " wrong, " << c.milliseconds
        << " ms";
  }
}

// An exam answer right at the first choice is Good, a wrong or refused one Again; only an answer
// without any error counts as right at the first try, on its day and in its direction.
TEST(ProgressRules, ExamGradesAndRightAtTheFirstTryByDayAndDirection) {
  ProgressFixture f;
  auto store = f.Open();
  auto lesson = store->OpenLesson(Words(6), "a.db");
  lesson->RecordTyping(kForward, std::vector{0}, Typed(0));
  lesson->RecordTyping(kForward, std::vector{1}, Typed(1));
  lesson->RecordExamAnswer(kForward, std::vector{2}, ExamAnswer::RightFirstTry);
  lesson->RecordExamAnswer(kForward, std::vector{3}, ExamAnswer::Wrong);
  lesson->RecordExamAnswer(kForward, std::vector{4}, ExamAnswer::Refused);
  lesson->RecordExamAnswer(kReverse, std::vector{5}, ExamAnswer::RightFirstTry);
  std::vector<int> grades;
  for (const auto& row : lesson->AnswerLog()) grades.push_back(row.grade);
  EXPECT_EQ(grades, (std::vector{3, 2, 3, 1, 1, 3}));

  f.NextDay(2);
  lesson->RecordTyping(kForward, std::vector{0}, kQuick);
  const progress::EntryCounts counts = lesson->Counts(kForward);
  EXPECT_EQ(counts.answers, 6);
  EXPECT_EQ(counts.firstTryRight, 3);
  EXPECT_EQ(lesson->Counts(kReverse).answers, 1);
  const std::vector<progress::DayActivity> days = lesson->Activity(kForward, 4);
  ASSERT_EQ(days.size(), 4u);
  const int64_t today = lesson->Today();
  EXPECT_EQ(days[0].day, today - 3);
  EXPECT_EQ(days[3].day, today);
  EXPECT_EQ(days[0].answers, 0);
  EXPECT_EQ(days[1].answers, 5);
  EXPECT_EQ(days[1].firstTryRight, 2);
  EXPECT_EQ(days[2].answers, 0);
  EXPECT_EQ(days[3].answers, 1);
  EXPECT_EQ(days[3].firstTryRight, 1);
}

// «Слова с ошибками»: the most missed first, then the latest miss; an answer with one or two
// errors keeps an entry there, a right one takes it off.
TEST(ProgressRules, TheMissedListShowsTheMostMissedFirstThenTheLatestMiss) {
  ProgressFixture f;
  auto store = f.Open();
  auto lesson = store->OpenLesson(Words(6), "a.db");
  const auto later = [&f] { f.clock.seconds += 60; };
  lesson->RecordExamAnswer(kForward, std::vector{1}, ExamAnswer::Wrong);
  later();
  lesson->RecordExamAnswer(kForward, std::vector{4}, ExamAnswer::Refused);
  later();
  lesson->RecordTyping(kForward, std::vector{2}, Typed(3));
  later();
  lesson->RecordExamAnswer(kForward, std::vector{1}, ExamAnswer::Wrong);
  later();
  lesson->RecordTyping(kForward, std::vector{3}, Typed(2));
  later();
  lesson->RecordExamAnswer(kForward, std::vector{5}, ExamAnswer::Wrong);
  lesson->RecordTyping(kForward, std::vector{5}, Typed(0));
  EXPECT_EQ(lesson->MissedEntries(kForward), (std::vector{1, 3, 2, 4}));
  EXPECT_TRUE(lesson->MissedEntries(kReverse).empty());
}

// «На сегодня»: entries due, the most overdue first, then new entries in lesson order, twenty a
// day with those first answered today among them.
TEST(ProgressRules, TheDueListPutsTheMostOverdueFirstThenTwentyNewADay) {
  ProgressFixture f;
  auto store = f.Open();
  auto lesson = store->OpenLesson(Words(30), "a.db");
  // Monday: five typed quickly (back in a week), entry 20 with many errors (back on Tuesday).
  for (int entry = 0; entry < 5; ++entry) {
    lesson->RecordTyping(kForward, std::vector{entry}, kQuick);
  }
  lesson->RecordTyping(kForward, std::vector{20}, Typed(3));
  EXPECT_EQ(lesson->DueEntries(kForward), Range(5, 19)) << "six of the twenty new were met today";

  // Tuesday: 20 is due; entry 10 is met and missed, entry 0, met on Monday, answered again.
  f.NextDay();
  lesson->RecordTyping(kForward, std::vector{10}, Typed(3));
  lesson->RecordTyping(kForward, std::vector{0}, kQuick);
  EXPECT_EQ(lesson->DueEntries(kForward), Join({{20}, Range(5, 10), Range(11, 20), Range(21, 26)}));

  // Wednesday: 20 is a day overdue, 10 due today.
  f.NextDay();
  EXPECT_EQ(lesson->DueEntries(kForward),
            Join({{20, 10}, Range(5, 10), Range(11, 20), Range(21, 27)}));
  EXPECT_EQ(lesson->Counts(kForward).due, 2);
  EXPECT_EQ(lesson->DueEntries(kReverse), Range(0, 20));
}

// The scheduler's interval counted from the last answer gives the next day; an entry is learnt
// once its memory holds three weeks.
TEST(ProgressRules, EachAnswerGivesTheNextDayFromTheLastAndThreeWeeksMakeAnEntryLearnt) {
  ProgressFixture f;
  auto store = f.Open();
  auto lesson = store->OpenLesson(Words(3), "a.db");
  const progress::Fsrs fsrs;
  std::optional<progress::MemoryState> memory;
  int elapsed = 0;
  // Hard, then Good on each due day: 1, 5, 17 and 50 days, stability passing 14 and then 21.
  for (const Grade grade : {Grade::Hard, Grade::Good, Grade::Good, Grade::Good}) {
    lesson->RecordTyping(kForward, std::vector{1}, Typed(grade == Grade::Hard ? 1 : 0));
    const int interval = fsrs.IntervalDays(memory, elapsed, grade);
    memory = fsrs.Next(memory, elapsed, grade);
    std::vector<int> forecast(static_cast<size_t>(interval) + 1, 0);
    forecast.back() = 1;
    EXPECT_EQ(lesson->DueForecast(kForward, interval + 1), forecast);
    const progress::EntryCounts counts = lesson->Counts(kForward);
    const bool learnt = memory->stability >= 21;
    EXPECT_EQ(counts.learnt, learnt ? 1 : 0) << "stability " << memory->stability;
    EXPECT_EQ(counts.learning, learnt ? 0 : 1);
    EXPECT_EQ(counts.fresh, 2);
    f.NextDay(interval);
    elapsed = interval;
  }
}

// The forecast taken today counts each entry on the day the due list will show it; overdue
// entries count today.
TEST(ProgressRules, TheForecastCountsEachEntryOnTheDayItIsDue) {
  ProgressFixture f;
  auto store = f.Open();
  auto lesson = store->OpenLesson(Words(8), "a.db");
  lesson->RecordTyping(kForward, std::vector{0}, Typed(3));
  lesson->RecordTyping(kForward, std::vector{1}, Typed(1));
  lesson->RecordTyping(kForward, std::vector{2}, Typed(0));
  lesson->RecordTyping(kForward, std::vector{3}, kQuick);
  f.NextDay();
  lesson->RecordTyping(kForward, std::vector{4}, Typed(0));
  lesson->RecordExamAnswer(kForward, std::vector{5}, ExamAnswer::RightFirstTry);
  f.NextDay(2);
  lesson->RecordTyping(kForward, std::vector{6}, Typed(0));
  constexpr int kDays = 12;
  const std::vector<int> forecast = lesson->DueForecast(kForward, kDays);
  ASSERT_EQ(forecast.size(), static_cast<size_t>(kDays));
  // What the due list shows of the seven answered entries, day after day.
  std::vector<int> comingDue;
  size_t dueBefore = 0;
  for (int day = 0; day < kDays; ++day) {
    const std::vector<int> due = lesson->DueEntries(kForward);
    const size_t answered = static_cast<size_t>(
        std::count_if(due.begin(), due.end(), [](int entry) { return entry < 7; }));
    comingDue.push_back(static_cast<int>(answered - dueBefore));
    dueBefore = answered;
    f.NextDay();
  }
  EXPECT_EQ(forecast, comingDue);
  EXPECT_EQ(forecast[0], 5) << "entries 0, 1 and 2 overdue, 4 and 5 due today";
  EXPECT_EQ(std::accumulate(forecast.begin(), forecast.end(), 0), 7);
}

// The hardest entries: most lapses first (an Again after an entry was first answered), then the
// lowest stability; entries missed without a lapse come too, entries never missed do not.
TEST(ProgressRules, TheHardestEntriesAreTheMostForgottenThenTheLeastStable) {
  ProgressFixture f;
  auto store = f.Open();
  auto lesson = store->OpenLesson(Words(6), "a.db");
  lesson->RecordTyping(kForward, std::vector{0}, Typed(1));  // Hard at once
  lesson->RecordTyping(kForward, std::vector{1}, Typed(0));
  lesson->RecordTyping(kForward, std::vector{2}, Typed(0));
  lesson->RecordTyping(kForward, std::vector{3}, Typed(3));  // Again at once: no lapse
  lesson->RecordTyping(kForward, std::vector{4}, Typed(0));
  lesson->RecordTyping(kForward, std::vector{5}, Typed(0));
  f.NextDay();
  lesson->RecordTyping(kForward, std::vector{4}, Typed(3));
  lesson->RecordExamAnswer(kForward, std::vector{4}, ExamAnswer::Wrong);
  lesson->RecordExamAnswer(kForward, std::vector{1}, ExamAnswer::Refused);
  lesson->RecordTyping(kForward, std::vector{2}, Typed(2));  // Hard later: a miss, no lapse
  std::vector<int> entries;
  std::vector<int> lapses;
  std::vector<int> misses;
  for (const progress::HardEntry& entry : lesson->HardestEntries(kForward, 10)) {
    entries.push_back(entry.entry);
    lapses.push_back(entry.lapses);
    misses.push_back(entry.misses);
  }
  EXPECT_EQ(entries, (std::vector{4, 1, 3, 0, 2}));
  EXPECT_EQ(lapses, (std::vector{2, 1, 0, 0, 0}));
  EXPECT_EQ(misses, (std::vector{2, 1, 1, 1, 1}));
  const auto firstFour = lesson->HardestEntries(kForward, 4);
  ASSERT_EQ(firstFour.size(), 4u);
  EXPECT_EQ(firstFour.back().entry, 0);
  EXPECT_TRUE(lesson->HardestEntries(kReverse, 10).empty());
}

TEST(ProgressRules, MissedCharactersAreCountedEachTimeTheMostFrequentFirst) {
  ProgressFixture f;
  auto store = f.Open();
  auto lesson = store->OpenLesson(Words(3), "a.db");
  progress::TypingResult typed = Typed(2);
  typed.misses = {{u"é", u"e"}, {u"è", u"e"}};
  lesson->RecordTyping(kForward, std::vector{0}, typed);
  typed.misses = {{u"é", u"e"}, {u"ç", u"c"}};
  lesson->RecordTyping(kForward, std::vector{1}, typed);
  typed.misses = {{u"è", u"e"}, {u"é", u"e"}};
  lesson->RecordTyping(kForward, std::vector{2}, typed);
  lesson->RecordTyping(kReverse, std::vector{2}, typed);
  std::vector<std::tuple<std::u16string, std::u16string, int>> shown;
  for (const auto& miss : lesson->MissedCharacters(kForward)) {
    shown.emplace_back(miss.expected, miss.typed, miss.count);
  }
  EXPECT_EQ(shown, (std::vector<std::tuple<std::u16string, std::u16string, int>>{
                       {u"é", u"e", 3}, {u"è", u"e", 2}, {u"ç", u"c", 1}}));
}

TEST(ProgressRules, EveryFinishedExamIsKeptWithItsNumbersNewestFirst) {
  using progress::ExamFilter;
  using Kind = ExamFilter::Kind;
  ProgressFixture f;
  auto store = f.Open();
  auto lesson = store->OpenLesson(Words(3), "a.db");
  lesson->RecordExamResult({StudyMode::Exam1, {}, u"&0 - Все слова и фразы", 9, 1, 2});
  f.clock.seconds += 300;
  lesson->RecordExamResult({StudyMode::Exam2, {Kind::Lesson, 3}, u"Глаголы", 3, 4, 0});
  f.clock.seconds += 300;
  lesson->RecordExamResult({StudyMode::Exam1, {Kind::Due, 0}, u"На сегодня", 2, 0, 0});
  const std::vector<progress::ExamRecord> exams = lesson->ExamHistory();
  ASSERT_EQ(exams.size(), 3u);
  EXPECT_EQ(exams[0].at, test::kMondayNoon + 600);
  EXPECT_EQ(exams[2].at, test::kMondayNoon);
  const auto fields = [](const progress::ExamResult& r) {
    return std::tuple(r.mode, r.filter, r.filterName, r.right, r.wrong, r.hints);
  };
  EXPECT_EQ(fields(exams[0].result), std::tuple(StudyMode::Exam1, ExamFilter{Kind::Due, 0},
                                                std::u16string(u"На сегодня"), 2, 0, 0));
  EXPECT_EQ(fields(exams[1].result), std::tuple(StudyMode::Exam2, ExamFilter{Kind::Lesson, 3},
                                                std::u16string(u"Глаголы"), 3, 4, 0));
  EXPECT_EQ(fields(exams[2].result),
            std::tuple(StudyMode::Exam1, ExamFilter{}, std::u16string(u"&0 - Все слова и фразы"), 9,
                       1, 2));
}

}  // namespace
}  // namespace verbaro

// A month of study on the store's clock: what the review lists hold from day to day.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "data/progress/ProgressStore.h"
#include "support/ProgressFixture.h"

namespace verbaro {
namespace {

using progress::Direction;
using progress::ExamAnswer;
using test::MemoryTable;
using test::ProgressFixture;
using test::Typed;
using test::Words;

bool Has(const std::vector<int>& entries, int entry) {
  return std::find(entries.begin(), entries.end(), entry) != entries.end();
}

TEST(ProgressMonth, AWordMissedInMondaysExamIsInTheMissedListOnTuesday) {
  ProgressFixture f;
  {
    auto lesson = f.Open()->OpenLesson(Words(6), "a.db");
    lesson->RecordExamAnswer(Direction::Forward, std::vector{0, 1, 2}, ExamAnswer::RightFirstTry);
    lesson->RecordExamAnswer(Direction::Forward, std::vector{3}, ExamAnswer::Wrong);
    lesson->RecordExamAnswer(Direction::Forward, std::vector{4}, ExamAnswer::Refused);
    lesson->RecordExamResult({StudyMode::Exam1, {}, u"&0 - Все слова и фразы", 3, 1, 1});
  }
  f.NextDay();
  auto lesson = f.Open()->OpenLesson(Words(6), "a.db");
  const auto missed = lesson->MissedEntries(Direction::Forward);
  EXPECT_EQ(missed.size(), 2u);
  EXPECT_TRUE(Has(missed, 3));
  EXPECT_TRUE(Has(missed, 4));
  // both are due on Tuesday (Again gives one day), the right ones are not
  const auto due = lesson->DueEntries(Direction::Forward);
  EXPECT_TRUE(Has(due, 3) && Has(due, 4));
  EXPECT_FALSE(Has(due, 0) || Has(due, 1) || Has(due, 2));
  ASSERT_EQ(lesson->ExamHistory().size(), 1u);
  EXPECT_EQ(lesson->ExamHistory()[0].at, test::kMondayNoon);
  EXPECT_EQ(lesson->ExamHistory()[0].result.wrong, 1);
}

// A learner who studies «На сегодня» every day, typing every entry of it; some entries are
// always typed quickly without error, some always with many errors.
TEST(ProgressMonth, DueEntriesComeBackOnTheirDaysAndNewOnesTwentyADay) {
  ProgressFixture f;
  constexpr int kEntries = 50;
  constexpr Direction kWay = Direction::Reverse;
  const auto hard = [](int entry) { return entry % 10 == 7; };
  std::map<int, std::vector<int>> answeredOn;  // entry -> days answered
  int64_t lessonId = 0;
  for (int day = 0; day < 30; ++day) {
    auto store = f.Open();
    auto lesson = store->OpenLesson(Words(kEntries), "month.db");
    if (day == 0) lessonId = lesson->Id();
    EXPECT_EQ(lesson->Id(), lessonId);
    const std::vector<int> due = lesson->DueEntries(kWay);
    // The window's two parts of «На сегодня» add up to the list the menu counts.
    const progress::EntryCounts today = lesson->Counts(kWay);
    EXPECT_EQ(static_cast<size_t>(today.todayDue + today.todayNew), due.size()) << "day " << day;
    EXPECT_EQ(today.todayDue, today.due);
    int fresh = 0;
    for (const int entry : due) {
      if (answeredOn[entry].empty()) ++fresh;
      lesson->RecordTyping(kWay, std::vector{entry}, hard(entry) ? Typed(5) : Typed(0, 1500));
      answeredOn[entry].push_back(day);
    }
    EXPECT_LE(fresh, 20) << "day " << day;
    // every answer today moved its entry to a later day
    EXPECT_TRUE(lesson->DueEntries(kWay).size() <= static_cast<size_t>(std::max(0, 20 - fresh)))
        << "day " << day;
    f.NextDay();
  }
  // new entries in lesson order, twenty a day
  EXPECT_EQ(answeredOn[0].front(), 0);
  EXPECT_EQ(answeredOn[19].front(), 0);
  EXPECT_EQ(answeredOn[20].front(), 1);
  EXPECT_EQ(answeredOn[49].front(), 2);
  // quick and right: Easy, first after 8 days, then ever longer
  const std::vector<int>& easy = answeredOn[0];
  ASSERT_GE(easy.size(), 2u);
  EXPECT_EQ(easy[1] - easy[0], 8);
  for (size_t i = 2; i < easy.size(); ++i)
    EXPECT_GT(easy[i] - easy[i - 1], easy[i - 1] - easy[i - 2]);
  // many errors: Again, back the next day, every day
  const std::vector<int>& missed = answeredOn[7];
  EXPECT_EQ(missed.size(), 30u);

  auto lesson = f.Open()->OpenLesson(Words(kEntries), "month.db");
  EXPECT_TRUE(lesson->DueEntries(Direction::Forward).size() == 20u);  // the other way is untouched
  const auto counts = lesson->Counts(kWay);
  EXPECT_EQ(counts.fresh, 0);
  EXPECT_EQ(counts.learnt + counts.learning, kEntries);
  EXPECT_GT(counts.learnt, 0);
  EXPECT_EQ(counts.learning, 5);  // the five hard ones; every other one is learnt in a month
  EXPECT_EQ(lesson->MissedEntries(kWay).size(), 5u);
  EXPECT_EQ(lesson->HardestEntries(kWay, 20).size(), 5u);
  EXPECT_EQ(lesson->Streaks(kWay).current, 30);
  const auto activity = lesson->Activity(kWay, 90);
  int answers = 0;
  for (const auto& day : activity) answers += day.answers;
  int expected = 0;
  for (const auto& [entry, days] : answeredOn) expected += static_cast<int>(days.size());
  EXPECT_EQ(answers, expected);
  EXPECT_EQ(counts.answers, expected);
  int hardAnswers = 0;
  for (const auto& [entry, days] : answeredOn)
    hardAnswers += hard(entry) ? static_cast<int>(days.size()) : 0;
  ASSERT_EQ(lesson->MissedCharacters(kWay).size(), 1u);
  EXPECT_EQ(lesson->MissedCharacters(kWay).front().count, 5 * hardAnswers);  // five per answer

  // the answer log is the record: the memory derived from it again is the same, to the bit
  const std::string before = MemoryTable(f.path);
  ASSERT_FALSE(before.empty());
  EXPECT_TRUE(f.Open()->RebuildMemory());
  EXPECT_EQ(MemoryTable(f.path), before);
}

}  // namespace
}  // namespace verbaro

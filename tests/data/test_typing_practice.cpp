// Typing with the word in sight is practice: kept as an exposure with its slips, never a grade,
// and the memory derived from the log is the same with practice among the answers.
#include <gtest/gtest.h>

#include <string>

#include "data/progress/ProgressStore.h"
#include "support/ProgressFixture.h"

namespace verbaro {
namespace {

using progress::Direction;
using test::MemoryTable;
using test::ProgressFixture;
using test::Rows;
using test::Typed;
using test::Words;

constexpr Direction kForward = Direction::Forward;
constexpr Direction kReverse = Direction::Reverse;

TEST(TypingPractice, IsAnExposureWithItsSlipsAndNeverAGrade) {
  ProgressFixture f;
  auto store = f.Open();
  auto lesson = store->OpenLesson(Words(4), "a.db");
  // A reversed record of Конспект-2 copied with three slips: one event for its two entries.
  lesson->RecordPractice(kReverse, std::vector{1, 2}, Typed(3, 2500));
  lesson->RecordPractice(kReverse, std::vector{3}, Typed(0, 900));

  const auto log = lesson->AnswerLog();
  ASSERT_EQ(log.size(), 3u);
  for (const auto& row : log) {
    EXPECT_EQ(row.kind, u"practice");
    EXPECT_EQ(row.grade, 0);
    EXPECT_EQ(row.direction, 2);
  }
  EXPECT_EQ(log[0].entry, 1);
  EXPECT_EQ(log[1].entry, 2);
  EXPECT_EQ(log[0].wrongKeystrokes, 3);
  EXPECT_EQ(log[0].milliseconds, 2500);

  // No memory in either direction: nothing learnt, missed or answered, every entry still new.
  EXPECT_EQ(MemoryTable(f.path), "");
  for (const Direction way : {kForward, kReverse}) {
    const auto counts = lesson->Counts(way);
    EXPECT_EQ(counts.fresh, 4);
    EXPECT_EQ(counts.answers, 0);
    EXPECT_TRUE(lesson->MissedEntries(way).empty());
    EXPECT_EQ(lesson->DueEntries(way), (std::vector{0, 1, 2, 3}));
    EXPECT_EQ(lesson->Activity(way, 1).front().answers, 0);
    EXPECT_EQ(lesson->Streaks(way).current, 0);
  }

  // The slips feed the keyboard typed on, once per event, not once per entry.
  const auto misses = lesson->MissedCharacters(kReverse);
  ASSERT_EQ(misses.size(), 1u);
  EXPECT_EQ(misses[0].count, 3);
  EXPECT_TRUE(lesson->MissedCharacters(kForward).empty());
  EXPECT_EQ(Rows(f.path, "SELECT count(*) FROM typing_misses"), "3\n");

  // Forgetting the lesson takes the practice and its slips too.
  lesson->Forget();
  EXPECT_TRUE(lesson->AnswerLog().empty());
  EXPECT_EQ(Rows(f.path, "SELECT count(*) FROM typing_misses"), "0\n");
  EXPECT_TRUE(lesson->MissedCharacters(kReverse).empty());
}

TEST(TypingPractice, RebuildingTheMemoryFromTheLogGivesTheSameWithPracticeAmongTheAnswers) {
  ProgressFixture f;
  {
    auto store = f.Open();
    auto lesson = store->OpenLesson(Words(6), "a.db");
    for (int day = 0; day < 12; ++day) {
      for (int entry = 0; entry < 6; ++entry) {
        const Direction recalled = entry % 2 ? kForward : kReverse;
        const Direction typedOn = recalled == kForward ? kReverse : kForward;
        // Copied first, then typed from memory, with an entry's slips on some days.
        lesson->RecordPractice(typedOn, std::vector{entry}, Typed((day + entry) % 3));
        f.clock.seconds += 30;
        lesson->RecordTyping(recalled, std::vector{entry}, Typed((day * entry) % 4, 3000), typedOn);
        f.clock.seconds += 30;
      }
      f.NextDay();
    }
  }
  const std::string before = MemoryTable(f.path);
  ASSERT_FALSE(before.empty());
  EXPECT_TRUE(f.Open()->RebuildMemory());
  EXPECT_EQ(MemoryTable(f.path), before);
}

}  // namespace
}  // namespace verbaro

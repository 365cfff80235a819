// Each direction on its own: the records of the reversed modes and the entries they ask, what is
// new there, «На сегодня» in its two parts counted in records, and the streaks of study days.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "data/PlainLessonState.h"
#include "data/progress/LessonEntries.h"
#include "data/progress/ProgressStore.h"
#include "support/ProgressFixture.h"

namespace verbaro {
namespace {

using progress::Direction;
using test::ProgressFixture;
using test::Typed;
using test::Words;

WordsData Row(std::u16string word, std::u16string gram, std::vector<std::u16string> answers) {
  WordsData row;
  row.wsKeyWord = std::move(word);
  row.wsFrGram = std::move(gram);
  row.wsFrNumber = u"s";
  row.vwsAltWords = std::move(answers);
  return row;
}

// Against the trainer's own reversal: the records it makes stand for the same entries, over rows
// without translations, of grammar "~~" (left out) and "~" (a phrase), of one word twice, and of
// one translation under number codes that give no suffix (one record, with the first row's code).
TEST(ProgressDirections, TheReversedRecordsAreThoseOfTheTrainersReversal) {
  std::vector<WordsData> rows;
  const char16_t* const words[] = {u"a", u"b", u"c", u"a", u"d", u"e"};
  const char16_t* const numbers[] = {u"s", u"", u"x", u"s", u"p", u""};
  const char16_t* const grams[] = {u"m", u"adj,m", u"adj,m", u"m", u"~", u"~~"};
  for (int i = 0; i < 24; ++i) {
    WordsData row = Row(words[i % 6], grams[(i / 2) % 6], {});
    row.wsFrNumber = numbers[(i + i / 6) % 6];
    for (int t = 0; t < i % 4; ++t)
      row.vwsAltWords.push_back(u"перевод " + std::u16string(1, u'0' + (i * 7 + t) % 5));
    rows.push_back(row);
  }
  const progress::LessonEntries entries(rows);
  std::vector<std::vector<int>> ours = entries.ReversedRecords(rows);

  PlainLessonState trainer(u"Модуль \"Конспект-2\"");
  trainer.m_vWordsData = rows;
  ASSERT_TRUE(trainer.BuildContraVersaData());
  std::vector<std::vector<int>> theirs;
  for (const WordsData& record : trainer.m_vWordsData)
    theirs.push_back(entries.EntriesOfReversed(record));
  ASSERT_FALSE(theirs.empty());
  std::sort(ours.begin(), ours.end());
  std::sort(theirs.begin(), theirs.end());
  EXPECT_EQ(ours, theirs);
}

// A lesson of 30 entries whose first ten no reversed record stands for; entry 10 has two
// translations (two records), one of them shared with entry 11.
struct HalfReversedLesson {
  ProgressFixture f;
  std::unique_ptr<progress::ProgressStore> store = f.Open();
  std::unique_ptr<progress::LessonProgress> lesson = store->OpenLesson(Words(30), "a.db");
  HalfReversedLesson() {
    std::vector<std::vector<int>> records = {{10, 11}, {10}};
    for (int entry = 12; entry < 30; ++entry) records.push_back({entry});
    lesson->SetModeRecords(Direction::Reverse, records);
  }
};

TEST(ProgressDirections, OnlyEntriesTheReversedModesAskAreNewThereAndTodayCountsTheirRecords) {
  HalfReversedLesson h;
  const progress::EntryCounts reverse = h.lesson->Counts(Direction::Reverse);
  EXPECT_EQ(reverse.fresh, 20);
  EXPECT_EQ(reverse.todayDue, 0);
  EXPECT_EQ(reverse.todayNew, 20) << "twenty records hold the twenty new entries";
  const std::vector<int> today = h.lesson->DueEntries(Direction::Reverse);
  ASSERT_EQ(today.size(), 20u);
  EXPECT_EQ(today.front(), 10) << "the first entry asked, not the first row";
  EXPECT_EQ(today.back(), 29);
  const progress::EntryCounts forward = h.lesson->Counts(Direction::Forward);
  EXPECT_EQ(forward.fresh, 30) << "the French → Russian modes ask every entry";
  EXPECT_EQ(forward.todayNew, 20);
  EXPECT_EQ(h.lesson->DueEntries(Direction::Forward).front(), 0);

  // Entry 10 forgotten, 11 known: tomorrow both records of 10 are due, 11's own record is not
  // in the list, and the eighteen entries still new bring their records.
  h.lesson->RecordTyping(Direction::Reverse, std::vector{10}, Typed(4));
  h.lesson->RecordTyping(Direction::Reverse, std::vector{11}, Typed(0));
  h.f.NextDay();
  const progress::EntryCounts tomorrow = h.lesson->Counts(Direction::Reverse);
  EXPECT_EQ(tomorrow.due, 1);
  EXPECT_EQ(tomorrow.todayDue, 2);
  EXPECT_EQ(tomorrow.todayNew, 18);
  EXPECT_EQ(h.lesson->DueEntries(Direction::Reverse).size(), 19u);
  // The forecast counts the same records: both of entry 10 today; 11's own due day brings no
  // record of its own.
  const std::vector<int> forecast = h.lesson->DueForecast(Direction::Reverse, 14);
  EXPECT_EQ(forecast[0], 2);
  EXPECT_EQ(std::accumulate(forecast.begin(), forecast.end(), 0), 2);
  const std::vector<int> forwardForecast = h.lesson->DueForecast(Direction::Forward, 14);
  EXPECT_EQ(std::accumulate(forwardForecast.begin(), forwardForecast.end(), 0), 0);
}

TEST(ProgressDirections, StreaksCountTheDaysOfTheirOwnDirection) {
  ProgressFixture f;
  auto store = f.Open();
  auto lesson = store->OpenLesson(Words(4), "a.db");
  // French → Russian on four days in a row up to yesterday; Russian → French two days ago,
  // then today.
  for (int day = 0; day < 4; ++day) {
    lesson->RecordTyping(Direction::Forward, std::vector{day}, Typed(0));
    if (day == 2) lesson->RecordTyping(Direction::Reverse, std::vector{0}, Typed(0));
    f.NextDay();
  }
  lesson->RecordTyping(Direction::Reverse, std::vector{1}, Typed(0));
  const progress::StudyStreaks forward = lesson->Streaks(Direction::Forward);
  EXPECT_EQ(forward.current, 4) << "today is still open";
  EXPECT_EQ(forward.longest, 4);
  const progress::StudyStreaks reverse = lesson->Streaks(Direction::Reverse);
  EXPECT_EQ(reverse.current, 1) << "yesterday has no Russian → French answer";
  EXPECT_EQ(reverse.longest, 1);
  f.NextDay(2);
  EXPECT_EQ(lesson->Streaks(Direction::Forward).current, 0);
  EXPECT_EQ(lesson->Streaks(Direction::Forward).longest, 4);
}

}  // namespace
}  // namespace verbaro

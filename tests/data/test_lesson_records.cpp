// The records a mode shows against the entries the store keeps: which entries a record stands
// for in each kind of lesson, and the review lists ranked by the store's order of entries.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/FilterKinds.h"
#include "data/PlainLessonState.h"
#include "data/progress/LessonRecords.h"
#include "data/progress/ProgressStore.h"
#include "support/ProgressFixture.h"

namespace verbaro {
namespace {

using progress::Direction;

WordsData Row(std::u16string word, std::vector<std::u16string> answers) {
  WordsData row;
  row.wsKeyWord = std::move(word);
  row.wsFrGram = u"m";
  row.wsFrNumber = u"s";
  row.vwsAltWords = std::move(answers);
  return row;
}

// Rows: "chat" twice (two meanings), then "chien" and "maison".
std::vector<WordsData> Rows() {
  return {Row(u"chat", {u"кот"}), Row(u"chat", {u"кошка"}), Row(u"chien", {u"собака"}),
          Row(u"maison", {u"дом", u"кот"})};
}

TEST(LessonRecords, ARecordStandsForItsRowItsWordsRowsOrItsReversedEntries) {
  const std::vector<WordsData> rows = Rows();
  const progress::LessonEntries entries(rows);
  PlainLessonState lesson(u"Конспект-1");
  lesson.m_vWordsData = rows;
  EXPECT_EQ(progress::EntriesOfRecord(entries, lesson, 1), (std::vector{1}));
  EXPECT_TRUE(progress::EntriesOfRecord(entries, lesson, 4).empty());
  EXPECT_TRUE(progress::EntriesOfRecord(entries, lesson, -1).empty());

  lesson.m_bExamMode = 1;  // the exams merge the rows of one word
  EXPECT_EQ(progress::EntriesOfRecord(entries, lesson, 0), (std::vector{0, 1}));

  lesson.m_bExamMode = 0;
  // «кот» is asked for the words it translates: "maison" and "chat", whose two rows share their
  // word, grammar and number and so stand together.
  lesson.m_bContraVersa = 1;
  lesson.m_vWordsData = {Row(u"кот", {u"chat", u"maison"})};
  EXPECT_EQ(progress::EntriesOfRecord(entries, lesson, 0), (std::vector{0, 1, 3}));
}

TEST(LessonRecords, RecordsTakeThePlaceOfTheirBestPlacedEntryAndOthersAreLeftOut) {
  const std::vector<WordsData> rows = Rows();
  const progress::LessonEntries entries(rows);
  PlainLessonState lesson(u"Экзамен-1");
  lesson.m_vWordsData = rows;
  lesson.m_bExamMode = 1;
  // The store ranks entry 1 (the second "chat") after "maison": the merged "chat" record still
  // comes first by entry 0; "chien", not in the list, is left out.
  EXPECT_EQ(progress::RankRecords(entries, lesson, {0, 2, 3}, {3, 0, 1}),
            (std::vector<int32_t>{3, 0}));
  EXPECT_EQ(progress::RankRecords(entries, lesson, {0, 2, 3}, {1, 3}),
            (std::vector<int32_t>{0, 3}));
  EXPECT_TRUE(progress::RankRecords(entries, lesson, {0, 2, 3}, {}).empty());
}

TEST(LessonRecords, OnlyALessonWithHistoryHasReviewListsInTheDirectionItsModeGrades) {
  test::ProgressFixture f;
  auto store = f.Open();
  const std::vector<WordsData> rows = Rows();
  const progress::LessonEntries entries(rows);
  auto progress = store->OpenLesson(entries.Keys(), "a.db");
  PlainLessonState lesson(u"Экзамен-1");
  lesson.m_vWordsData = rows;
  lesson.m_mapUserFilters[std::u16string(kFilterAll)] = {0, 1, 2, 3};
  EXPECT_TRUE(progress::ReviewOf(entries, *progress, lesson, StudyMode::Exam1).due.empty());

  progress->RecordExamAnswer(Direction::Forward, std::vector{2}, progress::ExamAnswer::Wrong);
  const progress::ReviewRecords exam =
      progress::ReviewOf(entries, *progress, lesson, StudyMode::Exam1);
  EXPECT_EQ(exam.missed, (std::vector<int32_t>{2}));
  EXPECT_EQ(exam.hard, (std::vector<int32_t>{2}));
  EXPECT_FALSE(exam.due.empty());
  // Конспект-1 grades the other direction, where nothing was missed.
  EXPECT_TRUE(progress::ReviewOf(entries, *progress, lesson, StudyMode::Conspect1).missed.empty());
  // Without the filter «Все» there is nothing to rank.
  lesson.m_mapUserFilters.clear();
  EXPECT_TRUE(progress::ReviewOf(entries, *progress, lesson, StudyMode::Exam1).missed.empty());
}

}  // namespace
}  // namespace verbaro

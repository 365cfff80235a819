// The statistics of a lesson gathered from a real store after scripted study, the translations
// named for each entry from any mode's records, and the keyboard rows drawn for the misses.
#include <gtest/gtest.h>

#include <algorithm>

#include "data/FilterKinds.h"
#include "data/KeyboardRows.h"
#include "data/StudyStatistics.h"
#include "support/ProgressFixture.h"

namespace verbaro {
namespace {

using progress::Direction;
using progress::ExamAnswer;
using test::ProgressFixture;
using test::Typed;
using test::Words;

WordsData Record(std::u16string word, std::u16string gram, std::u16string number,
                 std::vector<std::u16string> answers) {
  WordsData record;
  record.wsKeyWord = std::move(word);
  record.wsFrGram = std::move(gram);
  record.wsFrNumber = std::move(number);
  record.vwsAltWords = std::move(answers);
  return record;
}

TEST(StudyStatistics, BothDirectionsAreGatheredApartAndTheExamsGoToTheirDirection) {
  ProgressFixture f;
  auto store = f.Open();
  auto lesson = store->OpenLesson(Words(4), "/lessons/a.db");
  progress::TypingResult missed = Typed(2);
  missed.misses = {{u"é", u"e"}, {u"é", u"e"}};
  lesson->RecordTyping(Direction::Forward, std::vector{0}, missed);
  lesson->RecordTyping(Direction::Forward, std::vector{1}, Typed(0));
  f.NextDay();
  lesson->RecordExamAnswer(Direction::Reverse, std::vector{2}, ExamAnswer::Wrong);
  lesson->RecordExamResult({StudyMode::Exam2, {}, u"Все слова и фразы", 1, 1, 0});
  lesson->RecordExamResult(
      {StudyMode::Exam1, {progress::ExamFilter::Kind::Lesson, 1}, u"Существительные", 3, 0, 1});

  const TranslationsByEntry translations = TranslationsOf(
      {Record(u"mot0", u"m", u"s", {u"слово", u"речь"}), Record(u"mot2", u"m", u"s", {u"ноль"})},
      false);
  const LessonStatistics statistics = GatherStatistics(*lesson, translations, u"a.db");

  EXPECT_EQ(statistics.lessonName, u"a.db");
  EXPECT_EQ(statistics.forward.counts.fresh, 2);
  EXPECT_EQ(statistics.forward.counts.learning, 2);
  EXPECT_EQ(statistics.forward.counts.answers, 2);
  EXPECT_EQ(statistics.forward.counts.firstTryRight, 1);
  EXPECT_EQ(statistics.reverse.counts.fresh, 3);
  EXPECT_EQ(statistics.reverse.counts.answers, 1);
  EXPECT_EQ(statistics.forward.streaks.current, 1) << "yesterday, and today is still open";
  EXPECT_EQ(statistics.reverse.streaks.current, 1) << "today";

  ASSERT_EQ(statistics.forward.days.size(), static_cast<size_t>(kCalendarDays));
  EXPECT_EQ(statistics.forward.days.back().day, statistics.today);
  EXPECT_EQ(statistics.forward.days[kCalendarDays - 2].answers, 2);
  EXPECT_EQ(statistics.reverse.days.back().answers, 1);
  EXPECT_EQ(statistics.forward.dueForecast.size(), static_cast<size_t>(kForecastDays));

  ASSERT_EQ(statistics.forward.hardest.size(), 1u);
  EXPECT_EQ(statistics.forward.hardest[0].word, u"mot0");
  EXPECT_EQ(statistics.forward.hardest[0].translation, u"слово, речь");
  ASSERT_EQ(statistics.reverse.hardest.size(), 1u);
  EXPECT_EQ(statistics.reverse.hardest[0].translation, u"ноль");

  ASSERT_EQ(statistics.forward.missed.size(), 1u);
  EXPECT_EQ(statistics.forward.missed[0].count, 2);
  EXPECT_TRUE(statistics.reverse.missed.empty());

  ASSERT_EQ(statistics.forward.exams.size(), 1u);
  EXPECT_EQ(statistics.forward.exams[0].result.filterName, u"Существительные");
  ASSERT_EQ(statistics.reverse.exams.size(), 1u);
  EXPECT_EQ(ExamModeName(statistics.reverse.exams[0].result.mode), u"Экзамен-2");
  EXPECT_EQ(StatisticsLogLine(statistics.forward.counts),
            u"Статистика: новых 2, изучается 2, выучено 0, на сегодня 1")
      << "the word typed with two errors yesterday (Hard) is due again today";
}

TEST(StudyStatistics, ReversedRecordsNameEachFrenchEntrysTranslationsOnce) {
  // Two translations shared by two words; one word also in a second record of «дом».
  const TranslationsByEntry translations = TranslationsOf(
      {Record(u"дом", u"f", u"s", {u"maison", u"demeure"}),
       Record(u"жилище", u"f", u"s", {u"demeure"}), Record(u"дом", u"f", u"s", {u"maison"}),
       Record(u"дом", u"m", u"s", {u"foyer"})},
      true);
  EXPECT_EQ(translations.at({u"maison", u"f", u"s"}), u"дом");
  EXPECT_EQ(translations.at({u"demeure", u"f", u"s"}), u"дом, жилище");
  EXPECT_EQ(translations.at({u"foyer", u"m", u"s"}), u"дом");
  EXPECT_FALSE(translations.contains({u"maison", u"m", u"s"})) << "grammar tells entries apart";
}

TEST(StudyStatistics, MissesGoToTheKeyOfTheExpectedLetterWhateverItsCase) {
  const std::map<char16_t, int> heat = MissesByKey(
      {{u"É", u"E", 3}, {u"é", u"è", 2}, {u"Щ", u"ш", 1}, {u"œ", u"oe", 4}, {u"ab", u"a", 5}});
  EXPECT_EQ(heat.at(u'é'), 5);
  EXPECT_EQ(heat.at(u'щ'), 1);
  EXPECT_EQ(heat.at(u'œ'), 4);
  EXPECT_EQ(heat.size(), 3u) << "a miss of two characters has no key";
  EXPECT_EQ(LowerLetter(u'Ё'), u'ё');
  EXPECT_EQ(LowerLetter(u'Œ'), u'œ');
  EXPECT_EQ(LowerLetter(u'×'), u'×');
}

TEST(StudyStatistics, TextsAsTheLearnerReadsThem) {
  // Filter names without the menu's mnemonic marker; "&&" is the menu's own "&".
  EXPECT_EQ(WithoutMnemonic(u"&3 - Мужские существительные, ед.ч."),
            u"3 - Мужские существительные, ед.ч.");
  EXPECT_EQ(WithoutMnemonic(u"c - Женские прилагательные"), u"c - Женские прилагательные");
  EXPECT_EQ(WithoutMnemonic(u"Слова && фразы &x"), u"Слова & фразы x");
  EXPECT_EQ(WithoutMnemonic(u"конец &"), u"конец ");
  EXPECT_EQ(WithoutMnemonic(u"&&&a"), u"&a");
  // «На сегодня» in its two parts, the new ones agreeing with their number.
  const auto today = [](int due, int fresh) {
    progress::EntryCounts counts;
    counts.todayDue = due;
    counts.todayNew = fresh;
    return DueTodayText(counts);
  };
  EXPECT_EQ(today(2, 2), u"2 + 2 новых");
  EXPECT_EQ(today(0, 1), u"0 + 1 новая");
  EXPECT_EQ(today(7, 11), u"7 + 11 новых");
  EXPECT_EQ(today(0, 21), u"0 + 21 новая");
  EXPECT_EQ(today(3, 0), u"3 + 0 новых");

  const std::vector<progress::DayActivity> days = {{10, 2, 1}, {11, 0, 0}};
  EXPECT_EQ(LastDays(days, 1).front().day, 11);
  EXPECT_EQ(LastDays(days, 90).size(), 2u);
}

TEST(KeyboardRows, TheRowsAreThoseOfTheTrainersKeysAndFrenchAddsTheComposedLetters) {
  const std::vector<std::u16string> french = KeyboardRows(Alphabet::French);
  ASSERT_GE(french.size(), 5u);
  EXPECT_EQ(french[1], u"qwertyuiop[]");
  EXPECT_EQ(french[2], u"asdfghjkl;'");
  std::u16string composed;
  for (size_t row = 4; row < french.size(); ++row) {
    EXPECT_LE(french[row].size(), french[0].size()) << "no wider than the digit row";
    composed += french[row];
  }
  // The accented letters the Help's accent table composes, small letters only.
  for (const char16_t letter : std::u16string(u"èéçôïœàùêâëîû"))
    EXPECT_NE(composed.find(letter), std::u16string::npos) << static_cast<int>(letter);
  EXPECT_EQ(composed.find(u'É'), std::u16string::npos);
  EXPECT_EQ(composed.find(u'e'), std::u16string::npos);

  const std::vector<std::u16string> russian = KeyboardRows(Alphabet::Russian);
  ASSERT_EQ(russian.size(), 4u);
  EXPECT_EQ(russian[0].front(), u'ё');
  EXPECT_EQ(russian[1], u"йцукенгшщзхъ");
  EXPECT_EQ(russian[2], u"фывапролджэ");
  EXPECT_EQ(russian[3].substr(0, 9), u"ячсмитьбю");
}

}  // namespace
}  // namespace verbaro

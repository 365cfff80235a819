// `verbaro-lesson progress`: the counts and the hardest entries of a lesson from a real store
// after scripted study, the answer log as CSV, and that neither the lesson nor the store is
// written.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "LessonTestFiles.h"
#include "data/progress/ProgressStore.h"
#include "tests/fakes/core/FakeClock.h"
#include "tests/support/LessonWriter.h"
#include "tests/support/TempFolder.h"
#include "tools/LessonProgressReport.h"

namespace verbaro::lesson {
namespace {

using progress::Direction;
using progress::EntryKey;
using testing::ReadBytes;
using testing::ToneMp3;
using verbaro::test::TempFolder;
using verbaro::test::WriteLesson;

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

class LessonProgress : public ::testing::Test {
 protected:
  LessonProgress() {
    clock.seconds = 1'764'590'400;  // a Monday, noon UTC
    WriteLesson(lesson, {{u"f", u"s", u"été", {u"лето"}, tone},
                         {u"~", u"", u"Merci, \"Paul\"", {u"Спасибо, Поль"}, tone},
                         {u"m", u"s", u"chat", {u"кот", u"кошка"}, tone},
                         {u"~~", u"", u"à bientôt", {u"до скорого"}, tone}});
  }
  // What the trainer records for this lesson (the keys of its four rows).
  std::unique_ptr<progress::LessonProgress> Study(progress::ProgressStore& store) const {
    return store.OpenLesson({{u"été", u"f", u"s", 0},
                             {u"Merci, \"Paul\"", u"~", u"", 0},
                             {u"chat", u"m", u"s", 0},
                             {u"à bientôt", u"~~", u"", 0}},
                            lesson.string());
  }
  ToolRun Print(bool csv) const {
    std::ostringstream out, err;
    const int status = PrintProgress({lesson, storePath, csv}, clock, out, err);
    return {status, out.str(), err.str()};
  }

  TempFolder folder;
  FakeClock clock;
  const std::vector<uint8_t> tone = ToneMp3(200, 44100, 2);
  std::filesystem::path lesson = folder.Path() / "урок.db";
  std::string storePath = (folder.Path() / "data" / "progress.sqlite").string();
};

TEST_F(LessonProgress, CountsAndTheHardestEntriesOfBothDirections) {
  {
    auto store = progress::ProgressStore::Open(storePath, clock);
    auto progress = Study(*store);
    progress::TypingResult typed{3, 2, {{u"é", u"e"}, {u"é", u"e"}}, 9000};
    progress->RecordTyping(Direction::Forward, std::vector{0}, typed);
    progress->RecordTyping(Direction::Forward, std::vector{2}, {4, 0, {}, 2000});
    progress->RecordExamAnswer(Direction::Reverse, std::vector{1}, progress::ExamAnswer::Wrong);
  }
  const auto storeBefore = ReadBytes(storePath);
  const auto lessonBefore = ReadBytes(lesson);
  const ToolRun run = Print(false);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Записей: 4"), std::string::npos) << run.out;
  // Forward: two typed, one of them with errors; Reverse: one missed in the exam.
  const size_t forward = run.out.find("Французский → русский");
  const size_t reverse = run.out.find("Русский → французский");
  ASSERT_NE(forward, std::string::npos);
  ASSERT_NE(reverse, std::string::npos);
  const std::string forwardPart = run.out.substr(forward, reverse - forward);
  const std::string reversePart = run.out.substr(reverse);
  // Each direction with its own streak and «На сегодня» in its two parts; the phrase "~~" is
  // asked only from French to Russian.
  EXPECT_NE(forwardPart.find("Записей: новых 2, изучается 2, выучено 0; на сегодня 0 + 2 новых\n"
                             "  Серия: 1 день подряд; самая длинная: 1 день\n"),
            std::string::npos)
      << forwardPart;
  EXPECT_NE(forwardPart.find("1. été — лето"), std::string::npos) << forwardPart;
  EXPECT_EQ(forwardPart.find("chat"), std::string::npos) << "typed without error: not hard";
  // «На сегодня» counts the reversed records: chat's two translations are two of them.
  EXPECT_NE(reversePart.find("Записей: новых 2, изучается 1, выучено 0; на сегодня 0 + 3 новых\n"
                             "  Серия: 1 день подряд"),
            std::string::npos)
      << reversePart;
  EXPECT_NE(reversePart.find("1. Merci, \"Paul\" — Спасибо, Поль"), std::string::npos);
  EXPECT_EQ(ReadBytes(storePath), storeBefore) << "the store is only read";
  EXPECT_EQ(ReadBytes(lesson), lessonBefore);
}

TEST_F(LessonProgress, TheAnswerLogAsCsvQuotesWhatNeedsIt) {
  {
    auto store = progress::ProgressStore::Open(storePath, clock);
    auto progress = Study(*store);
    progress->RecordExamAnswer(Direction::Forward, std::vector{1},
                               progress::ExamAnswer::RightFirstTry);
    clock.seconds += 61;
    progress->RecordTyping(Direction::Reverse, std::vector{2}, {4, 1, {{u"a", u"o"}}, 1500});
  }
  const ToolRun run = Print(true);
  ASSERT_EQ(run.status, 0) << run.err;
  std::istringstream lines(run.out);
  std::string header, first, second, extra;
  std::getline(lines, header);
  std::getline(lines, first);
  std::getline(lines, second);
  EXPECT_FALSE(std::getline(lines, extra)) << run.out;
  EXPECT_EQ(header, "time,direction,kind,grade,wrong_keystrokes,milliseconds,word,grammar,number");
  EXPECT_EQ(first, "2025-12-01T12:00:00Z,fr-ru,exam,3,0,0,\"Merci, \"\"Paul\"\"\",~,");
  EXPECT_EQ(second.substr(0, 38), "2025-12-01T12:01:01Z,ru-fr,typing,2,1,");
  EXPECT_NE(second.find(",chat,m,s"), std::string::npos) << second;
}

TEST_F(LessonProgress, WithoutAStoreEverythingIsNewAndNothingIsCreated) {
  const ToolRun run = Print(false);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("По этому уроку занятий ещё не было."), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Записей: новых 4, изучается 0, выучено 0; на сегодня 0 + 4 новых"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("Записей: новых 3, изучается 0, выучено 0; на сегодня 0 + 4 новых"),
            std::string::npos)
      << "the phrase \"~~\" is not asked from Russian to French";
  EXPECT_NE(run.out.find("Серия: 0 дней подряд; самая длинная: 0 дней"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(storePath));
}

TEST_F(LessonProgress, ALessonThatCannotBeReadIsAnErrorInTheProgramsWords) {
  std::ofstream(folder.Path() / "не урок.db") << "просто текст";
  std::ostringstream out, err;
  EXPECT_EQ(PrintProgress({folder.Path() / "не урок.db", storePath, false}, clock, out, err), 1);
  EXPECT_NE(err.str().find("Урок не прочитан"), std::string::npos) << err.str();
  EXPECT_EQ(CsvField("plain"), "plain");
  EXPECT_EQ(CsvField("a\nb"), "\"a\nb\"");
}

}  // namespace
}  // namespace verbaro::lesson

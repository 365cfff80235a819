// Each mode resumes where the learner left it, across starts of the program, with the settings,
// the progress store and the lessons in a temporary folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QStatusBar>
#include <map>
#include <memory>

#include "app/Commands.h"
#include "app/MainFrame.h"
#include "app/ModeTable.h"
#include "app/UserSettings.h"
#include "data/ResumePosition.h"
#include "data/progress/ProgressStore.h"
#include "data/progress/TypingGrade.h"
#include "platform/QtText.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/Application.h"
#include "tests/support/Files.h"
#include "tests/support/LessonWriter.h"
#include "tests/support/TempFolder.h"
#include "views/FilterMenu.h"
#include "views/VirtualKeys.h"
#include "views/WordsView.h"

namespace verbaro {
namespace {

constexpr int kConspect1 = 0;
constexpr int kConspect2 = 1;
constexpr int kVideo1 = 2;
constexpr int kVideo2 = 3;
constexpr int kExam1 = 4;

// Nouns "motN" of both genders, so that the lesson has grammatical filters to resume in.
std::vector<test::LessonRow> Words(int count, int first = 0) {
  std::vector<test::LessonRow> rows;
  for (int i = first; i < first + count; ++i) {
    rows.push_back(
        {i % 2 ? u"f" : u"m", u"s", u"mot" + ToU16(i), {u"слово" + ToU16(i)}, test::ShortMp3()});
  }
  return rows;
}

class Resume : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    lesson = Path("lesson.db");
    test::WriteLesson(folder.Path() / "lesson.db", Words(12));
    store =
        progress::ProgressStore::Open((folder.Path() / "data" / "progress.sqlite").string(), clock);
  }
  QString Path(const char* name) const {
    return QString::fromStdString((folder.Path() / name).string());
  }
  // One start of the program on the settings and the store kept so far, shown and settled.
  std::unique_ptr<CMainFrame> Start(const QString& commandLine = QString()) {
    fake = std::make_unique<FakePlatform>();
    settings = std::make_unique<UserSettings>(Path("verbaro.conf"));
    auto frame = std::make_unique<CMainFrame>(fake->Get());
    frame->UseSettings(settings.get());
    frame->UseProgressStore(store.get());
    frame->SetStartLesson(commandLine);
    EXPECT_TRUE(frame->CreateFrame(QRect(0, 0, 900, 650)));
    frame->show();
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 150) QApplication::processEvents();
    return frame;
  }
  void OpenByHand(CMainFrame& frame, const QString& path) {
    fake->files.answers.push_back(path);
    frame.OnCommand(cmd::kOpen);
  }
  // Answers for the entries (rows) of the lesson in the French -> Russian direction, as an exam
  // would give them: a wrong one puts the entry among the missed words, a right one takes it out.
  static void Answer(CMainFrame& frame, std::vector<int> entries, progress::ExamAnswer answer) {
    QApplication::processEvents();
    // In the direction whose review lists the current mode shows (Конспект-1: Russian → French).
    const int mode = frame.CurrentModeIndex();
    frame.LessonProgressOf(mode)->RecordExamAnswer(
        progress::GradedDirectionOfMode(static_cast<StudyMode>(mode)), entries, answer);
  }
  // The review filter chosen as from the Filters menu, its lists counted afresh as it opens.
  static void ChooseReview(CMainFrame& frame, int id) {
    emit frame.FiltersMenu()->aboutToShow();
    frame.OnCommand(id);
  }
  static std::u16string ShownWord(const CWordsView& view) {
    const std::optional<ResumePoint> place = view.ShownPlace();
    return place ? place->keyWord : u"";
  }

  test::TempFolder folder;
  QString lesson;
  FakeClock clock;
  std::unique_ptr<progress::ProgressStore> store;
  std::unique_ptr<FakePlatform> fake;
  std::unique_ptr<UserSettings> settings;
};

TEST_F(Resume, EachModeReopensItsLessonWhereItWasLeftAndTheStartIsInTheModeUsedLast) {
  // Where each mode was left: the position shown and its head word.
  std::map<int, std::pair<int32_t, std::u16string>> left;
  {
    auto frame = Start();
    // A first start: Конспект-1, and nothing opens by itself.
    EXPECT_EQ(frame->CurrentModeIndex(), kConspect1);
    EXPECT_TRUE(frame->View(kConspect1)->m_vWordsData.empty());
    OpenByHand(*frame, lesson);
    // A mode shown for the first time opens the lesson opened last, as from the command line.
    const std::vector<std::pair<int, int>> moves = {
        {kConspect1, 4}, {kConspect2, 2}, {kVideo1, 11}, {kVideo2, 3}};
    for (const auto& [mode, downs] : moves) {
      frame->OnCommand(cmd::kFirstMode + mode);
      EXPECT_EQ(frame->View(mode)->m_szDataFile, FromQ(lesson)) << mode;
      for (int i = 0; i < downs; ++i) frame->View(mode)->OnKeyDown(vk::kDown);
      left[mode] = {frame->View(mode)->m_nUserFilterIndex, ShownWord(*frame->View(mode))};
      EXPECT_EQ(left[mode].first, downs) << mode;
    }
    frame->OnCommand(cmd::kFirstMode + kExam1);
    EXPECT_FALSE(frame->View(kExam1)->m_vWordsData.empty());
    EXPECT_EQ(fake->files.requests, 1);
  }
  auto frame = Start();
  EXPECT_EQ(frame->CurrentModeIndex(), kExam1);
  EXPECT_EQ(frame->StatusText(), ModeTable()[kExam1].statusText);
  EXPECT_FALSE(frame->View(kExam1)->m_vWordsData.empty()) << "an exam ready to start";
  for (const auto& [mode, place] : left) {
    frame->OnCommand(cmd::kFirstMode + mode);
    CWordsView& view = *frame->View(mode);
    EXPECT_EQ(view.m_szDataFile, FromQ(lesson)) << mode;
    EXPECT_EQ(view.m_nUserFilterIndex, place.first) << mode;
    EXPECT_EQ(ShownWord(view), place.second) << mode;
  }
  EXPECT_EQ(fake->files.requests, 0);
  EXPECT_TRUE(fake->messages.shown.empty());
}

TEST_F(Resume, TheFilterIsResumedAndARebuiltLessonFindsTheEntryByItsWord) {
  {
    auto frame = Start();
    OpenByHand(*frame, lesson);
    // The feminine nouns: mot1, mot3, ... ; the third of them is mot5.
    const std::vector<std::pair<int, std::u16string>> items =
        frame->View(kConspect1)->FilterMenuItems();
    int feminine = 0;
    for (const auto& [id, text] : items) {
      if (text.find(u"Женские существительные, ед.ч.") != std::u16string::npos) feminine = id;
    }
    ASSERT_NE(feminine, 0);
    frame->OnCommand(feminine);
    frame->View(kConspect1)->OnKeyDown(vk::kDown);
    frame->View(kConspect1)->OnKeyDown(vk::kDown);
    ASSERT_EQ(frame->View(kConspect1)->m_wsKeyWord, u"mot5");
  }
  // Rebuilt with two words more in front: mot5 is now further on in the filter.
  test::WriteLesson(folder.Path() / "lesson.db", [] {
    std::vector<test::LessonRow> rows = Words(2, 100);
    for (const test::LessonRow& row : Words(12)) rows.push_back(row);
    return rows;
  }());
  auto frame = Start();
  CWordsView& conspect = *frame->View(kConspect1);
  EXPECT_EQ(conspect.m_wsKeyWord, u"mot5");
  EXPECT_EQ(conspect.m_nUserFilterIndex, 3);
  EXPECT_EQ(conspect.m_vUserIndexes.size(), 7u);
}

TEST_F(Resume, ALessonOnTheCommandLineWins) {
  {
    auto frame = Start();
    OpenByHand(*frame, lesson);
    frame->View(kConspect1)->OnKeyDown(vk::kEnd);
  }
  test::WriteLesson(folder.Path() / "other.db", Words(3, 50));
  auto frame = Start(Path("other.db"));
  EXPECT_EQ(frame->View(kConspect1)->m_szDataFile, FromQ(Path("other.db")));
  EXPECT_EQ(frame->View(kConspect1)->m_nUserFilterIndex, 0);
  frame->OnCommand(cmd::kFirstMode + kVideo1);
  EXPECT_EQ(frame->View(kVideo1)->m_szDataFile, FromQ(Path("other.db")));
}

TEST_F(Resume, ALessonGoneOrNoLongerALessonLeavesTheModeFreshWithoutABox) {
  for (const bool replaceWithText : {false, true}) {
    SCOPED_TRACE(replaceWithText ? "no longer a lesson" : "gone");
    test::WriteLesson(folder.Path() / "lesson.db", Words(12));
    {
      auto frame = Start();
      OpenByHand(*frame, lesson);
      frame->View(kConspect1)->OnKeyDown(vk::kDown);
      frame->OnCommand(cmd::kFirstMode + kVideo1);
    }
    std::filesystem::remove(folder.Path() / "lesson.db");
    if (replaceWithText) folder.Write("lesson.db", "plain words, no database\n");
    auto frame = Start();
    for (const int mode : {kConspect1, kVideo1}) {
      frame->OnCommand(cmd::kFirstMode + mode);
      EXPECT_TRUE(frame->View(mode)->m_vWordsData.empty()) << mode;
      EXPECT_TRUE(frame->View(mode)->m_szDataFile.empty()) << mode;
    }
    EXPECT_TRUE(fake->messages.shown.empty());
    EXPECT_EQ(frame->FiltersMenu()->actions().size(), 1);
    // Opened by hand, the same file gets the usual boxes.
    OpenByHand(*frame, lesson);
    EXPECT_FALSE(fake->messages.shown.empty());
  }
}

TEST_F(Resume, ARepeatedHeadWordResumesOnTheRowLeft) {
  // "être" three times (a verb, a noun, an adverb): the learner leaves Конспект-1 on the second.
  const auto rows = [](bool withNewFirstRow) {
    std::vector<test::LessonRow> list;
    if (withNewFirstRow) list.push_back({u"m", u"s", u"avant", {u"перед"}, test::ShortMp3()});
    list.push_back({u"m", u"s", u"mot", {u"слово"}, test::ShortMp3()});
    list.push_back({u"v", u"", u"être", {u"быть"}, test::ShortMp3()});
    list.push_back({u"f", u"s", u"porte", {u"дверь"}, test::ShortMp3()});
    list.push_back({u"m", u"s", u"être", {u"существо"}, test::ShortMp3()});
    list.push_back({u"adv", u"", u"être", {u"бытьё"}, test::ShortMp3()});
    return list;
  };
  test::WriteLesson(folder.Path() / "lesson.db", rows(false));
  {
    auto frame = Start();
    OpenByHand(*frame, lesson);
    for (int i = 0; i < 3; ++i) frame->View(kConspect1)->OnKeyDown(vk::kDown);
    ASSERT_EQ(frame->View(kConspect1)->m_vwsAltWords, std::vector<std::u16string>{u"существо"});
  }
  // Rebuilt with a row in front: the same row is one further on, after another "être".
  test::RebuildLesson(folder.Path() / "lesson.db", rows(true));
  auto frame = Start();
  CWordsView& conspect = *frame->View(kConspect1);
  EXPECT_EQ(conspect.m_nUserFilterIndex, 4);
  EXPECT_EQ(conspect.m_vwsAltWords, std::vector<std::u16string>{u"существо"});
}

TEST_F(Resume, TheReversedModesResumeOnTheEntryLeftAmongEntriesOfTheSameWord) {
  // The "-2" modes show translations; "дом" heads two of their entries (a feminine and a
  // masculine noun), and the learner leaves each mode on the second.
  test::WriteLesson(folder.Path() / "lesson.db",
                    {{u"f", u"s", u"maison", {u"дом"}, test::ShortMp3()},
                     {u"m", u"s", u"logis", {u"дом"}, test::ShortMp3()},
                     {u"m", u"s", u"toit", {u"крыша"}, test::ShortMp3()}});
  {
    auto frame = Start();
    OpenByHand(*frame, lesson);
    for (const int mode : {kVideo2, kConspect2}) {
      frame->OnCommand(cmd::kFirstMode + mode);
      CWordsView& view = *frame->View(mode);
      ASSERT_EQ(view.m_vwsAltWords, std::vector<std::u16string>{u"maison"}) << mode;
      view.OnKeyDown(vk::kDown);
      ASSERT_EQ(view.m_vwsAltWords, std::vector<std::u16string>{u"logis"}) << mode;
    }
  }
  auto frame = Start();
  ASSERT_EQ(frame->CurrentModeIndex(), kConspect2);
  frame->OnCommand(cmd::kFirstMode + kVideo2);
  for (const int mode : {kConspect2, kVideo2}) {
    EXPECT_EQ(frame->View(mode)->m_nUserFilterIndex, 1) << mode;
    EXPECT_EQ(frame->View(mode)->m_vwsAltWords, std::vector<std::u16string>{u"logis"}) << mode;
  }
}

TEST_F(Resume, AReviewFilterStartsAgainComputedAfreshAtTheSameEntry) {
  {
    auto frame = Start();
    OpenByHand(*frame, lesson);
    Answer(*frame, {2, 5, 7}, progress::ExamAnswer::Wrong);
    Answer(*frame, {5}, progress::ExamAnswer::Wrong);  // mot5 most missed: first in the list
    ChooseReview(*frame, kMissedFilterCommand);
    CWordsView& conspect = *frame->View(kConspect1);
    ASSERT_EQ(conspect.m_vUserIndexes.size(), 3u);
    ASSERT_EQ(ShownWord(conspect), u"mot5");
    conspect.OnKeyDown(vk::kDown);
    conspect.OnKeyDown(vk::kDown);
    ASSERT_EQ(conspect.m_nUserFilterIndex, 2);
    // mot5 answered right since: the list is shorter, and the entry left is one place higher.
    Answer(*frame, {5}, progress::ExamAnswer::RightFirstTry);
  }
  {
    auto frame = Start();
    CWordsView& conspect = *frame->View(kConspect1);
    EXPECT_EQ(conspect.m_nSelectedFilter + kFirstFilterCommand, kMissedFilterCommand);
    EXPECT_EQ(conspect.m_vUserIndexes.size(), 2u);
    EXPECT_EQ(ShownWord(conspect), u"mot7");
    EXPECT_EQ(conspect.m_nUserFilterIndex, 1);
    EXPECT_TRUE(fake->messages.shown.empty()) << "resumed silently";
    // «На сегодня»: the entries never answered, in lesson order; the learner leaves it on the
    // third, and answers the first before the next start.
    ChooseReview(*frame, kDueFilterCommand);
    EXPECT_EQ(ShownWord(conspect), u"mot0");
    conspect.OnKeyDown(vk::kDown);
    conspect.OnKeyDown(vk::kDown);
    ASSERT_EQ(ShownWord(conspect), u"mot3");
    Answer(*frame, {0}, progress::ExamAnswer::RightFirstTry);
  }
  {
    auto frame = Start();
    CWordsView& conspect = *frame->View(kConspect1);
    EXPECT_EQ(conspect.m_nSelectedFilter + kFirstFilterCommand, kDueFilterCommand);
    EXPECT_EQ(ShownWord(conspect), u"mot3");
    EXPECT_EQ(conspect.m_nUserFilterIndex, 1);
    // The learner leaves «Слова с ошибками» on its last entry, and nothing is missed after that.
    ChooseReview(*frame, kMissedFilterCommand);
    conspect.OnKeyDown(vk::kEnd);
    ASSERT_EQ(ShownWord(conspect), u"mot7");
    Answer(*frame, {2, 7}, progress::ExamAnswer::RightFirstTry);
  }
  // The empty review filter gives way to all words, at the same entry.
  auto frame = Start();
  CWordsView& conspect = *frame->View(kConspect1);
  EXPECT_EQ(conspect.m_nSelectedFilter, 0);
  EXPECT_EQ(conspect.m_vUserIndexes.size(), 12u);
  EXPECT_EQ(ShownWord(conspect), u"mot7");
  EXPECT_EQ(conspect.m_nUserFilterIndex, 7);
}

// Records are known by head word and occurrence; positions are in a filter of them.
TEST(ResumePosition, TheSameRecordFirstThenTheHeadWordThenTheStart) {
  std::vector<WordsData> records(6);
  const std::u16string heads[] = {u"a", u"être", u"b", u"être", u"c", u"être"};
  for (size_t i = 0; i < 6; ++i) records[i].wsKeyWord = heads[i];
  EXPECT_EQ(HeadWordOccurrence(records, 0), 0);
  EXPECT_EQ(HeadWordOccurrence(records, 3), 1);
  EXPECT_EQ(HeadWordOccurrence(records, 5), 2);
  EXPECT_EQ(HeadWordOccurrence(records, 6), -1);
  const std::vector<int32_t> all = {0, 1, 2, 3, 4, 5};
  const std::vector<int32_t> reordered = {5, 3, 1, 4};
  const std::vector<int32_t> none;
  struct Case {
    const char* what;
    const std::vector<int32_t>& filter;
    int32_t position;
    std::u16string_view word;
    int32_t occurrence;
    int32_t expected;
  };
  const Case cases[] = {
      {"same place", all, 3, u"être", 1, 3},
      {"the record moved", reordered, 3, u"être", 1, 1},
      {"the record gone: the word at the place", reordered, 2, u"être", 3, 2},
      {"the record gone: the word's first row", reordered, 3, u"être", 3, 0},
      {"occurrence not known: the word at the place", all, 5, u"être", -1, 5},
      {"occurrence not known, place moved", all, 4, u"être", -1, 1},
      {"the word gone", all, 2, u"zzz", 0, 0},
      {"a place beyond the filter", reordered, 40, u"c", -1, 3},
      {"an empty filter", none, 2, u"a", 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ResumePosition(records, c.filter, c.position, c.word, c.occurrence), c.expected)
        << c.what;
  }
}

}  // namespace
}  // namespace verbaro

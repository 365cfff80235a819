// Each mode resumes where the learner left it, across starts of the program, with the settings
// and lessons in a temporary folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <memory>

#include "app/Commands.h"
#include "app/MainFrame.h"
#include "app/UserSettings.h"
#include "platform/QtText.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/Application.h"
#include "tests/support/Files.h"
#include "tests/support/LessonWriter.h"
#include "tests/support/TempFolder.h"
#include "views/VirtualKeys.h"
#include "views/WordsView.h"

namespace verbaro {
namespace {

constexpr int kConspect1 = 0;
constexpr int kVideo1 = 2;
constexpr int kExam1 = 4;

// Nouns "motN" of both genders, so that the lesson has grammatical filters to resume in.
std::vector<test::LessonRow> Words(int count, int first = 0) {
  std::vector<test::LessonRow> rows;
  for (int i = first; i < first + count; ++i) {
    rows.push_back({i % 2 ? u"f" : u"m", u"s", u"mot" + ToU16(i), {u"слово" + ToU16(i)},
                    test::ShortMp3()});
  }
  return rows;
}

class Resume : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    lesson = Path("lesson.db");
    test::WriteLesson(folder.Path() / "lesson.db", Words(12));
  }
  QString Path(const char* name) const {
    return QString::fromStdString((folder.Path() / name).string());
  }
  // One start of the program on the settings kept so far, shown and settled.
  std::unique_ptr<CMainFrame> Start(const QString& commandLine = QString()) {
    fake = std::make_unique<FakePlatform>();
    settings = std::make_unique<UserSettings>(Path("verbaro.conf"));
    auto frame = std::make_unique<CMainFrame>(fake->Get());
    frame->UseSettings(settings.get());
    frame->SetStartLesson(commandLine);
    EXPECT_TRUE(frame->CreateFrame(QRect(0, 0, 900, 650)));
    frame->show();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 150) QApplication::processEvents();
    return frame;
  }
  void OpenByHand(CMainFrame& frame, const QString& path) {
    fake->files.answers.push_back(path);
    frame.OnCommand(cmd::kOpen);
  }

  test::TempFolder folder;
  QString lesson;
  std::unique_ptr<FakePlatform> fake;
  std::unique_ptr<UserSettings> settings;
};

TEST_F(Resume, EachModeReopensItsLessonWhereItWasLeftWithNoDialogAndNoBox) {
  {
    auto frame = Start();
    // A first start: nothing opens by itself.
    EXPECT_TRUE(frame->View(kConspect1)->m_vWordsData.empty());
    OpenByHand(*frame, lesson);
    for (int i = 0; i < 4; ++i) frame->View(kConspect1)->OnKeyDown(vk::kDown);
    // A mode shown for the first time opens the lesson opened last, as from the command line.
    frame->OnCommand(cmd::kFirstMode + kVideo1);
    EXPECT_EQ(frame->View(kVideo1)->m_szDataFile, FromQ(lesson));
    frame->View(kVideo1)->OnKeyDown(vk::kEnd);
    frame->OnCommand(cmd::kFirstMode + kExam1);
    EXPECT_FALSE(frame->View(kExam1)->m_vWordsData.empty());
    EXPECT_EQ(fake->files.requests, 1);
  }
  auto frame = Start();
  CWordsView& conspect = *frame->View(kConspect1);
  EXPECT_EQ(conspect.m_szDataFile, FromQ(lesson));
  EXPECT_EQ(conspect.m_nUserFilterIndex, 4);
  EXPECT_EQ(conspect.m_wsKeyWord, u"mot4");
  frame->OnCommand(cmd::kFirstMode + kVideo1);
  EXPECT_EQ(frame->View(kVideo1)->m_nUserFilterIndex, 11);
  frame->OnCommand(cmd::kFirstMode + kExam1);
  EXPECT_FALSE(frame->View(kExam1)->m_vWordsData.empty());
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

}  // namespace
}  // namespace verbaro

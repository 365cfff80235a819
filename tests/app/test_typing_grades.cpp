// Copying is not recall: through the frame and a real store, a Conspect entry typed with its word
// in sight is kept as practice, and typed with the word block hidden it is graded in the
// direction from what stayed on screen to what was typed; the review filters follow.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <algorithm>
#include <memory>

#include "app/Commands.h"
#include "app/MainFrame.h"
#include "data/progress/ProgressStore.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/Application.h"
#include "tests/support/Files.h"
#include "tests/support/KeysOfText.h"
#include "tests/support/LessonWriter.h"
#include "tests/support/TempFolder.h"
#include "views/FilterMenu.h"
#include "views/VirtualKeys.h"
#include "views/WordsView.h"

namespace verbaro {
namespace {

using progress::Direction;

// Entries in row order; «кабинет» stands for bureau and cabinet in the reversed modes.
enum Entry { kBureau = 0, kCabinet = 1, kChat = 2 };

class TypingGrades : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    test::WriteLesson(folder.Path() / "bureau.db",
                      {{u"m", u"s", u"bureau", {u"кабинет", u"офис", u"письменный стол"},
                        test::ShortMp3()},
                       {u"m", u"s", u"cabinet", {u"кабинет"}, test::ShortMp3()},
                       {u"m", u"s", u"chat", {u"кот"}, test::ShortMp3()}});
    store = progress::ProgressStore::Open((folder.Path() / "data" / "progress.sqlite").string(),
                                          fake.clock);
    frame = std::make_unique<CMainFrame>(fake.Get());
    frame->UseProgressStore(store.get());
    ASSERT_TRUE(frame->CreateFrame(QRect(0, 0, 900, 650)));
  }
  void Open(int mode) {
    frame->OnCommand(cmd::kFirstMode + mode);
    fake.files.answers.push_back(QString::fromStdString((folder.Path() / "bureau.db").string()));
    frame->OnCommand(cmd::kOpen);
    ASSERT_NE(frame->LessonProgressOf(mode), nullptr);
  }
  void Type(const std::u16string& text) {
    for (const int key : test::KeysOfText(text)) frame->CurrentView()->OnKeyDown(key);
  }
  void Key(int virtualKey) { frame->CurrentView()->OnKeyDown(virtualKey); }
  const std::u16string& Shown() const { return frame->CurrentView()->m_wsKeyWord; }
  // Lets the writes queued behind the keys run.
  static void Settle() { QApplication::processEvents(); }
  // The text of a review item of the Filters menu as the learner opens it; empty when absent.
  QString ReviewItem(int id) {
    emit frame->FiltersMenu()->aboutToShow();
    for (QAction* item : frame->FiltersMenu()->actions()) {
      if (!item->isSeparator() && item->data().toInt() == id) return item->text();
    }
    return QString();
  }

  test::TempFolder folder;
  FakePlatform fake;
  std::unique_ptr<progress::ProgressStore> store;
  std::unique_ptr<CMainFrame> frame;
};

TEST_F(TypingGrades, ConspectTwoCopiedIsPracticeAndTypedHiddenIsGradedFrenchToRussian) {
  Open(1);
  ASSERT_EQ(Shown(), u"кабинет");
  Type(u"кы");  // a slip, corrected
  Key(vk::kBack);
  Type(u"абинет");
  Key(vk::kDown);
  ASSERT_EQ(Shown(), u"кот");
  Type(u"кот");
  Settle();

  progress::LessonProgress* progress = frame->LessonProgressOf(1);
  auto log = progress->AnswerLog();
  ASSERT_EQ(log.size(), 3u);  // кабинет for both French words, then кот
  for (const auto& row : log) {
    EXPECT_EQ(row.kind, u"practice");
    EXPECT_EQ(row.grade, 0);
    EXPECT_EQ(row.direction, 2);
  }
  EXPECT_EQ(log[0].entry, kBureau);
  EXPECT_EQ(log[1].entry, kCabinet);
  for (const Direction way : {Direction::Forward, Direction::Reverse}) {
    EXPECT_EQ(progress->Counts(way).answers, 0);
    EXPECT_EQ(progress->Counts(way).fresh, 3);
  }
  // The Russian slip is on the Russian keyboard, the one of the Conspect-2 side.
  ASSERT_EQ(progress->MissedCharacters(Direction::Reverse).size(), 1u);
  EXPECT_EQ(progress->MissedCharacters(Direction::Reverse)[0].expected, u"а");
  EXPECT_TRUE(progress->MissedCharacters(Direction::Forward).empty());
  EXPECT_TRUE(ReviewItem(kMissedFilterCommand).isEmpty()) << "copying gives no history";
  EXPECT_TRUE(ReviewItem(kDueFilterCommand).isEmpty());

  // Hidden: «офис» typed from «bureau» on screen, with three slips: Again, French to Russian.
  frame->OnCommand(cmd::kToggleHeader);
  Key(vk::kDown);
  ASSERT_EQ(Shown(), u"офис");
  for (int slip = 0; slip < 3; ++slip) {
    Type(u"ы");
    Key(vk::kBack);
  }
  Type(u"офис");
  Settle();
  log = progress->AnswerLog();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[3].kind, u"typing");
  EXPECT_EQ(log[3].direction, 1);
  EXPECT_EQ(log[3].entry, kBureau);
  EXPECT_EQ(log[3].grade, 1);
  EXPECT_EQ(progress->MissedEntries(Direction::Forward), std::vector<int>{kBureau});
  EXPECT_TRUE(progress->MissedEntries(Direction::Reverse).empty());
  EXPECT_EQ(progress->Counts(Direction::Forward).answers, 1);
  EXPECT_EQ(progress->MissedCharacters(Direction::Reverse)[0].count, 3);  // «ы» for «о»

  // Conspect-2's own review list is that direction's: the three translations of bureau.
  EXPECT_EQ(ReviewItem(kMissedFilterCommand), QStringLiteral("Слова с ошибками (3)"));
}

TEST_F(TypingGrades, ConspectOneTypedHiddenIsGradedRussianToFrenchAndItsReviewListPaysBack) {
  Open(0);
  Type(u"bureau");  // copied
  frame->OnCommand(cmd::kToggleHeader);
  Key(vk::kDown);
  Type(u"cabinet");  // from «кабинет» on screen
  Key(vk::kDown);
  Type(u"cx");  // a slip, corrected: Hard
  Key(vk::kBack);
  Type(u"hat");
  Settle();

  progress::LessonProgress* progress = frame->LessonProgressOf(0);
  const auto log = progress->AnswerLog();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0].kind, u"practice");
  EXPECT_EQ(log[0].direction, 1);
  EXPECT_EQ(log[1].kind, u"typing");
  EXPECT_EQ(log[1].direction, 2);
  EXPECT_EQ(log[1].entry, kCabinet);
  EXPECT_GE(log[1].grade, 3);
  EXPECT_EQ(log[2].direction, 2);
  EXPECT_EQ(log[2].grade, 2);
  EXPECT_EQ(progress->Counts(Direction::Reverse).answers, 2);
  EXPECT_EQ(progress->Counts(Direction::Forward).answers, 0);
  EXPECT_EQ(progress->MissedEntries(Direction::Reverse), std::vector<int>{kChat});
  // The French slip stays on the French keyboard.
  ASSERT_EQ(progress->MissedCharacters(Direction::Forward).size(), 1u);
  EXPECT_EQ(progress->MissedCharacters(Direction::Forward)[0].typed, u"x");
  EXPECT_TRUE(progress->MissedCharacters(Direction::Reverse).empty());

  // Its review list is the one that typing it again pays back.
  ASSERT_EQ(ReviewItem(kMissedFilterCommand), QStringLiteral("Слова с ошибками (1)"));
  frame->OnCommand(kMissedFilterCommand);
  ASSERT_EQ(Shown(), u"chat");
  Type(u"chat");  // the word block is still hidden
  Settle();
  EXPECT_TRUE(progress->MissedEntries(Direction::Reverse).empty());
  EXPECT_TRUE(ReviewItem(kMissedFilterCommand).isEmpty());
}

}  // namespace
}  // namespace verbaro

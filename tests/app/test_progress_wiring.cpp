// The views' answers reach the progress store through the frame, and the review filters and the
// forget command come from it: a real store and real lessons in a temporary folder. Copying is
// not recall: an entry typed with its word in sight is kept as practice, one typed with the word
// block hidden is graded in the direction from what stayed on screen to what was typed.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <algorithm>
#include <memory>

#include "app/Commands.h"
#include "app/MainFrame.h"
#include "app/UserSettings.h"
#include "data/progress/ProgressStore.h"
#include "platform/QtText.h"
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

const std::vector<std::u16string> kWords = {u"chat",   u"chien",  u"lapin",
                                            u"mouton", u"cheval", u"canard"};

class ProgressWiring : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    std::vector<test::LessonRow> rows;
    const std::vector<std::u16string> russian = {u"кот",   u"собака", u"кролик",
                                                 u"баран", u"конь",   u"утка"};
    for (size_t i = 0; i < kWords.size(); ++i) {
      rows.push_back({u"m", u"s", kWords[i], {russian[i]}, test::ShortMp3()});
    }
    test::WriteLesson(folder.Path() / "animaux.db", rows);
    lesson = QString::fromStdString((folder.Path() / "animaux.db").string());
    StartWithStoreAt((folder.Path() / "data" / "progress.sqlite").string());
  }
  void StartWithStoreAt(const std::string& path) {
    frame.reset();
    store = progress::ProgressStore::Open(path, fake.clock);
    settings = std::make_unique<UserSettings>(
        QString::fromStdString((folder.Path() / "verbaro.conf").string()));
    frame = std::make_unique<CMainFrame>(fake.Get());
    frame->UseSettings(settings.get());
    frame->UseProgressStore(store.get());
    ASSERT_TRUE(frame->CreateFrame(QRect(0, 0, 900, 650)));
  }
  void Open(int mode) {
    frame->OnCommand(cmd::kFirstMode + mode);
    fake.files.answers.push_back(lesson);
    frame->OnCommand(cmd::kOpen);
  }
  void Type(const std::u16string& text) {
    for (const int key : test::KeysOfText(text)) frame->CurrentView()->OnKeyDown(key);
  }
  void Key(int virtualKey) { frame->CurrentView()->OnKeyDown(virtualKey); }
  // Lets the writes queued behind the keys run.
  static void Settle() { QApplication::processEvents(); }
  // The Filters menu as the learner sees it when opening it: (id, text), separators as (0, "").
  std::vector<std::pair<int, QString>> FiltersShown() {
    emit frame->FiltersMenu()->aboutToShow();
    std::vector<std::pair<int, QString>> items;
    for (QAction* item : frame->FiltersMenu()->actions()) {
      items.emplace_back(item->isSeparator() ? 0 : item->data().toInt(),
                         item->isSeparator() ? QString() : item->text());
    }
    return items;
  }
  // The text of a review item of the Filters menu; empty when absent.
  QString ReviewItem(int id) {
    for (const auto& [itemId, text] : FiltersShown()) {
      if (itemId == id) return text;
    }
    return QString();
  }

  test::TempFolder folder;
  QString lesson;
  FakePlatform fake;
  std::unique_ptr<progress::ProgressStore> store;
  std::unique_ptr<UserSettings> settings;
  std::unique_ptr<CMainFrame> frame;
};

TEST_F(ProgressWiring, TypedEntriesAreGradedAndAMissedOneMakesItsReviewFilter) {
  frame->OnCommand(cmd::kToggleHeader);  // typed from memory: answers from Russian to French
  Open(0);
  const auto before = FiltersShown();
  EXPECT_TRUE(std::none_of(before.begin(), before.end(), [](const auto& item) {
    return item.first == 0 || item.first >= kMissedFilterCommand;
  })) << "a lesson without history has no review filters";

  Type(u"chat");
  frame->CurrentView()->OnKeyDown(vk::kDown);
  Type(u"chx");  // one wrong key, corrected
  frame->CurrentView()->OnKeyDown(vk::kBack);
  Type(u"ien");
  frame->CurrentView()->OnKeyDown(vk::kDown);
  frame->CurrentView()->OnKeyDown(vk::kDown);  // lapin passed without typing: not graded
  Type(u"mou");                                // mouton left half typed: not graded
  Settle();

  progress::LessonProgress* progress = frame->LessonProgressOf(0);
  ASSERT_NE(progress, nullptr);
  const auto log = progress->AnswerLog();
  ASSERT_EQ(log.size(), 2u);
  for (const auto& row : log) {
    EXPECT_EQ(row.kind, u"typing");
    EXPECT_EQ(row.direction, 2);
  }
  EXPECT_EQ(log[0].entry, 0);
  EXPECT_EQ(log[0].wrongKeystrokes, 0);
  EXPECT_EQ(log[1].entry, 1);
  EXPECT_EQ(log[1].wrongKeystrokes, 1);
  EXPECT_EQ(log[1].grade, 2);  // Hard
  EXPECT_EQ(progress->MissedEntries(Direction::Reverse), std::vector<int>{1});
  // The French slip stays on the French keyboard.
  ASSERT_EQ(progress->MissedCharacters(Direction::Forward).size(), 1u);
  EXPECT_EQ(progress->MissedCharacters(Direction::Forward)[0].expected, u"i");
  EXPECT_EQ(progress->MissedCharacters(Direction::Forward)[0].typed, u"x");
  EXPECT_TRUE(progress->MissedCharacters(Direction::Reverse).empty());

  const auto items = FiltersShown();
  const auto missed = std::find_if(items.begin(), items.end(), [](const auto& item) {
    return item.first == kMissedFilterCommand;
  });
  ASSERT_NE(missed, items.end());
  EXPECT_EQ(missed->second, QStringLiteral("Слова с ошибками (1)"));
  EXPECT_EQ((missed - 1)->first, 0) << "a separator before the review filters";
  EXPECT_TRUE(std::any_of(items.begin(), items.end(), [](const auto& item) {
    return item.first == kDueFilterCommand &&
           item.second.startsWith(QStringLiteral("На сегодня ("));
  }));

  fake.messages.Clear();
  frame->OnCommand(kMissedFilterCommand);
  EXPECT_EQ(frame->CurrentView()->m_vUserIndexes, std::vector<int32_t>{1});
  EXPECT_EQ(frame->CurrentView()->m_wsKeyWord, u"chien");
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_TRUE(fake.messages.shown[0].text.startsWith(
      QStringLiteral("Выбран фильтр: \"Слова с ошибками\",\nв режиме:\n\"")));

  // Typed right this time: it leaves the list, and the item goes with its last entry.
  Type(u"chien");
  Settle();
  EXPECT_TRUE(progress->MissedEntries(Direction::Reverse).empty());
  const auto after = FiltersShown();
  EXPECT_TRUE(std::none_of(after.begin(), after.end(),
                           [](const auto& item) { return item.first == kMissedFilterCommand; }));
}

TEST_F(ProgressWiring, ConspectTwoCopiedIsPracticeAndTypedHiddenIsGradedFrenchToRussian) {
  // Entries in row order; «кабинет» stands for bureau and cabinet in the reversed modes.
  enum Entry { kBureau = 0, kCabinet = 1 };
  test::WriteLesson(
      folder.Path() / "bureau.db",
      {{u"m", u"s", u"bureau", {u"кабинет", u"офис", u"письменный стол"}, test::ShortMp3()},
       {u"m", u"s", u"cabinet", {u"кабинет"}, test::ShortMp3()},
       {u"m", u"s", u"chat", {u"кот"}, test::ShortMp3()}});
  lesson = QString::fromStdString((folder.Path() / "bureau.db").string());
  Open(1);
  ASSERT_EQ(frame->CurrentView()->m_wsKeyWord, u"кабинет");
  Type(u"кы");  // a slip, corrected
  Key(vk::kBack);
  Type(u"абинет");
  Key(vk::kDown);
  ASSERT_EQ(frame->CurrentView()->m_wsKeyWord, u"кот");
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
  // The Russian slip is on the Russian keyboard, the one of the Conspect-2 side.
  ASSERT_EQ(progress->MissedCharacters(Direction::Reverse).size(), 1u);
  EXPECT_EQ(progress->MissedCharacters(Direction::Reverse)[0].expected, u"а");
  EXPECT_TRUE(progress->MissedCharacters(Direction::Forward).empty());
  EXPECT_TRUE(ReviewItem(kMissedFilterCommand).isEmpty()) << "copying gives no history";
  EXPECT_TRUE(ReviewItem(kDueFilterCommand).isEmpty());

  // Hidden: «офис» typed from «bureau» on screen, with three slips: Again, French to Russian.
  frame->OnCommand(cmd::kToggleHeader);
  Key(vk::kDown);
  ASSERT_EQ(frame->CurrentView()->m_wsKeyWord, u"офис");
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
  EXPECT_EQ(progress->MissedCharacters(Direction::Reverse)[0].count, 3);  // «ы» for «о»

  // Conspect-2's own review list is that direction's: the three translations of bureau.
  EXPECT_EQ(ReviewItem(kMissedFilterCommand), QStringLiteral("Слова с ошибками (3)"));
}

// A key that did not combine with an armed accent reaches the store as the learner saw it, the
// accent and the key, so that the statistics show it.
TEST_F(ProgressWiring, AnUncombinedKeyIsKeptAsTheAccentAndTheKey) {
  Open(0);
  // c, h, then Ctrl + apostrophe key and L: no acute l, a mark that turns the line red.
  for (const int key :
       {int{'C'}, int{'H'}, vk::kControl, vk::kOem7, int{'L'}, vk::kBack, int{'A'}, int{'T'}}) {
    Key(key);
  }
  ASSERT_EQ(frame->CurrentView()->m_typedText, u"chat");
  Settle();
  const auto missed = frame->LessonProgressOf(0)->MissedCharacters(Direction::Forward);
  ASSERT_EQ(missed.size(), 1u);
  EXPECT_EQ(missed[0].expected, u"a");
  EXPECT_EQ(missed[0].typed, u"´l");
}

TEST_F(ProgressWiring, ForgettingAsksFirstAndThenTheLessonHasNoHistory) {
  EXPECT_TRUE(frame->Action(cmd::kForgetProgress)->isVisible());
  frame->OnCommand(cmd::kForgetProgress);
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_EQ(fake.messages.shown[0].text, QStringLiteral("Требуется загрузка данных!"));
  EXPECT_EQ(fake.messages.questions, 0);

  Open(0);
  frame->CurrentView()->OnKeyDown(vk::kDown);
  Type(u"chx");  // a miss
  frame->CurrentView()->OnKeyDown(vk::kBack);
  Type(u"ien");
  Settle();
  progress::LessonProgress* progress = frame->LessonProgressOf(0);
  ASSERT_EQ(progress->AnswerLog().size(), 1u);

  fake.messages.answers = {false};
  frame->OnCommand(cmd::kForgetProgress);
  EXPECT_EQ(fake.messages.questions, 1);
  EXPECT_EQ(progress->AnswerLog().size(), 1u) << "«Нет» keeps everything";

  fake.messages.answers = {true};
  frame->OnCommand(cmd::kForgetProgress);
  EXPECT_TRUE(progress->AnswerLog().empty());
  EXPECT_TRUE(progress->MissedEntries(Direction::Forward).empty());
  const auto items = FiltersShown();
  EXPECT_TRUE(std::none_of(items.begin(), items.end(), [](const auto& item) {
    return item.first == 0 || item.first >= kMissedFilterCommand;
  }));
}

TEST_F(ProgressWiring, AStoreThatCannotSaveIsToldOnceAsALessonOpensAndStudyGoesOn) {
  // The store's folder is a plain file: nothing can be made there.
  folder.Write("blocked", "a file where the folder should be");
  StartWithStoreAt((folder.Path() / "blocked" / "progress.sqlite").string());
  Open(0);
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_FALSE(fake.messages.shown[0].text.isEmpty());
  Type(u"chat");
  Settle();
  EXPECT_EQ(frame->CurrentView()->m_nUserFilterIndex, 0);
  EXPECT_TRUE(frame->CurrentView()->m_typedMatches);
  Open(2);
  EXPECT_EQ(fake.messages.shown.size(), 1u) << "said once";
  EXPECT_FALSE(frame->View(2)->m_vWordsData.empty());
}

}  // namespace
}  // namespace verbaro

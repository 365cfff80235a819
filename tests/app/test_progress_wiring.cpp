// The views' answers reach the progress store through the frame, and the review filters and the
// forget command come from it: a real store and real lessons in a temporary folder.
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
#include "tests/support/LessonWriter.h"
#include "tests/support/TempFolder.h"
#include "views/Exam1View.h"
#include "views/FilterMenu.h"
#include "views/VirtualKeys.h"
#include "views/WordsView.h"

namespace verbaro {
namespace {

using progress::Direction;

const std::vector<std::u16string> kWords = {u"chat", u"chien", u"lapin", u"mouton", u"cheval",
                                            u"canard"};

class ProgressWiring : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    std::vector<test::LessonRow> rows;
    const std::vector<std::u16string> russian = {u"кот", u"собака", u"кролик", u"баран", u"конь",
                                                 u"утка"};
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
    for (const char16_t c : text) frame->CurrentView()->OnKeyDown(QChar(c).toUpper().unicode());
  }
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
  Type(u"mou");                                 // mouton left half typed: not graded
  Settle();

  progress::LessonProgress* progress = frame->LessonProgressOf(0);
  ASSERT_NE(progress, nullptr);
  const auto log = progress->AnswerLog();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].entry, 0);
  EXPECT_EQ(log[0].wrongKeystrokes, 0);
  EXPECT_EQ(log[1].entry, 1);
  EXPECT_EQ(log[1].wrongKeystrokes, 1);
  EXPECT_EQ(log[1].grade, 2);  // Hard
  EXPECT_EQ(progress->MissedEntries(Direction::Reverse), std::vector<int>{1});

  const auto items = FiltersShown();
  const auto missed = std::find_if(items.begin(), items.end(),
                                   [](const auto& item) { return item.first == kMissedFilterCommand; });
  ASSERT_NE(missed, items.end());
  EXPECT_EQ(missed->second, QStringLiteral("Слова с ошибками (1)"));
  EXPECT_EQ((missed - 1)->first, 0) << "a separator before the review filters";
  EXPECT_TRUE(std::any_of(items.begin(), items.end(), [](const auto& item) {
    return item.first == kDueFilterCommand && item.second.startsWith(QStringLiteral("На сегодня ("));
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
  EXPECT_TRUE(std::none_of(after.begin(), after.end(), [](const auto& item) {
    return item.first == kMissedFilterCommand;
  }));
}

TEST_F(ProgressWiring, ExamAnswersCountTheFirstChoiceOfEachQuestionAndTheResultIsKept) {
  Open(4);
  auto& exam = static_cast<CExam1View&>(*frame->CurrentView());
  ASSERT_TRUE(exam.HasQuestion());
  const std::u16string firstAsked = exam.m_wsKeyWord;
  // A wrong cell, then the right one: one answer, Wrong.
  exam.OnAnswer(exam.m_trueCellIndex == 0 ? 2 : 1);
  exam.OnAnswer(exam.m_trueCellIndex + 1);
  // The others right at once; the missed word, asked again, is paid back without counting.
  int questions = 1;
  for (int guard = 0; guard < 100 && exam.m_nTotalCountAltWords > 0 && exam.HasQuestion(); ++guard) {
    if (exam.m_wsKeyWord != firstAsked) ++questions;
    exam.OnAnswer(exam.m_trueCellIndex + 1);
  }
  ASSERT_EQ(exam.m_nTotalCountAltWords, 0);
  Settle();

  progress::LessonProgress* progress = frame->LessonProgressOf(4);
  ASSERT_NE(progress, nullptr);
  const auto log = progress->AnswerLog();
  ASSERT_EQ(static_cast<int>(log.size()), questions);
  EXPECT_EQ(log[0].entry, static_cast<int>(std::find(kWords.begin(), kWords.end(), firstAsked) -
                                           kWords.begin()));
  EXPECT_EQ(log[0].grade, 1);  // Again
  EXPECT_EQ(progress->MissedEntries(Direction::Forward), std::vector<int>{log[0].entry});
  const auto exams = progress->ExamHistory();
  ASSERT_EQ(exams.size(), 1u);
  EXPECT_EQ(exams[0].result.mode, 4);
  EXPECT_EQ(exams[0].result.filterId, kFirstFilterCommand);
  EXPECT_EQ(exams[0].result.right, exam.m_rightAnswers);
  EXPECT_EQ(exams[0].result.wrong, 1);
  // The Conspect-2 direction has its own progress: nothing is missed there.
  EXPECT_TRUE(progress->MissedEntries(Direction::Reverse).empty());
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

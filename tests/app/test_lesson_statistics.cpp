// F8: the statistics window of the current mode's lesson from the real store, its log line,
// «Повторить их» choosing «Слова с ошибками», and the usual box without a lesson.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/Commands.h"
#include "app/MainFrame.h"
#include "app/UserSettings.h"
#include "data/StudyStatistics.h"
#include "data/progress/ProgressStore.h"
#include "progressview/DirectionPanel.h"
#include "progressview/StatisticsWindow.h"
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

class LessonStatisticsCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    fake.log.AttachMemory();
    std::vector<test::LessonRow> rows;
    const std::u16string words[] = {u"chat", u"chien", u"lapin"};
    const std::u16string russian[] = {u"кот", u"собака", u"кролик"};
    for (int i = 0; i < 3; ++i) rows.push_back({u"m", u"s", words[i], {russian[i]}, test::ShortMp3()});
    test::WriteLesson(folder.Path() / "animaux.db", rows);
    store = progress::ProgressStore::Open((folder.Path() / "data" / "progress.sqlite").string(),
                                          fake.clock);
    frame = std::make_unique<CMainFrame>(fake.Get());
    frame->UseProgressStore(store.get());
    ASSERT_TRUE(frame->CreateFrame(QRect(0, 0, 900, 650)));
  }
  void OpenLesson() {
    fake.files.answers.push_back(QString::fromStdString((folder.Path() / "animaux.db").string()));
    frame->OnCommand(cmd::kOpen);
  }
  void Type(const std::u16string& text) {
    for (const char16_t c : text) frame->CurrentView()->OnKeyDown(QChar(c).toUpper().unicode());
  }
  // Runs F8; `inside` acts on the window while it is open, then it is closed if still open.
  // Returns the window's title ("" when none opened).
  QString RunF8(const std::function<void(StatisticsWindow&)>& inside) {
    QString title;
    QTimer::singleShot(0, [&] {
      auto* window = qobject_cast<StatisticsWindow*>(QApplication::activeModalWidget());
      if (!window) return;
      title = window->windowTitle();
      inside(*window);
      if (window->isVisible()) window->reject();
    });
    frame->OnCommand(cmd::kLessonStatistics);
    return title;
  }

  test::TempFolder folder;
  FakePlatform fake;
  std::unique_ptr<progress::ProgressStore> store;
  std::unique_ptr<CMainFrame> frame;
};

TEST_F(LessonStatisticsCommand, WithoutALessonTheUsualBoxAndNoWindow) {
  EXPECT_EQ(RunF8([](StatisticsWindow&) {}), QString());
  ASSERT_EQ(fake.messages.Texts().size(), 1u);
  EXPECT_EQ(fake.messages.Texts()[0], QStringLiteral("Требуется загрузка данных!"));
  EXPECT_EQ(fake.log.Text().find("Статистика:"), std::string::npos);
}

TEST_F(LessonStatisticsCommand, TheLogLineCountsWhatTheStoreHoldsAndReviewChoosesTheMissedWords) {
  frame->OnCommand(cmd::kToggleHeader);  // typed from memory: graded French from Russian
  OpenLesson();
  Type(u"chx");  // one wrong key, corrected: a miss
  frame->CurrentView()->OnKeyDown(vk::kBack);
  Type(u"at");
  frame->CurrentView()->OnKeyDown(vk::kDown);
  QApplication::processEvents();

  bool reviewEnabled = false;
  const QString title = RunF8([&](StatisticsWindow& window) {
    EXPECT_EQ(window.Directions()->tabText(0), QStringLiteral("Русский → французский"));
    auto* panel = window.PanelAt(0);
    reviewEnabled = panel->ReviewButton()->isEnabled();
    panel->ReviewButton()->click();
  });
  EXPECT_EQ(title, QStringLiteral("Статистика: animaux.db"));
  const progress::EntryCounts counts =
      frame->LessonProgressOf(0)->Counts(progress::Direction::Reverse);
  EXPECT_EQ(counts.learning, 1);
  EXPECT_EQ(counts.fresh, 2);
  EXPECT_NE(fake.log.Text().find("Статистика: новых 2, изучается 1, выучено 0, на сегодня 0"),
            std::string::npos)
      << fake.log.Text();
  ASSERT_TRUE(reviewEnabled) << "chat was missed once";
  EXPECT_EQ(frame->CurrentView()->m_vUserIndexes.size(), 1u) << "only the missed word";
  bool namedTheFilter = false;
  for (const QString& text : fake.messages.Texts())
    namedTheFilter |= text.contains(QStringLiteral("Слова с ошибками"));
  EXPECT_TRUE(namedTheFilter);
}

}  // namespace
}  // namespace verbaro

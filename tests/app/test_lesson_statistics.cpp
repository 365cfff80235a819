// F8: the statistics window of the current mode's lesson from the real store, read as the learner
// reads it: «На сегодня» counted as the Filters menu counts it, «Новых» of each direction, the log
// line, and «Повторить их», which repeats the entries listed above it in the direction of its tab;
// and the usual box without a lesson.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <map>
#include <memory>

#include "app/Commands.h"
#include "app/LessonStatisticsCommand.h"
#include "app/MainFrame.h"
#include "data/StudyStatistics.h"
#include "data/Text.h"
#include "data/progress/ProgressStore.h"
#include "platform/QtText.h"
#include "progressview/DirectionPanel.h"
#include "progressview/StatisticsWindow.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/Application.h"
#include "tests/support/Files.h"
#include "tests/support/LessonWriter.h"
#include "tests/support/TempFolder.h"
#include "views/FilterMenu.h"
#include "views/WordsView.h"

namespace verbaro {
namespace {

using progress::Direction;

// Twenty phrases left out of the reversed modes come first, then three nouns (lapin with two
// translations, two reversed records) and a noun without a translation: the Russian → French
// direction asks only the three nouns.
constexpr int kChat = 20;
constexpr int kChien = 21;

class LessonStatisticsCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    fake.log.AttachMemory();
    std::vector<test::LessonRow> rows;
    for (int i = 0; i < 20; ++i) {
      rows.push_back({u"~~", u"", u"phrase " + ToU16(i), {u"фраза " + ToU16(i)}, test::ShortMp3()});
    }
    rows.push_back({u"m", u"s", u"chat", {u"кот"}, test::ShortMp3()});
    rows.push_back({u"m", u"s", u"chien", {u"собака"}, test::ShortMp3()});
    rows.push_back({u"m", u"s", u"lapin", {u"кролик", u"заяц"}, test::ShortMp3()});
    rows.push_back({u"m", u"s", u"mouton", {}, test::ShortMp3()});
    test::WriteLesson(folder.Path() / "animaux.db", rows);
    lesson = QString::fromStdString((folder.Path() / "animaux.db").string());
    store = progress::ProgressStore::Open((folder.Path() / "data" / "progress.sqlite").string(),
                                          fake.clock);
    frame = std::make_unique<CMainFrame>(fake.Get());
    frame->UseProgressStore(store.get());
    ASSERT_TRUE(frame->CreateFrame(QRect(0, 0, 900, 650)));
  }
  void Open(int mode) {
    frame->OnCommand(cmd::kFirstMode + mode);
    fake.files.answers.push_back(lesson);
    frame->OnCommand(cmd::kOpen);
  }
  // Answers as the views would record them: chat missed from French to Russian, chien forgotten
  // from Russian to French.
  void Study() {
    progress::LessonProgress* progress = frame->LessonProgressOf(frame->CurrentModeIndex());
    ASSERT_NE(progress, nullptr);
    progress->RecordTyping(Direction::Forward, std::vector{kChat}, {4, 1, {{u"a", u"x"}}, 9000});
    progress->RecordTyping(Direction::Reverse, std::vector{kChien}, {5, 4, {{u"i", u"e"}}, 9000});
    frame->CurrentView()->BuildFilterMenu();
  }
  // Runs F8; `inside` acts on the window while it is open, then it is closed if still open.
  // Returns the window's title ("" when none opened).
  QString RunF8(const std::function<void(StatisticsWindow&)>& inside) {
    QString title;
    // A look that has not come by the time F8 is handled (no window opened) ends with this
    // call: it must not act later on this call's variables.
    const QObject lookOnce;
    QTimer::singleShot(0, &lookOnce, [&] {
      auto* window = qobject_cast<StatisticsWindow*>(QApplication::activeModalWidget());
      if (!window) return;
      title = window->windowTitle();
      inside(*window);
      if (window->isVisible()) window->reject();
    });
    frame->OnCommand(cmd::kLessonStatistics);
    return title;
  }
  static QString Shown(StatisticsWindow& window, int tab, const char* name) {
    const auto* label = window.PanelAt(tab)->findChild<QLabel*>(QString::fromUtf8(name));
    return label ? label->text() : QStringLiteral("(none)");
  }
  // The text of the Filters menu item with this id, empty when the menu has none.
  QString FilterItem(int id) const {
    for (QAction* item : frame->FiltersMenu()->actions())
      if (!item->isSeparator() && item->data().toInt() == id) return item->text();
    return {};
  }

  test::TempFolder folder;
  QString lesson;
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

// The menu's «На сегодня (N)» is the due entries and the new ones; the window shows the same
// two parts, for each direction the entries its modes ask.
TEST_F(LessonStatisticsCommand, TodayIsCountedAsTheMenuCountsItInEachDirection) {
  Open(2);  // Видео-1: the French → Russian tab comes first
  Study();
  std::map<std::string, QString> shown;
  const QString title = RunF8([&](StatisticsWindow& window) {
    EXPECT_EQ(window.Directions()->tabText(0), QStringLiteral("Французский → русский"));
    shown["fresh forward"] = Shown(window, 0, "Новых:");
    shown["today forward"] = Shown(window, 0, "На сегодня:");
    shown["fresh reverse"] = Shown(window, 1, "Новых:");
    shown["today reverse"] = Shown(window, 1, "На сегодня:");
  });
  EXPECT_EQ(title, QStringLiteral("Статистика: animaux.db"));
  // French → Russian: 24 entries, chat answered; 19 of today's 20 new ones are left.
  EXPECT_EQ(shown["fresh forward"], QStringLiteral("<b>23</b>"));
  EXPECT_EQ(shown["today forward"], QStringLiteral("<b>0 + 19 новых</b>"));
  EXPECT_EQ(FilterItem(kDueFilterCommand), QStringLiteral("На сегодня (19)"));
  // Russian → French: only chat, chien and lapin are asked, chien answered; the new ones are on
  // three records (кот, кролик, заяц).
  EXPECT_EQ(shown["fresh reverse"], QStringLiteral("<b>2</b>"));
  EXPECT_EQ(shown["today reverse"], QStringLiteral("<b>0 + 3 новых</b>"));
  // The log line keeps its four numbers.
  EXPECT_NE(fake.log.Text().find("Статистика: новых 23, изучается 1, выучено 0, на сегодня 0"),
            std::string::npos)
      << fake.log.Text();

  // The menu of «Видео-2» says the same; the phrases the reversed modes never ask take no
  // place among the new entries there.
  Open(3);
  EXPECT_EQ(FilterItem(kDueFilterCommand), QStringLiteral("На сегодня (3)"));
}

// «Повторить их» stands under a tab's hardest entries: it repeats those, in the tab's direction,
// in the current mode's kind, through the Filters menu's «Трудные слова (N)».
TEST_F(LessonStatisticsCommand, RepeatThemReviewsTheEntriesListedInTheModeOfTheTabsDirection) {
  Open(0);
  Study();
  EXPECT_EQ(FilterItem(kHardFilterCommand), QStringLiteral("Трудные слова (1)"));
  struct Case {
    int mode;
    int tab;  // 0: the current mode's direction
    int reviewMode;
    const char* listed;        // the one hardest entry of the tab
    const char16_t* reviewed;  // the key word of the one record chosen
  };
  // A Конспект mode's answers count for the other direction (the hidden word is recalled), so
  // its first tab is that direction and the other tab goes to the other Конспект.
  const Case cases[] = {
      {0, 1, 1, "chat", u"кот"},      // Конспект-1, French → Russian: Конспект-2
      {0, 0, 0, "chien", u"chien"},   // the current direction: the same mode
      {4, 1, 5, "chien", u"собака"},  // Экзамен-1, Russian → French: Экзамен-2
      {3, 1, 2, "chat", u"chat"},     // Видео-2, French → Russian: Видео-1
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode * 10 + c.tab);
    Open(c.mode);
    fake.messages.Clear();
    QStringList listed;
    RunF8([&](StatisticsWindow& window) {
      window.Directions()->setCurrentIndex(c.tab);
      DirectionPanel* panel = window.PanelAt(c.tab);
      const auto* hardest = panel->findChild<QTreeWidget*>(QStringLiteral("hardest"));
      for (int i = 0; i < hardest->topLevelItemCount(); ++i)
        listed << hardest->topLevelItem(i)->text(0);
      panel->ReviewButton()->click();
    });
    EXPECT_EQ(listed, QStringList{QString::fromUtf8(c.listed)});
    ASSERT_EQ(frame->CurrentModeIndex(), c.reviewMode);
    const CWordsView* view = frame->CurrentView();
    EXPECT_EQ(ToQ(view->m_szDataFile), lesson) << "the lesson opened in the mode reviewed";
    EXPECT_EQ(FilterItem(kHardFilterCommand), QStringLiteral("Трудные слова (1)"));
    ASSERT_EQ(view->m_vUserIndexes.size(), 1u);
    EXPECT_EQ(view->m_vWordsData[static_cast<size_t>(view->m_vUserIndexes[0])].wsKeyWord,
              c.reviewed);
    ASSERT_FALSE(fake.messages.Texts().empty());
    EXPECT_TRUE(fake.messages.Texts().back().startsWith(
        QStringLiteral("Выбран фильтр: \"Трудные слова\",\nв режиме:\n")))
        << fake.messages.Texts().back().toStdString();
  }
}

}  // namespace
}  // namespace verbaro

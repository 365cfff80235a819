// The statistics window on plain numbers: its title and tabs, Escape, «Повторить их», the
// calendar's days, today and levels, and the keyboard's hot keys, read from what is painted.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

#include "data/KeyboardRows.h"
#include "progressview/CalendarHeatmap.h"
#include "progressview/DirectionPanel.h"
#include "progressview/KeyboardHeatmap.h"
#include "progressview/StatisticsColours.h"
#include "progressview/StatisticsWindow.h"
#include "tests/support/Application.h"

namespace verbaro {
namespace {

constexpr int64_t kToday = 20'432;  // 2025-12-10, a Wednesday

LessonStatistics Sample() {
  LessonStatistics statistics;
  statistics.lessonName = u"урок.db";
  statistics.today = kToday;
  statistics.streaks = {3, 8};
  for (int i = 0; i < kCalendarDays; ++i) {
    const int64_t day = kToday - kCalendarDays + 1 + i;
    statistics.forward.days.push_back({day, i % 3 == 0 ? 0 : 5 + i % 7, 3});
    statistics.reverse.days.push_back({day, 0, 0});
  }
  statistics.forward.dueForecast.assign(kForecastDays, 4);
  statistics.forward.hardest = {{u"été", u"лето", 3, 2, 1.5}, {u"noël", u"рождество", 1, 4, 2.0}};
  statistics.forward.missed = {{u"é", u"e", 9}, {u"ç", u"c", 2}};
  statistics.forward.exams = {{kToday * 86'400, {4, 800, u"Все слова и фразы", 5, 1, 0}}};
  return statistics;
}

class StatisticsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { test::EnsureApplication(); }
};

TEST_F(StatisticsWindowTest, TitleTabsOfTheCurrentDirectionFirstAndEscapeCloses) {
  StatisticsWindow window(Sample(), progress::Direction::Reverse, nullptr);
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Статистика: урок.db"));
  ASSERT_EQ(window.Directions()->count(), 2);
  EXPECT_EQ(window.Directions()->tabText(0), QStringLiteral("Русский → французский"));
  EXPECT_EQ(window.Directions()->tabText(1), QStringLiteral("Французский → русский"));

  window.show();
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(&window, &escape);
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(window.result(), QDialog::Rejected);
}

TEST_F(StatisticsWindowTest, ReviewButtonAsksForTheMissedWordsOnlyWhenThereAreHardEntries) {
  const LessonStatistics statistics = Sample();
  StatisticsWindow window(statistics, progress::Direction::Forward, nullptr);
  int reviews = 0;
  QObject::connect(&window, &StatisticsWindow::ReviewMistakesRequested, [&reviews] { ++reviews; });
  auto* forward = window.PanelAt(0);
  auto* reverse = window.PanelAt(1);
  EXPECT_TRUE(forward->ReviewButton()->isEnabled());
  EXPECT_FALSE(reverse->ReviewButton()->isEnabled()) << "nothing to repeat that way";
  forward->ReviewButton()->click();
  EXPECT_EQ(reviews, 1);

  const auto* hardest = forward->findChild<QTreeWidget*>(QStringLiteral("hardest"));
  ASSERT_NE(hardest, nullptr);
  ASSERT_EQ(hardest->topLevelItemCount(), 2);
  EXPECT_EQ(hardest->topLevelItem(0)->text(1), QStringLiteral("лето"));
  const auto* exams = forward->findChild<QTreeWidget*>(QStringLiteral("exams"));
  ASSERT_EQ(exams->topLevelItemCount(), 1);
  EXPECT_EQ(exams->topLevelItem(0)->text(1), QStringLiteral("Экзамен-1"));
}

TEST_F(StatisticsWindowTest, DaysTextAgreesWithTheNumber) {
  EXPECT_EQ(DaysText(1), QStringLiteral("1 день"));
  EXPECT_EQ(DaysText(3), QStringLiteral("3 дня"));
  EXPECT_EQ(DaysText(11), QStringLiteral("11 дней"));
  EXPECT_EQ(DaysText(21), QStringLiteral("21 день"));
  EXPECT_EQ(DaysText(112), QStringLiteral("112 дней"));
  EXPECT_EQ(DaysText(0), QStringLiteral("0 дней"));
}

TEST_F(StatisticsWindowTest, CalendarShowsTwentySixWeeksEndingTodayWithTodayFramed) {
  CalendarHeatmap calendar;
  calendar.resize(calendar.sizeHint());
  calendar.SetDays({{kToday - 1, 40, 0}, {kToday, 10, 0}, {kToday - 200, 99, 0}}, kToday);

  EXPECT_TRUE(calendar.CellOf(kToday + 1).isEmpty()) << "no day after today";
  EXPECT_TRUE(calendar.CellOf(kToday - 7 * CalendarHeatmap::kWeeks).isEmpty());
  EXPECT_EQ(WeekdayOf(kToday), 2);  // Wednesday
  const QRect today = calendar.CellOf(kToday);
  const QRect monday = calendar.CellOf(kToday - 2);
  EXPECT_EQ(today.x(), monday.x()) << "one column a week";
  EXPECT_GT(today.y(), monday.y());
  EXPECT_LT(calendar.CellOf(kToday - 7).x(), today.x());

  EXPECT_EQ(calendar.LevelOf(kToday - 1), 4) << "the busiest day shown";
  EXPECT_EQ(calendar.LevelOf(kToday), 1);
  EXPECT_EQ(calendar.LevelOf(kToday - 2), 0);
  EXPECT_EQ(calendar.LevelOf(kToday - 200), 0) << "a day before the 26 weeks counts for nothing";

  const QImage shown = calendar.grab().toImage();
  const QColor frame = shown.pixelColor(today.left() - 1, today.center().y());
  const QColor inside = shown.pixelColor(today.center());
  EXPECT_LT(frame.lightness(), 100) << "today is framed";
  EXPECT_EQ(inside.rgb(), colours::CalendarLevel(1).rgb());
  EXPECT_EQ(shown.pixelColor(monday.center()).rgb(), colours::CalendarLevel(0).rgb());
}

TEST_F(StatisticsWindowTest, KeyboardHeatsTheKeyOfTheMissedLetterOfTheLessonsAlphabet) {
  KeyboardHeatmap keyboard;
  keyboard.SetKeys(KeyboardRows(Alphabet::French), {{u'é', 8}, {u'e', 2}});
  keyboard.resize(440, keyboard.heightForWidth(440));
  EXPECT_DOUBLE_EQ(keyboard.HeatOf(u'é'), 1.0);
  EXPECT_DOUBLE_EQ(keyboard.HeatOf(u'e'), 0.25);
  EXPECT_DOUBLE_EQ(keyboard.HeatOf(u'z'), 0.0);
  const QRectF hot = keyboard.KeyRect(u'é');
  const QRectF cold = keyboard.KeyRect(u'z');
  ASSERT_FALSE(hot.isEmpty());
  ASSERT_FALSE(cold.isEmpty());
  EXPECT_GT(hot.top(), keyboard.KeyRect(u'/').top()) << "the composed letters are under the keys";
  EXPECT_LT(keyboard.KeyRect(u'q').left(), keyboard.KeyRect(u'a').left()) << "rows are staggered";

  const QImage shown = keyboard.grab().toImage();
  // Left of the letter, inside the key.
  const auto fill = [](const QRectF& key) {
    return QPointF(key.left() + key.width() * 0.15, key.center().y()).toPoint();
  };
  const QColor hotPixel = shown.pixelColor(fill(hot));
  EXPECT_GT(hotPixel.red(), 180);
  EXPECT_LT(hotPixel.green(), 60);
  const QColor coldPixel = shown.pixelColor(fill(cold));
  EXPECT_GT(coldPixel.green(), 220);

  KeyboardHeatmap russian;
  russian.SetKeys(KeyboardRows(Alphabet::Russian), {{u'щ', 1}});
  EXPECT_TRUE(russian.KeyRect(u'é').isEmpty());
  EXPECT_FALSE(russian.KeyRect(u'щ').isEmpty());
}

}  // namespace
}  // namespace verbaro

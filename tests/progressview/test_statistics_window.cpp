// The statistics window on plain numbers, read as the learner reads it: its title and tabs,
// Escape, each tab's own calendar, streaks and «Повторить их», the texts of the tables
// and of the slips, and what is painted: the calendar's days and month names, the keyboard's hot
// keys and counts, a single day's share of right answers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

#include "data/KeyboardRows.h"
#include "progressview/CalendarHeatmap.h"
#include "progressview/DirectionPanel.h"
#include "progressview/KeyboardHeatmap.h"
#include "progressview/ProgressCharts.h"
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
  for (int i = 0; i < kCalendarDays; ++i) {
    const int64_t day = kToday - kCalendarDays + 1 + i;
    statistics.forward.days.push_back({day, i % 3 == 0 ? 0 : 5 + i % 7, 3});
    // Russian → French only yesterday.
    statistics.reverse.days.push_back({day, day == kToday - 1 ? 4 : 0, 0});
  }
  statistics.forward.streaks = {3, 8};
  statistics.reverse.streaks = {1, 1};
  statistics.forward.dueForecast.assign(kForecastDays, 4);
  statistics.forward.hardest = {{u"été", u"лето", 3, 2, 1.5}, {u"noël", u"рождество", 1, 4, 2.0}};
  statistics.reverse.hardest = {{u"chat", u"кот, кошка", 1, 1, 1.0}};
  statistics.forward.missed = {{u"é", u"e", 9}, {u"l", u"´l", 3}, {u"ç", u"\u0327", 2}};
  statistics.forward.exams = {
      {kToday * 86'400,
       {StudyMode::Exam1,
        {progress::ExamFilter::Kind::Lesson, 3},
        u"&3 - Мужские существительные, ед.ч.",
        5,
        1,
        0}},
      {kToday * 86'400 - 600, {StudyMode::Exam1, {}, u"Слова && фразы", 2, 0, 1}}};
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

// What a tab says is that tab's direction's: the calendar and the streaks. Its counts are read
// on both tabs of the window that F8 opens over a real store.
TEST_F(StatisticsWindowTest, EachTabShowsItsOwnDirectionsCalendarAndStreaks) {
  StatisticsWindow window(Sample(), progress::Direction::Forward, nullptr);
  const auto shown = [&](int tab, const char* name) {
    const auto* label = window.PanelAt(tab)->findChild<QLabel*>(QString::fromUtf8(name));
    return label ? label->text() : QStringLiteral("(none)");
  };
  EXPECT_EQ(shown(0, "streaks"), QStringLiteral("Серия: 3 дня подряд; самая длинная: 8 дней"));
  EXPECT_EQ(shown(1, "streaks"), QStringLiteral("Серия: 1 день подряд; самая длинная: 1 день"));

  const auto* forward = window.PanelAt(0)->findChild<CalendarHeatmap*>();
  const auto* reverse = window.PanelAt(1)->findChild<CalendarHeatmap*>();
  ASSERT_TRUE(forward && reverse);
  EXPECT_GT(forward->LevelOf(kToday - 2), 0);
  EXPECT_EQ(reverse->LevelOf(kToday - 2), 0) << "a French → Russian day";
  EXPECT_EQ(reverse->LevelOf(kToday - 1), 4) << "its own busiest day";
}

TEST_F(StatisticsWindowTest, ReviewButtonOfATabAsksForItsDirectionOnlyWhenItListsEntries) {
  LessonStatistics statistics = Sample();
  statistics.reverse.hardest.clear();
  StatisticsWindow window(statistics, progress::Direction::Reverse, nullptr);
  std::vector<progress::Direction> asked;
  QObject::connect(&window, &StatisticsWindow::ReviewHardestRequested,
                   [&asked](progress::Direction direction) { asked.push_back(direction); });
  auto* reverse = window.PanelAt(0);
  auto* forward = window.PanelAt(1);
  EXPECT_FALSE(reverse->ReviewButton()->isEnabled()) << "nothing to repeat that way";
  ASSERT_TRUE(forward->ReviewButton()->isEnabled());
  forward->ReviewButton()->click();
  EXPECT_EQ(asked, std::vector{progress::Direction::Forward});
  const auto* hardest = forward->findChild<QTreeWidget*>(QStringLiteral("hardest"));
  ASSERT_EQ(hardest->topLevelItemCount(), 2);
  EXPECT_EQ(hardest->topLevelItem(0)->text(1), QStringLiteral("лето"));
  EXPECT_EQ(hardest->topLevelItem(1)->toolTip(1), QStringLiteral("noël — рождество"));
}

// Texts the learner reads whole: filter names without the menu's "&" (they come from the menu),
// and slips of several characters (an accent key before a letter that takes no accent types
// both) or of a mark that combines with what stands before it.
TEST_F(StatisticsWindowTest, FilterNamesAndSlipsShowWhole) {
  StatisticsWindow window(Sample(), progress::Direction::Forward, nullptr);
  window.resize(900, 600);
  window.show();
  const auto* exams = window.PanelAt(0)->findChild<QTreeWidget*>(QStringLiteral("exams"));
  ASSERT_EQ(exams->topLevelItemCount(), 2);
  const QTreeWidgetItem* newest = exams->topLevelItem(0);
  EXPECT_EQ(newest->text(1), QStringLiteral("Экзамен-1"));
  EXPECT_EQ(newest->text(5), QStringLiteral("3 - Мужские существительные, ед.ч."));
  EXPECT_EQ(exams->topLevelItem(1)->text(5), QStringLiteral("Слова & фразы"));
  // The column is as wide as its longest name: scrolled to, never elided.
  EXPECT_GE(exams->columnWidth(5), QFontMetrics(exams->font()).horizontalAdvance(newest->text(5)));
  EXPECT_TRUE(newest->toolTip(0).contains(QStringLiteral("«3 - Мужские существительные, ед.ч.»")));

  const QString top = window.PanelAt(0)->findChild<QLabel*>(QStringLiteral("topMisses"))->text();
  EXPECT_TRUE(top.contains(QStringLiteral("l → ´l&nbsp;&nbsp;<b>3</b>"))) << top.toStdString();
  EXPECT_TRUE(top.contains(QString::fromUtf16(u"ç → \u25CC\u0327"))) << top.toStdString();
  EXPECT_EQ(CharacterText(u" "), QStringLiteral("пробел"));
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

// Today in the first week of December: the last column is December's and is named too. Every
// name stands whole inside the calendar, apart from the next, at any width and font.
TEST_F(StatisticsWindowTest, CalendarNamesEveryMonthWholeUpToTheLastWeek) {
  constexpr int64_t kDecember3 = 20'425;  // 2025-12-03, a Wednesday
  for (const int width : {240, 420, 900}) {
    for (const qreal points : {9.0, 16.0}) {
      CalendarHeatmap calendar;
      QFont font = calendar.font();
      font.setPointSizeF(points);
      calendar.setFont(font);
      calendar.SetDays({}, kDecember3);
      calendar.resize(width, calendar.heightForWidth(width));
      const std::vector<CalendarHeatmap::MonthLabel> labels = calendar.MonthLabels();
      SCOPED_TRACE(testing::Message() << width << " px, " << points << " pt");
      ASSERT_FALSE(labels.empty());
      EXPECT_EQ(labels.back().text, QStringLiteral("дек"));
      const QFontMetrics metrics(QFont(font.family(), static_cast<int>(points * 0.85)));
      for (size_t i = 0; i < labels.size(); ++i) {
        EXPECT_TRUE(calendar.rect().contains(labels[i].rect)) << labels[i].text.toStdString();
        EXPECT_GE(labels[i].rect.height(), metrics.height() - 1);
        if (i > 0) {
          EXPECT_GT(labels[i].rect.left(), labels[i - 1].rect.right());
        }
      }
      // The cells stay under the names, the legend under the cells.
      EXPECT_GE(calendar.CellOf(kDecember3).top(), labels.back().rect.bottom());
    }
  }
}

// A count on a key never covers its letter: it goes under it, or, on a key too small for it,
// into the key's tooltip, which every key has.
TEST_F(StatisticsWindowTest, KeyboardCountsStandUnderTheLetterOrInTheTooltip) {
  for (const int width : {260, 900}) {
    KeyboardHeatmap keyboard;
    keyboard.SetKeys(KeyboardRows(Alphabet::French), {{u'é', 1234}, {u'a', 12}});
    keyboard.resize(width, keyboard.heightForWidth(width));
    const QRectF key = keyboard.KeyRect(u'é');
    const KeyboardHeatmap::KeyFaces faces = keyboard.FacesOf(u'é');
    EXPECT_TRUE(key.contains(faces.letter) && key.contains(faces.count)) << width;
    EXPECT_FALSE(faces.letter.intersects(faces.count)) << width;
    QFont count = keyboard.font();
    count.setPixelSize(std::max(faces.countPixels, 1));
    EXPECT_LE(QFontMetricsF(count).horizontalAdvance(QStringLiteral("1234")), faces.count.width());
    EXPECT_EQ(faces.countPixels > 0, width == 900) << "a large key shows its count";
    EXPECT_EQ(keyboard.ToolTipAt(key.center()), QStringLiteral("«é»: набрано другое 1234 раза"));
    EXPECT_EQ(keyboard.ToolTipAt(keyboard.KeyRect(u'a').center()),
              QStringLiteral("«a»: набрано другое 12 раз"));
    EXPECT_EQ(keyboard.ToolTipAt(keyboard.KeyRect(u'z').center()),
              QStringLiteral("«z»: ошибок нет"));
  }
  // A box lower than the keyboard wants: smaller keys, none cut off.
  KeyboardHeatmap low;
  low.SetKeys(KeyboardRows(Alphabet::French), {});
  low.resize(900, 160);
  EXPECT_LE(low.KeyRect(u'œ').bottom(), 160.0);
}

// Only one day with answers: its share of right answers is a point, not a line of no length.
TEST_F(StatisticsWindowTest, ASingleDaysShareOfRightAnswersIsDrawn) {
  std::vector<progress::DayActivity> days;
  for (int i = 0; i < 90; ++i) days.push_back({kToday - 89 + i, i == 45 ? 12 : 0, i == 45 ? 9 : 0});
  std::unique_ptr<QWidget> chart(MakeAnswersChart(days, nullptr));
  chart->resize(480, 320);
  chart->show();
  QApplication::processEvents();
  const QImage shown = chart->grab().toImage();
  const QRect plot = qobject_cast<QChartView*>(chart.get())->chart()->plotArea().toRect();
  const QColor share = colours::FirstTryShare();
  int pixels = 0;
  // Inside the plot, away from its axes (the share's own axis has its colour).
  for (int y = plot.top() + 3; y < plot.bottom() - 3; ++y) {
    for (int x = plot.left() + 3; x < plot.right() - 3; ++x) {
      const QColor pixel = shown.pixelColor(x, y);
      pixels += std::abs(pixel.red() - share.red()) + std::abs(pixel.green() - share.green()) +
                    std::abs(pixel.blue() - share.blue()) <
                60;
    }
  }
  EXPECT_GE(pixels, 12);
}

}  // namespace
}  // namespace verbaro

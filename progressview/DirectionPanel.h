#pragma once
// One direction of a lesson in the statistics window, laid out in two rows of three parts.
#include <QWidget>

#include "data/KeyboardRows.h"
#include "data/StudyStatistics.h"

class QPushButton;

namespace verbaro {

class DirectionPanel : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kTopMisses = 10;
  static constexpr int kChartDays = 90;

  // calendarDays: both directions' answers per day; the calendar and the streaks are the
  // lesson's, the rest this direction's.
  DirectionPanel(const LessonStatistics& lesson, progress::Direction direction,
                 const std::vector<progress::DayActivity>& calendarDays, QWidget* parent);

  QPushButton* ReviewButton() const { return m_review; }

 signals:
  void ReviewMistakesRequested();

 private:
  QWidget* MakeSummary(const LessonStatistics& lesson, const DirectionStatistics& statistics,
                       const std::vector<progress::DayActivity>& calendarDays);
  QWidget* MakeMisses(const DirectionStatistics& statistics, Alphabet typed);
  QWidget* MakeHardest(const DirectionStatistics& statistics);
  QWidget* MakeExams(const DirectionStatistics& statistics);

  QPushButton* m_review = nullptr;
};

// «5 дней», «1 день», «3 дня».
QString DaysText(int days);
// «12.03.26 14:05» in local time.
QString ExamTimeText(int64_t secondsSinceEpoch);

}  // namespace verbaro

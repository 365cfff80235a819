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

  // Everything shown is this direction's: the counts, the calendar and its streaks, the charts,
  // the misses, the hardest entries and the exams.
  DirectionPanel(const LessonStatistics& lesson, progress::Direction direction, QWidget* parent);

  progress::Direction Direction() const { return m_direction; }
  // «Повторить их», under the hardest entries: enabled when some are listed.
  QPushButton* ReviewButton() const { return m_review; }

 signals:
  // The learner wants to repeat the hardest entries listed, in this direction.
  void ReviewHardestRequested(progress::Direction direction);

 private:
  QWidget* MakeSummary(const LessonStatistics& lesson, const DirectionStatistics& statistics);
  QWidget* MakeMisses(const DirectionStatistics& statistics, Alphabet typed);
  QWidget* MakeHardest(const DirectionStatistics& statistics);
  QWidget* MakeExams(const DirectionStatistics& statistics);

  progress::Direction m_direction;
  QPushButton* m_review = nullptr;
};

// «5 дней», «1 день», «3 дня».
QString DaysText(int days);
// «12.03.26 14:05» in local time.
QString ExamTimeText(int64_t secondsSinceEpoch);
// A character (or characters) of a typing slip as shown: «пробел» for a space, and a mark that
// combines with what precedes it on a dotted circle, so that it never sits on the arrow.
QString CharacterText(const std::u16string& text);

}  // namespace verbaro

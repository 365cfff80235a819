#pragma once
// «Статистика: NAME»: the progress of one lesson in both directions, one tab each, the tab of the
// current mode first. Each tab shows the counts, the study calendar with its streaks, the answers
// of the last 90 days, the forecast of due entries, the missed characters on the keyboard, the
// hardest entries with «Повторить их», and the exam history.
#include <QDialog>

#include <vector>

#include "data/StudyStatistics.h"

class QTabWidget;

namespace verbaro {

class DirectionPanel;

class StatisticsWindow : public QDialog {
  Q_OBJECT

 public:
  // first: the direction of the current mode, whose tab comes first.
  StatisticsWindow(const LessonStatistics& statistics, progress::Direction first, QWidget* parent);

  // The exact title, «Статистика: » and the lesson's file name.
  static QString TitleFor(const std::u16string& lessonName);
  QTabWidget* Directions() const { return m_directions; }
  // The panel of a tab, made now if it was not yet shown.
  DirectionPanel* PanelAt(int index);

 signals:
  // «Повторить их» on a tab: the learner wants to repeat that tab's hardest entries, in its
  // direction.
  void ReviewHardestRequested(progress::Direction direction);

 private:
  // The other direction's tab is made when it is first shown: the window opens at the cost of
  // one.
  void FillTab(int index);

  LessonStatistics m_statistics;
  progress::Direction m_first;
  QTabWidget* m_directions = nullptr;
};

}  // namespace verbaro

#pragma once
// «Статистика: NAME»: the progress of one lesson in both directions, one tab each, the tab of the
// current mode first. Each tab shows the counts, the study calendar with its streaks, the answers
// of the last 90 days, the forecast of due entries, the missed characters on the keyboard, the
// hardest entries with «Повторить их», and the exam history.
#include <QDialog>

#include "data/StudyStatistics.h"

class QTabWidget;

namespace verbaro {

class StatisticsWindow : public QDialog {
  Q_OBJECT

 public:
  // first: the direction of the current mode, whose tab comes first.
  StatisticsWindow(const LessonStatistics& statistics, progress::Direction first, QWidget* parent);

  // The exact title, «Статистика: » and the lesson's file name.
  static QString TitleFor(const std::u16string& lessonName);
  QTabWidget* Directions() const { return m_directions; }

 signals:
  // «Повторить их»: the learner wants the filter of the words missed, in the current mode.
  void ReviewMistakesRequested();

 private:
  QTabWidget* m_directions = nullptr;
};

}  // namespace verbaro

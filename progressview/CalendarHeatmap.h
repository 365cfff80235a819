#pragma once
// The last 26 weeks of study as a calendar: one column a week (Monday on top), each day coloured
// by its number of answers, today framed, the months named above.
#include <QWidget>
#include <cstdint>
#include <map>
#include <vector>

#include "data/progress/ProgressStatistics.h"

namespace verbaro {

class CalendarHeatmap : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kWeeks = 26;

  explicit CalendarHeatmap(QWidget* parent = nullptr);
  void SetDays(const std::vector<progress::DayActivity>& days, int64_t today);

  // The cell of a day, empty for a day outside the 26 weeks or after today.
  QRect CellOf(int64_t day) const;
  // 0 for a day without answers, else 1 to 4, relative to the busiest day shown.
  int LevelOf(int64_t day) const;
  // The month names above the weeks: each over the first week that begins in its month (the
  // first week's month too), moved left when it would run past the right edge; where two would
  // run into each other, the later one stands.
  struct MonthLabel {
    QRect rect;
    QString text;
  };
  std::vector<MonthLabel> MonthLabels() const;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int CellSide() const;
  int CellSideFor(int width) const;
  int64_t FirstMonday() const;
  // The room the labels take: the weekday names on the left, the month names on top, the
  // legend below; from the labels' font, so that a larger font is never cut.
  QFont LabelFont() const;
  int LeftLabels() const;
  int TopLabels() const;
  int LegendHeight() const;

  std::map<int64_t, int> m_answers;  // per day with answers
  int64_t m_today = 0;
  int m_busiest = 0;
};

// Monday = 0 ... Sunday = 6 of a day counted from 1970-01-01 (a Thursday).
int WeekdayOf(int64_t day);

}  // namespace verbaro

#include "progressview/ProgressCharts.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDate>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>

#include "progressview/StatisticsColours.h"

namespace verbaro {

namespace {

QDateTime MiddayOf(int64_t day) { return QDateTime(QDate(1970, 1, 1).addDays(day), QTime(12, 0)); }

QChart* NewChart() {
  auto* chart = new QChart;
  chart->setAnimationOptions(QChart::NoAnimation);
  chart->setBackgroundRoundness(0);
  chart->setMargins(QMargins(4, 4, 4, 4));
  chart->legend()->setAlignment(Qt::AlignBottom);
  return chart;
}

QChartView* ViewOf(QChart* chart, QWidget* parent) {
  auto* view = new QChartView(chart, parent);
  view->setRenderHint(QPainter::Antialiasing);
  view->setMinimumSize(260, 180);
  return view;
}

// A round upper bound for a value axis, at least 1.
int NiceCeiling(int value) {
  if (value <= 5) return std::max(value, 1);
  int step = 1;
  while (step * 10 < value) step *= 10;
  for (const int factor : {1, 2, 5, 10})
    if (step * factor >= value) return step * factor;
  return value;
}

// Whole-number ticks from 0 at a round step, at most five labels, none repeated.
void CountAxis(QValueAxis* axis, int most) {
  const int step = NiceCeiling((std::max(most, 1) + 3) / 4);
  const int top = step * std::max(1, (most + step - 1) / step);
  axis->setRange(0, top);
  axis->setLabelFormat(QStringLiteral("%d"));
  axis->setTickType(QValueAxis::TicksDynamic);
  axis->setTickAnchor(0);
  axis->setTickInterval(step);
}

}  // namespace

QWidget* MakeAnswersChart(const std::vector<progress::DayActivity>& days, QWidget* parent) {
  QChart* chart = NewChart();
  auto* answers = new QLineSeries;
  answers->setName(QStringLiteral("ответов за день"));
  answers->setPen(QPen(colours::Answers(), 2));
  auto* share = new QLineSeries;
  share->setName(QStringLiteral("верно с первой попытки, %"));
  share->setPen(QPen(colours::FirstTryShare(), 2));

  int most = 0;
  for (const progress::DayActivity& day : days) {
    const qreal x = static_cast<qreal>(MiddayOf(day.day).toMSecsSinceEpoch());
    answers->append(x, day.answers);
    most = std::max(most, day.answers);
    // A day without answers has no share: the line skips it rather than dropping to zero.
    if (day.answers > 0) share->append(x, 100.0 * day.firstTryRight / day.answers);
  }
  // A line needs two days with answers; the share of a single one is drawn as a point.
  if (share->count() == 1) {
    share->setPointsVisible(true);
    share->setMarkerSize(8);
  }
  const int64_t first = days.empty() ? 0 : days.front().day;
  const int64_t today = days.empty() ? 0 : days.back().day;
  chart->addSeries(answers);
  chart->addSeries(share);

  auto* time = new QDateTimeAxis;
  time->setFormat(QStringLiteral("dd.MM"));
  time->setTickCount(7);
  time->setRange(MiddayOf(first), MiddayOf(today));
  chart->addAxis(time, Qt::AlignBottom);
  auto* count = new QValueAxis;
  CountAxis(count, most);
  count->setLinePenColor(colours::Answers());
  chart->addAxis(count, Qt::AlignLeft);
  auto* percent = new QValueAxis;
  percent->setRange(0, 100);
  percent->setLabelFormat(QStringLiteral("%d"));
  percent->setTickCount(5);
  percent->setLinePenColor(colours::FirstTryShare());
  chart->addAxis(percent, Qt::AlignRight);
  answers->attachAxis(time);
  answers->attachAxis(count);
  share->attachAxis(time);
  share->attachAxis(percent);
  return ViewOf(chart, parent);
}

QWidget* MakeForecastChart(const std::vector<int>& due, int64_t today, QWidget* parent) {
  QChart* chart = NewChart();
  auto* set = new QBarSet(QStringLiteral("записей к повторению"));
  set->setColor(colours::Due());
  set->setBorderColor(colours::Due().darker(120));
  QStringList days;
  int most = 0;
  for (size_t i = 0; i < due.size(); ++i) {
    *set << due[i];
    most = std::max(most, due[i]);
    const QDate date = QDate(1970, 1, 1).addDays(today + static_cast<int64_t>(i));
    days << (i == 0 ? QStringLiteral("сег.") : QString::number(date.day()));
  }
  auto* series = new QBarSeries;
  series->append(set);
  series->setBarWidth(0.7);
  chart->addSeries(series);
  auto* axisX = new QBarCategoryAxis;
  axisX->append(days);
  // Fourteen short day numbers fit; elided they would all read "...".
  axisX->setTruncateLabels(false);
  QFont small = axisX->labelsFont();
  small.setPointSizeF(small.pointSizeF() * 0.85);
  axisX->setLabelsFont(small);
  chart->addAxis(axisX, Qt::AlignBottom);
  auto* axisY = new QValueAxis;
  CountAxis(axisY, most);
  chart->addAxis(axisY, Qt::AlignLeft);
  series->attachAxis(axisX);
  series->attachAxis(axisY);
  return ViewOf(chart, parent);
}

}  // namespace verbaro

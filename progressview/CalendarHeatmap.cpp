#include "progressview/CalendarHeatmap.h"

#include <QDate>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "progressview/StatisticsColours.h"

namespace verbaro {

namespace {

constexpr int kGap = 2;
constexpr int kLeftLabels = 26;  // room for «Пн», «Ср», «Пт»
constexpr int kTopLabels = 16;   // room for the month names
constexpr int kLegend = 18;

QString MonthName(int month) {
  static const char16_t* const names[] = {u"янв", u"фев", u"мар", u"апр", u"май", u"июн",
                                          u"июл", u"авг", u"сен", u"окт", u"ноя", u"дек"};
  return QString::fromUtf16(names[std::clamp(month, 1, 12) - 1]);
}

QDate DateOf(int64_t day) { return QDate(1970, 1, 1).addDays(day); }

}  // namespace

int WeekdayOf(int64_t day) { return static_cast<int>(((day + 3) % 7 + 7) % 7); }

CalendarHeatmap::CalendarHeatmap(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void CalendarHeatmap::SetDays(const std::vector<progress::DayActivity>& days, int64_t today) {
  m_today = today;
  m_answers.clear();
  m_busiest = 0;
  const int64_t first = FirstMonday();
  for (const progress::DayActivity& day : days) {
    if (day.answers <= 0 || day.day < first || day.day > today) continue;
    m_answers[day.day] += day.answers;
    m_busiest = std::max(m_busiest, m_answers[day.day]);
  }
  update();
}

int64_t CalendarHeatmap::FirstMonday() const {
  return m_today - WeekdayOf(m_today) - 7 * (kWeeks - 1);
}

int CalendarHeatmap::CellSide() const {
  const int byWidth = (width() - kLeftLabels) / kWeeks - kGap;
  const int byHeight = (height() - kTopLabels - kLegend) / 7 - kGap;
  return std::max(4, std::min(byWidth, byHeight));
}

QRect CalendarHeatmap::CellOf(int64_t day) const {
  const int64_t first = FirstMonday();
  if (day < first || day > m_today) return {};
  const int column = static_cast<int>((day - first) / 7);
  const int side = CellSide();
  return QRect(kLeftLabels + column * (side + kGap), kTopLabels + WeekdayOf(day) * (side + kGap),
               side, side);
}

int CalendarHeatmap::LevelOf(int64_t day) const {
  const auto found = m_answers.find(day);
  if (found == m_answers.end() || m_busiest <= 0) return 0;
  return std::clamp(static_cast<int>(std::ceil(4.0 * found->second / m_busiest)), 1, 4);
}

QSize CalendarHeatmap::sizeHint() const {
  return QSize(kLeftLabels + kWeeks * 16, kTopLabels + 7 * 16 + kLegend);
}

QSize CalendarHeatmap::minimumSizeHint() const {
  return QSize(kLeftLabels + kWeeks * 8, kTopLabels + 7 * 12 + kLegend);
}

void CalendarHeatmap::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const int side = CellSide();
  const QColor text = palette().color(QPalette::WindowText);

  QFont small = font();
  small.setPointSizeF(font().pointSizeF() * 0.85);
  painter.setFont(small);
  painter.setPen(text);
  const char16_t* const weekdays[] = {u"Пн", u"", u"Ср", u"", u"Пт", u"", u""};
  for (int row = 0; row < 7; ++row) {
    painter.drawText(QRect(0, kTopLabels + row * (side + kGap), kLeftLabels - 4, side),
                     Qt::AlignRight | Qt::AlignVCenter, QString::fromUtf16(weekdays[row]));
  }

  const int64_t first = FirstMonday();
  int previousMonth = 0;
  for (int column = 0; column < kWeeks; ++column) {
    const QDate monday = DateOf(first + 7 * column);
    if (monday.month() != previousMonth && column < kWeeks - 1) {
      painter.drawText(QRect(kLeftLabels + column * (side + kGap), 0, 4 * (side + kGap), kTopLabels),
                       Qt::AlignLeft | Qt::AlignVCenter, MonthName(monday.month()));
    }
    previousMonth = monday.month();
  }

  painter.setPen(Qt::NoPen);
  for (int64_t day = first; day <= m_today; ++day) {
    painter.setBrush(colours::CalendarLevel(LevelOf(day)));
    painter.drawRoundedRect(CellOf(day), 2, 2);
  }
  // Today: a frame in the text colour, so it shows on an empty day too.
  const QRect today = CellOf(m_today);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(text, 2));
  painter.drawRoundedRect(QRectF(today).adjusted(-1, -1, 1, 1), 3, 3);

  // Legend: fewer ... more answers.
  const int legendTop = kTopLabels + 7 * (side + kGap) + 4;
  const int legendSide = std::min(side, kLegend - 6);
  painter.setPen(text);
  const QString fewer = QStringLiteral("меньше");
  const int fewerWidth = painter.fontMetrics().horizontalAdvance(fewer);
  int x = width() - (5 * (legendSide + kGap)) - fewerWidth - 60;
  painter.drawText(QRect(x, legendTop, fewerWidth + 4, legendSide), Qt::AlignVCenter, fewer);
  x += fewerWidth + 6;
  painter.setPen(Qt::NoPen);
  for (int level = 0; level <= 4; ++level) {
    painter.setBrush(colours::CalendarLevel(level));
    painter.drawRoundedRect(QRect(x, legendTop, legendSide, legendSide), 2, 2);
    x += legendSide + kGap;
  }
  painter.setPen(text);
  painter.drawText(QRect(x + 4, legendTop, 60, legendSide), Qt::AlignVCenter,
                   QStringLiteral("больше"));
}

}  // namespace verbaro

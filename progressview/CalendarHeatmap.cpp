#include "progressview/CalendarHeatmap.h"

#include <QDate>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "progressview/StatisticsColours.h"

namespace verbaro {

namespace {

constexpr int kGap = 2;
// Cells grow with the width up to this side, in pixels.
constexpr int kLargestCell = 22;

QString MonthName(int month) {
  static const char16_t* const names[] = {u"янв", u"фев", u"мар", u"апр", u"май", u"июн",
                                          u"июл", u"авг", u"сен", u"окт", u"ноя", u"дек"};
  return QString::fromUtf16(names[std::clamp(month, 1, 12) - 1]);
}

QDate DateOf(int64_t day) { return QDate(1970, 1, 1).addDays(day); }

const QString& Fewer() {
  static const QString text = QStringLiteral("меньше");
  return text;
}
const QString& More() {
  static const QString text = QStringLiteral("больше");
  return text;
}

}  // namespace

int WeekdayOf(int64_t day) { return static_cast<int>(((day + 3) % 7 + 7) % 7); }

CalendarHeatmap::CalendarHeatmap(QWidget* parent) : QWidget(parent) {
  QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
  policy.setHeightForWidth(true);
  setSizePolicy(policy);
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

QFont CalendarHeatmap::LabelFont() const {
  QFont small = font();
  small.setPointSizeF(font().pointSizeF() * 0.85);
  return small;
}

int CalendarHeatmap::LeftLabels() const {
  const QFontMetrics metrics(LabelFont());
  int widest = 0;
  for (const char* name : {"Пн", "Ср", "Пт"})
    widest = std::max(widest, metrics.horizontalAdvance(QString::fromUtf8(name)));
  return widest + 6;
}

int CalendarHeatmap::TopLabels() const { return QFontMetrics(LabelFont()).height() + 2; }

int CalendarHeatmap::LegendHeight() const { return QFontMetrics(LabelFont()).height() + 4; }

int CalendarHeatmap::CellSideFor(int width) const {
  return std::clamp((width - LeftLabels()) / kWeeks - kGap, 4, kLargestCell);
}

int CalendarHeatmap::CellSide() const {
  const int byHeight = (height() - TopLabels() - LegendHeight()) / 7 - kGap;
  return std::max(4, std::min(CellSideFor(width()), byHeight));
}

int CalendarHeatmap::heightForWidth(int width) const {
  return TopLabels() + 7 * (CellSideFor(width) + kGap) + LegendHeight();
}

QRect CalendarHeatmap::CellOf(int64_t day) const {
  const int64_t first = FirstMonday();
  if (day < first || day > m_today) return {};
  const int column = static_cast<int>((day - first) / 7);
  const int side = CellSide();
  return QRect(LeftLabels() + column * (side + kGap), TopLabels() + WeekdayOf(day) * (side + kGap),
               side, side);
}

int CalendarHeatmap::LevelOf(int64_t day) const {
  const auto found = m_answers.find(day);
  if (found == m_answers.end() || m_busiest <= 0) return 0;
  return std::clamp(static_cast<int>(std::ceil(4.0 * found->second / m_busiest)), 1, 4);
}

std::vector<CalendarHeatmap::MonthLabel> CalendarHeatmap::MonthLabels() const {
  const QFontMetrics metrics(LabelFont());
  const int side = CellSide();
  const int64_t first = FirstMonday();
  std::vector<MonthLabel> labels;
  int previousMonth = 0;
  for (int column = 0; column < kWeeks; ++column) {
    const int month = DateOf(first + 7 * column).month();
    if (month == previousMonth) continue;
    previousMonth = month;
    const QString text = MonthName(month);
    const int textWidth = metrics.horizontalAdvance(text);
    const int left = std::min(LeftLabels() + column * (side + kGap), width() - textWidth);
    // A name needs the room of its text and a small gap after the one before it; where there is
    // none, the later month is named (the first column's month may show a single week).
    if (!labels.empty() && left < labels.back().rect.right() + 4) labels.pop_back();
    labels.push_back({QRect(left, 0, textWidth, TopLabels()), text});
  }
  return labels;
}

QSize CalendarHeatmap::sizeHint() const {
  const int width = LeftLabels() + kWeeks * 16;
  return QSize(width, heightForWidth(width));
}

QSize CalendarHeatmap::minimumSizeHint() const {
  return QSize(LeftLabels() + kWeeks * 8, TopLabels() + 7 * 12 + LegendHeight());
}

void CalendarHeatmap::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const int side = CellSide();
  const QColor text = palette().color(QPalette::WindowText);

  painter.setFont(LabelFont());
  painter.setPen(text);
  const char16_t* const weekdays[] = {u"Пн", u"", u"Ср", u"", u"Пт", u"", u""};
  for (int row = 0; row < 7; ++row) {
    // Centred on the row; a name taller than a small cell may reach into the empty rows around.
    painter.drawText(QRect(0, TopLabels() + row * (side + kGap), LeftLabels() - 4, side),
                     Qt::AlignRight | Qt::AlignVCenter | Qt::TextDontClip,
                     QString::fromUtf16(weekdays[row]));
  }
  for (const MonthLabel& label : MonthLabels())
    painter.drawText(label.rect, Qt::AlignLeft | Qt::AlignVCenter, label.text);

  painter.setPen(Qt::NoPen);
  for (int64_t day = FirstMonday(); day <= m_today; ++day) {
    painter.setBrush(colours::CalendarLevel(LevelOf(day)));
    painter.drawRoundedRect(CellOf(day), 2, 2);
  }
  // Today: a frame in the text colour, so it shows on an empty day too.
  const QRect today = CellOf(m_today);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(text, 2));
  painter.drawRoundedRect(QRectF(today).adjusted(-1, -1, 1, 1), 3, 3);

  // Legend, ending under the last week: fewer ... more answers.
  const QFontMetrics metrics(LabelFont());
  const int legendTop = TopLabels() + 7 * (side + kGap) + 2;
  const int rowHeight = metrics.height();
  const int legendSide = std::min(side, rowHeight);
  const int squareTop = legendTop + (rowHeight - legendSide) / 2;
  const int fewerWidth = metrics.horizontalAdvance(Fewer());
  const int moreWidth = metrics.horizontalAdvance(More());
  const int legendWidth = fewerWidth + 6 + 5 * (legendSide + kGap) + 4 + moreWidth;
  const int gridRight = LeftLabels() + kWeeks * (side + kGap);
  int x = std::max(0, std::min(gridRight, width()) - legendWidth);
  painter.setPen(text);
  painter.drawText(QRect(x, legendTop, fewerWidth, rowHeight), Qt::AlignVCenter, Fewer());
  x += fewerWidth + 6;
  painter.setPen(Qt::NoPen);
  for (int level = 0; level <= 4; ++level) {
    painter.setBrush(colours::CalendarLevel(level));
    painter.drawRoundedRect(QRect(x, squareTop, legendSide, legendSide), 2, 2);
    x += legendSide + kGap;
  }
  painter.setPen(text);
  painter.drawText(QRect(x + 4, legendTop, moreWidth, rowHeight), Qt::AlignVCenter, More());
}

}  // namespace verbaro
